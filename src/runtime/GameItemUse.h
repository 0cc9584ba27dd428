// Items and skills used from the menu, and the inn's full recovery of the party.
//
// From the menu: medicine heals HP and MP (a share of the maximum plus points) and the conditions
// it marks, on one hero or the whole party as its range says; a medicine "only for unconscious
// heroes" works on those alone, any other on the conscious alone. Seeds add to parameters for
// good, books teach their skill, switch items turn their switch on, unique items invoke their
// skill. Items for the battle only, equipment and other goods are not used here. Skills: switch
// skills turn their switch on; normal skills aimed at allies heal HP and MP by their base effect
// plus a share of the user's mind (the skill's mind influence in twentieths) and the conditions
// they mark. A use that would change nothing is refused and costs nothing.
#pragma once

#include <cstdint>

namespace quillon {
class TKelDataBase;
class TKelItemItem;
class TKelSkillItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameState;
struct THeroState;

// How a thing is used from the menu.
enum class TMenuUse {
    Refused,  // not from the menu: the buzzer
    OnHero,   // on a hero the player chooses
    OnUser,   // on the hero who uses it (skills)
    OnParty,  // on the whole party at once
    Switch,   // turns a switch on; the menu closes so that what waits for it can run
};

TMenuUse ItemMenuUse(const TKelDataBase& database, const TKelItemItem& item);
TMenuUse SkillMenuUse(const TKelDataBase& database, const TKelSkillItem& skill);

// Uses an item on a hero (OnHero) or on the party (target null); answers whether it did
// anything. The item is taken from the inventory (once, also for the party) unless its uses are
// limitless. Switch items turn their switch on.
bool UseItem(TGameState& state, const TKelItemItem& item, THeroState* target);
// A hero uses a skill on a hero, on himself or on the party (target null); MP are paid when it
// did anything. Refused when the user's MP do not reach the cost.
bool UseSkill(TGameState& state, THeroState& user, const TKelSkillItem& skill, THeroState* target);

// Every hero of the party back to full HP and MP, every condition healed.
void RecoverParty(TGameState& state);

}  // namespace quillon::runtime
