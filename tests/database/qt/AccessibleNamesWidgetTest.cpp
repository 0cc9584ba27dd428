// What a screen reader hears of the inputs whose caption or value changes while the window is
// open: the name is what the input is (its caption as shown), the value it holds is the
// description. One row per input, from the database pages, the command dialogs and the project
// dialogs.
#include "PageWidgetKit.h"

#include "controls/FieldBinder_qt.h"
#include "controls/KelBase_qt.h"
#include "database/ED_MonGroup_qt.h"
#include "database/ED_Skill_qt.h"
#include "events/EvCmdList_qt.h"
#include "events/FakeEventChoosers.h"
#include "project/ProjPath.h"
#include "project/ProjPath_qt.h"
#include "project/TransparentPicker_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>

#include <functional>
#include <set>

namespace quillon {
namespace {

// What a reader hears of one input.
struct THeard {
    QString Name;
    QString Description;
};

THeard HeardOf(QWidget* root, const char* objectName) {
    auto* widget = root->findChild<QWidget*>(QString::fromLatin1(objectName));
    EXPECT_NE(widget, nullptr) << objectName;
    return widget ? THeard{widget->accessibleName(), widget->accessibleDescription()} : THeard{};
}

class AccessibleNamesTest : public pagekit::TSampleDataBaseTest {
protected:
    // What `act` hears in the first dialog that opens while `open` runs.
    static std::vector<THeard> InDialog(const std::function<void()>& open,
                                        const std::function<std::vector<THeard>(TFormKelBase&)>& act) {
        std::vector<THeard> heard;
        TScopedModalRunner runner([&](TFormKelBase& dialog) {
            if (heard.empty()) {
                widgetkit::ShowActive(dialog);
                heard = act(dialog);
            }
            return int(mrCancel);
        });
        open();
        return heard;
    }
    std::vector<THeard> InCommandDialog(std::int32_t code, const char* objectName) {
        TEventCommandContext context;
        context.DataBase = &mDataBase;
        context.Choosers = &choosers;
        TEventCommandDialogsQt dialogs(nullptr);
        return InDialog([&] {
            TKelEventScriptList result;
            dialogs.RunDialog(code, result, context);
        }, [&](TFormKelBase& dialog) { return std::vector<THeard>{HeardOf(&dialog, objectName)}; });
    }

    testkit::TFakeEventChoosers choosers;
    int modified = 0;
};

TEST_F(AccessibleNamesTest, NamesAreTheCaptionsShownAndValuesTheDescriptions) {
    mDataBase.Switch.Obtain(1).Name = "Gate open";
    ASSERT_GE(mDataBase.Skill.Count(), 1);
    mDataBase.Skill.Items(0)->Kind = TKelSkillItem::skNormal;
    mDataBase.Skill.Items(0)->EffectRange = TKelSkillItem::srSingleEnemy;
    ASSERT_GE(mDataBase.MonGroup.Count(), 1);
    TKelBattleEventTrigger& trigger = mDataBase.MonGroup.Items(0)->Pages.Obtain(1).Trigger;
    trigger.Flags = TKelBattleEventTrigger::btSwitchA;
    trigger.SwitchAId = 1;

    struct TRow {
        const char* What;
        std::function<std::vector<THeard>()> Hear;
        std::vector<QString> Names;         // one per input heard, in order
        std::vector<QString> Descriptions;  // what each description holds (empty: anything)
    };
    const TRow rows[] = {
        {"the skill page's box against enemies",
         [&] {
             TFormDataBase form(mContext);
             auto* page = OpenTab<TFormEDSkill>(form, dtSkills, {900, 640});
             return std::vector<THeard>{HeardOf(page, "CheckDefenseFalling")};
         },
         {"Prevent Chance"}, {""}},
        {"the edit of \"Choose Disk Path\"",
         [&] {
             TProjectPathModel model(TPathDialogKind::DiskPath);
             model.Path = mRoot + "/disk";
             TFormProjectPath form(model);
             return std::vector<THeard>{HeardOf(&form, "EditPath")};
         },
         {"Disk Path"}, {""}},
        {"the switch of \"Switch Management\"", [&] { return InCommandDialog(10210, "SwitchSingle"); },
         {"Switch"}, {"Gate open"}},
        {"the switch of \"Fork Conditions\"", [&] { return InCommandDialog(12010, "SwitchCondition"); },
         {"Switch"}, {"Gate open"}},
        {"the troop page's trigger",
         [&] {
             TFormEDMonGroup page(mContext, &choosers);
             pagekit::StartPage(page, modified, {900, 640});
             return std::vector<THeard>{HeardOf(&page, "DashBox1")};
         },
         {"Trigger"}, {"Gate open"}},
        {"the colour of \"Material Base\"",
         [&] {
             TBitmap picture(32, 32, TPixelFormat::pf8bit);
             TFormMaterialBase2 picker(picture);
             picker.show();
             return std::vector<THeard>{HeardOf(&picker, "LabelSelected")};
         },
         {"Transparent colour"}, {"Colour 0 ("}},
        {"the battle test's levels",
         [&] {
             return InDialog([&] { RunBattleTestDialog(nullptr, mDataBase, mDataBase.MonGroup.Items(0)->ID); },
                             [](TFormKelBase& dialog) {
                                 std::vector<THeard> heard;
                                 for (const char* name : {"EditLevel1", "EditLevel2", "EditLevel3", "EditLevel4"})
                                     heard.push_back(HeardOf(&dialog, name));
                                 return heard;
                             });
         },
         {"Hero 1 Level", "Hero 2 Level", "Hero 3 Level", "Hero 4 Level"}, {"", "", "", ""}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.What);
        const std::vector<THeard> heard = row.Hear();
        ASSERT_EQ(heard.size(), row.Names.size());
        for (std::size_t i = 0; i < heard.size(); ++i) {
            EXPECT_EQ(heard[i].Name, row.Names[i]) << i;
            EXPECT_TRUE(heard[i].Description.contains(row.Descriptions[i]))
                << i << ": " << heard[i].Description.toStdString();
        }
    }
}

}  // namespace
}  // namespace quillon
