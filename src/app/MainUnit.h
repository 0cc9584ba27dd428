// The main window's model: its actions with captions, short-cuts and groups, the menus, the
// enabling rules, the handlers of the project manager's events, map save and revert, the save
// query on close, the editing mode and zoom kept in "GMK_RT.ini", the status-bar texts, window
// placement and the start-up checks. The Qt window (MainUnit_qt) only forwards to it and shows
// what it answers.
#pragma once

#include "controls/FormMemory.h"
#include "controls/FormPlacement.h"

#include "app/TestPlay.h"
#include "app/WorkRecovery.h"
#include "graphics/GraphicsTypes.h"
#include "project/ProjectLock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class TKelMapTree;
class TProjectData;
class TProjectManager;

// --- actions ---

enum class TMainAction : int {
    ProjectNew,
    ProjectOpen,
    ProjectClose,
    ProjectPack,
    Exit,
    MapSave,
    MapRevert,
    MapModeLayer1,
    MapModeLayer2,
    MapModeEvent,
    MapScale1,
    MapScale2,
    MapScale3,
    MapScale4,
    ToolDataBase,
    ToolMaterial,
    ToolSelectMusic,
    GameTestPlay,
    GameFullScreen,
    GameShowTitle,
    HelpContents,
    HelpAbout,
    MapToolUndo,
    MapToolSelect,
    MapToolZoom,
    MapToolPen,
    MapToolRect,
    MapToolEllipse,
    MapToolSeedFill,
};
inline constexpr int kMainActionCount = 29;

// Actions of one group share a handler and one check mark.
enum class TActionGroup { None, Mode, Scale, Tool, Toggle };

struct TMainActionInfo {
    TMainAction Action;
    const char* Name;         // "Action_MapSave"
    const char* Caption;      // the action's own caption; its tool-tip and hint
    const char* MenuCaption;  // the menu item's caption, or nullptr when the action is in no menu
    // Portable key text ("Ctrl+S", "F5"), "" for none. The six canvas tools take a plain letter
    // each (S, Z, P, R, E, F), which no other key of the window, the canvas, the chip palette or
    // the map tree uses; a text field keeps the letters typed into it.
    const char* ShortCut;
    int Tag;                  // the member of its group, 1-based; 0 outside groups
    TActionGroup Group;
};

// Every action in the order of TMainAction.
const std::array<TMainActionInfo, kMainActionCount>& MainActions();
const TMainActionInfo& ActionInfo(TMainAction action);
// The action of a group member by tag; nullopt for a tag outside the group.
std::optional<TMainAction> GroupAction(TActionGroup group, int tag);
// A caption without its accelerator marks ("&Save map..." -> "Save map..."; "&&" keeps one '&').
std::string StripAccelerator(const std::string& caption);

// The menu bar: five menus of action items, separators and sub-menus.
struct TMenuItem {
    enum TKind { Action, Separator, SubMenu } Kind = Action;
    TMainAction Item = TMainAction::Exit;    // Kind Action
    const char* Caption = nullptr;           // Kind SubMenu
    std::vector<TMainAction> Children;       // Kind SubMenu
};
struct TMenu {
    const char* Name;     // "Menu_Project"
    const char* Caption;  // "&Project"
    std::vector<TMenuItem> Items;
};
const std::vector<TMenu>& MainMenus();

// --- editing mode and zoom ---

inline constexpr int kModeLower = 0;
inline constexpr int kModeUpper = 1;
inline constexpr int kModeEvent = 2;
// The mode text of status panel 1.
const char* ModeText(int mode);
// "GMK_RT.ini" values to canvas values and back.
int ModeFromStored(int stored);      // 1 upper, 2 event, anything else lower
int ScaleFromStoredZoom(int zoom);   // 1 -> 16, 2 -> 8, 3 -> 4, anything else 32
int StoredZoomFromScale(int scale);  // 4 -> 3, 8 -> 2, 16 -> 1, anything else 0
int ScaleFromTag(int tag);           // 1..4 -> 32, 16, 8, 4; 0 for others
int ScaleTag(int scale);             // 32, 16, 8, 4 -> 1..4; 0 for others
inline constexpr int kToolPen = 2;   // canvas tools 0..5: select, zoom, pen, rectangle, ellipse, fill

// --- enabling ---

// Everything the enabling rules look at.
struct TMainState {
    bool ProjectOpen = false;
    bool Changed = false;         // the open map or the map tree has unsaved changes
    int Mode = kModeLower;
    int Scale = 32;
    int Tool = kToolPen;
    int UndoCount = 0;
    bool DragInProgress = false;  // the canvas holds the mouse for a stroke or a region
    bool FullScreen = true;
    bool ShowTitle = false;
    // Which of the windows and functions behind actions exist in this build.
    bool HasPackDialog = false;
    bool HasDataBaseEditor = false;
    bool HasMaterialManager = false;
    bool HasMusicSelector = false;
    bool HasTestPlay = false;
};

struct TActionState {
    bool Enabled = false;
    bool Checked = false;
    bool operator==(const TActionState&) const = default;
};
using TActionStates = std::array<TActionState, kMainActionCount>;

// The enabled and checked state of every action.
TActionStates ComputeActionStates(const TMainState& state);

// --- status bar ---

inline constexpr int kStatusPanelWidths[3] = {320, 144, 50};
// Panel 2: the map name, the cursor cell "(%.3d,%.3d)" when the cursor lies inside the map, and
// in the event mode the event description of that cell.
std::string CursorPanelText(const std::string& mapName, int x, int y, bool inside, bool eventMode,
                            const std::string& eventDescription);
// The name shown for a node of the tree: a map's own name, an area's parent map's name, else "".
std::string MapNameForNode(const TKelMapTree& tree, std::int32_t id);

// --- window placement (rectangles with exclusive right and bottom edges) ---


inline constexpr int kMainMinWidth = 720;
inline constexpr int kMainMinHeight = 573;
inline constexpr int kMainDefaultWidth = 800;
inline constexpr int kMainDefaultHeight = 600;
inline constexpr const char* kPlacementValueName = "FormKelMain_Placement";

// The placement record and its clamping live with the form placement memory (controls/FormMemory.h);
// the main window clamps to its own minimum size.
TRect ClampToScreen(TRect window, const TRect& screen, int minWidth = kMainMinWidth,
                    int minHeight = kMainMinHeight);

// --- start-up ---

inline constexpr const char* kApplicationTitle = "Quillon";
inline constexpr const char* kShortOfMemory = "It is short of memory";
inline constexpr int kSplashMillis = 2500;
// How often the open map's unsaved changes go to its working copy.
inline constexpr int kWorkingCopyMillis = 60000;
// The start-up checks themselves are RunStartupChecks (StartupChecks.h).

// The program's command line.
struct TCommandLine {
    bool Help = false;
    bool Version = false;
    std::string Folder;  // a project folder to open, or ""
    std::string Error;   // an unknown option or a second folder
};
TCommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// A project folder as the open dialog gives it: the base path (ending in '/') and the folder
// name. A relative folder is taken from the current directory; trailing '/' are ignored.
struct TProjectLocation {
    std::string BasePath;
    std::string FolderName;
};
std::optional<TProjectLocation> SplitProjectFolder(const std::string& folder);

// The help page of a context: help/<context>.html beside the executable when it exists, else
// help/index.html when that exists, else "".
std::string HelpPageFor(const std::string& appPath, const std::string& context);

// --- the children the main window drives ---

// The map tree window as the main window uses it.
class IMapTreeHost {
public:
    virtual ~IMapTreeHost() = default;
    // The open map or the map tree has unsaved changes.
    virtual bool IsChanged() const = 0;
    // Saves every changed map and the tree; raises when a file cannot be written.
    virtual void SaveAll() = 0;
    // Reloads the tree from the project folder, and with it the map shown.
    virtual void Reload() = 0;
    // Shows the tree of a project that was just opened.
    virtual void Fill() = 0;
    // Empties the view (project closed).
    virtual void Clear() = 0;
    // The canvas's visible client size, used to place new maps.
    virtual void SetCanvasSize(int /*width*/, int /*height*/) {}
    // Writes the open map's working copy when it has unsaved changes; true when it wrote one.
    virtual bool SaveWorkingCopy() = 0;
};

// The map canvas as the main window uses it.
class IMapCanvasHost {
public:
    virtual ~IMapCanvasHost() = default;
    virtual void SetMode(int mode) = 0;    // 0 lower, 1 upper, 2 event
    virtual void SetScale(int scale) = 0;  // 32, 16, 8, 4
    virtual void SetTool(int tool) = 0;    // 0..5
    virtual void Undo() = 0;
    virtual int UndoCount() const = 0;
    virtual void ClearUndo() = 0;
    virtual void ClearSelection() = 0;
    virtual void Refresh() = 0;
    virtual bool DragInProgress() const = 0;
    // No project: nothing to show or edit.
    virtual void CloseProject() = 0;
    // The application lost the focus (a drag in progress ends).
    virtual void ApplicationDeactivated() {}
    // Forgets the cached character graphics (a project opens, resources were imported); the
    // second form also loads those of the map's event pages again.
    virtual void ClearCharacterCache(bool /*reloadEvents*/) {}
};

// The chip palette as the main window uses it.
class IChipPaletteHost {
public:
    virtual ~IChipPaletteHost() = default;
    virtual void Reload() = 0;
    virtual void SetMode(int mode) = 0;
    virtual void ClearHighlight() = 0;
    virtual void CloseProject() = 0;
    virtual void ApplicationDeactivated() {}
};

// A tree host straight on the project's data, used until the map tree window is attached: the
// open map and the tree's working copies are what changed.
class TProjectMapTreeHost final : public IMapTreeHost {
public:
    explicit TProjectMapTreeHost(TProjectData& data) : mData(data) {}
    bool IsChanged() const override;
    void SaveAll() override;
    void Reload() override;
    void Fill() override {}
    void Clear() override {}
    bool SaveWorkingCopy() override;

    // Forgets a failed save (project closed or reloaded).
    void Reset() { mSaveFailed = false; }

private:
    TProjectData& mData;
    bool mSaveFailed = false;
};

// What a test play is started with.
struct TTestPlayRequest {
    std::string ProjectPath;
    bool ShowTitle = false;
    bool FullScreen = true;
    // "Test Play from Here": the map and cell the game starts on; none for the party's start.
    std::optional<TTestPlayStart> Start;
};

// --- the main window's model ---

class TMainWindowModel {
public:
    TMainWindowModel(TProjectManager& manager, TProjectData& data);
    ~TMainWindowModel();
    TMainWindowModel(const TMainWindowModel&) = delete;
    TMainWindowModel& operator=(const TMainWindowModel&) = delete;

    // The children (not owned; nullptr detaches). Without a tree host the model works on the
    // project's data directly.
    void SetMapTree(IMapTreeHost* tree);
    void SetCanvas(IMapCanvasHost* canvas);
    void SetChipPalette(IChipPaletteHost* palette);

    // Functions behind actions that live elsewhere; an action whose function is not set is
    // disabled.
    std::function<void()> ShowNewDialog;
    std::function<void()> ShowOpenDialog;
    std::function<void()> ShowPackDialog;
    std::function<void()> OpenDataBaseEditor;
    std::function<void()> OpenMaterialManager;
    std::function<void()> OpenMusicSelector;
    // The test play itself, save prompt included (it asks MapsChanged and SaveMaps).
    std::function<void(const TTestPlayRequest&)> TestPlayRunner;
    std::function<void()> ShowHelp;
    std::function<void()> ShowAbout;
    std::function<void()> CloseWindow;
    // The event manager's description of an event-layer cell (status panel 2).
    std::function<std::string(int x, int y)> DescribeEventCell;
    // Called whenever a status panel's text changed.
    std::function<void()> OnStatusChanged;
    // Called after the database editor or the material manager closed.
    std::function<void()> OnDataChanged;
    // Shows a message or question of the model in the window's language and answers the
    // button; unset, the text goes to the message box as it is.
    std::function<int(const TFilledText& text, int flags)> ShowText;

    // The working folder's lock file, kept up to date with the open project (not owned; none
    // while the window does not manage the working folder).
    TWorkLock* WorkLock = nullptr;
    // Work an editor that did not end normally left, offered back when its project opens.
    std::optional<TLeftWork> LeftWork;
    // While set, an opening project does not offer LeftWork yet (the window does it once shown).
    bool HoldLeftWork = false;
    // Asks whether the open project takes back the work left for it (when there is any) and
    // shows the recovered maps as changed.
    void OfferLeftWork();

    // The state the enabling rules look at, and their answer.
    TMainState State() const;
    TActionStates ActionStates() const { return ComputeActionStates(State()); }

    // Runs an action's handler (also when it is disabled; the window only calls enabled ones).
    void Execute(TMainAction action);

    // The project manager's events.
    void HandleNewProject(const std::string& title, bool& success);
    void HandleOpenProject(bool& success);
    void HandleCloseProject();

    // The save query of "Close project" and of closing the window: true when closing may go on.
    // Always records the editing mode and zoom in "GMK_RT.ini" of an open project.
    bool ConfirmCloseProject();
    // The prompt before packing: true when the maps are saved (or unchanged).
    bool SaveChangedMaps();
    // For the test play's host: whether the open map or the tree changed, and saving them
    // (a failure is shown; answers whether the save went through).
    bool MapsChanged() const { return Tree().IsChanged(); }
    bool SaveMaps() { return SaveAllReported(); }

    void MapSave();
    void MapRevert();
    // The timed save of the working copy: the open map's unsaved changes go to its working copy,
    // so that a crash loses at most what was done since. Not while the canvas holds the mouse.
    // True when a copy was written.
    bool SaveWorkingCopy();
    void SetMode(int mode);    // editing mode 0..2
    void SetScale(int scale);  // 32, 16, 8, 4
    void SetTool(int tool);    // 0..5
    void ProjectClose();
    void TestPlay();
    // "Test Play from Here": the test play of F9, starting on cell (x, y) of the map shown.
    // Nothing happens for a cell outside that map.
    void TestPlayFrom(int x, int y);

    // Callbacks of the children.
    void HandleMapSelected(std::int32_t id);
    void HandleCursorMoved(int x, int y, bool inside);
    // The pointer went to another window than the canvas: outside the event mode and unless the
    // canvas holds the mouse for a drag, the cursor cell is forgotten (-1, -1) and panel 2 shows
    // no coordinates, also after the map changes.
    void HandlePointerLeftCanvas();
    void HandleLayerModeSync(int canvasMode);
    void HandleScaleChanged(int scale);
    void HandleEditorResize(int width, int height);
    // The application lost the focus: the canvas and the palette are told.
    void HandleDeactivate();

    // Opens a project folder as the open dialog does: stores the base path, then opens the
    // folder by name. False when the folder does not name one.
    bool OpenProjectFolder(const std::string& folder);
    // Makes a folder (which must not exist yet, in an existing parent) and creates a project in
    // it. Raises EProjectError on failure.
    void NewProjectAt(const std::string& folder, const std::string& title);

    int Mode() const { return mMode; }
    int Scale() const { return mScale; }
    int Tool() const { return mTool; }
    bool TestFullScreen() const { return mTestFullScreen; }
    bool TestShowTitle() const { return mTestShowTitle; }
    void SetTestFullScreen(bool on) { mTestFullScreen = on; }
    void SetTestShowTitle(bool on) { mTestShowTitle = on; }
    const std::string& CurrentMapName() const { return mCurrentMapName; }
    // The status panels' texts (bytes in the editor's code page).
    const std::string& StatusText(int panel) const { return mStatus.at(panel); }
    void SetHint(const std::string& hint);

    // The test-play options from the settings, and back.
    void LoadSettings();
    void SaveSettings() const;

    TProjectManager& Manager() { return mManager; }
    TProjectData& Data() { return mData; }

private:
    IMapTreeHost& Tree();
    const IMapTreeHost& Tree() const;
    void SetStatus(int panel, const std::string& text);
    void WriteEditState();
    // Saves through the tree host; a failure is shown, not raised, and answers false.
    bool SaveAllReported();
    // After a tool window changed the database or the pictures: the map, canvas and palette show it.
    void ShowChangedData();
    int Show(const TFilledText& text, int flags);

    TProjectManager& mManager;
    TProjectData& mData;
    TProjectLock mProjectLock;  // held while a project is open
    TProjectMapTreeHost mDefaultTree;
    IMapTreeHost* mTree = nullptr;
    IMapCanvasHost* mCanvas = nullptr;
    IChipPaletteHost* mPalette = nullptr;
    int mMode = kModeLower;
    int mScale = 32;
    int mTool = kToolPen;
    bool mTestFullScreen = true;
    bool mTestShowTitle = false;
    std::string mCurrentMapName;
    int mCursorX = -1;
    int mCursorY = -1;
    bool mCursorInside = false;
    bool mProjectShown = false;  // a project's data is loaded (from its open handler on)
    std::array<std::string, 3> mStatus;
};

}  // namespace quillon
