// quillon-cli test-play and battle-test: start the project's game runtime as the editor does,
// print its command line and wait for it to end.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"
#include "app/cli/PageVerb.h"

#include "app/TestPlay.h"
#include "audio/AudioHarmony.h"
#include "audio/PreviewMusic.h"
#include "data/LD_DataBase.h"
#include "data/LD_System.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "project/PathUtils.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <cstdio>
#include <filesystem>

namespace quillon::cli {

namespace {

// Messages of the test play go to stderr; questions are not asked (nothing is edited here).
class TConsoleMessageBox final : public IMessageBox {
public:
    int Show(const std::string& text, int flags, const void*) override {
        std::fprintf(stderr, "quillon-cli: %s\n", text.c_str());
        LastText = text;
        return (flags & 0x0F) == mbOk ? mrOk : mrNo;
    }
    std::string LastText;
};

// The command line has no audio front to re-create: it frees whatever exists.
class TConsoleHost final : public ITestPlayHost {
public:
    bool MapsChanged() override { return false; }
    void SaveMaps() override {}
    void FreeAudio() override {
        audio::PreviewMusicName() = kSoundOff;
        audio::AudioFree();
    }
    void CreateAudio() override {}
};

// Prints the command line before the start.
class TPrintingProcess final : public IRuntimeProcess {
public:
    bool Start(const TRuntimeCommand& command) override {
        std::printf("%s\n", CommandLineText(command).c_str());
        std::fflush(stdout);
        return mProcess.Start(command);
    }
    void WaitForEnd(const std::string& caption) override { mProcess.WaitForEnd(caption); }

private:
    TPosixRuntimeProcess mProcess;
};

// Opens the folder as the editor opens a project: the project path and the current directory.
std::string EnterProject(const std::string& folderArg) {
    const std::string folder =
        IncludeTrailingDelimiter(std::filesystem::absolute(folderArg).lexically_normal().string());
    if (!FolderExists(folder) || !SetCurrentDir(folder))
        throw std::runtime_error("not a folder that can be entered");
    SetProjectPath(folder);
    return folder;
}

// "ID,LEVEL[,W,S,H,B,A]": weapon, shield, helmet, body armour, accessory.
bool ParseHero(const std::string& text, TBattleTestMember& member) {
    std::vector<std::int32_t> numbers;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        std::int32_t value = 0;
        if (!ReadNumberTo(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), value) ||
            value < 0)
            return false;
        numbers.push_back(value);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (numbers.size() != 2 && numbers.size() != 7)
        return false;
    if (numbers[0] < 1 || numbers[1] < 1)
        return false;
    member.HeroId = numbers[0];
    member.Level = numbers[1];
    if (numbers.size() == 7) {
        // The slots are stored weapon, shield, armor, helmet, accessory.
        member.Equipment[0] = numbers[2];
        member.Equipment[1] = numbers[3];
        member.Equipment[3] = numbers[4];
        member.Equipment[2] = numbers[5];
        member.Equipment[4] = numbers[6];
    }
    return true;
}

}  // namespace

int VerbTestPlay(const TArgs& args) {
    std::string folderArg;
    bool showTitle = false, fullScreen = false;
    std::optional<TTestPlayStart> start;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--show-title") {
            showTitle = true;
        } else if (arg == "--full-screen") {
            fullScreen = true;
        } else if (arg == "--start") {
            start = i + 1 < args.size() ? ParseStartPlace(args[++i]) : std::nullopt;
            if (!start)
                return Fail("test-play", "--start takes MAP,X,Y (a map ID from 1, a column and a row from 0)");
        } else if (arg.rfind("--", 0) == 0 || !folderArg.empty()) {
            return Fail("test-play", "unexpected argument \"" + arg + "\"");
        } else {
            folderArg = arg;
        }
    }
    if (folderArg.empty())
        return Fail("test-play", "usage: test-play FOLDER [--show-title] [--full-screen] [--start MAP,X,Y]");
    const std::string folder = EnterProject(folderArg);

    TConsoleMessageBox box;
    IMessageBox* previous = SetMessageBox(&box);
    TConsoleHost host;
    TPrintingProcess process;
    const TTestPlayResult result = RunTestPlay(folder, showTitle, fullScreen, host, process, start);
    SetMessageBox(previous);
    return result == TTestPlayResult::Played ? 0 : 1;
}

int VerbBattleTest(const TArgs& args) {
    std::string folderArg, troopArg;
    std::vector<TBattleTestMember> party;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--hero") {
            TBattleTestMember member;
            if (i + 1 >= args.size() || !ParseHero(args[++i], member))
                return Fail("battle-test", "--hero needs ID,LEVEL or ID,LEVEL,W,S,H,B,A");
            if (party.size() >= 4)
                return Fail("battle-test", "a party has at most four heroes");
            party.push_back(member);
        } else if (arg.rfind("--", 0) == 0) {
            return Fail("battle-test", "unknown option \"" + arg + "\"");
        } else if (folderArg.empty()) {
            folderArg = arg;
        } else if (troopArg.empty()) {
            troopArg = arg;
        } else {
            return Fail("battle-test", "unexpected argument \"" + arg + "\"");
        }
    }
    std::int32_t troopId = 0;
    if (folderArg.empty() || !ReadNumberTo(troopArg, troopId) || troopId < 1)
        return Fail("battle-test", "usage: battle-test FOLDER TROOP [--hero ID,LEVEL[,W,S,H,B,A]]...");
    const std::string folder = EnterProject(folderArg);
    // The battle test writes the database file for the runtime and puts it back afterwards.
    const TProjectLock lock = LockForWriting(folder);

    TKelDataBase dataBase;
    if (FileExists(folder + TKelDataBase::kFileName))
        LoadDataBaseToWrite(dataBase, folder + TKelDataBase::kFileName);

    TConsoleMessageBox box;
    IMessageBox* previous = SetMessageBox(&box);
    TConsoleHost host;
    TPrintingProcess process;
    TBattleTestOutcome outcome;
    try {
        outcome = RunBattleTest(dataBase, party, troopId, GetFullScreenFlag(), folder, host, process);
    } catch (...) {
        SetMessageBox(previous);
        throw;
    }
    SetMessageBox(previous);
    return outcome.Result == TBattleTestResult::Played ? 0 : 1;
}

}  // namespace quillon::cli
