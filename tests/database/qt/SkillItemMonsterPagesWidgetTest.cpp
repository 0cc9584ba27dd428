// The skill, item and monster pages headless in the "DataBase" window on the sample project: a
// field changed as the user changes it, applied and found in the file; the groups following
// the classification; the twin lists; the action list through its dialog; a picture of each.
#include "PageWidgetKit.h"

#include "controls/CheckListBox_qt.h"
#include "controls/Cp932Edit_qt.h"
#include "controls/RankListBox_qt.h"
#include "controls/ValueSlider_qt.h"
#include "database/AnimationPreview_qt.h"
#include "database/ED_Item_qt.h"
#include "database/ED_MonsterAct_qt.h"
#include "database/ED_Monster_qt.h"
#include "database/ED_Skill_qt.h"
#include "events/FakeEventChoosers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

namespace quillon {
namespace {

using namespace widgetkit;

class SkillItemMonsterPagesTest : public pagekit::TSampleDataBaseTest {
protected:
    static constexpr QSize kFrameSize{900, 640};
    static void Pick(QComboBox* combo, int row) {
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(row);
        emit combo->activated(row);
    }
    static bool Visible(QWidget& page, const char* name) {
        QWidget* w = page.findChild<QWidget*>(name);
        return w && w->isVisibleTo(&page);
    }
};

TEST_F(SkillItemMonsterPagesTest, SkillPageAppliesAChangedSliderAndFollowsTheClassification) {
    ASSERT_GE(mDataBase.Skill.Count(), 1);
    mDataBase.Skill.Items(0)->Kind = TKelSkillItem::skNormal;
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDSkill>(form, dtSkills, kFrameSize);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(InputsWithoutAccessibleName(page), QStringList());
    EXPECT_TRUE(Visible(*page, "GroupNormal"));
    EXPECT_FALSE(Visible(*page, "GroupSwitch"));
    KeepWidget(form, "database-skills-normal");

    const int variance = mDataBase.Skill.Items(0)->Variance == 9 ? 8 : 9;
    QTest::keyClick(page->Slider(2)->Slider(), Qt::Key_End);
    for (int i = kSkillSliderMax; i > variance; --i)
        QTest::keyClick(page->Slider(2)->Slider(), Qt::Key_Left);
    EXPECT_EQ(mDataBase.Skill.Items(0)->Variance, variance);
    Apply(form);
    EXPECT_EQ(OnDisk()->Skill.Items(0)->Variance, variance);

    // "Norm" to "Switch": the normal group goes, the switch skill's groups come.
    Pick(page->findChild<QComboBox*>("ComboKind"), TKelSkillItem::skSwitch);
    EXPECT_FALSE(Visible(*page, "GroupNormal"));
    for (const char* shown : {"GroupMessage", "GroupSwitch", "GroupSound"})
        EXPECT_TRUE(Visible(*page, shown)) << shown;
    KeepWidget(form, "database-skills-switch");
    Pick(page->findChild<QComboBox*>("ComboKind"), TKelSkillItem::skNormal);
    Pick(page->findChild<QComboBox*>("ComboRange"), TKelSkillItem::srWholeParty);
    EXPECT_EQ(page->findChild<QGroupBox*>("GroupAttributes")->title(), "Defense Attribute");
    EXPECT_EQ(AccessibleCaption(page->findChild<QAbstractButton*>("CheckDefenseFalling")->text()), "Defend");
}

// In the window at its natural size the normal skill's boxes show their entries whole: the
// failure messages, the effect ranges.
TEST_F(SkillItemMonsterPagesTest, SkillPageBoxesShowTheirEntriesWhole) {
    mDataBase.Skill.Items(0)->Kind = TKelSkillItem::skNormal;
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDSkill>(form, dtSkills);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(DoesNotFitSmallestScreen(form), "");
    for (const char* name : {"ComboFailure", "ComboRange"}) {
        auto* combo = Child<QComboBox>(*page, name);
        ASSERT_NE(combo, nullptr);
        EXPECT_GE(combo->count(), 4) << name;
        EXPECT_EQ(EntriesCutShort(*combo).join(" | ").toStdString(), "") << name << " is " << combo->width() << " wide";
    }
    KeepPicture(Grab(form), "database-skills-natural-size");
}

TEST_F(SkillItemMonsterPagesTest, ViewingASkillWithStrayValuesWritesNothing) {
    TKelSkillItem& skill = *mDataBase.Skill.Items(0);
    skill.Kind = 9;
    skill.EffectRange = 8;
    skill.AnimationId = 9999;
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDSkill>(form, dtSkills, kFrameSize);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->findChild<QComboBox*>("ComboKind")->currentIndex(), -1);
    EXPECT_EQ(page->findChild<QComboBox*>("ComboRange")->currentIndex(), -1);
    EXPECT_FALSE(form.ButtonApply().isEnabled());
    EXPECT_EQ(skill.Kind, 9);
    EXPECT_EQ(skill.EffectRange, 8);
    EXPECT_EQ(skill.AnimationId, 9999);
}

TEST_F(SkillItemMonsterPagesTest, ItemPageRenamesAndKeepsItsTwinListsTogether) {
    ASSERT_GE(mDataBase.Item.Count(), 1);
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDItem>(form, dtItems, kFrameSize);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(InputsWithoutAccessibleName(page), QStringList());
    auto* name = page->findChild<TCp932Edit*>("EditName");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->accessibleName(), "Name");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Tonic");
    Apply(form);
    EXPECT_EQ(OnDisk()->Item.FindByID(1)->Name, "Tonic");

    // Arms: the weapon groups; a mark in its attribute list shows in the armour's list too.
    Pick(page->findChild<QComboBox*>("ComboKind"), TKelItemItem::ikWeapon);
    EXPECT_TRUE(Visible(*page, "GroupWeapon"));
    EXPECT_FALSE(Visible(*page, "GroupOptions"));
    EXPECT_EQ(page->findChild<QGroupBox*>("GroupWeaponAttributes")->title(), "Attack Attribute");
    ASSERT_GE(page->WeaponAttributeList()->count(), 1);
    QListWidgetItem* row = page->WeaponAttributeList()->item(0);
    row->setCheckState(row->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    const bool marked = row->checkState() == Qt::Checked;
    EXPECT_EQ(mDataBase.Item.FindByID(1)->Attribute(1) != 0, marked);
    KeepWidget(form, "database-items-arms");
    Pick(page->findChild<QComboBox*>("ComboKind"), TKelItemItem::ikShield);
    EXPECT_FALSE(Visible(*page, "GroupWeapon"));
    EXPECT_TRUE(Visible(*page, "GroupOptions"));
    EXPECT_EQ(page->findChild<QGroupBox*>("GroupArmourAttributes")->title(), "Defense Attribute");
    EXPECT_EQ(page->ArmourAttributeList()->Checked(0), marked);
    KeepWidget(form, "database-items-shield");
}

TEST_F(SkillItemMonsterPagesTest, ItemHeroListUntickingOneHeroLeavesTheOthers) {
    ASSERT_GE(mDataBase.Player.Count(), 3);
    TKelItemItem& item = *mDataBase.Item.Items(0);
    item.Kind = TKelItemItem::ikWeapon;
    item.SetHeroUsableCount(0);  // everyone may equip it
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDItem>(form, dtItems, kFrameSize);
    ASSERT_NE(page, nullptr);
    TCheckListBox* heroes = page->HeroList();
    ASSERT_EQ(heroes->count(), mDataBase.Player.Count());
    EXPECT_TRUE(heroes->Checked(1));
    heroes->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(item.HeroCanUse(2), 0);
    for (std::int32_t id : {1, 3})
        EXPECT_EQ(item.HeroCanUse(id), 1) << id;
}

TEST_F(SkillItemMonsterPagesTest, MonsterPageEditsAnActionThroughTheDialogAndApplies) {
    ASSERT_GE(mDataBase.Monster.Count(), 1);
    TKelMonsterItem& monster = *mDataBase.Monster.Items(0);
    const int before = monster.Actions.Count();
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDMonster>(form, dtMonsters, kFrameSize);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(InputsWithoutAccessibleName(page), QStringList());
    TMonsterActListView* list = page->ActionList();
    ASSERT_EQ(list->model()->rowCount(), before + 1);
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Conditions");
    // Every cell shows its whole text: each column is as wide as what it holds.
    Settle();
    for (int row = 0; row < list->model()->rowCount(); ++row)
        for (int column = 0; column < list->model()->columnCount(); ++column) {
            const QString text = list->model()->index(row, column).data().toString();
            EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(text))
                << row << "," << column << " " << text.toStdString();
        }
    KeepWidget(form, "database-monsters");
    if (QWidget* fields = page->findChild<QWidget*>("Fields"))
        KeepPicture(fields->grab().toImage(), "database-monsters-fields");

    // The new row: "Oneself HP" 60..40 is refused, 40..60 stored.
    ShowCurrentRow(*list, before);
    int refusals = 0;
    {
        const TScopedModalRunner runner([&](TFormKelBase& dialog) {
            auto& act = dynamic_cast<TFormEDMonsterAct&>(dialog);
            EXPECT_EQ(act.windowTitle(), "Actions Pattern");
            EXPECT_EQ(InputsWithoutAccessibleName(&act), QStringList());
            Pick(act.findChild<QComboBox*>("ComboBox4"), TKelMonsterActItem::acOwnHp);
            auto* a = act.findChild<QSpinBox*>("DialEdit1");
            auto* b = act.findChild<QSpinBox*>("DialEdit2");
            EXPECT_EQ(b->value(), 100);
            EXPECT_EQ(act.findChild<QLabel*>("LabelA")->text(), "% Above");
            EXPECT_EQ(act.findChild<QGroupBox*>("GroupCondition")->title(), "Oneself HP");
            KeepPicture(act.grab().toImage(), "database-monster-action");
            a->setValue(60);
            b->setValue(40);
            act.findChild<QPushButton*>("ButtonOk")->click();
            refusals = static_cast<int>(mBox.Texts.size());
            EXPECT_EQ(act.result(), 0) << "still open";
            a->setValue(40);
            b->setValue(60);
            act.findChild<QPushButton*>("ButtonOk")->click();
            return act.result();
        });
        list->Menu_ActItemEditClick();
    }
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(mBox.Texts, (std::vector<std::string>{kMonsterActRangeRefusal}));
    ASSERT_EQ(monster.Actions.Count(), before + 1);
    EXPECT_EQ(pagekit::RowText(*list, before, 1), "Oneself HP [40-60]");
    Apply(form);
    const auto disk = OnDisk();
    const TKelMonsterActItem& saved = *disk->Monster.Items(0)->Actions.Items(before);
    EXPECT_EQ(saved.ConditionType, TKelMonsterActItem::acOwnHp);
    EXPECT_EQ(saved.ConditionA, 40);
    EXPECT_EQ(saved.ConditionB, 60);

    // Copy and paste before the first row through the popup's commands.
    ShowCurrentRow(*list, before);
    list->Menu_ActItemCopyClick();
    ShowCurrentRow(*list, 0);
    list->UpdatePopup();
    list->Menu_ActItemPasteClick();
    EXPECT_EQ(monster.Actions.Items(0)->ConditionType, TKelMonsterActItem::acOwnHp);
    EXPECT_EQ(pagekit::RowText(*list, 0, 1), "Oneself HP [40-60]");
    EXPECT_TRUE(form.ButtonApply().isEnabled());
}

TEST_F(SkillItemMonsterPagesTest, MonsterRanksShowTheirDefaultsAndStoreAClick) {
    ASSERT_GE(mDataBase.Status.Count(), 2);
    TKelMonsterItem& monster = *mDataBase.Monster.Items(0);
    monster.SetConditionRankCount(0);
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDMonster>(form, dtMonsters, kFrameSize);
    ASSERT_NE(page, nullptr);
    TRankListBox* ranks = page->ConditionRankList();
    ASSERT_EQ(ranks->topLevelItemCount(), mDataBase.Status.Count());
    EXPECT_EQ(ranks->topLevelItem(1)->text(1), "B") << "conditions default to rank 1";
    ranks->setCurrentItem(ranks->topLevelItem(1));
    QTest::keyClick(ranks, Qt::Key_D);
    EXPECT_EQ(monster.ConditionRank(2), 3);
    EXPECT_EQ(monster.ConditionRank(1), 1);
    Apply(form);
    EXPECT_EQ(OnDisk()->Monster.Items(0)->ConditionRank(2), 3);
}

}  // namespace
}  // namespace quillon
