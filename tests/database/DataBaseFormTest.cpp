// The frame's rules without a window: tabs and their wrap, Apply's enabling, a save that fails,
// the question before unsaved changes go, and the read-back on close through a scratch database.
#include "database/DataBaseForm.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class TScriptedBox final : public IMessageBox {
public:
    TScriptedBox() { mPrevious = SetMessageBox(this); }
    ~TScriptedBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int flags, const void*) override {
        Texts.push_back(text);
        Flags.push_back(flags);
        if (Answers.empty())
            return mrOk;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<std::string> Texts;
    std::vector<int> Flags;
    std::deque<int> Answers;

private:
    IMessageBox* mPrevious;
};

class DataBaseFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-dbform-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        mFolder = pattern + "/";
        DataBaseMemory() = {};
        mDataBase.Player.Obtain(1).Name = "Alex";
        mDataBase.Player.Obtain(2).Name = "Brian";
        mDataBase.Save(mFolder);
        mContext.DataBase = &mDataBase;
        mContext.ProjectPath = mFolder;
    }
    void TearDown() override { fs::remove_all(mFolder); }
    std::string File() const { return mFolder + TKelDataBase::kFileName; }

    const TEditorModeScope mEditor{true};
    std::string mFolder;
    TKelDataBase mDataBase;
    TDataBaseContext mContext;
    TScriptedBox mBox;
};

TEST_F(DataBaseFormTest, TabsWrapAndTheLastOneIsRemembered) {
    {
        TDataBaseFormModel model(mContext);
        EXPECT_EQ(model.Tab(), -1);
        EXPECT_EQ(model.HelpContext(), 0);
        EXPECT_EQ(model.Open(), dtHero);
        EXPECT_EQ(model.PreviousTab(), dtCommonEvents);
        EXPECT_EQ(model.HelpContext(), 14);
        EXPECT_EQ(model.NextTab(), dtHero);
        model.SelectTab(dtItems);
    }
    TDataBaseFormModel again(mContext);
    EXPECT_EQ(again.Open(), dtItems);
    EXPECT_EQ(again.HelpContext(), 4);
}

TEST_F(DataBaseFormTest, ApplyWritesAndAFailedSaveKeepsEverything) {
    TDataBaseFormModel model(mContext);
    model.Open();
    EXPECT_FALSE(model.ApplyEnabled());
    mDataBase.Player.FindByID(1)->Name = "Alexa";
    model.PageModified();
    EXPECT_TRUE(model.ApplyEnabled());
    ASSERT_TRUE(model.Apply());
    EXPECT_FALSE(model.ApplyEnabled());
    TKelDataBase read;
    read.LoadFromFile(File());
    EXPECT_EQ(read.Player.FindByID(1)->Name, "Alexa");

    // A folder that is gone: the save fails, is reported, and Apply stays.
    const std::string before = ReadWholeFile(File());
    TDataBaseContext lost = mContext;
    lost.ProjectPath = mFolder + "gone/";
    TDataBaseFormModel failing(lost);
    failing.PageModified();
    EXPECT_FALSE(failing.Apply());
    EXPECT_TRUE(failing.ApplyEnabled());
    EXPECT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, "Alexa");
    EXPECT_EQ(ReadWholeFile(File()), before);
}

TEST_F(DataBaseFormTest, TheReadBackReplacesTheDatabaseOnlyWhenTheFileIsWhole) {
    TCatalog* heroes = &mDataBase.Player;
    mDataBase.Player.FindByID(1)->Name = "Unsaved";
    mDataBase.Player.Obtain(3);
    TDataBaseFormModel model(mContext);
    ASSERT_TRUE(model.Reload());
    EXPECT_EQ(&mDataBase.Player, heroes);
    EXPECT_EQ(mDataBase.Player.Count(), 2);
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, "Alex");

    // A file cut short, one with a bad signature, and none at all: reported, nothing lost.
    const std::string whole = ReadWholeFile(File());
    const std::string damaged[] = {whole.substr(0, whole.size() - 7), "KelDataBasX" + whole.substr(12), ""};
    for (const std::string& bytes : damaged) {
        if (bytes.empty())
            fs::remove(File());
        else
            WriteFileAtomic(File(), bytes);
        mDataBase.Player.FindByID(2)->Name = "Kept";
        mBox.Texts.clear();
        EXPECT_FALSE(model.Reload());
        ASSERT_EQ(mBox.Texts.size(), 1u);
        EXPECT_EQ(mBox.Texts[0].rfind(kDataBaseReloadFailure, 0), 0u);
        EXPECT_EQ(mDataBase.Player.Count(), 2);
        EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, "Kept");
    }
}

// A file found damaged as it was read: Apply asks, telling what could not be read; No writes
// nothing, closing reads the sound part back without a word, Yes keeps the damaged file beside.
TEST_F(DataBaseFormTest, ADamagedFileIsReplacedOnlyWhenTheUserSaysYes) {
    const std::string whole = ReadWholeFile(File());
    const std::string cut = whole.substr(0, whole.size() - 3);  // inside the common events
    WriteFileAtomic(File(), cut);
    mDataBase.Load(mFolder);
    ASSERT_EQ(mDataBase.DamagedFile(), File());
    EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, "Brian");

    TDataBaseFormModel model(mContext);
    model.Open();
    mDataBase.Player.FindByID(1)->Name = "Renamed";
    model.PageModified();
    mBox.Answers = {mrNo};
    EXPECT_FALSE(model.Apply());
    ASSERT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mBox.Texts[0],
              "GMK_RT.kdb is damaged: its common events could not be read. Replace it with the database as it is "
              "now? What could not be read is lost; the damaged file is kept as \"GMK_RT.kdb.damaged\".");
    EXPECT_EQ(mBox.Flags[0], mbYesNo | mbIconQuestion);
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(ReadWholeFile(File()), cut);

    mBox.Texts.clear();
    EXPECT_TRUE(model.Reload());
    EXPECT_TRUE(mBox.Texts.empty());
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, "Alex");
    EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, "Brian");
    EXPECT_EQ(mDataBase.DamagedFile(), File());

    mDataBase.Player.FindByID(1)->Name = "Renamed";
    mBox.Answers = {mrYes};
    EXPECT_TRUE(model.Apply());
    EXPECT_EQ(ReadWholeFile(File() + ".damaged"), cut);
    TKelDataBase back;
    back.Load(mFolder);
    EXPECT_FALSE(back.LoadReport().Damaged);
    EXPECT_EQ(back.Player.FindByID(1)->Name, "Renamed");
    EXPECT_EQ(back.Player.FindByID(2)->Name, "Brian");
}

}  // namespace
}  // namespace quillon
