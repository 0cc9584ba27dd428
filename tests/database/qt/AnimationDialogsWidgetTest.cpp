// The tool and property dialogs of the battle animation page driven through their widgets:
// frame management and complement change the animation as their operations say and mark it
// dirty; the cell dialog's sliders and boxes follow each other; the timing dialog's sample
// shows the flash colour as the boxes change.
#include "kit/WidgetKit.h"

#include "controls/ValueSlider_qt.h"
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "database/ED_Animation_qt.h"
#include "database/ED_AnimationDialogs_qt.h"
#include "database/PageRows_qt.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

namespace quillon {
namespace {

using namespace widgetkit;

class AnimationDialogsWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        DataBaseMemory() = {};
        AnimationToolMemory() = {};
        mDataBase.Animation.Obtain(1).Name = "Fire";  // 20 empty frames
        mContext.DataBase = &mDataBase;
    }
    TKelAnimationItem& Anim() { return *mDataBase.Animation.Items(0); }
    TKelAnimationCellItem& AddCell(int frame, std::int32_t x) {
        TKelAnimationCellItem& cell = Anim().Frames.Items(frame - 1)->Cells.Append();
        cell.X = x;
        return cell;
    }
    // Saved as it is: clean, its image written.
    void Saved() {
        TMemoryStream out;
        Anim().SaveToStream(out);
        ASSERT_FALSE(Anim().Dirty);
    }
    const TKelAnimationCellItem* CellOf(int frame) { return Anim().Frames.Items(frame - 1)->Cells.Items(0); }

    // Replaces what a number box holds by typing.
    static void TypeInto(QWidget& dialog, const char* box, const QString& text) {
        auto* spin = Child<QSpinBox>(dialog, box);
        ASSERT_NE(spin, nullptr);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }
    static void Click(QWidget& dialog, const char* name) {
        auto* button = Child<QAbstractButton>(dialog, name);
        ASSERT_NE(button, nullptr);
        // Check boxes and radio buttons answer on their mark and caption, which sit at the left.
        const bool marked = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, marked ? QPoint(6, button->height() / 2) : button->rect().center());
    }
    static int SpinValue(QWidget& dialog, const char* box) {
        auto* spin = Child<QSpinBox>(dialog, box);
        return spin ? spin->value() : -1;
    }
    // Runs the dialog `open` brings up through `drive`, then presses its OK.
    static void RunDialog(const std::function<void()>& open, const std::function<void(TFormKelBase&)>& drive) {
        const TScopedModalRunner runner([&](TFormKelBase& dialog) {
            ShowActive(dialog);
            drive(dialog);
            Click(dialog, "ButtonOk");
            return dialog.result();
        });
        open();
    }

    const TEditorModeScope mEditor{true};
    TKelDataBase mDataBase;
    TDataBaseContext mContext;
};

TEST_F(AnimationDialogsWidgetTest, FrameManagementCopiesPagesAndClearsARangeKeptWithinTheFrames) {
    AddCell(1, 10);
    AddCell(2, 20);
    Saved();
    TFormEDAnimation page(mContext);
    page.show();
    Settle();

    // Frames 1..2 onto 19..20: the last frame is written too.
    RunDialog([&] { page.Button2Click(); }, [](TFormKelBase& dialog) {
        TypeInto(dialog, "EditFrom", "1");
        TypeInto(dialog, "EditTo", "2");
        TypeInto(dialog, "EditStart", "19");
        Click(dialog, "RadioOperation0");
        EXPECT_EQ(InputsWithoutAccessibleName(&dialog), QStringList());
        KeepPicture(dialog.grab().toImage(), "animation-frame-tool-dialog");
    });
    ASSERT_NE(CellOf(19), nullptr);
    ASSERT_NE(CellOf(20), nullptr);
    EXPECT_EQ(CellOf(19)->X, 10);
    EXPECT_EQ(CellOf(20)->X, 20);
    EXPECT_EQ(CellOf(18), nullptr);
    EXPECT_TRUE(Anim().Dirty);

    // "Clear" from 2 to a frame past the end: the box keeps it at the last frame; no start.
    Saved();
    bool startEnabled = true;
    int to = 0;
    RunDialog([&] { page.Button2Click(); }, [&](TFormKelBase& dialog) {
        TypeInto(dialog, "EditFrom", "2");
        TypeInto(dialog, "EditTo", "50");
        to = SpinValue(dialog, "EditTo");
        Click(dialog, "RadioOperation1");
        startEnabled = Child<QSpinBox>(dialog, "EditStart")->isEnabled();
    });
    EXPECT_EQ(to, 20);
    EXPECT_FALSE(startEnabled);
    ASSERT_NE(CellOf(1), nullptr);
    EXPECT_EQ(CellOf(1)->X, 10);
    for (int f = 2; f <= 20; ++f)
        EXPECT_EQ(CellOf(f), nullptr) << f;
    EXPECT_TRUE(Anim().Dirty);
}

TEST_F(AnimationDialogsWidgetTest, ComplementFillsTheFramesBetweenWithTheTickedItemsOnly) {
    AddCell(1, 0);
    TKelAnimationCellItem& last = AddCell(3, 10);
    last.Magnification = 200;
    last.Pattern = 4;
    last.Red = 0;
    Saved();
    TFormEDAnimation page(mContext);
    page.show();
    Settle();
    RunDialog([&] { page.Button3Click(); }, [](TFormKelBase& dialog) {
        TypeInto(dialog, "EditFrom", "3");  // reversed: the same range
        TypeInto(dialog, "EditTo", "1");
        TypeInto(dialog, "EditCellFrom", "1");
        TypeInto(dialog, "EditCellTo", "1");
        auto* pattern = Child<QAbstractButton>(dialog, "CheckPattern");
        auto* tone = Child<QAbstractButton>(dialog, "CheckTransparency");
        ASSERT_TRUE(pattern && tone);
        ASSERT_TRUE(pattern->isChecked() && tone->isChecked()) << "all three ticked at first";
        Click(dialog, "CheckPattern");
        Click(dialog, "CheckTransparency");
        EXPECT_EQ(InputsWithoutAccessibleName(&dialog), QStringList());
        KeepPicture(dialog.grab().toImage(), "animation-complement-dialog");
    });
    const TKelAnimationCellItem* middle = CellOf(2);
    ASSERT_NE(middle, nullptr) << "the cell is added where the frame had none";
    EXPECT_TRUE(middle->Visible);
    EXPECT_EQ(middle->X, 5);
    EXPECT_EQ(middle->Magnification, 150);
    EXPECT_EQ(middle->Pattern, 0) << "pattern not ticked";
    EXPECT_EQ(middle->Red, 100) << "tone not ticked";
    EXPECT_EQ(CellOf(1)->X, 0);
    EXPECT_EQ(CellOf(3)->X, 10) << "the last frame stays";
    EXPECT_TRUE(Anim().Dirty);
}

TEST_F(AnimationDialogsWidgetTest, CellSlidersAndBoxesFollowEachOther) {
    AddCell(1, 0);
    TFormEDAnimation page(mContext);
    page.show();
    Settle();
    page.Model().SelectCell(0);
    QString focusAfterAlt;
    RunDialog([&] { page.CellPropertyClick(); }, [&](TFormKelBase& dialog) {
        auto* red = Child<TValueSlider>(dialog, "SliderRed");
        auto* green = Child<TValueSlider>(dialog, "SliderGreen");
        ASSERT_TRUE(red && green);
        EXPECT_EQ(red->Value(), 10);
        TypeInto(dialog, "EditRed", "135");
        EXPECT_EQ(red->Value(), 14) << "the box moves the slider";
        QTest::keyClick(green->Slider(), Qt::Key_Right);
        QTest::keyClick(green->Slider(), Qt::Key_Right);
        EXPECT_EQ(SpinValue(dialog, "EditGreen"), 120) << "the slider sets the box";
        EXPECT_EQ(InputsWithoutAccessibleName(&dialog), QStringList());
        // The slider's label carries an Alt letter that reaches the slider.
        auto* label = Child<QLabel>(dialog, "SliderBlueLabel");
        ASSERT_NE(label, nullptr);
        const int amp = label->text().indexOf('&');
        ASSERT_GE(amp, 0) << label->text().toStdString();
        QTest::keyClick(&dialog, label->text().at(amp + 1).toLatin1(), Qt::AltModifier);
        if (QWidget* focus = QApplication::focusWidget())
            focusAfterAlt = focus->parentWidget() ? focus->parentWidget()->objectName() : QString();
        KeepPicture(dialog.grab().toImage(), "animation-cell-dialog-sliders");
    });
    EXPECT_EQ(focusAfterAlt, "SliderBlue");
    EXPECT_EQ(CellOf(1)->Red, 140) << "on its step of 10";
    EXPECT_EQ(CellOf(1)->Green, 120);
}

TEST_F(AnimationDialogsWidgetTest, TimingSampleShowsTheFlashColourAsTheBoxesChange) {
    TFormEDAnimation page(mContext);
    page.show();
    Settle();
    auto* timings = page.findChild<QTreeView*>("ListView1");
    ASSERT_NE(timings, nullptr);
    ShowCurrentRow(*timings, timings->model()->rowCount() - 1);
    QRgb before = 0, after = 0;
    RunDialog([&] { page.Menu_TimingItemEdit(); }, [&](TFormKelBase& dialog) {
        auto* sample = Child<QWidget>(dialog, "ShapeSample");
        ASSERT_NE(sample, nullptr);
        const QPoint centre = sample->rect().center();
        before = Grab(*sample).pixel(centre);
        Click(dialog, "RadioRange1");
        TypeInto(dialog, "EditRed", "31");
        TypeInto(dialog, "EditGreen", "0");
        TypeInto(dialog, "EditBlue", "16");
        after = Grab(*sample).pixel(centre);
        KeepPicture(dialog.grab().toImage(), "animation-timing-dialog-sample");
    });
    EXPECT_EQ(before, qRgb(248, 248, 248)) << "31 each: times 8";
    EXPECT_EQ(after, qRgb(248, 0, 128));
    const TKelAnimationTiming& list = Anim().Timing;
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0)->FlashBlue, 16);
}

}  // namespace
}  // namespace quillon
