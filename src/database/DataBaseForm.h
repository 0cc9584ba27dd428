// The rules of the database editor's frame, without a window: the thirteen tabs (the last one
// shown is remembered for the run), Ctrl+Tab wrapping, Apply's enabling, saving the database
// file and reading it back when the window closes. Closing in any way (OK, Cancel, Escape, the
// close box) asks nothing: the read-back discards every change that OK or Apply did not write.
//
// Saving never loses an edit: a failed save keeps the window open with Apply enabled. The read
// on close goes into a scratch database first and replaces the live one only when the whole
// file was read; otherwise the failure is reported and the database stays as it is in memory.
#pragma once

#include "database/DataBasePage.h"
#include "platform/Signal.h"

#include <string>

namespace quillon {

class TKelDataBase;

inline constexpr const char* kDataBaseReloadFailure =
    "The database file could not be read again, so the database keeps the contents it has in memory:";

// Reads the database file at `path` into a scratch database; when that succeeds, the live
// database takes its contents (the same objects stay, so pointers into it stay valid) and true
// is answered. A file that was already damaged when the live database read it reads back as far
// as it is sound, as it did then. On failure `error` says why and `live` is untouched.
bool ReloadDataBase(TKelDataBase& live, const std::string& path, std::string& error);

// Every save of the database by the editor: writes projectPath + "GMK_RT.kdb". When the file
// was damaged as it was read, first asks (Yes/No) whether to replace it, telling what could not
// be read; No writes nothing and answers false, Yes keeps the damaged file as
// "GMK_RT.kdb.damaged". Write failures raise.
bool SaveDataBaseAsking(TKelDataBase& database, const std::string& projectPath);

class TDataBaseFormModel {
public:
    explicit TDataBaseFormModel(const TDataBaseContext& context);
    // Remembers the tab for the next opening.
    ~TDataBaseFormModel();
    TDataBaseFormModel(const TDataBaseFormModel&) = delete;
    TDataBaseFormModel& operator=(const TDataBaseFormModel&) = delete;

    const TDataBaseContext& Context() const { return mContext; }
    std::string FilePath() const;

    // The tab shown: -1 until the window opens.
    int Tab() const { return mTab; }
    // The window opened: the remembered tab.
    int Open();
    // Another tab (clamped into the tabs); answers it.
    int SelectTab(int tab);
    // Ctrl+Tab and Shift+Ctrl+Tab: after the last comes the first, before the first the last.
    int NextTab();
    int PreviousTab();
    // "&Help": the tab's context, 0 with no tab.
    int HelpContext() const;

    bool ApplyEnabled() const { return mApplyEnabled; }
    // A page changed the database.
    void PageModified();
    // The tab or Apply's state changed.
    TSignal<> Changed;

    // "&Apply" (and the save of "&OK"): writes the database file (SaveDataBaseAsking); a failure
    // is shown, and a failure or a No to replacing a damaged file keeps Apply enabled and
    // answers false.
    bool Apply();
    // After the window closed: reads the file back (see ReloadDataBase); a failure is shown.
    bool Reload();

private:
    TDataBaseContext mContext;
    int mTab = -1;
    bool mApplyEnabled = false;
};

}  // namespace quillon
