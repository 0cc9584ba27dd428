// The editor's main window: menus, tool bars and the status bar over the main window's model, the
// docks of the chip palette, the map tree and the map canvas, and the working folder, placement
// and audio front it owns.
#pragma once

#include "app/MainUnit.h"

#include "platform/Signal.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QTimer;

namespace Ui {
class FormKelMain;
}

namespace quillon {

namespace audio {
class TQtAudioHost;
}
class TProjectData;
class TProjectManager;
class TFormMapEditor;
class TFormChipSelector;
class TFormMapTree;
class TMapTreeModel;
class TMapTreeDialogs;
class TKelChipSetGraphic;
class TKelCharSetGraphic;
class IRuntimeProcess;
class TKelEventManager;
class TEventManagerDialogsQt;

// Registers the editor's icons and pictures (called by the main window; harmless when repeated).
void InitResources();

struct TFormKelMainOptions {
    bool Audio = true;          // create the audio front (tests go without)
    bool WorkingFolder = true;  // wipe and re-create the working folder (needs the instance lock)
};

class TFormKelMain : public QMainWindow {
    Q_OBJECT
public:
    // Creation steps up to the placement; the project opens in Start.
    explicit TFormKelMain(TFormKelMainOptions options = {}, QWidget* parent = nullptr);
    ~TFormKelMain() override;

    // Opens the project folder given on the command line (as the open dialog would), or else the
    // project that was open last; then shows the window kept within the screen.
    void Start(const std::string& folder = {});

    TMainWindowModel& Model() { return *mModel; }
    TProjectManager& Manager() { return *mManager; }
    TProjectData& Data() { return *mData; }
    QAction* Action(TMainAction action) const { return mActions[static_cast<std::size_t>(action)]; }
    QLabel* StatusPanel(int panel) const { return mPanels.at(panel); }
    // The three panes the window creates and docks.
    TFormMapEditor* Canvas() const { return mCanvas; }
    TFormChipSelector* ChipPalette() const { return mPalette; }
    TFormMapTree* MapTreeWindow() const { return mTreeWindow; }
    TMapTreeModel& MapTreeModel() { return *mTreeModel; }
    TMapTreeDialogs& MapTreeDialogs() { return *mTreeDialogs; }
    // The event manager behind the canvas's event commands, and the windows it opens (the event
    // editor is installed there as OpenEditor).
    TKelEventManager& EventManager() { return *mEventManager; }
    TEventManagerDialogsQt& EventDialogs() { return *mEventDialogs; }
    // The runtime process of the next test plays (tests put their own; null: the Qt process).
    std::function<std::unique_ptr<IRuntimeProcess>()> MakeRuntimeProcess;

    // --- wiring points: the panes built elsewhere take the placeholders' places ---
    // The map canvas fills the client area; the chip palette sits in the upper, the map tree in
    // the lower part of the left panel. The window takes ownership of each widget.
    void SetCanvasWidget(QWidget* canvas);
    void SetChipPaletteWidget(QWidget* palette);
    void SetMapTreeWidget(QWidget* tree);

    // The audio front around a test play: freed before the runtime starts, re-created (with its
    // wave output) afterwards.
    bool FreeAudio();
    bool CreateAudio();

    // The enabling rules applied to the actions (also run whenever the application goes idle).
    void UpdateActions();
    // The status panels from the model.
    void UpdateStatusBar();

public slots:
    void Action_ProjectNewExecute();
    void Action_ProjectOpenExecute();
    void Action_HelpContentsExecute();
    void Action_HelpAboutExecute();
    void RaiseFromOtherInstance();
    // The working copy's timed save.
    void WorkingCopyTimerTimer();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenusAndToolBars();
    void CreateStatusBar();
    void ActionExecute(TMainAction action);
    void RestorePlacement();
    void SavePlacement();
    void CreatePanes();
    void RunTestPlayNow(const TTestPlayRequest& request);
    // Offers the work a killed editor left once the window shows and nothing covers it.
    void OfferLeftWorkWhenShown();
    // The chipset of the open map into the shared graphic (none without a map).
    void LoadMapChipSet();
    // A project's tree is loaded (from its open handler until it is closed).
    bool ProjectShown() const;
    std::string DescribeEventCell(int x, int y) const;

    class TCanvasHost;
    class TPaletteHost;
    class TTreeHost;

    TFormKelMainOptions mOptions;
    std::unique_ptr<Ui::FormKelMain> mUi;
    std::unique_ptr<TProjectData> mData;
    std::unique_ptr<TProjectManager> mManager;
    std::unique_ptr<TMainWindowModel> mModel;
    std::unique_ptr<audio::TQtAudioHost> mAudio;
    std::array<QAction*, kMainActionCount> mActions{};
    std::array<QLabel*, 3> mPanels{};
    std::string mTempFolder;
    std::unique_ptr<TWorkLock> mWorkLock;
    QTimer* mWorkingCopyTimer = nullptr;
    bool mPlacementRestored = false;
    std::unique_ptr<TKelChipSetGraphic> mChips;
    std::unique_ptr<TKelCharSetGraphic> mCharSets;
    std::unique_ptr<TMapTreeModel> mTreeModel;
    std::unique_ptr<TMapTreeDialogs> mTreeDialogs;
    TFormMapEditor* mCanvas = nullptr;
    TFormChipSelector* mPalette = nullptr;
    TFormMapTree* mTreeWindow = nullptr;
    std::unique_ptr<TCanvasHost> mCanvasHost;
    std::unique_ptr<TPaletteHost> mPaletteHost;
    std::unique_ptr<TTreeHost> mTreeHost;
    std::unique_ptr<TEventManagerDialogsQt> mEventDialogs;
    std::unique_ptr<TKelEventManager> mEventManager;
    std::vector<TConnection> mEventsHeard;
};

// The name the rest of the editor knows the main window by.
using TFormMain = TFormKelMain;

}  // namespace quillon
