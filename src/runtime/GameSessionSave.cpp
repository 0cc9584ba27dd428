// The session's saving and loading: what a save takes from the game, how a save is put back,
// and the save and load screens.
#include "data/LD_CmnEvent.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "data/LD_MoveRoute.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"
#include "project/ProjectSettings.h"
#include "runtime/GameProject.h"
#include "runtime/GameSave.h"
#include "runtime/GameSaveScene.h"
#include "runtime/GameSession.h"
#include "runtime/GameMapState.h"
#include "runtime/GameScreen.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <exception>

namespace quillon::runtime {

namespace {

// Vocabulary fields of the screens.
constexpr int kVocabularySaveHelp = 146;
constexpr int kVocabularyLoadHelp = 147;
constexpr int kVocabularyFile = 148;
constexpr int kVocabularyLevelShort = 128;
constexpr int kVocabularyHpShort = 129;
// System record sounds: 0 cursor, 1 decide, 2 cancel, 3 buzzer.
constexpr const char* kSaveFailedNotice = "The game could not be saved.";
constexpr const char* kLoadFailedNotice = "The save could not be loaded.";
// The farthest map camera a picture that moves with the map may remember (pixels; maps are at
// most 999 cells of 16 pixels).
constexpr int kMaxSavedCamera = 999 * 16;
// The longest change a save puts back (a command's longest: 100 seconds).
constexpr int kMaxSavedFrames = 100 * 60;
// The most steps between random battles (the rate's), and to the next one (a draw's).
constexpr int kMaxEncounterSteps = 9999;
constexpr int kMaxEncounterDistance = kMaxEncounterSteps * 150;

std::string Word(TKelDataBase& database, int field) {
    const std::string* text = database.Vocabulary.Field(field);
    return text ? *text : std::string();
}

// A picture's values in the save's order: x, y, magnification, transparency, red, green, blue, chroma.
std::array<double, 8> PictureValues(const TPictureValues& v) {
    return {v.X, v.Y, v.Magnification, v.Transparency, v.Red, v.Green, v.Blue, v.Chroma};
}
TPictureValues PictureValues(const std::array<double, 8>& a) {
    return TPictureValues{a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]};
}

void SaveScreen(const TGameScreen& screen, TSaveGame& save) {
    TSavedScreen& s = save.Screen;
    s.ToneNow = screen.ToneNow();
    const TScreenTone& target = screen.ToneTarget();
    s.ToneTarget = {target.Red, target.Green, target.Blue, target.Gray};
    s.ToneFrames = screen.ToneFramesLeft();
    s.WeatherKind = screen.Weather().Kind();
    s.WeatherStrength = screen.Weather().Strength();
    s.WeatherDrops = screen.Weather().DropValues();
    for (int slot = 0; slot < kTransitionSlots; ++slot)
        s.Transitions.push_back(screen.Transition(slot));
    for (int number = 1; number <= kPictureCount; ++number)
        if (const TGamePicture* p = screen.Pictures().Picture(number))
            save.Pictures.push_back(TSavedPicture{number, p->Name, p->MoveWithMap, p->TransparentColor,
                                                  PictureValues(p->Now), PictureValues(p->Target), p->FramesLeft,
                                                  p->Effect, p->Strength, p->Angle, p->Phase, p->CameraX, p->CameraY});
}

void RestoreScreen(const TSaveGame& save, TGameScreen& screen) {
    if (save.Has(kSectionScreen)) {
        const TSavedScreen& s = save.Screen;
        const TScreenTone target{s.ToneTarget[0], s.ToneTarget[1], s.ToneTarget[2], s.ToneTarget[3]};
        screen.RestoreTone(s.ToneNow, target, std::clamp(s.ToneFrames, 0, kMaxSavedFrames));
        screen.Weather().Set(s.WeatherKind, s.WeatherStrength);
        screen.Weather().RestoreDrops(s.WeatherDrops);
        for (std::size_t slot = 0; slot < s.Transitions.size() && slot < kTransitionSlots; ++slot)
            screen.SetTransition(static_cast<int>(slot), s.Transitions[slot]);
    }
    for (const TSavedPicture& saved : save.Pictures) {
        TGamePicture picture;
        picture.Name = saved.Name;
        picture.MoveWithMap = saved.MoveWithMap;
        picture.TransparentColor = saved.TransparentColor;
        picture.Now = PictureValues(saved.Now);
        picture.Target = PictureValues(saved.Target);
        picture.FramesLeft = std::clamp(saved.FramesLeft, 0, kMaxSavedFrames);
        picture.Effect = saved.Effect;
        picture.Strength = saved.Strength;
        picture.Angle = saved.Angle;
        picture.Phase = saved.Phase;
        picture.CameraX = std::clamp(saved.CameraX, -kMaxSavedCamera, kMaxSavedCamera);
        picture.CameraY = std::clamp(saved.CameraY, -kMaxSavedCamera, kMaxSavedCamera);
        screen.Pictures().Restore(saved.Number, picture);
    }
}

// The routes scripts set on the hero and the map's events, as far as they ran.
void SaveRoutes(const TGameWorld& world, TSaveGame& save) {
    const auto keep = [&](const TGameCharacter& character, std::int32_t id) {
        const TRouteRun& route = character.Route();
        if (!route.Active || !route.Forced)
            return;
        TMemoryStream bytes;
        SaveMoveRouteItems(bytes, route.Items);
        save.Routes.push_back(TSavedRoute{id, bytes.TakeBytes(), static_cast<std::int32_t>(route.Index), route.Repeat,
                                          route.Skippable, route.Frequency});
    };
    keep(world.Hero(), 0);
    for (const auto& event : world.Events())
        keep(*event, event->Id());
}

// Puts the saved routes back on their characters; a damaged route is left out with a report.
void RestoreRoutes(const TSaveGame& save, TGameWorld& world, TGameSession& session) {
    for (const TSavedRoute& saved : save.Routes) {
        TGameCharacter* character = saved.Character == 0 ? static_cast<TGameCharacter*>(&world.Hero())
                                                          : world.EventById(saved.Character);
        if (character == nullptr)
            continue;
        TRouteRun route;
        try {
            TByteViewStream stream(saved.Commands);
            LoadMoveRouteItems(stream, route.Items);
        } catch (const std::exception&) {
            session.Report("a saved move route is damaged; it is left out");
            continue;
        }
        route.Index = static_cast<std::size_t>(std::max(saved.Index, 0));
        route.Repeat = saved.Repeat;
        route.Skippable = saved.Skippable;
        route.Frequency = saved.Frequency;
        route.Forced = true;
        route.Active = true;
        character->RestoreRoute(std::move(route));
    }
}

}  // namespace

const std::string& TGameSession::GameTitle() {
    if (!mSaveKeysKnown) {
        mGameTitle = ReadGameTitle(mProject->Folder());
        mDatabaseCheck = DatabaseCheck(mProject->Database());
        mSaveKeysKnown = true;
    }
    return mGameTitle;
}

std::uint32_t TGameSession::GameDatabaseCheck() {
    GameTitle();
    return mDatabaseCheck;
}

bool TGameSession::AnySaveLoadable() {
    const std::vector<TSaveSlot> slots = ListSaveSlots(mProject->Folder(), GameTitle(), GameDatabaseCheck());
    for (const TSaveSlot& slot : slots)
        if (slot.Problem == TSaveProblem::None)
            return true;
    return false;
}

bool TGameSession::SaveAllowed() const { return mMapState && mMapState->SaveEnabled; }

void TGameSession::OpenSaveScreen() {
    TKelDataBase& database = mProject->Database();
    if (mScene != TScene::Save && mScene != TScene::Load)
        mSceneBeforeSave = mScene;
    mSaveScene = std::make_unique<TGameSaveScene>(
        *mSkin, true,
        TSaveSceneWords{Word(database, kVocabularySaveHelp), Word(database, kVocabularyFile),
                        Word(database, kVocabularyLevelShort), Word(database, kVocabularyHpShort)},
        ListSaveSlots(mProject->Folder(), GameTitle(), GameDatabaseCheck()), mLastSlot > 0 ? mLastSlot : 1);
    mScene = TScene::Save;
}

void TGameSession::OpenLoadScreen() {
    TKelDataBase& database = mProject->Database();
    mSceneBeforeSave = TScene::Title;
    mSaveScene = std::make_unique<TGameSaveScene>(
        *mSkin, false,
        TSaveSceneWords{Word(database, kVocabularyLoadHelp), Word(database, kVocabularyFile),
                        Word(database, kVocabularyLevelShort), Word(database, kVocabularyHpShort)},
        ListSaveSlots(mProject->Folder(), GameTitle(), GameDatabaseCheck()), mLastSlot > 0 ? mLastSlot : 1);
    mScene = TScene::Load;
}

void TGameSession::StepSaveScene(const TGameInput& input) {
    const TKelSystem& system = mProject->Database().System;
    TGameSaveScene& scene = *mSaveScene;
    switch (scene.Update(input)) {
    case TMenuEvent::Moved: mAudio.PlaySound(system.Sound[ssCursor]); break;
    case TMenuEvent::Refused: mAudio.PlaySound(system.Sound[ssBuzzer]); break;
    case TMenuEvent::Cancelled:
        mAudio.PlaySound(system.Sound[ssCancel]);
        mScene = mSceneBeforeSave;
        mSaveScene.reset();
        break;
    case TMenuEvent::Decided: {
        std::string error;
        const int slot = scene.Slot();
        if (scene.Saving() ? SaveGame(slot, error) : LoadGame(slot, error)) {
            mAudio.PlaySound(system.Sound[ssDecide]);
            if (scene.Saving())
                mScene = mSceneBeforeSave;
            mSaveScene.reset();
        } else {
            Report(error);
            mAudio.PlaySound(system.Sound[ssBuzzer]);
            scene.SetNotice(scene.Saving() ? kSaveFailedNotice : kLoadFailedNotice);
        }
        break;
    }
    default: break;
    }
}

bool TGameSession::NameFrame(const TKelEventScriptList* script, std::int32_t mapId, std::int32_t eventId,
                             TSavedFrame& frame) const {
    frame.MapId = mapId;
    frame.EventId = eventId;
    if (eventId != 0) {
        TGameEvent* event = mWorld->HasMap() && mapId == mWorld->MapId() ? mWorld->EventById(eventId) : nullptr;
        if (event == nullptr)
            return false;
        const TKelEventItem& record = event->Record();
        for (int i = 0; i < record.Pages.Count(); ++i)
            if (&record.Pages.Items(i)->Script == script) {
                frame.PageId = record.Pages.Items(i)->ID;
                return true;
            }
        return false;
    }
    const TKelCommonEvent& common = mProject->Database().CommonEvent;
    for (int i = 0; i < common.Count(); ++i)
        if (&common.Items(i)->Script == script) {
            frame.CommonId = common.Items(i)->ID;
            return true;
        }
    return false;
}

const TKelEventScriptList* TGameSession::FindFrameScript(const TSavedFrame& frame) const {
    if (frame.EventId == 0)
        return CommonEventScript(frame.CommonId);
    if (!mWorld->HasMap() || frame.MapId != mWorld->MapId())
        return nullptr;
    const TGameEvent* event = mWorld->EventById(frame.EventId);
    const TKelEventPageItem* page = event ? event->Record().Pages.FindByID(frame.PageId) : nullptr;
    return page ? &page->Script : nullptr;
}

std::unique_ptr<TSaveGame> TGameSession::MakeSave() {
    auto save = std::make_unique<TSaveGame>();
    save->Title = GameTitle();
    save->DatabaseCheck = GameDatabaseCheck();
    const TGameState& state = *mState;
    if (!state.Party().empty())
        if (const THeroState* leader = state.Hero(state.Party().front()))
            save->Summary = TSaveSummary{leader->FaceSet, leader->FaceIndex, leader->Name, leader->Level, leader->Hp,
                                         mPlayFrames};
    save->Summary.PlayFrames = mPlayFrames;
    save->Money = state.Money();
    save->TimerFrames = state.TimerFrames;
    save->TimerRunning = state.TimerRunning;
    save->SaveDisabled = !mMapState->SaveEnabled;
    save->PlayFrames = mPlayFrames;
    save->Switches.assign(state.Switches().begin(), state.Switches().end());
    save->Variables.assign(state.Variables().begin(), state.Variables().end());
    save->Items.assign(state.Items().begin(), state.Items().end());
    save->ItemUses.assign(state.ItemUses().begin(), state.ItemUses().end());
    const TKelPlayer& heroes = mProject->Database().Player;
    for (int i = 0; i < heroes.Count(); ++i)
        if (const THeroState* hero = state.Hero(heroes.Items(i)->ID))
            save->Heroes.push_back(*hero);
    save->Party = state.Party();
    save->MapId = mWorld->MapId();
    save->HeroX = mWorld->Hero().X;
    save->HeroY = mWorld->Hero().Y;
    save->HeroDirection = mWorld->Hero().Direction;
    for (const auto& event : mWorld->Events())
        save->Events.push_back(
            TSavedEvent{event->Id(), event->X, event->Y, event->Direction, event->Erased, event->MotionValues()});
    save->HeroMotion = mWorld->Hero().MotionValues();

    const auto keep = [&](const TInterpreter* in, std::int32_t kind, std::int32_t owner) {
        if (in == nullptr || !in->Running())
            return;
        TSavedScript script;
        script.Kind = kind;
        script.OwnerId = owner;
        script.ByDecision = in->StartedByDecision();
        script.WaitFrames = in->WaitFrames();
        for (const TInterpreter::TFrameState& f : in->Frames()) {
            TSavedFrame frame;
            frame.Pc = f.Pc;
            if (!NameFrame(f.Script, f.MapId, f.EventId, frame)) {
                Report("a running script of another map is not saved");
                return;
            }
            script.Frames.push_back(frame);
        }
        save->Scripts.push_back(std::move(script));
    };
    SaveScreen(*mScreen, *save);
    for (int kind = 0; kind < kVehicleCount; ++kind) {
        const TGameVehicle& v = mWorld->Vehicle(kind);
        save->Vehicles.push_back(TSavedVehicle{kind, v.MapId, v.X, v.Y, v.Direction, v.CharSet, v.CharIndex});
    }
    save->MapState = *mMapState;
    save->MapState.Playing = mMapState->NowPlaying(mAudio);
    save->Riding = mWorld->Riding();
    save->TimerShown = state.TimerShown;
    save->TimerInBattle = state.TimerInBattle;
    save->EncounterLeft = mEncounterLeft;
    const TKelSystem& system = mProject->Database().System;
    for (std::size_t i = 0; i < save->System.Music.size() && i < system.Music.size(); ++i)
        save->System.Music[i] = TMusicSettings::Of(system.Music[i]);
    for (std::size_t i = 0; i < save->System.Sounds.size() && i < system.Sound.size(); ++i)
        save->System.Sounds[i] = TMusicSettings::Of(system.Sound[i]);
    save->System.SystemGraphic = mSkin->SystemGraphic();
    save->System.Wallpaper = mSkin->Wallpaper();
    save->System.FontStyle = mSkin->FontStyle();
    save->RandomState = mRandom.Position();
    save->MapLook = mWorld->SavedLook();
    SaveRoutes(*mWorld, *save);
    save->Effects = mScreen->SavedEffects(*mWorld);
    for (int section = 1; section <= kLastSection; ++section)
        save->Sections.push_back(section);

    keep(mMain.get(), skMain, 0);
    for (const auto& event : mWorld->Events())
        keep(event->Parallel(), skEventParallel, event->Id());
    const TKelCommonEvent& common = mProject->Database().CommonEvent;
    for (std::size_t i = 0; i < mCommonParallels.size() && i < static_cast<std::size_t>(common.Count()); ++i)
        keep(mCommonParallels[i].get(), skCommonParallel, common.Items(static_cast<int>(i))->ID);
    return save;
}

bool TGameSession::SaveGame(int slot, std::string& error) {
    if (slot < 1 || slot > kSaveSlots || !mWorld || !mWorld->HasMap()) {
        error = "there is no game to save in slot " + std::to_string(slot);
        return false;
    }
    const std::string path = mProject->Folder() + SaveFileName(slot);
    try {
        WriteFileAtomic(path, WriteSaveGame(*MakeSave()));
    } catch (const std::exception& e) {
        error = SaveFileName(slot) + ": the game could not be saved: " + e.what();
        return false;
    }
    mLastSlot = slot;
    return true;
}

bool TGameSession::LoadGame(int slot, std::string& error) {
    const std::string name = slot >= 1 && slot <= kSaveSlots ? SaveFileName(slot) : "save slot " + std::to_string(slot);
    if (slot < 1 || slot > kSaveSlots) {
        error = name + ": there is no such save slot";
        return false;
    }
    const std::string path = mProject->Folder() + name;
    if (!FileExists(path)) {
        error = name + ": there is no save in this slot";
        return false;
    }
    TSaveRead read;
    try {
        read = ReadSaveGame(ReadWholeFile(path, kSaveFileLimit), GameTitle(), GameDatabaseCheck());
    } catch (const std::exception& e) {
        error = name + ": " + e.what();
        return false;
    }
    if (read.Problem != TSaveProblem::None) {
        error = name + ": " + read.Message;
        return false;
    }
    if (!ApplySave(read.Game, error)) {
        error = name + ": " + error;
        return false;
    }
    mLastSlot = slot;
    return true;
}

bool TGameSession::ApplySave(const TSaveGame& save, std::string& error) {
    // The new game is made beside the old one, which stays until the save has been put back whole.
    TKelDataBase& database = mProject->Database();
    auto state = std::make_unique<TGameState>(database);
    auto world = std::make_unique<TGameWorld>(*mProject, *state, mRandom, mAudio, mOptions.TestPlay);
    if (save.Has(kSectionState)) {
        state->SetMoney(save.Money);
        state->TimerFrames = std::max(save.TimerFrames, 0);
        state->TimerRunning = save.TimerRunning;
    }
    for (const std::int32_t id : save.Switches)
        state->SetSwitch(id, true);
    for (const auto& [id, value] : save.Variables)
        state->SetVariable(id, value);
    for (const auto& [id, count] : save.Items)
        state->SetItemCount(id, count);
    for (const auto& [id, left] : save.ItemUses)
        state->SetItemUsesLeft(id, left);
    for (const THeroState& saved : save.Heroes)
        if (THeroState* hero = state->Hero(saved.Id))
            *hero = saved;
    if (save.Has(kSectionParty))
        state->ReplaceParty(save.Party);
    if (!world->Enter(save.MapId, save.HeroX, save.HeroY, error))
        return false;

    mMain->Stop();
    mCommonParallels.clear();
    mWorld = std::move(world);
    mState = std::move(state);
    // What an older save lacks starts afresh, as in a new game.
    mMapState = std::make_unique<TGameMapState>();
    RestoreSystemSettings();
    if (save.Has(kSectionMapState)) {
        *mMapState = save.MapState;
        mMapState->EncounterSteps = std::clamp(mMapState->EncounterSteps, 0, kMaxEncounterSteps);
        mState->TimerShown = save.TimerShown;
        mState->TimerInBattle = save.TimerInBattle;
        mEncounterLeft = std::clamp(save.EncounterLeft, -1, kMaxEncounterDistance);
    }
    mMapState->SaveEnabled = !save.SaveDisabled;
    mState->TimerFrames = std::min(mState->TimerFrames, TGameState::kMaxTimerSeconds * 60);
    if (save.Has(kSectionMapLook))
        mWorld->RestoreLook(save.MapLook);
    ResetScreen();
    RestoreScreen(save, *mScreen);
    if (save.Has(kSectionEffects))
        mScreen->RestoreEffects(save.Effects, *mWorld);
    PlaceVehicles();
    for (const TSavedVehicle& saved : save.Vehicles) {
        if (saved.Kind < 0 || saved.Kind >= kVehicleCount)
            continue;
        TGameVehicle& vehicle = mWorld->Vehicle(saved.Kind);
        std::string placeError;
        if (saved.MapId > 0 && !PlaceExists(TMapPlace{saved.MapId, saved.X, saved.Y}, placeError)) {
            Report("a saved vehicle's place is not on a map (" + placeError + "); it stays at its start");
            continue;
        }
        vehicle.MapId = std::max(saved.MapId, 0);
        vehicle.PlaceAt(saved.X, saved.Y);
        vehicle.Direction = saved.Direction & 3;
        vehicle.CharSet = saved.CharSet;
        vehicle.CharIndex = std::clamp(saved.CharIndex, 0, 7);
        mWorld->UseCharSet(vehicle.CharSet);
    }
    if (save.Riding >= 0 && save.Riding < kVehicleCount)
        mWorld->Board(save.Riding);
    if (save.Has(kSectionSystem)) {
        TKelSystem& system = database.System;
        for (std::size_t i = 0; i < save.System.Music.size() && i < system.Music.size(); ++i)
            save.System.Music[i].To(system.Music[i]);
        for (std::size_t i = 0; i < save.System.Sounds.size() && i < system.Sound.size(); ++i)
            save.System.Sounds[i].To(system.Sound[i]);
        if (save.System.SystemGraphic != mSkin->SystemGraphic() || save.System.Wallpaper != mSkin->Wallpaper() ||
            save.System.FontStyle != mSkin->FontStyle())
            mSkin->SetSystemGraphic(save.System.SystemGraphic, save.System.Wallpaper,
                                    std::clamp(save.System.FontStyle, -1, 1));
    }
    mPlayFrames = std::max(save.PlayFrames, 0);
    mWorld->Hero().Direction = save.HeroDirection & 3;
    for (const TSavedEvent& saved : save.Events) {
        TGameEvent* event = mWorld->EventById(saved.Id);
        if (event == nullptr || !mWorld->InMap(saved.X, saved.Y))
            continue;
        const int oldX = event->X;
        const int oldY = event->Y;
        event->PlaceAt(saved.X, saved.Y);
        event->Direction = saved.Direction & 3;
        event->Erased = saved.Erased;
        if (event->Erased)
            event->Refresh(*mState, *mWorld);  // an erased event has no page
        mWorld->CharacterMoved(*event, oldX, oldY);
    }
    SetHeroGraphic();
    mWorld->RefreshPages();
    // The steps and waits under way, once the pages have set the events' own movement.
    for (const TSavedEvent& saved : save.Events)
        if (TGameEvent* event = mWorld->EventById(saved.Id); event != nullptr && event->X == saved.X && event->Y == saved.Y)
            event->RestoreMotion(saved.Motion);
    mWorld->Hero().RestoreMotion(save.HeroMotion);
    RestoreRoutes(save, *mWorld, *this);
    if (save.Has(kSectionMapState)) {
        // The steps to the next battle count on from here, as they did when the game was saved.
        mLastMapId = mWorld->MapId();
        mLastHeroX = mWorld->Hero().X;
        mLastHeroY = mWorld->Hero().Y;
    }

    const TKelCommonEvent& common = database.CommonEvent;
    for (const TSavedScript& script : save.Scripts) {
        std::vector<TInterpreter::TFrameState> frames;
        for (const TSavedFrame& frame : script.Frames) {
            const TKelEventScriptList* found = FindFrameScript(frame);
            if (found == nullptr)
                break;  // a script the game no longer holds ends there
            frames.push_back(TInterpreter::TFrameState{found, frame.Pc, frame.EventId, frame.MapId});
        }
        if (frames.empty())
            continue;
        TInterpreter* in = nullptr;
        if (script.Kind == skMain) {
            in = mMain.get();
        } else if (script.Kind == skEventParallel) {
            if (TGameEvent* event = mWorld->EventById(script.OwnerId)) {
                event->SetParallel(std::make_unique<TInterpreter>(*this, true));
                in = event->Parallel();
            }
        } else if (script.Kind == skCommonParallel) {
            for (int i = 0; i < common.Count(); ++i)
                if (common.Items(i)->ID == script.OwnerId) {
                    mCommonParallels.resize(static_cast<std::size_t>(common.Count()));
                    mCommonParallels[static_cast<std::size_t>(i)] = std::make_unique<TInterpreter>(*this, true);
                    in = mCommonParallels[static_cast<std::size_t>(i)].get();
                }
        }
        if (in != nullptr)
            in->Restore(frames, script.ByDecision, script.WaitFrames, mWorld->MapHandle());
    }
    mScene = TScene::Map;
    if (save.Has(kSectionMapState))
        mMapState->PlayMusic(mAudio, save.MapState.Playing);
    else
        StartMapMusic();
    if (save.Has(kSectionRandom))
        mRandom.SetPosition(save.RandomState);
    return true;
}

}  // namespace quillon::runtime
