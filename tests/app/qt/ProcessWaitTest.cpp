// The wait window of the test play: it cannot be closed while the runtime runs, it ends by
// itself when the runtime ends, and it does not block when the runtime ended before it showed.
#include "app/TestPlay_qt.h"

#include "app/AppTestKit.h"
#include "data/LD_DataBase.h"
#include "database/ED_MonGroup_qt.h"
#include "project/ProjectManager.h"
#include "platform/FileUtils.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <QKeyEvent>
#include <QProcess>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

using namespace quillon;

namespace {

using widgetkit::App;

TEST(ProcessWait, RefusesToCloseWhileTheProcessRunsAndEndsWithIt) {
    App();
    QProcess process;
    process.start("/bin/sleep", {"60"});
    ASSERT_TRUE(process.waitForStarted());
    TFormProcessWait form(&process, "Test Play - Close");
    bool stillShownAfterClose = false, stillShownAfterEsc = false;
    QTimer::singleShot(0, &form, [&] {
        form.close();
        stillShownAfterClose = form.isVisible();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&form, &esc);
        stillShownAfterEsc = form.isVisible();
        widgetkit::KeepPicture(form.grab().toImage(), "process-wait");
        process.kill();
    });
    EXPECT_EQ(form.WaitModal(), 1);
    EXPECT_TRUE(stillShownAfterClose);
    EXPECT_TRUE(stillShownAfterEsc);
    EXPECT_EQ(form.windowTitle(), "Test Play - Close");
    EXPECT_FALSE(form.isVisible());
}

TEST(ProcessWait, AProcessThatEndedBeforeTheWindowShowedDoesNotBlock) {
    App();
    QProcess process;
    process.start("/bin/true", {});
    ASSERT_TRUE(process.waitForFinished());
    TFormProcessWait form(&process, "Test Play - Close");
    bool shown = false;
    QTimer::singleShot(0, &form, [&] { shown = form.isVisible(); form.done(2); });
    EXPECT_EQ(form.WaitModal(), 1);
    EXPECT_FALSE(shown);
}

TEST(QtRuntimeProcess, StartsTheStandInRuntimeAndWaitsForIt) {
    App();
    const std::string standIn = apptest::RecordingRuntime();
    if (!FileExists(standIn))
        GTEST_SKIP() << "stand-in runtime not built";
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-wait-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string folder = pattern + "/";
    std::filesystem::copy_file(standIn, folder + "GMK_RT.exe");
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    TQtRuntimeProcess process;
    EXPECT_TRUE(process.Start(TestPlayCommand(folder, true, false)));
    process.WaitForEnd("Test Play - Close");
    EXPECT_EQ(process.ExitCode(), 0);
    EXPECT_EQ(ReadWholeFile(folder + "GMK_RT.log"), "TestPlay ShowTitle Window\n");
    EXPECT_FALSE(process.Start({folder + "missing.exe", {}}));

    std::filesystem::current_path(old);
    std::filesystem::remove_all(pattern);
}

// The troop page's "Monster Group Battle Test" through the editor's runner: the hero chosen in
// the dialog reaches a runtime started through QProcess, while the wait window shows.
class TroopBattleTestDialog : public apptest::TTempFolderTest {};

TEST_F(TroopBattleTestDialog, TheHeroChosenInTheDialogReachesTheRuntime) {
    App();
    const std::string runtime = mProject + "GMK_RT.exe";
    apptest::WriteFile(runtime, "#!/bin/sh\nsleep 0.3\ncp GMK_RT.kdb runtime-saw.kdb\necho \"$@\" > runtime-words.txt\n");
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    SetProjectPath(mProject);
    apptest::TCurrentDir inProject(mProject);
    TKelDataBase db;
    db.Player.Obtain(1).Name = "Alex";
    db.Player.Obtain(2).Name = "Alex";
    db.MonGroup.Obtain(4);

    std::vector<std::string> log;
    auto host = std::make_shared<TFunctionTestPlayHost>();
    host->OnFreeAudio = [&log] { log.push_back("free"); };
    host->OnCreateAudio = [&log] { log.push_back("create"); };
    SetBattleTestRunner(EditorBattleTestRunner(host, [] { return std::make_unique<TQtRuntimeProcess>(); }));
    QString waitCaption;
    TScopedModalRunner runner([&](TFormKelBase& dialog) {
        if (qobject_cast<TFormProcessWait*>(&dialog)) {
            waitCaption = dialog.windowTitle();
            return dialog.exec();
        }
        auto* hero = widgetkit::Child<QComboBox>(dialog, "ComboHero1");
        const int index = hero->findData(2);
        EXPECT_EQ(hero->itemText(index), "0002:Alex");
        hero->setCurrentIndex(index);
        emit hero->activated(index);
        widgetkit::Child<QSpinBox>(dialog, "EditLevel1")->setValue(7);
        dialog.ButtonOkClick();
        return dialog.result();
    });
    EXPECT_TRUE(RunBattleTestDialog(nullptr, db, 4));
    SetBattleTestRunner({});
    SetProjectPath("");

    EXPECT_EQ(waitCaption, "Monster Group Battle Test");
    EXPECT_EQ(log, (std::vector<std::string>{"free", "create"}));
    EXPECT_EQ(ReadWholeFile(mProject + "runtime-words.txt").substr(0, 21), "BattleTest HideTitle ");
    TKelDataBase seen;
    seen.LoadFromFile(mProject + "runtime-saw.kdb");
    ASSERT_EQ(seen.System.TestPlayer.Count(), 1);
    EXPECT_EQ(seen.System.TestPlayer.Items(0)->HeroId, 2);
    EXPECT_EQ(seen.System.TestPlayer.Items(0)->Level, 7);
    EXPECT_FALSE(FileExists(mProject + "GMK_RT.kdb")) << "the project had no database file";
}

}  // namespace
