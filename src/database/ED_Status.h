// The condition page ("Conditions"): every field of the current condition. The incapacitation
// condition (ID 1) never keeps its messages "Already in This State" and "State is Regular for
// One" (they are emptied whenever it is read), so the page offers them disabled and refuses
// them.
#pragma once

#include "data/LD_Status.h"
#include "database/EntryPage.h"

namespace quillon {

inline constexpr std::int32_t kStatusColorMax = 19;      // the system graphic's 20 colours
inline constexpr std::int32_t kStatusPriorityMax = 100;
inline constexpr std::int32_t kStatusTurnsMax = 999;     // turns and steps
inline constexpr std::int32_t kStatusPointsMax = 999;    // points lost or healed
inline constexpr std::int32_t kStatusPercentMax = 100;

class TStatusPageModel : public TEntryPageModel<TKelStatusItem> {
public:
    explicit TStatusPageModel(const TDataBaseContext& context);

    // Whether the current condition keeps messages 53 and 54 (not the incapacitation one).
    bool FixedMessagesEditable() const { return Item().ID != TKelStatusItem::kIncapacitationId; }
    const std::string& AlreadyMessage() const { return Item().AlreadyMessage; }
    const std::string& AffectedMessage() const { return Item().AffectedMessage; }
    // Refused (false) for the incapacitation condition.
    bool SetAlreadyMessage(const std::string& text);
    bool SetAffectedMessage(const std::string& text);
};

// Widgets: EditName, RadioKind, EditColor, EditPriority, RadioRestriction, EditChanceA .. E,
// EditHealTurns, EditHealRate, EditShockHeal, CheckHalveAttack .. CheckHalveAgility, EditHitRate,
// CheckSealHit, EditSealHit, CheckSealMind, EditSealMind, EditAllyMessage, EditEnemyMessage,
// EditAlreadyMessage, EditAffectedMessage, EditRecoveryMessage, the HP and MP losses
// (EditHpTurnRate, EditHpTurnPoints, EditHpMapSteps, EditHpMapPoints and the same for Mp).
const TFieldForm& StatusPageForm();

}  // namespace quillon
