// The game's own state: switches, variables, money, items, the heroes and the party, the timer.
// Every change counts up Version(), so that the map knows when to choose its events' pages anew.
#pragma once

#include "runtime/GameHero.h"

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quillon {
class TKelDataBase;
}

namespace quillon::runtime {

inline constexpr std::int32_t kMaxVariable = 9999999;  // variables stay within +-this
inline constexpr std::int32_t kMaxMoney = 9999999;
inline constexpr int kMaxItemCount = 99;
inline constexpr int kMaxItemUses = 5;  // an item's uses, when they are counted
inline constexpr int kMaxPartySize = 4;
// IDs beyond this name no switch, variable or item (a damaged script cannot grow the state).
inline constexpr int kMaxStateId = 99999;

class TGameState {
public:
    // The heroes and the party of a new game, from the database.
    explicit TGameState(const TKelDataBase& database);
    const TKelDataBase& Database() const { return mDatabase; }

    bool Switch(int id) const { return mSwitches.count(id) != 0; }
    void SetSwitch(int id, bool on);
    std::int32_t Variable(int id) const;
    void SetVariable(int id, std::int64_t value);  // kept within +-kMaxVariable
    std::int32_t Money() const { return mMoney; }
    void SetMoney(std::int64_t money);            // kept within 0..kMaxMoney
    int ItemCount(int id) const;
    void SetItemCount(int id, std::int64_t count);  // kept within 0..kMaxItemCount
    // An item of several uses: the uses left of the one partly used (0: none is, every one the
    // party holds is whole). The count counts the partly used one as one whole item; it goes
    // with the item's last one.
    int ItemUsesLeft(int id) const;
    void SetItemUsesLeft(int id, int left);
    const std::map<int, int>& ItemUses() const { return mItemUses; }
    // How many of an item the party wears.
    int EquippedCount(int id) const;

    const std::vector<std::int32_t>& Party() const { return mParty; }
    bool InParty(std::int32_t heroId) const;
    // A hero of the database joins at the end of a party of fewer than four, or leaves it;
    // false when nothing changed.
    bool JoinParty(std::int32_t heroId);
    bool LeaveParty(std::int32_t heroId);
    // Makes these heroes the party (heroes that do not exist, repeats and the fifth on are left out).
    void ReplaceParty(const std::vector<std::int32_t>& heroIds);
    THeroState* Hero(std::int32_t id);
    const THeroState* Hero(std::int32_t id) const;
    // A hero's value for the variable operand "Hero" (0 level, 1 exp, 2 hp, 3 mp, 4 max hp, 5 max mp,
    // 6 attack, 7 defense, 8 mind, 9 agility, 10..14 equipment).
    std::int32_t HeroValue(std::int32_t heroId, int which) const;

    // The timer: seconds left and whether it runs; Step counts it down. It holds at most this.
    static constexpr std::int32_t kMaxTimerSeconds = 99 * 60 + 59;
    std::int32_t TimerFrames = 0;
    bool TimerRunning = false;
    bool TimerShown = false;     // drawn at the screen's top right while it runs
    bool TimerInBattle = false;  // runs on in battles
    std::int32_t TimerSeconds() const { return (TimerFrames + 59) / 60; }
    void Step();


    std::uint64_t Version() const { return mVersion; }
    void Touch() { ++mVersion; }

    const std::set<int>& Switches() const { return mSwitches; }
    const std::map<int, std::int32_t>& Variables() const { return mVariables; }
    const std::map<int, int>& Items() const { return mItems; }

private:
    const TKelDataBase& mDatabase;
    std::set<int> mSwitches;
    std::map<int, std::int32_t> mVariables;  // non-zero values
    std::map<int, int> mItems;               // non-zero counts
    std::map<int, int> mItemUses;            // uses left of a partly used item
    std::int32_t mMoney = 0;
    std::vector<std::int32_t> mParty;
    std::map<std::int32_t, THeroState> mHeroes;
    std::uint64_t mVersion = 1;
};

}  // namespace quillon::runtime
