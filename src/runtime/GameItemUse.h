// Items and skills used from the menu, and the inn's full recovery of the party.
//
// From the menu: medicine heals HP and MP (a share of the maximum plus points) and the conditions
// it marks, on one hero or the whole party as its range says; a medicine "only for unconscious
// heroes" works on those alone, any other on the conscious alone. Seeds add to parameters for
// good, books teach their skill, switch items turn their switch on, unique items invoke their
// skill. Items for the battle only, equipment and other goods are not used here. Skills: switch
// skills turn their switch on; normal skills aimed at allies heal HP and MP by their base effect
// plus a share of the user's mind (the skill's mind influence in twentieths) and the conditions
// they mark. A use that would change nothing is refused and costs nothing. Teleport and escape
// skills (and unique items that invoke them) lead the party off the map: to a place the game set
// for teleports, or to its escape place; only where the map permits it (its own permission or
// its parent's up the map tree, and the commands that enable or disable it).
//
// An item of several uses (1..5; 0 is limitless) counts its uses down on the one partly used and
// goes when the last use is spent; the inventory, the shop and the save count the partly used
// one as one item, and a shop sells the whole ones first (the partly used one goes last).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {
class TKelDataBase;
class TKelItemItem;
class TKelSkillItem;
class TKelMapTree;
}  // namespace quillon

namespace quillon::runtime {

class TGameState;
struct THeroState;
struct TGameMapState;
struct TTeleportPlace;

// How a thing is used from the menu.
enum class TMenuUse {
    Refused,  // not from the menu: the buzzer
    OnHero,   // on a hero the player chooses
    OnUser,   // on the hero who uses it (skills)
    OnParty,  // on the whole party at once
    Switch,   // turns a switch on; the menu closes so that what waits for it can run
    Teleport, // to a teleport place the player chooses; the menu closes
    Escape,   // to the escape place; the menu closes
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

// Spends one use of an item (nothing for limitless ones).
void SpendItemUse(TGameState& state, const TKelItemItem& item);

// Whether the map (by ID) lets the party leave by teleport (teleport true) or escape: its own
// permission, or its parent's up the tree (a map that names none permits it).
bool MapPermits(const TKelMapTree& tree, std::int32_t mapId, bool teleport);
// Where a Teleport or Escape use may lead from this map now; empty when the map or the commands
// do not permit it or the game set no place. Teleport places come in map ID order.
std::vector<TTeleportPlace> LeavingPlaces(TMenuUse use, const TKelMapTree& tree, std::int32_t mapId,
                                          const TGameMapState& state);

// Every hero of the party back to full HP and MP, every condition healed.
void RecoverParty(TGameState& state);

}  // namespace quillon::runtime
