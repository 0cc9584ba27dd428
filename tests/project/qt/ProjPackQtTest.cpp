// "Pack Project" on the offscreen platform: Start waits for a folder, a refused folder keeps the
// window open, Start packs and closes with OK, and the window's look.
#include "project/ProjPack_qt.h"

#include "platform/MessageBox.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace quillon {
namespace {

namespace fs = std::filesystem;

using widgetkit::App;

class TBox final : public IMessageBox {
public:
    std::vector<std::string> Texts;
    TBox() { mPrevious = SetMessageBox(this); }
    ~TBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int, const void*) override {
        Texts.push_back(text);
        return mrOk;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

class TNoFloppy final : public IFloppyDrives {
public:
    bool IsFloppy(const std::string&) const override { return false; }
    bool IsReady(const std::string&) const override { return true; }
    bool IsEmpty(const std::string&) const override { return true; }
    std::string FindFloppy() const override { return {}; }
};

class ProjPackQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        std::string pattern = (fs::temp_directory_path() / "quillon-packdlg-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        for (const char* name : {"GMK_RT.exe", "GMK_RT.kdb", "GMK_RT.kmt", "GMK_RT.ini", "Map0001.kmu"})
            Write(Root + "Quest/" + name, name);
        for (const char* name : {"Setup.exe.dat", "UNLHA32.DLL", "UNLHA32.TXT"})
            Write(Root + "editor/" + name, name);
        fs::create_directories(Root + "work");
    }
    void TearDown() override { fs::remove_all(Root); }
    static void Write(const std::string& path, const std::string& bytes) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Prepare(TProjectPackModel& model) {
        model.StoreOption = false;
        model.ProjectFolder = Root + "Quest/";
        model.RtpFolder = Root + "rtp/";
        model.EditorFolder = Root + "editor/";
        model.WorkParent = Root + "work";
    }
    std::string Root;
    TNoFloppy Drives;
    TBox Box;
};

TEST_F(ProjPackQtTest, StartWaitsForAFolderThenPacksAndCloses) {
    TProjectPackModel model(Drives);
    Prepare(model);
    TFormProjectPack dialog(model);
    auto* path = dialog.findChild<QPushButton*>("ButtonPath");
    auto* start = dialog.findChild<QPushButton*>("ButtonStart");
    auto* rtp = dialog.findChild<QCheckBox*>("CheckIncludeRtp");
    ASSERT_TRUE(path && start && rtp);
    EXPECT_EQ(dialog.windowTitle(), "Pack Project");
    EXPECT_EQ(rtp->text(), "&Include all RTP files in the Game Disk");
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(widgetkit::InputsWithoutAccessibleName(&dialog).isEmpty())
        << widgetkit::InputsWithoutAccessibleName(&dialog).join(", ").toStdString();

    // A folder inside the project: refused, the window stays.
    std::string offered;
    std::string answer = Root + "Quest/Disk/";
    dialog.ChooseDiskPath = [&](std::string& path) {
        offered = path;
        path = answer;
        return true;
    };
    dialog.show();
    QTest::mouseClick(path, Qt::LeftButton);
    EXPECT_EQ(offered, "");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(path->text().toStdString(), answer);
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(Box.Texts, std::vector<std::string>{kTargetInsideMessage});
    EXPECT_TRUE(dialog.isVisible());

    answer = Root + "disk/";
    QTest::mouseClick(path, Qt::LeftButton);
    EXPECT_EQ(offered, Root + "Quest/Disk/");
    widgetkit::KeepWidget(dialog, "ProjectPack");
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), mrOk);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Box.Texts.back(), kPackCompletedMessage);
    EXPECT_TRUE(fs::exists(Root + "disk/Quest.lzh"));
    EXPECT_TRUE(fs::exists(Root + "disk/Setup.exe"));
}

}  // namespace
}  // namespace quillon
