#include "database/ED_PlayerGraph_qt.h"

#include "database/ED_PlayerParameter.h"
#include "graphics/OrlenSheet_qt.h"
#include "project/SelBase.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace quillon {

namespace {

QColor Colour(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

// --- the small graph ---

TPlayerSmallGraph::TPlayerSmallGraph(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kSmallGraphWidth, kSmallGraphHeight);
}

void TPlayerSmallGraph::Show(int parameter, std::function<std::int32_t(int)> value, std::int32_t shownMax) {
    mParameter = parameter;
    mValue = std::move(value);
    mMax = shownMax;
    update();
}

QSize TPlayerSmallGraph::sizeHint() const { return {kSmallGraphWidth, kSmallGraphHeight}; }

void TPlayerSmallGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int divisor = SmallGraphDivisor(mParameter);
    const QColor colour = Colour(ParameterColour(mParameter));
    if (mValue)
        for (int level = 1; level <= 50; ++level) {
            const int top = std::max(0, kSmallGraphHeight - mValue(level) / divisor);
            painter.fillRect(QRect(2 * level - 2, top, 2, kSmallGraphHeight - top), colour);
        }
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.drawText(QPoint(2, 11), tr("M\u00e1x:") + QString::number(mMax));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TPlayerSmallGraph::mouseDoubleClickEvent(QMouseEvent*) { emit OpenRequested(mParameter); }

void TPlayerSmallGraph::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        emit OpenRequested(mParameter);
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- the large graph ---

TPlayerParameterGraph::TPlayerParameterGraph(QWidget* parent) : QWidget(parent) {
    setFixedSize(TPlayerParameterModel::kGraphWidth, TPlayerParameterModel::kGraphHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TPlayerParameterGraph::SetModel(TPlayerParameterModel* model) {
    mModel = model;
    update();
}

QSize TPlayerParameterGraph::sizeHint() const {
    return {TPlayerParameterModel::kGraphWidth, TPlayerParameterModel::kGraphHeight};
}

void TPlayerParameterGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!mModel)
        return;
    const QColor colour = Colour(ParameterColour(mModel->Parameter()));
    const QColor selected = colour.lighter(150);
    for (int level = 1; level <= 50; ++level) {
        const int top = std::max(0, mModel->BarTop(level));
        painter.fillRect(QRect(10 * level - 10, top, 9, TPlayerParameterModel::kGraphHeight - top),
                         level == mModel->Level() ? selected : colour);
    }
}

void TPlayerParameterGraph::mousePressEvent(QMouseEvent* event) {
    if (!mModel)
        return;
    const QPoint at = event->position().toPoint();
    mModel->MousePress(event->button() == Qt::LeftButton, at.x(), at.y());
}

void TPlayerParameterGraph::mouseMoveEvent(QMouseEvent* event) {
    if (!mModel)
        return;
    const QPoint at = event->position().toPoint();
    mModel->MouseMove(at.x(), at.y());
}

void TPlayerParameterGraph::mouseReleaseEvent(QMouseEvent*) {
    if (mModel)
        mModel->MouseRelease();
}

// --- the previews ---

TPlayerGraphicPreview::TPlayerGraphicPreview(QWidget* parent) : QWidget(parent) {
    mTimer.setInterval(200);
    connect(&mTimer, &QTimer::timeout, this, [this] {
        ++mCounter;
        Render();
        update();
    });
    setFixedSize(sizeHint());
}

QSize TPlayerGraphicPreview::sizeHint() const { return mWalk ? QSize(56, 64) : QSize(88, 88); }

void TPlayerGraphicPreview::ShowGraphic(bool walk, const std::string& name, int index, bool transparent) {
    mWalk = walk;
    mIndex = std::clamp(index, 0, walk ? 7 : 15);
    mTransparent = transparent;
    const std::string key = (walk ? "CharSet/" : "FaceSet/") + name;
    if (key != mLoaded) {
        mLoaded = key;
        mHasSheet = LoadSelSheet(mSheet, walk ? "CharSet" : "FaceSet", name);
    }
    setFixedSize(sizeHint());
    if (walk && !mTimer.isActive())
        mTimer.start();
    if (!walk)
        mTimer.stop();
    Render();
    update();
}

void TPlayerGraphicPreview::Render() {
    const QSize size = sizeHint();
    mBoard.SetSize(size.width(), size.height());
    if (!mHasSheet)
        return;
    const std::uint16_t fill = mSheet.ColorTable[0];
    for (int y = 0; y < mBoard.Height(); ++y)
        std::fill_n(mBoard.ScanLine(y), mBoard.Width(), fill);
    mSheet.Transparent = true;
    if (mWalk) {
        static const int kColumns[4] = {24, 0, 24, 48};
        static const int kRows[4] = {64, 96, 0, 32};
        const int x = (mIndex % 4) * 72 + kColumns[mCounter % 4];
        const int y = (mIndex / 4) * 128 + kRows[(mCounter / 16) % 4];
        mSheet.Opacity = mTransparent ? 160 : 255;
        mBoard.StretchDrawSheet(MakeRect(4, 0, 52, 64), mSheet, MakeRect(x, y, x + 24, y + 32));
    } else {
        const int x = (mIndex % 4) * 48, y = (mIndex / 4) * 48;
        mSheet.Opacity = 255;
        mBoard.StretchDrawSheet(MakeRect(-4, -4, 92, 92), mSheet, MakeRect(x, y, x + 48, y + 48));
    }
}

void TPlayerGraphicPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!mHasSheet) {
        painter.fillRect(rect(), palette().color(QPalette::Window).darker(110));
        return;
    }
    DrawBoardTo(mBoard, painter, 0, 0);
}

// --- the experience graph and tables ---

TPlayerExpGraph::TPlayerExpGraph(QWidget* parent) : QWidget(parent) { setMinimumSize(250, 251); }

QSize TPlayerExpGraph::sizeHint() const { return {250, 251}; }

void TPlayerExpGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!mTotals)
        return;
    for (const TExpBar& bar : ExpBars(*mTotals, height()))
        painter.fillRect(QRect(bar.X, bar.Top, 4, std::max(0, 250 - bar.Top + 1)), Colour(bar.Colour));
}

TPlayerExpTable::TPlayerExpTable(QWidget* parent) : QWidget(parent) {
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    setFont(font);
    setMinimumSize(sizeHint());
}

QSize TPlayerExpTable::sizeHint() const { return {2 * (fontMetrics().horizontalAdvance(QString(14, 'M')) + 8), 25 * 12 + 4}; }

void TPlayerExpTable::SetTotals(const TExpTotals* totals, bool next) {
    mNext = next;
    mLines.clear();
    if (totals)
        for (int level = 1; level <= kExpLevels; ++level)
            mLines.push_back(QString::fromStdString(next ? ExpNextLine(*totals, level) : ExpTotalLine(*totals, level)));
    update();
}

void TPlayerExpTable::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(Colour(mNext ? kExpNextTextColour : kExpTotalTextColour));
    const int ascent = fontMetrics().ascent();
    for (int i = 0; i < mLines.size(); ++i) {
        const int x = i < 25 ? 2 : width() / 2 + 6;
        painter.drawText(QPoint(x, (i % 25) * 12 + ascent), mLines[i]);
    }
}

}  // namespace quillon
