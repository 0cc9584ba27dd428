// quillon-cli troop and chipset: the pages' operations on a project's database, printed and
// saved back only with --save.
#include "data/LD_DataBase.h"
#include "events/cli/CliRunKit.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

class TroopChipSetCli : public clikit::TCliFolderTest {
protected:
    TroopChipSetCli() : TCliFolderTest("troop-cli") {}
    void SetUp() override {
        TCliFolderTest::SetUp();
        TKelDataBase db;
        db.Monster.Obtain(1).Name = "slime";
        db.Monster.Obtain(2).Name = "bat";
        db.MonGroup.Obtain(1);
        db.ChipSet.Obtain(1);
        for (int id = 1; id <= 3; ++id)
            db.Ground.Obtain(id);
        db.SaveToFile(File());
    }
    int Run(const std::string& verb, const std::string& arguments, std::string* out = nullptr) const {
        return TCliFolderTest::Run(verb + " " + clikit::Quoted(folder) + " " + arguments, out);
    }
};

TEST_F(TroopChipSetCli, AddArrangeAndNameATroop) {
    std::string out;
    ASSERT_EQ(Run("troop", "1 add 1 add 1 add 2 autoname --save", &out), 0);
    // Images are missing: 64 x 64 each, arranged by the first Add.
    EXPECT_EQ(out,
              "name: slimex2,bat\n"
              "1: 0001:slime x 88 y 116\n"
              "2: 0001:slime x 160 y 116\n"
              "3: 0002:bat x 232 y 116\n");
    const auto db = Saved();
    EXPECT_EQ(db->MonGroup.FindByID(1)->Name, "slimex2,bat");
    EXPECT_EQ(db->MonGroup.FindByID(1)->Members.Count(), 3);
    EXPECT_EQ(Run("troop", "1 add 9"), 1);
    EXPECT_EQ(Run("troop", "1 add 1 add 1 add 1 add 1 add 1 add 1 add 1 add 1"), 1) << "the eleventh is refused";
}

TEST_F(TroopChipSetCli, ClicksOnTiles) {
    std::string out;
    ASSERT_EQ(Run("chipset", "1 lower 8 pass --save", &out), 0);
    EXPECT_EQ(out, "lower 8: tile 4149 terrain 1 flags 0x00 mark cross directions none counter off\n");
    ASSERT_EQ(Run("chipset", "1 lower 8 pass right", &out), 0);
    EXPECT_EQ(out, "lower 8: tile 4149 terrain 1 flags 0x0f mark circle directions up,right,down,left counter off\n");
    ASSERT_EQ(Run("chipset", "1 upper 3 dir 16 30 --save", &out), 0);
    EXPECT_EQ(out, "upper 3: tile 10003 flags 0x0e mark circle directions up,right,left counter off\n");
    ASSERT_EQ(Run("chipset", "1 lower 30 terrain 3 --save", &out), 0);
    EXPECT_EQ(Run("chipset", "1 upper 0 counter"), 1);
    EXPECT_EQ(Run("chipset", "1 lower 162 pass"), 1);
    EXPECT_EQ(Run("chipset", "1 lower 30 terrain 4"), 1) << "no terrain 4";
    const auto db = Saved();
    const TKelChipSetItem& chips = *db->ChipSet.FindByID(1);
    EXPECT_EQ(chips.LowerFlags(8), 0x00) << "the right click was not saved";
    EXPECT_EQ(chips.UpperFlags(3), 0x0E);
    EXPECT_EQ(chips.TerrainId(30), 3);
}

}  // namespace
}  // namespace quillon
