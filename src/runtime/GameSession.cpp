#include "runtime/GameSession.h"

#include "data/LD_CmnEvent.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/ImageResources.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "data/EditorMode.h"
#include "runtime/GameCommandWindow.h"
#include "runtime/GameMenuScene.h"
#include "runtime/GameProject.h"
#include "runtime/GameOverlay.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"
#include "runtime/GameTimer.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <cstdio>

namespace quillon::runtime {

namespace {

// Vocabulary fields of the title's commands and of the money unit.
constexpr int kVocabularyNewGame = 114;
constexpr int kVocabularyContinue = 115;
constexpr int kVocabularyShutdown = 117;
constexpr int kVocabularyMoneyUnit = 95;
// System record: music 0 title, 7 game over; sounds 0 cursor, 1 decide, 2 cancel, 3 buzzer.
constexpr int kTitleMusic = 0;
constexpr int kGameOverMusic = 7;
constexpr int kCursorSound = 0;
constexpr int kDecideSound = 1;
constexpr int kBuzzerSound = 3;
constexpr int kTitleMenuY = 148;
constexpr const char* kBattleNotice = "Battles come later: this battle test ends here.";

std::string VocabularyText(TKelDataBase& database, int field) {
    const std::string* text = database.Vocabulary.Field(field);
    return text ? *text : std::string();
}

}  // namespace

TGameSession::TGameSession(const TGameOptions& options, IGameAudio& audio)
    : mOptions(options), mAudio(audio), mRandom(options.Seed), mPicture(std::make_unique<TOrlenSheet>()) {
    mPicture->AutoSize = true;
}

TGameSession::~TGameSession() = default;

std::unique_ptr<TGameSession> TGameSession::Open(const TGameOptions& options, IGameAudio& audio, std::string& error) {
    std::unique_ptr<TGameSession> session(new TGameSession(options, audio));
    session->mProject = TGameProject::Open(options.ProjectDir, options.RtpDir, error);
    if (!session->mProject)
        return nullptr;
    TKelDataBase& database = session->mProject->Database();
    session->mSkin = std::make_unique<TGameSkin>(session->mProject->Images(), database.System.SystemGraphic,
                                                 database.System.Wallpaper, database.System.Font);
    session->mMessages = std::make_unique<TGameMessageWindow>(*session->mSkin);
    session->mMain = std::make_unique<TInterpreter>(*session, false);
    if (options.BattleTest) {
        session->mScene = TScene::Notice;
        session->mMessages->ShowMessage({kBattleNotice}, *session);
        return session;
    }
    // The start is checked at once, so that a project that cannot start says so now.
    if (!session->NewGame(error))
        return nullptr;
    if (options.ShowTitle)
        session->EnterTitle();
    return session;
}

bool TGameSession::NewGame(std::string& error) {
    TKelDataBase& database = mProject->Database();
    mMain->Stop();
    mCommonParallels.clear();
    mOverlay.reset();
    mResultFor = nullptr;
    mState = std::make_unique<TGameState>(database);
    mWorld = std::make_unique<TGameWorld>(*mProject, *mState, mRandom, mAudio, mOptions.TestPlay);
    TStartPlace start;
    if (mOptions.Start) {
        start = *mOptions.Start;
    } else {
        const TKelMapStartPosition& position = mProject->MapTree().StartPosition;
        start = TStartPlace{position.PartyMapId, position.PartyX, position.PartyY};
    }
    if (start.MapId <= 0) {
        error = std::string(TKelMapTree::kFileName) + ": the party has no start position";
        return false;
    }
    if (!mWorld->Enter(start.MapId, start.X, start.Y, error))
        return false;
    SetHeroGraphic();
    mScene = TScene::Map;
    StartMapMusic();
    return true;
}

void TGameSession::SetHeroGraphic() {
    TGameHero& hero = mWorld->Hero();
    hero.CharSet.clear();
    if (mState->Party().empty())
        return;
    if (const THeroState* first = mState->Hero(mState->Party().front())) {
        hero.CharSet = first->CharSet;
        hero.CharIndex = first->CharIndex;
        hero.Opacity = first->CharTransparent ? 160 : 255;
        mWorld->UseCharSet(hero.CharSet);
    }
}

void TGameSession::StartMapMusic() {
    // A map's music: its own, or its parent's up the tree ("Parent Map"); "No Change" keeps what plays.
    TKelMapTree& tree = mProject->MapTree();
    std::int32_t id = mWorld->MapId();
    for (int depth = 0; depth <= kMaxMapId; ++depth) {
        const TKelMapTreeItem* item = tree.FindByID(id);
        if (item == nullptr || item->Kind == TKelMapTreeItem::mkRoot)
            return;
        if (item->MusicType == TKelMapTreeItem::mtSetTo) {
            mAudio.PlayMusic(item->Music);
            return;
        }
        if (item->MusicType == TKelMapTreeItem::mtNoChange || item->ParentId == id)
            return;
        id = item->ParentId;
    }
}

void TGameSession::LoadScreenPicture(const std::string& kind, const std::string& name) {
    TEditorModeScope quiet(true);
    mPicture->Clear();
    mPicture->FreeImage();
    if (!name.empty())
        LoadSheetResource(*mPicture, mProject->Images(), kind, name, false);
}

void TGameSession::EnterTitle() {
    TKelDataBase& database = mProject->Database();
    mMain->Stop();
    mOverlay.reset();
    mScene = TScene::Title;
    LoadScreenPicture("Title", database.System.TitleGraphic);
    mTitleMenu = std::make_unique<TGameCommandWindow>(
        *mSkin,
        std::vector<std::string>{VocabularyText(database, kVocabularyNewGame),
                                 VocabularyText(database, kVocabularyContinue),
                                 VocabularyText(database, kVocabularyShutdown)});
    mTitleMenu->SetEnabled(1, false);  // saving comes later
    mTitleMenu->SetCancelAllowed(false);
    mTitleMenu->CentreAt(kScreenWidth, kTitleMenuY);
    mAudio.PlayMusic(database.System.Music[kTitleMusic]);
}

void TGameSession::GameOver() {
    TKelDataBase& database = mProject->Database();
    mScene = TScene::GameOver;
    LoadScreenPicture("GameOver", database.System.GameOverGraphic);
    mAudio.PlayMusic(database.System.Music[kGameOverMusic]);
}

void TGameSession::ToTitle() { EnterTitle(); }

bool TGameSession::Teleport(std::int32_t mapId, int x, int y, std::string& error) {
    const std::int32_t before = mWorld->MapId();
    if (!mWorld->Enter(mapId, x, y, error))
        return false;
    if (mWorld->MapId() != before) {
        mCommonParallels.clear();
        StartMapMusic();
    }
    return true;
}

TGameCharacter* TGameSession::Character(std::int32_t id, std::int32_t thisEvent) {
    if (!mWorld)
        return nullptr;
    if (id == kCharacterHero)
        return &mWorld->Hero();
    if (id == kCharacterThisEvent)
        id = thisEvent;
    return id > 0 && id < kCharacterHero ? mWorld->EventById(id) : nullptr;
}

const TKelEventScriptList* TGameSession::CommonEventScript(std::int32_t id) const {
    const TKelCommonEventItem* item = mProject->Database().CommonEvent.FindByID(id);
    return item ? &item->Script : nullptr;
}

bool TGameSession::MainRunning() const { return mMain->Running(); }

void TGameSession::StartEvent(std::int32_t eventId, bool byDecision) {
    TGameEvent* event = mWorld->EventById(eventId);
    if (event == nullptr || !event->Present())
        return;
    // The event turns to the hero who started it.
    if (event->Trigger() <= trTouch) {
        const TGameHero& hero = mWorld->Hero();
        const int dx = mWorld->WrappedDx(event->X, hero.X);
        const int dy = mWorld->WrappedDy(event->Y, hero.Y);
        if (dx != 0 || dy != 0)
            event->Turn(std::abs(dx) > std::abs(dy) ? (dx > 0 ? dRight : dLeft) : (dy > 0 ? dDown : dUp));
    }
    mMain->Start(event->Page()->Script, eventId, mWorld->MapId(), mWorld->MapHandle(), byDecision);
}

bool TGameSession::MessageBusy() const { return mMessages->Busy(); }
std::int32_t TGameSession::ChoiceResult() const { return mMessages->ChoiceResult(); }
std::int32_t TGameSession::NumberResult() const { return mMessages->NumberResult(); }

void TGameSession::NotRunYet(std::int32_t code) {
    if (mWarned.insert(code).second)
        std::fprintf(stderr, "quillon-player: event command %d is not run yet; skipped\n", static_cast<int>(code));
}

void TGameSession::Report(const std::string& message) {
    std::fprintf(stderr, "quillon-player: %s\n", message.c_str());
}

std::int32_t TGameSession::Variable(int id) const { return mState ? mState->Variable(id) : 0; }
std::int32_t TGameSession::Money() const { return mState ? mState->Money() : 0; }

std::string TGameSession::HeroName(int heroId) const {
    const THeroState* hero = mState ? mState->Hero(heroId) : nullptr;
    return hero ? hero->Name : std::string();
}

std::string TGameSession::PartyMemberName(int slot) const {
    if (!mState || slot < 1 || slot > static_cast<int>(mState->Party().size()))
        return {};
    return HeroName(mState->Party()[static_cast<std::size_t>(slot - 1)]);
}

std::string TGameSession::MoneyUnit() const { return VocabularyText(mProject->Database(), kVocabularyMoneyUnit); }

void TGameSession::Step(const TGameInput& input) {
    ++mFrame;
    mAudio.Step();
    switch (mScene) {
    case TScene::Title: StepTitle(input); break;
    case TScene::Map: StepMap(input); break;
    case TScene::GameOver: StepGameOver(input); break;
    case TScene::Notice: StepNotice(input); break;
    case TScene::Ended: break;
    }
}

void TGameSession::StepTitle(const TGameInput& input) {
    TKelDataBase& database = mProject->Database();
    switch (mTitleMenu->Update(input)) {
    case TMenuEvent::Moved: mAudio.PlaySound(database.System.Sound[kCursorSound]); break;
    case TMenuEvent::Refused: mAudio.PlaySound(database.System.Sound[kBuzzerSound]); break;
    case TMenuEvent::Decided: {
        mAudio.PlaySound(database.System.Sound[kDecideSound]);
        if (mTitleMenu->Index() == 0) {
            std::string error;
            if (!NewGame(error)) {
                Report(error);
                mScene = TScene::Ended;
                mExitCode = 1;
            }
        } else {
            mAudio.FadeOutMusic(1000);
            mScene = TScene::Ended;
        }
        break;
    }
    default: break;
    }
}

void TGameSession::StepGameOver(const TGameInput& input) {
    if (!input.Pressed(gbDecide))
        return;
    if (mOptions.ShowTitle)
        EnterTitle();
    else
        mScene = TScene::Ended;
}

void TGameSession::StepNotice(const TGameInput& input) {
    mMessages->Update(input);
    if (!mMessages->Busy())
        mScene = TScene::Ended;
}

void TGameSession::RunParallels() {
    // Parallel pages of the map's events.
    for (const auto& event : mWorld->Events()) {
        if (!event->Present() || event->Trigger() != trParallel)
            continue;
        if (event->Parallel() == nullptr)
            event->SetParallel(std::make_unique<TInterpreter>(*this, true));
        TInterpreter& parallel = *event->Parallel();
        if (!parallel.Running())
            parallel.Start(event->Page()->Script, event->Id(), mWorld->MapId(), mWorld->MapHandle());
        parallel.Update();
        if (mScene != TScene::Map)
            return;
    }
    // Parallel common events while their switch is on.
    const TKelCommonEvent& common = mProject->Database().CommonEvent;
    mCommonParallels.resize(static_cast<std::size_t>(common.Count()));
    for (int i = 0; i < common.Count(); ++i) {
        const TKelCommonEventItem* item = common.Items(i);
        std::unique_ptr<TInterpreter>& parallel = mCommonParallels[static_cast<std::size_t>(i)];
        if (item->Trigger != TKelCommonEventItem::ctParallel ||
            (item->SwitchCondition && !mState->Switch(item->SwitchId))) {
            parallel.reset();
            continue;
        }
        if (!parallel)
            parallel = std::make_unique<TInterpreter>(*this, true);
        if (!parallel->Running())
            parallel->Start(item->Script, 0, mWorld->MapId());
        parallel->Update();
        if (mScene != TScene::Map)
            return;
    }
}

void TGameSession::StartMainScripts(const TGameInput& input) {
    // Auto-start common events, then auto-start pages, then what touched or was spoken to.
    const TKelCommonEvent& common = mProject->Database().CommonEvent;
    for (int i = 0; i < common.Count(); ++i) {
        const TKelCommonEventItem* item = common.Items(i);
        if (item->Trigger == TKelCommonEventItem::ctAutoStart &&
            (!item->SwitchCondition || mState->Switch(item->SwitchId))) {
            mMain->Start(item->Script, 0, mWorld->MapId());
            return;
        }
    }
    for (const auto& event : mWorld->Events())
        if (event->Present() && event->Trigger() == trAutoStart) {
            StartEvent(event->Id(), false);
            return;
        }
    if (input.Pressed(gbDecide) && !MessageBusy())
        mWorld->CheckPushKey();
    for (const TStartRequest& request : mWorld->TakeStarts()) {
        StartEvent(request.EventId, request.Trigger == trPushKey);
        if (mMain->Running())
            return;
    }
}

bool TGameSession::OpenOverlay(std::unique_ptr<TGameOverlay> screen, const TInterpreter* opener) {
    if (mOverlay || !screen)
        return false;
    mOverlay = std::move(screen);
    mOverlayOpener = opener;
    return true;
}

std::optional<bool> TGameSession::TakeOverlayResult(const TInterpreter* opener) {
    if (opener == nullptr || mResultFor != opener)
        return std::nullopt;
    mResultFor = nullptr;
    return mOverlaySucceeded;
}

bool TGameSession::OpenSaveScreen() {
    Report("saving is not available in this player yet");
    return false;
}

// The open screen takes the step; the map stands still under it.
bool TGameSession::StepOverlay(const TGameInput& input) {
    if (!mOverlay)
        return false;
    mOverlay->Update(input);
    if (!mOverlay->Done())
        return true;
    const TScreenExit exit = mOverlay->Exit();
    mResultFor = mOverlayOpener;
    mOverlaySucceeded = mOverlay->Succeeded();
    mOverlay.reset();
    mOverlayOpener = nullptr;
    if (exit == TScreenExit::Title)
        ToTitle();
    else if (exit == TScreenExit::Save)
        OpenSaveScreen();
    return true;
}

void TGameSession::StepMap(const TGameInput& input) {
    if (StepOverlay(input))
        return;
    mState->Step();
    mWorld->RefreshPages();
    RunParallels();
    if (mScene != TScene::Map)
        return;
    if (!mMain->Running())
        StartMainScripts(input);
    if (mMain->Running())
        mMain->Update();
    if (mScene != TScene::Map)
        return;
    mWorld->RefreshPages();
    mMessages->Update(input);
    const bool heroMayWalk = !mMain->Running() && !MessageBusy();
    mWorld->Update(input, heroMayWalk);
    if (mMain->Running())
        mWorld->TakeStarts();  // touches while a script runs start nothing
    else if (heroMayWalk && mState->MenuEnabled && input.Pressed(gbCancel) && !mWorld->Hero().Moving())
        OpenOverlay(std::make_unique<TGameMenuScene>(*this), nullptr);
}

std::string TGameSession::SceneName() const {
    switch (mScene) {
    case TScene::Title: return "title";
    case TScene::Map: return mOverlay ? mOverlay->SceneName() : MessageBusy() ? "message" : "map";
    case TScene::GameOver: return "gameover";
    case TScene::Notice: return "notice";
    case TScene::Ended: return "ended";
    }
    return "ended";
}

void TGameSession::Draw(TOrlenBoard& screen) {
    if (screen.Width() != kScreenWidth || screen.Height() != kScreenHeight)
        screen.SetSize(kScreenWidth, kScreenHeight);
    FillBoardRect(screen, TRect{0, 0, kScreenWidth, kScreenHeight}, 0);
    switch (mScene) {
    case TScene::Title:
        screen.DrawSheet(0, 0, TRect{0, 0, mPicture->Width(), mPicture->Height()}, *mPicture);
        mTitleMenu->Draw(screen);
        break;
    case TScene::Map:
        if (mOverlay && !mOverlay->OverMap()) {
            mOverlay->Draw(screen);
            break;
        }
        mMessages->SetHeroScreenY(mWorld->Hero().PixelY() - mWorld->CameraY());
        mWorld->Draw(screen, static_cast<int>(mFrame / 8));
        DrawTimer(*mSkin, screen, *mState);
        mMessages->Draw(screen);
        if (mOverlay)
            mOverlay->Draw(screen);
        break;
    case TScene::GameOver:
        screen.DrawSheet(0, 0, TRect{0, 0, mPicture->Width(), mPicture->Height()}, *mPicture);
        break;
    case TScene::Notice: mMessages->Draw(screen); break;
    case TScene::Ended: break;
    }
}

}  // namespace quillon::runtime
