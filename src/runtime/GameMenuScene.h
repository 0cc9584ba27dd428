// The menu the cancel key opens on the map (and "Call Menu"): the commands Item, Skills,
// Equipment, Save and End Game in the vocabulary's words, the party with faces, names, degrees,
// levels, conditions, HP, MP and experience, and the money. The right arrow moves into the party
// to look at a hero's status.
//   Item: the inventory with counts and the chosen item's description; an item is used on the
//   hero chosen next, or on the whole party, as GameItemUse says; what cannot be used here is
//   greyed and answers the buzzer.
//   Skills: a hero's skills with their MP cost; those usable on the map are used like items.
//   Teleport and escape skills (and items invoking them) are greyed where the map does not let
//   the party leave; a teleport lists the places the game set to choose from, an escape goes to
//   the escape place; either closes the menu on the new place.
//   Equipment: the five slots; a slot's list holds only what the hero may wear there (and an
//   empty row to take the item off), and the parameters show what the row under the cursor would
//   make of them. A hero whose equipment is fixed keeps it.
//   Status: parameters, experience and the next level's, equipment and conditions.
#pragma once

#include "runtime/GameItemUse.h"
#include "runtime/GameListWindow.h"
#include "runtime/GameMapState.h"
#include "runtime/GameOverlay.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {
class TKelDataBase;
}

namespace quillon::runtime {

class TGameState;
struct THeroState;

class TGameMenuScene : public TGameOverlay {
public:
    explicit TGameMenuScene(TGameSession& session);
    ~TGameMenuScene() override;

    void Update(const TGameInput& input) override;
    void Draw(TOrlenBoard& screen) override;
    bool Done() const override { return mPhase == TPhase::Done; }
    const char* SceneName() const override { return "menu"; }
    TScreenExit Exit() const override { return mExit; }

    // The commands, in order.
    enum TCommand : int { mcItem = 0, mcSkill, mcEquipment, mcSave, mcEndGame };

    static constexpr TRect kCommandRect{0, 0, 88, 96};
    static constexpr TRect kMoneyRect{0, 208, 88, 240};
    static constexpr TRect kPartyRect{88, 0, 320, 240};
    static constexpr TRect kTargetRect{120, 32, 320, 240};  // the party, to choose whom an item helps
    static constexpr TRect kHelpRect{0, 0, 320, 32};
    static constexpr TRect kItemListRect{0, 32, 320, 240};
    static constexpr TRect kSkillHeroRect{0, 32, 320, 64};
    static constexpr TRect kSkillListRect{0, 64, 320, 240};
    static constexpr TRect kParameterRect{0, 32, 124, 112};
    static constexpr TRect kSlotRect{124, 32, 320, 112};
    static constexpr TRect kEquipListRect{0, 112, 320, 240};
    static constexpr TRect kPlaceListRect{160, 64, 320, 240};  // where a teleport leads

private:
    enum class TPhase { Commands, Hero, Items, ItemTarget, Skills, SkillTarget, Slots, SlotItems, Status, Confirm, Places, Done };

    THeroState* ChosenHero();
    void UpdateCommands(const TGameInput& input);
    void UpdateHero(const TGameInput& input);
    void UpdateConfirm(const TGameInput& input);
    void UpdateItems(const TGameInput& input);
    void UpdateSkills(const TGameInput& input);
    void UpdateTarget(const TGameInput& input);
    void UpdateSlots(const TGameInput& input);
    void UpdateSlotItems(const TGameInput& input);
    void UpdatePlaces(const TGameInput& input);
    // Whether a use can be made here (teleports and escapes only where there is a way out).
    bool Usable(TMenuUse use) const;
    // A teleport or escape chosen from the list `from`: the places to choose, or the escape at once.
    void BeginLeaving(TMenuUse use, TPhase from);
    // Spends the item or the skill and moves the party there; the menu closes.
    void Leave(const TTeleportPlace& place);
    void FillItems();
    void FillSkills();
    void FillSlotItems();
    void Preview();

    void DrawParty(TOrlenBoard& screen, const TRect& rect, bool cursor);
    void DrawHeroLines(TOrlenBoard& screen, int x, int y, const THeroState& hero);
    void DrawHelp(TOrlenBoard& screen, const std::string& text);
    void DrawSkills(TOrlenBoard& screen);
    void DrawEquipment(TOrlenBoard& screen);
    void DrawStatus(TOrlenBoard& screen);
    int DrawLabelled(TOrlenBoard& screen, int x, int y, int label, const std::string& value);

    TGameSession& mSession;
    const TKelDataBase& mDatabase;
    TGameCommandWindow mCommands;
    std::unique_ptr<TGameCommandWindow> mConfirm;
    TMenuCursor mHeroCursor;
    TGameListWindow mItems;
    TGameListWindow mSkills;
    TGameListWindow mSlotItems;
    TGameListWindow mPlaces;
    std::vector<TTeleportPlace> mPlaceList;  // the rows of mPlaces
    TPhase mPlacesFor = TPhase::Skills;     // the list the teleport was chosen from
    TMenuCursor mSlotCursor{5, 1};
    TMenuCursor mTargetCursor;  // the hero an item or skill is used on
    TPhase mPhase = TPhase::Commands;
    TPhase mTargetFor = TPhase::Items;  // the list a target is chosen for
    bool mWholeParty = false;           // the target is the whole party
    TScreenExit mExit = TScreenExit::Back;
    int mHeroFor = -1;  // the command the hero is chosen for (-1: the status)
    std::array<std::int32_t, 6> mPreview{};  // parameters with the row under the cursor worn
    bool mPreviewing = false;
    std::int64_t mStep = 0;
};

}  // namespace quillon::runtime
