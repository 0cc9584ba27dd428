// The inn of "Call Inn": the price question in one of the vocabulary's two inn styles, asked in
// the message window over the map; a paid night darkens the screen, plays the inn's music and
// restores the whole party.
#pragma once

#include "runtime/GameOverlay.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {
class TKelDataBase;
}

namespace quillon::runtime {

class TGameState;

// The question's lines: the price between the first and the second part, the third part below.
std::vector<std::string> InnQuestion(const TKelDataBase& database, int style, std::int32_t price);
// Pays a night: false (and nothing changes) when the money does not reach the price.
bool PayInn(TGameState& state, std::int32_t price);

class TGameInnScene : public TGameOverlay {
public:
    TGameInnScene(TGameSession& session, int style, std::int32_t price);

    void Update(const TGameInput& input) override;
    void Draw(TOrlenBoard& screen) override;
    bool Done() const override { return mPhase == TPhase::Done; }
    const char* SceneName() const override { return "inn"; }
    bool Succeeded() const override { return mRested; }
    bool OverMap() const override { return true; }

    // Steps of the night: the screen darkens, stays dark, and lightens again.
    static constexpr int kFadeSteps = 60;
    static constexpr int kNightSteps = 180;

private:
    enum class TPhase { Ask, Night, Done };
    void Ask();

    TGameSession& mSession;
    int mStyle;
    std::int32_t mPrice;
    TPhase mPhase = TPhase::Ask;
    bool mRested = false;
    int mNight = 0;  // steps into the night
};

}  // namespace quillon::runtime
