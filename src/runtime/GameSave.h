// The save file of a game in play: "Save01.ksv" … "Save15.ksv" in the project folder.
//
// Layout (every record in the field-table encoding of the data files):
//   signature "KelSaveData" (counted string)
//   the header record: format version, the game's title, the check of its database, and the
//     slot's summary (leading hero's face, name, level, HP; play time)
//   sections, each: section number, byte length, the section's own bytes; ended by number 0
//   CRC-32 of every byte before it, 4 bytes little-endian
//
// One section per part of the game's state (kSection… below). A reader reads every section it
// knows, each from its own bytes only, skips the numbers it does not know, and leaves out a
// section it cannot read, keeping the rest. So a new part of the state is a new section number
// with its own record: older saves simply lack it (the part keeps its new-game value), and
// within a section a new field is a new field number that older saves lack. The format version
// goes up only when a save could no longer be read as before by this reader; a reader refuses a
// save of a newer version with a message.
//
// A save belongs to one game: its title and the check of its database must both match, so a
// save of another project (or of this project before its database changed) never loads.
#pragma once

#include "runtime/GameMapState.h"
#include "runtime/GameState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {
class TKelDataBase;
}

namespace quillon::runtime {

inline constexpr int kSaveSlots = 15;
inline constexpr int kSaveFormatVersion = 1;
inline constexpr const char* kSaveSignature = "KelSaveData";
// The largest save file a reader takes.
inline constexpr std::int64_t kSaveFileLimit = std::int64_t{32} << 20;

// Section numbers. Parts of the state added later take the next free numbers.
enum TSaveSection : int {
    kSectionState = 1,    // money, timer, save flag, play time
    kSectionSwitches = 2,
    kSectionVariables = 3,
    kSectionItems = 4,
    kSectionHeroes = 5,
    kSectionParty = 6,
    kSectionPlace = 7,    // map, hero's cell and facing
    kSectionEvents = 8,   // every event's cell, facing, erased state
    kSectionScripts = 9,  // the running scripts and their call stacks
    kSectionScreen = 10,    // tone, weather, transitions
    kSectionPictures = 11,  // the shown pictures with their running moves and effects
    kSectionVehicles = 12,
    kSectionMapState = 13,  // permissions, places, music, timer display, riding, encounters
    kSectionSystem = 14,    // the system music, sounds and graphic as the commands changed them
    kSectionRandom = 15,    // the random source's position
    kSectionItemUses = 16,  // uses left of partly used items
    kSectionMapLook = 17,   // the map's chipset, panorama and changed chips while the party stays on it
    kSectionRoutes = 18,    // the routes scripts set, under way
    kSectionEffects = 19,   // the screen's flash, shake and pan under way
};
inline constexpr int kFirstLaterSection = kSectionScreen;  // written only when a game holds them
inline constexpr int kLastSection = kSectionEffects;

// "Save01.ksv" for slot 1.
std::string SaveFileName(int slot);

// What the save screens show of a slot.
struct TSaveSummary {
    std::string FaceSet;
    std::int32_t FaceIndex = 0;
    std::string Name;
    std::int32_t Level = 0;
    std::int32_t Hp = 0;
    std::int32_t PlayFrames = 0;
    bool operator==(const TSaveSummary&) const = default;
};

// Where a running script lives: a page of an event of a map, or a common event; and its line.
struct TSavedFrame {
    std::int32_t MapId = 0;
    std::int32_t EventId = 0;   // 0: a common event
    std::int32_t PageId = 0;
    std::int32_t CommonId = 0;
    std::int32_t Pc = 0;
    bool operator==(const TSavedFrame&) const = default;
};

// A running script: the main one, an event's parallel page or a parallel common event.
enum TSavedScriptKind : int { skMain = 0, skEventParallel = 1, skCommonParallel = 2 };
struct TSavedScript {
    std::int32_t Kind = skMain;
    std::int32_t OwnerId = 0;  // the event (event parallel) or common event (common parallel)
    bool ByDecision = false;
    std::int32_t WaitFrames = 0;
    std::vector<TSavedFrame> Frames;  // the bottom of the call stack first
    bool operator==(const TSavedScript&) const = default;
};

struct TSavedEvent {
    std::int32_t Id = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Direction = 2;
    bool Erased = false;
    std::vector<std::int32_t> Motion;  // the motion under way (empty in older saves)
    bool operator==(const TSavedEvent&) const = default;
};

// A shown picture: what Show and Move Picture set and how far its move and effect have run.
struct TSavedPicture {
    std::int32_t Number = 0;  // 1..50
    std::string Name;
    bool MoveWithMap = false;
    bool TransparentColor = false;
    // X, Y, magnification, transparency, red, green, blue, chroma: now, then the move's target.
    std::array<double, 8> Now{};
    std::array<double, 8> Target{};
    std::int32_t FramesLeft = 0;
    std::int32_t Effect = 0;
    std::int32_t Strength = 0;
    double Angle = 0;
    double Phase = 0;
    std::int32_t CameraX = 0;
    std::int32_t CameraY = 0;
    bool operator==(const TSavedPicture&) const = default;
};

// The screen: the tone now and the change under way, the weather with its drops, the transitions.
struct TSavedScreen {
    std::array<double, 4> ToneNow{100, 100, 100, 100};  // red, green, blue, gray
    std::array<std::int32_t, 4> ToneTarget{100, 100, 100, 100};
    std::int32_t ToneFrames = 0;
    std::int32_t WeatherKind = 0;
    std::int32_t WeatherStrength = 0;
    std::vector<std::int32_t> WeatherDrops;  // x, y, life of each drop
    std::vector<std::int32_t> Transitions;   // the six transitions' types
    bool operator==(const TSavedScreen&) const = default;
};

struct TSavedVehicle {
    std::int32_t Kind = 0;  // 0 boat, 1 ship, 2 airship
    std::int32_t MapId = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Direction = 3;
    std::string CharSet;
    std::int32_t CharIndex = 0;
    bool operator==(const TSavedVehicle&) const = default;
};

// The system record's parts the commands change, and the window skin.
struct TSavedSystem {
    std::array<TMusicSettings, 8> Music;
    // Sounds: name, volume, tempo, balance.
    std::array<TMusicSettings, 12> Sounds;
    std::string SystemGraphic;
    std::int32_t Wallpaper = 0;
    std::int32_t FontStyle = 0;
    bool operator==(const TSavedSystem&) const = default;
};

// What the map commands changed of the map shown: they last until the party leaves the map.
struct TSavedMapLook {
    std::int32_t ChipSetId = 0;  // 0: the map's own
    bool PanoramaChanged = false;  // else the panorama is the map's own
    bool PanoramaEnabled = false;
    std::string PanoramaName;
    bool PanoramaPanX = false;
    bool PanoramaPanY = false;
    bool PanoramaAutoX = false;
    std::int32_t PanoramaSpeedX = 0;
    bool PanoramaAutoY = false;
    std::int32_t PanoramaSpeedY = 0;
    // How far the panorama has scrolled by itself (eighths of a pixel).
    std::int32_t PanoramaOffsetX = 0;
    std::int32_t PanoramaOffsetY = 0;
    // Both layers' cells once a chip was changed (empty: as the map file holds them).
    std::vector<std::uint16_t> Lower;
    std::vector<std::uint16_t> Upper;
    bool operator==(const TSavedMapLook&) const = default;
};

// A route a script set on a character, as far as it has run.
struct TSavedRoute {
    std::int32_t Character = 0;  // 0: the hero, else the event's ID
    std::string Commands;        // the route's commands in the move route encoding
    std::int32_t Index = 0;      // the next command
    bool Repeat = false;
    bool Skippable = false;
    std::int32_t Frequency = 8;
    bool operator==(const TSavedRoute&) const = default;
};

// The screen's flash, shake and pan under way.
struct TSavedEffects {
    std::array<std::int32_t, 4> FlashColor{};  // red, green, blue, strength
    std::int32_t FlashFrames = 0;              // left
    std::int32_t FlashTotal = 0;
    std::int32_t ShakePower = 0;
    std::int32_t ShakeSpeed = 0;
    std::int32_t ShakeFrames = 0;
    double ShakePosition = 0;
    std::int32_t ShakeDirection = 1;
    bool PanFixed = false;
    bool PanMoving = false;
    bool PanReturning = false;
    // The held camera and its target (16ths of a pixel), and the speed it moves at.
    std::int32_t PanX = 0;
    std::int32_t PanY = 0;
    std::int32_t PanTargetX = 0;
    std::int32_t PanTargetY = 0;
    std::int32_t PanSpeed = 0;
    bool CameraHeld = false;
    std::int32_t HeldX = 0;  // the held camera's map pixel
    std::int32_t HeldY = 0;
    bool operator==(const TSavedEffects&) const = default;
};

// Everything a save holds.
struct TSaveGame {
    // Header.
    std::int32_t FormatVersion = kSaveFormatVersion;
    std::string Title;
    std::uint32_t DatabaseCheck = 0;
    TSaveSummary Summary;
    // State.
    std::int32_t Money = 0;
    std::int32_t TimerFrames = 0;
    bool TimerRunning = false;
    bool SaveDisabled = false;
    std::int32_t PlayFrames = 0;
    std::vector<std::int32_t> Switches;                            // IDs that are on, ascending
    std::vector<std::pair<std::int32_t, std::int32_t>> Variables;  // non-zero, ascending
    std::vector<std::pair<std::int32_t, std::int32_t>> Items;      // non-zero counts, ascending
    std::vector<std::pair<std::int32_t, std::int32_t>> ItemUses;   // uses left of partly used items
    std::vector<THeroState> Heroes;
    std::vector<std::int32_t> Party;
    // Place.
    std::int32_t MapId = 0;
    std::int32_t HeroX = 0;
    std::int32_t HeroY = 0;
    std::int32_t HeroDirection = 2;
    std::vector<std::int32_t> HeroMotion;  // the hero's motion under way (empty in older saves)
    std::vector<TSavedEvent> Events;
    std::vector<TSavedScript> Scripts;
    // Screen, pictures, vehicles.
    TSavedScreen Screen;
    std::vector<TSavedPicture> Pictures;
    std::vector<TSavedVehicle> Vehicles;
    // The map commands' state; the vehicle ridden (-1: none); the timer's display; the steps to
    // the next random battle (-1: not drawn yet).
    TGameMapState MapState;
    std::int32_t Riding = -1;
    bool TimerShown = false;
    bool TimerInBattle = false;
    std::int32_t EncounterLeft = -1;
    TSavedSystem System;
    std::uint64_t RandomState = 0;
    TSavedMapLook MapLook;
    std::vector<TSavedRoute> Routes;
    TSavedEffects Effects;
    // Sections present in the file (a part of the state absent from it keeps its new-game value).
    // Those from kFirstLaterSection on are written only when listed here.
    std::vector<int> Sections;
    bool Has(int section) const;
};

// Why a save cannot be used.
enum class TSaveProblem {
    None,
    Missing,    // no file in the slot
    Damaged,    // damaged, cut short or not a save at all
    Newer,      // made by a newer player
    OtherGame,  // made by another game (title or database differ)
};

struct TSaveRead {
    TSaveProblem Problem = TSaveProblem::None;
    std::string Message;  // why, when there is a problem
    TSaveGame Game;
};

// The save's bytes.
std::string WriteSaveGame(const TSaveGame& game);
// Reads a save. title and databaseCheck are the game's own: a save of another game is refused.
// headerOnly: stops after the header (the list of the save screens), the whole file still checked.
TSaveRead ReadSaveGame(std::string_view bytes, const std::string& title, std::uint32_t databaseCheck,
                       bool headerOnly = false);
// The check of a database: a CRC-32 of its sections' bytes, the system record excepted (it counts
// the editor's saves and holds editor settings), so a database saved again unchanged keeps it.
std::uint32_t DatabaseCheck(TKelDataBase& database);
// CRC-32 (zlib's) of bytes.
std::uint32_t SaveCrc(std::string_view bytes);

}  // namespace quillon::runtime
