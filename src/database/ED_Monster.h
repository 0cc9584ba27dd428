// The monster page ("Monsters"): every field of the current monster (graphic and hue through
// the monster graphic selector, statistics, rewards, the dropped item, critical hits, flags,
// condition and attribute ranks) and its action patterns (ED_MonsterAct).
#pragma once

#include "controls/RankList.h"
#include "data/LD_Monster.h"
#include "database/ED_MonsterAct.h"
#include "database/EntryPage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;

inline constexpr std::int32_t kMonsterHpMax = 99999;
inline constexpr std::int32_t kMonsterMpMax = 9999;
inline constexpr std::int32_t kMonsterStatMax = 999;
inline constexpr std::int32_t kMonsterRewardMax = 99999;
inline constexpr std::int32_t kMonsterPercentMax = 100;
inline constexpr std::int32_t kMonsterCriticalMax = 500;
inline constexpr int kMonsterHelpContext = 5;

class TMonsterPageModel : public TEntryPageModel<TKelMonsterItem> {
public:
    // The monster graphic selector: name and hue in, the chosen ones out; true on OK.
    using TGraphicChooser = std::function<bool(std::string& name, std::int32_t& hue)>;

    // choosers: the switch pickers of the action dialog (none: nothing is chosen).
    TMonsterPageModel(const TDataBaseContext& context, IEventChoosers* choosers);
    ~TMonsterPageModel() override;

    IEventChoosers* Choosers() const { return mChoosers; }
    TGraphicChooser ChooseGraphicWith;

    // The graphic box: the file's name, with the hue when it has one.
    std::string GraphicText() const;
    bool ChooseGraphic();

    // "Item": "(None)" and every item; the drop rate counts only with an item.
    std::vector<TFieldChoice> ItemChoices() const;

    // The rank lists (rows: the database's conditions / attributes), kept with the current
    // monster. A rank changed in a list is stored; a rank array shorter than the list is made as
    // long first, keeping every rank shown.
    TRankListModel& ConditionRanks() { return mConditionRanks; }
    TRankListModel& AttributeRanks() { return mAttributeRanks; }
    bool SetConditionRank(std::int32_t id, int rank);
    bool SetAttributeRank(std::int32_t id, int rank);

    // The action list of the current monster.
    TMonsterActListModel& Actions() { return *mActions; }
    // Edits the selected pattern (or a new one) with `edit` (the dialog): true when it was
    // confirmed and stored.
    bool EditAction(const std::function<bool(TKelMonsterActItem&)>& edit);
    // The list commands, each announced as a change when it changed the list.
    bool RunAction(TMonsterActCommand command);
    // A picker inside the action dialog applied names or a count: a change of the page.
    void NoteAppliedNames();

private:
    void FollowCurrent();

    IEventChoosers* mChoosers;
    TRankListModel mConditionRanks;
    TRankListModel mAttributeRanks;
    std::unique_ptr<TMonsterActListModel> mActions;
    TConnection mCurrent;
    TConnection mConditionChanged;
    TConnection mAttributeChanged;
    bool mFollowing = false;
    bool mNamesNoted = false;
};

// Widgets: EditName, DashGraphic, CheckTransparent; GroupStats with EditMaxHp, EditMaxMp,
// EditAttack, EditDefense, EditMind, EditAgility; GroupRewards with EditExp, EditMoney,
// ComboItem, EditDropRate; GroupCritical with CheckCritical, EditCritical; GroupFlags with
// CheckMiss, CheckAir; the boxes GroupConditionRanks, GroupAttributeRanks and GroupActions.
const TFieldForm& MonsterPageForm();

}  // namespace quillon
