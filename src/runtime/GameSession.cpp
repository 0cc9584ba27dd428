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
#include "runtime/BattleEncounter.h"
#include "runtime/BattleScene.h"
#include "runtime/GameCommandWindow.h"
#include "runtime/GameMapState.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSave.h"
#include "runtime/GameSaveScene.h"
#include "runtime/GameMenuScene.h"
#include "runtime/GameProject.h"
#include "runtime/GameOverlay.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"
#include "runtime/GameTimer.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <cstdint>
#include <cstdio>

namespace quillon::runtime {

namespace {

// Vocabulary fields of the title's commands and of the money unit.
constexpr int kVocabularyNewGame = 114;
constexpr int kVocabularyContinue = 115;
constexpr int kVocabularyShutdown = 117;
constexpr int kVocabularyMoneyUnit = 95;
constexpr int kTitleMenuY = 148;

std::string VocabularyText(TKelDataBase& database, int field) {
    const std::string* text = database.Vocabulary.Field(field);
    return text ? *text : std::string();
}

}  // namespace

// The system record's settings that commands change during a game, as the database opened with them.
struct TGameSession::TSystemStart {
    std::vector<TMusicSettings> Music;
    std::vector<TMusicSettings> Sound;
    std::string SystemGraphic;
    int Wallpaper = 0;
    int Font = 0;
};

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
    session->mSystemStart = std::make_unique<TSystemStart>();
    TSystemStart& start = *session->mSystemStart;
    for (const TKelMusic& music : database.System.Music)
        start.Music.push_back(TMusicSettings::Of(music));
    for (const TKelSound& sound : database.System.Sound)
        start.Sound.push_back(TMusicSettings::Of(sound));
    start.SystemGraphic = database.System.SystemGraphic;
    start.Wallpaper = database.System.Wallpaper;
    start.Font = database.System.Font;
    session->mMain = std::make_unique<TInterpreter>(*session, false);
    if (options.BattleTest) {
        if (!session->StartBattleTest(options.BattleTroop, error))
            return nullptr;
        return session;
    }
    // The start is checked at once, so that a project that cannot start says so now.
    if (!session->NewGame(error))
        return nullptr;
    if (options.LoadSlot > 0) {
        if (!session->LoadGame(options.LoadSlot, error))
            return nullptr;
    } else if (options.ShowTitle) {
        session->EnterTitle();
    }
    return session;
}

void TGameSession::ResetGame() {
    TKelDataBase& database = mProject->Database();
    mState = std::make_unique<TGameState>(database);
    mMapState = std::make_unique<TGameMapState>();
    mWorld = std::make_unique<TGameWorld>(*mProject, *mState, mRandom, mAudio, mOptions.TestPlay);
    ResetScreen();
}

void TGameSession::ResetScreen() {
    const TKelDataBase& database = mProject->Database();
    mScreen = std::make_unique<TGameScreen>(
        mRandom, mProject->Images(), [this](const TKelSound& sound) { mAudio.PlaySound(sound); },
        [this](const std::string& message) { Report(message); });
    std::array<int, kTransitionSlots> transitions{};
    for (int i = 0; i < kTransitionSlots; ++i)
        transitions[static_cast<std::size_t>(i)] = database.System.Transition[static_cast<std::size_t>(i)];
    mScreen->SetTransitions(transitions);
}

void TGameSession::RestoreSystemSettings() {
    TKelSystem& system = mProject->Database().System;
    const TSystemStart& start = *mSystemStart;
    for (std::size_t i = 0; i < start.Music.size(); ++i)
        start.Music[i].To(system.Music[i]);
    for (std::size_t i = 0; i < start.Sound.size(); ++i)
        start.Sound[i].To(system.Sound[i]);
    if (mSkin->SystemGraphic() != start.SystemGraphic || mSkin->Wallpaper() != start.Wallpaper ||
        mSkin->FontStyle() != start.Font)
        mSkin->SetSystemGraphic(start.SystemGraphic, start.Wallpaper, start.Font);
}

bool TGameSession::NewGame(std::string& error) {
    mMain->Stop();
    mCommonParallels.clear();
    ResetGame();
    RestoreSystemSettings();
    PlaceVehicles();
    mPlayFrames = 0;
    mLastSlot = 0;
    mOverlay.reset();
    mResultFor = nullptr;
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

void TGameSession::PlaceVehicles() {
    const TKelSystem& system = mProject->Database().System;
    const TKelMapStartPosition& start = mProject->MapTree().StartPosition;
    const std::string* graphics[kVehicleCount] = {&system.BoatGraphic, &system.ShipGraphic, &system.AirshipGraphic};
    const std::int32_t indexes[kVehicleCount] = {system.BoatIndex, system.ShipIndex, system.AirshipIndex};
    for (int kind = 0; kind < kVehicleCount; ++kind) {
        TGameVehicle& vehicle = mWorld->Vehicle(kind);
        vehicle.CharSet = *graphics[kind];
        vehicle.CharIndex = indexes[kind];
        vehicle.Direction = dLeft;
        vehicle.MapId = start.GetMapId(kind + 1);
        vehicle.PlaceAt(start.GetX(kind + 1), start.GetY(kind + 1));
    }
}

bool TGameSession::ToggleRide() {
    const TKelSystem& system = mProject->Database().System;
    const int riding = mWorld->Riding();
    if (riding >= 0) {
        if (!mWorld->LeaveVehicle())
            return false;
        mMapState->PlayMusic(mAudio, mMapState->BeforeRide);
        return true;
    }
    const int kind = mWorld->VehicleFaced();
    if (kind < 0 || !mWorld->Board(kind))
        return false;
    mMapState->BeforeRide = mMapState->NowPlaying(mAudio);
    // System music 4, 5, 6: boat, ship, airship.
    mMapState->PlayMusic(mAudio, system.Music[static_cast<std::size_t>(smBoat + kind)]);
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
        hero.Opacity = first->CharTransparent ? kTranslucentOpacity : 255;
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
            mMapState->PlayMusic(mAudio, item->Music);
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
    mTitleMenu->SetEnabled(1, AnySaveLoadable());
    mTitleMenu->SetCancelAllowed(false);
    mTitleMenu->CentreAt(kScreenWidth, kTitleMenuY);
    mAudio.PlayMusic(database.System.Music[smTitle]);
}

void TGameSession::GameOver() {
    TKelDataBase& database = mProject->Database();
    mScene = TScene::GameOver;
    LoadScreenPicture("GameOver", database.System.GameOverGraphic);
    mAudio.PlayMusic(database.System.Music[smGameOver]);
}

void TGameSession::ToTitle() {
    EnterTitle();
    // A screen erased on the way (Go to Title Screen erases it first) shows the title by the
    // teleport's show transition.
    if (mScreen && mScreen->Transitions().Erased())
        mScreen->Transitions().Start(false, mScreen->Transition(tsTeleportShow), mRandom);
}

bool TGameSession::Teleport(std::int32_t mapId, int x, int y, std::string& error) {
    const std::int32_t before = mWorld->MapId();
    if (!mWorld->Enter(mapId, x, y, error))
        return false;
    if (mWorld->MapId() != before) {
        mCommonParallels.clear();
        mMapState->ParallelsStopped = false;
        StartMapMusic();
        mScreen->MapChanged(*mWorld);
    }
    return true;
}

// Whether a place lies on a map of the project; error says why not.
bool TGameSession::PlaceExists(const TMapPlace& place, std::string& error) const {
    const TGameWorld& world = *mWorld;
    int width = 0;
    int height = 0;
    if (world.HasMap() && place.MapId == world.MapId()) {
        width = world.Map().Width();
        height = world.Map().Height();
    } else {
        const std::unique_ptr<TKelMap> map = mProject->LoadMap(place.MapId, error);
        if (!map)
            return false;
        width = map->Width();
        height = map->Height();
    }
    if (place.X < 0 || place.Y < 0 || place.X >= width || place.Y >= height) {
        error = MapFileName(place.MapId) + ": the cell (" + std::to_string(place.X) + ", " + std::to_string(place.Y) +
                ") lies outside the map";
        return false;
    }
    return true;
}

void TGameSession::StopMapParallels() {
    for (const auto& event : mWorld->Events())
        if (event->Parallel() != nullptr)
            event->Parallel()->Stop();
}

TGameCharacter* TGameSession::Character(std::int32_t id, std::int32_t thisEvent) {
    if (!mWorld)
        return nullptr;
    if (id == kCharacterHero)
        return &mWorld->Hero();
    if (const int kind = VehicleOfCharacter(id); kind >= 0)
        return mWorld->Vehicle(kind).MapId == mWorld->MapId() ? &mWorld->Vehicle(kind) : nullptr;
    if (id == kCharacterThisEvent)
        id = thisEvent;
    TGameEvent* event = id > 0 && id < kCharacterHero ? mWorld->EventById(id) : nullptr;
    return event != nullptr && !event->Erased ? event : nullptr;  // an erased event is gone
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
    mInput = input;
    mAudio.Step();
    if (mScene != TScene::Title && mScene != TScene::Load && mScene != TScene::GameOver &&
        mScene != TScene::Ended && mPlayFrames < INT32_MAX)
        ++mPlayFrames;
    switch (mScene) {
    case TScene::Title: StepTitle(input); break;
    case TScene::Map: StepMap(input); break;
    case TScene::GameOver: StepGameOver(input); break;
    case TScene::Ended: break;
    case TScene::Battle: StepBattle(input); break;
    case TScene::Save:
    case TScene::Load: StepSaveScene(input); break;
    }
}

void TGameSession::StepTitle(const TGameInput& input) {
    TKelDataBase& database = mProject->Database();
    if (mScreen)
        mScreen->Transitions().Update();
    switch (mTitleMenu->Update(input)) {
    case TMenuEvent::Moved: mAudio.PlaySound(database.System.Sound[ssCursor]); break;
    case TMenuEvent::Refused: mAudio.PlaySound(database.System.Sound[ssBuzzer]); break;
    case TMenuEvent::Decided: {
        mAudio.PlaySound(database.System.Sound[ssDecide]);
        if (mTitleMenu->Index() == 0) {
            std::string error;
            if (!NewGame(error)) {
                Report(error);
                mScene = TScene::Ended;
                mExitCode = 1;
            } else {
                ShowByTransition(tsTeleportShow);  // the map comes in as after a teleport
            }
        } else if (mTitleMenu->Index() == 1) {
            OpenLoadScreen();
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

void TGameSession::RunParallels() {
    // Parallel pages of the map's events (unless "Stop Parallel Events" stopped them).
    for (const auto& event : mWorld->Events()) {
        if (mMapState->ParallelsStopped)
            break;
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
    if (input.Pressed(gbDecide) && !MessageBusy() && !ToggleRide())
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
    if (mWorld->MapId() != mLastMapId)
        CheckEncounter();  // a new map: the distance to its first battle, from where the hero stands
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
    // While a message shows, events move only when the message options let them.
    mWorld->Update(input, heroMayWalk, !MessageBusy() || mMessages->Options().EventsMoveMeanwhile);
    if (mMain->Running())
        mWorld->TakeStarts();  // touches while a script runs start nothing
    else if (heroMayWalk && mMapState->MenuEnabled && input.Pressed(gbCancel) && !mWorld->Hero().Moving())
        OpenOverlay(std::make_unique<TGameMenuScene>(*this), nullptr);
    mScreen->Update(*mWorld);
    CheckEncounter();
}

// --- battles ---

void TGameSession::CheckEncounter() {
    const TGameHero& hero = mWorld->Hero();
    const std::int32_t mapId = mWorld->MapId();
    const TKelMapTreeItem* item = mProject->MapTree().FindByID(mapId);
    // Change Enemy Encounter's steps, else the map's own.
    const std::int32_t steps = mMapState->EncounterSteps > 0 ? mMapState->EncounterSteps : item ? item->EncounterSteps : 0;
    if (mapId != mLastMapId || mEncounterLeft < 0) {
        mEncounterLeft = DrawEncounterDistance(mRandom, steps);
        mLastMapId = mapId;
        mLastHeroX = hero.X;
        mLastHeroY = hero.Y;
        return;
    }
    if (hero.X == mLastHeroX && hero.Y == mLastHeroY)
        return;
    mLastHeroX = hero.X;
    mLastHeroY = hero.Y;
    if (item == nullptr || item->Encounters.Count() == 0 || mMain->Running() || MessageBusy())
        return;
    TKelDataBase& database = mProject->Database();
    const std::int32_t terrainId = TerrainAt(database, mWorld->Map(), hero.X, hero.Y);
    const TKelGroundItem* terrain = database.Ground.FindByID(terrainId);
    if (!EncounterStep(mEncounterLeft, terrain ? terrain->EncounterRate : 100))
        return;
    mEncounterLeft = DrawEncounterDistance(mRandom, steps);
    const std::int32_t troopId = ChooseEncounter(database, item->Encounters, terrainId, mRandom);
    if (troopId == 0)
        return;
    TBattleSetup setup;
    setup.TroopId = troopId;
    // "Enable/Disable Escape" and the map's own escape permission both rule the Escape command.
    setup.EscapeAllowed = mMapState->EscapeEnabled && MapAllowsEscape(mProject->MapTree(), mapId);
    StartBattle(setup, TerrainBackdrop(troopId), nullptr, false);
}

std::string TGameSession::TerrainBackdrop(std::int32_t troopId) const {
    const TKelDataBase& database = mProject->Database();
    std::int32_t terrainId = 0;
    if (mWorld && mWorld->HasMap())
        terrainId = TerrainAt(database, mWorld->Map(), mWorld->Hero().X, mWorld->Hero().Y);
    if (terrainId == 0)
        if (const TKelMonGroupItem* troop = database.MonGroup.FindByID(troopId))
            for (int i = 0; i < database.Ground.Count(); ++i)
                if (troop->Terrain(database.Ground.Items(i)->ID)) {
                    terrainId = database.Ground.Items(i)->ID;
                    break;
                }
    const TKelGroundItem* terrain = database.Ground.FindByID(terrainId);
    return terrain ? terrain->BackdropName : std::string();
}

void TGameSession::ShowByTransition(int slot) {
    // The scene changes at once; the system record's transition shows the new one.
    mScreen->Transitions().Start(true, ttInstant, mRandom);
    mScreen->Transitions().Start(false, mScreen->Transition(slot), mRandom);
}

void TGameSession::StartBattle(const TBattleSetup& setup, const std::string& backdrop, const void* requester,
                               bool defeatCase) {
    TKelDataBase& database = mProject->Database();
    mBattle = std::make_unique<TBattleScene>(*this, setup, backdrop);
    mBattleRequester = requester;
    mBattleResultDue = false;
    mDefeatCase = defeatCase;
    mScene = TScene::Battle;
    mBattleLeaving = false;
    // From a map the system record's battle-start erase hides it first; the battle test has none.
    const int erase = mScreen->Transition(tsBattleStartErase);
    mBattleEntering = !mOptions.BattleTest && mWorld->HasMap() && erase != ttNone && !mScreen->Transitions().Erased();
    if (mBattleEntering)
        mScreen->Transitions().Start(true, erase, mRandom);
    else
        ShowByTransition(tsBattleStartShow);
    mAudio.PlaySound(database.System.Sound[ssBattleStart]);
    mAudio.PlayMusic(database.System.Music[smBattle]);
}

bool TGameSession::TakeBattleResult(const void* requester, TBattleResult& result) {
    if (!mBattleResultDue || requester != mBattleRequester || !mBattle)
        return false;
    mBattleResultDue = false;
    mBattleRequester = nullptr;
    result = mBattle->Battle().Result();
    return true;
}

void TGameSession::StepBattle(const TGameInput& input) {
    if (mBattleEntering) {
        mScreen->Transitions().Update();
        if (!mScreen->Transitions().Running()) {
            mBattleEntering = false;
            ShowByTransition(tsBattleStartShow);
        }
        return;
    }
    mBattle->Step(input);
    if (mScene != TScene::Battle || !mBattle->Finished())
        return;
    const TBattleResult result = mBattle->Battle().Result();
    if (mOptions.BattleTest) {
        mScene = TScene::Ended;
        return;
    }
    // A defeat without its own case ends the game: the battle is erased all the same, then the
    // game over screen shows at once.
    const bool gameOver = result == TBattleResult::Defeat && !mDefeatCase;
    if (!mBattleLeaving) {
        // The battle-end erase hides the battle (the scene's step plays it), then the map shows.
        mBattleLeaving = true;
        if (result == TBattleResult::Victory)
            mAudio.PlayMusic(mProject->Database().System.Music[smVictory]);
        const int erase = mScreen->Transition(tsBattleEndErase);
        if (erase != ttNone)
            mScreen->Transitions().Start(true, erase, mRandom);
    }
    if (mScreen->Transitions().Running())
        return;
    mBattleLeaving = false;
    if (gameOver) {
        mScreen->Transitions().Start(false, ttInstant, mRandom);
        GameOver();
        return;
    }
    mBattleResultDue = mBattleRequester != nullptr;
    mScene = TScene::Map;
    ShowByTransition(tsBattleEndShow);
    StartMapMusic();
}

void TGameSession::UseTestParty() {
    TKelDataBase& database = mProject->Database();
    ResetGame();  // a world without a map: the pages' commands find what they look for
    const TKelTestPlayer& party = database.System.TestPlayer;
    if (party.Count() == 0)
        return;  // no test party written: the game's starting party fights
    std::vector<std::int32_t> heroes;
    for (int i = 0; i < std::min(party.Count(), kMaxPartySize); ++i) {
        const TKelTestPlayerItem* member = party.Items(i);
        THeroState* hero = member ? mState->Hero(member->HeroId) : nullptr;
        if (hero == nullptr)
            continue;
        SetHeroLevel(database, *hero, member->Level);
        for (int slot = 0; slot < kHeroSlots; ++slot) {
            const std::int32_t itemId = member->Equipment(slot);
            hero->Equipment[static_cast<std::size_t>(slot)] =
                itemId != 0 && HeroMayEquip(database, *hero, slot, itemId) ? itemId : 0;
        }
        RecoverHero(database, *hero);
        heroes.push_back(member->HeroId);
    }
    mState->ReplaceParty(heroes);
}

bool TGameSession::StartBattleTest(std::int32_t troopId, std::string& error) {
    TKelDataBase& database = mProject->Database();
    if (database.MonGroup.FindByID(troopId) == nullptr) {
        error = "BattleTest: troop " + std::to_string(troopId) + " does not exist in " + mProject->Folder() + "GMK_RT.kdb";
        return false;
    }
    UseTestParty();
    TBattleSetup setup;
    setup.TroopId = troopId;
    std::string backdrop = database.System.BattleTestBackdrop;
    if (backdrop.empty())
        backdrop = TerrainBackdrop(troopId);
    StartBattle(setup, backdrop, nullptr, true);
    return true;
}

std::uint64_t TGameSession::DrawSignature() const {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    HashMix(hash, static_cast<int>(mScene));
    // Windows with moving parts (letters, cursors) and the title change from frame to frame.
    if (mScene != TScene::Map && mScene != TScene::GameOver)
        HashMix(hash, mFrame);
    if (mScene == TScene::Map) {
        HashMix(hash, MessageBusy() || mOverlay ? mFrame : -1);
        mWorld->HashDrawn(hash, static_cast<int>(mFrame / 8));
        mScreen->HashDrawn(hash, mFrame);
        HashMix(hash, mState->TimerShown ? mState->TimerFrames / 60 : -1);
    }
    return hash;
}

std::string TGameSession::SceneName() const {
    switch (mScene) {
    case TScene::Title: return "title";
    case TScene::Map: return mOverlay ? mOverlay->SceneName() : MessageBusy() ? "message" : "map";
    case TScene::GameOver: return "gameover";
    case TScene::Ended: return "ended";
    case TScene::Battle: return "battle";
    case TScene::Save: return "save";
    case TScene::Load: return "load";
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
        if (mScreen)
            mScreen->Transitions().Apply(screen);
        break;
    case TScene::Battle:
        if (!mBattleEntering) {
            mBattle->Draw(screen);
            break;
        }
        [[fallthrough]];  // the map stays while the battle's erase hides it
    case TScene::Map:
        if (mOverlay && !mOverlay->OverMap()) {
            mOverlay->Draw(screen);
            break;
        }
        mMessages->SetHeroScreenY(mWorld->Hero().PixelY() - mWorld->CameraY());
        mWorld->Draw(screen, static_cast<int>(mFrame / 8));
        mScreen->Draw(screen, *mWorld);
        DrawTimer(*mSkin, screen, *mState);
        mMessages->Draw(screen);
        if (mOverlay)
            mOverlay->Draw(screen);
        break;
    case TScene::GameOver:
        screen.DrawSheet(0, 0, TRect{0, 0, mPicture->Width(), mPicture->Height()}, *mPicture);
        break;
    case TScene::Ended: break;
    case TScene::Save:
    case TScene::Load: mSaveScene->Draw(screen); break;
    }
}

}  // namespace quillon::runtime
