// The monster page ("Monsters"): every field of the current monster (graphic and hue through
// the monster graphic selector, statistics, rewards, the dropped item, critical hits, flags,
// condition and attribute ranks) and its action patterns (ED_MonsterAct).
#pragma once

#include "controls/RankList.h"
#include "data/LD_Monster.h"
#include "database/ED_MonsterAct.h"
#include "database/EntryPage.h"
#include "database/MonsterImages.h"

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
inline constexpr int kMonsterPreviewWidth = 320;  // the largest monster image
inline constexpr int kMonsterPreviewHeight = 160;

// What the graphic preview draws of the current monster.
struct TMonsterPicture {
    std::string Name;        // the image in the folder "Monster" (empty: the monster has none)
    int Hue = 0;             // the hue shift, 0..359
    int Opacity = 255;       // kTranslucentOpacity when drawn semi-transparent
    bool Missing = false;    // a name whose image is not found or cannot be read
    bool operator==(const TMonsterPicture&) const = default;
};

class TMonsterPageModel : public TEntryPageModel<TKelMonsterItem> {
public:
    // The monster graphic selector: name and hue in, the chosen ones out; true on OK.
    using TGraphicChooser = std::function<bool(std::string& name, std::int32_t& hue)>;

    // choosers: the switch pickers of the action dialog (none: nothing is chosen); find: where
    // the monster images are (none: nowhere, every named image is missing).
    TMonsterPageModel(const TDataBaseContext& context, IEventChoosers* choosers, TImageFinder find = {});
    ~TMonsterPageModel() override;

    IEventChoosers* Choosers() const { return mChoosers; }
    TGraphicChooser ChooseGraphicWith;

    // The graphic box: the file's name ("(None)" without one), with the hue when it has one.
    std::string GraphicText() const;
    bool ChooseGraphic();
    // The preview: what is drawn (the image is looked up, once per name and hue).
    TMonsterPicture Picture();
    // Draws the preview onto the board: the image centred on its palette colour 0 with the hue
    // and transparency applied; without an image (none, or missing) the board is black.
    void DrawPicture(TOrlenBoard& board);

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
    TMonsterImages mImages;
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
// ComboItem, EditDropRate; GroupFlags with GroupCritical (CheckCritical, EditCritical),
// CheckMiss and CheckAir; the boxes GroupConditionRanks, GroupAttributeRanks and GroupActions.
const TFieldForm& MonsterPageForm();

}  // namespace quillon
