// quillon-cli monster-acts: the three columns of a monster's action list, and its refusals.
#include "data/LD_DataBase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class MonsterActsCli : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-monster-acts-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string File() const { return (folder / "GMK_RT.kdb").string(); }

    int Run(const std::string& arguments, std::string& out) const {
        const std::string command = std::string("'") + QUILLON_CLI + "' monster-acts " + arguments + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return -1;
        char buffer[4096];
        std::size_t n = 0;
        out.clear();
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::path folder;
};

TEST_F(MonsterActsCli, ListsEveryPatternsThreeColumns) {
    TKelDataBase db;
    db.Skill.Obtain(1).Name = "Fire";
    db.Monster.Obtain(2).Name = "Dragon";
    TKelMonsterItem& monster = db.Monster.Obtain(1);
    TKelMonsterActItem& skill = monster.Actions.Obtain(2);
    skill.Kind = TKelMonsterActItem::akSkill;
    skill.ConditionType = TKelMonsterActItem::acTurn;
    skill.ConditionA = 3;
    skill.ConditionB = 1;
    skill.Priority = 80;
    TKelMonsterActItem& change = monster.Actions.Obtain(3);
    change.Kind = TKelMonsterActItem::akTransform;
    change.TransformId = 2;
    change.ConditionType = TKelMonsterActItem::acOwnHp;
    change.ConditionA = change.ConditionB = 50;
    db.SaveToFile(File());

    std::string out;
    ASSERT_EQ(Run("'" + File() + "' 1", out), 0);
    EXPECT_EQ(out,
              "Normal Hit\tUsually\t50\n"
              "Fire\tTurn Number [3x+1]\t80\n"
              "Change:Dragon\tOneself HP [50]\t50\n");
}

TEST_F(MonsterActsCli, RefusesWhatItCannotShow) {
    TKelDataBase db;
    db.Monster.Obtain(1);
    db.SaveToFile(File());
    std::string out;
    EXPECT_EQ(Run("'" + File() + "' 4", out), 1) << "no monster 4";
    EXPECT_EQ(Run("'" + File() + "' x1", out), 2) << "not an ID";
    EXPECT_EQ(Run("'" + File() + "'", out), 2) << "no ID";
    EXPECT_EQ(Run("'" + (folder / "none.kdb").string() + "' 1", out), 1);
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace quillon
