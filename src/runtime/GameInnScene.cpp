#include "runtime/GameInnScene.h"

#include "data/LD_DataBase.h"
#include "graphics/OrlenSheet.h"
#include "runtime/GameItemUse.h"
#include "runtime/GameMessage.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

enum TInnText : std::size_t { itBefore = 0, itAfter, itQuestion, itStay, itLeave };

// Darkens every pixel of the board to level/256 of its brightness.
void Darken(TOrlenBoard& board, int level) {
    for (int y = 0; y < board.Height(); ++y) {
        std::uint16_t* row = board.ScanLine(y);
        for (int x = 0; x < board.Width(); ++x) {
            const unsigned p = row[x];
            const unsigned r = ((p >> 11) & 31u) * static_cast<unsigned>(level) >> 8;
            const unsigned g = ((p >> 5) & 63u) * static_cast<unsigned>(level) >> 8;
            const unsigned b = (p & 31u) * static_cast<unsigned>(level) >> 8;
            row[x] = static_cast<std::uint16_t>(r << 11 | g << 5 | b);
        }
    }
}

}  // namespace

std::vector<std::string> InnQuestion(const TKelDataBase& database, int style, std::int32_t price) {
    const auto& text = database.Vocabulary.Inn(std::clamp(style, 0, TKelVocabulary::kInnCount - 1)).Text;
    return {text[itBefore] + std::to_string(price) + Term(database, term::kMoneyUnit) + text[itAfter],
            text[itQuestion]};
}

bool PayInn(TGameState& state, std::int32_t price) {
    if (price < 0 || state.Money() < price)
        return false;
    state.SetMoney(static_cast<std::int64_t>(state.Money()) - price);
    return true;
}

TGameInnScene::TGameInnScene(TGameSession& session, int style, std::int32_t price)
    : mSession(session), mStyle(std::clamp(style, 0, TKelVocabulary::kInnCount - 1)), mPrice(std::max(price, 0)) {
    Ask();
}

void TGameInnScene::Ask() {
    const TKelDataBase& database = mSession.Project().Database();
    const auto& text = database.Vocabulary.Inn(mStyle).Text;
    TGameMessageWindow& window = mSession.Messages();
    window.ShowMessage(InnQuestion(database, mStyle, mPrice), mSession);
    window.ShowChoices({text[itStay], text[itLeave]}, 1, mSession);
}

void TGameInnScene::Update(const TGameInput& input) {
    if (mPhase == TPhase::Ask) {
        mSession.Messages().Update(input);
        if (mSession.Messages().Busy())
            return;
        if (mSession.Messages().ChoiceResult() != 0) {
            mPhase = TPhase::Done;
        } else if (PayInn(mSession.State(), mPrice)) {
            mRested = true;
            mPhase = TPhase::Night;
            mSession.Audio().PlayMusic(mSession.Project().Database().System.Music[smInn]);
        } else {
            PlaySystemSound(mSession, ssBuzzer);  // the money does not reach: asked again
            Ask();
        }
        return;
    }
    if (mPhase == TPhase::Night) {
        ++mNight;
        if (mNight == kFadeSteps)
            RecoverParty(mSession.State());
        if (mNight >= 2 * kFadeSteps + kNightSteps) {
            mSession.RestoreMapMusic();
            mPhase = TPhase::Done;
        }
    }
}

void TGameInnScene::Draw(TOrlenBoard& screen) {
    if (mPhase != TPhase::Night)
        return;
    int level = 0;
    if (mNight < kFadeSteps)
        level = 256 - 256 * mNight / kFadeSteps;
    else if (mNight >= kFadeSteps + kNightSteps)
        level = 256 * (mNight - kFadeSteps - kNightSteps) / kFadeSteps;
    Darken(screen, level);
}

}  // namespace quillon::runtime
