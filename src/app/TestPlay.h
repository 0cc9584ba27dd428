// Test play and battle test: the game runtime's command line, its start and the wait for its
// end, and what the editor does around it (saving maps, freeing the audio devices, the battle
// test's database backup and restore).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TKelDataBase;

inline constexpr const char* kRuntimeFileName = "GMK_RT.exe";
inline constexpr const char* kTestPlayWaitCaption = "Test Play - Close";
inline constexpr const char* kBattleTestCaption = "Monster Group Battle Test";
inline constexpr const char* kSaveMapsQuestion = "Maps were changed. Save them?";
inline constexpr const char* kTestPlayFailure = "Initialization failed. Test play impossible";
inline constexpr const char* kBattleBackupFailure = "File preparation fault. Can't Test Battle.";
inline constexpr const char* kBattleStartFailure = "Process Preparation Fault. Can't Test Battle.";

// A program and its arguments, started directly (never through a shell).
struct TRuntimeCommand {
    std::string Program;
    std::vector<std::string> Arguments;
    bool operator==(const TRuntimeCommand&) const = default;
};

// A map cell where a test play begins instead of the party's start ("Test Play from Here").
struct TTestPlayStart {
    std::int32_t MapId = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TTestPlayStart&) const = default;
};

// The start place as the runtime takes it after "--start": "MAP,X,Y" in decimal.
std::string StartPlaceText(const TTestPlayStart& start);
// Reads "MAP,X,Y" (a map ID from 1, a column and a row from 0); nothing for anything else.
std::optional<TTestPlayStart> ParseStartPlace(std::string_view text);

// The runtime's arguments for a test play: TestPlay, ShowTitle|HideTitle, FullScreen|Window;
// with a start place "--start" and "MAP,X,Y" after them. Program is projectPath + "GMK_RT.exe".
TRuntimeCommand TestPlayCommand(const std::string& projectPath, bool showTitle, bool fullScreen,
                                const std::optional<TTestPlayStart>& start = std::nullopt);
// For a battle test: BattleTest, HideTitle, FullScreen|Window, the troop ID.
TRuntimeCommand BattleTestCommand(const std::string& projectPath, bool fullScreen, std::int32_t troopId);
// The one-line form for logs and messages: the quoted program, then each argument after a blank.
std::string CommandLineText(const TRuntimeCommand& command);
// The command as it is really started: unchanged when the program is an executable file here
// (or no file at all); otherwise, with a launcher setting (e.g. "wine", split at blanks), the launcher's words with
// the program and its arguments after them.
TRuntimeCommand ResolveRuntimeLauncher(const TRuntimeCommand& command, const std::string& launcher);
bool IsExecutableFile(const std::string& path);

// Starting the runtime and waiting for it to end.
class IRuntimeProcess {
public:
    virtual ~IRuntimeProcess() = default;
    // Starts the program with its arguments in the current directory; its output is discarded.
    // False when it could not be started.
    virtual bool Start(const TRuntimeCommand& command) = 0;
    // Blocks until the started process has ended (the editor shows its wait window captioned
    // `caption` meanwhile). Returns at once when it has already ended.
    virtual void WaitForEnd(const std::string& caption) = 0;
};

// The process layer without Qt: posix_spawn and waitpid, output to /dev/null.
class TPosixRuntimeProcess final : public IRuntimeProcess {
public:
    ~TPosixRuntimeProcess() override;
    bool Start(const TRuntimeCommand& command) override;
    void WaitForEnd(const std::string& caption) override;
    // Exit status of the last process waited for (-1 when it did not end normally).
    int ExitStatus() const { return mExitStatus; }

private:
    int mPid = -1;
    int mExitStatus = -1;
};

// What the test play needs of the editor around it.
class ITestPlayHost {
public:
    virtual ~ITestPlayHost() = default;
    // The open map or the map tree has unsaved changes.
    virtual bool MapsChanged() = 0;
    // Saves every changed map and the tree (errors are the host's to show).
    virtual void SaveMaps() = 0;
    // Recomputes the enabling of the actions.
    virtual void UpdateActions() {}
    // Sets the previewed music to "(OFF)" and frees the audio front.
    virtual void FreeAudio() = 0;
    // Re-creates the audio front and opens its wave output.
    virtual void CreateAudio() = 0;
};

// The host's audio part over the program-wide audio front (no maps: for the command line and
// the battle test).
class TAudioFrontHost : public ITestPlayHost {
public:
    bool MapsChanged() override { return false; }
    void SaveMaps() override {}
    void FreeAudio() override;
    void CreateAudio() override;
};

// A host made of functions, for owners that would rather not derive a class. The audio front
// is freed and re-created as TAudioFrontHost does unless OnFreeAudio / OnCreateAudio are set.
class TFunctionTestPlayHost final : public TAudioFrontHost {
public:
    std::function<bool()> OnMapsChanged;
    std::function<void()> OnSaveMaps;
    std::function<void()> OnUpdateActions;
    std::function<void()> OnFreeAudio;
    std::function<void()> OnCreateAudio;
    bool MapsChanged() override { return OnMapsChanged && OnMapsChanged(); }
    void SaveMaps() override { if (OnSaveMaps) OnSaveMaps(); }
    void UpdateActions() override { if (OnUpdateActions) OnUpdateActions(); }
    void FreeAudio() override { OnFreeAudio ? OnFreeAudio() : TAudioFrontHost::FreeAudio(); }
    void CreateAudio() override { OnCreateAudio ? OnCreateAudio() : TAudioFrontHost::CreateAudio(); }
};


// The save prompt before the runtime starts or a game disk is made: when maps changed, asks
// "Maps were changed. Save them?" (Yes/No, warning icon); Yes saves them. Answers whether to go
// on: false after No, or when changes remain after saving. Then recomputes the actions.
bool SaveMapsBeforeRuntime(ITestPlayHost& host);

enum class TTestPlayResult {
    Played,        // the runtime ran and ended
    NotSaved,      // the user declined to save, or saving left changes: nothing started
    StartFailed,   // the runtime could not be started ("Initialization failed...")
};

// The whole test play: save prompt, audio freed, runtime started from projectPath (at `start`
// when given) and waited for, audio re-created in every case (also on error). Messages go
// through the message box.
TTestPlayResult RunTestPlay(const std::string& projectPath, bool showTitle, bool fullScreen,
                            ITestPlayHost& host, IRuntimeProcess& process,
                            const std::optional<TTestPlayStart>& start = std::nullopt);

// One party member of a battle test: hero, level and equipment in slot order weapon, shield,
// armor, helmet, accessory.
struct TBattleTestMember {
    std::int32_t HeroId = 1;
    std::int32_t Level = 1;
    std::int32_t Equipment[5] = {0, 0, 0, 0, 0};
};

enum class TBattleTestResult {
    Played,
    BackupFailed,   // "File preparation fault...": nothing started
    StartFailed,    // "Process Preparation Fault..."
    RestoreFailed,  // the project's database could not be put back; the backup was kept
};

struct TBattleTestOutcome {
    TBattleTestResult Result = TBattleTestResult::Played;
    // Where the backup of the database was kept when it could not be restored.
    std::string KeptBackup;
};

// The battle-test working folder: the editor's working folder + "BattleTest/".
std::string BattleTestFolder();

// The battle test: writes the party into the database's test party, backs up the project's
// "GMK_RT.kdb", saves the in-memory database there, runs the runtime with the troop and waits,
// then restores the file (or deletes it when there was none). The backup is deleted only once
// the restore succeeded; otherwise the user is told where it was kept.
TBattleTestOutcome RunBattleTest(TKelDataBase& dataBase, const std::vector<TBattleTestMember>& party,
                                 std::int32_t troopId, bool fullScreen, const std::string& projectPath,
                                 ITestPlayHost& host, IRuntimeProcess& process,
                                 const std::string& waitCaption = kBattleTestCaption);

// The system record's test party as the battle test takes it.
std::vector<TBattleTestMember> StoredTestParty(const TKelDataBase& dataBase);

// The editor's battle test for the troop page: the party the page wrote into the system record,
// the open project and the full-screen setting as they are when the test starts, a process made
// for each test (none: TPosixRuntimeProcess). True when the runtime ran.
using TRuntimeProcessMaker = std::function<std::unique_ptr<IRuntimeProcess>()>;
std::function<bool(TKelDataBase& dataBase, std::int32_t troopId)> EditorBattleTestRunner(
    std::shared_ptr<ITestPlayHost> host, TRuntimeProcessMaker makeProcess = {});

}  // namespace quillon
