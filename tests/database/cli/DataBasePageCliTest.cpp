// quillon-cli dbpage: a page's fields set by key, with the page's rules, and saved back.
#include "data/LD_DataBase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class DataBasePageCli : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-dbpage-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        TKelDataBase db;
        db.Status.Obtain(2).Name = "Poison";
        for (std::int32_t id = 1; id <= 3; ++id)
            db.Player.Obtain(id);
        db.System.SetPartySize(3);
        db.System.SetPartyMember(1, 2);
        db.System.SetPartyMember(2, 3);
        db.SaveToFile(File());
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string File() const { return (folder / "GMK_RT.kdb").string(); }

    int Run(const std::string& arguments, std::string* out = nullptr) const {
        const std::string command = std::string("'") + QUILLON_CLI + "' dbpage '" + File() + "' " + arguments + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return -1;
        char buffer[4096];
        std::size_t n = 0;
        std::string text;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        if (out)
            *out = text;
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::unique_ptr<TKelDataBase> Saved() const {
        auto db = std::make_unique<TKelDataBase>();
        db->LoadFromFile(File());
        return db;
    }

    fs::path folder;
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

TEST_F(DataBasePageCli, VocabularyTermsByFieldNumber) {
    ASSERT_EQ(Run("vocabulary 41=Welcome 95=G --save"), 0);
    const std::unique_ptr<TKelDataBase> saved = Saved();
    const TKelDataBase& db = *saved;
    EXPECT_EQ(db.Vocabulary.Shop(0).Text[0], "Welcome");
    EXPECT_EQ(*db.Vocabulary.Text(95), "G");
}

}  // namespace
}  // namespace quillon
