// The hero page ("Hero"): every field of the current hero. The level range (each box limiting
// the other), critical hits, the options, the six small curve graphs with their "Máx:" values,
// the five equipment slots (the items this hero may equip, two weapons, the two-handed rule),
// the unarmed animation, the skill command name, the skills learned by level, and the condition
// and attribute ranks. Viewing a hero writes nothing: values a file holds that the controls
// cannot show are shown as the controls can and kept until the user changes them.
#pragma once

#include "controls/FieldForm.h"
#include "controls/RankList.h"
#include "data/HeroEquipment.h"
#include "data/LD_Player.h"
#include "database/ED_PlayerExp.h"
#include "database/ED_PlayerParameter.h"
#include "database/EntryPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;
class TKelDataBase;

inline constexpr int kHeroLearningMax = 500;
inline constexpr std::int32_t kHeroCriticalMax = 100;
// The small graphs: 50 columns of 2 pixels, 54 high.
inline constexpr int kSmallGraphWidth = 2 * kParameterLevels;
inline constexpr int kSmallGraphHeight = 54;

class TPlayerPageModel : public TEntryPageModel<TKelPlayerItem> {
public:
    // choosers: the walk and face graphic selectors (none: nothing is chosen).
    TPlayerPageModel(const TDataBaseContext& context, IEventChoosers* choosers = nullptr);
    ~TPlayerPageModel() override;

    TKelPlayerItem& Hero() const { return Item(); }

    // --- texts ---
    const std::string& Degree() const { return Item().Degree; }
    void SetDegree(const std::string& text);
    // "Standard=%d; Additional=%d; Corrected=%d" of the stored values.
    std::string ExpSummary() const;

    // --- level range: the boxes show values kept in 1 .. 50 and in each other's limits ---
    std::int32_t InitialLevel() const;
    std::int32_t MaxLevel() const;
    // The limits of the boxes: the initial level up to the maximum, the maximum from the initial.
    std::int32_t InitialLevelMax() const { return MaxLevel(); }
    std::int32_t MaxLevelMin() const { return InitialLevel(); }
    // Kept within the box's limits; false when unchanged.
    bool SetInitialLevel(std::int32_t level);
    bool SetMaxLevel(std::int32_t level);

    // --- critical hits ---
    bool CriticalEnabled() const { return Item().CriticalEnabled != 0; }
    void SetCriticalEnabled(bool on);
    std::int32_t CriticalChance() const;
    void SetCriticalChance(std::int32_t chance);

    // --- graphics ---
    // The selectors on the stored graphic; true when another was chosen.
    bool ChooseWalkGraphic();
    bool ChooseFaceGraphic();
    void SetTransparent(bool on);

    // --- the six small graphs ---
    std::int32_t Parameter(int parameter, int level) const { return Item().Parameter(parameter, level); }
    // "Máx:": the value at the initial level, plus for Attack, Defense, Mind and Agility the
    // matching bonus of each item equipped.
    std::int32_t ShownMax(int parameter) const;
    // The curves from the parameter dialog (all six); false when they are the same.
    bool SetCurves(const TParameterCurves& curves);
    // The experience values from its dialog; false when they are the same.
    bool SetExpCurve(const TExpCurve& curve);
    TExpCurve ExpCurve() const;

    // --- equipment ---
    bool TwoSwords() const { return Item().TwoSwords != 0; }
    // Turning two weapons on or off clears the second slot only when its item does not fit the
    // slot's new list.
    void SetTwoSwords(bool on);
    // "(None)" (ID 0), then every item of the slot's class that this hero may equip (the second
    // slot offers weapons while two weapons are on).
    std::vector<TFieldChoice> SlotChoices(int slot) const;
    // The item the slot shows: the stored one, or 0 ("(None)") when it is not offered.
    std::int32_t SlotItem(int slot) const;
    // Stores an offered item (0: none), then applies the two-handed rule. False when refused or
    // unchanged.
    bool SetSlotItem(int slot, std::int32_t itemId);
    // Whether an item is a weapon held in both hands.
    bool IsTwoHanded(std::int32_t itemId) const;
    // "Weapon:" or "Shield:" for the second slot.
    const char* SecondSlotCaption() const { return TwoSwords() ? "Weapon:" : "Shield:"; }

    // --- unarmed animation: the animation list's IDs ---
    std::vector<TFieldChoice> AnimationChoices() const;
    // The stored animation, or the first of the list when it is not there (shown, not written).
    std::int32_t UnarmedAnimation() const;
    bool SetUnarmedAnimation(std::int32_t id);

    // --- skill command name ---
    bool CustomSkillName() const { return Item().CustomSkillName != 0; }
    void SetCustomSkillName(bool on);
    const std::string& SkillCommandName() const { return Item().SkillCommandName; }
    void SetSkillCommandName(const std::string& text);

    // --- skills learned: one row per entry ("L-%2d" and the skill's name or "?"), then an
    // empty row for adding ---
    int LearningRowCount() const { return Item().Learning.Count() + 1; }
    // The two columns of a row; empty for the adding row.
    std::string LearningLevelText(int row) const;
    std::string LearningSkillText(int row) const;
    // Edit: every entry row, the adding row while there are fewer than 500 entries.
    bool CanEditLearning(int row) const;
    bool CanDeleteLearning(int row) const { return row >= 0 && row < Item().Learning.Count(); }
    // An entry of the row (or the adding row) takes a level and a skill; the list is sorted by
    // level, then skill ID, and renumbered. Answers the entry's row afterwards, -1 when refused.
    int StoreLearning(int row, std::int32_t level, std::int32_t skillId);
    // Removes an entry's row; false for the adding row.
    bool DeleteLearning(int row);

    // --- ranks: a row per condition (attribute) of the database; ranks the hero has no entry
    // for show 2 ---
    std::vector<TRankListModel::TRow> ConditionRows() const;
    std::vector<TRankListModel::TRow> AttributeRows() const;
    // The rank array is first made as long as the database's list (new entries 2), then the
    // row's rank is stored. False for a row that does not exist or a rank outside 0 .. 4.
    bool SetConditionRank(int row, int rank);
    bool SetAttributeRank(int row, int rank);

private:
    bool Fits(int slot, std::int32_t itemId) const;
    void ApplyTwoHandedRule(int changedSlot);
    const TKelDataBase& Db() const { return DataBase(); }
    IEventChoosers* mChoosers;
};

// The page's fields that the binder shows (the name has an edit of its own). Widgets: EditDegree,
// EditInitialLevel, EditMaxLevel, CheckCritical, EditCritical (with LabelCritical),
// CheckTwoSwords, CheckEquipFix, CheckAi, CheckStrongDefense, CheckTransparent, DashWalk,
// DashFace, ComboWeapon, ComboShield, ComboArmor, ComboHelmet, ComboAccessory, ComboUnarmed,
// CheckSkillName, EditSkillName.
const TFieldForm& PlayerPageForm();

// The learning dialog ("Skills"): a level and one of the skills this hero does not learn yet
// by another entry.
class TPlayerLearningModel {
public:
    // row: the entry edited, or the adding row (Learning.Count()); it starts from the entry's
    // values or, for the adding row, from the values last confirmed in this dialog.
    TPlayerLearningModel(const TKelDataBase& db, const TKelPlayerItem& hero, int row);

    // The skills offered (the database's, without those other entries of the hero teach).
    const std::vector<TFieldChoice>& Skills() const { return mSkills; }
    std::int32_t Level() const { return mLevel; }
    void SetLevel(std::int32_t level);  // 1 .. 50
    // The offered skill selected, -1 when none is offered.
    int SkillRow() const { return mSkillRow; }
    void SetSkillRow(int row);
    std::int32_t SkillId() const;
    // OK: only with a skill to choose.
    bool CanConfirm() const { return mSkillRow >= 0; }
    // Remembers the values for the next adding row (the run's last confirmed ones).
    void Confirmed() const;

    // Level and skill last confirmed during the run: level 1 and skill 1 at first.
    static std::int32_t& LastLevel();
    static std::int32_t& LastSkill();

private:
    std::vector<TFieldChoice> mSkills;
    std::int32_t mLevel = 1;
    int mSkillRow = -1;
};

}  // namespace quillon
