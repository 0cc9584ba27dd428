// The commands of the timer, the party and its heroes: the party's members, experience and level
// (with the level-up message), abilities, skills, equipment, HP, MP, conditions, full recovery,
// damage, and a hero's name, degree, walk graphic and face. A hero that does not exist makes the
// command do nothing.
#include "data/CommandCode.h"
#include "data/HeroEquipment.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "runtime/GameHero.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/Interpreter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::runtime {

namespace {

constexpr int kMessageLines = 4;
// The vocabulary's words of the level-up message.
constexpr int kVocabularyLevelUp = 36;
constexpr int kVocabularySkillLearned = 37;
// "Remove Equipment" from every slot.
constexpr std::int32_t kEverySlot = 5;
constexpr std::int32_t kLastCharIndex = 7;
constexpr std::int32_t kLastFaceIndex = 15;

const TKelDataBase& Db(TInterpreter& in) { return in.Session().State().Database(); }

// The heroes a command names by p0 and p1: 0 the party's members, 1 a hero, 2 the hero whose ID
// a variable holds.
std::vector<THeroState*> Targets(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    std::vector<THeroState*> heroes;
    switch (line.Param(0)) {
    case 0:
        for (const std::int32_t id : state.Party())
            if (THeroState* hero = state.Hero(id))
                heroes.push_back(hero);
        break;
    case 1:
    case 2: {
        const std::int32_t id = line.Param(0) == 1 ? line.Param(1) : state.Variable(line.Param(1));
        if (THeroState* hero = state.Hero(id))
            heroes.push_back(hero);
        break;
    }
    default: break;
    }
    return heroes;
}

// A value fixed (kind 0) or held by a variable (kind 1).
std::int32_t FixedOrVariable(TInterpreter& in, std::int32_t kind, std::int32_t value) {
    return kind == 0 ? value : in.Session().State().Variable(value);
}

// An increase (operation 0) or a decrease (1) by an amount, kept within the variables' range.
std::int64_t Change(TInterpreter& in, std::int32_t operation, std::int32_t kind, std::int32_t value) {
    const std::int64_t amount = std::clamp<std::int64_t>(AmountValue(in, kind, value), -kMaxVariable, kMaxVariable);
    return operation == 0 ? amount : -amount;
}

// A party whose every member is unconscious has lost.
bool PartyDown(const TGameState& state) {
    if (state.Party().empty())
        return false;
    return std::all_of(state.Party().begin(), state.Party().end(), [&](std::int32_t id) {
        const THeroState* hero = state.Hero(id);
        return hero == nullptr || HeroUnconscious(*hero);
    });
}

TStep AfterHarm(TInterpreter& in) {
    if (!PartyDown(in.Session().State()))
        return TStep::Next;
    in.Session().GameOver();
    return TStep::Stop;
}

std::string Vocabulary(const TKelDataBase& db, int field) {
    const std::string* text = db.Vocabulary.Text(field);
    return text ? *text : std::string();
}

// A hero's level-up message: "<name><Level Up><level>", then "<skill><Skill Learned>" for each
// skill learned; as windows of four lines.
void AddLevelUp(const TKelDataBase& db, const THeroState& hero, const std::vector<std::int32_t>& skills,
                std::vector<std::vector<std::string>>& windows) {
    std::vector<std::string> lines{hero.Name + Vocabulary(db, kVocabularyLevelUp) + std::to_string(hero.Level)};
    for (const std::int32_t id : skills)
        if (const TKelSkillItem* skill = db.Skill.FindByID(id))
            lines.push_back(skill->Name + Vocabulary(db, kVocabularySkillLearned));
    for (std::size_t at = 0; at < lines.size(); at += kMessageLines)
        windows.emplace_back(lines.begin() + static_cast<std::ptrdiff_t>(at),
                             lines.begin() + static_cast<std::ptrdiff_t>(std::min(at + kMessageLines, lines.size())));
}

TStep Timer(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    switch (line.Param(0)) {
    case 0: {
        const std::int32_t seconds =
            std::clamp(FixedOrVariable(in, line.Param(1), line.Param(2)), 0, TGameState::kMaxTimerSeconds);
        state.TimerFrames = seconds * 60;
        break;
    }
    case 1:
        state.TimerRunning = true;
        state.TimerShown = line.Param(3) != 0;
        state.TimerInBattle = line.Param(4) != 0;
        break;
    case 2:
        state.TimerRunning = false;
        state.TimerShown = false;
        break;
    default: return TStep::Next;
    }
    state.Touch();
    return TStep::Next;
}

TStep ChangeParty(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    const std::int32_t id = FixedOrVariable(in, line.Param(1), line.Param(2));
    const bool changed = line.Param(0) == 0 ? state.JoinParty(id) : state.LeaveParty(id);
    if (changed)
        in.Session().PartyChanged();
    return TStep::Next;
}

// Change EXP and Change Level; p5 shows the level-up message of an increase.
TStep ChangeExpOrLevel(TInterpreter& in, const TKelEventScriptLine& line, bool level) {
    const bool message = line.Param(2) == 0 && line.Param(5) != 0;
    if (message && in.Session().MessageBusy())
        return TStep::Retry;
    const TKelDataBase& db = Db(in);
    const std::int64_t change = Change(in, line.Param(2), line.Param(3), line.Param(4));
    std::vector<std::vector<std::string>> windows;
    for (THeroState* hero : Targets(in, line)) {
        const std::int32_t before = hero->Level;
        const std::vector<std::int32_t> learned =
            level ? SetHeroLevel(db, *hero, hero->Level + change) : SetHeroExp(db, *hero, hero->Exp + change);
        if (message && hero->Level > before)
            AddLevelUp(db, *hero, learned, windows);
    }
    in.Session().State().Touch();
    in.ShowMessages(std::move(windows));
    return TStep::Next;
}

TStep ChangeAbility(TInterpreter& in, const TKelEventScriptLine& line) {
    const std::int64_t change = Change(in, line.Param(2), line.Param(4), line.Param(5));
    for (THeroState* hero : Targets(in, line))
        ChangeHeroAbility(Db(in), *hero, line.Param(3), static_cast<std::int32_t>(change));
    return TStep::Next;
}

TStep ChangeSkills(TInterpreter& in, const TKelEventScriptLine& line) {
    const std::int32_t skill = FixedOrVariable(in, line.Param(3), line.Param(4));
    for (THeroState* hero : Targets(in, line))
        SetHeroSkill(Db(in), *hero, skill, line.Param(2) == 0);
    in.Session().State().Touch();
    return TStep::Next;
}

// The slot an item of a class goes to; -1 for what is not worn.
int SlotOf(const TKelItemItem* item) {
    if (item == nullptr || item->Kind < TKelItemItem::ikWeapon || item->Kind > TKelItemItem::ikAccessory)
        return -1;
    return item->Kind - TKelItemItem::ikWeapon;
}

TStep ChangeEquipment(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    if (line.Param(2) == 0) {
        const std::int32_t item = FixedOrVariable(in, line.Param(3), line.Param(4));
        const int slot = SlotOf(item > 0 ? Db(in).Item.FindByID(item) : nullptr);
        if (slot >= 0)
            for (THeroState* hero : Targets(in, line))
                EquipHero(state, *hero, slot, item);
    } else {
        const std::int32_t which = line.Param(3);
        for (THeroState* hero : Targets(in, line))
            for (int slot = 0; slot < kHeroSlots; ++slot)
                if (which == slot || which == kEverySlot)
                    UnequipHero(state, *hero, slot);
    }
    return TStep::Next;
}

TStep ChangeHp(TInterpreter& in, const TKelEventScriptLine& line) {
    const std::int64_t change = Change(in, line.Param(2), line.Param(3), line.Param(4));
    const bool mayDie = line.Param(2) == 1 && line.Param(5) != 0;
    for (THeroState* hero : Targets(in, line))
        SetHeroHp(Db(in), *hero, hero->Hp + change, mayDie);
    return AfterHarm(in);
}

TStep ChangeMp(TInterpreter& in, const TKelEventScriptLine& line) {
    const std::int64_t change = Change(in, line.Param(2), line.Param(3), line.Param(4));
    for (THeroState* hero : Targets(in, line))
        SetHeroMp(Db(in), *hero, hero->Mp + change);
    return TStep::Next;
}

TStep ChangeCondition(TInterpreter& in, const TKelEventScriptLine& line) {
    for (THeroState* hero : Targets(in, line))
        SetHeroCondition(Db(in), *hero, line.Param(3), line.Param(2) == 0);
    return AfterHarm(in);
}

TStep FullRecovery(TInterpreter& in, const TKelEventScriptLine& line) {
    for (THeroState* hero : Targets(in, line))
        RecoverHero(Db(in), *hero);
    return TStep::Next;
}

TStep TakeDamage(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    for (THeroState* hero : Targets(in, line)) {
        const std::int32_t damage =
            HeroDamage(Db(in), *hero, line.Param(2), line.Param(3), line.Param(4), line.Param(5), session.Random());
        SetHeroHp(Db(in), *hero, std::int64_t{hero->Hp} - damage, true);
        if (line.Param(6) != 0)
            session.State().SetVariable(line.Param(7), damage);
    }
    return AfterHarm(in);
}

// Name, degree, walk graphic and face: the hero p0.
TStep ChangeLook(TInterpreter& in, const TKelEventScriptLine& line) {
    THeroState* hero = in.Session().State().Hero(line.Param(0));
    if (hero == nullptr)
        return TStep::Next;
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::ChangeHeroName: hero->Name = line.Text; break;
    case TCommandCode::ChangeHeroDegree: hero->Degree = line.Text; break;
    case TCommandCode::ChangeHeroWalkGraphic:
        hero->CharSet = line.Text;
        hero->CharIndex = std::clamp(line.Param(1), 0, kLastCharIndex);
        hero->CharTransparent = line.Param(2) != 0;
        in.Session().PartyChanged();
        break;
    case TCommandCode::ChangeHeroFaceGraphic:
        hero->FaceSet = line.Text;
        hero->FaceIndex = std::clamp(line.Param(1), 0, kLastFaceIndex);
        break;
    default: break;
    }
    in.Session().State().Touch();
    return TStep::Next;
}

}  // namespace

TStep RunPartyCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::TimerOperation: return Timer(in, line);
    case TCommandCode::ChangeParty: return ChangeParty(in, line);
    case TCommandCode::ChangeExp: return ChangeExpOrLevel(in, line, false);
    case TCommandCode::ChangeLevel: return ChangeExpOrLevel(in, line, true);
    case TCommandCode::ChangeAbility: return ChangeAbility(in, line);
    case TCommandCode::ChangeSkills: return ChangeSkills(in, line);
    case TCommandCode::ChangeEquipment: return ChangeEquipment(in, line);
    case TCommandCode::ChangeHp: return ChangeHp(in, line);
    case TCommandCode::ChangeMp: return ChangeMp(in, line);
    case TCommandCode::ChangeCondition: return ChangeCondition(in, line);
    case TCommandCode::FullRecovery: return FullRecovery(in, line);
    case TCommandCode::TakeDamage: return TakeDamage(in, line);
    case TCommandCode::ChangeHeroName:
    case TCommandCode::ChangeHeroDegree:
    case TCommandCode::ChangeHeroWalkGraphic:
    case TCommandCode::ChangeHeroFaceGraphic: return ChangeLook(in, line);
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
