// The battle animation page headless: cells placed, dragged and snapped with the mouse and the
// keys; the page opened in the database window on the sample project, a field changed and
// applied, found in the file; a picture of it.
#include "PageWidgetKit.h"

#include "controls/AutoScroll_qt.h"
#include "controls/Cp932Edit_qt.h"
#include "database/ED_Animation_qt.h"
#include "database/ED_AnimationDialogs_qt.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

namespace quillon {
namespace {

using namespace widgetkit;

class AnimationPageWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    static constexpr QSize kPageSize{780, 600};
    void SetUp() override {
        TSampleDataBaseTest::SetUp();
        AnimationToolMemory() = {};
    }

    // A press, moves and a release with the left button, as the pointer gives them.
    static void Press(QWidget& area, QPoint at, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(&area, Qt::LeftButton, keys, at);
    }
    static void MoveHeld(QWidget& area, QPoint at, Qt::KeyboardModifiers keys = {}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), area.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::LeftButton,
                         keys);
        QApplication::sendEvent(&area, &move);
    }
    static void Release(QWidget& area, QPoint at) { QTest::mouseRelease(&area, Qt::LeftButton, {}, at); }
};

TEST_F(AnimationPageWidgetTest, CellsArePlacedDraggedAndSnappedWithTheMouse) {
    TKelAnimationItem& anim = *mDataBase.Animation.Items(0);
    anim.Scope = TKelAnimationItem::asAll;  // the origin at the preview's centre
    anim.Frames.Items(0)->Cells.Clear();
    mDataBase.System.SnapTo = 1;
    TFormEDAnimation page(mContext);
    pagekit::StartPage(page, mModified, kPageSize);
    EXPECT_EQ(InputsWithoutAccessibleName(&page), QStringList());
    TAnimationArea& view = page.Area();
    QWidget& area = *view.viewport();  // where the mouse goes
    const TKelAnimationCell& cells = page.Model().Frame().Cells;

    // Placed at (+5, +4): snapped to (8, 0); dragged 13 further: two steps of 8.
    Press(area, QPoint(165, 84));
    ASSERT_EQ(cells.Count(), 1);
    EXPECT_EQ(cells.Items(0)->X, 8);
    EXPECT_EQ(cells.Items(0)->Y, 0);
    MoveHeld(area, QPoint(181, 93));
    Release(area, QPoint(181, 93));
    EXPECT_EQ(cells.Items(0)->X, 24);
    EXPECT_EQ(cells.Items(0)->Y, 16);
    EXPECT_GE(mModified, 2);

    // A second cell; Shift while dragging it takes the first along.
    Press(area, QPoint(100, 40));
    Release(area, QPoint(100, 40));
    ASSERT_EQ(cells.Count(), 2);
    EXPECT_EQ(cells.Items(1)->X, -64);  // -60 lies half-way: down
    EXPECT_EQ(cells.Items(1)->Y, -40);
    Press(area, QPoint(104, 40));
    MoveHeld(area, QPoint(104 - 16, 40), Qt::ShiftModifier);
    Release(area, QPoint(88, 40));
    EXPECT_EQ(cells.Items(1)->X, -72);
    EXPECT_EQ(cells.Items(0)->X, 16);
    // Arrow keys move the selected one a grid step.
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(cells.Items(1)->Y, -32);
    // Without the grid a drag goes pixel by pixel.
    page.Binder().Widget("CheckBox1")->setFocus();
    QTest::mouseClick(page.Binder().Widget("CheckBox1"), Qt::LeftButton);
    EXPECT_EQ(mDataBase.System.SnapTo, 0);
    Press(area, QPoint(160 + 8, 80 + 16));
    MoveHeld(area, QPoint(160 + 11, 80 + 16));
    Release(area, QPoint(171, 96));
    EXPECT_EQ(cells.Items(0)->X, 11);
    EXPECT_TRUE(anim.Dirty);
    EXPECT_TRUE(KeepPicture(page.grab().toImage(), "database-page-animation"));

    // Playback runs through every step and leaves the frame shown again.
    page.Playback(false);
    EXPECT_EQ(cells.Items(0)->X, 11);
}

TEST_F(AnimationPageWidgetTest, TheMiddleButtonScrollsThePreviewTowardsThePointer) {
    TKelAnimationItem& anim = *mDataBase.Animation.Items(0);
    anim.Scope = TKelAnimationItem::asAll;
    anim.Frames.Items(0)->Cells.Clear();
    mDataBase.System.SnapTo = 1;
    TFormEDAnimation page(mContext);
    pagekit::StartPage(page, mModified, kPageSize);
    TAnimationArea& view = page.Area();
    QWidget& area = *view.viewport();
    ASSERT_EQ(area.size(), QSize(kAnimationPreviewWidth, kAnimationPreviewHeight));
    QScrollBar& across = *view.horizontalScrollBar();
    QScrollBar& down = *view.verticalScrollBar();
    ASSERT_EQ(across.value(), 0);

    // Held and dragged: each step moves by the pointer's distance from the press; the release
    // ends it.
    Mouse(&area, QEvent::MouseButtonPress, QPoint(160, 80), Qt::MiddleButton, Qt::MiddleButton);
    Mouse(&area, QEvent::MouseMove, QPoint(160 - 48, 80 + 20), Qt::NoButton, Qt::MiddleButton);
    view.AutoScroll().Tick();
    view.AutoScroll().Tick();
    const TScrollStep step = AutoScrollStep(-48, 20);
    ASSERT_LT(step.DX, 0);
    ASSERT_GT(step.DY, 0);
    EXPECT_EQ(across.value(), 2 * step.DX);
    EXPECT_EQ(down.value(), 2 * step.DY);
    Mouse(&area, QEvent::MouseButtonRelease, QPoint(112, 100), Qt::MiddleButton, Qt::NoButton);
    view.AutoScroll().Tick();
    EXPECT_EQ(across.value(), 2 * step.DX);

    // A cell placed in the scrolled view lands where the view shows it.
    const TKelAnimationCell& cells = page.Model().Frame().Cells;
    Press(area, QPoint(100, 40));
    Release(area, QPoint(100, 40));
    ASSERT_EQ(cells.Count(), 1);
    EXPECT_EQ(cells.Items(0)->X, SnapCoordinate(100 + 2 * step.DX - kAnimationVictimX, 8));
    EXPECT_EQ(cells.Items(0)->Y, SnapCoordinate(40 + 2 * step.DY - kAnimationVictimY, 8));
    // Left of the screen the view is black; the screen begins where the scroll says.
    const QImage shown = Grab(area);
    EXPECT_EQ(shown.pixel(2, 150), qRgb(0, 0, 0));
    EXPECT_NE(shown.pixel(-2 * step.DX + 2, 150), qRgb(0, 0, 0));
    KeepPicture(shown, "database-page-animation-scrolled");

    // A middle click (no drag) keeps scrolling until the next press.
    const int at = across.value();
    Mouse(&area, QEvent::MouseButtonPress, QPoint(160, 80), Qt::MiddleButton, Qt::MiddleButton);
    Mouse(&area, QEvent::MouseButtonRelease, QPoint(160, 80), Qt::MiddleButton, Qt::NoButton);
    Mouse(&area, QEvent::MouseMove, QPoint(160 + 28, 80), Qt::NoButton, Qt::NoButton);
    view.AutoScroll().Tick();
    EXPECT_EQ(across.value(), at + AutoScrollStep(28, 0).DX);
    Mouse(&area, QEvent::MouseButtonPress, QPoint(188, 80), Qt::MiddleButton, Qt::MiddleButton);
    view.AutoScroll().Tick();
    EXPECT_EQ(across.value(), at + AutoScrollStep(28, 0).DX);
    EXPECT_FALSE(view.AutoScroll().Model().Active());
}

// The index of a dialog's field by its widget name.
std::size_t FieldIndex(TFieldBinding& binding, const std::string& widget) {
    for (std::size_t i = 0; i < binding.Count(); ++i)
        if (binding.Field(i).Widget == widget)
            return i;
    ADD_FAILURE() << widget;
    return 0;
}

TEST_F(AnimationPageWidgetTest, CellAndTimingDialogsStoreWhatTheyShow) {
    TFormEDAnimation page(mContext);
    pagekit::StartPage(page, mModified, kPageSize);
    TKelAnimationCell& cells = page.Model().Frame().Cells;
    ASSERT_GT(cells.Count(), 0);
    page.Model().SelectCell(0);
    QStringList unnamed;
    bool flashOff = false;
    {
        const TScopedModalRunner runner([&](TFormKelBase& form) {
            auto& dialog = dynamic_cast<TFormEDAnimationDialog&>(form);
            dialog.show();
            Settle();
            unnamed += InputsWithoutAccessibleName(&dialog);
            TFieldBinding& binding = dialog.Binder().Binding();
            binding.SetValue(FieldIndex(binding, "EditMagnification"), 333);
            binding.SetValue(FieldIndex(binding, "EditRed"), 44);
            dialog.Binder().Refresh();
            KeepPicture(dialog.grab().toImage(), "animation-cell-dialog");
            return mrOk;
        });
        page.CellPropertyClick();
    }
    EXPECT_EQ(cells.Items(0)->Magnification, 335) << "in steps of 5";
    EXPECT_EQ(cells.Items(0)->Red, 40) << "in steps of 10";
    // The empty last row of the timing list adds a timing.
    auto* timings = page.findChild<QTreeView*>("ListView1");
    const int before = timings->model()->rowCount();
    ShowCurrentRow(*timings, before - 1);
    {
        const TScopedModalRunner runner([&](TFormKelBase& form) {
            auto& dialog = dynamic_cast<TFormEDAnimationDialog&>(form);
            dialog.show();
            Settle();
            unnamed += InputsWithoutAccessibleName(&dialog);
            TFieldBinding& binding = dialog.Binder().Binding();
            flashOff = !binding.Enabled(FieldIndex(binding, "EditPower"));
            binding.SetValue(FieldIndex(binding, "EditFrame"), 500);  // kept within the frames
            binding.SetValue(FieldIndex(binding, "RadioRange"), 2);
            dialog.Binder().Refresh();
            KeepPicture(dialog.grab().toImage(), "animation-timing-dialog");
            return mrOk;
        });
        page.Menu_TimingItemEdit();
    }
    EXPECT_TRUE(flashOff) << "no flash values for \"None\"";
    EXPECT_EQ(unnamed, QStringList());
    ASSERT_EQ(timings->model()->rowCount(), before + 1);
    const TKelAnimationTiming& list = page.Model().Item().Timing;
    const TKelAnimationTimingItem& added = *list.Items(list.Count() - 1);
    EXPECT_EQ(added.Frame, page.Model().FrameCount());
    EXPECT_EQ(added.FlashRange, TKelAnimationTimingItem::frScreen);
    EXPECT_EQ(CurrentRow(*timings), list.Count() - 1) << "the new timing is selected";
}

TEST_F(AnimationPageWidgetTest, ManyCellsDialogSetsTheMarkedFrames) {
    TFormEDAnimation page(mContext);
    pagekit::StartPage(page, mModified, kPageSize);
    TKelAnimationItem& anim = page.Model().Item();
    ASSERT_GE(anim.FrameCount(), 2);
    for (int f = 0; f < 2; ++f)
        if (anim.Frames.Items(f)->Cells.Count() == 0)
            anim.Frames.Items(f)->Cells.Append();
    const std::int32_t second = anim.Frames.Items(1)->Cells.Items(0)->Pattern;
    QStringList unnamed;
    {
        const TScopedModalRunner runner([&](TFormKelBase& form) {
            auto& dialog = dynamic_cast<TFormEDAnimationDialog&>(form);
            dialog.show();
            Settle();
            unnamed += InputsWithoutAccessibleName(&dialog);
            TFieldBinding& binding = dialog.Binder().Binding();
            binding.SetValue(FieldIndex(binding, "CheckCell1"), 1);
            binding.SetValue(FieldIndex(binding, "CheckPattern"), 1);
            binding.SetValue(FieldIndex(binding, "EditPattern"), 25);
            dialog.Binder().Refresh();
            auto* frames = dialog.findChild<QListWidget*>("ListFrames");
            if (!frames || frames->count() != anim.FrameCount())
                return mrCancel;
            frames->item(0)->setCheckState(Qt::Checked);
            KeepPicture(dialog.grab().toImage(), "animation-many-cells-dialog");
            return mrOk;
        });
        page.Button4Click();
    }
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_EQ(anim.Frames.Items(0)->Cells.Items(0)->Pattern, 24);
    EXPECT_EQ(anim.Frames.Items(1)->Cells.Items(0)->Pattern, second) << "frame 2 was not marked";
    EXPECT_TRUE(anim.Dirty);
}

TEST_F(AnimationPageWidgetTest, AFieldChangedAndAppliedIsInTheFile) {
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDAnimation>(form, dtAnimation);
    ASSERT_NE(page, nullptr);
    auto* name = qobject_cast<QLineEdit*>(page->Binder().Widget("OverEdit1"));
    ASSERT_NE(name, nullptr);
    name->selectAll();
    QTest::keyClicks(name, "Quake");
    auto* scope = dynamic_cast<QComboBox*>(page->Binder().Widget("ComboBox2"));
    ASSERT_NE(scope, nullptr);
    scope->setFocus();
    QTest::keyClick(scope, Qt::Key_Down);  // "Single" -> "All"
    EXPECT_FALSE(page->Binder().Widget("ComboBox3")->isEnabled()) << "no anchor for \"All\"";
    // The frame list and the timing list show the animation.
    auto* frames = page->findChild<QListView*>("ListBox1");
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(frames->model()->rowCount(), mDataBase.Animation.Items(0)->FrameCount());
    auto* timings = page->findChild<QTreeView*>("ListView1");
    ASSERT_NE(timings, nullptr);
    EXPECT_EQ(timings->model()->rowCount(), mDataBase.Animation.Items(0)->Timing.Count() + 1);
    KeepWidget(form, "database-form-animation");
    Apply(form);
    const auto read = OnDisk();
    EXPECT_EQ(read->Animation.Items(0)->Name, "Quake");
    EXPECT_EQ(read->Animation.Items(0)->Scope, TKelAnimationItem::asAll);
    form.ButtonCancelClick();
}

}  // namespace
}  // namespace quillon
