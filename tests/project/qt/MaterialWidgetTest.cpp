// The material manager's windows headless: the buttons in step with the lists, an import
// through the transparent-colour picker's clicks, and the open dialog's preview panel.
#include "../SelTestKit.h"
#include "kit/WidgetKit.h"

#include "platform/FileUtils.h"
#include "project/MaterialBase_qt.h"
#include "project/TransparentPicker_qt.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::seltest;

namespace {

using widgetkit::Child;

int Stripes(int x, int y) { return 1 + (x / 16 + y / 16) % 12; }

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

class MaterialWidget : public SelSandbox {
protected:
    static void SetUpTestSuite() { widgetkit::App(); }
    void SetUp() override {
        SelSandbox::SetUp();
        for (int kind = 0; kind < kMaterialKindCount; ++kind)
            fs::create_directories(Project(MaterialKindName(kind)));
        WriteImage(Project("CharSet/Mine.png"), 288, 256, Stripes);
        WriteImage(Rtp("CharSet/Old.png"), 288, 256, Stripes);
        Touch(Rtp("Music/Town.mid"));
        MaterialImportFormat() = 0;
        MaterialLastKind() = mkCharSet;
    }
    void TearDown() override {
        MaterialLastKind() = 0;
        SelSandbox::TearDown();
    }
};

TEST_F(MaterialWidget, ButtonsFollowTheSelectionAndTheKind) {
    TMaterialBaseModel model(Project(""));
    TFormMaterialBase form(model);
    EXPECT_EQ(form.windowTitle(), "RAW Materials Settings");
    EXPECT_EQ(Child<QListWidget>(form, "IconListBox1")->count(), kMaterialKindCount);
    EXPECT_EQ(Child<QListWidget>(form, "IconListBox1")->currentRow(), mkCharSet);
    EXPECT_EQ(Rows(Child<QListWidget>(form, "IconListBox2")), (QStringList{"Mine", "Old <RTP>"}));
    EXPECT_FALSE(Child<QPushButton>(form, "ButtonExport")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(form, "ButtonDelete")->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioButtonPng")->isChecked());
    Child<QListWidget>(form, "IconListBox2")->setCurrentRow(1);
    EXPECT_TRUE(Child<QPushButton>(form, "ButtonExport")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(form, "ButtonDelete")->isEnabled());
    Child<QListWidget>(form, "IconListBox2")->setCurrentRow(0);
    EXPECT_TRUE(Child<QPushButton>(form, "ButtonDelete")->isEnabled());
    widgetkit::KeepWidget(form, "MaterialBase");

    Child<QListWidget>(form, "IconListBox1")->setCurrentRow(mkMusic);
    EXPECT_EQ(Rows(Child<QListWidget>(form, "IconListBox2")), (QStringList{"Town <RTP>"}));
    EXPECT_FALSE(Child<QGroupBox>(form, "GroupImportFrom")->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(form, "RadioButtonZgf")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(form, "ButtonExport")->isEnabled());
    Child<QRadioButton>(form, "RadioButtonZgf")->setEnabled(true);
    Child<QListWidget>(form, "IconListBox1")->setCurrentRow(mkPicture);
    EXPECT_TRUE(Child<QGroupBox>(form, "GroupImportFrom")->isEnabled());
    Child<QRadioButton>(form, "RadioButtonZgf")->click();
    EXPECT_EQ(MaterialImportFormat(), 1);
    Child<QPushButton>(form, "ButtonClose")->click();
    EXPECT_EQ(MaterialLastKind(), mkPicture);
}

TEST_F(MaterialWidget, ImportRunsThePickerWhoseClickChoosesTheTransparentColour) {
    WriteImage(Root + "outside/Walker.png", 288, 256, Stripes);
    TMaterialBaseModel model(Project(""));
    TFormMaterialBase form(model);
    form.ChooseImportFile = [&](TFormMaterialBase&) { return QString::fromStdString(Root + "outside/Walker.png"); };
    int shownZoom = 0;
    const TScopedModalRunner runner([&](TFormKelBase& dialog) {
        auto* picker = dynamic_cast<TFormMaterialBase2*>(&dialog);
        if (!picker)
            return int(mrCancel);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Material Base");
        Child<QPushButton>(*picker, "ButtonZoomIn")->click();
        Child<QPushButton>(*picker, "ButtonZoomIn")->click();  // zoom 3
        shownZoom = picker->Model().Zoom();
        EXPECT_EQ(picker->PaintBox1()->size(), QSize(288 * 3, 256 * 3));
        // Pixel (40, 3) has index 1 + 40 / 16 = 3.
        QTest::mouseClick(picker->PaintBox1(), Qt::LeftButton, {}, QPoint(40 * 3 + 2, 3 * 3 + 1));
        EXPECT_EQ(picker->Model().Selected(), 3);
        picker->Timer1Timer();  // the blink phase that shows the picked colour lit
        widgetkit::KeepWidget(dialog, "MaterialBase2");
        Child<QPushButton>(*picker, "ButtonOk")->click();
        return dialog.result();
    });
    Child<QPushButton>(form, "ButtonImport")->click();
    EXPECT_EQ(shownZoom, 3);
    ASSERT_TRUE(FileExists(Project("CharSet/Walker.png")));
    TBitmap stored;
    LoadPicture(stored, Project("CharSet/Walker.png"));
    EXPECT_EQ(stored.Palette()[0], TestColor(3));
    EXPECT_EQ(stored.PixelIndex(40, 3), 0);
    EXPECT_EQ(Rows(Child<QListWidget>(form, "IconListBox2")), (QStringList{"Mine", "Walker", "Old <RTP>"}));
    EXPECT_EQ(Child<QListWidget>(form, "IconListBox2")->currentRow(), 1);
}

TEST_F(MaterialWidget, PreviewPanelShowsSizeOrNone) {
    WriteImage(Root + "outside/Wide.png", 400, 100, Stripes);
    TOpenPictureDialogEx dialog;
    dialog.setNameFilters({"Image files (*.bmp *.png *.zgf)"});
    dialog.setDirectory(QString::fromStdString(Root + "outside"));
    dialog.resize(760, 420);
    dialog.ShowPreview(QString::fromStdString(Root + "outside/Wide.png"));
    EXPECT_EQ(dialog.PictureLabel()->text(), "Picture: (400x100)");
    ASSERT_TRUE(dialog.PaintBox()->Picture());
    widgetkit::KeepWidget(dialog, "OpenPictureDialogEx");
    const QImage shot = widgetkit::Grab(*dialog.PaintBox());
    // Wider than the box: drawn from the top-left, so the bottom row of the box stays empty.
    EXPECT_NE(shot.pixel(2, 2), shot.pixel(2, shot.height() - 2));
    dialog.ShowPreview(QString::fromStdString(Root + "outside"));
    EXPECT_EQ(dialog.PictureLabel()->text(), "Picture:");
    EXPECT_FALSE(dialog.PaintBox()->Picture());

    // The panel keeps its size however tall the dialog is.
    const QWidget* panel = Child<QWidget>(dialog, "PicturePanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->size(), QSize(200, 169));

    // A full path typed into the name box is previewed as it completes.
    WriteImage(Root + "elsewhere/Tall.png", 100, 300, Stripes);
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(Root + "elsewhere/Tall.pn"));
    EXPECT_EQ(dialog.PictureLabel()->text(), "Picture:");
    name->setText(QString::fromStdString(Root + "elsewhere/Tall.png"));
    EXPECT_EQ(dialog.PictureLabel()->text(), "Picture: (100x300)");
}

TEST_F(MaterialWidget, EveryInputIsNamed) {
    TMaterialBaseModel model(Project(""));
    TFormMaterialBase form(model);
    TBitmap picture(32, 32, TPixelFormat::pf8bit);
    TFormMaterialBase2 picker(picture);
    for (QWidget* w : std::vector<QWidget*>{&form, &picker})
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(w), QStringList()) << w->objectName().toStdString();
}

}  // namespace
