#include "tools/lib/StarterDataBase.h"

#include "tools/lib/RtpImages.h"
#include "tools/lib/RtpNames.h"

#include <algorithm>
#include <bitset>
#include <cstdio>

namespace quillon {

namespace {

struct THero {
    const char* Name;
    const char* Degree;
    const char* CharSet;
    int CharIndex;
    int Face;
    int Hp, Mp, Attack, Defense, Mind, Agility;  // at level 1; growth follows the curves
    int Skills[3];
};

const THero kHeroes[] = {
    {"Aldric", "Knight", rtp::kHeroCharSet, 0, 0, 48, 6, 14, 12, 6, 9, {9, 10, 11}},
    {"Brenna", "Mage", rtp::kHeroCharSet, 1, 1, 30, 24, 7, 7, 16, 10, {1, 2, 3}},
    {"Corin", "Thief", rtp::kHeroCharSet, 2, 2, 36, 8, 11, 8, 8, 16, {12, 13, 21}},
    {"Dara", "Priest", rtp::kHeroCharSet, 3, 3, 34, 22, 8, 9, 15, 9, {5, 6, 7}},
    {"Edwin", "Ranger", rtp::kHeroCharSet, 4, 4, 40, 10, 12, 9, 9, 14, {14, 15, 16}},
    {"Fiona", "Monk", rtp::kHeroCharSet, 5, 5, 44, 8, 15, 9, 8, 13, {17, 18, 19}},
    {"Garrick", "Warrior", rtp::kHeroCharSet, 6, 6, 52, 4, 16, 13, 5, 8, {20, 22, 23}},
    {"Hilda", "Sage", rtp::kHeroCharSet, 7, 7, 32, 26, 6, 8, 18, 9, {4, 8, 24}},
};

struct TSkill {
    const char* Name;
    const char* Description;
    int MpCost;
    std::uint8_t Range;  // TKelSkillItem::sr...
    int Effect;
    std::uint8_t Kind;   // TKelSkillItem::sk...
    bool Recovers;       // heals instead of harming
};

const TSkill kSkills[] = {
    {"Fire", "Burns one enemy.", 4, TKelSkillItem::srSingleEnemy, 30, TKelSkillItem::skNormal, false},
    {"Blaze", "Burns every enemy.", 10, TKelSkillItem::srAllEnemies, 40, TKelSkillItem::skNormal, false},
    {"Frost", "Freezes one enemy.", 4, TKelSkillItem::srSingleEnemy, 30, TKelSkillItem::skNormal, false},
    {"Blizzard", "Freezes every enemy.", 12, TKelSkillItem::srAllEnemies, 45, TKelSkillItem::skNormal, false},
    {"Heal", "Restores an ally's HP.", 3, TKelSkillItem::srSingleAlly, 40, TKelSkillItem::skNormal, true},
    {"Heal All", "Restores the party's HP.", 9, TKelSkillItem::srWholeParty, 35, TKelSkillItem::skNormal, true},
    {"Cure", "Removes poison.", 2, TKelSkillItem::srSingleAlly, 0, TKelSkillItem::skNormal, true},
    {"Raise", "Brings a fallen ally back.", 20, TKelSkillItem::srSingleAlly, 50, TKelSkillItem::skNormal, true},
    {"Cleave", "A mighty blow.", 5, TKelSkillItem::srSingleEnemy, 45, TKelSkillItem::skNormal, false},
    {"Guard Up", "Raises the user's defense.", 4, TKelSkillItem::srUser, 10, TKelSkillItem::skNormal, true},
    {"Rally", "Raises the party's attack.", 8, TKelSkillItem::srWholeParty, 10, TKelSkillItem::skNormal, true},
    {"Steal", "Takes something from an enemy.", 2, TKelSkillItem::srSingleEnemy, 0, TKelSkillItem::skNormal, false},
    {"Escape", "Flees from battle.", 3, TKelSkillItem::srUser, 0, TKelSkillItem::skEscape, false},
    {"Arrow Rain", "Arrows strike every enemy.", 9, TKelSkillItem::srAllEnemies, 35, TKelSkillItem::skNormal, false},
    {"Aimed Shot", "A careful shot.", 4, TKelSkillItem::srSingleEnemy, 40, TKelSkillItem::skNormal, false},
    {"Trap", "Slows one enemy.", 5, TKelSkillItem::srSingleEnemy, 10, TKelSkillItem::skNormal, false},
    {"Palm Strike", "A swift strike.", 3, TKelSkillItem::srSingleEnemy, 35, TKelSkillItem::skNormal, false},
    {"Focus", "Calms the mind.", 2, TKelSkillItem::srUser, 20, TKelSkillItem::skNormal, true},
    {"Whirlwind", "Spins through every enemy.", 10, TKelSkillItem::srAllEnemies, 40, TKelSkillItem::skNormal, false},
    {"Berserk", "Attacks without care.", 6, TKelSkillItem::srSingleEnemy, 55, TKelSkillItem::skNormal, false},
    {"Shadow Step", "Strikes from the dark.", 5, TKelSkillItem::srSingleEnemy, 38, TKelSkillItem::skNormal, false},
    {"War Cry", "Shakes every enemy.", 6, TKelSkillItem::srAllEnemies, 15, TKelSkillItem::skNormal, false},
    {"Shield Bash", "Stuns one enemy.", 5, TKelSkillItem::srSingleEnemy, 25, TKelSkillItem::skNormal, false},
    {"Thunder", "Lightning strikes every enemy.", 14, TKelSkillItem::srAllEnemies, 55, TKelSkillItem::skNormal, false},
    {"Drain", "Takes an enemy's HP.", 6, TKelSkillItem::srSingleEnemy, 30, TKelSkillItem::skNormal, false},
    {"Return", "Returns to the last town.", 8, TKelSkillItem::srUser, 0, TKelSkillItem::skTeleport, false},
    {"Sleep", "Puts one enemy to sleep.", 4, TKelSkillItem::srSingleEnemy, 0, TKelSkillItem::skNormal, false},
    {"Poison Mist", "Poisons every enemy.", 7, TKelSkillItem::srAllEnemies, 10, TKelSkillItem::skNormal, false},
    {"Light", "Lights the way (turns switch 1 on).", 1, TKelSkillItem::srUser, 0, TKelSkillItem::skSwitch, false},
    {"Quake", "Shakes the ground under every enemy.", 16, TKelSkillItem::srAllEnemies, 60, TKelSkillItem::skNormal, false},
};

struct TItem {
    const char* Name;
    const char* Description;
    std::uint8_t Kind;
    int Price;
    int Power;  // attack/defense change, or recovery points
};

const TItem kItems[] = {
    {"Potion", "Restores 50 HP.", TKelItemItem::ikMedicine, 20, 50},
    {"Hi-Potion", "Restores 200 HP.", TKelItemItem::ikMedicine, 80, 200},
    {"Ether", "Restores 20 MP.", TKelItemItem::ikMedicine, 100, 20},
    {"Antidote", "Cures poison.", TKelItemItem::ikMedicine, 10, 0},
    {"Phoenix Down", "Revives a fallen ally.", TKelItemItem::ikMedicine, 300, 30},
    {"Elixir", "Restores all HP and MP.", TKelItemItem::ikMedicine, 1000, 9999},
    {"Tent", "Rests the party outside.", TKelItemItem::ikMedicine, 150, 100},
    {"Short Sword", "A light blade.", TKelItemItem::ikWeapon, 60, 8},
    {"Long Sword", "A knight's blade.", TKelItemItem::ikWeapon, 300, 18},
    {"Great Axe", "Needs both hands.", TKelItemItem::ikWeapon, 700, 30},
    {"Oak Staff", "A mage's staff.", TKelItemItem::ikWeapon, 90, 5},
    {"Dagger", "Quick and sharp.", TKelItemItem::ikWeapon, 40, 6},
    {"Short Bow", "Shoots from afar.", TKelItemItem::ikWeapon, 120, 10},
    {"Iron Claw", "For bare-handed fighters.", TKelItemItem::ikWeapon, 200, 14},
    {"Buckler", "A small shield.", TKelItemItem::ikShield, 50, 3},
    {"Kite Shield", "A sturdy shield.", TKelItemItem::ikShield, 250, 8},
    {"Tower Shield", "A wall of iron.", TKelItemItem::ikShield, 600, 14},
    {"Cloth Robe", "Light clothing.", TKelItemItem::ikArmor, 40, 3},
    {"Leather Vest", "Supple leather.", TKelItemItem::ikArmor, 100, 6},
    {"Chain Mail", "Linked rings of steel.", TKelItemItem::ikArmor, 350, 12},
    {"Plate Armor", "Heavy but strong.", TKelItemItem::ikArmor, 900, 20},
    {"Leather Cap", "Keeps the rain off.", TKelItemItem::ikHelmet, 30, 2},
    {"Iron Helm", "Guards the head.", TKelItemItem::ikHelmet, 200, 6},
    {"Wizard Hat", "Helps the mind.", TKelItemItem::ikHelmet, 180, 3},
    {"Power Ring", "Raises attack.", TKelItemItem::ikAccessory, 400, 5},
    {"Speed Boots", "Raises agility.", TKelItemItem::ikAccessory, 450, 0},
    {"Amulet", "Wards off poison.", TKelItemItem::ikAccessory, 300, 2},
    {"Tome of Fire", "Teaches Fire.", TKelItemItem::ikBook, 500, 0},
    {"Tome of Healing", "Teaches Heal.", TKelItemItem::ikBook, 500, 0},
    {"Power Seed", "Raises attack for good.", TKelItemItem::ikMaterial, 800, 2},
    {"Life Seed", "Raises max HP for good.", TKelItemItem::ikMaterial, 800, 10},
    {"Mind Seed", "Raises mind for good.", TKelItemItem::ikMaterial, 800, 2},
    {"Thunder Orb", "Casts Thunder when used.", TKelItemItem::ikUnique, 1200, 0},
    {"Old Key", "Opens an old door.", TKelItemItem::ikSwitch, 0, 0},
    {"Lantern", "Lights dark places.", TKelItemItem::ikSwitch, 50, 0},
    {"Gold Bar", "Worth a lot to traders.", TKelItemItem::ikCommon, 2000, 0},
    {"Map", "Shows the way.", TKelItemItem::ikCommon, 20, 0},
    {"Letter", "A sealed letter.", TKelItemItem::ikCommon, 0, 0},
    {"Feather", "A bird's feather.", TKelItemItem::ikCommon, 5, 0},
    {"Crystal", "It glows softly.", TKelItemItem::ikCommon, 500, 0},
};

struct TMonster {
    const char* Name;
    int Graphic;  // index into the RTP monster images
    int Hp, Mp, Attack, Defense, Mind, Agility, Exp, Money, Item, Skill;
};

const TMonster kMonsters[] = {
    {"Slime", 0, 20, 0, 8, 5, 3, 5, 3, 5, 1, 0},
    {"Blue Slime", 0, 35, 5, 11, 7, 6, 7, 6, 8, 4, 3},
    {"Bat", 1, 18, 0, 9, 4, 3, 15, 4, 4, 0, 0},
    {"Giant Rat", 1, 25, 0, 10, 6, 2, 10, 5, 6, 0, 0},
    {"Goblin", 0, 40, 0, 14, 9, 4, 9, 9, 15, 8, 0},
    {"Wolf", 1, 50, 0, 17, 8, 4, 18, 12, 10, 0, 0},
    {"Bandit", 0, 60, 10, 16, 12, 6, 12, 15, 40, 12, 12},
    {"Imp", 1, 45, 30, 10, 9, 15, 14, 18, 25, 3, 1},
    {"Skeleton", 0, 80, 0, 20, 15, 5, 8, 22, 30, 15, 0},
    {"Ghost", 1, 70, 40, 12, 20, 20, 16, 28, 35, 5, 25},
    {"Orc", 0, 120, 0, 26, 18, 6, 9, 35, 50, 20, 9},
    {"Harpy", 1, 90, 20, 22, 12, 12, 24, 40, 45, 0, 14},
    {"Lizardman", 0, 140, 10, 28, 22, 8, 14, 48, 60, 16, 23},
    {"Wraith", 1, 130, 60, 20, 25, 28, 18, 55, 70, 6, 27},
    {"Ogre", 0, 260, 0, 40, 26, 6, 8, 80, 120, 21, 0},
    {"Wyvern", 1, 220, 40, 36, 24, 18, 26, 95, 140, 0, 2},
    {"Golem", 0, 400, 0, 45, 45, 5, 5, 120, 150, 30, 30},
    {"Sorcerer", 1, 200, 120, 20, 20, 40, 20, 140, 200, 3, 24},
    {"Dark Knight", 0, 500, 50, 55, 45, 20, 22, 250, 400, 9, 9},
    {"Dragon", 1, 1200, 200, 70, 55, 45, 30, 800, 1000, 6, 4},
};

struct TTroop {
    const char* Name;
    int Members[4];  // monster IDs, 0 ends
};

const TTroop kTroops[] = {
    {"Slime x2", {1, 1, 0, 0}},          {"Bats", {3, 3, 3, 0}},        {"Goblin band", {5, 5, 4, 0}},
    {"Wolf pack", {6, 6, 6, 0}},         {"Bandits", {7, 7, 0, 0}},     {"Graveyard", {9, 10, 9, 0}},
    {"Orc raid", {11, 11, 5, 5}},        {"Sky hunters", {12, 16, 0, 0}}, {"Golem", {17, 0, 0, 0}},
    {"Dragon", {20, 0, 0, 0}},
};

const char* const kTerrains[] = {"Grass", "Forest", "Hills", "Desert", "Snow", "Water", "Town", "Cave"};
const char* const kAttributes[] = {"Sword", "Spear", "Axe", "Bow", "Fire", "Ice", "Thunder", "Holy"};
const char* const kConditions[] = {"Dead", "Poison", "Sleep", "Silence", "Confusion", "Blind"};

// English text for every vocabulary message, by field number.
const std::pair<int, const char*> kVocabulary[] = {
    {1, " appeared!"},
    {2, "You struck first!"},
    {3, "You got away."},
    {4, "You could not escape!"},
    {5, "Victory!"},
    {6, "The party has fallen..."},
    {7, " experience points."},
    {8, "Found "},
    {9, "!"},
    {10, " was found!"},
    {11, " attacks!"},
    {12, "A critical hit!"},
    {13, "A painful blow!"},
    {14, " defends."},
    {15, " is watching."},
    {16, " gathers strength."},
    {17, " explodes!"},
    {18, " ran away."},
    {19, " changed form!"},
    {20, " takes "},
    {21, " takes no damage."},
    {22, " takes "},
    {23, " takes no damage."},
    {24, " resists the spell."},
    {25, " is unaffected."},
    {26, "Nothing happened."},
    {27, " dodged the attack!"},
    {28, " uses "},
    {29, " recovers "},
    {30, " rises by "},
    {31, " falls by "},
    {32, " drains "},
    {33, " drains "},
    {34, " defense rises."},
    {35, " defense falls."},
    {36, " reached level "},
    {37, " was learned!"},
    {92, "Owned"},
    {93, "Equipped"},
    {95, "G"},
    {101, "Fight"},
    {102, "Auto"},
    {103, "Escape"},
    {104, "Attack"},
    {105, "Defend"},
    {106, "Item"},
    {107, "Skill"},
    {108, "Equip"},
    {110, "Save"},
    {112, "Quit"},
    {114, "New Game"},
    {115, "Continue"},
    {117, "Shutdown"},
    {123, "Level"},
    {124, "HP"},
    {125, "MP"},
    {126, "Normal"},
    {127, "E"},
    {128, "L"},
    {129, "H"},
    {130, "M"},
    {131, "MP Cost"},
    {132, "Attack"},
    {133, "Defense"},
    {134, "Mind"},
    {135, "Agility"},
    {136, "Weapon"},
    {137, "Shield"},
    {138, "Armor"},
    {139, "Helmet"},
    {140, "Other"},
    {146, "Save to which file?"},
    {147, "Load which file?"},
    {148, "File"},
    {151, "Quit the game?"},
    {152, "Yes"},
    {153, "No"},
};

const char* const kShopMessages[3][11] = {
    {"Welcome! What do you need?", "Anything else?", "Buy", "Sell", "Leave", "What would you like?",
     "How many?", "Thank you!", "What will you sell?", "How many?", "Here is your money."},
    {"Finest goods in the land!", "Something more?", "Buy", "Sell", "Leave", "Take your pick.",
     "How many do you want?", "A fine choice!", "Show me what you have.", "How many?", "A fair deal."},
    {"Hm. Buying or selling?", "Well?", "Buy", "Sell", "Leave", "Choose.", "How many?", "Done.",
     "What is it?", "How many?", "Done."},
};

const char* const kInnMessages[2][5] = {
    {"A night costs ", " for everyone.", "Will you stay?", "Stay", "Leave"},
    {"Rest here for ", ", traveller.", "Shall I make up the beds?", "Rest", "No thanks"},
};

void Fill(TKelDataBase& db) {
    // Conditions and attributes first: the per-condition and per-attribute arrays of the others
    // are sized by them.
    for (std::size_t i = 0; i < std::size(kConditions); ++i) {
        TKelStatusItem& condition = db.Status.Obtain(static_cast<int>(i) + 1);
        condition.Name = kConditions[i];
        if (i > 0) {
            condition.Priority = 80 - 10 * static_cast<int>(i);
            condition.HealTurns = 4 + static_cast<int>(i);
            condition.HealRate = 20;
            condition.AllyMessage = std::string(" is afflicted by ") + kConditions[i] + ".";
            condition.EnemyMessage = condition.AllyMessage;
            condition.AlreadyMessage = std::string(" is already afflicted.");
            condition.RecoveryMessage = std::string(" recovered from ") + kConditions[i] + ".";
        }
    }
    for (std::size_t i = 0; i < std::size(kAttributes); ++i) {
        TKelAttribItem& attribute = db.Attrib.Obtain(static_cast<int>(i) + 1);
        attribute.Name = kAttributes[i];
        attribute.Kind = i < 4 ? 0 : 1;
    }
    for (std::size_t i = 0; i < std::size(kTerrains); ++i) {
        TKelGroundItem& ground = db.Ground.Obtain(static_cast<int>(i) + 1);
        ground.Name = kTerrains[i];
        ground.BackdropName = rtp::kBackdrop;
        ground.EncounterRate = i == 6 ? 0 : 100;
        ground.BoatPassable = ground.ShipPassable = i == 5;
    }
    for (std::size_t i = 0; i < std::size(kHeroes); ++i) {
        const THero& source = kHeroes[i];
        TKelPlayerItem& hero = db.Player.Obtain(static_cast<int>(i) + 1);
        hero.Name = source.Name;
        hero.Degree = source.Degree;
        hero.CharSetName = source.CharSet;
        hero.CharSetIndex = source.CharIndex;
        hero.FaceName = source.Face < 4 ? rtp::kFaceSet1 : rtp::kFaceSet2;
        hero.FaceIndex = source.Face % 4;
        const int bases[] = {source.Hp, source.Mp, source.Attack, source.Defense, source.Mind, source.Agility};
        for (int parameter = 0; parameter < TKelPlayerItem::kParameterKinds; ++parameter) {
            const auto& curve = parameter == 0 ? kHeroCurveA : parameter == 1 ? kHeroCurveB : kHeroCurveC;
            for (int level = 1; level <= 50; ++level) {
                const int grown = bases[parameter] + curve[static_cast<std::size_t>(level - 1)] * bases[parameter] / 40;
                hero.SetParameter(parameter, level, std::min(grown, parameter < 2 ? 9999 : 999));
            }
        }
        for (int s = 0; s < 3; ++s) {
            TKelPlayerLearningItem& learned = hero.Learning.Obtain(s + 1);
            learned.Level = 1 + 6 * s;
            learned.SkillId = source.Skills[s];
        }
    }
    for (std::size_t i = 0; i < std::size(kSkills); ++i) {
        const TSkill& source = kSkills[i];
        TKelSkillItem& skill = db.Skill.Obtain(static_cast<int>(i) + 1);
        skill.Name = source.Name;
        skill.Description = source.Description;
        skill.MpCost = source.MpCost;
        skill.Kind = source.Kind;
        skill.EffectRange = source.Range;
        skill.BaseEffect = source.Effect;
        skill.AffectsHp = source.Effect > 0;
        skill.UsableInBattle = 1;
        skill.UsableInField = source.Recovers || source.Kind != TKelSkillItem::skNormal;
        skill.AnimationId = static_cast<int>(i % std::size(rtp::kAnimations)) + 1;
        skill.SwitchId = 1;
        skill.Sound.Name = rtp::kSounds[4];
        skill.SetStandardUsingMessage(source.Recovers ? TKelSkillItem::usCast : TKelSkillItem::usChant);
    }
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        const TItem& source = kItems[i];
        TKelItemItem& item = db.Item.Obtain(static_cast<int>(i) + 1);
        item.Name = source.Name;
        item.Description = source.Description;
        item.Kind = source.Kind;
        item.Price = source.Price;
        switch (source.Kind) {
        case TKelItemItem::ikWeapon:
            item.AttackChange = source.Power;
            item.TwoHanded = std::string(source.Name) == "Great Axe";
            item.AnimationId = 1;
            break;
        case TKelItemItem::ikShield:
        case TKelItemItem::ikArmor:
        case TKelItemItem::ikHelmet:
            item.DefenseChange = source.Power;
            break;
        case TKelItemItem::ikAccessory:
            item.AttackChange = source.Power;
            item.AgilityChange = source.Power ? 0 : 8;
            break;
        case TKelItemItem::ikMedicine:
            item.HpRecoveryPoints = source.Power;
            item.UsableInBattle = 1;
            break;
        case TKelItemItem::ikBook:
            item.SkillId = std::string(source.Name) == "Tome of Fire" ? 1 : 5;
            break;
        case TKelItemItem::ikUnique:
            item.SkillId = 24;
            item.UsableInBattle = 1;
            break;
        case TKelItemItem::ikSwitch:
            item.SwitchId = static_cast<int>(i % 4) + 1;
            break;
        default:
            break;
        }
    }
    for (std::size_t i = 0; i < std::size(kMonsters); ++i) {
        const TMonster& source = kMonsters[i];
        TKelMonsterItem& monster = db.Monster.Obtain(static_cast<int>(i) + 1);
        monster.Name = source.Name;
        monster.GraphicName = rtp::kMonsters[source.Graphic];
        monster.Hue = static_cast<int>(i * 37 % 360);
        monster.MaxHp = source.Hp;
        monster.MaxMp = source.Mp;
        monster.Attack = source.Attack;
        monster.Defense = source.Defense;
        monster.Mind = source.Mind;
        monster.Agility = source.Agility;
        monster.Exp = source.Exp;
        monster.Money = source.Money;
        monster.ItemId = source.Item;
        monster.DropRate = source.Item ? 25 : 100;
        monster.Flying = std::string(source.Name) == "Bat" || std::string(source.Name) == "Harpy";
        TKelMonsterActItem& attack = monster.Actions.Obtain(1);
        attack.Kind = TKelMonsterActItem::akBehavior;
        attack.Behavior = TKelMonsterActItem::abNormalHit;
        attack.Priority = 50;
        if (source.Skill) {
            TKelMonsterActItem& skill = monster.Actions.Obtain(2);
            skill.Kind = TKelMonsterActItem::akSkill;
            skill.SkillId = source.Skill;
            skill.Priority = 30;
        }
    }
    for (std::size_t i = 0; i < std::size(kTroops); ++i) {
        TKelMonGroupItem& troop = db.MonGroup.Obtain(static_cast<int>(i) + 1);
        troop.Name = kTroops[i].Name;
        int placed = 0;
        for (const int monsterId : kTroops[i].Members) {
            if (!monsterId)
                break;
            TKelMonGroupMonsterItem& member = troop.Members.Obtain(placed + 1);
            member.MonsterId = monsterId;
            member.X = 90 + 70 * placed;
            member.Y = 80 + 20 * (placed % 2);
            ++placed;
        }
    }
    for (std::size_t i = 0; i < std::size(rtp::kAnimations); ++i) {
        TKelAnimationItem& animation = db.Animation.Obtain(static_cast<int>(i) + 1);
        animation.Name = rtp::kAnimations[i];
        animation.FileName = rtp::kBattleAnimation;
        animation.Scope = i >= 5 ? TKelAnimationItem::asAll : TKelAnimationItem::asSingle;
        animation.YLine = TKelAnimationItem::ylCenter;
        animation.SetFrameCount(8);
        for (int f = 1; f <= 8; ++f) {
            TKelAnimationCellItem& cell = animation.Frames.Obtain(f).Cells.Obtain(1);
            cell.Pattern = static_cast<int>((i * 3 + static_cast<std::size_t>(f) - 1) % 25);
            cell.Magnification = 80 + 10 * f;
            cell.Transparency = f > 6 ? 40 : 0;
        }
        TKelAnimationTimingItem& cue = animation.Timing.Obtain(1);
        cue.Frame = 1;
        cue.Sound.Name = rtp::kSounds[4];
        cue.FlashRange = TKelAnimationTimingItem::frTarget;
        animation.Dirty = true;
    }
    // Terrains and passage follow what the package's chipsets show: water and its animated
    // tiles, the twelve autotiles in drawing order, plain ground; the upper tiles that hold
    // trees, rocks, houses or furniture cannot be walked through.
    enum { kGrass = 1, kForest, kHills, kDesert, kSnow, kWater, kTown, kCave };
    const int autotileTerrains[2][12] = {
        {kForest, kHills, kHills, kDesert, kSnow, kGrass, kGrass, kGrass, kTown, kTown, kCave, kGrass},
        {kTown, kTown, kGrass, kGrass, kTown, kTown, kTown, kDesert, kTown, kTown, kGrass, kSnow}};
    const int blockedAutotile[2] = {2, -1};  // the world's mountains
    for (int i = 0; i < 2; ++i) {
        TKelChipSetItem& chipset = db.ChipSet.Obtain(i + 1);
        chipset.Name = rtp::kChipSets[i];
        chipset.FileName = rtp::kChipSets[i];
        for (int chip = 0; chip < 6; ++chip)
            chipset.SetTerrainId(chip, chip == 5 && i == 0 ? kGrass : kWater);  // the campfire stands on grass
        for (int a = 0; a < 12; ++a)
            chipset.SetTerrainId(6 + a, autotileTerrains[i][a]);
        for (int chip = 18; chip < 162; ++chip)
            chipset.SetTerrainId(chip, i == 0 ? kGrass : kTown);
        for (int chip = 0; chip < 5; ++chip)
            chipset.SetLowerFlags(chip, 0);  // water, whirlpool and waterfall
        if (blockedAutotile[i] >= 0)
            chipset.SetLowerFlags(6 + blockedAutotile[i], 0);
        std::bitset<144> obstacles;
        rtp::MakeRtpChipSet(i, &obstacles);
        for (int chip = 1; chip < 144; ++chip)
            if (obstacles[static_cast<std::size_t>(chip)])
                chipset.SetUpperFlags(chip, 0);
    }

    FillStarterVocabulary(db);

    TKelSystem& system = db.System;
    system.BoatGraphic = system.ShipGraphic = system.AirshipGraphic = rtp::kVehicleCharSet;
    system.BoatIndex = 0;
    system.ShipIndex = 1;
    system.AirshipIndex = 2;
    system.TitleGraphic = rtp::kTitle;
    system.GameOverGraphic = rtp::kGameOver;
    system.SystemGraphic = rtp::kSystem;
    system.SetPartySize(3);
    system.SetPartyMember(0, 1);
    system.SetPartyMember(1, 2);
    system.SetPartyMember(2, 4);
    const char* const music[] = {rtp::kMusic[0], rtp::kMusic[1], rtp::kMusic[2], rtp::kMusic[0],
                                 rtp::kMusic[0], rtp::kMusic[0], rtp::kMusic[0], rtp::kMusic[2]};
    for (std::size_t i = 0; i < system.Music.size(); ++i)
        system.Music[i].Name = music[i];
    const int sounds[] = {0, 1, 2, 3, 4, 2, 4, 5, 5, 2, 5, 1};
    for (std::size_t i = 0; i < system.Sound.size(); ++i)
        system.Sound[i].Name = rtp::kSounds[sounds[i]];
    system.BattleTestBackdrop = rtp::kBackdrop;
    for (int i = 0; i < 4; ++i) {
        TKelTestPlayerItem& member = system.TestPlayer.Obtain(i + 1);
        member.HeroId = i + 1;
        member.Level = 5;
    }

    const char* const switches[] = {"Light", "Met the elder", "Bridge repaired", "Cave opened", "Boss defeated"};
    for (std::size_t i = 0; i < std::size(switches); ++i)
        db.Switch.Obtain(static_cast<int>(i) + 1).Name = switches[i];
    for (int i = static_cast<int>(std::size(switches)) + 1; i <= 20; ++i)
        db.Switch.Obtain(i);
    const char* const variables[] = {"Steps taken", "Quest stage", "Coins found"};
    for (std::size_t i = 0; i < std::size(variables); ++i)
        db.Variable.Obtain(static_cast<int>(i) + 1).Name = variables[i];
    for (int i = static_cast<int>(std::size(variables)) + 1; i <= 20; ++i)
        db.Variable.Obtain(i);

    TKelCommonEventItem& common = db.CommonEvent.Obtain(1);
    common.Name = "Full recovery";
    common.Trigger = TKelCommonEventItem::ctCall;
    common.Script.Clear();
    TKelEventScriptLine& message = common.Script.Add();
    message.Code = ToInt(TCommandCode::ShowMessage);
    message.Text = "Your party feels refreshed.";
    common.Script.Add();  // closing line
}

}  // namespace

void FillStarterVocabulary(TKelDataBase& db) {
    for (const auto& [number, text] : kVocabulary)
        *db.Vocabulary.Text(number) = text;
    for (int s = 0; s < TKelVocabulary::kShopCount; ++s)
        for (int m = 0; m < TKelVocabularyShop::kCount; ++m)
            db.Vocabulary.Shop(s).Text[static_cast<std::size_t>(m)] = kShopMessages[s][m];
    for (int n = 0; n < TKelVocabulary::kInnCount; ++n)
        for (int m = 0; m < TKelVocabularyInn::kCount; ++m)
            db.Vocabulary.Inn(n).Text[static_cast<std::size_t>(m)] = kInnMessages[n][m];
}

void MakeStarterDataBase(TKelDataBase& database) {
    database.Reset();
    Fill(database);
}

}  // namespace quillon
