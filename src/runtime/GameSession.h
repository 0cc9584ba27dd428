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
class TGameOverlay;

enum class TScene { Title, Map, GameOver, Notice, Ended };

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
    // The scene's name in the state JSON ("title", "map", "message", "gameover", "notice").
    std::string SceneName() const;

    TGameProject& Project() { return *mProject; }
    TGameState& State() { return *mState; }
    TGameWorld& World() { return *mWorld; }
    IGameAudio& Audio() { return mAudio; }
    TGameRandom& Random() { return mRandom; }
    const TGameOptions& Options() const { return mOptions; }

    // Starts a new game at the party's start position (or the options' start place).
    bool NewGame(std::string& error);
    // What the commands ask of the game.
    bool Teleport(std::int32_t mapId, int x, int y, std::string& error);
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

    // The message window.
    TGameMessageWindow& Messages() { return *mMessages; }
    bool MessageBusy() const;
    std::int32_t ChoiceResult() const;
    std::int32_t NumberResult() const;

    // One line on standard error for each command code that is not run yet.
    void NotRunYet(std::int32_t code);
    // A problem met while playing (a teleport to a missing map ...): one line on standard error.
    void Report(const std::string& message);

    // The screens shown over the map (the menu, shops, inns, the name entry) and the window look.
    TGameSkin& Skin() { return *mSkin; }
    // Opens a screen; opener is the script that waits for it (null: none). Refused (false) while
    // another screen is open.
    bool OpenOverlay(std::unique_ptr<TGameOverlay> screen, const TInterpreter* opener);
    bool OverlayOpen() const { return mOverlay != nullptr; }
    // Once the screen a script opened is done: whether it succeeded, answered once.
    std::optional<bool> TakeOverlayResult(const TInterpreter* opener);
    // The map's music again (after the inn's).
    void RestoreMapMusic() { StartMapMusic(); }
    // The save screen's hook, called by the menu's Save command: answers false while the game has
    // no save screen to open.
    bool OpenSaveScreen();

    // IMessageSource.
    std::int32_t Variable(int id) const override;
    std::int32_t Money() const override;
    std::string HeroName(int heroId) const override;
    std::string PartyMemberName(int slot) const override;
    std::string MoneyUnit() const override;

private:
    TGameSession(const TGameOptions& options, IGameAudio& audio);
    void EnterTitle();
    void StepTitle(const TGameInput& input);
    void StepMap(const TGameInput& input);
    void StepGameOver(const TGameInput& input);
    void StepNotice(const TGameInput& input);
    bool StepOverlay(const TGameInput& input);
    void StartMapMusic();
    void SetHeroGraphic();
    void RunParallels();
    void StartMainScripts(const TGameInput& input);
    void LoadScreenPicture(const std::string& kind, const std::string& name);

    TGameOptions mOptions;
    IGameAudio& mAudio;
    TGameRandom mRandom;
    std::unique_ptr<TGameProject> mProject;
    std::unique_ptr<TGameState> mState;
    std::unique_ptr<TGameWorld> mWorld;
    std::unique_ptr<TGameSkin> mSkin;
    std::unique_ptr<TGameMessageWindow> mMessages;
    std::unique_ptr<TGameCommandWindow> mTitleMenu;
    std::unique_ptr<TOrlenSheet> mPicture;  // the title or game over picture
    std::unique_ptr<TInterpreter> mMain;
    std::vector<std::unique_ptr<TInterpreter>> mCommonParallels;  // by common event index
    TScene mScene = TScene::Title;
    int mExitCode = 0;
    std::int64_t mFrame = 0;
    std::set<std::int32_t> mWarned;
    std::unique_ptr<TGameOverlay> mOverlay;
    const TInterpreter* mOverlayOpener = nullptr;
    const TInterpreter* mResultFor = nullptr;
    bool mOverlaySucceeded = false;
};

}  // namespace quillon::runtime
