// The "Battle Animation" page of the database editor: the entry list, the fields, the timing
// list, the frame list, the preview where cells are placed and dragged, the pattern strip, the
// tools and playback. Everything it does goes through TAnimationPageModel.
#pragma once

#include "database/ED_Animation.h"
#include "database/FieldPage_qt.h"
#include "graphics/OrlenSheet.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QWidget>

#include <memory>

class QMenu;
class QScrollBar;

namespace Ui {
class FormEDAnimation;
}

namespace quillon {

class TMiddleAutoScroll;

// The 320 x 160 preview: the current frame, or the picture playback shows. Its view scrolls
// (scroll bars, the wheel, middle-button auto-scroll) up to kAnimationViewScroll beyond the
// screen on each side; the scroll bars at 0 show the screen.
class TAnimationArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TAnimationArea(QWidget* parent = nullptr);
    void SetPage(TAnimationPageModel* page) { mPage = page; }
    // Shows a board instead of the frame until the next ordinary repaint.
    void ShowBoard(const TOrlenBoard& board);
    QMenu* Popup() const { return mPopup; }
    // Set by the page: the property dialog of the selected cell.
    std::function<void()> OnProperty;
    TMiddleAutoScroll& AutoScroll() const { return *mAutoScroll; }
    // The preview point under a point of the viewport.
    QPoint PreviewPoint(QPoint at) const;

public slots:
    void Menu_CellItemProperty();
    void Menu_CellItemCut();
    void Menu_CellItemCopy();
    void Menu_CellItemPaste();
    void Menu_CellItemDelete();
    void Menu_CellItemUp();
    void Menu_CellItemDown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void ShowHint();

    TAnimationPageModel* mPage = nullptr;
    TOrlenBoard mBoard;
    QImage mShown;  // playback's picture; null otherwise
    TMiddleAutoScroll* mAutoScroll;
    QMenu* mPopup;
    QAction* mProperty;
    QAction* mCut;
    QAction* mCopy;
    QAction* mPaste;
    QAction* mDelete;
    QAction* mUp;
    QAction* mDown;
};

// The 25 patterns of the animation image side by side; a click selects one.
class TAnimationPatternStrip : public QWidget {
    Q_OBJECT
public:
    explicit TAnimationPatternStrip(QWidget* parent = nullptr);
    void SetPage(TAnimationPageModel* page) { mPage = page; }
    QScrollBar* ScrollBar() const { return mScroll; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TAnimationPageModel* mPage = nullptr;
    QScrollBar* mScroll;
    TOrlenBoard mBoard;
};

class TFormEDAnimation : private TPageChoosers, public TFormDataBaseBase {
public:
    // choosers: the image and sound selectors (none: the real ones); find: image look-up (none:
    // the project's).
    TFormEDAnimation(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, TImageFinder find = {},
                     QWidget* parent = nullptr);
    ~TFormEDAnimation() override;

    TAnimationPageModel& Model() { return mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    TAnimationArea& Area() const;
    TAnimationPatternStrip& Patterns() const;
    void LoadEntry() override;
    void UpdateView() override;
    // Playback: every step drawn and shown at its time; wait: false skips the waiting.
    void Playback(bool wait = true);

    // Handlers.
    void Menu_TimingItemEdit();
    void Menu_TimingItemCut();
    void Menu_TimingItemCopy();
    void Menu_TimingItemPaste();
    void Menu_TimingItemDelete();
    void Menu_FrameCopy();
    void Menu_FramePaste();
    void Menu_FrameClear();
    void Menu_FrameCut();
    void Menu_FrameInsert();
    void Menu_FrameDelete();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void CellPropertyClick();

private:
    void ShowFrames();
    void ShowTimings(int select);
    void ShowView();
    bool AskFrameCount(std::int32_t& count);

    TAnimationPageModel& mModel;
    std::unique_ptr<Ui::FormEDAnimation> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QMenu* mTimingPopup = nullptr;
    QMenu* mFramePopup = nullptr;
    TConnection mViewChanged;
    bool mShowing = false;
    class TPageRows* mFrameRows = nullptr;
    class TPageRows* mTimingRows = nullptr;
    // The row counts the lists were last filled with.
    int mShownFrames = -1;
    int mShownTimings = -1;
};

TFormDataBaseBase* CreateFormEDAnimation(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
