// The monster page headless on the sample project: the graphic preview follows the selected
// monster and a hue chosen in the graphic selector, and says when an image is missing.
#include "app/AppTestKit.h"
#include "data/LD_DataBase.h"
#include "database/ED_Monster_qt.h"
#include "events/FakeEventChoosers.h"
#include "kit/WidgetKit.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/SelBase_qt.h"
#include "tools/lib/SampleProject.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>

namespace quillon {
namespace {

class MonsterPageWidgetTest : public apptest::TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        widgetkit::App();
        SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
        MakeSampleProject(mProject);
        SetProjectPath(mProject);
        db.Load(mProject);
        DataBaseMemory() = {};
        context.DataBase = &db;
        context.ProjectPath = mProject;
    }
    void TearDown() override {
        SetProjectPath("");
        TTempFolderTest::TearDown();
    }

    TKelDataBase db;
    TDataBaseContext context;
    testkit::TFakeEventChoosers choosers;
};

TEST_F(MonsterPageWidgetTest, ThePreviewFollowsTheMonsterAndTheChosenHue) {
    ASSERT_GE(db.Monster.Count(), 2);
    ASSERT_NE(db.Monster.Items(0)->GraphicName, db.Monster.Items(1)->GraphicName);
    TFormEDMonster page(context, &choosers);
    page.resize(760, 500);
    page.show();
    page.Start();
    widgetkit::Settle();
    TMonsterPreview* preview = page.Preview();
    ASSERT_NE(preview, nullptr);
    const QImage first = preview->Picture();
    EXPECT_NE(first.pixel(0, 0), first.pixel(first.width() / 2, first.height() / 2)) << "an image on its background";
    EXPECT_TRUE(preview->toolTip().isEmpty());

    page.EntryList()->setCurrentIndex(page.EntryList()->model()->index(1, 0));
    ASSERT_EQ(page.Model().CurrentId(), 2);
    const QImage second = preview->Picture();
    EXPECT_NE(second, first);

    // Slider position 27 is a hue of 90.
    {
        const TScopedModalRunner runner([](TFormKelBase& dialog) {
            auto& selector = dynamic_cast<TFormSelMonster&>(dialog);
            selector.HueSlider()->setValue(27);
            return mrOk;
        });
        widgetkit::Child<QPushButton>(page, "DashGraphic")->click();
    }
    EXPECT_EQ(db.Monster.Items(1)->Hue, 90);
    const QImage hued = preview->Picture();
    EXPECT_NE(hued, second);
    widgetkit::Child<QCheckBox>(page, "CheckTransparent")->click();
    EXPECT_NE(preview->Picture(), hued) << "drawn semi-transparent";

    db.Monster.Items(1)->GraphicName = "NoSuchMonster";
    page.LoadEntry();
    EXPECT_TRUE(preview->toolTip().contains("NoSuchMonster"));
}

}  // namespace
}  // namespace quillon
