#include "data/HeroEquipment.h"

#include "data/LD_Item.h"
#include "data/LD_Player.h"

namespace quillon {

namespace {

constexpr std::uint8_t kSlotKinds[TKelPlayerItem::kEquipmentSlots] = {
    TKelItemItem::ikWeapon, TKelItemItem::ikShield, TKelItemItem::ikArmor, TKelItemItem::ikHelmet,
    TKelItemItem::ikAccessory};

}  // namespace

bool ItemFitsSlot(const TKelItemItem& item, const TKelPlayerItem& hero, int slot) {
    if (slot < 0 || slot >= TKelPlayerItem::kEquipmentSlots || !item.HeroCanUse(hero.ID))
        return false;
    const std::uint8_t kind =
        slot == hsShield && hero.TwoSwords != 0 ? std::uint8_t{TKelItemItem::ikWeapon} : kSlotKinds[slot];
    return item.Kind == kind;
}

bool IsTwoHandedWeapon(const TKelItemItem& item) {
    return item.Kind == TKelItemItem::ikWeapon && item.TwoHanded != 0;
}

std::int32_t EquipmentBonus(const TKelItemItem& item, int parameter) {
    switch (parameter) {
    case 2: return item.AttackChange;
    case 3: return item.DefenseChange;
    case 4: return item.MindChange;
    case 5: return item.AgilityChange;
    default: return 0;
    }
}

}  // namespace quillon
