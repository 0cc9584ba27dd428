// The skill page ("Skills"): every field of the current skill. Which groups of controls the
// page shows follows the classification, and some captions follow the effect range; the
// condition and attribute lists, the sliders and the animation preview are the widget's, over
// the operations here.
#pragma once

#include "data/LD_Skill.h"
#include "database/EntryPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;

inline constexpr std::int32_t kSkillNumberMax = 999;   // "MP Cost", "Basis Effect #"
inline constexpr std::int32_t kSkillSliderMax = 10;    // the three influence sliders
inline constexpr std::int32_t kSkillPercentMax = 100;  // "Basic success rate"
inline constexpr int kSkillHelpContext = 3;

// The groups of controls that only some classifications show.
enum class TSkillGroup {
    Normal,    // failure message, effect range, animation, sliders, effect, declines, conditions, attributes
    Sound,     // "Select Sound Effect"
    Message,   // "Using Message" and its three buttons
    Switch,    // "Available at" and "ON Switch"
};

class TSkillPageModel : public TEntryPageModel<TKelSkillItem> {
public:
    // choosers: the switch picker and the sound selector (none: nothing is chosen).
    TSkillPageModel(const TDataBaseContext& context, IEventChoosers* choosers);

    // Whether the current skill's classification shows a group (an unknown one shows none).
    bool Shown(TSkillGroup group) const;
    // Captions that follow the effect range: the attribute group and its check box.
    std::string AttributeCaption() const;
    std::string DefenseFallingCaption() const;

    // The vocabulary's four failure texts, and the stored choice (0..3).
    std::vector<TFieldChoice> FailureChoices() const;
    // "Battle Animation": the animations by position; the stored ID while it names one, else 1
    // (shown, not stored).
    std::vector<TFieldChoice> AnimationChoices() const;
    std::int32_t AnimationShown() const;
    void SetAnimation(std::int32_t id);
    // The animation the preview shows (nullptr for none).
    const class TKelAnimationItem* PreviewAnimation() const;

    // The condition and attribute marks, one per condition / attribute of the database.
    std::vector<std::string> ConditionNames() const;
    std::vector<std::string> AttributeNames() const;
    std::vector<bool> ConditionMarks() const;
    std::vector<bool> AttributeMarks() const;
    bool SetConditionMark(std::int32_t id, bool on);
    bool SetAttributeMark(std::int32_t id, bool on);

    // The three influence sliders: 0 hit, 1 mind, 2 variance; positions 0..10.
    std::int32_t Influence(int slider) const;
    bool SetInfluence(int slider, std::int32_t position);

    // "[* Chant]", "[* Cast]", "[* Use]".
    bool UseStandardMessage(TKelSkillItem::TUsingStyle style);

    // "ON Switch": the switch's display text (nothing for a switch that does not exist), and
    // the picker; names applied in the picker count as a change too.
    std::string SwitchText() const;
    bool ChooseSwitch();
    // "Select Sound Effect": the sound's name, and the selector on a copy of the sound.
    std::string SoundText() const;
    bool ChooseSound();

private:
    bool NoteAppliedNames();

    IEventChoosers* mChoosers;
    bool mNamesNoted = false;
};

// Widgets: EditName, ComboKind, EditMpCost, EditExplanation; GroupNormal with ComboFailure,
// ComboRange, ComboAnimation, EditBaseEffect, EditSuccessRate; GroupDecline with CheckHp ..
// CheckAgility, CheckAbsorption, CheckIgnoreDefense; GroupConditions; GroupAttributes with
// CheckDefenseFalling; GroupSound with DashSound; GroupMessage with EditMessage1, EditMessage2,
// ButtonChant, ButtonCast, ButtonUse; GroupSwitch with CheckField, CheckBattle, DashSwitch.
const TFieldForm& SkillPageForm();

// The group boxes of a group, by widget name.
std::vector<std::string> SkillGroupWidgets(TSkillGroup group);

}  // namespace quillon
