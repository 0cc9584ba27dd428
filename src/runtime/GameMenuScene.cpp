#include "runtime/GameMenuScene.h"

#include "data/LD_DataBase.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kPad = 8;
constexpr int kTextLine = 13;
constexpr int kSystemColour = 1;  // labels
constexpr int kConfirmY = 96;

std::vector<std::string> CommandTexts(const TKelDataBase& database) {
    return {Term(database, term::kItem), Term(database, term::kSkill), Term(database, term::kEquipment),
            Term(database, term::kSave), Term(database, term::kEndGame)};
}

}  // namespace

TGameMenuScene::TGameMenuScene(TGameSession& session)
    : mSession(session), mDatabase(session.Project().Database()),
      mCommands(session.Skin(), CommandTexts(mDatabase), kCommandRect.Width()),
      mHeroCursor(static_cast<int>(session.State().Party().size()), 1) {
    mCommands.SetPosition(kCommandRect.Left, kCommandRect.Top);
    mCommands.SetEnabled(mcSave, session.State().SaveEnabled);
}

TGameMenuScene::~TGameMenuScene() = default;

void TGameMenuScene::Update(const TGameInput& input) {
    ++mStep;
    switch (mPhase) {
    case TPhase::Commands: UpdateCommands(input); break;
    case TPhase::Hero: UpdateHero(input); break;
    case TPhase::Confirm: UpdateConfirm(input); break;
    case TPhase::Done: break;
    }
}

void TGameMenuScene::UpdateCommands(const TGameInput& input) {
    if (input.Pressed(gbRight) && mHeroCursor.Count() > 0) {
        PlaySystemSound(mSession, ssCursor);
        mHeroFor = -1;
        mPhase = TPhase::Hero;
        return;
    }
    const TMenuEvent event = mCommands.Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled) {
        mPhase = TPhase::Done;
        return;
    }
    if (event != TMenuEvent::Decided)
        return;
    switch (mCommands.Index()) {
    case mcSave:
        mExit = TScreenExit::Save;
        mPhase = TPhase::Done;
        break;
    case mcEndGame:
        mConfirm = std::make_unique<TGameCommandWindow>(
            mSession.Skin(), std::vector<std::string>{Term(mDatabase, term::kYes), Term(mDatabase, term::kNo)});
        mConfirm->CentreAt(kScreenWidth, kConfirmY);
        mConfirm->SetIndex(1);
        mPhase = TPhase::Confirm;
        break;
    default:
        mHeroFor = mCommands.Index();
        mPhase = TPhase::Hero;
        break;
    }
}

void TGameMenuScene::UpdateHero(const TGameInput& input) {
    if (input.Pressed(gbCancel)) {
        PlaySystemSound(mSession, ssCancel);
        mPhase = TPhase::Commands;
        return;
    }
    if (input.Pressed(gbDecide)) {
        PlaySystemSound(mSession, ssBuzzer);
        return;
    }
    if (mHeroCursor.Move(input))
        PlaySystemSound(mSession, ssCursor);
}

void TGameMenuScene::UpdateConfirm(const TGameInput& input) {
    const TMenuEvent event = mConfirm->Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled || (event == TMenuEvent::Decided && mConfirm->Index() == 1)) {
        mConfirm.reset();
        mPhase = TPhase::Commands;
    } else if (event == TMenuEvent::Decided) {
        mExit = TScreenExit::Title;
        mPhase = TPhase::Done;
    }
}

void TGameMenuScene::DrawHeroLines(TOrlenBoard& screen, int x, int y, const THeroState& hero) {
    TGameSkin& skin = mSession.Skin();
    const TGameState& state = mSession.State();
    const int second = x + 82;
    skin.DrawText(screen, x, y, hero.Name);
    skin.DrawText(screen, second, y, hero.Degree);
    y += kTextLine;
    const int after = skin.DrawText(screen, x, y, Term(mDatabase, term::kLevelShort), kSystemColour);
    skin.DrawText(screen, after + 4, y, std::to_string(hero.Level));
    skin.DrawText(screen, second, y, Term(mDatabase, term::kNormal));
    y += kTextLine;
    const auto pair = [&](int left, int label, std::int32_t now, std::int32_t max) {
        const int at = skin.DrawText(screen, left, y, Term(mDatabase, label), kSystemColour);
        skin.DrawText(screen, at + 4, y, std::to_string(now) + "/" + std::to_string(max));
    };
    pair(x, term::kHpShort, hero.Hp, state.HeroValue(hero.Id, 4));
    pair(second, term::kMpShort, hero.Mp, state.HeroValue(hero.Id, 5));
    y += kTextLine;
    const int at = skin.DrawText(screen, x, y, Term(mDatabase, term::kExpShort), kSystemColour);
    skin.DrawText(screen, at + 4, y, std::to_string(hero.Exp));
}

void TGameMenuScene::DrawParty(TOrlenBoard& screen, const TRect& rect, bool cursor) {
    TGameSkin& skin = mSession.Skin();
    skin.DrawWindow(screen, rect);
    const std::vector<std::int32_t>& party = mSession.State().Party();
    for (std::size_t i = 0; i < party.size(); ++i) {
        const THeroState* hero = mSession.State().Hero(party[i]);
        if (hero == nullptr)
            continue;
        const int top = rect.Top + kPad + static_cast<int>(i) * kPartyRowHeight;
        if (cursor && static_cast<int>(i) == mHeroCursor.Index())
            skin.DrawCursor(screen, MakeBounds(rect.Left + kPad - 4, top - 2, rect.Width() - 2 * kPad + 8, kPartyRowHeight - 2),
                            mStep);
        skin.DrawFace(screen, rect.Left + kPad, top + 2, hero->FaceSet, hero->FaceIndex, false);
        DrawHeroLines(screen, rect.Left + kPad + kFaceSize + 6, top + 2, *hero);
    }
}

void TGameMenuScene::DrawMoney(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    skin.DrawWindow(screen, kMoneyRect);
    runtime::DrawMoney(skin, screen, kMoneyRect.Right - kPad, kMoneyRect.Top + 10, mSession.State().Money(),
                       Term(mDatabase, term::kMoneyUnit));
}

void TGameMenuScene::Draw(TOrlenBoard& screen) {
    mCommands.Draw(screen);
    DrawMoney(screen);
    DrawParty(screen, kPartyRect, mPhase == TPhase::Hero);
    if (mConfirm) {
        TGameSkin& skin = mSession.Skin();
        const std::string question = Term(mDatabase, term::kExitConfirmation);
        const int width = std::max(TGameSkin::TextWidth(question) + 2 * kPad + 8, 120);
        const TRect box = MakeBounds((kScreenWidth - width) / 2, kConfirmY - 32, width, 32);
        skin.DrawWindow(screen, box);
        skin.DrawText(screen, box.Left + kPad + 4, box.Top + 10, question);
        mConfirm->Draw(screen);
    }
}

}  // namespace quillon::runtime
