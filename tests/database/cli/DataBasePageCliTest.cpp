// quillon-cli dbpage: a page's fields set by key, with the page's rules, and saved back.
#include "data/LD_DataBase.h"
#include "events/cli/CliRunKit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace quillon {
namespace {

class DataBasePageCli : public clikit::TCliFolderTest {
protected:
    DataBasePageCli() : TCliFolderTest("dbpage-cli") {}
    void SetUp() override {
        TCliFolderTest::SetUp();
        TKelDataBase db;
        db.Status.Obtain(2).Name = "Poison";
        for (std::int32_t id = 1; id <= 3; ++id)
            db.Player.Obtain(id);
        db.System.SetPartySize(3);
        db.System.SetPartyMember(1, 2);
        db.System.SetPartyMember(2, 3);
        db.Item.Obtain(1).Name = "Herb";
        db.Monster.Obtain(1).Name = "Slime";
        db.SaveToFile(File());
    }
    int Run(const std::string& arguments, std::string* out = nullptr) const {
        return TCliFolderTest::Run("dbpage " + clikit::Quoted(File()) + " " + arguments, out);
    }
};

TEST_F(DataBasePageCli, SetsAnEntrysFieldsAndSavesThem) {
    std::string out;
    ASSERT_EQ(Run("conditions --id 2 chance-a=90 ally-message=Ouch --save", &out), 0);
    EXPECT_NE(out.find("entry: 0002:Poison\n"), std::string::npos) << out;
    EXPECT_NE(out.find("chance-a: 90\n"), std::string::npos) << out;
    const std::unique_ptr<TKelDataBase> saved = Saved();
    const TKelDataBase& db = *saved;
    EXPECT_EQ(db.Status.FindByID(2)->EffectChance[0], 90);
    EXPECT_EQ(db.Status.FindByID(2)->AllyMessage, "Ouch");
}

TEST_F(DataBasePageCli, ThePagesRulesRefuseWhatTheControlsWouldNot) {
    EXPECT_EQ(Run("conditions --id 1 already-message=x --save"), 1) << "the incapacitation condition's fixed message";
    EXPECT_EQ(Run("system party-2=3 --save"), 1) << "hero 3 is in the party already";
    EXPECT_EQ(Run("attributes name=TooLongName --save"), 1);
    EXPECT_EQ(Saved()->Attrib.Items(0)->Name, "");
    ASSERT_EQ(Run("system party-2=0 --save"), 0);
    const std::unique_ptr<TKelDataBase> saved = Saved();
    const TKelDataBase& db = *saved;
    ASSERT_EQ(db.System.PartySize, 2);
    EXPECT_EQ(db.System.PartyMember(1), 3) << "the later member moved up";
}

TEST_F(DataBasePageCli, SkillItemAndMonsterPagesSetTheirFieldsAndSaveOnlyWhenAsked) {
    const struct {
        const char* Arguments;
        int Status;
        const char* Printed;  // a line of the output (nullptr: not looked at)
        std::function<std::int32_t(const TKelDataBase&)> Stored;
        std::int32_t Expected;
    } cases[] = {
        {"skills --id 1 name=Heal mp-cost=12 --save", 0, "mp-cost: 12\n",
         [](const TKelDataBase& db) { return db.Skill.FindByID(1)->MpCost; }, 12},
        {"skills --id 1 mp-cost=13", 0, "mp-cost: 13\n",
         [](const TKelDataBase& db) { return db.Skill.FindByID(1)->MpCost; }, 12},
        {"items --id 1 uses=0 --save", 0, "entry: 0001:Herb\n",
         [](const TKelDataBase& db) { return db.Item.FindByID(1)->UseCount; }, 0},
        {"items --id 1 uses=6 --save", 1, nullptr,
         [](const TKelDataBase& db) { return db.Item.FindByID(1)->UseCount; }, 0},
        {"monsters --id 1 max-hp=500 item=1 drop-rate=30 --save", 0, "item: 1\n",
         [](const TKelDataBase& db) { return db.Monster.FindByID(1)->MaxHp + db.Monster.FindByID(1)->DropRate; }, 530},
        {"monsters --id 1 max-hp=100000 --save", 1, nullptr,
         [](const TKelDataBase& db) { return db.Monster.FindByID(1)->MaxHp; }, 500},
        {"monsters --id 1 max-hp=0 --save", 1, nullptr,
         [](const TKelDataBase& db) { return db.Monster.FindByID(1)->MaxHp; }, 500},
        {"monsters --id 1 item=2 --save", 1, nullptr,
         [](const TKelDataBase& db) { return db.Monster.FindByID(1)->ItemId; }, 1},
        {"monsters --id 2 air=1 --save", 1, nullptr, [](const TKelDataBase& db) { return db.Monster.Count(); }, 1},
    };
    // In order: each case reads what the ones before it saved.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments);
        std::string out;
        EXPECT_EQ(Run(c.Arguments, &out), c.Status);
        if (c.Printed)
            EXPECT_NE(out.find(c.Printed), std::string::npos) << out;
        EXPECT_EQ(c.Stored(*Saved()), c.Expected);
    }
    EXPECT_EQ(Saved()->Skill.FindByID(1)->Name, "Heal");
    EXPECT_EQ(Saved()->Monster.FindByID(1)->ItemId, 1);
}

TEST_F(DataBasePageCli, VocabularyTermsByFieldNumber) {
    ASSERT_EQ(Run("vocabulary 41=Welcome 95=G --save"), 0);
    const std::unique_ptr<TKelDataBase> saved = Saved();
    const TKelDataBase& db = *saved;
    EXPECT_EQ(db.Vocabulary.Shop(0).Text[0], "Welcome");
    EXPECT_EQ(*db.Vocabulary.Text(95), "G");
}

}  // namespace
}  // namespace quillon
