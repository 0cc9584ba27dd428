#include "runtime/GameState.h"

#include "data/LD_DataBase.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

bool ValidId(int id) { return id >= 1 && id <= kMaxStateId; }

}  // namespace

TGameState::TGameState(const TKelDataBase& database) : mDatabase(database) {
    for (int i = 0; i < database.Player.Count(); ++i)
        if (const TKelPlayerItem* record = database.Player.Items(i))
            mHeroes.emplace(record->ID, NewHero(database, *record));
    for (int i = 0; i < std::min<int>(database.System.PartySize, kMaxPartySize); ++i) {
        const std::int32_t id = database.System.PartyMember(i);
        if (mHeroes.count(id) != 0 && !InParty(id))
            mParty.push_back(id);
    }
}

void TGameState::SetSwitch(int id, bool on) {
    if (!ValidId(id) || Switch(id) == on)
        return;
    if (on)
        mSwitches.insert(id);
    else
        mSwitches.erase(id);
    Touch();
}

std::int32_t TGameState::Variable(int id) const {
    const auto found = mVariables.find(id);
    return found == mVariables.end() ? 0 : found->second;
}

void TGameState::SetVariable(int id, std::int64_t value) {
    if (!ValidId(id))
        return;
    const auto kept = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kMaxVariable, kMaxVariable));
    if (Variable(id) == kept)
        return;
    if (kept == 0)
        mVariables.erase(id);
    else
        mVariables[id] = kept;
    Touch();
}

void TGameState::SetMoney(std::int64_t money) {
    const auto kept = static_cast<std::int32_t>(std::clamp<std::int64_t>(money, 0, kMaxMoney));
    if (kept != mMoney) {
        mMoney = kept;
        Touch();
    }
}

int TGameState::ItemCount(int id) const {
    const auto found = mItems.find(id);
    return found == mItems.end() ? 0 : found->second;
}

void TGameState::SetItemUsesLeft(int id, int left) {
    if (left <= 0 || ItemCount(id) == 0)
        mItemUses.erase(id);
    else
        mItemUses[id] = std::min(left, kMaxItemUses);
    Touch();
}

int TGameState::ItemUsesLeft(int id) const {
    const auto found = mItemUses.find(id);
    return found == mItemUses.end() ? 0 : found->second;
}

void TGameState::SetItemCount(int id, std::int64_t count) {
    if (!ValidId(id) || mDatabase.Item.FindByID(id) == nullptr)
        return;
    const int kept = static_cast<int>(std::clamp<std::int64_t>(count, 0, kMaxItemCount));
    if (kept == ItemCount(id))
        return;
    if (kept == 0) {
        mItems.erase(id);
        mItemUses.erase(id);  // the partly used one went with the rest
    } else {
        mItems[id] = kept;
    }
    Touch();
}

int TGameState::EquippedCount(int id) const {
    int count = 0;
    for (const std::int32_t heroId : mParty)
        if (const THeroState* hero = Hero(heroId))
            count += static_cast<int>(std::count(hero->Equipment.begin(), hero->Equipment.end(), id));
    return count;
}

bool TGameState::InParty(std::int32_t heroId) const {
    return std::find(mParty.begin(), mParty.end(), heroId) != mParty.end();
}

bool TGameState::JoinParty(std::int32_t heroId) {
    if (Hero(heroId) == nullptr || InParty(heroId) || static_cast<int>(mParty.size()) >= kMaxPartySize)
        return false;
    mParty.push_back(heroId);
    Touch();
    return true;
}

bool TGameState::LeaveParty(std::int32_t heroId) {
    const auto found = std::find(mParty.begin(), mParty.end(), heroId);
    if (found == mParty.end())
        return false;
    mParty.erase(found);
    Touch();
    return true;
}

void TGameState::ReplaceParty(const std::vector<std::int32_t>& heroIds) {
    mParty.clear();
    for (const std::int32_t id : heroIds)
        if (mHeroes.count(id) != 0 && !InParty(id) && static_cast<int>(mParty.size()) < kMaxPartySize)
            mParty.push_back(id);
    Touch();
}

THeroState* TGameState::Hero(std::int32_t id) {
    const auto found = mHeroes.find(id);
    return found == mHeroes.end() ? nullptr : &found->second;
}

const THeroState* TGameState::Hero(std::int32_t id) const {
    const auto found = mHeroes.find(id);
    return found == mHeroes.end() ? nullptr : &found->second;
}

std::int32_t TGameState::HeroValue(std::int32_t heroId, int which) const {
    const THeroState* hero = Hero(heroId);
    if (hero == nullptr)
        return 0;
    switch (which) {
    case 0: return hero->Level;
    case 1: return hero->Exp;
    case 2: return hero->Hp;
    case 3: return hero->Mp;
    default: break;
    }
    if (which >= 4 && which <= 9)
        return HeroParameter(mDatabase, *hero, which - 4);
    if (which >= 10 && which <= 14)
        return hero->Equipment[static_cast<std::size_t>(which - 10)];
    return 0;
}

void TGameState::Step() {
    if (TimerRunning && TimerFrames > 0) {
        const std::int32_t seconds = TimerSeconds();
        --TimerFrames;
        if (TimerSeconds() != seconds)
            Touch();
    }
}

}  // namespace quillon::runtime
