// The wait window of the test play: it cannot be closed while the runtime runs, it ends by
// itself when the runtime ends, and it does not block when the runtime ended before it showed.
#include "app/TestPlay_qt.h"

#include "platform/FileUtils.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
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
    const std::string standIn = std::string(QUILLON_BINARY_DIR) + "/bin/GMK_RT.exe.dat";
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

}  // namespace
