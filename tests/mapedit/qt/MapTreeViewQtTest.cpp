// The map tree window on the offscreen platform: the view follows the model, a selection loads
// the map, drops go through the model's rules, and the popup menus carry its states.
#include "mapedit/MapTreeView_qt.h"

#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/RecordTestKit.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "project/ProjectManager.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QContextMenuEvent>
#include <QMimeData>

#include <cstdlib>

namespace quillon {
namespace {

using widgetkit::App;

// Root; map 1 "Field" with area 2 and map 3 "Cave"; map 5 "Town".
class MapTreeWindowTest : public testkit::TWorkFolderTest {
protected:
    void SetUp() override {
        App();
        TWorkFolderTest::SetUp();
        SetProjectPath(mProject);
        TKelMapTree tree;
        tree.AddItem(0, 0);
        AddMap(tree, 0, 1, "Field", 40);
        TKelMapTreeItem& area = tree.AddItem(1, 2);
        area.Kind = TKelMapTreeItem::mkArea;
        area.Name = "Forest";
        AddMap(tree, 1, 3, "Cave", 20);
        AddMap(tree, 0, 5, "Town", 25);
        tree.CurrentMapId = 1;
        tree.Save(mProject);
        mModel.LoadTree();
        mForm = std::make_unique<TFormMapTree>(mModel);
        mForm->OnMapSelected = [this] { ++mSelections; };
        mForm->resize(240, 300);
        mForm->show();
    }
    void TearDown() override {
        mForm.reset();
        SetProjectPath("");
        TWorkFolderTest::TearDown();
    }
    void AddMap(TKelMapTree& tree, std::int32_t parent, std::int32_t id, const char* name, int size) {
        TKelMapTreeItem& item = tree.AddItem(parent, id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = name;
        TKelMap map;
        map.SetWidth(size);
        map.SetHeight(size);
        map.SaveToProject(mProject, id);
    }
    // Drops node `dragged` onto the middle of node `target`'s row.
    bool DropOnto(std::int32_t dragged, std::int32_t target) {
        TMapTreeWidget* tree = mForm->Tree();
        tree->scrollToItem(tree->ItemOf(target));  // shows it, opening its parents
        const QRect rect = tree->visualItemRect(tree->ItemOf(target));
        EXPECT_FALSE(rect.isEmpty());
        QMimeData data;
        data.setData(TMapTreeWidget::kDragFormat, QByteArray::number(dragged));
        // (Qt delivers drop events only during a real drag; the handler behind them is called.)
        return tree->DropAt(&data, rect.center());
    }
    std::int32_t ParentInView(std::int32_t id) const {
        const QTreeWidgetItem* item = mForm->Tree()->ItemOf(id);
        return item && item->parent() ? TMapTreeWidget::IdOf(item->parent()) : -1;
    }

    TEditorModeScope mEditor{true};
    TKelMapTree mTree;
    TKelMap mMap;
    TMapTreeModel mModel{mTree, mMap};
    std::unique_ptr<TFormMapTree> mForm;
    int mSelections = 0;
};

TEST_F(MapTreeWindowTest, TheViewShowsTheTreeAndSelectingLoadsTheMap) {
    TMapTreeWidget* tree = mForm->Tree();
    ASSERT_NE(tree->ItemOf(3), nullptr);
    EXPECT_EQ(tree->ItemOf(3)->text(0), "Cave");
    EXPECT_EQ(ParentInView(3), 1);
    EXPECT_EQ(ParentInView(2), 1);
    EXPECT_EQ(TMapTreeWidget::IdOf(tree->currentItem()), 1);
    EXPECT_EQ(tree->ItemOf(0)->text(0), "Untitled");

    tree->setCurrentItem(tree->ItemOf(5));
    EXPECT_EQ(mModel.Selected(), 5);
    EXPECT_EQ(mMap.Width(), 25);
    EXPECT_EQ(mSelections, 1);

    EXPECT_TRUE(widgetkit::KeepPicture(mForm->grab().toImage(), "map-tree"));
}

TEST_F(MapTreeWindowTest, DropsFollowTheModelsRules) {
    EXPECT_FALSE(DropOnto(2, 5));  // an area onto another map
    EXPECT_EQ(ParentInView(2), 1);
    EXPECT_FALSE(DropOnto(1, 3));  // into its own subtree
    EXPECT_EQ(ParentInView(1), 0);

    EXPECT_TRUE(DropOnto(3, 5));
    EXPECT_EQ(ParentInView(3), 5);
    EXPECT_EQ(mTree.FindByID(3)->ParentId, 5);
    EXPECT_TRUE(mModel.IsModified());
}

TEST_F(MapTreeWindowTest, PopupMenuCarriesTheModelsStates) {
    TMemoryClipboard clipboard;
    IClipboard* old = SetClipboard(&clipboard);
    std::unique_ptr<QMenu> menu(mForm->BuildPopupMenu());
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text() + (action->isEnabled() ? "" : " (off)");
    // No property dialogs are installed: their commands are off; no map on the clipboard.
    EXPECT_EQ(texts, (QStringList{"&Map Properties... (off)", "Create &New Map... (off)", "Create &Area... (off)",
                                  "&Copy", "&Paste (off)", "&Delete...", "&Shift Map... (off)"}));
    // Copy, then paste from the root through the menu's actions.
    for (QAction* action : menu->actions())
        if (action->text() == "&Copy")
            action->trigger();
    EXPECT_TRUE(clipboard.HasFormat(kMapTreeClipboardFormat));
    mForm->Tree()->setCurrentItem(mForm->Tree()->ItemOf(0));
    std::unique_ptr<QMenu> rootMenu(mForm->BuildPopupMenu());
    for (QAction* action : rootMenu->actions())
        if (action->text() == "&Paste") {
            EXPECT_TRUE(action->isEnabled());
            action->trigger();
        }
    ASSERT_NE(mForm->Tree()->ItemOf(4), nullptr);
    EXPECT_EQ(ParentInView(4), 0);
    EXPECT_EQ(mForm->Tree()->ItemOf(4)->text(0), "Field");
    SetClipboard(old);

    mForm->SetPickerMode(true);
    EXPECT_EQ(mForm->BuildPopupMenu(), nullptr);
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The Applications key opens the selected node's menu without changing the selection; a right
// click selects the node under the mouse first.
TEST_F(MapTreeWindowTest, ContextMenusByKeyboardAndMouse) {
    TMapTreeWidget* tree = mForm->Tree();
    tree->setCurrentItem(tree->ItemOf(5));
    std::vector<bool> keyboard;
    QObject::connect(tree, &TMapTreeWidget::MenuRequested, [&](const QPoint&, bool byKey) { keyboard.push_back(byKey); });

    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(5, 5), tree->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(tree->viewport(), &byKey);
    EXPECT_EQ(mModel.Selected(), 5);

    const QRect row = tree->visualItemRect(tree->ItemOf(0));
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, row.center(), tree->viewport()->mapToGlobal(row.center()));
    QApplication::sendEvent(tree->viewport(), &byMouse);
    EXPECT_EQ(mModel.Selected(), 0);
    EXPECT_EQ(keyboard, (std::vector<bool>{true, false}));
    for (QWidget* popup : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(popup))
            popup->close();
}

// What a paste of another program's map changed, and why a paste did nothing, reach the user in
// a box on the window.
TEST_F(MapTreeWindowTest, ThePasteReportAndARefusalAreShown) {
    struct TRecordingBox final : IMessageBox {
        std::vector<std::string> Texts;
        IMessageBox* Previous = SetMessageBox(this);
        ~TRecordingBox() override { SetMessageBox(Previous); }
        int Show(const std::string& text, int, const void*) override {
            Texts.push_back(text);
            return mrOk;
        }
    } box;
    TMemoryClipboard clipboard;
    IClipboard* old = SetClipboard(&clipboard);
    TKelMap map;
    map.SetWidth(4);
    map.SetHeight(4);
    map.LowerLayer.SetCell(0, 0, 65535);
    map.Events.Obtain(1).X = -100;
    TKelMapTreeItem item;
    item.Kind = TKelMapTreeItem::mkMap;
    clipboard.SetData(kMapTreeClipboardFormat, TMapTreeModel::MakeMapBlock(std::string(1000000, 'n'), map, item));
    mForm->Tree()->setCurrentItem(mForm->Tree()->ItemOf(0));
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::Paste));
    ASSERT_TRUE(widgetkit::WaitUntil([&] { return !box.Texts.empty(); }));
    EXPECT_EQ(box.Texts[0],
              "The pasted content held what this editor does not store:\n"
              "1 lower-layer tile(s) became the empty tile\n"
              "1 event(s) outside the map were dropped\n"
              "1 name(s) were cut to their field's length");
    EXPECT_EQ(mForm->Tree()->ItemOf(4)->text(0), QString(24, 'n'));

    for (std::int32_t id = 1; id <= kMaxMapId; ++id)
        if (mTree.FindByID(id) == nullptr)
            mTree.Obtain(id).Kind = TKelMapTreeItem::mkMap;
    EXPECT_FALSE(mModel.Execute(TMapTreeCommand::Paste));
    ASSERT_EQ(box.Texts.size(), 2u);
    EXPECT_EQ(box.Texts[1], "Every map ID from 1 to 9999 is in use.");
    SetClipboard(old);
}

}  // namespace
}  // namespace quillon
