// The main window's model: actions and menus, enabling, mode and zoom, placement, status texts,
// start-up checks, and the project handlers with the save query on a real project folder.
#include "app/MainUnit.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/MessageBox.h"
#include "platform/ProfileFile.h"
#include "project/PathUtils.h"
#include "project/ProjectData.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <cctype>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <set>

#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

TActionState StateOf(const TActionStates& states, TMainAction action) {
    return states[static_cast<std::size_t>(action)];
}

std::set<TMainAction> EnabledSet(const TActionStates& states) {
    std::set<TMainAction> enabled;
    for (int i = 0; i < kMainActionCount; ++i)
        if (states[i].Enabled)
            enabled.insert(static_cast<TMainAction>(i));
    return enabled;
}

}  // namespace

// --- actions and menus ---

TEST(MainActions, TableNamesCaptionsShortCutsAndGroups) {
    std::set<std::string> names;
    for (int i = 0; i < kMainActionCount; ++i) {
        const TMainActionInfo& info = MainActions()[i];
        EXPECT_EQ(static_cast<int>(info.Action), i);
        EXPECT_EQ(std::string(info.Name).rfind("Action_", 0), 0u) << info.Name;
        EXPECT_TRUE(names.insert(info.Name).second) << info.Name;
    }
    const TMainActionInfo& save = ActionInfo(TMainAction::MapSave);
    EXPECT_STREQ(save.Caption, "&Save map...");
    EXPECT_STREQ(save.ShortCut, "Ctrl+S");
    EXPECT_STREQ(ActionInfo(TMainAction::MapRevert).ShortCut, "Ctrl+R");
    EXPECT_STREQ(ActionInfo(TMainAction::MapModeEvent).ShortCut, "F7");
    EXPECT_STREQ(ActionInfo(TMainAction::ToolDataBase).ShortCut, "F8");
    EXPECT_STREQ(ActionInfo(TMainAction::GameTestPlay).ShortCut, "F9");
    EXPECT_STREQ(ActionInfo(TMainAction::HelpContents).ShortCut, "F1");
    EXPECT_STREQ(ActionInfo(TMainAction::Exit).ShortCut, "Alt+F4");
    // The six canvas tools: a plain letter each, in the order of their tags; no two actions
    // share a key, and none takes a key of the canvas, the chip palette or the map tree.
    std::string letters;
    for (int tag = 1; tag <= 6; ++tag)
        letters += ActionInfo(*GroupAction(TActionGroup::Tool, tag)).ShortCut;
    EXPECT_EQ(letters, "SZPREF");
    const std::set<std::string> paneKeys = {"Ctrl+A", "Ctrl+C", "Ctrl+V", "Ctrl+X", "Ctrl+Z", "Ctrl+H",
                                            "Del",    "Return", "Enter",  "Left",   "Right",  "Up",
                                            "Down",   "Menu",   "Shift+F10"};
    std::set<std::string> keys;
    for (const TMainActionInfo& info : MainActions()) {
        if (!*info.ShortCut)
            continue;
        EXPECT_TRUE(keys.insert(info.ShortCut).second) << info.Name << " " << info.ShortCut;
        EXPECT_EQ(paneKeys.count(info.ShortCut), 0u) << info.Name << " " << info.ShortCut;
    }
    // The two options show other captions in the menu than their own.
    EXPECT_STREQ(ActionInfo(TMainAction::GameFullScreen).Caption, "&Full screen");
    EXPECT_STREQ(ActionInfo(TMainAction::GameFullScreen).MenuCaption, "Full Screen");
    EXPECT_STREQ(ActionInfo(TMainAction::GameShowTitle).MenuCaption, "Show Game &Title");

    // Group members by tag, in the order the canvas numbers them.
    EXPECT_EQ(GroupAction(TActionGroup::Mode, 3), TMainAction::MapModeEvent);
    EXPECT_EQ(GroupAction(TActionGroup::Scale, 4), TMainAction::MapScale4);
    EXPECT_EQ(GroupAction(TActionGroup::Tool, 1), TMainAction::MapToolSelect);
    EXPECT_EQ(GroupAction(TActionGroup::Tool, 6), TMainAction::MapToolSeedFill);
    EXPECT_EQ(GroupAction(TActionGroup::Tool, 7), std::nullopt);
    EXPECT_EQ(GroupAction(TActionGroup::Mode, 0), std::nullopt);

    EXPECT_EQ(StripAccelerator("Zoom 1/&8"), "Zoom 1/8");
    EXPECT_EQ(StripAccelerator("Save && &quit"), "Save & quit");
    EXPECT_EQ(StripAccelerator("trailing&"), "trailing");
}

TEST(MainActions, MenusHoldEveryMenuActionOnce) {
    const auto& menus = MainMenus();
    ASSERT_EQ(menus.size(), 5u);
    EXPECT_STREQ(menus[0].Caption, "&Project");
    EXPECT_STREQ(menus[1].Caption, "&Map");
    EXPECT_STREQ(menus[4].Caption, "&Help");
    std::multiset<TMainAction> placed;
    for (const TMenu& menu : menus)
        for (const TMenuItem& item : menu.Items) {
            if (item.Kind == TMenuItem::Action)
                placed.insert(item.Item);
            for (TMainAction child : item.Children)
                placed.insert(child);
        }
    for (const TMainActionInfo& info : MainActions())
        EXPECT_EQ(placed.count(info.Action), info.MenuCaption ? 1u : 0u) << info.Name;
    // The Map menu: Save, Revert, separator, then "&Edit" with three modes, "&Scale" with four
    // and, after a separator, "&Tools" with the six canvas tools in their order.
    const auto& map = menus[1].Items;
    ASSERT_EQ(map.size(), 7u);
    EXPECT_EQ(map[2].Kind, TMenuItem::Separator);
    EXPECT_STREQ(map[3].Caption, "&Edit");
    EXPECT_EQ(map[3].Children.size(), 3u);
    EXPECT_STREQ(map[4].Caption, "&Scale");
    EXPECT_EQ(map[4].Children.size(), 4u);
    EXPECT_EQ(map[5].Kind, TMenuItem::Separator);
    EXPECT_STREQ(map[6].Caption, "&Tools");
    const std::vector<TMainAction> tools = {TMainAction::MapToolSelect, TMainAction::MapToolZoom,
                                            TMainAction::MapToolPen,    TMainAction::MapToolRect,
                                            TMainAction::MapToolEllipse, TMainAction::MapToolSeedFill};
    EXPECT_EQ(map[6].Children, tools);
    // Their mnemonics differ within the sub-menu.
    std::set<char> marks;
    for (TMainAction tool : tools) {
        const std::string caption = ActionInfo(tool).MenuCaption;
        const std::size_t amp = caption.find('&');
        ASSERT_NE(amp, std::string::npos) << caption;
        EXPECT_TRUE(marks.insert(static_cast<char>(std::tolower(caption[amp + 1]))).second) << caption;
    }
}

// --- enabling ---

TEST(MainEnabling, NoProjectOffersOnlyNewOpenExitAndHelp) {
    TMainState closed;
    closed.HasPackDialog = closed.HasDataBaseEditor = closed.HasTestPlay = true;
    closed.Changed = true;  // stale flags of a closed project never enable anything
    closed.UndoCount = 3;
    const std::set<TMainAction> expected = {TMainAction::ProjectNew, TMainAction::ProjectOpen, TMainAction::Exit,
                                            TMainAction::HelpContents, TMainAction::HelpAbout};
    EXPECT_EQ(EnabledSet(ComputeActionStates(closed)), expected);
}

TEST(MainEnabling, OpenProjectRules) {
    TMainState s;
    s.ProjectOpen = true;
    s.HasPackDialog = s.HasDataBaseEditor = s.HasMaterialManager = s.HasMusicSelector = s.HasTestPlay = true;
    auto states = ComputeActionStates(s);
    EXPECT_FALSE(StateOf(states, TMainAction::ProjectNew).Enabled);
    EXPECT_FALSE(StateOf(states, TMainAction::ProjectOpen).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::ProjectClose).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::ProjectPack).Enabled);
    EXPECT_FALSE(StateOf(states, TMainAction::MapSave).Enabled);
    EXPECT_FALSE(StateOf(states, TMainAction::MapRevert).Enabled);
    EXPECT_FALSE(StateOf(states, TMainAction::MapToolUndo).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::MapToolPen).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::MapToolPen).Checked);
    EXPECT_TRUE(StateOf(states, TMainAction::MapModeLayer1).Checked);
    EXPECT_TRUE(StateOf(states, TMainAction::MapScale1).Checked);
    EXPECT_TRUE(StateOf(states, TMainAction::GameFullScreen).Checked);
    EXPECT_FALSE(StateOf(states, TMainAction::GameShowTitle).Checked);

    s.Changed = true;
    s.UndoCount = 1;
    s.Mode = kModeEvent;
    s.Scale = 8;
    s.Tool = 5;
    s.ShowTitle = true;
    states = ComputeActionStates(s);
    EXPECT_TRUE(StateOf(states, TMainAction::MapSave).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::MapRevert).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::MapToolUndo).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::MapModeEvent).Checked);
    EXPECT_FALSE(StateOf(states, TMainAction::MapModeLayer1).Checked);
    EXPECT_TRUE(StateOf(states, TMainAction::MapScale3).Checked);
    EXPECT_TRUE(StateOf(states, TMainAction::GameShowTitle).Checked);
    // No canvas tool in the event mode.
    for (int tag = 1; tag <= 6; ++tag)
        EXPECT_FALSE(StateOf(states, *GroupAction(TActionGroup::Tool, tag)).Enabled) << tag;
    EXPECT_TRUE(StateOf(states, TMainAction::MapToolSeedFill).Checked);

    // A scale the actions do not know checks none of them.
    s.Scale = 12;
    states = ComputeActionStates(s);
    for (int tag = 1; tag <= 4; ++tag)
        EXPECT_FALSE(StateOf(states, *GroupAction(TActionGroup::Scale, tag)).Checked) << tag;
}

TEST(MainEnabling, MissingWindowsAndDragsDisable) {
    TMainState s;
    s.ProjectOpen = true;
    s.Changed = true;
    s.UndoCount = 2;
    auto states = ComputeActionStates(s);
    for (TMainAction action : {TMainAction::ProjectPack, TMainAction::ToolDataBase, TMainAction::ToolMaterial,
                               TMainAction::ToolSelectMusic, TMainAction::GameTestPlay})
        EXPECT_FALSE(StateOf(states, action).Enabled) << ActionInfo(action).Name;
    EXPECT_TRUE(StateOf(states, TMainAction::GameFullScreen).Enabled);

    // While a stroke is drawn nothing may save, revert, switch or undo under it.
    s.DragInProgress = true;
    s.HasTestPlay = true;
    states = ComputeActionStates(s);
    for (TMainAction action : {TMainAction::MapSave, TMainAction::MapRevert, TMainAction::MapToolUndo,
                               TMainAction::MapModeEvent, TMainAction::MapScale2, TMainAction::MapToolRect,
                               TMainAction::ProjectClose, TMainAction::GameTestPlay})
        EXPECT_FALSE(StateOf(states, action).Enabled) << ActionInfo(action).Name;
    EXPECT_TRUE(StateOf(states, TMainAction::Exit).Enabled);
    EXPECT_TRUE(StateOf(states, TMainAction::HelpContents).Enabled);
}

// --- mode, zoom, status ---

TEST(MainModeAndZoom, StoredValuesMapToCanvasValues) {
    EXPECT_EQ(ModeFromStored(1), kModeUpper);
    EXPECT_EQ(ModeFromStored(2), kModeEvent);
    EXPECT_EQ(ModeFromStored(3), kModeLower);
    EXPECT_EQ(ModeFromStored(-1), kModeLower);
    for (int zoom = 0; zoom < 4; ++zoom)
        EXPECT_EQ(StoredZoomFromScale(ScaleFromStoredZoom(zoom)), zoom);
    EXPECT_EQ(ScaleFromStoredZoom(7), 32);
    EXPECT_EQ(StoredZoomFromScale(12), 0);
    for (int tag = 1; tag <= 4; ++tag)
        EXPECT_EQ(ScaleTag(ScaleFromTag(tag)), tag);
    EXPECT_EQ(ScaleFromTag(5), 0);
    EXPECT_STREQ(ModeText(kModeUpper), "Upper Layer editing mode");
    EXPECT_STREQ(ModeText(kModeEvent), "Event editing mode");
}

TEST(MainStatus, CursorPanelAndMapNames) {
    EXPECT_EQ(CursorPanelText("Town", 5, 12, true, false, "ignored"), "Town (005,012)");
    EXPECT_EQ(CursorPanelText("Town", 5, 12, false, false, ""), "Town");
    EXPECT_EQ(CursorPanelText("Town", 123, 4567, true, true, "0003:Guard"), "Town (123,4567) 0003:Guard");
    EXPECT_EQ(CursorPanelText("Town", 1, 2, true, true, ""), "Town (001,002)");

    TEditorModeScope editor(true);
    TKelMapTree tree;
    tree.AddItem(0, 0).Name = "Game";
    TKelMapTreeItem& map = tree.AddItem(0, 4);
    map.Kind = TKelMapTreeItem::mkMap;
    map.Name = "Field";
    TKelMapTreeItem& area = tree.AddItem(4, 9);
    area.Kind = TKelMapTreeItem::mkArea;
    area.Name = "Forest";
    EXPECT_EQ(MapNameForNode(tree, 4), "Field");
    EXPECT_EQ(MapNameForNode(tree, 9), "Field");
    EXPECT_EQ(MapNameForNode(tree, 0), "");
    EXPECT_EQ(MapNameForNode(tree, 77), "");
    // Areas that name each other as parents end without a name instead of looping.
    TKelMapTreeItem& loopA = tree.AddItem(0, 20);
    loopA.Kind = TKelMapTreeItem::mkArea;
    TKelMapTreeItem& loopB = tree.AddItem(20, 21);
    loopB.Kind = TKelMapTreeItem::mkArea;
    tree.FindByID(20)->ParentId = 21;
    EXPECT_EQ(MapNameForNode(tree, 21), "");
}

// --- placement ---

TEST(MainPlacement, HexRecordRoundTripAndRefusals) {
    const TRect rect{100, 50, 900, 700};
    const std::string hex = PlacementToHex(rect, false);
    ASSERT_EQ(hex.size(), 88u);
    EXPECT_EQ(hex.substr(0, 8), "2C000000");  // the record's length, 44
    EXPECT_EQ(PlacementFromHex(hex), rect);
    EXPECT_EQ(PlacementFromHex(PlacementToHex(MakeBounds(-20, -30, 800, 600), true)), MakeBounds(-20, -30, 800, 600));
    std::string lower = hex;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(PlacementFromHex(lower), rect);

    EXPECT_EQ(PlacementFromHex(hex.substr(0, 86)), std::nullopt);
    EXPECT_EQ(PlacementFromHex(hex + "00"), std::nullopt);
    EXPECT_EQ(PlacementFromHex(""), std::nullopt);
    std::string bad = hex;
    bad[40] = 'G';
    EXPECT_EQ(PlacementFromHex(bad), std::nullopt);
    std::string wrongLength = hex;
    wrongLength[1] = 'D';  // 45
    EXPECT_EQ(PlacementFromHex(wrongLength), std::nullopt);
    // An empty or inverted rectangle is no placement.
    EXPECT_EQ(PlacementFromHex(PlacementToHex(MakeBounds(10, 10, 0, 100), false)), std::nullopt);
}

TEST(MainPlacement, Clamping) {
    const TRect screen{0, 0, 1280, 1024};
    // Too small grows to the minimum; too large shrinks to the screen; outside moves in.
    EXPECT_EQ(ClampToScreen(MakeBounds(10, 10, 300, 200), screen), MakeBounds(10, 10, 720, 573));
    EXPECT_EQ(ClampToScreen(MakeBounds(-50, -50, 5000, 3000), screen), screen);
    EXPECT_EQ(ClampToScreen(MakeBounds(1200, 1000, 800, 600), screen), MakeBounds(480, 424, 800, 600));
    EXPECT_EQ(ClampToScreen(MakeBounds(-300, 20, 800, 600), MakeBounds(1280, 0, 1024, 768)), MakeBounds(1280, 20, 800, 600));
    // A screen smaller than the minimum still holds the whole window.
    EXPECT_EQ(ClampToScreen(MakeBounds(0, 0, 800, 600), MakeBounds(0, 0, 640, 480)), MakeBounds(0, 0, 640, 480));
}

// --- start-up ---

TEST(MainStartup, CommandLineAndProjectFolders) {
    TCommandLine line = ParseCommandLine({"--help"});
    EXPECT_TRUE(line.Help);
    line = ParseCommandLine({"--version", "/games/Quest"});
    EXPECT_TRUE(line.Version);
    EXPECT_EQ(line.Folder, "/games/Quest");
    EXPECT_TRUE(line.Error.empty());
    EXPECT_FALSE(ParseCommandLine({"--bogus"}).Error.empty());
    EXPECT_FALSE(ParseCommandLine({"a", "b"}).Error.empty());
    EXPECT_EQ(ParseCommandLine({"--", "-odd-name"}).Folder, "-odd-name");
    EXPECT_EQ(ParseCommandLine({}).Folder, "");

    auto location = SplitProjectFolder("/games/Quest/");
    ASSERT_TRUE(location);
    EXPECT_EQ(location->BasePath, "/games/");
    EXPECT_EQ(location->FolderName, "Quest");
    location = SplitProjectFolder("/games/x/../Quest");
    ASSERT_TRUE(location);
    EXPECT_EQ(location->BasePath, "/games/");
    const auto relative = SplitProjectFolder("Quest");
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->BasePath, IncludeTrailingDelimiter(fs::current_path().string()));
    EXPECT_EQ(SplitProjectFolder("/"), std::nullopt);
    EXPECT_EQ(SplitProjectFolder(""), std::nullopt);
}

TEST(MainStartup, HelpPagesFallBackToTheIndex) {
    std::string pattern = (fs::temp_directory_path() / "quillon-help-XXXXXX").string();
    const std::string root = std::string(::mkdtemp(pattern.data())) + "/";
    EXPECT_EQ(HelpPageFor(root, "main"), "");
    fs::create_directories(root + "help");
    WriteFileAtomic(root + "help/index.html", "<html></html>");
    WriteFileAtomic(root + "help/main.html", "<html></html>");
    EXPECT_EQ(HelpPageFor(root, "main"), root + "help/main.html");
    EXPECT_EQ(HelpPageFor(root, "testplay"), root + "help/index.html");
    EXPECT_EQ(HelpPageFor(root, "../help/main"), root + "help/index.html");
    fs::remove_all(root);
}

// --- the model on a project folder ---

namespace {

// Message boxes that answer from a script and remember what they were asked.
class TScriptedBox final : public IMessageBox {
public:
    int Show(const std::string& text, int flags, const void*) override {
        Texts.push_back(text);
        Flags.push_back(flags);
        if (Answers.empty())
            return mrCancel;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::deque<int> Answers;
    std::vector<std::string> Texts;
    std::vector<int> Flags;
};

// A canvas that records what the main window tells it.
class TRecordingCanvas final : public IMapCanvasHost {
public:
    void SetMode(int mode) override { Mode = mode; }
    void SetScale(int scale) override { Scale = scale; }
    void SetTool(int tool) override { Tool = tool; }
    void Undo() override { --Undos; }
    int UndoCount() const override { return Undos; }
    void ClearUndo() override { Undos = 0; }
    void ClearSelection() override { ++SelectionClears; }
    void Refresh() override { ++Refreshes; }
    bool DragInProgress() const override { return Dragging; }
    void CloseProject() override { Closed = true; }
    void ClearCharacterCache(bool reload) override { CacheClears.push_back(reload); }
    std::vector<bool> CacheClears;
    int Mode = -1, Scale = -1, Tool = -1, Undos = 0, SelectionClears = 0, Refreshes = 0;
    bool Dragging = false, Closed = false;
};

class MainModelSandbox : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-main-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        fs::create_directories(Root + "config");
        fs::create_directories(Root + "editor/RTP");
        fs::create_directories(Root + "base");
        fs::create_directories(Root + "tmp");
        mOldDir = GetCurrentDir();
        if (const char* tmp = std::getenv("TMPDIR"))
            mOldTmp = tmp;
        ::setenv("TMPDIR", (Root + "tmp").c_str(), 1);
        ::setenv("QUILLON_CONFIG_DIR", (Root + "config").c_str(), 1);
        ReopenSettingsStores();
        SetAppPath(Root + "editor");
        SetProjectBasePath(Root + "base");
        SetProjectPath("");
        TKelDataBase starter;
        starter.SaveToFile(Root + "editor/GMK_RT.kdb.dat");
        WriteFileAtomic(Root + "editor/GMK_RT.exe.dat", "#!/bin/sh\nexit 0\n");
        mPrevious = SetMessageBox(&Box);
        Model = std::make_unique<TMainWindowModel>(Manager, Data);
        Model->SetCanvas(&Canvas);
    }
    void TearDown() override {
        Model.reset();
        SetMessageBox(mPrevious);
        SetCurrentDir(mOldDir);
        SetProjectPath("");
        SetAppPath("");
        if (mOldTmp.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", mOldTmp.c_str(), 1);
        fs::remove_all(Root);
    }
    // Draws on the open map so that it counts as changed.
    void ChangeMap() {
        Data.Map().LowerLayer.SetCell(3, 4, 5050);
        Data.Map().Modified = true;
    }
    std::string ProjectFile(const std::string& name) const { return Root + "base/Quest/" + name; }

    std::string Root;
    TEditorModeScope Editor{true};
    TScriptedBox Box;
    TRecordingCanvas Canvas;
    TProjectManager Manager;
    TProjectData Data;
    std::unique_ptr<TMainWindowModel> Model;

private:
    std::string mOldDir;
    std::string mOldTmp;
    IMessageBox* mPrevious = nullptr;
};

}  // namespace

TEST_F(MainModelSandbox, NewProjectOpensWithPenAndStoredModeAndZoomComeBack) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    EXPECT_EQ(GetOpenedProjectFolder(), "Quest");
    EXPECT_EQ(Model->Mode(), kModeLower);
    EXPECT_EQ(Model->Scale(), 32);
    EXPECT_EQ(Canvas.Tool, kToolPen);
    EXPECT_EQ(Model->StatusText(1), "Lower Layer editing mode");
    EXPECT_EQ(Model->CurrentMapName(), "MAP0001");
    EXPECT_EQ(Model->StatusText(2), "MAP0001");
    EXPECT_EQ(Canvas.CacheClears, std::vector<bool>{false});
    // An existing folder is never made into a project.
    EXPECT_THROW(Model->NewProjectAt(Root + "base/Quest", "Again"), EProjectError);

    // Event mode at 1/4 is recorded as 2 and 2 on close, and restored on the next open.
    Model->Execute(TMainAction::MapModeEvent);
    Model->Execute(TMainAction::MapScale3);
    EXPECT_EQ(Canvas.Mode, kModeEvent);
    EXPECT_EQ(Canvas.Scale, 8);
    Model->Execute(TMainAction::ProjectClose);
    EXPECT_FALSE(Manager.IsOpen());
    EXPECT_TRUE(Box.Texts.empty());  // nothing changed: no question
    TProfileFile ini(ProjectFile("GMK_RT.ini"));
    EXPECT_EQ(ini.ReadInteger("GMK_RT", "MapEditMode", -1), 2);
    EXPECT_EQ(ini.ReadInteger("GMK_RT", "MapEditZoom", -1), 2);
    EXPECT_EQ(GetOpenedProjectFolder(), "");
    EXPECT_EQ(Model->StatusText(1), "");
    EXPECT_EQ(Model->StatusText(2), "");
    EXPECT_TRUE(Canvas.Closed);

    Model->Execute(TMainAction::MapModeLayer1);
    Model->Execute(TMainAction::MapScale1);
    ASSERT_TRUE(Model->OpenProjectFolder(Root + "base/Quest/"));
    EXPECT_EQ(Model->Mode(), kModeEvent);
    EXPECT_EQ(Model->Scale(), 8);
    EXPECT_EQ(Canvas.Mode, kModeEvent);
    EXPECT_EQ(Model->StatusText(1), "Event editing mode");
    EXPECT_EQ(fs::path(GetProjectBasePath()), fs::path(Root + "base/"));
    EXPECT_FALSE(Model->OpenProjectFolder(Root + "base/Nowhere"));
}

TEST_F(MainModelSandbox, SaveQueryYesNoCancel) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    const std::string before = ReadWholeFile(ProjectFile("Map0001.kmu"));

    // Cancel: the project stays open, nothing saved, but mode and zoom are recorded.
    ChangeMap();
    Model->Execute(TMainAction::MapScale4);
    Box.Answers = {mrCancel};
    EXPECT_FALSE(Model->ConfirmCloseProject());
    ASSERT_EQ(Box.Texts.size(), 1u);
    EXPECT_EQ(Box.Texts[0], "Maps were changed. Save them?");
    EXPECT_EQ(Box.Flags[0], mbYesNoCancel | mbIconWarning);
    EXPECT_EQ(ReadWholeFile(ProjectFile("Map0001.kmu")), before);
    EXPECT_EQ(TProfileFile(ProjectFile("GMK_RT.ini")).ReadInteger("GMK_RT", "MapEditZoom", -1), 3);

    // No: closing goes on without saving.
    Box.Answers = {mrNo};
    EXPECT_TRUE(Model->ConfirmCloseProject());
    EXPECT_EQ(ReadWholeFile(ProjectFile("Map0001.kmu")), before);
    // A declined working copy does not outlive the project it belongs to.
    Data.Map().SaveToWork(1);
    Data.MapTree().FindByID(1)->Modified = true;
    ASSERT_TRUE(FileExists(MapWorkFolder() + "Map0001.kmu"));
    Box.Answers = {mrNo};
    Model->ProjectClose();
    EXPECT_FALSE(Manager.IsOpen());
    EXPECT_FALSE(FileExists(MapWorkFolder() + "Map0001.kmu"));
    ASSERT_TRUE(Model->OpenProjectFolder(Root + "base/Quest"));
    EXPECT_EQ(ReadWholeFile(ProjectFile("Map0001.kmu")), before);
    ChangeMap();

    // Yes: the map is written, and the project may close.
    Box.Answers = {mrYes};
    EXPECT_TRUE(Model->ConfirmCloseProject());
    TKelMap saved;
    saved.LoadFromFile(ProjectFile("Map0001.kmu"));
    EXPECT_EQ(saved.LowerLayer.Cell(3, 4), 5050);
    EXPECT_FALSE(Model->State().Changed);
}

TEST_F(MainModelSandbox, FailedSaveOnCloseKeepsTheProjectOpen) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    ChangeMap();
    // The tree file cannot be replaced: a folder stands where it should be written.
    fs::remove(ProjectFile("GMK_RT.kmt"));
    fs::create_directories(ProjectFile("GMK_RT.kmt/blocker"));
    Box.Answers = {mrYes};
    Model->Execute(TMainAction::ProjectClose);
    EXPECT_TRUE(Manager.IsOpen());
    ASSERT_EQ(Box.Texts.size(), 2u);  // the question, then the failure
    EXPECT_EQ(Box.Flags[1] & 0xF0, mbIconError);
    // Still changed, so saving stays offered and the next close asks again.
    EXPECT_TRUE(Model->State().Changed);
    EXPECT_TRUE(StateOf(Model->ActionStates(), TMainAction::MapSave).Enabled);

    // Once the file can be written the same close goes through.
    fs::remove_all(ProjectFile("GMK_RT.kmt"));
    Box.Answers = {mrYes};
    Model->Execute(TMainAction::ProjectClose);
    EXPECT_FALSE(Manager.IsOpen());
    EXPECT_TRUE(FileExists(ProjectFile("GMK_RT.kmt")));
}

TEST_F(MainModelSandbox, SaveRevertUndoPackPromptAndTestPlay) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    std::vector<TTestPlayRequest> runs;
    Model->TestPlayRunner = [&](const TTestPlayRequest& request) { runs.push_back(request); };

    // Revert answered No keeps the drawing; Yes reloads the saved map and forgets undo.
    ChangeMap();
    Canvas.Undos = 4;
    Box.Answers = {mrNo};
    Model->Execute(TMainAction::MapRevert);
    EXPECT_EQ(Data.Map().LowerLayer.Cell(3, 4), 5050);
    EXPECT_EQ(Box.Flags.back(), mbYesNo | mbIconQuestion);
    Box.Answers = {mrYes};
    Model->Execute(TMainAction::MapRevert);
    EXPECT_NE(Data.Map().LowerLayer.Cell(3, 4), 5050);
    EXPECT_EQ(Canvas.Undos, 0);
    EXPECT_GT(Canvas.SelectionClears, 0);
    EXPECT_FALSE(Model->State().Changed);

    // Packing: No to the save question opens nothing; Yes saves, then opens the dialog.
    int packs = 0;
    Model->ShowPackDialog = [&] { ++packs; };
    ChangeMap();
    Box.Answers = {mrNo};
    Model->Execute(TMainAction::ProjectPack);
    EXPECT_EQ(packs, 0);
    EXPECT_EQ(Box.Flags.back(), mbYesNo | mbIconWarning);
    Box.Answers = {mrYes};
    Model->Execute(TMainAction::ProjectPack);
    EXPECT_EQ(packs, 1);
    EXPECT_FALSE(Model->State().Changed);

    // The test play gets the project and the two options as they are.
    Model->Execute(TMainAction::GameShowTitle);
    Model->Execute(TMainAction::GameFullScreen);
    Model->Execute(TMainAction::GameTestPlay);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].ProjectPath, Root + "base/Quest/");
    EXPECT_TRUE(runs[0].ShowTitle);
    EXPECT_FALSE(runs[0].FullScreen);
    EXPECT_FALSE(runs[0].Start.has_value()) << "F9 begins at the party's start";
    // "Test Play from Here": the same request with the shown map and the cell; none outside it.
    const TKelMap& shown = Data.Map();
    ASSERT_GT(shown.ID, 0);
    Model->TestPlayFrom(shown.Width() - 1, 2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].Start, (TTestPlayStart{shown.ID, shown.Width() - 1, 2}));
    EXPECT_EQ(runs[1].ProjectPath, runs[0].ProjectPath);
    EXPECT_TRUE(runs[1].ShowTitle);
    EXPECT_FALSE(runs[1].FullScreen);
    Model->TestPlayFrom(shown.Width(), 2);
    Model->TestPlayFrom(0, -1);
    EXPECT_EQ(runs.size(), 2u);

    // Save clears undo; entering the event mode does too.
    ChangeMap();
    Canvas.Undos = 2;
    EXPECT_TRUE(StateOf(Model->ActionStates(), TMainAction::MapToolUndo).Enabled);
    Model->Execute(TMainAction::MapToolUndo);
    EXPECT_EQ(Canvas.Undos, 1);
    Model->Execute(TMainAction::MapSave);
    EXPECT_EQ(Canvas.Undos, 0);
    EXPECT_FALSE(Model->State().Changed);
    Canvas.Undos = 3;
    Model->Execute(TMainAction::MapModeEvent);
    EXPECT_EQ(Canvas.Undos, 0);
    EXPECT_FALSE(StateOf(Model->ActionStates(), TMainAction::MapToolPen).Enabled);
}

TEST_F(MainModelSandbox, StatusPanelFollowsCursorSelectionAndMode) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    int changes = 0;
    Model->OnStatusChanged = [&] { ++changes; };
    Model->DescribeEventCell = [](int x, int y) { return "cell " + std::to_string(x) + "," + std::to_string(y); };
    Model->HandleCursorMoved(7, 9, true);
    EXPECT_EQ(Model->StatusText(2), "MAP0001 (007,009)");
    EXPECT_GT(changes, 0);
    Model->Execute(TMainAction::MapModeEvent);
    EXPECT_EQ(Model->StatusText(2), "MAP0001 (007,009) cell 7,9");
    Model->HandleCursorMoved(-1, -1, false);
    EXPECT_EQ(Model->StatusText(2), "MAP0001");
    Model->HandleMapSelected(0);
    EXPECT_EQ(Model->StatusText(2), "");
    Model->SetHint("Pen");
    EXPECT_EQ(Model->StatusText(0), "Pen");

    // The pointer going elsewhere keeps the event mode's cell and a drag's, and otherwise forgets
    // it: the next map shows no coordinates.
    Model->HandleMapSelected(1);
    Model->HandleCursorMoved(4, 5, true);
    Model->HandlePointerLeftCanvas();
    EXPECT_EQ(Model->StatusText(2), "MAP0001 (004,005) cell 4,5");
    Model->Execute(TMainAction::MapModeLayer1);
    Canvas.Dragging = true;
    Model->HandlePointerLeftCanvas();
    EXPECT_EQ(Model->StatusText(2), "MAP0001 (004,005)");
    Canvas.Dragging = false;
    Model->HandlePointerLeftCanvas();
    EXPECT_EQ(Model->StatusText(2), "MAP0001");
    Model->HandleMapSelected(1);
    EXPECT_EQ(Model->StatusText(2), "MAP0001");

    // The canvas reporting a layer mode of its own switches the mode actions with it.
    Model->HandleLayerModeSync(kModeUpper);
    EXPECT_EQ(Model->Mode(), kModeUpper);
    EXPECT_EQ(Model->StatusText(1), "Upper Layer editing mode");
    Model->HandleScaleChanged(16);
    EXPECT_TRUE(StateOf(Model->ActionStates(), TMainAction::MapScale2).Checked);
}

TEST_F(MainModelSandbox, ToolWindowsAreOfferedOnlyWhenPresent) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    EXPECT_FALSE(StateOf(Model->ActionStates(), TMainAction::ToolDataBase).Enabled);
    bool flagSeen = true;
    int reloads = 0;
    Model->OpenDataBaseEditor = [&] { flagSeen = GetFullScreenFlag(); };
    Model->OnDataChanged = [&] { ++reloads; };
    EXPECT_TRUE(StateOf(Model->ActionStates(), TMainAction::ToolDataBase).Enabled);
    // The database editor's battle test uses the option as it is at this moment.
    Model->Execute(TMainAction::GameFullScreen);
    const int refreshes = Canvas.Refreshes;
    Model->Execute(TMainAction::ToolDataBase);
    EXPECT_FALSE(flagSeen);
    EXPECT_EQ(reloads, 1);
    EXPECT_GT(Canvas.Refreshes, refreshes);
    // After the material manager the character graphics are loaded anew.
    Model->OpenMaterialManager = [] {};
    Canvas.CacheClears.clear();
    Model->Execute(TMainAction::ToolMaterial);
    EXPECT_EQ(Canvas.CacheClears, std::vector<bool>{true});
    EXPECT_EQ(reloads, 2);
}

TEST_F(MainModelSandbox, TestPlayOptionsPersist) {
    Model->LoadSettings();
    EXPECT_TRUE(Model->TestFullScreen());  // defaults
    EXPECT_FALSE(Model->TestShowTitle());
    Model->Execute(TMainAction::GameFullScreen);
    Model->Execute(TMainAction::GameShowTitle);
    Model->SaveSettings();
    TMainWindowModel other(Manager, Data);
    other.LoadSettings();
    EXPECT_FALSE(other.TestFullScreen());
    EXPECT_TRUE(other.TestShowTitle());
}

TEST_F(MainModelSandbox, AnOpenProjectIsHeldAgainstOtherWriters) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    // While the editor has it open, another writer (quillon-cli's edit, say) cannot take it.
    TProjectLock other;
    EXPECT_FALSE(other.TryAcquire(Root + "base/Quest/"));
    Model->Execute(TMainAction::ProjectClose);
    ASSERT_FALSE(Manager.IsOpen());
    // Closed, the project is free again; held by another writer, it does not open.
    ASSERT_TRUE(other.TryAcquire(Root + "base/Quest/"));
    EXPECT_THROW(Model->OpenProjectFolder(Root + "base/Quest/"), EProjectLocked);
    EXPECT_FALSE(Manager.IsOpen());
    other.Release();
    EXPECT_TRUE(Model->OpenProjectFolder(Root + "base/Quest/"));
}

TEST_F(MainModelSandbox, OpeningRemovesTheTemporaryFilesKilledSavesLeft) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    Model->Execute(TMainAction::ProjectClose);
    ASSERT_FALSE(Manager.IsOpen());
    // A killed import and a killed save left theirs; a file of the user's is like one, nearly.
    WriteFileAtomic(ProjectFile("Sound/big.wav.quillon-save-Ab12Cd"), "half a wave");
    WriteFileAtomic(ProjectFile("GMK_RT.kmt.quillon-save-9xY8wZ"), "half a tree");
    WriteFileAtomic(ProjectFile("Sound/big.wav.quillon-save-draft"), "the user's");
    ASSERT_TRUE(Model->OpenProjectFolder(Root + "base/Quest"));
    EXPECT_FALSE(fs::exists(ProjectFile("Sound/big.wav.quillon-save-Ab12Cd")));
    EXPECT_FALSE(fs::exists(ProjectFile("GMK_RT.kmt.quillon-save-9xY8wZ")));
    EXPECT_EQ(ReadWholeFile(ProjectFile("Sound/big.wav.quillon-save-draft")), "the user's");
}

TEST_F(MainModelSandbox, AnOversizedSettingsFileSurvivesOpenAndClose) {
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    Model->Execute(TMainAction::ProjectClose);
    ASSERT_FALSE(Manager.IsOpen());
    // 4,194,400 bytes: past what the profile reader takes in.
    std::string big = "[GMK_RT]\r\nGameTitle=Keep Me\r\n[Other]\r\n";
    big += std::string(4194400 - big.size() - 2, 'x') + "\r\n";
    WriteFileAtomic(ProjectFile("GMK_RT.ini"), big);
    Box.Texts.clear();

    ASSERT_TRUE(Model->OpenProjectFolder(Root + "base/Quest"));
    ASSERT_EQ(Box.Texts.size(), 1u);  // the user is told once, when the project opens
    EXPECT_NE(Box.Texts[0].find("\"GMK_RT.ini\" of this project could not be read whole"), std::string::npos);
    Model->Execute(TMainAction::MapModeEvent);
    Model->Execute(TMainAction::MapScale3);
    Model->Execute(TMainAction::ProjectClose);
    EXPECT_FALSE(Manager.IsOpen());
    EXPECT_TRUE(ReadWholeFile(ProjectFile("GMK_RT.ini"), 8 << 20) == big);
    EXPECT_EQ(Box.Texts.size(), 1u);
}

namespace {

// The number of a process that has ended.
long EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

}  // namespace

// Unsaved maps of an editor that was killed: the timed save put them in the working folder, the
// lock file there names the project, and the next start offers them back.
TEST_F(MainModelSandbox, WorkLeftByAKilledEditorIsOfferedBack) {
    TWorkLock lock(MapWorkFolder());
    Model->WorkLock = &lock;
    Model->NewProjectAt(Root + "base/Quest", "The Quest");
    ASSERT_TRUE(Manager.IsOpen());
    const std::string project = ProjectPath();
    EXPECT_EQ(ReadWholeFile(MapWorkFolder() + kWorkLockFile), std::to_string(::getpid()) + "\n" + project + "\n");
    // Map 2 joins the tree; map 7 is none of its maps.
    TKelMapTreeItem& second = Data.MapTree().AddItem(0, 2);
    second.Kind = TKelMapTreeItem::mkMap;
    TKelMap().SaveToProject(project, 2);
    Data.MapTree().Save(project);

    // The timed save writes the open map's changes to its working copy only, and only when
    // there are some; not in the middle of a stroke.
    const std::string saved = ReadWholeFile(ProjectFile("Map0001.kmu"));
    ChangeMap();
    Canvas.Dragging = true;
    EXPECT_FALSE(Model->SaveWorkingCopy());
    Canvas.Dragging = false;
    EXPECT_TRUE(Model->SaveWorkingCopy());
    EXPECT_FALSE(Model->SaveWorkingCopy());
    EXPECT_EQ(ReadWholeFile(ProjectFile("Map0001.kmu")), saved);
    WriteFileAtomic(MapWorkFolder() + "Map0002.kmu", std::string("\x0AKelMapUnit\x05", 12));
    TKelMap().SaveToWork(7);

    // The editor is killed: its process is gone, its lock file stays.
    Model.reset();
    WriteFileAtomic(MapWorkFolder() + kWorkLockFile, std::to_string(::getppid()) + "\n" + project + "\n");
    EXPECT_FALSE(FindLeftWork(MapWorkFolder())) << "its writer still runs";
    WriteFileAtomic(MapWorkFolder() + kWorkLockFile, std::to_string(EndedProcess()) + "\n" + project + "\n");
    const std::optional<TLeftWork> left = FindLeftWork(MapWorkFolder());
    ASSERT_TRUE(left);
    EXPECT_EQ(left->ProjectPath, project);
    ASSERT_EQ(left->Maps.size(), 3u);
    DeleteFolderTree(MapWorkFolder());  // the next start wipes the folder

    for (const int answer : {mrNo, mrYes}) {
        SCOPED_TRACE(answer == mrYes ? "yes" : "no");
        TProjectManager manager;
        TProjectData data;
        TMainWindowModel restarted(manager, data);
        restarted.LeftWork = left;
        Box.Texts.clear();
        Box.Answers = {answer, mrOk};
        ASSERT_TRUE(restarted.OpenProjectFolder(Root + "base/Quest"));
        ASSERT_GE(Box.Texts.size(), 1u);
        EXPECT_EQ(Box.Texts[0], "Quillon did not close normally. Recover the unsaved changes of 2 maps?");
        EXPECT_FALSE(restarted.LeftWork);
        if (answer == mrNo) {
            EXPECT_EQ(Box.Texts.size(), 1u);
            EXPECT_FALSE(restarted.State().Changed);
            EXPECT_EQ(data.Map().LowerLayer.Cell(3, 4), 0);
        } else {
            ASSERT_EQ(Box.Texts.size(), 2u);
            EXPECT_EQ(Box.Texts[1], "The unsaved changes of Map0002.kmu could not be read and are discarded.");
            EXPECT_TRUE(restarted.State().Changed);
            EXPECT_TRUE(data.MapTree().FindByID(1)->Modified);
            EXPECT_FALSE(data.MapTree().FindByID(2)->Modified);
            EXPECT_EQ(data.Map().LowerLayer.Cell(3, 4), 5050);
            EXPECT_FALSE(FileExists(MapWorkFolder() + "Map0002.kmu"));
            EXPECT_FALSE(FileExists(MapWorkFolder() + "Map0007.kmu"));
            restarted.MapSave();
            TKelMap committed;
            committed.LoadFromProject(project, 1);
            EXPECT_EQ(committed.LowerLayer.Cell(3, 4), 5050);
        }
        restarted.Execute(TMainAction::ProjectClose);
    }
}
