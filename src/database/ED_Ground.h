// The terrain page ("Terrain"): every field of the current terrain; the battle background is
// chosen with the backdrop selector.
#pragma once

#include "data/LD_Ground.h"
#include "database/EntryPage.h"

namespace quillon {

class IEventChoosers;

inline constexpr std::int32_t kGroundDamageMin = -999;  // a negative damage heals
inline constexpr std::int32_t kGroundDamageMax = 999;
inline constexpr std::int32_t kGroundEncounterMax = 1000;

class TGroundPageModel : public TEntryPageModel<TKelGroundItem> {
public:
    // choosers: the selectors (none: nothing is chosen).
    TGroundPageModel(const TDataBaseContext& context, IEventChoosers* choosers);

    const std::string& BackdropName() const { return Item().BackdropName; }
    // The backdrop selector on the current name; true when another one was chosen.
    bool ChooseBackdrop();

private:
    IEventChoosers* mChoosers;
};

// Widgets: EditName, EditDamage, EditEncounter, DashBackdrop, CheckBoat, CheckShip, CheckAirship,
// CheckLanding, RadioDisplay.
const TFieldForm& GroundPageForm();

}  // namespace quillon
