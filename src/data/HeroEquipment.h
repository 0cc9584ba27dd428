// What the items a hero wears mean, shared by the hero page and the game: the five slots and
// the item class each takes, who may wear an item, weapons held in both hands, and the bonus an
// item gives to a parameter.
#pragma once

#include <cstdint>

namespace quillon {

class TKelItemItem;
class TKelPlayerItem;

// The equipment slots and the item class each offers.
enum THeroSlot : int { hsWeapon = 0, hsShield = 1, hsArmor = 2, hsHelmet = 3, hsAccessory = 4 };

// Whether a hero may wear an item in a slot: the item's class is the slot's (the shield slot
// takes a weapon while the hero fights with two swords, and nothing else then), and the item's
// hero list allows this hero. Slots outside 0 .. 4 take nothing.
bool ItemFitsSlot(const TKelItemItem& item, const TKelPlayerItem& hero, int slot);
// A weapon held in both hands.
bool IsTwoHandedWeapon(const TKelItemItem& item);
// The change an item worn gives to parameter 0 .. 5 (Max HP, Max MP, Attack, Defense, Mind,
// Agility); only the last four have one.
std::int32_t EquipmentBonus(const TKelItemItem& item, int parameter);

}  // namespace quillon
