#include "tools/lib/SampleProject.h"
#include "tools/lib/StarterDataBase.h"

#include "tools/lib/RtpNames.h"
#include "tools/lib/RtpPaint.h"
#include "tools/lib/SampleMaps.h"

#include "data/CommandCode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "platform/FileUtils.h"
#include "platform/ProfileFile.h"
#include "platform/Paths.h"
#include "project/PathUtils.h"
#include "project/ProjectData.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <unistd.h>
#include <memory>

namespace quillon {

namespace {

// Deterministic, so that every run writes the same bytes.
using TRandom = rtp::TRng;

TKelEventScriptLine& Line(TKelEventScriptList& script, TCommandCode code, int indent, const std::string& text,
                          std::initializer_list<int> params) {
    TKelEventScriptLine& line = script.Add();
    line.Code = ToInt(code);
    line.Indent = indent;
    line.Text = text;
    line.SetParamCount(static_cast<int>(params.size()));
    int i = 0;
    for (const int p : params)
        line.SetParam(i++, p);
    return line;
}

// A script with messages, a condition block, a move command carrying a route, and its closing line.
void FillScript(TKelEventScriptList& script, int seed) {
    script.Clear();
    Line(script, TCommandCode::ShowMessage, 0, "Hello, traveller " + std::to_string(seed) + "!", {});
    Line(script, TCommandCode::MessageLine, 0, "The road north is closed.", {});
    Line(script, TCommandCode::ConditionalBranch, 0, "", {0, seed % 20 + 1, 0, 0, 0, 1});
    Line(script, TCommandCode::ShowMessage, 1, "The switch is on.", {});
    Line(script, TCommandCode::Empty, 1, "", {});
    Line(script, TCommandCode::BranchElse, 0, "", {});
    Line(script, TCommandCode::ShowMessage, 1, "The switch is off.", {});
    Line(script, TCommandCode::Empty, 1, "", {});
    Line(script, TCommandCode::BranchEnd, 0, "", {});
    // Move Character: target, frequency, repeat, skippable, then the route bytes.
    TKelMoveRoute route;
    for (const int code : {0, 1, 2, 23, 3}) {
        TKelMoveRouteItem item;
        item.Code = code;
        route.Add(item);
    }
    TKelMoveRouteItem on;
    on.Code = mcSwitchOn;
    on.SwitchId = 3;
    route.Add(on);
    const TDynamicBuffer bytes = route.PackRoute();
    TKelEventScriptLine& move = Line(script, TCommandCode::SetMoveRoute, 0, "", {10005, 4, 0, 1});
    move.SetParamCount(4 + static_cast<int>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        move.SetParam(4 + static_cast<int>(i), bytes[i]);
    Line(script, TCommandCode::End, 0, "", {});
}

// The commands of the sample's own game, each written as its dialog's OK writes it.
void Message(TKelEventScriptList& script, int indent, std::initializer_list<const char*> lines) {
    TCommandCode code = TCommandCode::ShowMessage;
    for (const char* text : lines) {
        Line(script, code, indent, text, {});
        code = TCommandCode::MessageLine;
    }
}
// Face graphic: the file, then index, side (0 left) and flipped.
void Face(TKelEventScriptList& script, int indent, const char* file, int index) {
    Line(script, TCommandCode::SelectFaceGraphic, indent, file, {index, 0, 0});
}
// Change Switch of a single switch: target 0, the switch, (range end, variable), 0 ON / 1 OFF.
void SetSwitch(TKelEventScriptList& script, int indent, int id, bool on) {
    Line(script, TCommandCode::ChangeSwitch, indent, "", {0, id, 0, on ? 0 : 1});
}
// Teleport: map, X, Y.
void Teleport(TKelEventScriptList& script, int indent, int mapId, int x, int y) {
    Line(script, TCommandCode::Teleport, indent, "", {mapId, x, y});
}

// Switches the sample's game turns on (the names are in FillDataBase).
enum : int { kSwitchDoorOpen = 1, kSwitchIntroSeen = 5, kSwitchChestEmpty = 6 };

// The sample's game is played on the village (map 2, the party's start) and the world map
// (map 1), joined by the lane out of the village's north edge and the village on the world map.
constexpr int kWorldMap = 1, kVillageMap = 2;
struct TCell {
    int X, Y;
};
// The lane is two cells wide: a gate on each.
constexpr TCell kVillageStart{12, 10}, kVillageExits[] = {{11, 0}, {12, 0}}, kVillageArrival{12, 2};
constexpr TCell kWorldVillage{33, 15}, kWorldArrival{32, 16};

// Page `id` of an event (a new event already holds a blank page 1).
TKelEventPageItem& NewPage(TKelEventItem& event, int id, int trigger, int priority, const char* graphic = "",
                           int index = 0, int direction = 2) {
    TKelEventPageItem& page = event.Pages.Obtain(id);
    page.GraphicName = graphic;
    page.GraphicIndex = index;
    page.GraphicDirection = static_cast<std::uint8_t>(direction);
    page.Trigger = static_cast<std::uint8_t>(trigger);
    page.Priority = static_cast<std::uint8_t>(priority);
    page.Script.Clear();
    return page;
}

TKelEventItem& NewEvent(TKelMap& map, const char* name, TCell at) {
    TKelEventItem& event = map.Events.Obtain(map.Events.Count() + 1);
    event.Name = name;
    event.X = at.X;
    event.Y = at.Y;
    return event;
}

// The chest among the town chipset's small objects.
constexpr int kTownChest = 9;

enum : int { kPushKey = 0, kHeroTouch = 1, kAutoStart = 3 };
enum : int { kBelow = 0, kSame = 1 };

// A gate event: stepping on it (below the hero) or walking into it (beside him, where the cell
// cannot be entered) takes the hero to another map.
void AddGate(TKelMap& map, const char* name, TCell at, int mapId, TCell to, int priority = kBelow) {
    TKelEventPageItem& page = NewPage(NewEvent(map, name, at), 1, kHeroTouch, priority);
    Teleport(page.Script, 0, mapId, to.X, to.Y);
    Line(page.Script, TCommandCode::End, 0, "", {});
}

// The village: a greeting that shows once, a villager who asks whether to open the chest, the
// chest that opens once she has, and the lane north to the world map.
void AddVillageEvents(TKelMap& map) {
    TKelEventItem& intro = NewEvent(map, "Intro", {1, 1});
    TKelEventPageItem& greeting = NewPage(intro, 1, kAutoStart, kBelow);
    Message(greeting.Script, 0, {"Welcome to the village!", "Walk with the arrow keys and talk",
                                 "to people with the decide key."});
    SetSwitch(greeting.Script, 0, kSwitchIntroSeen, true);
    Line(greeting.Script, TCommandCode::End, 0, "", {});
    TKelEventPageItem& quiet = NewPage(intro, 2, kPushKey, kBelow);
    quiet.Condition.Flags = TKelEventCondition::cfSwitchA;
    quiet.Condition.SwitchAId = kSwitchIntroSeen;
    Line(quiet.Script, TCommandCode::End, 0, "", {});

    TKelEventItem& villager = NewEvent(map, "Villager", {10, 10});
    TKelEventPageItem& ask = NewPage(villager, 1, kPushKey, kSame, "People", 1, 1);
    TKelEventScriptList& talk = ask.Script;
    Face(talk, 0, rtp::kFaceSet1, 9);
    Message(talk, 0, {"Good day, traveller!", "My old chest by the well is stuck."});
    Message(talk, 0, {"Shall I open it for you?"});
    // Show Choices: the choices joined by "/", cancel takes the second case; then each case.
    Line(talk, TCommandCode::ShowChoices, 0, "Yes/No", {2});
    Line(talk, TCommandCode::ChoiceCase, 0, "Yes", {0});
    SetSwitch(talk, 1, kSwitchDoorOpen, true);
    Message(talk, 1, {"There, it is open. Take what", "you find inside!"});
    Line(talk, TCommandCode::Empty, 1, "", {});
    Line(talk, TCommandCode::ChoiceCase, 0, "No", {1});
    Message(talk, 1, {"As you wish. Come back any time."});
    Line(talk, TCommandCode::Empty, 1, "", {});
    Line(talk, TCommandCode::ChoiceEnd, 0, "", {});
    Face(talk, 0, "", 0);  // the face stays until it is taken away
    Line(talk, TCommandCode::End, 0, "", {});

    TKelEventItem& chest = NewEvent(map, "Chest", {14, 8});
    const int chestTile = rtp::SmallObjectTile(1, kTownChest);
    TKelEventPageItem& shut = NewPage(chest, 1, kPushKey, kSame, "", chestTile);
    Message(shut.Script, 0, {"The chest is stuck fast."});
    Line(shut.Script, TCommandCode::End, 0, "", {});
    TKelEventPageItem& open = NewPage(chest, 2, kPushKey, kSame, "", chestTile);
    open.Condition.Flags = TKelEventCondition::cfSwitchA;
    open.Condition.SwitchAId = kSwitchDoorOpen;
    Message(open.Script, 0, {"You found 100 gold and a Potion!"});
    Line(open.Script, TCommandCode::ChangeMoney, 0, "", {0, 0, 100});        // increase by the constant 100
    Line(open.Script, TCommandCode::ChangeItemAmount, 0, "", {0, 0, 1, 0, 1});    // add one of the fixed item 1
    SetSwitch(open.Script, 0, kSwitchChestEmpty, true);
    Line(open.Script, TCommandCode::End, 0, "", {});
    TKelEventPageItem& empty = NewPage(chest, 3, kPushKey, kSame, "", chestTile);
    empty.Condition.Flags = TKelEventCondition::cfSwitchA;
    empty.Condition.SwitchAId = kSwitchChestEmpty;
    Message(empty.Script, 0, {"The chest is empty."});
    Line(empty.Script, TCommandCode::End, 0, "", {});

    for (const TCell exit : kVillageExits)
        AddGate(map, "To the world", exit, kWorldMap, kWorldArrival);
}

void FillDataBase(TKelDataBase& db) {
    static const char* const kHeroes[] = {"Alex", "Brenna", "Corin", "Dara", "Elric", "Fay", "Gideon", "Hana"};
    for (int i = 0; i < 8; ++i) {
        TKelPlayerItem& hero = db.Player.Obtain(i + 1);
        hero.Name = kHeroes[i];
        hero.Degree = i % 2 ? "Mage" : "Fighter";
        hero.CharSetName = rtp::kHeroCharSet;
        hero.CharSetIndex = i;
        hero.FaceName = i < 4 ? rtp::kFaceSet1 : rtp::kFaceSet2;
        hero.FaceIndex = i;
        hero.InitialLevel = 1 + i;
        hero.MaxLevel = 40 + i;
        hero.CriticalChance = 20 + i;
        hero.TwoSwords = i == 2;
        hero.ExpStandard = 20 + 3 * i;
        hero.ExpAdditional = 15 + i;
        hero.ExpCorrection = i;
        for (int level = 1; level <= 50; ++level) {
            hero.SetParameter(0, level, 50 + level * (10 + i));
            hero.SetParameter(1, level, 10 + level * (2 + i % 3));
        }
        TKelPlayerLearningItem& learned = hero.Learning.Obtain(1);
        learned.Level = 1 + i;
        learned.SkillId = i % 10 + 1;
        hero.SetConditionRankCount(3);
        hero.SetConditionRank(2, static_cast<std::uint8_t>(i % 5));
        hero.SetAttributeRankCount(3);
        hero.SetAttributeRank(3, 1);
    }
    static const char* const kSkills[] = {"Heal", "Fire", "Ice", "Thunder", "Cure", "Escape", "Return", "Barrier", "Quake", "Drain"};
    for (int i = 0; i < 10; ++i) {
        TKelSkillItem& skill = db.Skill.Obtain(i + 1);
        skill.Name = kSkills[i];
        skill.Description = std::string("Uses the power of ") + kSkills[i] + ".";
        skill.MpCost = 3 + 2 * i;
        skill.Kind = i == 5 ? TKelSkillItem::skEscape : (i == 6 ? TKelSkillItem::skTeleport : TKelSkillItem::skNormal);
        skill.EffectRange = static_cast<std::uint8_t>(i % 5);
        skill.AnimationId = i % 2 + 1;
        skill.Sound.Name = rtp::kSounds[i % 3 + 3];
        skill.Sound.Volume = 80;
        skill.BaseEffect = 20 * (i + 1);
        skill.UsableInBattle = 1;
    }
    static const char* const kItems[] = {"Potion", "Ether", "Sword", "Shield", "Armor", "Helmet", "Ring", "Tome", "Ore", "Key", "Elixir", "Bow"};
    for (int i = 0; i < 12; ++i) {
        TKelItemItem& item = db.Item.Obtain(i + 1);
        item.Name = kItems[i];
        item.Description = std::string("A fine ") + kItems[i] + ".";
        item.Kind = static_cast<std::uint8_t>(i % 10);
        item.Price = 10 * (i + 1) * (i + 1);
        item.AttackChange = i;
        item.HpRecoveryPoints = i == 0 ? 50 : 0;
        item.UsableInBattle = 1;
    }
    static const char* const kMonsters[] = {"Slime", "Bat", "Wolf", "Golem", "Dragon"};
    for (int i = 0; i < 5; ++i) {
        TKelMonsterItem& monster = db.Monster.Obtain(i + 1);
        monster.Name = kMonsters[i];
        monster.GraphicName = rtp::kMonsters[i % 2];
        monster.Hue = 30 * i;
        monster.MaxHp = 20 + 40 * i;
        monster.Attack = 8 + 5 * i;
        monster.Exp = 3 * (i + 1);
        monster.Money = 5 * (i + 1);
        monster.ItemId = i % 3;
        monster.Flying = i == 1;
        for (int a = 1; a <= 2; ++a) {
            TKelMonsterActItem& act = monster.Actions.Obtain(a);
            act.Kind = a == 1 ? TKelMonsterActItem::akBehavior : TKelMonsterActItem::akSkill;
            act.SkillId = a + i;
            act.Priority = 50 - 10 * a;
        }
    }
    for (int i = 0; i < 3; ++i) {
        TKelMonGroupItem& troop = db.MonGroup.Obtain(i + 1);
        troop.Name = std::string(kMonsters[i]) + " x" + std::to_string(i + 2);
        for (int m = 0; m < i + 2; ++m) {
            TKelMonGroupMonsterItem& member = troop.Members.Obtain(m + 1);
            member.MonsterId = i + 1;
            member.X = 80 + 60 * m;
            member.Y = 100 + 10 * (m % 2);
        }
        TKelBattleEventPageItem& page = troop.Pages.Obtain(1);
        FillScript(page.Script, 100 + i);
    }
    static const char* const kTerrains[] = {"Grass", "Forest", "Desert"};
    for (int i = 0; i < 3; ++i) {
        TKelGroundItem& ground = db.Ground.Obtain(i + 1);
        ground.Name = kTerrains[i];
        ground.BackdropName = rtp::kBackdrop;
        ground.EncounterRate = 100 + 50 * i;
        ground.Damage = i == 2 ? 1 : 0;
    }
    static const char* const kAttributes[] = {"Sword", "Fire", "Ice"};
    for (int i = 0; i < 3; ++i) {
        TKelAttribItem& attribute = db.Attrib.Obtain(i + 1);
        attribute.Name = kAttributes[i];
        attribute.Kind = i == 0 ? 0 : 1;
        attribute.Rate[2] = 100 + 10 * i;
    }
    static const char* const kConditions[] = {"Dead", "Poison", "Sleep"};
    for (int i = 0; i < 3; ++i) {
        TKelStatusItem& condition = db.Status.Obtain(i + 1);
        condition.Name = kConditions[i];
        condition.Priority = 90 - 10 * i;
        if (i > 0) {
            condition.HealTurns = 3 + i;
            condition.AllyMessage = std::string(" is ") + kConditions[i];
        }
    }
    for (int i = 0; i < 2; ++i) {
        TKelAnimationItem& animation = db.Animation.Obtain(i + 1);
        animation.Name = i ? "Fire" : "Slash";
        animation.FileName = rtp::kBattleAnimation;
        animation.SetFrameCount(8 + i);
        for (int f = 1; f <= 3; ++f) {
            TKelAnimationCellItem& cell = animation.Frames.Obtain(f).Cells.Obtain(1);
            cell.Pattern = f - 1;
            cell.X = 4 * f;
            cell.Y = -2 * f;
            cell.Magnification = 100 + 10 * f;
        }
        TKelAnimationTimingItem& cue = animation.Timing.Obtain(1);
        cue.Frame = 2;
        cue.Sound.Name = rtp::kSounds[4];
        cue.FlashRange = TKelAnimationTimingItem::frTarget;
        animation.Dirty = true;
    }
    for (int i = 0; i < 2; ++i) {
        TKelChipSetItem& chipset = db.ChipSet.Obtain(i + 1);
        chipset.Name = i ? "Town" : "World";
        // The starter chipsets' own images; terrains and passage stay as the starter database has them.
        chipset.FileName = rtp::kChipSets[i];
        chipset.SeaSpeed = i;
    }
    FillStarterVocabulary(db);

    TKelSystem& system = db.System;
    system.BoatGraphic = "Vehicle";
    system.ShipGraphic = "Vehicle";
    system.AirshipGraphic = "Vehicle";
    system.ShipIndex = 1;
    system.AirshipIndex = 2;
    system.TitleGraphic = rtp::kTitle;
    system.GameOverGraphic = rtp::kGameOver;
    system.SystemGraphic = rtp::kSystem;
    system.SetPartySize(3);
    system.SetPartyMember(0, 1);
    system.SetPartyMember(1, 2);
    system.SetPartyMember(2, 4);
    // Title, battle, victory, inn, boat, ship, airship, game over.
    static const char* const kMusic[] = {"Town", "Battle", "Fanfare", "Fanfare", "Town", "Town", "Town", "Fanfare"};
    for (std::size_t i = 0; i < system.Music.size(); ++i) {
        system.Music[i].Name = kMusic[i % 8];
        system.Music[i].Tempo = 100 + 10 * static_cast<int>(i % 3);
    }
    for (std::size_t i = 0; i < system.Sound.size(); ++i)
        system.Sound[i].Name = rtp::kSounds[i % std::size(rtp::kSounds)];
    system.Transition = {1, 2, 3, 4, 5, 6};
    system.Wallpaper = 1;
    system.BattleTestBackdrop = rtp::kBackdrop;
    for (int i = 0; i < 4; ++i) {
        TKelTestPlayerItem& member = system.TestPlayer.Obtain(i + 1);
        member.HeroId = i + 1;
        member.Level = 10 + i;
        member.SetEquipment(0, 3);
        member.SetEquipment(1, i % 2 ? 4 : 0);
    }
    static const char* const kSwitches[] = {"Door open", "Met the king", "Bridge fixed", "Boss down", "Intro seen", "Chest empty"};
    for (int i = 0; i < 10; ++i)
        db.Switch.Obtain(i + 1).Name = i < static_cast<int>(std::size(kSwitches)) ? kSwitches[i] : "";
    static const char* const kVariables[] = {"Gold found", "Steps", "Quest stage"};
    for (int i = 0; i < 5; ++i)
        db.Variable.Obtain(i + 1).Name = i < 3 ? kVariables[i] : "";
    for (int i = 0; i < 3; ++i) {
        TKelCommonEventItem& common = db.CommonEvent.Obtain(i + 1);
        common.Name = i == 0 ? "Heal party" : (i == 1 ? "Day and night" : "Intro");
        common.Trigger = static_cast<std::uint8_t>(i == 0 ? TKelCommonEventItem::ctCall
                                                          : (i == 1 ? TKelCommonEventItem::ctParallel
                                                                    : TKelCommonEventItem::ctAutoStart));
        common.SwitchCondition = i > 0;
        common.SwitchId = i + 1;
        FillScript(common.Script, i);
        // The automatic one turns its own switch off, so that it runs once each time it is on.
        if (common.Trigger == TKelCommonEventItem::ctAutoStart) {
            common.Script.Delete(common.Script.Count() - 1);
            SetSwitch(common.Script, 0, common.SwitchId, false);
            Line(common.Script, TCommandCode::End, 0, "", {});
        }
    }
}

// Events on cells where someone can stand, each on a cell of its own, showing starter
// character graphics.
void AddEvents(TKelMap& map, int count, int seed, std::vector<bool> walkable, const char* charSet) {
    TRandom random(static_cast<std::uint32_t>(seed));
    const int first = map.Events.Count();
    for (int i = 1; i <= count; ++i) {
        TKelEventItem& event = map.Events.Obtain(first + i);
        char name[16];
        std::snprintf(name, sizeof name, "EV%.4d", first + i);
        event.Name = name;
        event.X = 2 + random.Below(map.Width() - 4);
        event.Y = 2 + random.Below(map.Height() - 4);
        for (int attempt = 0; attempt < 500; ++attempt) {
            const auto at = static_cast<std::size_t>(event.X + event.Y * map.Width());
            if (at < walkable.size() && walkable[at]) {
                walkable[at] = false;
                break;
            }
            event.X = 1 + random.Below(map.Width() - 2);
            event.Y = 1 + random.Below(map.Height() - 2);
        }
        for (int p = 1; p <= 1 + i % 2; ++p) {
            TKelEventPageItem& page = event.Pages.Obtain(p);
            page.GraphicName = p == 2 && i % 4 == 0 ? rtp::kHeroCharSet : charSet;
            page.GraphicIndex = i % 8;
            page.GraphicDirection = static_cast<std::uint8_t>(i % 4);
            // Push Key, On Hero Touch, On Touch (Event,Hero): nothing starts by itself.
            page.Trigger = static_cast<std::uint8_t>(i % 3);
            page.MoveType = static_cast<std::uint8_t>(i % 7);
            page.MoveSpeed = 1 + i % 6;
            page.MoveFrequency = 1 + i % 8;
            page.Priority = static_cast<std::uint8_t>(i % 3);
            if (p == 2) {
                page.Condition.Flags = TKelEventCondition::cfSwitchA | TKelEventCondition::cfVariable;
                page.Condition.SwitchAId = 1 + i % 10;
                page.Condition.VariableId = 2;
                page.Condition.VariableValue = i;
                page.Condition.HeroId = 2;
            }
            for (int step = 0; step < 4; ++step) {
                TKelMoveRouteItem item;
                item.Code = (i + step) % 32;
                page.MoveRoute.Add(item);
            }
            if (i % 3 == 0) {
                TKelMoveRouteItem sound;
                sound.Code = mcPlaySound;
                sound.SoundName = rtp::kSounds[1];
                sound.SoundVolume = 90;
                sound.SoundTempo = 100;
                sound.SoundBalance = 50;
                page.MoveRoute.Add(sound);
            }
            FillScript(page.Script, i * 10 + p);
        }
    }
}

}  // namespace

void MakeSampleProject(const std::string& folder, const std::string& title) {
    // The project is made as a user makes one, from the templates beside the editor; the user's
    // own settings are left alone while it is made.
    const std::filesystem::path target = std::filesystem::absolute(folder).lexically_normal();
    const std::string name = target.filename().empty() ? target.parent_path().filename().string() : target.filename().string();
    const std::string base = IncludeTrailingDelimiter(target.filename().empty() ? target.parent_path().parent_path().string()
                                                                                : target.parent_path().string());
    const std::string path = base + name + "/";
    const std::string scratch = MakeScratchFolder("quillon-sample-config-");
    const char* previousConfig = std::getenv("QUILLON_CONFIG_DIR");
    const std::string keptConfig = previousConfig ? previousConfig : "";
    ::setenv("QUILLON_CONFIG_DIR", scratch.c_str(), 1);
    ReopenSettingsStores();
    struct TRestore {
        std::string Scratch, Kept;
        bool HadConfig;
        ~TRestore() {
            DeleteFolderTree(Scratch);
            if (HadConfig)
                ::setenv("QUILLON_CONFIG_DIR", Kept.c_str(), 1);
            else
                ::unsetenv("QUILLON_CONFIG_DIR");
            ReopenSettingsStores();
        }
    } restore{scratch, keptConfig, previousConfig != nullptr};

    std::filesystem::create_directories(path);
    SetProjectBasePath(base);
    TProjectManager manager;
    TProjectData data;
    data.Attach(manager);
    manager.CreateProject(name, title);

    TKelDataBase& database = data.DataBase();
    FillDataBase(database);
    database.Save(path);

    TKelMapTree& tree = data.MapTree();
    struct TSampleMap {
        int Id, Parent, Width, Height, Events;
        const char* Name;
        rtp::TSampleMapKind Kind;
        const char* Music;
        const char* CharSet;
    };
    const TSampleMap maps[] = {{1, 0, 40, 30, 12, "World", rtp::TSampleMapKind::World, "Town", "People"},
                               {2, 1, 25, 20, 6, "Village", rtp::TSampleMapKind::Village, "Town", "People"},
                               {3, 1, 60, 45, 20, "Forest", rtp::TSampleMapKind::Forest, "Battle", "Creature"},
                               {5, 0, 20, 15, 3, "Cave", rtp::TSampleMapKind::Cave, "Fanfare", "Creature"}};
    for (const TSampleMap& sample : maps) {
        TKelMapTreeItem& item = sample.Id == 1 ? *tree.FindByID(1) : tree.AddItem(sample.Parent, sample.Id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = sample.Name;
        item.MusicType = TKelMapTreeItem::mtSetTo;
        item.Music.Name = sample.Music;
        item.BackdropType = sample.Id == 1 ? TKelMapTreeItem::btByTerrain : TKelMapTreeItem::btSetTo;
        item.BackdropName = sample.Id == 1 ? "" : rtp::kBackdrop;
        item.TeleportPermission = static_cast<std::uint8_t>(sample.Id % 3);
        item.EscapePermission = 1;
        item.SavePermission = sample.Id == 5 ? 2 : 1;
        item.EncounterSteps = 20 + sample.Id;
        item.ScrollX = 32 * sample.Id;
        item.Expanded = sample.Id == 1;
        for (int e = 1; e <= sample.Id % 3 + 1; ++e)
            item.Encounters.Obtain(e).MonsterGroupId = e;

        auto map = std::make_unique<TKelMap>();
        map->ChipSetId = sample.Id == 2 ? 2 : 1;
        map->SetWidth(sample.Width);
        map->SetHeight(sample.Height);
        if (sample.Id == 1)
            map->SetScrollType(TKelMap::stBothLoop);
        if (sample.Id == 3) {
            map->PanoramaEnabled = 1;
            map->PanoramaName = rtp::kPanorama;
            map->PanoramaHorizontalAuto = 1;
            map->PanoramaHorizontalSpeed = -3;
        }
        std::vector<bool> walkable;
        rtp::PaintSampleMap(*map, sample.Kind, walkable);
        if (sample.Id == kVillageMap) {
            AddVillageEvents(*map);
        } else {
            if (sample.Id == kWorldMap) {
                // The gate and the cell it leads to stay free of the other events.
                AddGate(*map, "Village", kWorldVillage, kVillageMap, kVillageArrival, kSame);
                for (const TCell cell : {kWorldVillage, kWorldArrival})
                    walkable[static_cast<std::size_t>(cell.X + cell.Y * map->Width())] = false;
            }
            AddEvents(*map, sample.Events, sample.Id, walkable, sample.CharSet);
        }
        map->SaveToProject(path, sample.Id);
        item.Modified = false;
    }
    // An area of the world map.
    TKelMapTreeItem& area = tree.AddItem(1, 4);
    area.Kind = TKelMapTreeItem::mkArea;
    area.Name = "Plains";
    area.AreaRect = {5, 5, 20, 15};
    area.Encounters.Obtain(1).MonsterGroupId = 2;
    tree.CurrentMapId = 2;
    tree.StartPosition.SetMapId(TKelMapStartPosition::spParty, kVillageMap);
    tree.StartPosition.SetX(TKelMapStartPosition::spParty, kVillageStart.X);
    tree.StartPosition.SetY(TKelMapStartPosition::spParty, kVillageStart.Y);
    tree.StartPosition.SetMapId(TKelMapStartPosition::spShip, 1);
    tree.StartPosition.SetX(TKelMapStartPosition::spShip, 3);
    tree.StartPosition.SetY(TKelMapStartPosition::spShip, 4);
    tree.Save(path);
    manager.CloseProject();
}

}  // namespace quillon
