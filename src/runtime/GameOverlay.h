// A screen the game shows over the map or instead of it while it runs: the menu, a shop, an inn,
// the name entry. The session steps and draws the open screen and holds the map still meanwhile;
// the command that opened it reads its result once it is done.
#pragma once

#include "runtime/GameAudio.h"
#include "runtime/GameCommandWindow.h"
#include "runtime/GameInput.h"

#include <cstdint>
#include <string>

namespace quillon {
class TOrlenBoard;
class TKelDataBase;
}  // namespace quillon

namespace quillon::runtime {

class TGameSession;
class TGameSkin;

// Where the game goes when a screen closes.
enum class TScreenExit { Back, Title, Save };

class TGameOverlay {
public:
    virtual ~TGameOverlay() = default;
    virtual void Update(const TGameInput& input) = 0;
    virtual void Draw(TOrlenBoard& screen) = 0;
    virtual bool Done() const = 0;
    // The scene's name in the state JSON.
    virtual const char* SceneName() const = 0;
    // What the command's branches follow: true for a deal made or a night paid.
    virtual bool Succeeded() const { return false; }
    // Whether the map stays visible under the screen (the inn talks over the map).
    virtual bool OverMap() const { return false; }
    // Back to the map, to the title (the menu's End Game) or on to the save screen.
    virtual TScreenExit Exit() const { return TScreenExit::Back; }
};

// The system record's sounds the screens play.
void PlaySystemSound(TGameSession& session, TSystemSound sound);
// The sound of what a menu step did (cursor, decide, buzzer, cancel; nothing for None).
void PlayMenuSound(TGameSession& session, TMenuEvent event);

// A vocabulary term by field number (shop and inn messages included); "" when there is none.
std::string Term(const TKelDataBase& database, int field);

// The money with its unit (in the system colour), right-aligned at right.
void DrawMoney(TGameSkin& skin, TOrlenBoard& board, int right, int y, std::int32_t money, const std::string& unit);

// Vocabulary fields the screens show.
namespace term {
inline constexpr int kItem = 106, kSkill = 107, kEquipment = 108, kSave = 110, kEndGame = 112;
inline constexpr int kOwned = 92, kEquipped = 93, kMoneyUnit = 95;
inline constexpr int kLevel = 123, kHp = 124, kMp = 125, kNormal = 126;
inline constexpr int kExpShort = 127, kLevelShort = 128, kHpShort = 129, kMpShort = 130, kMpCost = 131;
inline constexpr int kAttack = 132, kDefense = 133, kMind = 134, kAgility = 135;
inline constexpr int kFirstSlot = 136;  // "Arms", "Shield", "Armor", "Helmet", "Other"
inline constexpr int kExitConfirmation = 151, kYes = 152, kNo = 153;
}  // namespace term

}  // namespace quillon::runtime
