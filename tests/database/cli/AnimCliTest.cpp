// quillon-cli anim: the battle animation page's operations on a project's database, printed
// frame by frame and saved on request, and playback written as pictures.
#include "data/LD_DataBase.h"
#include "events/cli/CliRunKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class AnimCli : public clikit::TCliFolderTest {
protected:
    AnimCli() : TCliFolderTest("anim-cli") {}
    void SetUp() override {
        TCliFolderTest::SetUp();
        TKelDataBase db;
        TKelAnimationItem& anim = db.Animation.Obtain(1);
        anim.Name = "Slash";
        anim.SetFrameCount(5);
        anim.Frames.Items(0)->Cells.Append().X = 0;
        anim.Frames.Items(4)->Cells.Append().X = 2;
        TKelAnimationTimingItem& timing = anim.Timing.Append();
        timing.Frame = 2;
        timing.Sound.Name = "Hit";
        db.SaveToFile(File());
    }
    int Run(const std::string& arguments, std::string& out) const {
        return TCliFolderTest::Run("anim " + clikit::Quoted(folder) + " " + arguments, &out);
    }
};

TEST_F(AnimCli, OperationsPrintEveryFrameAndSaveOnlyWhenAsked) {
    std::string out;
    ASSERT_EQ(Run("1 complement 1 5 1 1 --motion", out), 0);
    EXPECT_NE(out.find("frame 3: 1 cells\n  cell 1: shown pattern 1 at 1,0 mag 100"), std::string::npos) << out;
    EXPECT_NE(out.find("frame 2: 1 cells\n  cell 1: shown pattern 1 at 0,0"), std::string::npos) << "0.5 rounds to 0";
    EXPECT_EQ(Saved()->Animation.FindByID(1)->Frames.Items(2)->Cells.Count(), 0) << "not saved without --save";

    ASSERT_EQ(Run("1 insert 2 --save", out), 0);
    EXPECT_NE(out.find("frame 6:"), std::string::npos);
    EXPECT_NE(out.find("timing 1: frame 3 sound Hit"), std::string::npos) << out;
    {
        const auto db = Saved();
        EXPECT_EQ(db->Animation.FindByID(1)->FrameCount(), 6);
        EXPECT_EQ(db->Animation.FindByID(1)->Timing.Items(0)->Frame, 3);
    }
    ASSERT_EQ(Run("1 copy 1 1 6 --save", out), 0);
    EXPECT_NE(out.find("frame 6: 1 cells\n  cell 1: shown pattern 1 at 0,0"), std::string::npos) << out;
    ASSERT_EQ(Run("1 clear 1 6 --save", out), 0);
    EXPECT_EQ(Saved()->Animation.FindByID(1)->Frames.Items(5)->Cells.Count(), 0);

    // Refusals and wrong usage.
    EXPECT_EQ(Run("1 delete 9", out), 1);
    EXPECT_EQ(Run("7 insert 1", out), 1);
    EXPECT_EQ(Run("1 anchor knees", out), 2);
    EXPECT_EQ(Run("1 frobnicate", out), 2);
}

TEST_F(AnimCli, PlaybackWritesOnePicturePerStep) {
    std::string out;
    const fs::path pictures = folder / "steps";
    ASSERT_EQ(Run("1 playback '" + pictures.string() + "'", out), 0);
    EXPECT_NE(out.find("step -10: 0 ms frame 0 sounds -\n"), std::string::npos) << out;
    EXPECT_NE(out.find("step 1: 363 ms frame 2 sounds Hit\n"), std::string::npos) << out;
    EXPECT_NE(out.find("step 14: 792 ms frame 0 sounds -\n"), std::string::npos) << out;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(pictures))
        files += entry.path().extension() == ".png" && fs::file_size(entry.path()) > 0;
    EXPECT_EQ(files, 25);
}

}  // namespace
}  // namespace quillon
