// The map properties dialog's model ("The preparation of the map" / "The setup of the map"):
// the map's settings and its tree item's properties, the rules applied on show, the enabling of
// the controls, and the selectors the dialog opens.
#pragma once

#include "data/LD_MapTree.h"
#include "controls/FieldForm.h"
#include "data/LD_System.h"
#include "platform/Cp932Limit.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quillon {

class TCatalog;
class TKelMap;

inline constexpr std::size_t kMapNameMaxBytes = 24;
inline constexpr std::int32_t kMapMinWidth = 20, kMapMaxWidth = 999;
inline constexpr std::int32_t kMapMinHeight = 15, kMapMaxHeight = 999;
inline constexpr std::int32_t kMaxEncounterSteps = 999;
inline constexpr std::int32_t kPanoramaMaxSpeed = 8;
inline constexpr int kMapPropertiesHelpContext = 171;

// The selectors the dialog opens; the owner fills them. Each edits what it is given and answers
// whether the user confirmed. An empty slot means the selector is not there (nothing happens).
struct TMapPropertiesSelectors {
    std::function<bool(std::string& panoramaName)> SelectPanorama;   // "Select Panorama"
    std::function<bool(TKelMusic& music)> SelectMusic;              // "Select Background Music"
    std::function<bool(std::string& backdropName)> SelectBackdrop;  // "Select Battle Background"
};

// Which controls are enabled; recomputed after every change.
struct TMapPropertiesEnabling {
    bool ParentChoices = true;    // the "Parent Map" entries of the type and permission choices
    bool PanoramaGroup = false;   // "Select Graphic", preview, "Set...", "Option", both pans
    bool HorizontalAuto = false;  // horizontal "Auto Scroll"
    bool HorizontalSpeed = false; // its "Speed :" and value
    bool VerticalAuto = false;
    bool VerticalSpeed = false;
    bool MusicBox = false;
    bool BackdropBox = false;
};

class TMapPropertiesModel {
public:
    // --- the dialog's fields (defaults as at creation) ---
    std::int32_t MapId = 0;
    bool NewMode = true;
    bool TopLevel = false;  // the parent is the root
    std::string Name;       // CP932 bytes, at most 24
    std::int32_t ChipSetId = 1;
    std::int32_t Width = 20;
    std::int32_t Height = 15;
    std::uint8_t ScrollType = 0;
    TKelEncount Encounters;
    std::int32_t EncounterSteps = 25;
    bool PanoramaEnabled = false;
    std::string PanoramaName;
    bool HorizontalPan = false;
    bool VerticalPan = false;
    bool HorizontalAuto = false;
    bool VerticalAuto = false;
    std::int32_t HorizontalSpeed = 0;
    std::int32_t VerticalSpeed = 0;
    std::uint8_t MusicType = 0;
    TKelMusic Music;
    std::uint8_t BackdropType = 0;
    std::string BackdropName;
    std::uint8_t TeleportPermission = 0;
    std::uint8_t EscapePermission = 0;
    std::uint8_t SavePermission = 0;

    TMapPropertiesSelectors Selectors;
    const TCatalog* ChipSets = nullptr;  // what the chipset list offers (not owned; may be null)

    // Fills the fields from a tree item and a map's settings and applies the show rules.
    void Open(bool newMode, bool topLevel, const TKelMapTreeItem& item, const TKelMap& map, const TCatalog* chipSets);
    // OK: the fields into the item and the map's settings.
    void Apply(TKelMapTreeItem& item, TKelMap& map) const;

    // The map's chipset, size, scroll type and panorama settings.
    void ReadFromMap(const TKelMap& map);
    // Writes them back (resizing the layers, setting the loop flags), clears the panorama name
    // when the panorama is off, marks the map modified.
    void WriteToMap(TKelMap& map) const;
    // The tree item's ID, name, music, battle background, permissions and encounters.
    void ReadFromItem(const TKelMapTreeItem& item);
    void WriteToItem(TKelMapTreeItem& item) const;

    // "The preparation of the map - ID:0003" / "The setup of the map - ID:0003".
    std::string Title() const;
    // On show: a chipset the list does not hold becomes 1; for a top-level map every "Parent
    // Map" choice becomes the next one (and those choices are disabled).
    void Show(const TCatalog* chipSets);

    TMapPropertiesEnabling Enabling() const;
    // What the music and battle background boxes show ("" while disabled).
    std::string MusicText() const;
    std::string BackdropText() const;
    // Whether the preview shows the panorama image (else its background colour).
    bool PreviewShown() const { return PanoramaEnabled && !PanoramaName.empty(); }

    // Setters that keep the fields in range (what the controls allow).
    void SetName(const std::string& name) { Name = LimitCp932Bytes(name, kMapNameMaxBytes); }
    void SetWidth(std::int32_t value);
    void SetHeight(std::int32_t value);
    void SetEncounterSteps(std::int32_t value);
    void SetHorizontalSpeed(std::int32_t value);
    void SetVerticalSpeed(std::int32_t value);
    // Type and permission choices 0..2; "Parent Map" (0) is refused for a top-level map.
    bool SetMusicType(std::uint8_t value) { return SetChoice(MusicType, value); }
    bool SetBackdropType(std::uint8_t value) { return SetChoice(BackdropType, value); }
    bool SetTeleportPermission(std::uint8_t value) { return SetChoice(TeleportPermission, value); }
    bool SetEscapePermission(std::uint8_t value) { return SetChoice(EscapePermission, value); }
    bool SetSavePermission(std::uint8_t value) { return SetChoice(SavePermission, value); }
    bool SetScrollType(std::uint8_t value);

    // "Set..." or a double click on the preview; the music and battle background boxes. Each
    // does nothing while its control is disabled or without the selector.
    bool ChoosePanorama();
    bool ChooseMusic();
    bool ChooseBackdrop();

    // One setting by its key, as `quillon-cli tree ... props` names them (the keys of
    // MapPropertiesForm). Values are checked against the controls' ranges; false with the reason
    // in `error` when refused.
    bool SetByKey(const std::string& key, const std::string& value, std::string& error);

private:
    bool SetChoice(std::uint8_t& field, std::uint8_t value);
};

// The dialog's fields, each described once: the widget, the model field, range, byte limit,
// enabling, and the key the command-line tool uses.
const TFieldForm& MapPropertiesForm();

}  // namespace quillon
