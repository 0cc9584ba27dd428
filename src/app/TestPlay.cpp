#include "app/TestPlay.h"

#include "audio/AudioHarmony.h"
#include "audio/PreviewMusic.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_System.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quillon {

std::string StartPlaceText(const TTestPlayStart& start) {
    return std::to_string(start.MapId) + "," + std::to_string(start.X) + "," + std::to_string(start.Y);
}

std::optional<TTestPlayStart> ParseStartPlace(std::string_view text) {
    std::int32_t numbers[3] = {};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (at == end || *at != ',')
                return std::nullopt;
            ++at;
        }
        // Digits only: no sign, no blank.
        if (at == end || *at < '0' || *at > '9')
            return std::nullopt;
        const auto [next, error] = std::from_chars(at, end, numbers[i]);
        if (error != std::errc())
            return std::nullopt;
        at = next;
    }
    if (at != end || numbers[0] < 1)
        return std::nullopt;
    return TTestPlayStart{numbers[0], numbers[1], numbers[2]};
}

TRuntimeCommand TestPlayCommand(const std::string& projectPath, bool showTitle, bool fullScreen,
                                const std::optional<TTestPlayStart>& start) {
    TRuntimeCommand command{projectPath + kRuntimeFileName,
                            {"TestPlay", showTitle ? "ShowTitle" : "HideTitle", fullScreen ? "FullScreen" : "Window"}};
    if (start) {
        command.Arguments.push_back("--start");
        command.Arguments.push_back(StartPlaceText(*start));
    }
    return command;
}

TRuntimeCommand BattleTestCommand(const std::string& projectPath, bool fullScreen, std::int32_t troopId) {
    return {projectPath + kRuntimeFileName,
            {"BattleTest", "HideTitle", fullScreen ? "FullScreen" : "Window", std::to_string(troopId)}};
}

std::string CommandLineText(const TRuntimeCommand& command) {
    std::string text = "\"" + command.Program + "\"";
    for (const std::string& argument : command.Arguments)
        text += " " + argument;
    return text;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

TRuntimeCommand ResolveRuntimeLauncher(const TRuntimeCommand& command, const std::string& launcher) {
    // A runtime that is not there at all is not handed to the launcher: its start fails as such.
    if (IsExecutableFile(command.Program) || !FileExists(command.Program))
        return command;
    std::istringstream words(launcher);
    std::vector<std::string> parts;
    for (std::string word; words >> word;)
        parts.push_back(word);
    if (parts.empty())
        return command;
    TRuntimeCommand resolved{parts.front(), {}};
    resolved.Arguments.assign(parts.begin() + 1, parts.end());
    resolved.Arguments.push_back(command.Program);
    resolved.Arguments.insert(resolved.Arguments.end(), command.Arguments.begin(), command.Arguments.end());
    return resolved;
}

// --- the process layer without Qt ---

TPosixRuntimeProcess::~TPosixRuntimeProcess() {
    // A process that was started and never waited for is reaped here so that it leaves no zombie.
    if (mPid > 0)
        ::waitpid(mPid, nullptr, 0);
}

bool TPosixRuntimeProcess::Start(const TRuntimeCommand& command) {
    if (mPid > 0)
        return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(command.Program.c_str()));
    for (const std::string& argument : command.Arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Nothing is read from or written to the runtime: its standard streams go to /dev/null so
    // that it can never block on a full pipe.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return false;
    mPid = pid;
    mExitStatus = -1;
    return true;
}

void TPosixRuntimeProcess::WaitForEnd(const std::string&) {
    if (mPid <= 0)
        return;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(mPid, &status, 0);
    } while (done < 0 && errno == EINTR);
    mExitStatus = done == mPid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    mPid = -1;
}

// --- the audio front around the runtime ---

void TAudioFrontHost::FreeAudio() {
    audio::PreviewMusicName() = kSoundOff;
    audio::AudioFree();
}

void TAudioFrontHost::CreateAudio() {
    audio::AudioCreate();
    audio::AudioOpenWave();
}

namespace {

// Re-creates the audio front when the scope ends, also on error.
class TAudioRestorer {
public:
    explicit TAudioRestorer(ITestPlayHost& host) : mHost(host) {}
    ~TAudioRestorer() {
        try {
            mHost.CreateAudio();
        } catch (...) {
        }
    }
    TAudioRestorer(const TAudioRestorer&) = delete;
    TAudioRestorer& operator=(const TAudioRestorer&) = delete;

private:
    ITestPlayHost& mHost;
};

}  // namespace

bool SaveMapsBeforeRuntime(ITestPlayHost& host) {
    if (host.MapsChanged()) {
        if (ShowMessageBox(kSaveMapsQuestion, mbYesNo | mbIconWarning) != mrYes)
            return false;
        host.SaveMaps();
        if (host.MapsChanged())
            return false;
    }
    host.UpdateActions();
    return true;
}

TTestPlayResult RunTestPlay(const std::string& projectPath, bool showTitle, bool fullScreen,
                            ITestPlayHost& host, IRuntimeProcess& process,
                            const std::optional<TTestPlayStart>& start) {
    if (!SaveMapsBeforeRuntime(host))
        return TTestPlayResult::NotSaved;

    TTestPlayResult result = TTestPlayResult::Played;
    {
        TAudioRestorer restorer(host);
        host.FreeAudio();
        const TRuntimeCommand command = TestPlayCommand(projectPath, showTitle, fullScreen, start);
        const TRuntimeCommand started = ResolveRuntimeLauncher(command, GetRuntimeLauncher());
        if (process.Start(started))
            process.WaitForEnd(kTestPlayWaitCaption);
        else
            result = TTestPlayResult::StartFailed;
    }
    if (result == TTestPlayResult::StartFailed)
        ShowError(kTestPlayFailure);
    return result;
}

// --- battle test ---

std::string BattleTestFolder() {
    return MapWorkFolder() + "BattleTest/";
}

namespace {

void WriteTestParty(TKelDataBase& dataBase, const std::vector<TBattleTestMember>& party) {
    TKelTestPlayer& list = dataBase.System.TestPlayer;
    list.Clear();
    for (const TBattleTestMember& member : party) {
        TKelTestPlayerItem& item = list.Append();
        item.HeroId = member.HeroId;
        item.Level = member.Level;
        for (int slot = 0; slot < TKelTestPlayerItem::kEquipmentSlots; ++slot)
            item.SetEquipment(slot, member.Equipment[slot]);
    }
}

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

// Keeps a backup whose restore failed where the user can find it again: beside the project's
// database when that can be written, else in a folder of the working folder of its own (a later
// battle test empties "BattleTest").
std::string KeepBackup(const std::string& backup, const std::string& projectPath) {
    // A backup kept by an earlier failure may be the only good copy: it is never overwritten.
    const std::string base = projectPath + std::string(TKelDataBase::kFileName) + ".backup";
    for (int n = 1; n < 100; ++n) {
        const std::string besideProject = n == 1 ? base : base + std::to_string(n);
        std::error_code error;
        if (std::filesystem::exists(besideProject, error))
            continue;
        try {
            WriteFileAtomic(besideProject, ReadWholeFile(backup));
            return besideProject;
        } catch (const std::exception&) {
        }
        break;
    }
    const std::string keptBase = MapWorkFolder() + "BattleTest-kept-";
    for (int n = 1; n < 1000; ++n) {
        const std::string folder = keptBase + std::to_string(n) + "/";
        std::error_code error;
        if (std::filesystem::exists(folder, error))
            continue;
        std::filesystem::rename(BattleTestFolder(), folder, error);
        if (!error)
            return folder + TKelDataBase::kFileName;
        break;
    }
    return backup;
}

}  // namespace

TBattleTestOutcome RunBattleTest(TKelDataBase& dataBase, const std::vector<TBattleTestMember>& party,
                                 std::int32_t troopId, bool fullScreen, const std::string& projectPath,
                                 ITestPlayHost& host, IRuntimeProcess& process, const std::string& waitCaption) {
    WriteTestParty(dataBase, party);

    // The working folder is checked before use: one that is not safe to write stops the test
    // before anything of the project changes.
    std::string folder;
    try {
        folder = BattleTestFolder();
        DeleteFolderTree(folder);
    } catch (const std::exception&) {
        ShowError(kBattleBackupFailure);
        return {TBattleTestResult::BackupFailed, {}};
    }
    const std::string projectFile = projectPath + TKelDataBase::kFileName;
    const std::string backup = folder + TKelDataBase::kFileName;
    const bool hadFile = FileExists(projectFile);
    bool backedUp = false;
    if (hadFile) {
        try {
            if (!MakeFolder(folder))
                throw EFileError("Cannot create \"" + folder + "\"");
            WriteFileAtomic(backup, ReadWholeFile(projectFile));
            backedUp = true;
        } catch (const std::exception&) {
            ShowError(kBattleBackupFailure);
            DeleteFolderTree(folder);
            return {TBattleTestResult::BackupFailed, {}};
        }
    }

    // Puts the project's database back as it was; empty on success, else the reason.
    auto restore = [&]() -> std::string {
        try {
            if (backedUp) {
                WriteFileAtomic(projectFile, ReadWholeFile(backup));
            } else if (!hadFile) {
                std::error_code error;
                std::filesystem::remove(projectFile, error);
                if (error)
                    throw EFileError("Cannot delete \"" + projectFile + "\": " + error.message());
            }
            return {};
        } catch (const std::exception& e) {
            return e.what()[0] ? e.what() : "unknown error";
        }
    };

    TBattleTestOutcome outcome;
    std::string restoreError;
    {
        TAudioRestorer restorer(host);
        host.FreeAudio();
        try {
            dataBase.SaveToFile(projectFile);
            const TRuntimeCommand command =
                ResolveRuntimeLauncher(BattleTestCommand(projectPath, fullScreen, troopId), GetRuntimeLauncher());
            if (process.Start(command))
                process.WaitForEnd(waitCaption);
            else
                outcome.Result = TBattleTestResult::StartFailed;
        } catch (...) {
            // The restore runs whatever happened; the error is passed on afterwards. The backup
            // stays where it is when the restore failed.
            if (restore().empty())
                DeleteFolderTree(folder);
            throw;
        }
        restoreError = restore();
    }

    if (outcome.Result == TBattleTestResult::StartFailed)
        ShowError(kBattleStartFailure);
    if (!restoreError.empty()) {
        outcome.Result = TBattleTestResult::RestoreFailed;
        if (backedUp) {
            outcome.KeptBackup = KeepBackup(backup, projectPath);
            ShowError("The database \"" + projectFile + "\" could not be restored after the battle test (" +
                      restoreError + ").\nIts backup is kept in \"" + outcome.KeptBackup + "\".");
        } else {
            ShowError("The database \"" + projectFile + "\" written for the battle test could not be deleted (" +
                      restoreError + ").");
        }
    }
    // The backup has served once the restore succeeded (or it was moved away above).
    if (outcome.Result != TBattleTestResult::RestoreFailed || outcome.KeptBackup != backup)
        DeleteFolderTree(folder);
    return outcome;
}

std::vector<TBattleTestMember> StoredTestParty(const TKelDataBase& dataBase) {
    std::vector<TBattleTestMember> party;
    for (int i = 0; i < dataBase.System.TestPlayer.Count(); ++i) {
        const TKelTestPlayerItem& item = *dataBase.System.TestPlayer.Items(i);
        TBattleTestMember member;
        member.HeroId = item.HeroId;
        member.Level = item.Level;
        for (int slot = 0; slot < TKelTestPlayerItem::kEquipmentSlots; ++slot)
            member.Equipment[slot] = item.Equipment(slot);
        party.push_back(member);
    }
    return party;
}

std::function<bool(TKelDataBase&, std::int32_t)> EditorBattleTestRunner(std::shared_ptr<ITestPlayHost> host,
                                                                        TRuntimeProcessMaker makeProcess) {
    return [host = std::move(host), makeProcess = std::move(makeProcess)](TKelDataBase& dataBase,
                                                                          std::int32_t troopId) {
        std::unique_ptr<IRuntimeProcess> process =
            makeProcess ? makeProcess() : std::make_unique<TPosixRuntimeProcess>();
        return RunBattleTest(dataBase, StoredTestParty(dataBase), troopId, GetFullScreenFlag(), ProjectPath(), *host,
                             *process)
                   .Result == TBattleTestResult::Played;
    };
}

}  // namespace quillon
