// The selector windows run headless: OK and Cancel, Enter and double clicks, clicks in the grid
// previews (also outside them), the music selector's buttons and sliders, and the modal helpers.
#include "../SelTestKit.h"
#include "kit/WidgetKit.h"

#include "audio/AudioHarmony.h"
#include "audio/AudioRender.h"
#include "project/SelBase_qt.h"
#include "project/SelEvChar_qt.h"
#include "project/SelMusic_qt.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::seltest;

namespace {

int CharIndex(int x, int y) {
    return 1 + (x / 72 + (y / 128) * 4) * 12 + (y % 128 / 32) * 3 + x % 72 / 24;
}
int ChipIndex(int x, int y) { return 1 + (x / 16 + (y / 16) * 30) % 254; }

class SelectorWidget : public SelSandbox {
protected:
    static void SetUpTestSuite() { widgetkit::App(); }
    void SetUp() override {
        SelSandbox::SetUp();
        WriteImage(Project("FaceSet/Faces.png"), 192, 192, [](int x, int y) { return 1 + x / 48 + (y / 48) * 4; });
        WriteImage(Rtp("FaceSet/Old.png"), 192, 192, [](int, int) { return 3; });
        WriteImage(Project("CharSet/Hero.png"), 288, 256, CharIndex);
        WriteImage(Project("ChipSet/Town.png"), 480, 256, ChipIndex);
        WriteImage(Project("Monster/Slime.png"), 64, 48, [](int x, int y) { return (x / 8 + y / 8) % 2 ? 1 + x / 8 : 0; });
        WriteImage(Rtp("Title/Title.png"), 320, 240, [](int x, int y) { return 1 + (x / 40 + y / 30) % 20; });
    }

    // Saves the window's picture for looking at, into the build tree.
    static void Grab(QWidget& widget, const char* name) { widgetkit::KeepWidget(widget, name); }

    // The point of a preview in the coordinates of the preview widget.
    static void Click(TSelPreview* preview, int x, int y) { QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(x, y)); }

    // A double click as the window system delivers it: press, release, double click, release.
    static void DoubleClick(QWidget* widget, QPoint at) {
        const QPointF local(at);
        const QPointF global(widget->mapToGlobal(at));
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        }
    }
};

TEST_F(SelectorWidget, FaceSelectorOkCancelAndGridClicks) {
    TFormSelFace form(nullptr);
    form.Model().Open("Faces", 1);
    form.FillList();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Select Face Graphic");
    EXPECT_EQ(form.DataList()->count(), 2);
    EXPECT_EQ(form.DataList()->currentItem()->text(), "Faces");
    EXPECT_EQ(form.DataList()->item(1)->text(), "Old <RTP>");

    Click(form.Preview(), 100, 70);
    EXPECT_EQ(form.Model().Index(), 6);
    // The preview shows the frame round face 6.
    QImage shot = form.Preview()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(96, 48), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(1, 1), QColor(Qt::white));
    Grab(form, "SelFace");

    // Outside the grid: the preview widget is the image's size, so only its edge pixels border it.
    Click(form.Preview(), 191, 191);
    EXPECT_EQ(form.Model().Index(), 15);
    form.Model().ClickAt(192, 100);
    EXPECT_EQ(form.Model().Index(), 15);

    QTest::mouseClick(form.ButtonCancel(), Qt::LeftButton);
    EXPECT_EQ(form.result(), 2);
    EXPECT_FALSE(form.isVisible());

    form.show();
    form.DataList()->setCurrentRow(1);
    EXPECT_EQ(form.Model().Name(), "Old");
    QTest::mouseClick(form.ButtonOk(), Qt::LeftButton);
    EXPECT_EQ(form.result(), 1);
}

TEST_F(SelectorWidget, EnterAndDoubleClickOnTheListAreOk) {
    TFormSelTitle form(nullptr);
    form.Model().Open("Title");
    form.FillList();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.DataList()->setFocus();
    QTest::keyClick(form.DataList(), Qt::Key_Return);
    EXPECT_EQ(form.result(), 1);
    EXPECT_FALSE(form.isVisible());

    form.setResult(0);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QListWidget* list = form.DataList();
    const QPoint row = list->visualItemRect(list->item(0)).center();
    DoubleClick(list->viewport(), row);
    EXPECT_EQ(form.result(), 1);
    Grab(form, "SelTitle");

    // Esc is Cancel.
    form.setResult(0);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), 2);
}

TEST_F(SelectorWidget, DoubleClickOnThePreviewIsOk) {
    TFormSelChar form(nullptr);
    form.Model().Open("Hero", 0);
    form.FillList();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    DoubleClick(form.Preview(), QPoint(150, 100));
    EXPECT_EQ(form.Model().Index(), 7);
    EXPECT_EQ(form.result(), 1);
}

TEST_F(SelectorWidget, ModalHelpersGiveBackNameAndCell) {
    std::string name = "Old";
    int index = 4;
    QTimer::singleShot(0, [] {
        auto* form = qobject_cast<TFormSelBase*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->DataList()->currentRow(), 1);
        form->DataList()->setCurrentRow(0);
        Click(form->Preview(), 5, 100);  // face 8
        form->ButtonOkClick();
    });
    EXPECT_TRUE(SelectResource(nullptr, TSelKind::Face, name, &index));
    EXPECT_EQ(name, "Faces");
    EXPECT_EQ(index, 8);

    QTimer::singleShot(0, [] {
        auto* form = qobject_cast<TFormSelBase*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->DataList()->setCurrentRow(1);
        form->ButtonCancelClick();
    });
    EXPECT_FALSE(SelectResource(nullptr, TSelKind::Face, name, &index));
    EXPECT_EQ(name, "Faces");
    EXPECT_EQ(index, 8);
}

TEST_F(SelectorWidget, EventGraphicPagesDirectionAndPattern) {
    TFormSelEvChar form(nullptr, "Town");
    form.Open("", 57, 2, 1);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Select Graphic");
    EXPECT_EQ(form.DataList()->currentItem()->text(), "*ChipSet 2");
    EXPECT_FALSE(form.DirectionBox()->isEnabled());
    Grab(form, "SelEvCharChipSet");
    Click(form.Preview(), 5 * 32 + 3, 7 * 32 + 3);
    EXPECT_EQ(form.Model().Index(), 48 + 47);

    form.DataList()->setCurrentRow(3);  // "Hero"
    EXPECT_TRUE(form.DirectionBox()->isEnabled());
    form.DirectionBox()->setCurrentIndex(3);
    form.PatternBox()->setCurrentIndex(0);
    EXPECT_EQ(form.Model().Direction(), 3);
    EXPECT_EQ(form.Model().Pattern(), 0);
    Click(form.Preview(), 60, 70);
    EXPECT_EQ(form.Model().Index(), 5);
    Grab(form, "SelEvCharHero");
    QTest::mouseClick(form.ButtonOk(), Qt::LeftButton);
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.Model().GraphicName(), "Hero");
}

TEST_F(SelectorWidget, ChipPickerIgnoresClicksBelowTheLastTile) {
    TFormSelReplChip form(nullptr, "Town", 1);
    form.Open(20);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Select Chip");
    EXPECT_EQ(form.Preview()->height(), 24 * 32);
    Click(form.Preview(), 70, 40);
    EXPECT_EQ(form.Model().Index(), 8);
    EXPECT_FALSE(form.Model().ClickAt(70, 24 * 32 + 2));
    EXPECT_EQ(form.Model().Index(), 8);
    Grab(form, "SelReplChip");
    DoubleClick(form.Preview(), QPoint(40, 40));
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.Model().Index(), 7);
}

// Every input of the selectors has a name a screen reader can say.
TEST_F(SelectorWidget, EveryInputIsNamed) {
    TFormSelFace face(nullptr);
    TFormSelEvChar eventGraphic(nullptr, "Town");
    TFormSelReplChip chip(nullptr, "Town", 1);
    TFormSelMonster monster(nullptr);
    for (QWidget* form : std::vector<QWidget*>{&face, &eventGraphic, &chip, &monster})
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(form), QStringList()) << form->objectName().toStdString();
}

TEST_F(SelectorWidget, MonsterHueSlider) {
    TFormSelMonster form(nullptr);
    form.Open("Slime", 90);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.HueSlider()->value(), 27);
    EXPECT_EQ(form.MonsterModel().Hue(), 90);
    const QImage before = form.Preview()->grab().toImage();
    form.HueSlider()->setValue(0);
    EXPECT_EQ(form.MonsterModel().Hue(), 180);
    EXPECT_NE(form.Preview()->grab().toImage(), before);
    Grab(form, "SelMonster");
}

class MusicWidget : public SelectorWidget {
protected:
    void SetUp() override {
        SelectorWidget::SetUp();
        SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
        ASSERT_TRUE(audio::AudioCreateWith(audio::OfflineAudioServices(mClock)));
        ASSERT_TRUE(audio::AudioOpenWave());
        mRenderer = std::make_unique<audio::TOfflineRenderer>(*audio::AudioFront(), mClock);
        ResetCurrentMusicSettings();
    }
    void TearDown() override {
        mRenderer.reset();
        audio::AudioFree();
        ResetCurrentMusicSettings();
        SelectorWidget::TearDown();
    }
    double Listen(int millis) {
        std::vector<std::int16_t> mix;
        mRenderer->Render(millis, mix);
        double sum = 0;
        for (const std::int16_t s : mix)
            sum += double(s) * s;
        return mix.empty() ? 0.0 : std::sqrt(sum / double(mix.size()));
    }
    std::shared_ptr<audio::TManualClock> mClock = std::make_shared<audio::TManualClock>(1000);
    std::unique_ptr<audio::TOfflineRenderer> mRenderer;
};

TEST_F(MusicWidget, EnterPlaysInsteadOfOkAndShiftStopFadesOut) {
    TFormSelMusic form(nullptr, false);
    TKelMusic music;
    music.Name = "Battle";
    music.Volume = 55;
    form.Open(music);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.DataList()->item(0)->text(), "(OFF)");
    EXPECT_EQ(form.DataList()->currentItem()->text(), "Battle <RTP>");
    EXPECT_EQ(form.VolumeSlider()->value(), 6);
    Grab(form, "SelMusic");

    form.DataList()->setFocus();
    QTest::keyClick(form.DataList(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());  // Enter plays, the window stays
    EXPECT_EQ(CurrentMusicSettings().Name, "Battle");
    EXPECT_EQ(CurrentMusicSettings().Volume, 55);  // off the slider's grid, kept
    const double loud = Listen(3000);
    EXPECT_GT(loud, 100.0);

    QTest::mouseClick(form.ButtonStop(), Qt::LeftButton, Qt::ShiftModifier);
    Listen(5500);
    ASSERT_NE(audio::AudioFront()->Midi(), nullptr);
    EXPECT_EQ(audio::AudioFront()->Midi()->FadeLevel(), 0);
    EXPECT_LT(Listen(1000), loud / 20);

    // Double click plays the row under the pointer; a plain Stop stops at once.
    QListWidget* list = form.DataList();
    DoubleClick(list->viewport(), list->visualItemRect(list->item(1)).center());
    EXPECT_TRUE(form.isVisible());
    EXPECT_GT(Listen(3000), 100.0);
    form.VolumeSlider()->setValue(3);
    EXPECT_EQ(audio::AudioFront()->Midi()->Volume(), 30);
    QTest::mouseClick(form.ButtonStop(), Qt::LeftButton);
    EXPECT_EQ(audio::AudioFront()->Midi(), nullptr);
    EXPECT_EQ(CurrentMusicSettings().Name, "(OFF)");

    form.DataList()->setCurrentRow(2);
    form.VolumeSlider()->setValue(8);
    QTest::mouseClick(form.ButtonOk(), Qt::LeftButton);
    EXPECT_EQ(form.result(), 1);
    TKelMusic chosen;
    form.Model().GetMusic(chosen);
    EXPECT_EQ(chosen.Volume, 80);
    EXPECT_EQ(chosen.Name, form.Model().Name());
}

TEST_F(MusicWidget, ListenOnlyHidesOkAndStartsFromTheMusicNowPlaying) {
    {
        TFormSelMusic form(nullptr, false);
        TKelMusic music;
        music.Name = "Town";
        music.Tempo = 140;
        form.Open(music);
        form.ButtonPlayClick();
    }
    TFormSelMusic form(nullptr, true);
    form.OpenCurrent();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(form.ButtonOk()->isHidden());
    EXPECT_EQ(form.ButtonCancel()->text(), "&Cancel");
    EXPECT_EQ(form.Model().Name(), "Town");
    EXPECT_EQ(form.TempoSlider()->value(), 9);
    Grab(form, "SelMusicListen");
    // Enter plays; nothing closes the window as OK.
    form.DataList()->setFocus();
    QTest::keyClick(form.DataList(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    form.ButtonCancelClick();
    EXPECT_EQ(form.result(), 2);
}

TEST_F(MusicWidget, SoundSelectorEnterIsOkAndPlayPlays) {
    TFormSelSound form(nullptr);
    TKelSound sound;
    sound.Name = "Cursor";
    form.Open(sound);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Select Sound Effect");
    QTest::mouseClick(form.ButtonPlay(), Qt::LeftButton);
    EXPECT_GT(Listen(150), 50.0);
    Grab(form, "SelSound");
    form.DataList()->setFocus();
    QTest::keyClick(form.DataList(), Qt::Key_Return);
    EXPECT_EQ(form.result(), 1);
    TKelSound chosen;
    form.Model().GetSound(chosen);
    EXPECT_EQ(chosen.Name, "Cursor");
}

}  // namespace

namespace {

// The starter run-time package's own pictures in the pickers.
class StarterWidget : public SelectorWidget {
protected:
    void SetUp() override {
        SelectorWidget::SetUp();
        SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
    }
    static int NonBlackPixels(const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) != QColor(Qt::black);
        return count;
    }
};

TEST_F(StarterWidget, StarterCharactersAndChipSetPagesAreDrawn) {
    TFormSelChar walk(nullptr);
    walk.Model().Open("People", 2);
    walk.FillList();
    walk.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&walk));
    EXPECT_EQ(walk.DataList()->currentItem()->text(), "People <RTP>");
    EXPECT_GT(NonBlackPixels(walk.Preview()->grab().toImage()), 192 * 128 / 4);
    Grab(walk, "StarterSelChar");

    TFormSelEvChar events(nullptr, "World");
    events.Open("", 20, 2, 1);
    events.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&events));
    EXPECT_GT(NonBlackPixels(events.Preview()->grab().toImage()), 192 * 256 / 8);
    Grab(events, "StarterSelEvChar");
}

}  // namespace

namespace {

TEST_F(SelectorWidget, NamesStayCodePageBytesAndShowAsText) {
    const std::string name = "\x88\x9F\x83\x65";            // two characters in code page 932,
    const std::string onDisk = "\xE4\xBA\x9C\xE3\x83\x86";  // named in UTF-8 on the disk
    WriteImage(Project("Picture/" + onDisk + ".png"), 16, 16, [](int, int) { return 2; });
    TFormSelPicture form(nullptr);
    form.Model().Open(name);
    form.FillList();
    ASSERT_EQ(form.DataList()->count(), 1);
    EXPECT_EQ(form.DataList()->item(0)->text(), QString::fromStdString(onDisk));
    EXPECT_EQ(form.Model().Name(), name);
    EXPECT_TRUE(form.Model().HasImage());
}

}  // namespace
