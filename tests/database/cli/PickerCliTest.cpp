// quillon-cli picker: the groups and rows of a database's switches and variables.
#include "data/LD_DataBase.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

struct TRun {
    int Status = -1;
    std::string Out;
};

class PickerCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-picker-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        TKelDataBase db;
        for (std::int32_t id = 1; id <= 45; ++id)
            db.Switch.Obtain(id);
        db.Switch.FindByID(41)->Name = "Gate";
        db.Variable.Obtain(3).Name = "Gold";
        db.SaveToFile(File());
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }
    static std::string File() { return (folder / "GMK_RT.kdb").string(); }

    static TRun Run(const std::string& arguments) {
        const std::string command = std::string("'") + QUILLON_CLI + "' picker " + arguments + " 2>/dev/null";
        TRun run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return run;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.Out.append(buffer, n);
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    static fs::path folder;
};

fs::path PickerCli::folder;

TEST_F(PickerCli, OpensOnTheGroupOfTheId) {
    const TRun run = Run("'" + File() + "' switch --select 41");
    ASSERT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "count 45, current 0041:\n"
              "  [ 0001 - 0020 ]\n"
              "  [ 0021 - 0040 ]\n"
              "> [ 0041 - 0045 ]\n"
              "\n"
              "> 0041:Gate\n"
              "  0042:\n"
              "  0043:\n"
              "  0044:\n"
              "  0045:\n");
}

TEST_F(PickerCli, AnIdBeyondTheListOpensOnTheFirstRowAndTheCountReshapesTheGroups) {
    const TRun run = Run("'" + File() + "' variable --select 99 --count 22");
    ASSERT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.substr(0, run.Out.find("\n\n") + 2),
              "count 22, current 0001:\n"
              "> [ 0001 - 0020 ]\n"
              "  [ 0021 - 0022 ]\n"
              "\n");
    EXPECT_NE(run.Out.find("> 0001:\n  0002:\n  0003:Gold\n"), std::string::npos) << run.Out;
}

TEST_F(PickerCli, WrongUsageAndBadNumbersAreRefused) {
    EXPECT_EQ(Run("'" + File() + "' items").Status, 2);
    EXPECT_EQ(Run("'" + File() + "' switch --count").Status, 2);
    EXPECT_EQ(Run("'" + File() + "' switch --count 0").Status, 1);
    EXPECT_EQ(Run("'" + File() + "' switch --select x1").Status, 2);
    EXPECT_EQ(Run("'" + (folder / "missing.kdb").string() + "' switch").Status, 1);
}

}  // namespace
}  // namespace quillon
