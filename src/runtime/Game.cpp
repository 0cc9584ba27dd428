#include "runtime/Game.h"

#include "graphics/OrlenSheet.h"
#include "runtime/GameSession.h"

namespace quillon::runtime {

std::unique_ptr<TGame> TGame::Open(const TGameOptions& options, IGameAudio& audio, std::string& error) {
    std::unique_ptr<TGameSession> session = TGameSession::Open(options, audio, error);
    if (!session)
        return nullptr;
    return std::unique_ptr<TGame>(new TGame(std::move(session)));
}

TGame::TGame(std::unique_ptr<TGameSession> session) : mSession(std::move(session)) {}
TGame::~TGame() = default;

void TGame::Step(const TGameInput& input) { mSession->Step(input); }
void TGame::Draw(TOrlenBoard& screen) {
    mSession->Draw(screen);
    mDrawn = true;
    mDrawnSignature = mSession->DrawSignature();
}
bool TGame::Unchanged() const { return mDrawn && mSession->DrawSignature() == mDrawnSignature; }
bool TGame::Ended() const { return mSession->Ended(); }
int TGame::ExitCode() const { return mSession->ExitCode(); }
std::int64_t TGame::Frame() const { return mSession->Frame(); }
std::string TGame::StateJson() const { return mSession->StateJson(); }
TGameSession& TGame::Session() { return *mSession; }

}  // namespace quillon::runtime
