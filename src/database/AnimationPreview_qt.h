// The battle animation preview of the skill and item pages: the frame of the shown animation
// every 33 ms, drawn on a surface twice the preview's size and shown scaled into it; black with
// no animation. It runs only while it is visible.
#pragma once

#include "database/AnimationPreview.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace quillon {

class TKelAnimationGraphic;
class TKelAnimationItem;
class TOrlenBoard;

class TAnimationPreview : public QWidget {
    Q_OBJECT
public:
    explicit TAnimationPreview(QWidget* parent = nullptr);
    ~TAnimationPreview() override;

    // Shows an animation (nullptr: none) from frame 0; the same one again changes nothing.
    void SetAnimation(const TKelAnimationItem* animation);
    const TKelAnimationItem* Animation() const { return mAnimation; }
    // The frame last drawn (-1: none).
    int Frame() const { return mFrame; }
    QSize sizeHint() const override { return {160, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Tick();

    const TKelAnimationItem* mAnimation = nullptr;
    std::unique_ptr<TKelAnimationGraphic> mGraphic;
    std::unique_ptr<TOrlenBoard> mBoard;
    QTimer mTimer;
    QElapsedTimer mElapsed;
    TAnimationPreviewClock mClock;
    int mFrame = -1;
};

}  // namespace quillon
