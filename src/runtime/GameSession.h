// The game's inner state as TGame runs it: the scenes (title, map, game over, the battle test's
// notice), the project, the game state, the map world, the message window, the interpreters of
// the map's events and of the common events, and the state JSON of the headless mode.
#pragma once

#include "runtime/Game.h"
#include "runtime/GameMessage.h"
#include "runtime/GameRandom.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quillon {
class TOrlenBoard;
class TOrlenSheet;
class TKelEventScriptList;
}  // namespace quillon

namespace quillon::runtime {

class TGameProject;
class TGameState;
class TGameWorld;
class TGameCharacter;
class TGameSkin;
class TGameCommandWindow;
class TInterpreter;
class TBattleScene;
struct TBattleSetup;
enum class TBattleResult;
class TGameScreen;
struct TGameMapState;
struct TMapPlace;
class TGameOverlay;

class TGameSaveScene;
struct TSaveGame;
struct TSavedFrame;

enum class TScene { Title, Map, GameOver, Ended, Battle, Save, Load };

// Character IDs of the commands.
inline constexpr std::int32_t kCharacterHero = 10001;
inline constexpr std::int32_t kCharacterThisEvent = 10005;

class TGameSession : public IMessageSource {
public:
    // Opens the project and starts at the title, or at the party's start position.
    static std::unique_ptr<TGameSession> Open(const TGameOptions& options, IGameAudio& audio, std::string& error);
    ~TGameSession() override;

    void Step(const TGameInput& input);
    void Draw(TOrlenBoard& screen);
    std::string StateJson() const;
    bool Ended() const { return mScene == TScene::Ended; }
    int ExitCode() const { return mExitCode; }
    std::int64_t Frame() const { return mFrame; }
    TScene Scene() const { return mScene; }
    // The scene's name in the state JSON ("title", "map", "message", "gameover", "battle" ...).
    std::string SceneName() const;

    TGameProject& Project() { return *mProject; }
    TGameState& State() { return *mState; }
    TGameWorld& World() { return *mWorld; }
    IGameAudio& Audio() { return mAudio; }
    TGameRandom& Random() { return mRandom; }
    const TGameOptions& Options() const { return mOptions; }
    // The screen's effects and pictures, and the window skin.
    TGameScreen& Screen() { return *mScreen; }
    const TGameScreen& Screen() const { return *mScreen; }
    TGameSkin& Skin() { return *mSkin; }
    TGameMapState& MapState() { return *mMapState; }
    // The buttons of the step being run.
    const TGameInput& Input() const { return mInput; }
    void SetInput(const TGameInput& input) { mInput = input; }  // scripts run outside Step (tests)
    // The hero boards the vehicle he faces, or leaves the one he rides (with the vehicles' music).
    // False when neither can be done here.
    bool ToggleRide();
    // What the picture depends on: equal values draw equal frames.
    std::uint64_t DrawSignature() const;

    // Starts a new game at the party's start position (or the options' start place).
    bool NewGame(std::string& error);
    // What the commands ask of the game.
    bool Teleport(std::int32_t mapId, int x, int y, std::string& error);
    // Whether a place is a cell of a map of the project; error names the map file and the problem.
    bool PlaceExists(const TMapPlace& place, std::string& error) const;
    // Stops the scripts of the map's parallel events (they start again unless stopped for good).
    void StopMapParallels();
    void GameOver();
    // The party or its leader's walk graphic changed: the hero on the map follows.
    void PartyChanged() { SetHeroGraphic(); }
    void ToTitle();
    // A character of the commands: the hero, this event, or an event of the map; null when none.
    TGameCharacter* Character(std::int32_t id, std::int32_t thisEvent);
    const TKelEventScriptList* CommonEventScript(std::int32_t id) const;
    // Runs a map event's page script as the main script would run it (tests).
    void StartEvent(std::int32_t eventId, bool byDecision);
    bool MainRunning() const;

    // Saving and loading (slots 1..15, "Save01.ksv" … in the project folder).
    // The save screen over the current scene (the main menu's Save, "Call Save Menu"); it closes
    // back to that scene after a save or on cancel.
    void OpenSaveScreen();
    // The load screen (the title's Continue); cancel goes back to the title.
    void OpenLoadScreen();
    // Saves the game into a slot now; on failure answers false with a message naming the file
    // (the slot's previous file stays as it was).
    bool SaveGame(int slot, std::string& error);
    // Continues from a slot; on failure answers false with a message naming the file, and the
    // game goes on as it was.
    bool LoadGame(int slot, std::string& error);
    // Whether the game lets the player save now ("Enable/Disable Save").
    bool SaveAllowed() const;
    // The slot saved to or loaded from last (0: none yet in this game).
    int LastSaveSlot() const { return mLastSlot; }
    // Frames played in this game (the title and the screens before a game excluded).
    std::int32_t PlayFrames() const { return mPlayFrames; }
    TGameSaveScene* SaveScene() { return mSaveScene.get(); }

    // The message window.
    TGameMessageWindow& Messages() { return *mMessages; }
    bool MessageBusy() const;
    std::int32_t ChoiceResult() const;
    std::int32_t NumberResult() const;

    // Battles. StartBattle leaves the map for the battle scene; requester (the script line that
    // asked) later takes the result once with TakeBattleResult. defeatCase: a defeat goes on in the
    // script instead of ending the game.
    void StartBattle(const TBattleSetup& setup, const std::string& backdrop, const void* requester, bool defeatCase);
    bool InBattle() const { return mScene == TScene::Battle; }
    bool TakeBattleResult(const void* requester, TBattleResult& result);
    // The battle under way, or the last one (null before the first).
    TBattleScene* Battle() { return mBattle.get(); }
    const TBattleScene* Battle() const { return mBattle.get(); }
    // The battle test: the editor's test party fights a troop, then the game ends. Answers false
    // (with error) when the troop does not exist.
    bool StartBattleTest(std::int32_t troopId, std::string& error);
    // A new game state with the editor's test party (the battle test and the battle lab).
    void UseTestParty();
    // The backdrop of the terrain under the hero (or of the first terrain the troop is met on).
    std::string TerrainBackdrop(std::int32_t troopId) const;

    // One line on standard error for each command code that is not run yet.
    void NotRunYet(std::int32_t code);
    // A problem met while playing (a teleport to a missing map ...): one line on standard error.
    void Report(const std::string& message);

    // The screens shown over the map (the menu, shops, inns, the name entry) and the window look.
    // Opens a screen; opener is the script that waits for it (null: none). Refused (false) while
    // another screen is open.
    bool OpenOverlay(std::unique_ptr<TGameOverlay> screen, const TInterpreter* opener);
    bool OverlayOpen() const { return mOverlay != nullptr; }
    // Once the screen a script opened is done: whether it succeeded, answered once.
    std::optional<bool> TakeOverlayResult(const TInterpreter* opener);
    // The map's music again (after the inn's).
    void RestoreMapMusic() { StartMapMusic(); }

    // IMessageSource.
    std::int32_t Variable(int id) const override;
    std::int32_t Money() const override;
    std::string HeroName(int heroId) const override;
    std::string PartyMemberName(int slot) const override;
    std::string MoneyUnit() const override;

private:
    TGameSession(const TGameOptions& options, IGameAudio& audio);
    void EnterTitle();
    // A new game's state, a world without a map and the screen's effects.
    void ResetGame();
    // Puts back the system music, sounds and system graphic the database opened with (a new game
    // forgets what the commands of an earlier one changed).
    void RestoreSystemSettings();
    void StepTitle(const TGameInput& input);
    void StepMap(const TGameInput& input);
    void StepGameOver(const TGameInput& input);
    void StepBattle(const TGameInput& input);
    void ShowByTransition(int slot);
    void CheckEncounter();
    bool StepOverlay(const TGameInput& input);
    void StartMapMusic();
    void SetHeroGraphic();
    void RunParallels();
    void StartMainScripts(const TGameInput& input);
    void PlaceVehicles();
    void ResetScreen();
    void LoadScreenPicture(const std::string& kind, const std::string& name);
    void StepSaveScene(const TGameInput& input);
    std::unique_ptr<TSaveGame> MakeSave();
    bool ApplySave(const TSaveGame& save, std::string& error);
    bool NameFrame(const TKelEventScriptList* script, std::int32_t mapId, std::int32_t eventId, TSavedFrame& frame) const;
    const TKelEventScriptList* FindFrameScript(const TSavedFrame& frame) const;
    const std::string& GameTitle();
    std::uint32_t GameDatabaseCheck();
    bool AnySaveLoadable();

    TGameOptions mOptions;
    IGameAudio& mAudio;
    TGameRandom mRandom;
    std::unique_ptr<TGameProject> mProject;
    std::unique_ptr<TGameState> mState;
    std::unique_ptr<TGameWorld> mWorld;
    std::unique_ptr<TGameSkin> mSkin;
    struct TSystemStart;
    std::unique_ptr<TSystemStart> mSystemStart;
    std::unique_ptr<TGameMessageWindow> mMessages;
    std::unique_ptr<TGameCommandWindow> mTitleMenu;
    std::unique_ptr<TOrlenSheet> mPicture;  // the title or game over picture
    std::unique_ptr<TInterpreter> mMain;
    std::unique_ptr<TGameScreen> mScreen;
    std::vector<std::unique_ptr<TInterpreter>> mCommonParallels;  // by common event index
    TScene mScene = TScene::Title;
    int mExitCode = 0;
    std::int64_t mFrame = 0;
    std::set<std::int32_t> mWarned;
    std::unique_ptr<TBattleScene> mBattle;
    const void* mBattleRequester = nullptr;
    bool mBattleResultDue = false;
    bool mDefeatCase = false;
    // The two halves of the battle's transitions: the map erased before the battle shows, the
    // battle erased before the map shows.
    bool mBattleEntering = false;
    bool mBattleLeaving = false;
    int mEncounterLeft = -1;  // steps until the next random battle (-1: not drawn yet)
    int mLastHeroX = -1, mLastHeroY = -1;
    std::int32_t mLastMapId = 0;
    std::unique_ptr<TGameMapState> mMapState;
    TGameInput mInput;
    // Saving.
    std::unique_ptr<TGameSaveScene> mSaveScene;
    TScene mSceneBeforeSave = TScene::Map;
    std::int32_t mPlayFrames = 0;
    int mLastSlot = 0;
    std::string mGameTitle;
    std::uint32_t mDatabaseCheck = 0;
    bool mSaveKeysKnown = false;  // mGameTitle and mDatabaseCheck are read
    std::unique_ptr<TGameOverlay> mOverlay;
    const TInterpreter* mOverlayOpener = nullptr;
    const TInterpreter* mResultFor = nullptr;
    bool mOverlaySucceeded = false;
};

}  // namespace quillon::runtime
