// The dialogs of the party commands: switches, variables, the timer, money, items, the party's
// members, the heroes' experience, level, abilities, skills, equipment, HP, MP, conditions,
// names and graphics, the vehicles' graphics, the system music and sounds, the screen
// transitions and the hero name entry.
#include "events/CommandFormBatches.h"

#include "data/LD_System.h"
#include "events/EventScript.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

namespace {

// Switch and variable IDs a range can name.
constexpr std::int32_t kMaxListId = 5000;
// The value a variable can be given by a constant.
constexpr std::int32_t kMaxVariableValue = 9999999;
constexpr std::int32_t kMaxMoney = 999999;
constexpr std::int32_t kMaxItemCount = 99;
constexpr std::int32_t kMaxExp = 999999;
constexpr std::int32_t kMaxLevel = 50;
// Hit points, magic points and the abilities.
constexpr std::int32_t kMaxPoints = 999;
// The timer counts down from 99:59 at most.
constexpr std::int32_t kMaxTimerMinutes = 99;
// Editor limits of a hero's name and degree, in bytes.
constexpr std::size_t kHeroNameBytes = 50;
constexpr std::size_t kHeroDegreeBytes = 12;

using TRecord = TCommandRecord;

std::vector<std::string> TransitionCaptions(const char* (*name)(std::int32_t)) {
    std::vector<std::string> captions;
    for (std::int32_t index = 0; const char* text = name(index); ++index)
        captions.emplace_back(text);
    return captions;
}

// 0 "Set" / 1 "Start" / 2 "Stop"; the time in seconds as minutes and seconds.
std::int32_t TimerMinutes(const TRecord& r) { return r.Param(2) / 60; }
std::int32_t TimerSeconds(const TRecord& r) { return r.Param(2) % 60; }

using TParams = std::vector<std::int32_t>;

// The line's parameters are written with those the chosen options leave unused as 0; `unset`
// clears them. A kind out of its range clears nothing, so a damaged line loses no value.
void WritesUnsetAsZero(TCommandFormBuilder& b, std::size_t count,
                       std::function<void(const TRecord&, TParams&)> unset) {
    b.Written([count, unset = std::move(unset)](const TRecord& r) {
        TParams params = r.P;
        params.resize(count, 0);
        unset(r, params);
        return params;
    });
}

void Clear(TParams& params, std::initializer_list<std::size_t> indices) {
    for (const std::size_t index : indices)
        params.at(index) = 0;
}

bool IsOneOf(std::int32_t value, std::initializer_list<std::int32_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// "All Party Members" names no hero.
void ClearWho(const TRecord& r, TParams& params) {
    if (r.Param(0) == 0)
        Clear(params, {1});
}

IEventChoosers* ChoosersOf(const TRecord& r) { return r.Context != nullptr ? r.Context->Choosers : nullptr; }

// Whether the command is made for a troop's battle page (its enemies can be named).
bool HasTroop(const TRecord& r) { return r.Context != nullptr && r.Context->MonsterGroup != nullptr; }

void AddSwitchManagement(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeSwitch, 4);
    b.Radio("RadioTarget", "Target", 0, {"&Single Switch", "Switch &Range", "Switch by &Variable"}).Key("target");
    b.Switch("SwitchSingle", "S&witch", 1).When(0, {0}).Key("switch").Default(1);
    b.Spin("SpinFrom", "Fro&m", 1, 1, kMaxListId).When(0, {1}).Key("from");
    b.Spin("SpinTo", "&To", 2, 1, kMaxListId).When(0, {1}).Key("to").Default(1);
    b.Variable("VariableIndex", "V&ariable", 1).When(0, {2}).Key("variable");
    b.Radio("RadioOperation", "Operation", 3, {"Turn O&N", "Turn O&FF", "To&ggle"}).Key("operation");
    b.Refusal([](const TRecord& r) -> std::string {
        if (r.Param(0) == 1 && r.Param(1) > r.Param(2))
            return "The first switch of the range comes after the last.";
        return {};
    });
    WritesUnsetAsZero(b, 4, [](const TRecord& r, TParams& p) {
        if (IsOneOf(r.Param(0), {0, 2}))
            Clear(p, {2});
    });
    forms.push_back(b.Build());
}

void AddVariableManagement(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeVariable, 7);
    b.Radio("RadioTarget", "Target", 0, {"&Single Variable", "Variable &Range", "Variable by &Index"})
        .Key("target");
    // The variable itself, or the one that holds its ID.
    b.Variable("VariableTarget", "&Variable", 1).When(0, {0, 2}).Key("variable").Default(1);
    b.Spin("SpinFrom", "&From", 1, 1, kMaxListId).When(0, {1}).Key("from");
    b.Spin("SpinTo", "&To", 2, 1, kMaxListId).When(0, {1}).Key("to").Default(1);
    b.List("ComboOperation", "O&peration", 3,
           {"= Set", "+ Add", "- Subtract", "* Multiply", "/ Divide", "Mod (Remainder)"})
        .Key("operation");
    b.Radio("RadioOperand", "Operand", 4,
            {"&1 Constant", "&2 Variable", "&3 Variable by Index", "&4 Random", "&5 Item", "&6 Hero",
             "&7 Character", "&8 Other", "&9 Enemy"})
        .Key("operand")
        .ChoiceEnabledWhen([](const TRecord& r, int choice) { return choice != 8 || HasTroop(r); });
    b.Spin("SpinValue", "Val&ue", 5, -kMaxVariableValue, kMaxVariableValue).When(4, {0}).Key("value");
    b.Variable("VariableOperand", "Operand Varia&ble", 5).When(4, {1, 2}).Key("operandvar");
    b.Spin("SpinRandomMin", "&Min.", 5, -kMaxVariableValue, kMaxVariableValue).When(4, {3}).Key("min");
    b.Spin("SpinRandomMax", "Ma&x.", 6, -kMaxVariableValue, kMaxVariableValue).When(4, {3}).Key("max");
    b.Entry(TEntryList::Item, "ComboItem", "It&em", 5).When(4, {4}).Key("item");
    b.List("ComboItemValue", "Item &Count", 6, {"Held", "Equipped"}).When(4, {4}).Key("itemvalue");
    b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 5).When(4, {5}).Key("hero");
    b.List("ComboHeroValue", "Hero's &Data", 6,
           {"Level", "EXP", "HP", "MP", "Max HP", "Max MP", "Attack", "Defense", "Mind", "Agility", "Weapon ID",
            "Shield ID", "Armor ID", "Helmet ID", "Accessory ID"})
        .When(4, {5})
        .Key("herovalue");
    b.Character("ComboCharacter", "Ch&aracter", 5).When(4, {6}).Key("character");
    b.List("ComboCharacterValue", "Character's Va&lue", 6,
           {"Map ID", "X Position", "Y Position", "Direction", "Screen X", "Screen Y"})
        .When(4, {6})
        .Key("charactervalue");
    b.List("ComboOther", "&Other Value", 5,
           {"Money", "Timer Seconds Remaining", "Party Size", "Times Saved", "Battles", "Victories", "Defeats",
            "Escapes", "MIDI Play Position (Ticks)"})
        .When(4, {7})
        .Key("other");
    b.Enemy("ComboEnemy", "E&nemy", 5).When(4, {8}).Key("enemy");
    b.List("ComboEnemyValue", "Enem&y's Value", 6,
           {"HP", "MP", "Max HP", "Max MP", "Attack", "Defense", "Mind", "Agility"})
        .When(4, {8})
        .Key("enemyvalue");
    b.Refusal([](const TRecord& r) -> std::string {
        if (r.Param(0) == 1 && r.Param(1) > r.Param(2))
            return "The first variable of the range comes after the last.";
        if (r.Param(4) == 3 && r.Param(5) > r.Param(6))
            return "The minimum of the random number is greater than its maximum.";
        return {};
    });
    WritesUnsetAsZero(b, 7, [](const TRecord& r, TParams& p) {
        if (IsOneOf(r.Param(0), {0, 2}))
            Clear(p, {2});
        if (IsOneOf(r.Param(4), {0, 1, 2, 7}))
            Clear(p, {6});
    });
    forms.push_back(b.Build());
}

void AddTimerManagement(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::TimerOperation, 5);
    b.Radio("RadioOperation", "Operation", 0, {"&Set", "S&tart", "St&op"}).Key("operation");
    b.Radio("RadioTime", "Time", 1, {"&Fixed Time", "Time in &Variable"}).When(0, {0}).Key("timekind");
    const auto setsFixedTime = [](const TRecord& r) { return r.Param(0) == 0 && r.Param(1) == 0; };
    b.Fields()
        .Field(TFieldKind::Number, "SpinMinutes", "&Minutes", TimerMinutes,
               [](TRecord& r, std::int32_t minutes) { r.SetParam(2, minutes * 60 + TimerSeconds(r)); })
        .Range(0, kMaxTimerMinutes)
        .EnabledWhen(setsFixedTime)
        .Key("minutes");
    b.Fields()
        .Field(TFieldKind::Number, "SpinSeconds", "Seco&nds", TimerSeconds,
               [](TRecord& r, std::int32_t seconds) { r.SetParam(2, TimerMinutes(r) * 60 + seconds); })
        .Range(0, 59)
        .EnabledWhen(setsFixedTime)
        .Key("seconds");
    b.Variable("VariableTime", "Var&iable", 2)
        .EnabledWhen([](const TRecord& r) { return r.Param(0) == 0 && r.Param(1) == 1; })
        .Key("variable");
    b.Check("CheckDisplay", "&Display Timer", 3).When(0, {1}).Key("display");
    b.Check("CheckBattle", "Available in &Battle", 4).When(0, {1}).Key("battle");
    WritesUnsetAsZero(b, 5, [](const TRecord& r, TParams& p) {
        if (IsOneOf(r.Param(0), {1, 2}))
            Clear(p, {1, 2});
        if (IsOneOf(r.Param(0), {0, 2}))
            Clear(p, {3, 4});
    });
    forms.push_back(b.Build());
}

void AddChangeMoney(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeMoney, 3);
    b.Radio("RadioOperation", "Operation", 0, {"&Increase", "&Decrease"}).Key("operation");
    b.Amount("Amount", 1, 2, 0, kMaxMoney).Key("amount");
    forms.push_back(b.Build());
}

void AddChangeItems(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeItemAmount, 5);
    b.Radio("RadioOperation", "Operation", 0, {"&Add Items", "&Remove Items"}).Key("operation");
    b.Radio("RadioItemKind", "Item", 1, {"Fi&xed Item", "Item by &Variable"}).Key("itemkind");
    b.Entry(TEntryList::Item, "ComboItem", "&Item", 2).When(1, {0}).Key("item").Default(1);
    b.Variable("VariableItem", "I&tem Variable", 2).When(1, {1}).Key("itemvar");
    b.Amount("Amount", 3, 4, 0, kMaxItemCount).Key("amount");
    forms.push_back(b.Build());
}

void AddChangeParty(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeParty, 3);
    b.Radio("RadioOperation", "Operation", 0, {"&Add Member", "&Remove Member"}).Key("operation");
    b.Radio("RadioHeroKind", "Hero", 1, {"Fi&xed Hero", "Hero by &Variable"}).Key("herokind");
    b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 2).When(1, {0}).Key("hero").Default(1);
    b.Variable("VariableHero", "Hero Varia&ble", 2).When(1, {1}).Key("herovar");
    forms.push_back(b.Build());
}

// Experience, level, HP and MP: who, increase or decrease, the amount.
TCommandFormBuilder PointsChange(TCommandCode code, std::int32_t paramCount, std::int32_t maxAmount) {
    TCommandFormBuilder b(code, paramCount);
    b.Who("Who", 0, 1).Key("who");
    b.Radio("RadioOperation", "Operation", 2, {"&Increase", "&Decrease"}).Key("operation");
    b.Amount("Amount", 3, 4, 0, maxAmount).Key("amount");
    return b;
}

// Experience, level and HP with their check box, enabled for one operation only (0 increase,
// 1 decrease) and written as 0 for the other.
TCommandForm PointsWithFlag(TCommandCode code, std::int32_t maxAmount, std::string widget, std::string label,
                            std::int32_t operation, std::string key) {
    TCommandFormBuilder b = PointsChange(code, 6, maxAmount);
    b.Check(std::move(widget), std::move(label), 5).When(2, {operation}).Key(std::move(key));
    WritesUnsetAsZero(b, 6, [operation](const TRecord& r, TParams& p) {
        ClearWho(r, p);
        if (r.Param(2) != operation)
            Clear(p, {5});
    });
    return b.Build();
}

void AddHeroPoints(std::vector<TCommandForm>& forms) {
    forms.push_back(PointsWithFlag(TCommandCode::ChangeExp, kMaxExp, "CheckLevelUp", "Show &Level Up Message", 0, "message"));
    forms.push_back(PointsWithFlag(TCommandCode::ChangeLevel, kMaxLevel, "CheckLevelUp", "Show &Level Up Message", 0, "message"));
    // Only a decrease can kill.
    forms.push_back(PointsWithFlag(TCommandCode::ChangeHp, kMaxPoints, "CheckDeath", "&Possible Death", 1, "death"));
    TCommandFormBuilder b = PointsChange(TCommandCode::ChangeMp, 5, kMaxPoints);
    WritesUnsetAsZero(b, 5, ClearWho);
    forms.push_back(b.Build());
}

void AddChangeAbility(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeAbility, 6);
    b.Who("Who", 0, 1).Key("who");
    b.Radio("RadioOperation", "Operation", 2, {"&Increase", "&Decrease"}).Key("operation");
    b.List("ComboAbility", "Abili&ty", 3, {"Max HP", "Max MP", "Attack", "Defense", "Mind", "Agility"})
        .Key("ability");
    b.Amount("Amount", 4, 5, 0, kMaxPoints).Key("amount");
    WritesUnsetAsZero(b, 6, ClearWho);
    forms.push_back(b.Build());
}

void AddChangeSkills(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeSkills, 5);
    b.Who("Who", 0, 1).Key("who");
    b.Radio("RadioOperation", "Operation", 2, {"&Learn Skill", "&Forget Skill"}).Key("operation");
    b.Radio("RadioSkillKind", "Skill", 3, {"Fi&xed Skill", "Skill by Varia&ble"}).Key("skillkind");
    b.Entry(TEntryList::Skill, "ComboSkill", "&Skill", 4).When(3, {0}).Key("skill").Default(1);
    b.Variable("VariableSkill", "Skill Variabl&e", 4).When(3, {1}).Key("skillvar");
    WritesUnsetAsZero(b, 5, ClearWho);
    forms.push_back(b.Build());
}

void AddChangeEquipment(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeEquipment, 5);
    b.Who("Who", 0, 1).Key("who");
    b.Radio("RadioOperation", "Operation", 2, {"&Equip", "&Remove Equipment"}).Key("operation");
    // Equipping: the item, fixed or by variable, in p3 and p4; removing: the slot in p3.
    b.Radio("RadioItemKind", "Item", 3, {"Fi&xed Item", "Item by Varia&ble"}).When(2, {0}).Key("itemkind");
    b.Entry(TEntryList::Item, "ComboItem", "I&tem", 4)
        .EnabledWhen([](const TRecord& r) { return r.Param(2) == 0 && r.Param(3) == 0; })
        .Key("item")
        .Default(1);
    b.Variable("VariableItem", "Item Variab&le", 4)
        .EnabledWhen([](const TRecord& r) { return r.Param(2) == 0 && r.Param(3) == 1; })
        .Key("itemvar");
    b.List("ComboSlot", "Sl&ot", 3, {"Weapon", "Shield", "Armor", "Helmet", "Accessory", "All"})
        .When(2, {1})
        .Key("slot");
    WritesUnsetAsZero(b, 5, [](const TRecord& r, TParams& p) {
        ClearWho(r, p);
        if (r.Param(2) == 1)
            Clear(p, {4});
    });
    forms.push_back(b.Build());
}

void AddChangeCondition(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeCondition, 4);
    b.Who("Who", 0, 1).Key("who");
    b.Radio("RadioOperation", "Operation", 2, {"&Inflict", "&Cure"}).Key("operation");
    b.Entry(TEntryList::Condition, "ComboCondition", "C&ondition", 3).Key("condition").Default(1);
    WritesUnsetAsZero(b, 4, ClearWho);
    forms.push_back(b.Build());
}

void AddFullRecovery(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::FullRecovery, 2);
    b.Who("Who", 0, 1).Key("who");
    WritesUnsetAsZero(b, 2, ClearWho);
    forms.push_back(b.Build());
}

void AddTakeDamage(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::TakeDamage, 8);
    b.Who("Who", 0, 1).Key("who");
    b.Spin("SpinAttack", "A&ttack", 2, 0, kMaxPoints).Key("attack");
    b.Spin("SpinDefense", "&Defense Effect", 3, 0, 100).Key("defense");
    b.Spin("SpinMind", "&Mind Force Effect", 4, 0, 100).Key("mind");
    b.Spin("SpinVariance", "Varia&nce", 5, 0, 10).Key("variance");
    b.Check("CheckToVariable", "&Set Damage value to Variable", 6).Key("tovariable");
    b.Variable("VariableDamage", "Damage &Variable", 7).When(6, {1}).Key("variable");
    // The damage goes to a variable only when asked for.
    WritesUnsetAsZero(b, 8, [](const TRecord& r, TParams& p) {
        ClearWho(r, p);
        if (r.Param(6) == 0)
            Clear(p, {7});
    });
    forms.push_back(b.Build());
}

void AddHeroNames(std::vector<TCommandForm>& forms) {
    const auto nameForm = [](TCommandCode code, const char* label, const char* key, std::size_t bytes) {
        TCommandFormBuilder b(code, 1);
        b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 0).Key("hero").Default(1);
        b.Fields().Field(TFieldKind::Text, "EditText", label, &TRecord::Text).Bytes(bytes).Key(key);
        return b.Build();
    };
    forms.push_back(nameForm(TCommandCode::ChangeHeroName, "&New Name", "name", kHeroNameBytes));
    forms.push_back(nameForm(TCommandCode::ChangeHeroDegree, "&New Degree", "degree", kHeroDegreeBytes));
}

void AddHeroGraphics(std::vector<TCommandForm>& forms) {
    {
        TCommandFormBuilder b(TCommandCode::ChangeHeroWalkGraphic, 3);
        b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 0).Key("hero").Default(1);
        b.Resource("DashGraphic", "&Graphic", TSelKind::Char, 1).Key("graphic");
        b.Check("CheckTransparent", "&Transp.", 2).Key("transparent");
        forms.push_back(b.Build());
    }
    {
        TCommandFormBuilder b(TCommandCode::ChangeHeroFaceGraphic, 2);
        b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 0).Key("hero").Default(1);
        b.Resource("DashFace", "&Face", TSelKind::Face, 1).Key("face");
        forms.push_back(b.Build());
    }
    {
        TCommandFormBuilder b(TCommandCode::ChangeVehicleGraphic, 2);
        b.Radio("RadioVehicle", "Vehicle", 0, {"&Boat", "&Ship", "&Airship"}).Key("vehicle");
        b.Resource("DashGraphic", "&Graphic", TSelKind::Char, 1).Key("graphic");
        forms.push_back(b.Build());
    }
}

// The music record's fields lie in p1 .. p4 (fade-in, volume, tempo, balance), its name in the text.
void ReadMusic(const TRecord& r, TKelMusic& music) {
    music.Name = r.Text;
    music.FadeIn = r.Param(1);
    music.Volume = r.Param(2);
    music.Tempo = r.Param(3);
    music.Balance = r.Param(4);
}

void SetMusic(TRecord& r, const TKelMusic& music) {
    r.Text = music.Name;
    r.SetParam(1, music.FadeIn);
    r.SetParam(2, music.Volume);
    r.SetParam(3, music.Tempo);
    r.SetParam(4, music.Balance);
}

// The sound record's fields lie in p1 .. p3 (volume, tempo, balance).
void ReadSound(const TRecord& r, TKelSound& sound) {
    sound.Name = r.Text;
    sound.Volume = r.Param(1);
    sound.Tempo = r.Param(2);
    sound.Balance = r.Param(3);
}

void SetSound(TRecord& r, const TKelSound& sound) {
    r.Text = sound.Name;
    r.SetParam(1, sound.Volume);
    r.SetParam(2, sound.Tempo);
    r.SetParam(3, sound.Balance);
}

void WriteName(TRecord& r, const TFieldValue& value) {
    if (const auto* name = std::get_if<std::string>(&value))
        r.Text = *name;
}

void AddSystemMusicAndSound(std::vector<TCommandForm>& forms) {
    {
        TCommandFormBuilder b(TCommandCode::ChangeSystemMusic, 5);
        b.List("ComboMusicKind", "&Situation", 0,
               {"Battle", "Battle End", "Inn", "Boat", "Ship", "Airship", "Game Over"})
            .Key("situation");
        b.Fields()
            .Resource("DashMusic", "&Music", &TRecord::Text,
                      [](TRecord& r) {
                          IEventChoosers* choosers = ChoosersOf(r);
                          TKelMusic music;
                          ReadMusic(r, music);
                          if (choosers == nullptr || !choosers->ChooseMusic(music, ""))
                              return false;
                          SetMusic(r, music);
                          return true;
                      })
            .Writes(WriteName)
            .Key("music");
        b.Defaults([](TRecord& r) { SetMusic(r, TKelMusic()); });
        forms.push_back(b.Build());
    }
    {
        TCommandFormBuilder b(TCommandCode::ChangeSystemSound, 4);
        b.List("ComboSoundKind", "&Situation", 0,
               {"Cursor Movement", "Decision", "Cancel", "Buzzer", "Battle Start", "Escape", "Enemy Attack",
                "Enemy Damage", "Ally Damage", "Evade", "Enemy Death", "Item Use"})
            .Key("situation");
        b.Fields()
            .Resource("DashSound", "S&ound", &TRecord::Text,
                      [](TRecord& r) {
                          IEventChoosers* choosers = ChoosersOf(r);
                          TKelSound sound;
                          ReadSound(r, sound);
                          if (choosers == nullptr || !choosers->ChooseSound(sound, ""))
                              return false;
                          SetSound(r, sound);
                          return true;
                      })
            .Writes(WriteName)
            .Key("sound");
        b.Defaults([](TRecord& r) { SetSound(r, TKelSound()); });
        forms.push_back(b.Build());
    }
}

void AddScreenTransition(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::ChangeScreenTransition, 2);
    b.List("ComboScene", "&Scene", 0,
           {"Teleport / Erase", "Teleport / Show", "Battle Start / Erase", "Battle Start / Show",
            "Battle End / Erase", "Battle End / Show"})
        .Key("scene");
    // The even scenes erase the screen, the odd ones show it again: each has its own transitions.
    b.List("ComboErase", "&Erase Transition", 1, TransitionCaptions(&TEventScriptConverter::EraseTransitionName))
        .EnabledWhen([](const TRecord& r) { return r.Param(0) % 2 == 0; })
        .Key("erase");
    b.List("ComboShow", "S&how Transition", 1, TransitionCaptions(&TEventScriptConverter::ShowTransitionName))
        .EnabledWhen([](const TRecord& r) { return r.Param(0) % 2 != 0; })
        .Key("show");
    b.Refusal([](const TRecord& r) -> std::string {
        const bool erases = r.Param(0) % 2 == 0;
        const char* name = erases ? TEventScriptConverter::EraseTransitionName(r.Param(1))
                                  : TEventScriptConverter::ShowTransitionName(r.Param(1));
        if (r.Param(1) < 0 || name == nullptr)
            return erases ? "Choose how the screen is erased." : "Choose how the screen is shown.";
        return {};
    });
    forms.push_back(b.Build());
}

void AddEnterHeroName(std::vector<TCommandForm>& forms) {
    TCommandFormBuilder b(TCommandCode::EnterHeroName, 3);
    b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 0).Key("hero").Default(1);
    b.Radio("RadioInputMode", "Initial Input Mode", 1, {"&Normal", "&Symbols"}).Key("mode");
    b.Check("CheckShowName", "Show &Initial Name", 2).Key("showname");
    forms.push_back(b.Build());
}

}  // namespace

void AddPartyCommandForms(std::vector<TCommandForm>& forms) {
    AddSwitchManagement(forms);
    AddVariableManagement(forms);
    AddTimerManagement(forms);
    AddChangeMoney(forms);
    AddChangeItems(forms);
    AddChangeParty(forms);
    AddHeroPoints(forms);
    AddChangeAbility(forms);
    AddChangeSkills(forms);
    AddChangeEquipment(forms);
    AddChangeCondition(forms);
    AddFullRecovery(forms);
    AddTakeDamage(forms);
    AddHeroNames(forms);
    AddHeroGraphics(forms);
    AddSystemMusicAndSound(forms);
    AddScreenTransition(forms);
    AddEnterHeroName(forms);
}

}  // namespace quillon
