#include "runtime/GameBattle.h"

#include "data/KelDump.h"
#include "data/LD_DataBase.h"
#include "platform/TextCodec.h"
#include "runtime/BattleAi.h"
#include "runtime/BattleEvents.h"
#include "runtime/BattleRules.h"
#include "runtime/GameAudio.h"
#include "runtime/GameHero.h"
#include "runtime/GameRandom.h"
#include "runtime/GameState.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace quillon::runtime {

namespace {

// Vocabulary fields of the battle's messages.
enum : int {
    vAppeared = 1, vFirstStrike = 2, vEscaped = 3, vEscapeFailed = 4, vVictory = 5, vDefeat = 6, vExp = 7,
    vMoneyBefore = 8, vMoneyAfter = 9, vItemFound = 10, vAttacks = 11, vHeroCritical = 12, vMonsterCritical = 13,
    vDefends = 14, vWatches = 15, vCharges = 16, vExplodes = 17, vFlees = 18, vTransforms = 19,
    vMonsterDamage = 20, vMonsterNoDamage = 21, vHeroDamage = 22, vHeroNoDamage = 23, vSkillFailed = 24,
    vDodged = 27, vItemUse = 28, vRecovers = 29, vRises = 30, vFalls = 31, vLevelUp = 36, vSkillLearned = 37,
    vMoneyUnit = 95, vHp = 124, vMp = 125, vAttackWord = 132,
};

constexpr std::int32_t kIncapacitated = TKelStatusItem::kIncapacitationId;
constexpr int kUnarmedHitChance = 90;

std::int32_t Percent(std::int64_t part, std::int64_t whole) {
    return whole <= 0 ? 0 : static_cast<std::int32_t>(std::clamp<std::int64_t>(part * 100 / whole, 0, 100));
}

// The item of an equipment slot when it is one of that slot's kind.
const TKelItemItem* Equipped(const TKelDataBase& database, const TGameState& state, std::int32_t heroId, int slot) {
    const THeroState* hero = state.Hero(heroId);
    if (hero == nullptr)
        return nullptr;
    return database.Item.FindByID(hero->Equipment[static_cast<std::size_t>(slot)]);
}

std::vector<std::int32_t> MarkedIds(const TKelMarkedItem& item, bool attributes) {
    std::vector<std::int32_t> ids;
    const std::int32_t count = std::min<std::int32_t>(attributes ? item.AttributeCount : item.ConditionCount, 999);
    for (std::int32_t id = 1; id <= count; ++id)
        if (attributes ? item.Attribute(id) : item.Condition(id))
            ids.push_back(id);
    return ids;
}

}  // namespace

const char* BattleResultName(TBattleResult result) {
    switch (result) {
    case TBattleResult::None: return "none";
    case TBattleResult::Victory: return "victory";
    case TBattleResult::Defeat: return "defeat";
    case TBattleResult::Escape: return "escape";
    case TBattleResult::Interrupted: return "interrupted";
    }
    return "none";
}

TGameBattle::TGameBattle(const TKelDataBase& database, TGameState& state, TGameRandom& random, const TBattleSetup& setup)
    : mDatabase(database), mState(state), mRandom(random), mSetup(setup) {
    mTroop = database.MonGroup.FindByID(setup.TroopId);
    for (const std::int32_t heroId : state.Party())
        if (state.Hero(heroId) != nullptr)
            mHeroes.push_back(MakeHero(heroId, static_cast<int>(mHeroes.size())));
    if (mTroop != nullptr) {
        for (int i = 0; i < mTroop->Members.Count(); ++i) {
            const TKelMonGroupMonsterItem* member = mTroop->Members.Items(i);
            const TKelMonsterItem* record = member ? database.Monster.FindByID(member->MonsterId) : nullptr;
            TBattler monster;
            monster.Index = i;
            if (record == nullptr) {
                // A member whose monster is missing stands nowhere and counts as gone.
                monster.Escaped = true;
                mMonsters.push_back(monster);
                continue;
            }
            monster.Id = record->ID;
            monster.Name = record->Name;
            monster.MaxHp = monster.Hp = std::clamp<std::int32_t>(record->MaxHp, 1, kMaxBattleHp);
            monster.MaxMp = monster.Mp = std::clamp<std::int32_t>(record->MaxMp, 0, kMaxParameter);
            monster.Attack = ClampParameter(record->Attack);
            monster.Defense = ClampParameter(record->Defense);
            monster.Mind = ClampParameter(record->Mind);
            monster.Agility = ClampParameter(record->Agility);
            monster.Hidden = member->Hidden != 0;
            monster.X = member->X;
            monster.Y = member->Y;
            mMonsters.push_back(monster);
        }
    }
    std::vector<std::string> named;
    for (const TBattler& monster : mMonsters)
        if (monster.Present() && std::find(named.begin(), named.end(), monster.Name) == named.end()) {
            named.push_back(monster.Name);
            Say(monster.Name + Vocabulary(vAppeared));
        }
    if (setup.FirstStrike)
        Say(Vocabulary(vFirstStrike));
    mTurn = 0;
    CheckEnd();
    if (mPhase != TPhase::Ended)
        mPhase = TPhase::Commands;
}

// The one place that reads a hero's battle figures from the game's hero model.
TBattler TGameBattle::MakeHero(std::int32_t heroId, int slot) const {
    const THeroState& state = *mState.Hero(heroId);
    TBattler hero;
    hero.IsHero = true;
    hero.Id = heroId;
    hero.Index = slot;
    hero.Name = state.Name;
    hero.MaxHp = std::clamp<std::int32_t>(HeroMaxHp(mDatabase, state), 1, kMaxBattleHp);
    hero.MaxMp = std::clamp<std::int32_t>(HeroMaxMp(mDatabase, state), 0, kMaxParameter);
    hero.Hp = std::clamp<std::int32_t>(state.Hp, 0, hero.MaxHp);
    hero.Mp = std::clamp<std::int32_t>(state.Mp, 0, hero.MaxMp);
    hero.Attack = ClampParameter(HeroParameter(mDatabase, state, hpAttack));
    hero.Defense = ClampParameter(HeroParameter(mDatabase, state, hpDefense));
    hero.Mind = ClampParameter(HeroParameter(mDatabase, state, hpMind));
    hero.Agility = ClampParameter(HeroParameter(mDatabase, state, hpAgility));
    for (const std::int32_t id : state.Conditions)
        hero.Conditions[id] = 0;
    if (hero.Hp == 0)
        hero.Conditions[kIncapacitated] = 0;
    return hero;
}

std::string TGameBattle::Vocabulary(int field) const {
    const std::string* text = const_cast<TKelVocabulary&>(mDatabase.Vocabulary).Field(field);
    return text ? *text : std::string();
}

void TGameBattle::Say(const std::string& text) {
    if (!text.empty())
        mLog.push_back(text);
}

std::vector<int> TGameBattle::TakeSounds() {
    std::vector<int> sounds;
    sounds.swap(mSounds);
    return sounds;
}

std::vector<TBattleCue> TGameBattle::TakeCues() {
    std::vector<TBattleCue> cues;
    cues.swap(mCues);
    return cues;
}

const TBattler* TGameBattle::HeroById(std::int32_t heroId) const {
    for (const TBattler& hero : mHeroes)
        if (hero.Id == heroId)
            return &hero;
    return nullptr;
}

int TGameBattle::Exhaustion() const {
    std::int64_t hp = 0, max = 0;
    for (const TBattler& hero : mHeroes) {
        hp += hero.Hp;
        max += hero.MaxHp;
    }
    return max <= 0 ? 100 : 100 - Percent(hp, max);
}

int TGameBattle::MonsterHpPercent(int index) const {
    if (index < 0 || index >= static_cast<int>(mMonsters.size()) || !mMonsters[static_cast<std::size_t>(index)].Present())
        return -1;
    const TBattler& monster = mMonsters[static_cast<std::size_t>(index)];
    return Percent(monster.Hp, monster.MaxHp);
}

int TGameBattle::HeroHpPercent(std::int32_t heroId) const {
    const TBattler* hero = HeroById(heroId);
    return hero ? Percent(hero->Hp, hero->MaxHp) : -1;
}

int TGameBattle::NextDuePage() {
    if (mTroop == nullptr || mPhase == TPhase::Ended || mPageRuns >= kMaxPageRuns)
        return -1;
    TBattleEventView view;
    view.Turn = mTurn;
    view.Exhaustion = Exhaustion();
    view.Switch = [this](std::int32_t id) { return mState.Switch(id); };
    view.Variable = [this](std::int32_t id) { return mState.Variable(id); };
    view.MonsterHpPercent = [this](std::int32_t index) { return MonsterHpPercent(index); };
    view.HeroHpPercent = [this](std::int32_t id) { return HeroHpPercent(id); };
    for (int i = 0; i < mTroop->Pages.Count(); ++i) {
        const auto ran = mPageTurn.find(i);
        if (ran != mPageTurn.end() && ran->second == mTurn)
            continue;
        if (TriggerMet(mTroop->Pages.Items(i)->Trigger, view)) {
            mPageTurn[i] = mTurn;
            ++mPageRuns;
            return i;
        }
    }
    return -1;
}

// --- conditions and parameters ---

int TGameBattle::Restriction(const TBattler& battler) const {
    int restriction = TKelStatusItem::slNone;
    std::int32_t priority = -1;
    for (const auto& [id, turns] : battler.Conditions)
        if (const TKelStatusItem* condition = mDatabase.Status.FindByID(id))
            if (condition->Restriction != TKelStatusItem::slNone && condition->Priority > priority) {
                priority = condition->Priority;
                restriction = condition->Restriction;
            }
    return restriction;
}

bool TGameBattle::CanAct(const TBattler& battler) const {
    return battler.Alive() && battler.Conditions.count(kIncapacitated) == 0 &&
           Restriction(battler) != TKelStatusItem::slCannotAct;
}

bool TGameBattle::Halved(const TBattler& battler, int which) const {
    for (const auto& [id, turns] : battler.Conditions)
        if (const TKelStatusItem* condition = mDatabase.Status.FindByID(id)) {
            const std::uint8_t flags[4] = {condition->HalveAttack, condition->HalveDefense, condition->HalveMind,
                                           condition->HalveAgility};
            if (flags[which])
                return true;
        }
    return false;
}

std::int32_t TGameBattle::Param(const TBattler& battler, int which) const {
    const std::int32_t base[4] = {battler.Attack, battler.Defense, battler.Mind, battler.Agility};
    const std::int32_t change[4] = {battler.AttackChange, battler.DefenseChange, battler.MindChange,
                                    battler.AgilityChange};
    return EffectiveParameter(ClampParameter(static_cast<std::int64_t>(base[which]) + change[which]), Halved(battler, which));
}

int TGameBattle::HitRateChange(const TBattler& battler) const {
    int rate = 100;
    for (const auto& [id, turns] : battler.Conditions)
        if (const TKelStatusItem* condition = mDatabase.Status.FindByID(id))
            rate = std::min<int>(rate, std::clamp<std::int32_t>(condition->HitRate, 0, 100));
    return rate;
}

int TGameBattle::ConditionRank(const TBattler& target, std::int32_t conditionId) const {
    if (target.IsHero) {
        const TKelPlayerItem* record = mDatabase.Player.FindByID(target.Id);
        return record ? record->ConditionRank(conditionId) : TKelPlayerItem::kDefaultRank;
    }
    const TKelMonsterItem* record = mDatabase.Monster.FindByID(target.Id);
    return record ? record->ConditionRank(conditionId) : TKelMonsterItem::kDefaultConditionRank;
}

int TGameBattle::AttributeRateOn(const TBattler& target, const std::vector<std::int32_t>& attributes) const {
    std::vector<TAttributeHit> hits;
    for (const std::int32_t id : attributes) {
        const TKelAttribItem* attribute = mDatabase.Attrib.FindByID(id);
        if (attribute == nullptr)
            continue;
        int rank = TKelPlayerItem::kDefaultRank;
        TAttributeHit hit;
        if (target.IsHero) {
            if (const TKelPlayerItem* record = mDatabase.Player.FindByID(target.Id))
                rank = record->AttributeRank(id);
            for (int slot = 1; slot < 5; ++slot)
                if (const TKelItemItem* armour = Equipped(mDatabase, mState, target.Id, slot))
                    hit.Defenders += armour->Attribute(id) ? 1 : 0;
        } else if (const TKelMonsterItem* record = mDatabase.Monster.FindByID(target.Id)) {
            rank = record->AttributeRank(id);
        }
        hit.Rate = attribute->Rate[static_cast<std::size_t>(std::clamp(rank, 0, 4))];
        hits.push_back(hit);
    }
    return AttributeRate(hits);
}

bool TGameBattle::AddCondition(TBattler& target, std::int32_t conditionId, int successRate) {
    const TKelStatusItem* condition = mDatabase.Status.FindByID(conditionId);
    if (condition == nullptr || !target.Alive())
        return false;
    if (target.Conditions.count(conditionId) != 0) {
        Say(condition->AlreadyMessage.empty() ? std::string() : target.Name + condition->AlreadyMessage);
        return false;
    }
    std::int32_t rates[5];
    std::copy(condition->EffectChance.begin(), condition->EffectChance.end(), rates);
    if (!Chance(mRandom, ConditionChance(rates, ConditionRank(target, conditionId), successRate)))
        return false;
    if (conditionId == kIncapacitated) {
        target.Hp = 0;
        Fall(target);
        return true;
    }
    target.Conditions[conditionId] = 0;
    const std::string& message = target.IsHero ? condition->AllyMessage : condition->EnemyMessage;
    Say(message.empty() ? std::string() : target.Name + message);
    return true;
}

void TGameBattle::RemoveCondition(TBattler& target, std::int32_t conditionId, bool say) {
    if (target.Conditions.erase(conditionId) == 0 || !say)
        return;
    if (const TKelStatusItem* condition = mDatabase.Status.FindByID(conditionId))
        Say(condition->RecoveryMessage.empty() ? std::string() : target.Name + condition->RecoveryMessage);
}

void TGameBattle::Fall(TBattler& target) {
    target.Hp = 0;
    target.Defending = false;
    target.Charged = false;
    target.Conditions.clear();
    target.Conditions[kIncapacitated] = 0;
    if (!target.IsHero)
        mSounds.push_back(ssMonsterDies);
    if (const TKelStatusItem* dead = mDatabase.Status.FindByID(kIncapacitated)) {
        const std::string& message = target.IsHero ? dead->AllyMessage : dead->EnemyMessage;
        Say(message.empty() ? std::string() : target.Name + message);
    }
}

void TGameBattle::Damage(TBattler& target, std::int32_t amount, TBattler* from) {
    amount = std::clamp<std::int32_t>(amount, 0, kMaxDamage);
    if (amount == 0) {
        Say(target.Name + Vocabulary(target.IsHero ? vHeroNoDamage : vMonsterNoDamage));
        return;
    }
    Say(target.Name + Vocabulary(target.IsHero ? vHeroDamage : vMonsterDamage) + std::to_string(amount));
    mSounds.push_back(target.IsHero ? ssHeroDamaged : ssMonsterDamaged);
    const std::int32_t taken = std::min(amount, target.Hp);
    target.Hp -= taken;
    target.Taken += taken;
    if (from != nullptr)
        from->Dealt += taken;
    if (target.Hp <= 0)
        Fall(target);
}

void TGameBattle::Heal(TBattler& target, std::int32_t amount) {
    amount = std::clamp<std::int32_t>(amount, 0, target.MaxHp - target.Hp);
    target.Hp += amount;
    Say(target.Name + Vocabulary(vRecovers) + std::to_string(amount) + " " + Vocabulary(vHp));
}

// --- turns ---

TBattler* TGameBattle::RandomAlive(bool heroes) {
    std::vector<TBattler*> alive;
    for (TBattler& battler : Side(heroes))
        if (battler.Alive())
            alive.push_back(&battler);
    return alive.empty() ? nullptr : alive[static_cast<std::size_t>(mRandom.Below(static_cast<int>(alive.size())))];
}

TBattler* TGameBattle::Pick(bool heroes, int index) {
    std::vector<TBattler>& side = Side(heroes);
    if (index >= 0 && index < static_cast<int>(side.size()) && side[static_cast<std::size_t>(index)].Alive())
        return &side[static_cast<std::size_t>(index)];
    return RandomAlive(heroes);
}

std::int32_t TGameBattle::MeanAgility(bool heroes) const {
    std::int64_t sum = 0;
    int count = 0;
    for (const TBattler& battler : heroes ? mHeroes : mMonsters)
        if (battler.Alive()) {
            sum += Param(battler, 3);
            ++count;
        }
    return count == 0 ? 1 : static_cast<std::int32_t>(sum / count);
}

TBattleAction TGameBattle::ChooseHeroAction(const TBattler& hero) {
    // The automatic choice: a healing skill when someone is low, else the strongest usable attack
    // skill half of the time, else an attack.
    TBattleAction action;
    action.Kind = TActKind::Attack;
    const TKelPlayerItem* record = mDatabase.Player.FindByID(hero.Id);
    if (record == nullptr)
        return action;
    const THeroState* state = mState.Hero(hero.Id);
    if (state == nullptr)
        return action;
    int lowest = -1;
    for (const TBattler& ally : mHeroes)
        if (ally.Alive() && Percent(ally.Hp, ally.MaxHp) < 35 && (lowest < 0 || ally.Hp < mHeroes[static_cast<std::size_t>(lowest)].Hp))
            lowest = ally.Index;
    std::int32_t bestPower = -1;
    for (const std::int32_t skillId : state->Skills) {
        const TKelSkillItem* skill = mDatabase.Skill.FindByID(skillId);
        if (skill == nullptr || skill->Kind != TKelSkillItem::skNormal || !skill->UsableInBattle ||
            MpCostFor(hero, skill->MpCost) > hero.Mp ||
            !skill->AffectsHp)
            continue;
        const bool heals = skill->EffectRange >= TKelSkillItem::srUser;
        const std::int32_t power = SkillPower(skill->BaseEffect, skill->HitInfluence, skill->MindInfluence, Param(hero, 0),
                                              Param(hero, 2));
        if (heals) {
            if (lowest >= 0) {
                action.Kind = TActKind::Skill;
                action.Id = skill->ID;
                action.Target = skill->EffectRange == TKelSkillItem::srUser ? hero.Index : lowest;
                return action;
            }
        } else if (power > bestPower) {
            bestPower = power;
            action.Id = skill->ID;
        }
    }
    if (bestPower >= 0 && mRandom.Below(2) == 0) {
        action.Kind = TActKind::Skill;
        action.Target = -1;
    } else {
        action = TBattleAction{};
        action.Kind = TActKind::Attack;
    }
    return action;
}

TBattleAction TGameBattle::ChooseMonsterAction(TBattler& monster) {
    TBattleAction action;
    const TKelMonsterItem* record = mDatabase.Monster.FindByID(monster.Id);
    if (record == nullptr)
        return action;
    TAiView view;
    view.Turn = mTurn;
    view.Monsters = static_cast<int>(std::count_if(mMonsters.begin(), mMonsters.end(), [](const TBattler& b) { return b.Alive(); }));
    view.HpPercent = Percent(monster.Hp, monster.MaxHp);
    view.MpPercent = monster.MaxMp > 0 ? Percent(monster.Mp, monster.MaxMp) : 0;
    std::int64_t levels = 0;
    for (const TBattler& hero : mHeroes)
        if (const THeroState* state = mState.Hero(hero.Id))
            levels += state->Level;
    view.HeroAverageLevel = mHeroes.empty() ? 0 : static_cast<int>(levels / static_cast<std::int64_t>(mHeroes.size()));
    view.HeroExhaustion = Exhaustion();
    view.Switch = [this](std::int32_t id) { return mState.Switch(id); };
    const int chosen = ChoosePattern(record->Actions, view, mRandom);
    if (chosen < 0)
        return action;
    const TKelMonsterActItem& pattern = *record->Actions.Items(chosen);
    action.SwitchOn = pattern.SwitchOn ? pattern.SwitchOnId : 0;
    action.SwitchOff = pattern.SwitchOff ? pattern.SwitchOffId : 0;
    switch (pattern.Kind) {
    case TKelMonsterActItem::akSkill: {
        const TKelSkillItem* skill = mDatabase.Skill.FindByID(pattern.SkillId);
        if (skill == nullptr || MpCostFor(monster, skill->MpCost) > monster.Mp) {
            action.Kind = TActKind::Attack;  // a skill it cannot use: it attacks instead
            break;
        }
        action.Kind = TActKind::Skill;
        action.Id = pattern.SkillId;
        break;
    }
    case TKelMonsterActItem::akTransform:
        action.Kind = TActKind::Transform;
        action.Id = pattern.TransformId;
        break;
    default:
        switch (pattern.Behavior) {
        case TKelMonsterActItem::abNormalHit: action.Kind = TActKind::Attack; break;
        case TKelMonsterActItem::abCriticalHit: action.Kind = TActKind::Attack; action.Critical = true; break;
        case TKelMonsterActItem::abDefense: action.Kind = TActKind::Defend; break;
        case TKelMonsterActItem::abWatch: action.Kind = TActKind::Watch; break;
        case TKelMonsterActItem::abAccumulate: action.Kind = TActKind::Charge; break;
        case TKelMonsterActItem::abSelfDestruct: action.Kind = TActKind::SelfDestruct; break;
        case TKelMonsterActItem::abEscape: action.Kind = TActKind::Flee; break;
        default: action.Kind = TActKind::None; break;
        }
    }
    return action;
}

void TGameBattle::Fight(std::vector<TBattleAction> heroActions) {
    if (mPhase != TPhase::Commands)
        return;
    mQueue.clear();
    heroActions.resize(mHeroes.size());
    for (TBattler& hero : mHeroes) {
        hero.Defending = false;
        if (!CanAct(hero))
            continue;
        TBattleAction action = heroActions[static_cast<std::size_t>(hero.Index)];
        const TKelPlayerItem* record = mDatabase.Player.FindByID(hero.Id);
        if (action.Kind == TActKind::None || (record && record->AiControl))
            action = ChooseHeroAction(hero);
        mQueue.push_back(TQueued{true, hero.Index, action, 0});
    }
    QueueMonsters();
    Order();
}

void TGameBattle::Auto() { Fight({}); }

bool TGameBattle::Escape() {
    if (mPhase != TPhase::Commands)
        return false;
    if (mSetup.EscapeAllowed &&
        Chance(mRandom, EscapeChance(MeanAgility(true), MeanAgility(false), mEscapeFailures, mSetup.FirstStrike && mTurn <= 1))) {
        Say(Vocabulary(vEscaped));
        mSounds.push_back(ssEscape);
        Finish(TBattleResult::Escape);
        return true;
    }
    ++mEscapeFailures;
    Say(Vocabulary(vEscapeFailed));
    mQueue.clear();
    for (TBattler& hero : mHeroes)
        hero.Defending = false;
    QueueMonsters();
    Order();
    return false;
}

void TGameBattle::QueueMonsters() {
    ++mTurn;
    mPhase = TPhase::Acting;
    mNext = 0;
    if (mSetup.FirstStrike && mTurn == 1)
        return;  // the party strikes first: the monsters wait this turn
    for (TBattler& monster : mMonsters) {
        monster.Defending = false;
        if (CanAct(monster))
            mQueue.push_back(TQueued{false, monster.Index, ChooseMonsterAction(monster), 0});
    }
}

void TGameBattle::Order() {
    for (TQueued& queued : mQueue) {
        const TBattler& actor = Side(queued.Hero)[static_cast<std::size_t>(queued.Index)];
        queued.Speed = TurnSpeed(Param(actor, 3), mRandom.Between(0, 100));
        if (queued.Hero && queued.Action.Kind == TActKind::Attack)
            if (const TKelItemItem* weapon = Equipped(mDatabase, mState, actor.Id, 0); weapon && weapon->Preemptive)
                queued.Speed += kMaxParameter * 2;
        if (queued.Action.Kind == TActKind::Defend)
            queued.Speed += kMaxParameter * 4;  // guarding comes before the blows
    }
    std::stable_sort(mQueue.begin(), mQueue.end(), [](const TQueued& a, const TQueued& b) { return a.Speed > b.Speed; });
}

bool TGameBattle::Advance() {
    if (mPhase != TPhase::Acting)
        return false;
    while (mNext < mQueue.size()) {
        const TQueued queued = mQueue[mNext++];
        TBattler& actor = Side(queued.Hero)[static_cast<std::size_t>(queued.Index)];
        if (!CanAct(actor))
            continue;
        Perform(actor, queued.Action);
        CheckEnd();
        return mPhase == TPhase::Acting;
    }
    EndTurn();
    return false;
}

void TGameBattle::EndTurn() {
    // Conditions work at the end of every turn: HP and MP loss, natural healing.
    for (std::vector<TBattler>* side : {&mHeroes, &mMonsters})
        for (TBattler& battler : *side) {
            if (!battler.Alive())
                continue;
            for (auto it = battler.Conditions.begin(); it != battler.Conditions.end();) {
                const std::int32_t id = it->first;
                const TKelStatusItem* condition = mDatabase.Status.FindByID(id);
                ++it->second;
                ++it;
                if (condition == nullptr)
                    continue;
                const std::int64_t hpLoss = static_cast<std::int64_t>(battler.MaxHp) * condition->HpTurnRate / 100 + condition->HpTurnPoints;
                if (hpLoss > 0)  // conditions wear down but never knock out
                    battler.Hp = static_cast<std::int32_t>(std::max<std::int64_t>(1, battler.Hp - hpLoss));
                const std::int64_t mpLoss = static_cast<std::int64_t>(battler.MaxMp) * condition->MpTurnRate / 100 + condition->MpTurnPoints;
                if (mpLoss > 0)
                    battler.Mp = static_cast<std::int32_t>(std::max<std::int64_t>(0, battler.Mp - mpLoss));
                if (battler.Conditions[id] >= condition->HealTurns && condition->HealTurns > 0 &&
                    Chance(mRandom, condition->HealRate))
                    RemoveCondition(battler, id, true);
            }
        }
    if (mTurn >= kMaxBattleTurns) {
        Finish(TBattleResult::Interrupted);
        return;
    }
    mQueue.clear();
    mNext = 0;
    mPhase = TPhase::Commands;
    CheckEnd();
}

// --- actions ---

void TGameBattle::Perform(TBattler& actor, const TBattleAction& chosen) {
    TBattleAction action = chosen;
    const int restriction = Restriction(actor);
    if (restriction == TKelStatusItem::slAttackEnemies || restriction == TKelStatusItem::slAttackAllies) {
        action = TBattleAction{};
        action.Kind = TActKind::Attack;
        PerformAttack(actor, action, restriction == TKelStatusItem::slAttackAllies);
        return;
    }
    switch (action.Kind) {
    case TActKind::Attack: PerformAttack(actor, action, false); break;
    case TActKind::Skill: {
        PerformSkill(actor, action.Id, action.Target, true);
        break;
    }
    case TActKind::Item: PerformItem(actor, action.Id, action.Target); break;
    case TActKind::Defend:
        actor.Defending = true;
        Say(actor.Name + Vocabulary(vDefends));
        break;
    case TActKind::Watch: Say(actor.Name + Vocabulary(vWatches)); break;
    case TActKind::Charge:
        actor.Charged = true;
        Say(actor.Name + Vocabulary(vCharges));
        break;
    case TActKind::SelfDestruct: {
        Say(actor.Name + Vocabulary(vExplodes));
        for (TBattler& hero : mHeroes)
            if (hero.Alive())
                Damage(hero, PhysicalDamage(Param(actor, 0), Param(hero, 1), mRandom.Between(-kPhysicalVariance, kPhysicalVariance),
                                            false, 100, hero.Defending ? 2 : 1),
                       &actor);
        actor.Hp = 0;
        actor.Escaped = true;
        break;
    }
    case TActKind::Flee:
        Say(actor.Name + Vocabulary(vFlees));
        actor.Escaped = true;
        break;
    case TActKind::Transform:
        if (const TKelMonsterItem* into = mDatabase.Monster.FindByID(action.Id)) {
            Say(actor.Name + Vocabulary(vTransforms));
            const std::int32_t percent = Percent(actor.Hp, actor.MaxHp);
            actor.Id = into->ID;
            actor.Name = into->Name;
            actor.MaxHp = std::clamp<std::int32_t>(into->MaxHp, 1, kMaxBattleHp);
            actor.Hp = std::max<std::int32_t>(1, actor.MaxHp * percent / 100);
            actor.MaxMp = std::clamp<std::int32_t>(into->MaxMp, 0, kMaxParameter);
            actor.Mp = std::min(actor.Mp, actor.MaxMp);
            actor.Attack = ClampParameter(into->Attack);
            actor.Defense = ClampParameter(into->Defense);
            actor.Mind = ClampParameter(into->Mind);
            actor.Agility = ClampParameter(into->Agility);
        }
        break;
    case TActKind::None: break;
    }
    if (action.SwitchOn > 0)
        mState.SetSwitch(action.SwitchOn, true);
    if (action.SwitchOff > 0)
        mState.SetSwitch(action.SwitchOff, false);
}

void TGameBattle::PerformAttack(TBattler& actor, const TBattleAction& action, bool confusedAtAllies) {
    const bool onHeroes = actor.IsHero == confusedAtAllies;
    Say(actor.Name + Vocabulary(vAttacks));
    if (!actor.IsHero)
        mSounds.push_back(ssMonsterAttack);
    const TKelItemItem* weapon = actor.IsHero ? Equipped(mDatabase, mState, actor.Id, 0) : nullptr;
    if (weapon != nullptr && weapon->Kind != TKelItemItem::ikWeapon)
        weapon = nullptr;
    if (weapon != nullptr && weapon->MpCost > 0) {
        // A weapon that costs MP strikes only when its hero can pay; else he fights bare-handed.
        const std::int32_t cost = MpCostFor(actor, weapon->MpCost);
        if (cost <= actor.Mp)
            actor.Mp -= cost;
        else
            weapon = nullptr;
    }
    std::int32_t animation = weapon ? weapon->AnimationId : 0;
    if (actor.IsHero && weapon == nullptr)
        if (const TKelPlayerItem* record = mDatabase.Player.FindByID(actor.Id))
            animation = record->UnarmedAnimationId;
    std::vector<TBattler*> targets;
    if (weapon && weapon->AttackAll && !confusedAtAllies) {
        for (TBattler& target : Side(onHeroes))
            if (target.Alive())
                targets.push_back(&target);
    } else if (TBattler* target = Pick(onHeroes, confusedAtAllies ? -1 : action.Target)) {
        targets.push_back(target);
    }
    const int blows = weapon && weapon->AttackTwice ? 2 : 1;
    for (int blow = 0; blow < blows; ++blow)
        for (TBattler* target : targets)
            if (target->Alive() && actor.Alive()) {
                if (animation > 0)
                    mCues.push_back(TBattleCue{animation, onHeroes, target->Index});
                HitWithAttack(actor, *target, weapon, action.Critical);
            }
    actor.Charged = false;
}

std::int32_t TGameBattle::MpCostFor(const TBattler& actor, std::int32_t cost) const {
    const THeroState* hero = actor.IsHero ? mState.Hero(actor.Id) : nullptr;
    return hero ? HeroMpCost(mDatabase, *hero, cost) : MpCost(cost, false);
}

void TGameBattle::HitWithAttack(TBattler& actor, TBattler& target, const TKelItemItem* weapon, bool forceCritical) {
    int hit = kUnarmedHitChance;
    int critical = 0;
    std::vector<std::int32_t> attributes;
    if (actor.IsHero) {
        const TKelPlayerItem* record = mDatabase.Player.FindByID(actor.Id);
        if (weapon != nullptr) {
            hit = weapon->HitChance;
            attributes = MarkedIds(*weapon, true);
        }
        critical = CriticalPerMille(record && record->CriticalEnabled, record ? record->CriticalChance : 30,
                                    weapon ? weapon->CriticalChance : 0, false);
    } else if (const TKelMonsterItem* record = mDatabase.Monster.FindByID(actor.Id)) {
        hit = record->UsuallyMiss ? kUsuallyMissHitChance : kMonsterHitChance;
        critical = CriticalPerMille(record->CriticalEnabled, record->CriticalChance, 0, false);
    }
    int raising = 0;
    bool prevent = false;
    if (target.IsHero)
        for (int slot = 1; slot < 5; ++slot)
            if (const TKelItemItem* armour = Equipped(mDatabase, mState, target.Id, slot)) {
                raising += armour->RaiseEvasion ? 1 : 0;
                prevent = prevent || armour->PreventCritical;
            }
    const int evasion = weapon && weapon->IgnoreEvasion ? 0 : Evasion(raising, CanAct(target));
    if (!Chance(mRandom, PhysicalHitChance(hit, HitRateChange(actor), evasion))) {
        Say(target.Name + Vocabulary(vDodged));
        mSounds.push_back(ssEvasion);
        return;
    }
    const bool isCritical = !prevent && (forceCritical || (critical > 0 && mRandom.Below(1000) < critical));
    if (isCritical)
        Say(Vocabulary(actor.IsHero ? vHeroCritical : vMonsterCritical));
    int guard = 1;
    if (target.Defending) {
        const TKelPlayerItem* record = target.IsHero ? mDatabase.Player.FindByID(target.Id) : nullptr;
        guard = record && record->StrongDefense ? 4 : 2;
    }
    std::int32_t damage = PhysicalDamage(Param(actor, 0), Param(target, 1), mRandom.Between(-kPhysicalVariance, kPhysicalVariance),
                                         isCritical, AttributeRateOn(target, attributes), guard);
    if (actor.Charged)
        damage = std::min<std::int32_t>(kMaxDamage, damage * 2);
    Damage(target, damage, &actor);
    // A blow may shake a condition off.
    if (target.Alive())
        for (auto it = target.Conditions.begin(); it != target.Conditions.end();) {
            const std::int32_t id = (it++)->first;
            const TKelStatusItem* condition = mDatabase.Status.FindByID(id);
            if (condition && Chance(mRandom, condition->ShockHealRate))
                RemoveCondition(target, id, true);
        }
}

void TGameBattle::PerformSkill(TBattler& actor, std::int32_t skillId, int target, bool payMp) {
    const TKelSkillItem* skill = mDatabase.Skill.FindByID(skillId);
    if (skill == nullptr && !payMp)
        return;  // an item whose skill is missing does nothing
    const std::int32_t cost = skill && payMp ? MpCostFor(actor, skill->MpCost) : 0;
    if (skill == nullptr || cost > actor.Mp) {
        TBattleAction attack;
        attack.Kind = TActKind::Attack;
        PerformAttack(actor, attack, false);
        return;
    }
    actor.Mp -= cost;
    Say(actor.Name + skill->UsingMessage1);
    Say(skill->UsingMessage2);
    if (skill->Kind == TKelSkillItem::skEscape) {
        if (actor.IsHero && mSetup.EscapeAllowed) {
            Say(Vocabulary(vEscaped));
            Finish(TBattleResult::Escape);
        } else {
            Say(Vocabulary(vSkillFailed + 2));
        }
        return;
    }
    if (skill->Kind == TKelSkillItem::skSwitch) {
        mState.SetSwitch(skill->SwitchId, true);
        return;
    }
    if (skill->Kind != TKelSkillItem::skNormal)
        return;
    // Allies are the user's own side; enemies the other.
    const bool onAllies = skill->EffectRange >= TKelSkillItem::srUser;
    const bool sideHeroes = onAllies ? actor.IsHero : !actor.IsHero;
    std::vector<TBattler*> targets;
    if (skill->EffectRange == TKelSkillItem::srUser) {
        targets.push_back(&actor);
    } else if (skill->EffectRange == TKelSkillItem::srAllEnemies || skill->EffectRange == TKelSkillItem::srWholeParty) {
        for (TBattler& battler : Side(sideHeroes))
            if (battler.Alive())
                targets.push_back(&battler);
    } else if (TBattler* one = Pick(sideHeroes, target)) {
        targets.push_back(one);
    }
    mCues.push_back(TBattleCue{skill->AnimationId, sideHeroes,
                               targets.size() == 1 && skill->EffectRange != TKelSkillItem::srAllEnemies &&
                                       skill->EffectRange != TKelSkillItem::srWholeParty
                                   ? targets.front()->Index
                                   : -1});
    const std::int32_t power = SkillPower(skill->BaseEffect, skill->HitInfluence, skill->MindInfluence, Param(actor, 0), Param(actor, 2));
    const int spread = SkillVarianceSpread(skill->Variance);
    const std::vector<std::int32_t> attributes = MarkedIds(*skill, true);
    const std::vector<std::int32_t> conditions = MarkedIds(*skill, false);
    for (TBattler* one : targets) {
        if (!one->Alive())
            continue;
        bool effect = false;
        if (onAllies) {
            if (skill->AffectsHp) {
                Heal(*one, SkillHealing(power, mRandom.Between(-spread, spread)));
                effect = true;
            }
            if (skill->AffectsMp) {
                one->Mp = std::min(one->MaxMp, one->Mp + SkillHealing(power, 0));
                effect = true;
            }
            effect = ChangeParameters(*one, *skill, power, true) || effect;
            for (const std::int32_t id : conditions)
                if (one->Conditions.count(id)) {
                    RemoveCondition(*one, id, true);
                    effect = true;
                }
        } else {
            if (!Chance(mRandom, skill->SuccessRate)) {
                Say(one->Name + Vocabulary(vSkillFailed + std::clamp(skill->FailureMessage, 0, 3)));
                continue;
            }
            const int rate = AttributeRateOn(*one, attributes);
            if (skill->AffectsHp) {
                const std::int32_t damage = SkillDamage(power, Param(*one, 1), Param(*one, 2), skill->HitInfluence,
                                                        skill->MindInfluence, skill->IgnoreDefense,
                                                        mRandom.Between(-spread, spread), rate, one->Defending ? 2 : 1);
                const std::int32_t before = one->Hp;
                Damage(*one, damage, &actor);
                if (skill->Absorption)
                    actor.Hp = std::min(actor.MaxHp, actor.Hp + (before - one->Hp));
                effect = true;
            }
            if (skill->AffectsMp) {
                const std::int32_t drained = std::min(one->Mp, SkillHealing(power, 0));
                one->Mp -= drained;
                if (skill->Absorption)
                    actor.Mp = std::min(actor.MaxMp, actor.Mp + drained);
                effect = true;
            }
            effect = ChangeParameters(*one, *skill, power, false) || effect;
            for (const std::int32_t id : conditions)
                effect = AddCondition(*one, id, 100) || effect;
        }
        if (!effect)
            Say(one->Name + Vocabulary(vSkillFailed + 1));
    }
}

bool TGameBattle::ChangeParameters(TBattler& target, const TKelSkillItem& skill, std::int32_t power, bool raise) {
    std::int32_t* changes[4] = {&target.AttackChange, &target.DefenseChange, &target.MindChange, &target.AgilityChange};
    const std::uint8_t affects[4] = {skill.AffectsAttack, skill.AffectsDefense, skill.AffectsMind, skill.AffectsAgility};
    const std::int32_t amount = std::max<std::int32_t>(1, power / 2);
    bool changed = false;
    for (int p = 0; p < 4; ++p)
        if (affects[p]) {
            *changes[p] = std::clamp<std::int32_t>(*changes[p] + (raise ? amount : -amount), -kMaxParameter, kMaxParameter);
            Say(target.Name + " " + Vocabulary(vAttackWord + p) + Vocabulary(raise ? vRises : vFalls) + std::to_string(amount));
            changed = true;
        }
    return changed;
}

void TGameBattle::PerformItem(TBattler& actor, std::int32_t itemId, int target) {
    const TKelItemItem* item = mDatabase.Item.FindByID(itemId);
    if (item == nullptr || mState.ItemCount(itemId) <= 0)
        return;
    Say(actor.Name + Vocabulary(vItemUse) + item->Name);
    mSounds.push_back(ssItemUse);
    if (item->Kind == TKelItemItem::ikUnique) {
        PerformSkill(actor, item->SkillId, target, false);
        return;
    }
    if (item->Kind != TKelItemItem::ikMedicine)
        return;
    if (item->UseCount > 0)
        mState.SetItemCount(itemId, mState.ItemCount(itemId) - 1);
    std::vector<TBattler*> targets;
    if (item->EffectRange == 1) {
        for (TBattler& hero : mHeroes)
            targets.push_back(&hero);
    } else if (target >= 0 && target < static_cast<int>(mHeroes.size())) {
        targets.push_back(&mHeroes[static_cast<std::size_t>(target)]);
    } else {
        targets.push_back(&actor);
    }
    const std::vector<std::int32_t> conditions = MarkedIds(*item, false);
    for (TBattler* one : targets) {
        if (!one->Present())
            continue;
        const bool down = one->Hp <= 0;
        if (down != (item->OnlyUnconscious != 0))
            continue;
        if (down)
            one->Conditions.erase(kIncapacitated);
        for (const std::int32_t id : conditions)
            RemoveCondition(*one, id, true);
        const std::int64_t hp = static_cast<std::int64_t>(one->MaxHp) * item->HpRecoveryRate / 100 + item->HpRecoveryPoints;
        if (hp > 0 || down)
            Heal(*one, static_cast<std::int32_t>(std::clamp<std::int64_t>(std::max<std::int64_t>(hp, down ? 1 : 0), 0, kMaxBattleHp)));
        const std::int64_t mp = static_cast<std::int64_t>(one->MaxMp) * item->MpRecoveryRate / 100 + item->MpRecoveryPoints;
        one->Mp = static_cast<std::int32_t>(std::clamp<std::int64_t>(one->Mp + std::max<std::int64_t>(0, mp), 0, one->MaxMp));
    }
}

// --- battle commands ---

void TGameBattle::ChangeMonsterHp(int index, std::int32_t delta, bool mayKill) {
    for (TBattler& monster : mMonsters) {
        if ((index >= 0 && monster.Index != index) || !monster.Alive())
            continue;
        const std::int64_t hp = static_cast<std::int64_t>(monster.Hp) + delta;
        monster.Hp = static_cast<std::int32_t>(std::clamp<std::int64_t>(hp, mayKill ? 0 : 1, monster.MaxHp));
        if (monster.Hp == 0)
            Fall(monster);
    }
    CheckEnd();
}

void TGameBattle::ChangeMonsterMp(int index, std::int32_t delta) {
    for (TBattler& monster : mMonsters)
        if ((index < 0 || monster.Index == index) && monster.Alive())
            monster.Mp = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(static_cast<std::int64_t>(monster.Mp) + delta, 0, monster.MaxMp));
}

void TGameBattle::ChangeMonsterCondition(int index, std::int32_t conditionId, bool add) {
    for (TBattler& monster : mMonsters) {
        if ((index >= 0 && monster.Index != index) || !monster.Alive())
            continue;
        if (!add) {
            RemoveCondition(monster, conditionId, true);
        } else if (conditionId == kIncapacitated) {
            Fall(monster);
        } else if (mDatabase.Status.FindByID(conditionId) != nullptr && monster.Conditions.count(conditionId) == 0) {
            monster.Conditions[conditionId] = 0;
            Say(monster.Name + mDatabase.Status.FindByID(conditionId)->EnemyMessage);
        }
    }
    CheckEnd();
}

void TGameBattle::ShowMonster(int index) {
    if (index >= 0 && index < static_cast<int>(mMonsters.size()) && mMonsters[static_cast<std::size_t>(index)].Id != 0)
        mMonsters[static_cast<std::size_t>(index)].Hidden = false;
}

void TGameBattle::Interrupt() {
    if (mPhase != TPhase::Ended)
        Finish(TBattleResult::Interrupted);
}

void TGameBattle::CheckEnd() {
    if (mPhase == TPhase::Ended)
        return;
    for (TBattler& hero : mHeroes)
        if (hero.Hp <= 0 && hero.Conditions.count(kIncapacitated) == 0)
            Fall(hero);
    const bool heroStanding = std::any_of(mHeroes.begin(), mHeroes.end(), [](const TBattler& b) { return b.Alive(); });
    // Members still hidden do not keep a battle going.
    const bool monsterStanding = std::any_of(mMonsters.begin(), mMonsters.end(), [](const TBattler& b) { return b.Alive(); });
    if (!heroStanding)
        Lose();
    else if (!monsterStanding)
        Win();
}

void TGameBattle::Lose() {
    Say(Vocabulary(vDefeat));
    Finish(TBattleResult::Defeat);
}

void TGameBattle::Finish(TBattleResult result) {
    mResult = result;
    mPhase = TPhase::Ended;
    // The heroes leave the battle with its HP and MP.
    // The heroes leave the battle with its HP and MP; conditions of combat end with it.
    for (const TBattler& hero : mHeroes)
        if (THeroState* state = mState.Hero(hero.Id)) {
            for (const std::int32_t id : std::set<std::int32_t>(state->Conditions))
                SetHeroCondition(mDatabase, *state, id, false);
            for (const auto& [id, turns] : hero.Conditions) {
                const TKelStatusItem* condition = mDatabase.Status.FindByID(id);
                if (condition && id != kIncapacitated && condition->Kind == TKelStatusItem::skMovement)
                    SetHeroCondition(mDatabase, *state, id, true);
            }
            SetHeroHp(mDatabase, *state, hero.Hp, true);
            SetHeroMp(mDatabase, *state, hero.Mp);
        }
    mState.Touch();
}

void TGameBattle::Win() {
    Finish(TBattleResult::Victory);
    Say(Vocabulary(vVictory));
    std::int64_t exp = 0, money = 0;
    for (const TBattler& monster : mMonsters) {
        if (monster.Escaped || monster.Hidden || monster.Hp > 0)
            continue;  // only the defeated pay
        const TKelMonsterItem* record = mDatabase.Monster.FindByID(monster.Id);
        if (record == nullptr)
            continue;
        exp += std::max(0, record->Exp);
        money += std::max(0, record->Money);
        if (record->ItemId > 0 && mDatabase.Item.FindByID(record->ItemId) != nullptr && Chance(mRandom, record->DropRate))
            mItemsGained.push_back(record->ItemId);
    }
    mExpGained = ExperienceShare(exp);
    mMoneyGained = static_cast<std::int32_t>(std::clamp<std::int64_t>(money, 0, kMaxMoney));
    if (mExpGained > 0)
        Say(std::to_string(mExpGained) + Vocabulary(vExp));
    if (mMoneyGained > 0)
        Say(Vocabulary(vMoneyBefore) + std::to_string(mMoneyGained) + Vocabulary(vMoneyUnit) + Vocabulary(vMoneyAfter));
    for (const std::int32_t itemId : mItemsGained) {
        Say(mDatabase.Item.FindByID(itemId)->Name + Vocabulary(vItemFound));
        mState.SetItemCount(itemId, mState.ItemCount(itemId) + 1);
    }
    mState.SetMoney(static_cast<std::int64_t>(mState.Money()) + mMoneyGained);
    for (const TBattler& hero : mHeroes)
        if (hero.Alive())
            GainExp(hero, mExpGained);
}

void TGameBattle::GainExp(const TBattler& hero, std::int32_t exp) {
    THeroState* state = mState.Hero(hero.Id);
    if (state == nullptr || exp <= 0)
        return;
    const std::int32_t before = state->Level;
    const std::vector<std::int32_t> learned = SetHeroExp(mDatabase, *state, static_cast<std::int64_t>(state->Exp) + exp);
    if (state->Level > before)
        Say(state->Name + Vocabulary(vLevelUp) + std::to_string(state->Level));
    for (const std::int32_t skillId : learned)
        if (const TKelSkillItem* skill = mDatabase.Skill.FindByID(skillId))
            Say(skill->Name + Vocabulary(vSkillLearned));
}

std::string BattleStateJson(const TGameBattle& battle) {
    std::string enemies;
    for (const TBattler& monster : battle.Monsters()) {
        std::string conditions;
        for (const auto& [id, turns] : monster.Conditions)
            conditions += (conditions.empty() ? "" : ", ") + std::to_string(id);
        enemies += std::string(enemies.empty() ? "" : ",") + "\n    {\"index\": " + std::to_string(monster.Index) +
                   ", \"monster\": " + std::to_string(monster.Id) + ", \"hp\": " + std::to_string(monster.Hp) +
                   ", \"mp\": " + std::to_string(monster.Mp) + ", \"conditions\": [" + conditions +
                   "], \"visible\": " + (monster.Present() ? "true" : "false") + "}";
    }
    std::string log;
    for (const std::string& line : battle.Log())
        log += std::string(log.empty() ? "" : ", ") + JsonQuoted(Cp932ToUtf8(line));
    return "{\"troop\": " + std::to_string(battle.Setup().TroopId) + ", \"turn\": " + std::to_string(battle.Turn()) +
           ", \"result\": " + JsonQuoted(BattleResultName(battle.Result())) + ", \"enemies\": [" + enemies +
           "], \"log\": [" + log + "]}";
}

}  // namespace quillon::runtime
