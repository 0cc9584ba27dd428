// The skill page ("Skills"): every field of the current skill. Which groups of controls the
// page shows follows the classification, and some captions follow the effect range; the
// condition and attribute lists, the sliders and the animation preview are the widget's, over
// the operations here.
#pragma once

#include "data/LD_Skill.h"
#include "database/MarkedPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

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

class TSkillPageModel : public TMarkedPageModel<TKelSkillItem> {
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
    // The three influence sliders: 0 hit, 1 mind, 2 variance; positions 0..10.
    std::int32_t Influence(int slider) const;
    bool SetInfluence(int slider, std::int32_t position);

    // "[* Chant]", "[* Cast]", "[* Use]".
    bool UseStandardMessage(TKelSkillItem::TUsingStyle style);

    // "Select Sound Effect": the sound's name, and the selector on a copy of the sound.
    std::string SoundText() const;
    bool ChooseSound();
};

// The fields, by the names of their widgets in the page's form: EditName, ComboKind, EditMpCost,
// EditExplanation; in the group boxes GroupNormal with ComboFailure, ComboRange, ComboAnimation,
// EditBaseEffect, EditSuccessRate; GroupDecline with CheckHp .. CheckAgility, CheckAbsorption,
// CheckIgnoreDefense; GroupConditions; GroupAttributes with CheckDefenseFalling; GroupSound with
// DashSound; GroupMessage with EditMessage1, EditMessage2, ButtonChant, ButtonCast, ButtonUse;
// GroupSwitch with CheckField, CheckBattle, DashSwitch.
const TFieldForm& SkillPageForm();

// The group boxes of a group, by widget name.
std::vector<std::string> SkillGroupWidgets(TSkillGroup group);

}  // namespace quillon
