// quillon-cli exp-table, gen-curve and hero: the experience tables, the generator and a hero as
// the hero page shows it.
#include "data/LD_DataBase.h"
#include "database/ED_PlayerExp.h"
#include "database/ED_PlayerParameter.h"
#include "events/cli/CliRunKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace quillon {
namespace {

namespace fs = std::filesystem;
using clikit::RunCli;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(HeroCli, ExpTableListsTotalsAndDashesWhereTheDialogDoes) {
    const auto run = RunCli("exp-table 50 50 40");
    ASSERT_EQ(run.Status, 0);
    const auto lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[0], "1\t0\t90");
    const std::int32_t at41 = CumulativeExp(50, 50, 40, 41);
    EXPECT_EQ(lines[40], "41\t" + std::to_string(at41) + "\t------");
    EXPECT_EQ(lines[41], "42\t1000000\t------");
    EXPECT_EQ(Lines(RunCli("exp-table 30 30 0").Out)[49], "50\t614301\t------");

    // Values from outside the dialog's ranges are kept in them.
    EXPECT_EQ(RunCli("exp-table 999 -4 2147483647").Out, RunCli("exp-table 50 10 40").Out);

    const auto display = Lines(RunCli("exp-table 50 50 40 --display").Out);
    ASSERT_EQ(display.size(), 50u);
    EXPECT_EQ(display[0], "\xEF\xBC\xAC 1 :      0\t\xEF\xBC\xAC 1 :     90");
    EXPECT_EQ(display[49], "\xEF\xBC\xAC" "50 : ------\t\xEF\xBC\xAC" "50 : ------");

    EXPECT_EQ(RunCli("exp-table 30 30").Status, 2);
    EXPECT_EQ(RunCli("exp-table 30 x 0").Status, 2);
}

TEST(HeroCli, GenCurvePrintsTheGeneratorsLevels) {
    const auto run = RunCli("gen-curve 40 600 -2");
    ASSERT_EQ(run.Status, 0);
    const auto lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 50u);
    const TParameterCurve curve = GenerateCurve(40, 600, -2);
    for (int level = 1; level <= 50; ++level)
        EXPECT_EQ(lines[level - 1], std::to_string(level) + "\t" + std::to_string(curve[level - 1]));
    EXPECT_EQ(RunCli("gen-curve 40 600 9").Status, 2);
    EXPECT_EQ(RunCli("gen-curve 40 600").Status, 2);
}

TEST(HeroCli, HeroShowsCurvesMaximaSlotsAndLearning) {
    const fs::path folder = fs::path(QUILLON_BINARY_DIR) / ("test-hero-cli-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string file = (folder / "GMK_RT.kdb").string();
    {
        TKelDataBase db;
        TKelPlayerItem& hero = db.Player.Obtain(1);
        hero.Name = "Alex";
        hero.InitialLevel = 2;
        TKelItemItem& axe = db.Item.Obtain(1);
        axe.Name = "Axe";
        axe.Kind = TKelItemItem::ikWeapon;
        axe.AttackChange = 7;
        db.Item.Obtain(2).Name = "Herb";
        db.Item.Obtain(3).Kind = TKelItemItem::ikShield;
        db.Item.FindByID(3)->Name = "Buckler";
        hero.SetEquipment(0, 1);
        hero.SetEquipment(1, 2);  // not a shield: shown as none
        db.Skill.Obtain(1).Name = "Heal";
        TKelPlayerLearningItem& entry = hero.Learning.Append();
        entry.Level = 3;
        entry.SkillId = 1;
        db.SaveToFile(file);
    }
    const auto run = RunCli("hero '" + file + "' 1");
    ASSERT_EQ(run.Status, 0);
    const std::string& out = run.Out;
    EXPECT_NE(out.find("entry: 0001:Alex\n"), std::string::npos) << out;
    EXPECT_NE(out.find("curve Attack: 15 16 18 "), std::string::npos) << out;
    EXPECT_NE(out.find("max Attack: 23\n"), std::string::npos) << out;  // 16 at level 2, +7
    EXPECT_NE(out.find("max Max HP: 43\n"), std::string::npos) << out;
    EXPECT_NE(out.find("slot weapon: 0:(None) >1:Axe\n"), std::string::npos) << out;
    EXPECT_NE(out.find("slot shield: >0:(None) 3:Buckler\n"), std::string::npos) << out;
    EXPECT_NE(out.find("learning: L- 3\tHeal\n"), std::string::npos) << out;
    EXPECT_EQ(RunCli("hero '" + file + "' 9").Status, 1);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace quillon
