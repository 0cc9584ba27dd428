// The session's saving and loading: what a save takes from the game, how a save is put back,
// and the save and load screens.
#include "data/LD_CmnEvent.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "platform/FileUtils.h"
#include "project/ProjectSettings.h"
#include "runtime/GameProject.h"
#include "runtime/GameSave.h"
#include "runtime/GameSaveScene.h"
#include "runtime/GameSession.h"
#include "runtime/GameMapState.h"
#include "runtime/GameState.h"
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
enum TSystemSound { ssCursor = 0, ssDecide = 1, ssCancel = 2, ssBuzzer = 3 };
constexpr const char* kSaveFailedNotice = "The game could not be saved.";
constexpr const char* kLoadFailedNotice = "The save could not be loaded.";

std::string Word(TKelDataBase& database, int field) {
    const std::string* text = database.Vocabulary.Field(field);
    return text ? *text : std::string();
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
        save->Events.push_back(TSavedEvent{event->Id(), event->X, event->Y, event->Direction, event->Erased});

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
    // What the save does not hold starts afresh, as in a new game: the map's permissions (but the
    // save flag), the screen's effects and pictures, the vehicles at their start places.
    mMapState = std::make_unique<TGameMapState>();
    mMapState->SaveEnabled = !save.SaveDisabled;
    ResetScreen();
    PlaceVehicles();
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
    StartMapMusic();
    return true;
}

}  // namespace quillon::runtime
