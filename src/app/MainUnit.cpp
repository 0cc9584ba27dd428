#include "app/MainUnit.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "platform/BusyCursor.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "project/PathUtils.h"
#include "project/ProjectData.h"
#include "project/ProjectFiles.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace quillon {

namespace {

constexpr const char* kMapsChanged = "Maps were changed. Save them?";
constexpr const char* kDiscardChanges = "Discard all changes. Ok?";
constexpr const char* kIniKept =
    "\"GMK_RT.ini\" of this project could not be read whole. It is kept as it is: the editing mode and "
    "zoom are not stored in it.";

using G = TActionGroup;
using A = TMainAction;

const std::array<TMainActionInfo, kMainActionCount> kActions = {{
    {A::ProjectNew, "Action_ProjectNew", "Create &new project...", "Create &new project...", "", 0, G::None},
    {A::ProjectOpen, "Action_ProjectOpen", "&Open project...", "&Open project...", "", 0, G::None},
    {A::ProjectClose, "Action_ProjectClose", "Close project", "Close project", "", 0, G::None},
    {A::ProjectPack, "Action_ProjectPack", "Make Game disk...", "Make Game disk...", "", 0, G::None},
    {A::Exit, "Action_Exit", "E&xit", "E&xit", "Alt+F4", 0, G::None},
    {A::MapSave, "Action_MapSave", "&Save map...", "&Save map...", "Ctrl+S", 0, G::None},
    {A::MapRevert, "Action_MapRevert", "&Revert map...", "&Revert map...", "Ctrl+R", 0, G::None},
    {A::MapModeLayer1, "Action_MapModeLayer1", "&Lower Layer Mode", "&Lower Layer Mode", "F5", 1, G::Mode},
    {A::MapModeLayer2, "Action_MapModeLayer2", "&Upper Layer Mode", "&Upper Layer Mode", "F6", 2, G::Mode},
    {A::MapModeEvent, "Action_MapModeEvent", "&Event Mode", "&Event Mode", "F7", 3, G::Mode},
    {A::MapScale1, "Action_MapScale1", "Zoom &1/1", "Zoom &1/1", "", 1, G::Scale},
    {A::MapScale2, "Action_MapScale2", "Zoom 1/&2", "Zoom 1/&2", "", 2, G::Scale},
    {A::MapScale3, "Action_MapScale3", "Zoom 1/&4", "Zoom 1/&4", "", 3, G::Scale},
    {A::MapScale4, "Action_MapScale4", "Zoom 1/&8", "Zoom 1/&8", "", 4, G::Scale},
    {A::ToolDataBase, "Action_ToolDataBase", "&Data Base...", "&Data Base...", "F8", 0, G::None},
    {A::ToolMaterial, "Action_ToolMaterial", "RAW &Material Editor...", "RAW &Material Editor...", "", 0, G::None},
    {A::ToolSelectMusic, "Action_ToolSelectMusic", "&BGM Selector...", "&BGM Selector...", "", 0, G::None},
    {A::GameTestPlay, "Action_GameTestPlay", "Test Play", "Test Play", "F9", 0, G::None},
    {A::GameFullScreen, "Action_GameFullScreen", "&Full screen", "Full Screen", "", 0, G::Toggle},
    {A::GameShowTitle, "Action_GameShowTitle", "Show title", "Show Game &Title", "", 0, G::Toggle},
    {A::HelpContents, "Action_HelpContents", "Help &Contents", "Help &Contents", "F1", 0, G::None},
    {A::HelpAbout, "Action_HelpAbout", "&About...", "&About...", "", 0, G::None},
    {A::MapToolUndo, "Action_MapToolUndo", "Undo", nullptr, "", 0, G::None},
    {A::MapToolSelect, "Action_MapToolSelect", "Select Region", "&Select Region", "S", 1, G::Tool},
    {A::MapToolZoom, "Action_MapToolZoom", "Zoom", "&Zoom", "Z", 2, G::Tool},
    {A::MapToolPen, "Action_MapToolPen", "Pen", "&Pen", "P", 3, G::Tool},
    {A::MapToolRect, "Action_MapToolRect", "Rectangle", "&Rectangle", "R", 4, G::Tool},
    {A::MapToolEllipse, "Action_MapToolEllipse", "Ellipse", "&Ellipse", "E", 5, G::Tool},
    {A::MapToolSeedFill, "Action_MapToolSeedFill", "Fill Region", "&Fill Region", "F", 6, G::Tool},
}};

TMenuItem Item(A action) { return TMenuItem{TMenuItem::Action, action, nullptr, {}}; }
TMenuItem Separator() { return TMenuItem{TMenuItem::Separator, A::Exit, nullptr, {}}; }
TMenuItem Sub(const char* caption, std::vector<A> children) {
    return TMenuItem{TMenuItem::SubMenu, A::Exit, caption, std::move(children)};
}

}  // namespace

// --- actions and menus ---

const std::array<TMainActionInfo, kMainActionCount>& MainActions() { return kActions; }

const TMainActionInfo& ActionInfo(TMainAction action) { return kActions.at(static_cast<std::size_t>(action)); }

std::optional<TMainAction> GroupAction(TActionGroup group, int tag) {
    for (const TMainActionInfo& info : kActions)
        if (info.Group == group && info.Tag == tag && group != TActionGroup::None && group != TActionGroup::Toggle)
            return info.Action;
    return std::nullopt;
}

std::string StripAccelerator(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

const std::vector<TMenu>& MainMenus() {
    static const std::vector<TMenu> menus = {
        {"Menu_Project", "&Project",
         {Item(A::ProjectNew), Item(A::ProjectOpen), Item(A::ProjectClose), Separator(), Item(A::ProjectPack),
          Separator(), Item(A::Exit)}},
        {"Menu_Map", "&Map",
         {Item(A::MapSave), Item(A::MapRevert), Separator(),
          Sub("&Edit", {A::MapModeLayer1, A::MapModeLayer2, A::MapModeEvent}),
          Sub("&Scale", {A::MapScale1, A::MapScale2, A::MapScale3, A::MapScale4}), Separator(),
          Sub("&Tools", {A::MapToolSelect, A::MapToolZoom, A::MapToolPen, A::MapToolRect, A::MapToolEllipse,
                         A::MapToolSeedFill})}},
        {"Menu_Tool", "&Tool", {Item(A::ToolDataBase), Item(A::ToolMaterial), Item(A::ToolSelectMusic)}},
        {"Menu_Game", "&Game", {Item(A::GameTestPlay), Separator(), Item(A::GameFullScreen), Item(A::GameShowTitle)}},
        {"Menu_Help", "&Help", {Item(A::HelpContents), Separator(), Item(A::HelpAbout)}},
    };
    return menus;
}

// --- mode and zoom ---

const char* ModeText(int mode) {
    switch (mode) {
    case kModeUpper: return "Upper Layer editing mode";
    case kModeEvent: return "Event editing mode";
    default: return "Lower Layer editing mode";
    }
}

int ModeFromStored(int stored) { return stored == 1 ? kModeUpper : stored == 2 ? kModeEvent : kModeLower; }

int ScaleFromStoredZoom(int zoom) {
    switch (zoom) {
    case 1: return 16;
    case 2: return 8;
    case 3: return 4;
    default: return 32;
    }
}

int StoredZoomFromScale(int scale) { return scale == 4 ? 3 : scale == 8 ? 2 : scale == 16 ? 1 : 0; }

int ScaleFromTag(int tag) {
    switch (tag) {
    case 1: return 32;
    case 2: return 16;
    case 3: return 8;
    case 4: return 4;
    default: return 0;
    }
}

int ScaleTag(int scale) {
    switch (scale) {
    case 32: return 1;
    case 16: return 2;
    case 8: return 3;
    case 4: return 4;
    default: return 0;
    }
}

// --- enabling ---

TActionStates ComputeActionStates(const TMainState& s) {
    TActionStates states{};
    const bool open = s.ProjectOpen;
    // While the canvas holds the mouse, nothing may change the map, its view or the project under
    // the stroke.
    const bool idle = open && !s.DragInProgress;
    auto set = [&](A action, bool enabled, bool checked = false) {
        states[static_cast<std::size_t>(action)] = TActionState{enabled, checked};
    };
    set(A::ProjectNew, !open);
    set(A::ProjectOpen, !open);
    set(A::ProjectClose, idle);
    set(A::ProjectPack, idle && s.HasPackDialog);
    set(A::Exit, true);
    set(A::MapSave, idle && s.Changed);
    set(A::MapRevert, idle && s.Changed);
    set(A::MapModeLayer1, idle, s.Mode == kModeLower);
    set(A::MapModeLayer2, idle, s.Mode == kModeUpper);
    set(A::MapModeEvent, idle, s.Mode == kModeEvent);
    const int scaleTag = ScaleTag(s.Scale);
    set(A::MapScale1, idle, scaleTag == 1);
    set(A::MapScale2, idle, scaleTag == 2);
    set(A::MapScale3, idle, scaleTag == 3);
    set(A::MapScale4, idle, scaleTag == 4);
    set(A::ToolDataBase, idle && s.HasDataBaseEditor);
    set(A::ToolMaterial, idle && s.HasMaterialManager);
    set(A::ToolSelectMusic, idle && s.HasMusicSelector);
    set(A::GameTestPlay, idle && s.HasTestPlay);
    set(A::GameFullScreen, open, s.FullScreen);
    set(A::GameShowTitle, open, s.ShowTitle);
    set(A::HelpContents, true);
    set(A::HelpAbout, true);
    set(A::MapToolUndo, idle && s.UndoCount > 0);
    const bool layerMode = s.Mode == kModeLower || s.Mode == kModeUpper;
    const A tools[] = {A::MapToolSelect, A::MapToolZoom, A::MapToolPen, A::MapToolRect, A::MapToolEllipse,
                       A::MapToolSeedFill};
    for (int tool = 0; tool < 6; ++tool)
        set(tools[tool], idle && layerMode, s.Tool == tool);
    return states;
}

// --- status bar ---

std::string CursorPanelText(const std::string& mapName, int x, int y, bool inside, bool eventMode,
                            const std::string& eventDescription) {
    std::string text = mapName;
    if (!inside)
        return text;
    char cell[32];
    std::snprintf(cell, sizeof cell, "(%.3d,%.3d)", x, y);
    text += ' ';
    text += cell;
    if (eventMode && !eventDescription.empty()) {
        text += ' ';
        text += eventDescription;
    }
    return text;
}

std::string MapNameForNode(const TKelMapTree& tree, std::int32_t id) {
    const TKelMapTreeItem* item = tree.FindByID(id);
    // An area names the map it lies in; the walk up is bounded so a damaged tree cannot loop.
    for (int steps = 0; item && steps <= tree.Count(); ++steps) {
        if (item->IsMap())
            return item->Name;
        if (!item->IsArea())
            return {};
        item = tree.FindByID(item->ParentId);
    }
    return {};
}

// --- start-up ---

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    bool optionsEnd = false;
    for (const std::string& arg : args) {
        if (!optionsEnd && arg == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (arg == "--help" || arg == "-h")) {
            line.Help = true;
        } else if (!optionsEnd && (arg == "--version" || arg == "-v")) {
            line.Version = true;
        } else if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            if (line.Error.empty())
                line.Error = "unknown option \"" + arg + "\"";
        } else if (line.Folder.empty() && !arg.empty()) {
            line.Folder = arg;
        } else if (line.Error.empty()) {
            line.Error = "only one project folder can be opened";
        }
    }
    return line;
}

std::string UsageText() {
    return "usage: quillon [FOLDER]\n"
           "  FOLDER     the project folder to open; without it the project that was open\n"
           "             when the editor last ended opens again\n"
           "  --help     show this text and end\n"
           "  --version  show the version and end\n";
}

std::optional<TProjectLocation> SplitProjectFolder(const std::string& folder) {
    if (folder.empty())
        return std::nullopt;
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(folder, error);
    if (error)
        return std::nullopt;
    path = path.lexically_normal();
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    path = text;
    const std::string name = path.filename().string();
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    return TProjectLocation{IncludeTrailingDelimiter(path.parent_path().string()), name};
}

std::string HelpPageFor(const std::string& appPath, const std::string& context) {
    const std::string folder = IncludeTrailingDelimiter(appPath) + "help/";
    // A context names a page, never a path.
    if (!context.empty() && context.find('/') == std::string::npos && context.find("..") == std::string::npos) {
        const std::string page = folder + context + ".html";
        if (FileExists(page))
            return page;
    }
    const std::string index = folder + "index.html";
    return FileExists(index) ? index : std::string();
}

// --- tree host on the project data ---

bool TProjectMapTreeHost::IsChanged() const {
    return mSaveFailed || mData.MapTree().IsModified() || mData.Map().Modified;
}

void TProjectMapTreeHost::SaveAll() {
    TKelMapTree& tree = mData.MapTree();
    // The tree's flags are cleared as its maps are committed, before its own file is written:
    // until a save has gone through whole, the project counts as changed.
    mSaveFailed = true;
    TKelMap& map = mData.Map();
    if (map.Modified) {
        TKelMapTreeItem* item = tree.FindByID(map.ID);
        if (item && item->IsMap()) {
            map.SaveToWork(map.ID);
            item->Modified = true;
        }
    }
    tree.Save(ProjectPath());
    mSaveFailed = false;
}

bool TProjectMapTreeHost::SaveWorkingCopy() {
    TKelMap& map = mData.Map();
    TKelMapTreeItem* item = map.Modified ? mData.MapTree().FindByID(map.ID) : nullptr;
    if (item == nullptr || !item->IsMap())
        return false;
    map.SaveToWork(map.ID);
    item->Modified = true;
    return true;
}

void TProjectMapTreeHost::Reload() {
    TKelMapTree& tree = mData.MapTree();
    TKelMap& map = mData.Map();
    const std::string& path = ProjectPath();
    mSaveFailed = false;
    tree.Load(path);
    if (TKelMapTreeItem* root = tree.FindByID(0))
        root->Name = ReadGameTitle(path);
    map.Reset();
    const TKelMapTreeItem* current = tree.FindByID(tree.CurrentMapId);
    if (current && current->IsArea())
        current = tree.FindByID(current->ParentId);
    if (current && current->IsMap())
        map.LoadFromProject(path, current->ID);
}

// --- the main window's model ---

TMainWindowModel::TMainWindowModel(TProjectManager& manager, TProjectData& data)
    : mManager(manager), mData(data), mDefaultTree(data) {
    mManager.OnNewProject = [this](const std::string& title, bool& success) { HandleNewProject(title, success); };
    mManager.OnOpenProject = [this](bool& success) { HandleOpenProject(success); };
    mManager.OnCloseProject = [this] { HandleCloseProject(); };
}

TMainWindowModel::~TMainWindowModel() {
    mManager.OnNewProject = nullptr;
    mManager.OnOpenProject = nullptr;
    mManager.OnCloseProject = nullptr;
}

void TMainWindowModel::SetMapTree(IMapTreeHost* tree) { mTree = tree; }
void TMainWindowModel::SetCanvas(IMapCanvasHost* canvas) { mCanvas = canvas; }
void TMainWindowModel::SetChipPalette(IChipPaletteHost* palette) { mPalette = palette; }

IMapTreeHost& TMainWindowModel::Tree() { return mTree ? *mTree : mDefaultTree; }
const IMapTreeHost& TMainWindowModel::Tree() const {
    return mTree ? *mTree : static_cast<const IMapTreeHost&>(mDefaultTree);
}

TMainState TMainWindowModel::State() const {
    TMainState s;
    s.ProjectOpen = mManager.IsOpen();
    s.Changed = s.ProjectOpen && Tree().IsChanged();
    s.Mode = mMode;
    s.Scale = mScale;
    s.Tool = mTool;
    s.UndoCount = mCanvas ? mCanvas->UndoCount() : 0;
    s.DragInProgress = mCanvas && mCanvas->DragInProgress();
    s.FullScreen = mTestFullScreen;
    s.ShowTitle = mTestShowTitle;
    s.HasPackDialog = static_cast<bool>(ShowPackDialog);
    s.HasDataBaseEditor = static_cast<bool>(OpenDataBaseEditor);
    s.HasMaterialManager = static_cast<bool>(OpenMaterialManager);
    s.HasMusicSelector = static_cast<bool>(OpenMusicSelector);
    s.HasTestPlay = static_cast<bool>(TestPlayRunner);
    return s;
}

void TMainWindowModel::Execute(TMainAction action) {
    const TMainActionInfo& info = ActionInfo(action);
    switch (info.Group) {
    case TActionGroup::Mode: SetMode(info.Tag - 1); return;
    case TActionGroup::Scale: SetScale(ScaleFromTag(info.Tag)); return;
    case TActionGroup::Tool: SetTool(info.Tag - 1); return;
    default: break;
    }
    switch (action) {
    case A::ProjectNew:
        if (ShowNewDialog)
            ShowNewDialog();
        break;
    case A::ProjectOpen:
        if (ShowOpenDialog)
            ShowOpenDialog();
        break;
    case A::ProjectClose: ProjectClose(); break;
    case A::ProjectPack:
        if (ShowPackDialog && SaveChangedMaps())
            ShowPackDialog();
        break;
    case A::Exit:
        if (CloseWindow)
            CloseWindow();
        break;
    case A::MapSave: MapSave(); break;
    case A::MapRevert: MapRevert(); break;
    case A::ToolDataBase:
        if (OpenDataBaseEditor) {
            // Its battle test uses the option as it is now.
            SetFullScreenFlag(mTestFullScreen);
            OpenDataBaseEditor();
            ShowChangedData();
        }
        break;
    case A::ToolMaterial:
        if (OpenMaterialManager) {
            OpenMaterialManager();
            // Imported or deleted pictures show at once.
            if (mCanvas)
                mCanvas->ClearCharacterCache(true);
            ShowChangedData();
        }
        break;
    case A::ToolSelectMusic:
        if (OpenMusicSelector)
            OpenMusicSelector();
        break;
    case A::GameTestPlay: TestPlay(); break;
    case A::GameFullScreen: mTestFullScreen = !mTestFullScreen; break;
    case A::GameShowTitle: mTestShowTitle = !mTestShowTitle; break;
    case A::HelpContents:
        if (ShowHelp)
            ShowHelp();
        break;
    case A::HelpAbout:
        if (ShowAbout)
            ShowAbout();
        break;
    case A::MapToolUndo:
        if (mCanvas)
            mCanvas->Undo();
        break;
    default: break;
    }
}

void TMainWindowModel::ShowChangedData() {
    mData.Map().ReloadChipSetGraphic();
    if (mCanvas)
        mCanvas->Refresh();
    if (mPalette)
        mPalette->Reload();
    if (OnDataChanged)
        OnDataChanged();
}

void TMainWindowModel::HandleNewProject(const std::string& title, bool& success) { mData.NewProject(title, success); }

void TMainWindowModel::HandleOpenProject(bool& success) {
    // The editor is a writer of the project for as long as it is open: quillon-cli's writing
    // verbs wait, then refuse, instead of saving over what the editor holds in memory. Another
    // writer at work now stops the opening with its message.
    mProjectLock.Acquire(ProjectPath());
    // Under the lock no save or import of ours is at work in the project: what killed ones left
    // goes now.
    RemoveProjectTempFiles(ProjectPath());
    if (mCanvas)
        mCanvas->ClearCharacterCache(false);
    mData.OpenProject(success);
    if (!success) {
        mProjectLock.Release();
        return;
    }
    mProjectShown = true;
    if (WorkLock)
        WorkLock->Write(ProjectPath());
    Tree().Fill();
    if (mPalette)
        mPalette->Reload();
    const std::string& path = ProjectPath();
    SetMode(ModeFromStored(ReadMapEditMode(path)));
    SetScale(ScaleFromStoredZoom(ReadMapEditZoom(path)));
    // What of the database could not be read is told once; the file is not replaced without asking
    // (the database window's save asks).
    if (const TDataBaseLoadReport& report = mData.DataBase().LoadReport(); report.Damaged)
        ShowMessageBox(DescribeDataBaseDamage(TKelDataBase::kFileName, report).Text(), mbOk | mbIconError);
    if (const std::string problem = ProjectIniReadError(path); !problem.empty())
        ShowMessageBox(std::string(kIniKept) + "\n" + problem, mbOk | mbIconWarning);
    SetTool(kToolPen);
    HandleMapSelected(mData.MapTree().CurrentMapId);
    if (!HoldLeftWork)
        OfferLeftWork();
    success = true;
}

void TMainWindowModel::HandleCloseProject() {
    // Working copies of maps whose changes were declined go with the project: the next project
    // opened may use the same map numbers.
    const TKelMapTree& tree = mData.MapTree();
    for (int index = 0; index < tree.Count(); ++index)
        if (tree.Items(index)->IsMap())
            mData.Map().DeleteFromWork(tree.Items(index)->ID);
    mData.CloseProject();
    mDefaultTree.Reset();
    Tree().Clear();
    if (mCanvas)
        mCanvas->CloseProject();
    if (mPalette)
        mPalette->CloseProject();
    mProjectShown = false;
    mCurrentMapName.clear();
    mCursorInside = false;
    SetStatus(1, "");
    SetStatus(2, "");
    mProjectLock.Release();
    if (WorkLock)
        WorkLock->Write("");
}

int TMainWindowModel::Show(const TFilledText& text, int flags) {
    return ShowText ? ShowText(text, flags) : ShowMessageBox(text.Text(), flags);
}

void TMainWindowModel::OfferLeftWork() {
    if (!LeftWork || !mProjectShown)
        return;
    const std::string& path = ProjectPath();
    const int maps = RecoverableMaps(*LeftWork, path, mData.MapTree());
    if (maps == 0)
        return;  // another project's: kept for when that one opens
    const TLeftWork left = std::move(*LeftWork);
    LeftWork.reset();
    if (Show(RecoverQuestion(maps), mbYesNo | mbIconQuestion) != mrYes)
        return;
    for (const TFilledText& message : RecoverLeftWork(left, path, mData.MapTree()))
        Show(message, mbOk | mbIconWarning);
    // The map shown is its recovered copy.
    TKelMap& map = mData.Map();
    const TKelMapTreeItem* current = mData.MapTree().FindByID(map.ID);
    if (current && current->IsMap() && current->Modified && !map.Modified)
        map.LoadFromWork(map.ID);
    Tree().Fill();
    HandleMapSelected(mData.MapTree().CurrentMapId);
}

bool TMainWindowModel::SaveWorkingCopy() {
    if (!mManager.IsOpen() || !mProjectShown || (mCanvas && mCanvas->DragInProgress()))
        return false;
    return Tree().SaveWorkingCopy();
}

bool TMainWindowModel::SaveAllReported() {
    try {
        Tree().SaveAll();
        return true;
    } catch (const std::exception& e) {
        // The caller keeps the project open: what could not be written would be lost.
        ShowError(e.what());
        return false;
    }
}

void TMainWindowModel::WriteEditState() {
    WriteMapEditState(ProjectPath(), mMode, StoredZoomFromScale(mScale));
}

bool TMainWindowModel::ConfirmCloseProject() {
    if (!mManager.IsOpen())
        return true;
    bool answer = true;
    if (Tree().IsChanged()) {
        switch (ShowMessageBox(kMapsChanged, mbYesNoCancel | mbIconWarning)) {
        case mrYes:
            // Closing now would lose what could not be saved.
            if (!SaveAllReported() || Tree().IsChanged())
                answer = false;
            break;
        case mrNo: break;
        default: answer = false; break;
        }
    } else {
        // The tree file also records which node is selected and what is expanded.
        try {
            Tree().SaveAll();
        } catch (const EFileError&) {
        }
    }
    WriteEditState();
    return answer;
}

bool TMainWindowModel::SaveChangedMaps() {
    if (!Tree().IsChanged())
        return true;
    if (ShowMessageBox(kMapsChanged, mbYesNo | mbIconWarning) != mrYes)
        return false;
    return SaveAllReported() && !Tree().IsChanged();
}

void TMainWindowModel::MapSave() {
    TBusyCursorScope busy;
    Tree().SaveAll();
    if (mCanvas)
        mCanvas->ClearUndo();
}

void TMainWindowModel::MapRevert() {
    if (AskYesNo(kDiscardChanges) != mrYes)
        return;
    if (mCanvas) {
        mCanvas->ClearSelection();
        mCanvas->Refresh();
    }
    Tree().Reload();
    if (mCanvas) {
        mCanvas->ClearUndo();
        mCanvas->Refresh();
    }
    HandleMapSelected(mData.MapTree().CurrentMapId);
}

void TMainWindowModel::SetMode(int mode) {
    if (mode < kModeLower || mode > kModeEvent)
        return;
    TBusyCursorScope busy;
    if (mCanvas)
        mCanvas->SetMode(mode);
    if (mPalette)
        mPalette->SetMode(mode);
    SetStatus(1, ModeText(mode));
    if (mode == kModeEvent && mCanvas)
        mCanvas->ClearUndo();
    mMode = mode;
    HandleCursorMoved(mCursorX, mCursorY, mCursorInside);
}

void TMainWindowModel::SetScale(int scale) {
    if (ScaleTag(scale) == 0)
        return;
    TBusyCursorScope busy;
    if (mCanvas)
        mCanvas->SetScale(scale);
    mScale = scale;
}

void TMainWindowModel::SetTool(int tool) {
    if (tool < 0 || tool > 5)
        return;
    if (mCanvas)
        mCanvas->SetTool(tool);
    mTool = tool;
}

void TMainWindowModel::ProjectClose() {
    if (ConfirmCloseProject())
        mManager.CloseProject();
}

void TMainWindowModel::TestPlay() {
    if (!TestPlayRunner || !mManager.IsOpen())
        return;
    TestPlayRunner(TTestPlayRequest{ProjectPath(), mTestShowTitle, mTestFullScreen, std::nullopt});
}

void TMainWindowModel::TestPlayFrom(int x, int y) {
    const TKelMap& map = mData.Map();
    if (!TestPlayRunner || !mManager.IsOpen() || map.ID <= 0 || x < 0 || y < 0 || x >= map.Width() ||
        y >= map.Height())
        return;
    TestPlayRunner(TTestPlayRequest{ProjectPath(), mTestShowTitle, mTestFullScreen, TTestPlayStart{map.ID, x, y}});
}

void TMainWindowModel::HandleMapSelected(std::int32_t id) {
    mCurrentMapName = MapNameForNode(mData.MapTree(), id);
    if (mCanvas)
        mCanvas->Refresh();
    if (mPalette)
        mPalette->Reload();
    HandleCursorMoved(mCursorX, mCursorY, mCursorInside);
}

void TMainWindowModel::HandleCursorMoved(int x, int y, bool inside) {
    mCursorX = x;
    mCursorY = y;
    mCursorInside = inside && x >= 0 && y >= 0;
    if (!mProjectShown) {
        SetStatus(2, "");
        return;
    }
    const bool eventMode = mMode == kModeEvent;
    std::string description;
    if (eventMode && mCursorInside && DescribeEventCell)
        description = DescribeEventCell(x, y);
    SetStatus(2, CursorPanelText(mCurrentMapName, x, y, mCursorInside, eventMode, description));
}

void TMainWindowModel::HandlePointerLeftCanvas() {
    // The event mode's cursor is a cell of its own, and a drag keeps the mouse.
    if (mMode == kModeEvent || (mCanvas && mCanvas->DragInProgress()))
        return;
    HandleCursorMoved(-1, -1, false);
}

void TMainWindowModel::HandleLayerModeSync(int canvasMode) {
    if (canvasMode == kModeLower || canvasMode == kModeUpper)
        SetMode(canvasMode);
    if (mPalette)
        mPalette->ClearHighlight();
}

void TMainWindowModel::HandleScaleChanged(int scale) { mScale = scale; }

void TMainWindowModel::HandleEditorResize(int width, int height) { Tree().SetCanvasSize(width, height); }

void TMainWindowModel::HandleDeactivate() {
    if (mCanvas)
        mCanvas->ApplicationDeactivated();
    if (mPalette)
        mPalette->ApplicationDeactivated();
}

void TMainWindowModel::SetHint(const std::string& hint) { SetStatus(0, hint); }

void TMainWindowModel::SetStatus(int panel, const std::string& text) {
    std::string& slot = mStatus.at(panel);
    if (slot == text)
        return;
    slot = text;
    if (OnStatusChanged)
        OnStatusChanged();
}

bool TMainWindowModel::OpenProjectFolder(const std::string& folder) {
    const auto location = SplitProjectFolder(folder);
    if (!location || !FolderExists(location->BasePath + location->FolderName))
        return false;
    SetProjectBasePath(location->BasePath);
    mManager.OpenProject(location->FolderName);
    return mManager.IsOpen();
}

void TMainWindowModel::NewProjectAt(const std::string& folder, const std::string& title) {
    const auto location = SplitProjectFolder(folder);
    if (!location)
        throw EProjectError(kProjectMakingFailure);
    const std::string full = location->BasePath + location->FolderName;
    // Never into a folder that exists: creating would mix the new project with what lies there.
    if (::mkdir(full.c_str(), 0777) != 0)
        throw EProjectError(kProjectMakingFailure);
    SetProjectBasePath(location->BasePath);
    mManager.CreateProject(location->FolderName, title);
}

void TMainWindowModel::LoadSettings() {
    mTestFullScreen = GetFullScreenFlag();
    mTestShowTitle = GetShowTitleFlag();
}

void TMainWindowModel::SaveSettings() const {
    SetFullScreenFlag(mTestFullScreen);
    SetShowTitleFlag(mTestShowTitle);
}

}  // namespace quillon
