// The writers' lock on a project folder.
#include "project/ProjectLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;
using std::chrono::milliseconds;

namespace {

class ProjectLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-lock-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
    }
    void TearDown() override { fs::remove_all(Folder); }
    std::string Folder;
};

}  // namespace

TEST_F(ProjectLockTest, OneWriterAtATime) {
    TProjectLock first(Folder);
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(first.Folder(), Folder);

    TProjectLock second;
    EXPECT_FALSE(second.TryAcquire(Folder));
    EXPECT_FALSE(second.Held());
    try {
        second.Acquire(Folder, milliseconds(50));
        ADD_FAILURE() << "a second writer got the lock";
    } catch (const EProjectLocked& error) {
        EXPECT_NE(std::string(error.what()).find("being changed by another program"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find(Folder), std::string::npos);
    }
    // The same folder written another way is the same lock.
    EXPECT_FALSE(second.TryAcquire(Folder + "/."));

    first.Release();
    EXPECT_FALSE(first.Held());
    EXPECT_TRUE(second.TryAcquire(Folder));

    // Moving hands the lock on; the moved-from object releases nothing.
    TProjectLock moved(std::move(second));
    EXPECT_TRUE(moved.Held());
    EXPECT_FALSE(second.Held());
    second.Release();
    EXPECT_FALSE(first.TryAcquire(Folder));
}

TEST_F(ProjectLockTest, SecondWriterWaitsForTheFirstToFinish) {
    auto first = std::make_unique<TProjectLock>(Folder);
    std::thread finisher([&] {
        std::this_thread::sleep_for(milliseconds(100));
        first.reset();
    });
    TProjectLock second;
    EXPECT_NO_THROW(second.Acquire(Folder, milliseconds(10000)));
    finisher.join();
    EXPECT_TRUE(second.Held());
}

TEST_F(ProjectLockTest, AWriterThatEndsReleasesAndAMissingFolderIsAnError) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        TProjectLock lock(Folder);
        char done = 1;
        (void)!::write(ready[1], &done, 1);
        ::pause();  // ended by a signal, without releasing anything itself
        ::_exit(0);
    }
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    TProjectLock lock;
    EXPECT_FALSE(lock.TryAcquire(Folder));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(lock.TryAcquire(Folder));
    ::close(ready[0]);
    ::close(ready[1]);

    TProjectLock missing;
    try {
        missing.Acquire(Folder + "/missing");
        ADD_FAILURE() << "locked a missing folder";
    } catch (const EProjectLocked&) {
        ADD_FAILURE() << "a missing folder is no lock held elsewhere";
    } catch (const EFileError&) {
    }
}
