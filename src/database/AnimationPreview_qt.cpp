#include "database/AnimationPreview_qt.h"

#include "data/LD_Animation.h"
#include "graphics/GR_Animation.h"
#include "graphics/OrlenSheet.h"
#include "graphics/OrlenSheet_qt.h"
#include "project/Resources.h"

#include <QPainter>

namespace quillon {

TAnimationPreview::TAnimationPreview(QWidget* parent)
    : QWidget(parent),
      mGraphic(std::make_unique<TKelAnimationGraphic>([](const std::string& kind, const std::string& name) {
          return FindResourceFile(name, kind, ImageExtensions);
      })),
      mBoard(std::make_unique<TOrlenBoard>()) {
    setObjectName(QStringLiteral("AnimationPreview"));
    setFixedSize(sizeHint());
    mTimer.setInterval(kPreviewFrameMs);
    connect(&mTimer, &QTimer::timeout, this, &TAnimationPreview::Tick);
    mElapsed.start();
}

TAnimationPreview::~TAnimationPreview() = default;

void TAnimationPreview::SetAnimation(const TKelAnimationItem* animation) {
    if (animation == mAnimation)
        return;
    mAnimation = animation;
    try {
        mGraphic->SetAnimation(animation, false);
    } catch (const std::exception&) {
        // An image that does not load leaves the sheet empty: the cells draw nothing.
    }
    mClock.Restart(mElapsed.elapsed());
    Tick();
}

void TAnimationPreview::Tick() {
    mFrame = mAnimation ? mClock.Frame(mElapsed.elapsed(), mAnimation->FrameCount()) : -1;
    update();
}

void TAnimationPreview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    mTimer.start();
}

void TAnimationPreview::hideEvent(QHideEvent* event) {
    mTimer.stop();
    QWidget::hideEvent(event);
}

void TAnimationPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!mAnimation || mFrame < 0 || mFrame >= mAnimation->FrameCount())
        return;
    const int w = width(), h = height();
    mBoard->SetSize(2 * w, 2 * h);
    int centreY = h;
    if (mAnimation->Scope == TKelAnimationItem::asSingle) {
        if (mAnimation->YLine == TKelAnimationItem::ylHead)
            centreY -= h / 2;
        else if (mAnimation->YLine == TKelAnimationItem::ylFeet)
            centreY += h / 2;
    }
    mGraphic->DrawFrame(*mBoard, w, mFrame, centreY);
    painter.drawImage(rect(), BoardImage(*mBoard));
}

}  // namespace quillon
