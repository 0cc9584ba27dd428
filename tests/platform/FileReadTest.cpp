// The whole-file readers open only regular files and read with a bound: pipes, devices and
// oversized files are refused instead of hanging or filling the memory.
#include "platform/AddressSpaceLimit.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

enum class TOutcome { Refused, Read, Crashed, Hung };

// Runs a read in a child process with a memory limit and a guard against hanging, and tells
// whether it was refused with EFileError.
TOutcome Outcome(const std::function<void()>& read) {
    const pid_t child = ::fork();
    if (child == 0) {
        testkit::LimitAddressSpace(1024ull << 20);
        try {
            read();
        } catch (const EFileError&) {
            ::_exit(0);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(1);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) != child) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return TOutcome::Hung;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!WIFEXITED(status))
        return TOutcome::Crashed;
    switch (WEXITSTATUS(status)) {
    case 0: return TOutcome::Refused;
    case 1: return TOutcome::Read;
    default: return TOutcome::Crashed;
    }
}

class FileReadTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-fileread-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern + "/";
    }
    void TearDown() override { fs::remove_all(Root); }
    std::string Root;
};

}  // namespace

TEST_F(FileReadTest, PipesDevicesAndFoldersAreRefused) {
    ASSERT_EQ(::mkfifo((Root + "GMK_RT.kdb").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", Root + "zero.png");
    fs::create_symlink("/dev/urandom", Root + "random.kmu");
    fs::create_directory(Root + "folder.kmu");
    for (const char* name : {"GMK_RT.kdb", "zero.png", "random.kmu", "folder.kmu"}) {
        const std::string path = Root + name;
        EXPECT_EQ(Outcome([&] { ReadWholeFile(path); }), TOutcome::Refused) << name;
        EXPECT_EQ(Outcome([&] { ReadFileHead(path, 16); }), TOutcome::Refused) << name;
    }
    EXPECT_THROW(ReadWholeFile(Root + "missing"), EFileError);
}

TEST_F(FileReadTest, SizeLimitOfTheKindIsKept) {
    WriteFileAtomic(Root + "small", std::string(1000, 'a'));
    EXPECT_EQ(ReadWholeFile(Root + "small", 1000).size(), 1000u);
    EXPECT_THROW(ReadWholeFile(Root + "small", 999), EFileError);
    EXPECT_EQ(ReadFileHead(Root + "small", 10), std::string(10, 'a'));
    EXPECT_EQ(ReadFileHead(Root + "small", 5000).size(), 1000u);

    // A sparse file past the limit is refused before its bytes are read.
    { std::FILE* f = std::fopen((Root + "huge.kdb").c_str(), "w"); std::fclose(f); }
    fs::resize_file(Root + "huge.kdb", static_cast<std::uintmax_t>(kDataFileLimit) + 1);
    EXPECT_EQ(Outcome([&] { ReadWholeFile(Root + "huge.kdb"); }), TOutcome::Refused);
    fs::resize_file(Root + "huge.kdb", static_cast<std::uintmax_t>(kImageFileLimit) + 1);
    EXPECT_EQ(Outcome([&] { ReadWholeFile(Root + "huge.kdb", kImageFileLimit); }), TOutcome::Refused);
    // A link to a regular file reads as the file.
    fs::create_symlink(Root + "small", Root + "link");
    EXPECT_EQ(ReadWholeFile(Root + "link"), std::string(1000, 'a'));
}
