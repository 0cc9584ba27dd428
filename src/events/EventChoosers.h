// The pickers and selectors that the event dialogs open, as their models reach them: switches and
// variables, resource files, the event graphic, music and sounds, the move route editor and the
// map place picker. The models of the event editor, the route editor and the command dialogs ask
// through this interface; the window layer answers with the real dialogs, tests with fakes.
// Texts are code page 932 bytes.
#pragma once

#include "data/LD_MoveRoute.h"
#include "project/SelBase.h"

#include <cstdint>
#include <string>

namespace quillon {

class TKelMusic;
class TKelSound;
struct TEventCommandContext;

// Character IDs of the characters that are not map events.
enum : std::int32_t {
    kCharacterHero = 10001,
    kCharacterBoat = 10002,
    kCharacterShip = 10003,
    kCharacterAirship = 10004,
    kCharacterThisEvent = 10005,
};

// What the move route editor edits and hands back.
struct TMoveRouteRequest {
    bool CommandMode = false;                   // "Move Character": the target is chosen too
    std::int32_t Target = kCharacterThisEvent;  // the character that moves (command mode)
    std::int32_t Frequency = 3;                 // 1 .. 8
    TKelMoveRoute Route;                        // the route, edited in place
    std::string GraphicName;                    // the page's graphic (page mode)
    std::int32_t GraphicIndex = 0;
};

// A map and a cell of it.
struct TMapPlaceRequest {
    std::int32_t MapId = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

class IEventChoosers {
public:
    virtual ~IEventChoosers() = default;
    // "Select Switch" / "Select Variable" opened on `id`; true on OK with the chosen ID in `id`.
    // Names or counts changed there mark the database changed (DataBaseChanged).
    virtual bool ChooseSwitch(std::int32_t& id) = 0;
    virtual bool ChooseVariable(std::int32_t& id) = 0;
    // A resource of a kind by name; `index` (may be null) the cell of walk and face graphics.
    // `caption` replaces the selector's own caption when not empty.
    virtual bool ChooseResource(TSelKind kind, std::string& name, std::int32_t* index, const std::string& caption) = 0;
    // "Select System Graphics" with the window wallpaper (0 "Enlarge to Display", 1 "Tile
    // Display") and the game font (0 or 1). Pickers without those options leave them as they are.
    virtual bool ChooseSystemGraphic(std::string& name, std::int32_t& wallpaper, std::int32_t& font,
                                     const std::string& caption) {
        (void)wallpaper;
        (void)font;
        return ChooseResource(TSelKind::System, name, nullptr, caption);
    }
    // "Select Graphic": file name (empty for a tile of the map's chipset), index, direction, pattern.
    virtual bool ChooseEventGraphic(std::string& name, std::int32_t& index, std::int32_t& direction,
                                    std::int32_t& pattern) = 0;
    virtual bool ChooseMusic(TKelMusic& music, const std::string& caption) = 0;
    virtual bool ChooseSound(TKelSound& sound, const std::string& caption) = 0;
    // "Select Background Music" as a listening tool: nothing is chosen.
    virtual void ListenToMusic() = 0;
    // The move route editor; true on OK with the request updated.
    virtual bool EditMoveRoute(TMoveRouteRequest& request, const TEventCommandContext& context) = 0;
    // "Set Place" opened on the request's map and cell; true on OK with the chosen place.
    virtual bool ChoosePlace(TMapPlaceRequest& place) = 0;
    // Whether any picker opened through this object changed the database's names or counts.
    virtual bool DataBaseChanged() const = 0;
    // The changed database was saved or read again: DataBaseChanged answers false until a
    // picker changes it anew.
    virtual void DataBaseSaved() {}
};

}  // namespace quillon
