// The menu the cancel key opens on the map (and "Call Menu"): the commands Item, Skills,
// Equipment, Save and End Game in the vocabulary's words, the party with faces, names, degrees,
// levels, conditions, HP, MP and experience, and the money. The right arrow moves into the party
// to look at a hero's status.
#pragma once

#include "runtime/GameListWindow.h"
#include "runtime/GameScreen.h"

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

class TGameMenuScene : public TGameScreen {
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
    static constexpr int kPartyRowHeight = 56;

private:
    enum class TPhase { Commands, Hero, Confirm, Done };

    void UpdateCommands(const TGameInput& input);
    void UpdateHero(const TGameInput& input);
    void UpdateConfirm(const TGameInput& input);
    void DrawParty(TOrlenBoard& screen, const TRect& rect, bool cursor);
    void DrawHeroLines(TOrlenBoard& screen, int x, int y, const THeroState& hero);
    void DrawMoney(TOrlenBoard& screen);

    TGameSession& mSession;
    const TKelDataBase& mDatabase;
    TGameCommandWindow mCommands;
    std::unique_ptr<TGameCommandWindow> mConfirm;
    TMenuCursor mHeroCursor;
    TPhase mPhase = TPhase::Commands;
    TScreenExit mExit = TScreenExit::Back;
    int mHeroFor = -1;  // the command the hero is chosen for (-1: the status)
    std::int64_t mStep = 0;
};

}  // namespace quillon::runtime
