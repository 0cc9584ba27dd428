// Test play and battle test: the runtime's command lines, the order of saving, freeing and
// re-creating audio around the runtime, and the battle test's database backup and restore.
#include "app/TestPlay.h"

#include "AppTestKit.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "database/ED_MonGroup.h"
#include "project/ProjectManager.h"
#include "platform/FileUtils.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace quillon {
namespace {

using apptest::TRecordingMessageBox;
using apptest::TTempFolderTest;

// Records the calls in order; the answers are scripted.
class TFakeHost : public ITestPlayHost {
public:
    std::vector<std::string>& Log;
    bool Changed = false;
    bool SaveClearsChanges = true;
    explicit TFakeHost(std::vector<std::string>& log) : Log(log) {}
    bool MapsChanged() override { return Changed; }
    void SaveMaps() override {
        Log.push_back("save");
        if (SaveClearsChanges)
            Changed = false;
    }
    void UpdateActions() override { Log.push_back("actions"); }
    void FreeAudio() override { Log.push_back("free"); }
    void CreateAudio() override { Log.push_back("create"); }
};

class TFakeProcess : public IRuntimeProcess {
public:
    std::vector<std::string>& Log;
    bool StartResult = true;
    TRuntimeCommand Started;
    std::string Caption;
    std::function<void()> WhileRunning;  // what the "runtime" does
    explicit TFakeProcess(std::vector<std::string>& log) : Log(log) {}
    bool Start(const TRuntimeCommand& command) override {
        Log.push_back("start");
        Started = command;
        return StartResult;
    }
    void WaitForEnd(const std::string& caption) override {
        Log.push_back("wait");
        Caption = caption;
        if (WhileRunning)
            WhileRunning();
    }
};

TEST(RuntimeCommandLine, TestPlayAndBattleTestWords) {
    const TRuntimeCommand hidden = TestPlayCommand("/games/P1/", false, true);
    EXPECT_EQ(hidden.Program, "/games/P1/GMK_RT.exe");
    EXPECT_EQ(CommandLineText(hidden), "\"/games/P1/GMK_RT.exe\" TestPlay HideTitle FullScreen");
    EXPECT_EQ(CommandLineText(TestPlayCommand("/g/", true, false)), "\"/g/GMK_RT.exe\" TestPlay ShowTitle Window");

    const TRuntimeCommand battle = BattleTestCommand("/games/P 1/", false, 12);
    EXPECT_EQ(battle.Program, "/games/P 1/GMK_RT.exe");
    EXPECT_EQ(battle.Arguments, (std::vector<std::string>{"BattleTest", "HideTitle", "Window", "12"}));
    EXPECT_EQ(CommandLineText(battle), "\"/games/P 1/GMK_RT.exe\" BattleTest HideTitle Window 12");
    EXPECT_EQ(CommandLineText(BattleTestCommand("/g/", true, 1)), "\"/g/GMK_RT.exe\" BattleTest HideTitle FullScreen 1");
}

// "Test Play from Here": the start place comes after the words F9 gives, which stay as they are.
TEST(RuntimeCommandLine, AStartPlaceFollowsTheTestPlayWords) {
    const TRuntimeCommand from = TestPlayCommand("/g/", false, true, TTestPlayStart{3, 0, 12});
    EXPECT_EQ(from.Arguments, (std::vector<std::string>{"TestPlay", "HideTitle", "FullScreen", "--start", "3,0,12"}));
    EXPECT_EQ(CommandLineText(from), "\"/g/GMK_RT.exe\" TestPlay HideTitle FullScreen --start 3,0,12");
    EXPECT_EQ(TestPlayCommand("/g/", true, false, std::nullopt).Arguments,
              (std::vector<std::string>{"TestPlay", "ShowTitle", "Window"}));
}

TEST(RuntimeCommandLine, StartPlacesReadAsTheRuntimeTakesThem) {
    const std::pair<const char*, TTestPlayStart> good[] = {
        {"1,0,0", {1, 0, 0}},
        {"12,34,56", {12, 34, 56}},
        {"007,1,2", {7, 1, 2}},
        {"2147483647,2147483647,0", {2147483647, 2147483647, 0}},
    };
    for (const auto& [text, place] : good) {
        EXPECT_EQ(ParseStartPlace(text), place) << text;
        EXPECT_EQ(ParseStartPlace(StartPlaceText(place)), place) << text;
    }
    EXPECT_EQ(StartPlaceText(TTestPlayStart{5, 19, 14}), "5,19,14");
    // A map from 1, cells from 0, three decimal numbers and nothing else.
    for (const char* text : {"", "0,1,1", "1,1", "1,1,1,", "1,1,1,1", "-1,0,0", "1,-1,0", "1,0,-1", "+1,0,0",
                             " 1,0,0", "1, 0,0", "1,0,0 ", "a,0,0", "1,,0", ",1,0", "0x1,0,0", "2147483648,0,0",
                             "1,0,99999999999"})
        EXPECT_FALSE(ParseStartPlace(text).has_value()) << '"' << text << '"';
}

class RuntimeLauncherTest : public TTempFolderTest {};

TEST_F(RuntimeLauncherTest, OnlyAFileThatCannotRunGoesThroughTheLauncher) {
    const std::string runtime = mRoot + "/GMK_RT.exe";
    apptest::WriteFile(runtime, "MZ not for this system");
    const TRuntimeCommand command = TestPlayCommand(mRoot + "/", true, false);

    const TRuntimeCommand viaWine = ResolveRuntimeLauncher(command, "  wine   --quiet ");
    EXPECT_EQ(viaWine.Program, "wine");
    EXPECT_EQ(viaWine.Arguments,
              (std::vector<std::string>{"--quiet", runtime, "TestPlay", "ShowTitle", "Window"}));
    // Without a launcher the start is tried as it is (and fails as the runtime cannot run).
    EXPECT_EQ(ResolveRuntimeLauncher(command, ""), command);

    std::filesystem::permissions(runtime, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    EXPECT_EQ(ResolveRuntimeLauncher(command, "wine"), command);
    // No runtime at all: nothing for the launcher to run.
    std::filesystem::remove(runtime);
    EXPECT_EQ(ResolveRuntimeLauncher(command, "wine"), command);
}

class TestPlayFlowTest : public ::testing::Test {
protected:
    std::vector<std::string> mLog;
    TFakeHost mHost{mLog};
    TFakeProcess mProcess{mLog};
    TRecordingMessageBox mBox;
};

TEST_F(TestPlayFlowTest, NoToTheSaveQuestionStartsNothing) {
    mHost.Changed = true;
    mBox.Answers = {mrNo};
    EXPECT_EQ(RunTestPlay("/p/", false, false, mHost, mProcess), TTestPlayResult::NotSaved);
    ASSERT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mBox.Texts[0], "Maps were changed. Save them?");
    EXPECT_EQ(mBox.Flags[0], mbYesNo | mbIconWarning);
    EXPECT_TRUE(mLog.empty());
}

TEST_F(TestPlayFlowTest, ASaveThatLeavesChangesStartsNothing) {
    mHost.Changed = true;
    mHost.SaveClearsChanges = false;
    mBox.Answers = {mrYes};
    EXPECT_EQ(RunTestPlay("/p/", false, false, mHost, mProcess), TTestPlayResult::NotSaved);
    EXPECT_EQ(mLog, (std::vector<std::string>{"save"}));
}

TEST_F(TestPlayFlowTest, SavedMapsThenAudioFreedAroundTheRuntime) {
    mHost.Changed = true;
    mBox.Answers = {mrYes};
    EXPECT_EQ(RunTestPlay("/p/", true, true, mHost, mProcess), TTestPlayResult::Played);
    EXPECT_EQ(mLog, (std::vector<std::string>{"save", "actions", "free", "start", "wait", "create"}));
    EXPECT_EQ(CommandLineText(mProcess.Started), "\"/p/GMK_RT.exe\" TestPlay ShowTitle FullScreen");
    EXPECT_EQ(mProcess.Caption, "Test Play - Close");
    EXPECT_EQ(mBox.Texts.size(), 1u);  // only the question
}

TEST_F(TestPlayFlowTest, FromACellTheSameFlowWithTheStartPlace) {
    EXPECT_EQ(RunTestPlay("/p/", false, false, mHost, mProcess, TTestPlayStart{2, 5, 6}), TTestPlayResult::Played);
    EXPECT_EQ(mLog, (std::vector<std::string>{"actions", "free", "start", "wait", "create"}));
    EXPECT_EQ(CommandLineText(mProcess.Started), "\"/p/GMK_RT.exe\" TestPlay HideTitle Window --start 2,5,6");
    EXPECT_EQ(mProcess.Caption, "Test Play - Close");
}

TEST_F(TestPlayFlowTest, AFailedStartIsReportedAndAudioComesBack) {
    mProcess.StartResult = false;
    EXPECT_EQ(RunTestPlay("/p/", false, false, mHost, mProcess), TTestPlayResult::StartFailed);
    EXPECT_EQ(mLog, (std::vector<std::string>{"actions", "free", "start", "create"}));
    ASSERT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mBox.Texts[0], "Initialization failed. Test play impossible");
}

TEST_F(TestPlayFlowTest, AnErrorWhileWaitingStillRecreatesAudio) {
    mProcess.WhileRunning = [] { throw std::runtime_error("lost the process"); };
    EXPECT_THROW(RunTestPlay("/p/", false, false, mHost, mProcess), std::runtime_error);
    EXPECT_EQ(mLog.back(), "create");
}

// --- battle test ---

class BattleTestTest : public TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        mDataBase.System.TestPlayer.Append().HeroId = 9;  // replaced by the party
        mDataBase.System.TitleGraphic = "in memory";
    }
    std::string DbFile() const { return mProject + "GMK_RT.kdb"; }

    std::vector<std::string> mLog;
    TFakeHost mHost{mLog};
    TFakeProcess mProcess{mLog};
    TRecordingMessageBox mBox;
    TKelDataBase mDataBase;
    std::vector<TBattleTestMember> mParty{{3, 7, {1, 2, 3, 4, 5}}, {4, 1, {0, 0, 0, 0, 0}}};
};

TEST_F(BattleTestTest, TheRuntimeSeesTheTestDatabaseAndTheFileIsRestored) {
    const std::string saved = "the database as last saved";
    apptest::WriteFile(DbFile(), saved);
    std::string seenByRuntime;
    mProcess.WhileRunning = [&] {
        seenByRuntime = ReadWholeFile(DbFile());
        EXPECT_EQ(ReadWholeFile(BattleTestFolder() + "GMK_RT.kdb"), saved);
    };

    const TBattleTestOutcome outcome = RunBattleTest(mDataBase, mParty, 12, false, mProject, mHost, mProcess);
    EXPECT_EQ(outcome.Result, TBattleTestResult::Played);
    EXPECT_EQ(CommandLineText(mProcess.Started), "\"" + mProject + "GMK_RT.exe\" BattleTest HideTitle Window 12");
    EXPECT_EQ(mProcess.Caption, "Monster Group Battle Test");
    EXPECT_EQ(mLog, (std::vector<std::string>{"free", "start", "wait", "create"}));

    // The runtime read the in-memory database with the party.
    TKelDataBase read;
    apptest::WriteFile(mRoot + "/seen.kdb", seenByRuntime);
    read.LoadFromFile(mRoot + "/seen.kdb");
    ASSERT_EQ(read.System.TestPlayer.Count(), 2);
    EXPECT_EQ(read.System.TestPlayer.Items(0)->HeroId, 3);
    EXPECT_EQ(read.System.TestPlayer.Items(0)->Level, 7);
    EXPECT_EQ(read.System.TestPlayer.Items(0)->Equipment(4), 5);
    EXPECT_EQ(read.System.TestPlayer.Items(1)->HeroId, 4);
    EXPECT_EQ(read.System.TitleGraphic, "in memory");

    EXPECT_EQ(ReadWholeFile(DbFile()), saved);
    EXPECT_FALSE(std::filesystem::exists(BattleTestFolder()));
    EXPECT_TRUE(mBox.Texts.empty());
}

TEST_F(BattleTestTest, AProjectWithoutDatabaseHasOneOnlyDuringTheTest) {
    bool existed = false;
    mProcess.WhileRunning = [&] { existed = FileExists(DbFile()); };
    EXPECT_EQ(RunBattleTest(mDataBase, mParty, 1, true, mProject, mHost, mProcess).Result, TBattleTestResult::Played);
    EXPECT_TRUE(existed);
    EXPECT_FALSE(std::filesystem::exists(DbFile()));
}

TEST_F(BattleTestTest, AFailedBackupStartsNothing) {
    apptest::WriteFile(DbFile(), "saved");
    // The working folder cannot be made: a file stands in its place.
    const std::string work = MapWorkFolder();
    std::filesystem::remove_all(work);
    apptest::WriteFile(work.substr(0, work.size() - 1), "in the way");

    EXPECT_EQ(RunBattleTest(mDataBase, mParty, 1, false, mProject, mHost, mProcess).Result,
              TBattleTestResult::BackupFailed);
    EXPECT_TRUE(mLog.empty());
    ASSERT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mBox.Texts[0], "File preparation fault. Can't Test Battle.");
    EXPECT_EQ(ReadWholeFile(DbFile()), "saved");
}

TEST_F(BattleTestTest, AFailedStartRestoresTheFile) {
    apptest::WriteFile(DbFile(), "saved");
    mProcess.StartResult = false;
    EXPECT_EQ(RunBattleTest(mDataBase, mParty, 1, false, mProject, mHost, mProcess).Result,
              TBattleTestResult::StartFailed);
    ASSERT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mBox.Texts[0], "Process Preparation Fault. Can't Test Battle.");
    EXPECT_EQ(ReadWholeFile(DbFile()), "saved");
    EXPECT_EQ(mLog.back(), "create");
}

TEST_F(BattleTestTest, AFailedRestoreKeepsTheBackupAndSaysWhere) {
    apptest::WriteFile(DbFile(), "saved");
    // While the runtime runs, the database file turns into a folder that cannot be replaced.
    mProcess.WhileRunning = [&] {
        std::filesystem::remove(DbFile());
        std::filesystem::create_directories(DbFile() + "/blocked");
    };
    const TBattleTestOutcome outcome = RunBattleTest(mDataBase, mParty, 1, false, mProject, mHost, mProcess);
    EXPECT_EQ(outcome.Result, TBattleTestResult::RestoreFailed);
    ASSERT_FALSE(outcome.KeptBackup.empty());
    EXPECT_EQ(ReadWholeFile(outcome.KeptBackup), "saved");
    ASSERT_EQ(mBox.Texts.size(), 1u);
    EXPECT_NE(mBox.Texts[0].find(outcome.KeptBackup), std::string::npos);
    EXPECT_EQ(mLog.back(), "create");

    // A second failure keeps its own backup beside the first, which stays as it was.
    std::filesystem::remove_all(DbFile());
    apptest::WriteFile(DbFile(), "second");
    const TBattleTestOutcome again = RunBattleTest(mDataBase, mParty, 1, false, mProject, mHost, mProcess);
    EXPECT_EQ(again.Result, TBattleTestResult::RestoreFailed);
    EXPECT_NE(again.KeptBackup, outcome.KeptBackup);
    EXPECT_EQ(ReadWholeFile(again.KeptBackup), "second");
    EXPECT_EQ(ReadWholeFile(outcome.KeptBackup), "saved");
}

TEST_F(BattleTestTest, AnErrorWhileRunningStillRestores) {
    apptest::WriteFile(DbFile(), "saved");
    mProcess.WhileRunning = [] { throw std::runtime_error("lost"); };
    EXPECT_THROW(RunBattleTest(mDataBase, mParty, 1, false, mProject, mHost, mProcess), std::runtime_error);
    EXPECT_EQ(ReadWholeFile(DbFile()), "saved");
    EXPECT_FALSE(std::filesystem::exists(BattleTestFolder()));
    EXPECT_EQ(mLog.back(), "create");
}

// --- the troop page's "Battle Test..." through the editor's runner into a runtime process ---

// The project's "GMK_RT.exe" is a shell script: it records its program and arguments, one a
// line, and a copy of the database it was given, in its current directory.
class TroopBattleTestTest : public TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        apptest::WriteFile(Runtime(), "#!/bin/sh\n"
                                      "printf '%s\\n' \"$0\" \"$@\" > runtime-words.txt\n"
                                      "if [ -f GMK_RT.kdb ]; then cp GMK_RT.kdb runtime-saw.kdb; fi\n");
        std::filesystem::permissions(Runtime(), std::filesystem::perms::owner_all);
        SetProjectPath(mProject);
        mFullScreen = GetFullScreenFlag();
        mDataBase.Player.Obtain(1).Name = "Alex";
        mDataBase.Player.Obtain(2).Name = "Brin";
        TKelItemItem& sword = mDataBase.Item.Obtain(1);
        sword.Kind = TKelItemItem::ikWeapon;
        mDataBase.MonGroup.Obtain(12).Name = "not saved yet";
        SetBattleTestRunner(EditorBattleTestRunner(std::make_shared<TFakeHost>(mLog)));
    }
    void TearDown() override {
        SetBattleTestRunner({});
        SetFullScreenFlag(mFullScreen);
        SetProjectPath("");
        TTempFolderTest::TearDown();
    }
    std::string Runtime() const { return mProject + "GMK_RT.exe"; }
    std::string DbFile() const { return mProject + "GMK_RT.kdb"; }
    // The dialog's party: hero 2 at level 12 with the sword, slot 2 empty, hero 1 at level 50.
    TBattleTestParty Party() const {
        TBattleTestParty party;
        party.Load(mDataBase);
        party.Slots[0] = {2, 12, {1, 0, 0, 0, 0}};
        party.Slots[1] = {};
        party.Slots[2] = {1, 50, {0, 0, 0, 0, 0}};
        party.Slots[3] = {};
        return party;
    }
    std::vector<std::string> RuntimeWords() const {
        std::vector<std::string> words;
        if (!FileExists(mProject + "runtime-words.txt"))
            return words;
        std::istringstream lines(ReadWholeFile(mProject + "runtime-words.txt"));
        for (std::string line; std::getline(lines, line);)
            words.push_back(line);
        return words;
    }

    std::vector<std::string> mLog;
    TRecordingMessageBox mBox;
    TKelDataBase mDataBase;
    bool mFullScreen = true;
};

TEST_F(TroopBattleTestTest, TheRuntimeGetsTheTroopAndTheDialogsPartyAndTheFileComesBack) {
    const struct {
        bool fullScreen;
        std::int32_t troop;
        const char* screenWord;
    } cases[] = {{false, 12, "Window"}, {true, 3, "FullScreen"}};
    TKelDataBase saved;
    saved.System.TitleGraphic = "as saved";
    saved.SaveToFile(DbFile());
    const std::string savedBytes = ReadWholeFile(DbFile());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screenWord);
        std::filesystem::remove(mProject + "runtime-saw.kdb");
        mLog.clear();
        SetFullScreenFlag(c.fullScreen);
        apptest::TCurrentDir inProject(mProject);
        EXPECT_TRUE(RunTroopBattleTest(mDataBase, Party(), c.troop));
        EXPECT_EQ(RuntimeWords(),
                  (std::vector<std::string>{Runtime(), "BattleTest", "HideTitle", c.screenWord, std::to_string(c.troop)}));
        EXPECT_EQ(mLog, (std::vector<std::string>{"free", "create"}));

        // The runtime read the database in memory, with the party as the dialog left it.
        TKelDataBase seen;
        seen.LoadFromFile(mProject + "runtime-saw.kdb");
        ASSERT_EQ(seen.System.TestPlayer.Count(), 2);
        const TKelTestPlayerItem& first = *seen.System.TestPlayer.Items(0);
        EXPECT_EQ(first.HeroId, 2);
        EXPECT_EQ(first.Level, 12);
        EXPECT_EQ(first.Equipment(0), 1);
        EXPECT_EQ(seen.System.TestPlayer.Items(1)->HeroId, 1);
        EXPECT_EQ(seen.System.TestPlayer.Items(1)->Level, 50);
        ASSERT_NE(seen.MonGroup.FindByID(12), nullptr);
        EXPECT_EQ(seen.MonGroup.FindByID(12)->Name, "not saved yet");

        EXPECT_EQ(ReadWholeFile(DbFile()), savedBytes);
        EXPECT_FALSE(std::filesystem::exists(BattleTestFolder()));
    }
    EXPECT_TRUE(mBox.Texts.empty());
}

TEST_F(TroopBattleTestTest, AProjectWithoutDatabaseHasOneOnlyWhileTheRuntimeRuns) {
    apptest::TCurrentDir inProject(mProject);
    EXPECT_TRUE(RunTroopBattleTest(mDataBase, Party(), 1));
    EXPECT_TRUE(FileExists(mProject + "runtime-saw.kdb"));
    EXPECT_FALSE(FileExists(DbFile()));
}

TEST_F(TroopBattleTestTest, ARuntimeThatCannotStartIsToldAndEverythingIsRestored) {
    apptest::WriteFile(DbFile(), "as saved");
    std::filesystem::permissions(Runtime(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    apptest::TCurrentDir inProject(mProject);
    EXPECT_FALSE(RunTroopBattleTest(mDataBase, Party(), 1));
    EXPECT_TRUE(RuntimeWords().empty());
    EXPECT_EQ(mBox.Texts, std::vector<std::string>{"Process Preparation Fault. Can't Test Battle."});
    EXPECT_EQ(ReadWholeFile(DbFile()), "as saved");
    EXPECT_EQ(mLog, (std::vector<std::string>{"free", "create"}));
    EXPECT_FALSE(std::filesystem::exists(BattleTestFolder()));
}

// --- the real process layer with the stand-in runtime ---

class PosixProcessTest : public TTempFolderTest {};

TEST_F(PosixProcessTest, TheStandInRuntimeWritesItsCommandLine) {
    const std::string standIn = apptest::RecordingRuntime();
    if (!FileExists(standIn))
        GTEST_SKIP() << "stand-in runtime not built";
    std::filesystem::copy_file(standIn, mProject + "GMK_RT.exe");
    apptest::TCurrentDir inProject(mProject);

    std::vector<std::string> log;
    TFakeHost host(log);
    TPosixRuntimeProcess process;
    EXPECT_EQ(RunTestPlay(mProject, false, true, host, process), TTestPlayResult::Played);
    EXPECT_EQ(process.ExitStatus(), 0);
    EXPECT_EQ(ReadWholeFile(mProject + "GMK_RT.log"), "TestPlay HideTitle FullScreen\n");
}

TEST_F(PosixProcessTest, AMissingProgramDoesNotStart) {
    TPosixRuntimeProcess process;
    EXPECT_FALSE(process.Start({mRoot + "/no-such-runtime", {}}));
    process.WaitForEnd("");  // nothing to wait for
    // A program that ends at once is waited for all the same.
    EXPECT_TRUE(process.Start({"/bin/sh", {"-c", "exit 3"}}));
    process.WaitForEnd("");
    EXPECT_EQ(process.ExitStatus(), 3);
}

}  // namespace
}  // namespace quillon
