// The map property, encounter, area, Set Area, shift and vehicle dialogs on the offscreen
// platform: enabling rules, OK rules and what the dialogs give back.
#include "mapedit/ED_Area_qt.h"
#include "mapedit/ED_Map_qt.h"
#include "mapedit/EncounterList_qt.h"
#include "mapedit/MapDialogs_qt.h"
#include "mapedit/MapShift_qt.h"

#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"
#include "data/RecordTestKit.h"
#include "project/ProjectManager.h"
#include "data/LD_Map.h"
#include "data/LD_MonGroup.h"
#include "platform/Clipboard.h"
#include "platform/Cp932Validator_qt.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <filesystem>

namespace quillon {
namespace {

using widgetkit::App;
using widgetkit::Child;
using widgetkit::Key;
using widgetkit::KeepWidget;
using widgetkit::Mouse;

class MapDialogsQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        mPrevious = SetClipboard(&mClipboard);
        mChipSets.Obtain(1).Name = "World";
        mChipSets.Obtain(2).Name = "Town";
        mTroops.Obtain(1).Name = "Slimes";
        mTroops.Obtain(2).Name = "Bats";
    }
    void TearDown() override { SetClipboard(mPrevious); }
    TMemoryClipboard mClipboard;
    IClipboard* mPrevious = nullptr;
    TKelChipSet mChipSets;
    TKelMonGroup mTroops;
};

TEST_F(MapDialogsQtTest, MapDialogEnablesByPanoramaPansAndSetToAndShowsDisabledSpeedsEmpty) {
    TKelMapTreeItem item;
    item.ID = 4;
    item.Name = "MAP0004";
    TKelMap map;
    map.PanoramaHorizontalSpeed = -3;
    TMapPropertiesModel model;
    model.Open(true, true, item, map, &mChipSets);
    int selected = 0;
    model.Selectors.SelectMusic = [&](TKelMusic& music) {
        ++selected;
        music.Name = "Theme";
        return true;
    };
    TFormEDMap form(model, &mChipSets, &mTroops);
    EXPECT_EQ(form.windowTitle(), "The preparation of the map - ID:0004");
    // Top level: "Parent Map" disabled, the next choices taken.
    for (const char* name : {"RadioMusicParent", "RadioBackdropParent", "RadioTeleportParent", "RadioEscapeParent", "RadioSaveParent"})
        EXPECT_FALSE(Child<QRadioButton>(form, name)->isEnabled()) << name;
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioMusicNoChange")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioBackdropTerrain")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioSaveEnable")->isChecked());

    auto* graphic = Child<QGroupBox>(form, "GroupGraphic");
    auto* hpan = Child<QCheckBox>(form, "CheckHorizontalPan");
    auto* hauto = Child<QCheckBox>(form, "CheckHorizontalAuto");
    auto* hspeed = Child<QSpinBox>(form, "SpinHorizontalSpeed");
    auto* music = Child<QPushButton>(form, "ButtonMusic");
    EXPECT_FALSE(graphic->isEnabled());
    EXPECT_FALSE(hpan->isEnabled());
    EXPECT_FALSE(hspeed->isEnabled());
    EXPECT_EQ(hspeed->text(), "");
    EXPECT_FALSE(music->isEnabled());

    Child<QCheckBox>(form, "CheckPanorama")->click();
    EXPECT_TRUE(graphic->isEnabled());
    EXPECT_TRUE(hpan->isEnabled());
    EXPECT_FALSE(hauto->isEnabled());
    hpan->click();
    EXPECT_TRUE(hauto->isEnabled());
    EXPECT_FALSE(hspeed->isEnabled());
    hauto->click();
    ASSERT_TRUE(hspeed->isEnabled());
    EXPECT_EQ(hspeed->value(), -3);  // the stored speed shows again
    EXPECT_EQ(hspeed->text(), "-3");

    Child<QRadioButton>(form, "RadioMusicSetTo")->click();
    ASSERT_TRUE(music->isEnabled());
    music->click();
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(music->text(), "Theme");

    Child<QSpinBox>(form, "SpinWidth")->setValue(44);
    KeepWidget(form, "map-properties");
    Child<QPushButton>(form, "ButtonOk")->click();
    EXPECT_EQ(form.result(), 1);
    TKelMapTreeItem outItem;
    TKelMap outMap;
    model.Apply(outItem, outMap);
    EXPECT_EQ(outMap.Width(), 44);
    EXPECT_EQ(outMap.PanoramaHorizontalAuto, 1);
    EXPECT_EQ(outItem.MusicType, TKelMapTreeItem::mtSetTo);
    EXPECT_EQ(outItem.Music.Name, "Theme");
}

TEST_F(MapDialogsQtTest, EncounterListEditsAndUsesTheClipboardByKey) {
    TKelEncount list;
    TEncounterListView view(list, &mTroops);
    std::int32_t next = 2;
    view.EditTroop = [&](std::int32_t, std::int32_t& chosen) {
        chosen = next;
        return true;
    };
    view.show();
    view.setFocus();
    ASSERT_EQ(view.topLevelItemCount(), 1);  // the new row
    view.setCurrentItem(view.topLevelItem(0));
    Key(&view, Qt::Key_Return);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(view.topLevelItem(0)->text(0), "Bats");
    EXPECT_EQ(view.topLevelItemCount(), 2);
    Key(&view, Qt::Key_C, Qt::ControlModifier);
    view.setCurrentItem(view.topLevelItem(1));
    Key(&view, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1)->MonsterGroupId, 2);
    view.setCurrentItem(view.topLevelItem(0));
    Key(&view, Qt::Key_Delete);
    EXPECT_EQ(list.Count(), 1);
    // On the new row only Edit and Paste are offered.
    view.setCurrentItem(view.topLevelItem(1));
    QMenu* menu = view.BuildPopupMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[1]->isEnabled());
    EXPECT_FALSE(actions[2]->isEnabled());
    EXPECT_TRUE(actions[3]->isEnabled());
    EXPECT_FALSE(actions[4]->isEnabled());
    delete menu;

    TEncounterDialogModel model(&mTroops, 0);
    TFormEDMapEncount dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "Map Encounter Rate Editor");
    KeepWidget(dialog, "encounter");
}

TEST_F(MapDialogsQtTest, AreaDialogShowsTheRectangleAndSetAreaFollowsTheDrag) {
    TKelMapTree tree;
    tree.AddItem(0, 0);
    tree.AddItem(0, 1).Kind = TKelMapTreeItem::mkMap;
    tree.FindByID(1)->ScrollX = 64;
    tree.CurrentMapId = 1;
    TKelMap map;
    map.SetWidth(20);
    map.SetHeight(15);
    TAreaPropertiesModel model;
    model.AreaId = 2;
    model.Name = "AREA0002";
    model.Rect = {0, 0, 20, 15};
    TFormEDArea form(model, tree, map, &mChipSets, &mTroops);
    EXPECT_EQ(form.windowTitle(), "The preparation of the area - ID:0002");
    auto* box = Child<QPushButton>(form, "ButtonArea");
    EXPECT_EQ(box->text(), "(000,000) - (019,014)");
    form.SetArea = [](TKelAreaRect& rect) {
        rect = {2, 3, 5, 7};
        return true;
    };
    box->click();
    EXPECT_EQ(box->text(), "(002,003) - (004,006)");
    KeepWidget(form, "area");

    TMapSetAreaModel setArea(tree, map, {});
    TFormMapSetArea dialog(setArea, &mChipSets);
    dialog.show();
    EXPECT_FALSE(dialog.ButtonOk()->isEnabled());
    EXPECT_EQ(dialog.Label()->text(), "");
    // Cells of 16: grid point (2, 3) at (32, 48), (5, 7) at (80, 112).
    TFormAreaMaker* maker = dialog.Maker();
    Mouse(maker, QEvent::MouseButtonPress, QPoint(33, 47), Qt::LeftButton, Qt::LeftButton);
    Mouse(maker, QEvent::MouseMove, QPoint(79, 113), Qt::NoButton, Qt::LeftButton);
    Mouse(maker, QEvent::MouseButtonRelease, QPoint(79, 113), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(setArea.Maker().Rect(), (TKelAreaRect{2, 3, 5, 7}));
    EXPECT_EQ(dialog.Label()->text(), "(002,003) - (004,006)");
    EXPECT_TRUE(dialog.ButtonOk()->isEnabled());
    KeepWidget(dialog, "set-area");
    tree.FindByID(1)->ScrollX = 999;
    dialog.ButtonOk()->click();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(tree.FindByID(1)->ScrollX, 64);
}

TEST_F(MapDialogsQtTest, ShiftDialogLimitsTheAmountAndIsRememberedThroughTheTreeDialogs) {
    TMapShiftModel::ForgetLast();
    TMapTreeDialogs dialogs(nullptr);
    std::function<int(TFormKelBase&)> run;
    TScopedModalRunner runner([&run](TFormKelBase& dialog) { return run(dialog); });
    run = [](TFormKelBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Map Shift");
        EXPECT_TRUE(Child<QRadioButton>(dialog, "RadioUp")->isChecked());
        auto* spin = Child<QSpinBox>(dialog, "SpinAmount");
        EXPECT_EQ(spin->maximum(), 15);
        Child<QRadioButton>(dialog, "RadioLeft")->click();
        EXPECT_EQ(spin->maximum(), 30);
        spin->setValue(3);
        KeepWidget(dialog, "map-shift");
        Child<QPushButton>(dialog, "ButtonOk")->click();
        return static_cast<QDialog&>(dialog).result();
    };
    std::int32_t dx = 0, dy = 0;
    ASSERT_TRUE(dialogs.ShiftMap(30, 15, dx, dy));
    EXPECT_EQ(dx, -3);
    EXPECT_EQ(dy, 0);
    TMapShiftModel again(30, 15);
    TFormMapShift form(again);
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioLeft")->isChecked());
    EXPECT_EQ(Child<QSpinBox>(form, "SpinAmount")->value(), 3);
    TMapShiftModel::ForgetLast();

    TMapShipPosModel ship;
    TFormMapShipPos chooser(ship);
    chooser.show();
    EXPECT_TRUE(Child<QRadioButton>(chooser, "RadioBoat")->isChecked());
    QRadioButton* shipChoice = Child<QRadioButton>(chooser, "RadioShip");
    Mouse(shipChoice, QEvent::MouseButtonPress, QPoint(4, 4), Qt::LeftButton, Qt::LeftButton);
    Mouse(shipChoice, QEvent::MouseButtonRelease, QPoint(4, 4), Qt::LeftButton, Qt::NoButton);
    Mouse(shipChoice, QEvent::MouseButtonDblClick, QPoint(4, 4), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(chooser.result(), 1);
    EXPECT_EQ(ship.Result(), 2);
    KeepWidget(chooser, "vehicle");
}

TEST_F(MapDialogsQtTest, TreeDialogsGiveTheEditedMapBackOnlyOnOk) {
    TMapTreeDialogs dialogs(nullptr);
    std::function<int(TFormKelBase&)> run;
    TScopedModalRunner runner([&run](TFormKelBase& dialog) { return run(dialog); });
    dialogs.ChipSets = &mChipSets;
    int answer = 2;
    run = [&](TFormKelBase& dialog) {
        Child<QLineEdit>(dialog, "EditName")->setText("Cave");
        emit Child<QLineEdit>(dialog, "EditName")->textEdited("Cave");
        Child<QSpinBox>(dialog, "SpinHeight")->setValue(33);
        return answer;
    };
    TKelMapTreeItem item;
    item.ID = 5;
    item.Name = "MAP0005";
    TKelMap settings;
    EXPECT_FALSE(dialogs.EditMap(true, false, item, settings));
    EXPECT_EQ(item.Name, "MAP0005");
    EXPECT_EQ(settings.Height(), 15);
    answer = 1;
    ASSERT_TRUE(dialogs.EditMap(true, false, item, settings));
    EXPECT_EQ(item.Name, "Cave");
    EXPECT_EQ(settings.Height(), 33);
}

TEST_F(MapDialogsQtTest, NameEditsCountCp932BytesAndRefuseWhatTheCodePageCannotHold) {
    TCp932Validator validator(24, nullptr);
    int pos = 0;
    QString twelveKanji = QString(12, QChar(0x65E5));  // 24 bytes
    EXPECT_EQ(validator.validate(twelveKanji, pos), QValidator::Acceptable);
    QString thirteen = QString(13, QChar(0x65E5));
    EXPECT_EQ(validator.validate(thirteen, pos), QValidator::Invalid);
    QString euro = QString::fromUtf8("Price \u20AC");
    EXPECT_EQ(validator.validate(euro, pos), QValidator::Invalid);
    QString ascii = QString(24, 'a');
    EXPECT_EQ(validator.validate(ascii, pos), QValidator::Acceptable);

    TAreaPropertiesModel model;
    TKelMapTree tree;
    TKelMap map;
    TFormEDArea form(model, tree, map, &mChipSets, &mTroops);
    auto* name = Child<QLineEdit>(form, "EditName");
    name->setFocus();
    name->insert(QString(13, QChar(0x65E5)));  // one character too many: refused
    EXPECT_TRUE(name->text().isEmpty());
    name->insert(QString(12, QChar(0x65E5)));
    EXPECT_EQ(name->text(), QString(12, QChar(0x65E5)));
}

TEST_F(MapDialogsQtTest, PanoramaPreviewFitsTheImageKeepingItsAspect) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-preview-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string project = pattern + "/";
    std::filesystem::create_directories(project + "Panorama");
    // A wide 8-bit image, all one colour: 320 x 80 fits the 160 x 120 box as 160 x 40.
    QImage image(320, 80, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0)});
    image.fill(0);
    ASSERT_TRUE(image.save(QString::fromStdString(project + "Panorama/Wide.png")));
    SetProjectPath(project);
    TMapPropertiesModel model;
    TFormEDMap form(model, &mChipSets, &mTroops);
    auto* preview = Child<QLabel>(form, "PanoramaPreview");
    EXPECT_TRUE(preview->pixmap().isNull());
    model.Selectors.SelectPanorama = [](std::string& name) {
        name = "Wide";
        return true;
    };
    Child<QCheckBox>(form, "CheckPanorama")->click();
    Child<QPushButton>(form, "ButtonPanoramaSet")->click();
    const QImage shown = preview->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    const int cx = shown.width() / 2, cy = shown.height() / 2;
    EXPECT_EQ(QColor(shown.pixel(cx, cy)).red(), 255);
    EXPECT_EQ(QColor(shown.pixel(cx, cy - 19)).red(), 255);
    EXPECT_NE(QColor(shown.pixel(cx, cy - 22)).red(), 255);  // above the fitted picture
    EXPECT_NE(QColor(shown.pixel(cx, 2)).red(), 255);
    // Unchecking the panorama empties the preview.
    Child<QCheckBox>(form, "CheckPanorama")->click();
    EXPECT_TRUE(preview->pixmap().isNull());
    SetProjectPath("");
    std::filesystem::remove_all(pattern);
}

// The map tree window's commands through the real dialogs.
class MapTreeWithDialogsTest : public testkit::TWorkFolderTest {
protected:
    void SetUp() override {
        App();
        TWorkFolderTest::SetUp();
        SetProjectPath(mProject);
        mTree.AddItem(0, 0);
        testkit::AddProjectMap(mTree, mProject, 1, "Field", 20, 15);
        mTree.CurrentMapId = 0;
        mChipSets.Obtain(1).Name = "World";
    }
    void TearDown() override {
        SetProjectPath("");
        TWorkFolderTest::TearDown();
    }
    TEditorModeScope mEditor{true};
    TKelMapTree mTree;
    TKelMap mMap;
    TKelChipSet mChipSets;
};

TEST_F(MapTreeWithDialogsTest, ANewTopLevelMapTakesTheDialogsChoicesAndShiftMovesItsTiles) {
    TMapTreeModel model(mTree, mMap);
    TMapTreeDialogs dialogs(nullptr);
    std::function<int(TFormKelBase&)> run;
    TScopedModalRunner runner([&run](TFormKelBase& dialog) { return run(dialog); });
    dialogs.ChipSets = &mChipSets;
    model.Dialogs = &dialogs;
    model.FillView();
    ASSERT_EQ(model.Selected(), 0);
    run = [](TFormKelBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "The preparation of the map - ID:0002");
        EXPECT_EQ(Child<QLineEdit>(dialog, "EditName")->text(), "MAP0002");
        EXPECT_FALSE(Child<QRadioButton>(dialog, "RadioMusicParent")->isEnabled());
        Child<QRadioButton>(dialog, "RadioEscapeDisable")->click();
        Child<QSpinBox>(dialog, "SpinWidth")->setValue(25);
        Child<QPushButton>(dialog, "ButtonOk")->click();
        return static_cast<QDialog&>(dialog).result();
    };
    ASSERT_TRUE(model.Execute(TMapTreeCommand::NewMap));
    const TKelMapTreeItem* added = mTree.FindByID(2);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Name, "MAP0002");
    EXPECT_EQ(added->MusicType, TKelMapTreeItem::mtNoChange);
    EXPECT_EQ(added->BackdropType, TKelMapTreeItem::btByTerrain);
    EXPECT_EQ(added->TeleportPermission, TKelMapTreeItem::ppEnable);
    EXPECT_EQ(added->EscapePermission, TKelMapTreeItem::ppDisable);
    EXPECT_EQ(mMap.Width(), 25);

    mMap.LowerLayer.SetCell(0, 0, 5007);
    TMapShiftModel::ForgetLast();
    run = [](TFormKelBase& dialog) {
        Child<QRadioButton>(dialog, "RadioRight")->click();
        Child<QSpinBox>(dialog, "SpinAmount")->setValue(2);
        Child<QPushButton>(dialog, "ButtonOk")->click();
        return static_cast<QDialog&>(dialog).result();
    };
    ASSERT_TRUE(model.Execute(TMapTreeCommand::ShiftMap));
    EXPECT_EQ(mMap.LowerLayer.Cell(2, 0), 5007);
    TMapShiftModel::ForgetLast();

    // A cancelled area dialog adds nothing.
    run = [](TFormKelBase&) { return 2; };
    EXPECT_FALSE(model.Execute(TMapTreeCommand::NewArea));
    EXPECT_EQ(mTree.Count(), 3);
}

}  // namespace
}  // namespace quillon
