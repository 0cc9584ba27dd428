// The map windows for assistive technology: every input of the dialogs the map tree opens has a
// name a screen reader can announce, the name labels' mnemonics reach their fields, and Tab
// walks the map properties in the order they show.
#include "kit/WidgetKit.h"

#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"
#include "data/LD_Map.h"
#include "data/LD_MonGroup.h"
#include "data/RecordTestKit.h"
#include "mapedit/ChipSelector_qt.h"
#include "mapedit/EncounterList_qt.h"
#include "mapedit/MapDialogs_qt.h"
#include "mapedit/MapShift.h"
#include "mapedit/MapShift_qt.h"
#include "mapedit/MapTreeView_qt.h"
#include "project/ProjectManager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <vector>

namespace quillon {
namespace {

using widgetkit::App;
using widgetkit::InputsWithoutAccessibleName;

// What the dialog looked like to the keyboard and to a screen reader while it ran.
struct TSeen {
    QString Title;
    QStringList Unnamed;
    QString FocusAfterMnemonic;
    QStringList TabWalk;
};

// The object name of a widget, else its class.
QString NameOf(const QWidget* widget) {
    if (widget == nullptr)
        return "(none)";
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

// Root and map 1 "Field" (30 x 20) as the map tree shows them; the map is selected.
class MapAccessibilityTest : public testkit::TWorkFolderTest {
protected:
    void SetUp() override {
        App();
        TWorkFolderTest::SetUp();
        SetProjectPath(mProject);
        mTree.AddItem(0, 0);
        testkit::AddProjectMap(mTree, mProject, 1, "Field", 30, 20);
        mTree.CurrentMapId = 1;
        mChipSets.Obtain(1).Name = "World";
        mTroops.Obtain(1).Name = "Slimes";
        mDialogs.ChipSets = &mChipSets;
        mDialogs.Troops = &mTroops;
        mModel.Dialogs = &mDialogs;
        mModel.FillView();
        TMapShiftModel::ForgetLast();
    }
    void TearDown() override {
        TMapShiftModel::ForgetLast();
        SetProjectPath("");
        TWorkFolderTest::TearDown();
    }

    // Runs the tree command; its dialog is shown, checked, driven by `mnemonic` and `tabs` Tab
    // presses from the mnemonic's field, kept as a picture and cancelled.
    TSeen RunCommand(TMapTreeCommand command, Qt::Key mnemonic, int tabs, const char* picture) {
        TSeen seen;
        TScopedModalRunner runner([&](TFormKelBase& dialog) {
            widgetkit::ShowActive(dialog);
            seen.Title = dialog.windowTitle();
            seen.Unnamed = InputsWithoutAccessibleName(&dialog);
            QTest::keyClick(&dialog, mnemonic, Qt::AltModifier);
            seen.FocusAfterMnemonic = NameOf(QApplication::focusWidget());
            for (int i = 0; i < tabs; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                seen.TabWalk << NameOf(QApplication::focusWidget());
            }
            widgetkit::KeepWidget(dialog, picture);
            dialog.hide();
            return mrCancel;
        });
        EXPECT_FALSE(mModel.Execute(command));
        return seen;
    }

    TEditorModeScope mEditor{true};
    TKelMapTree mTree;
    TKelMap mMap;
    TKelChipSet mChipSets;
    TKelMonGroup mTroops;
    TMapTreeDialogs mDialogs{nullptr};
    TMapTreeModel mModel{mTree, mMap};
};

TEST_F(MapAccessibilityTest, TheTreesDialogsNameEveryInputAndTheirMnemonicsReachTheFields) {
    ASSERT_EQ(mModel.Selected(), 1);
    const TSeen properties = RunCommand(TMapTreeCommand::MapProperties, Qt::Key_N, 0, "a11y-map-properties");
    EXPECT_EQ(properties.Title.toStdString(), "The setup of the map - ID:0001");
    EXPECT_EQ(properties.Unnamed, QStringList()) << "map properties";
    EXPECT_EQ(properties.FocusAfterMnemonic, "EditName");

    const TSeen created = RunCommand(TMapTreeCommand::NewMap, Qt::Key_N, 0, "a11y-new-map");
    EXPECT_EQ(created.Title.toStdString(), "The preparation of the map - ID:0002");
    EXPECT_EQ(created.Unnamed, QStringList()) << "new map";
    EXPECT_EQ(created.FocusAfterMnemonic, "EditName");

    const TSeen shift = RunCommand(TMapTreeCommand::ShiftMap, Qt::Key_B, 0, "a11y-map-shift");
    EXPECT_EQ(shift.Title.toStdString(), "Map Shift");
    EXPECT_EQ(shift.Unnamed, QStringList()) << "map shift";
    EXPECT_EQ(shift.FocusAfterMnemonic, "SpinAmount");
}

TEST_F(MapAccessibilityTest, LabelMnemonicsFocusTheirFieldsAndTabFollowsTheLeftColumn) {
    // Each label's letter, and the field it names.
    const std::vector<std::pair<Qt::Key, const char*>> mnemonics = {
        {Qt::Key_C, "ComboChipSet"}, {Qt::Key_W, "SpinWidth"},       {Qt::Key_E, "SpinHeight"},
        {Qt::Key_T, "ComboScrollType"}, {Qt::Key_S, "SpinSteps"},
    };
    for (const auto& [key, field] : mnemonics)
        EXPECT_EQ(RunCommand(TMapTreeCommand::MapProperties, key, 0, "a11y-map-properties").FocusAfterMnemonic, field)
            << field;
    // The encounter list is made after the form, yet it takes its place between the scroll type
    // and the steps.
    const TSeen walk = RunCommand(TMapTreeCommand::MapProperties, Qt::Key_N, 6, "a11y-map-properties");
    EXPECT_EQ(walk.TabWalk, (QStringList{"ComboChipSet", "SpinWidth", "SpinHeight", "ComboScrollType",
                                         "ListEncounters", "SpinSteps"}));
}

TEST_F(MapAccessibilityTest, TheTreeThePaletteAndTheSmallChoosersAreNamed) {
    TFormMapTree tree(mModel);
    TFormChipSelector palette;
    TEncounterDialogModel encounter(&mTroops, 0);
    TFormEDMapEncount encounterDialog(encounter);
    TMapShipPosModel ship;
    TFormMapShipPos vehicle(ship);
    for (QWidget* window : std::vector<QWidget*>{&tree, &palette, &encounterDialog, &vehicle})
        EXPECT_EQ(InputsWithoutAccessibleName(window), QStringList()) << window->objectName().toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(tree.Tree())->text(QAccessible::Name), "Map Tree");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&palette)->text(QAccessible::Name), "Chip Palette");
}

// The checker itself: a nameless edit, list and icon button are listed, a label's buddy and an
// accessible name count, a hidden input and the edit inside a spin box do not.
TEST(InputsWithoutAccessibleName, ListsTheNamelessVisibleInputsOnly) {
    App();
    QWidget root;
    auto* named = new QLineEdit(&root);
    named->setObjectName("Named");
    auto* label = new QLabel("&Title", &root);
    label->setBuddy(named);
    (new QLineEdit(&root))->setObjectName("Bare");
    auto* list = new QListWidget(&root);
    list->setObjectName("List");
    auto* icon = new QPushButton(&root);
    icon->setObjectName("Icon");
    auto* spoken = new QPushButton(&root);
    spoken->setAccessibleName("Play");
    auto* hidden = new QLineEdit(&root);
    hidden->hide();
    auto* spin = new QSpinBox(&root);
    spin->setAccessibleName("Count");
    auto* combo = new QComboBox(&root);
    combo->addItem("a value is not a name");
    combo->setObjectName("Combo");
    EXPECT_EQ(InputsWithoutAccessibleName(&root),
              (QStringList{"QLineEdit Bare", "QListWidget List", "QPushButton Icon", "QComboBox Combo"}));
}

}  // namespace
}  // namespace quillon
