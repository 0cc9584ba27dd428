// quillon-cli monster-acts: the three columns of a monster's action list, and its refusals.
#include "data/LD_DataBase.h"
#include "events/cli/CliRunKit.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

class MonsterActsCli : public clikit::TCliFolderTest {
protected:
    MonsterActsCli() : TCliFolderTest("monster-acts-cli") {}
    int Run(const std::string& arguments, std::string& out) const {
        return TCliFolderTest::Run("monster-acts " + arguments, &out);
    }
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
