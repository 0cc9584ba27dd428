// The system page ("System"): the vehicle, title, game-over and system graphics, the initial
// party of up to four heroes (no hero twice), the musics and sounds of the game's own scenes,
// the screen transitions, the window wallpaper and the font. Graphics, musics and sounds are
// chosen with the selectors.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_System.h"
#include "database/EntryPage.h"

#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;

inline constexpr int kSystemPartySlots = 4;
inline constexpr int kSystemMusicCount = 8;
inline constexpr int kSystemSoundCount = 12;
inline constexpr int kSystemTransitionCount = 6;

// The captions of the musics, sounds and transitions, by index.
extern const char* const kSystemMusicCaptions[kSystemMusicCount];
extern const char* const kSystemSoundCaptions[kSystemSoundCount];
extern const char* const kSystemTransitionCaptions[kSystemTransitionCount];

// The graphics of the page, in their order.
enum class TSystemGraphic { Boat, Ship, Airship, Title, GameOver, System };

class TSystemPageModel : public TDataBasePage {
public:
    // choosers: the selectors (none: nothing is chosen). The party is offered the database's
    // heroes.
    TSystemPageModel(const TDataBaseContext& context, IEventChoosers* choosers);

    TKelSystem& System() { return mSystem; }
    const TKelSystem& System() const { return mSystem; }

    // --- graphics ---
    // The file name, with the character's number for a vehicle ("Boat #2"); empty for none.
    std::string GraphicText(TSystemGraphic graphic) const;
    bool ChooseGraphic(TSystemGraphic graphic);
    // A file name given directly (the command line); the character number stays.
    void SetGraphicName(TSystemGraphic graphic, const std::string& name);

    // --- party ---
    // The hero of a slot 0..3, 0 for an empty one.
    std::int32_t PartySlot(int slot) const;
    // A hero put in a slot past the last member joins at the end; clearing a slot (0) closes
    // the gap, the later members moving up. A hero who is in another slot already is refused.
    bool SetPartySlot(int slot, std::int32_t heroId);
    // A slot can be filled when it holds a member or is the first empty one.
    bool PartySlotEnabled(int slot) const;
    // "(None)", then every hero not in another slot, as "%.4d:%s".
    std::vector<TFieldChoice> PartyChoices(int slot) const;

    // --- musics and sounds ---
    std::string MusicText(int index) const;
    bool ChooseMusic(int index);
    std::string SoundText(int index) const;
    bool ChooseSound(int index);

    // --- transitions, wallpaper, font ---
    std::int32_t Transition(int index) const;
    void SetTransition(int index, std::int32_t value);
    std::int32_t Wallpaper() const { return mSystem.Wallpaper; }
    void SetWallpaper(std::int32_t value);
    std::int32_t Font() const { return mSystem.Font; }
    void SetFont(std::int32_t value);

private:
    std::string* GraphicName(TSystemGraphic graphic);
    std::int32_t* GraphicIndex(TSystemGraphic graphic);

    TKelSystem& mSystem;
    const TCatalog* mHeroes;
    IEventChoosers* mChoosers;
};

// Widgets: DashBoat, DashShip, DashAirship, DashTitle, DashGameOver, DashSystem, ComboParty1 ..
// ComboParty4, DashMusic0 .. 7, DashSound0 .. 11, ComboTransition0 .. 5, RadioWallpaper,
// RadioFont.
const TFieldForm& SystemPageForm();

}  // namespace quillon
