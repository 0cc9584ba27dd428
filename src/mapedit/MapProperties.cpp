#include "mapedit/MapProperties.h"

#include "data/Catalog.h"
#include "data/LD_Map.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace quillon {

namespace {

bool ParseInt(const std::string& text, std::int32_t& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

bool ParseRange(const std::string& text, std::int32_t low, std::int32_t high, std::int32_t& value, std::string& error) {
    if (!ParseInt(text, value) || value < low || value > high) {
        error = "'" + text + "' is not a number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    return true;
}

bool ParseFlag(const std::string& text, bool& value, std::string& error) {
    if (text == "1" || text == "on" || text == "true") {
        value = true;
        return true;
    }
    if (text == "0" || text == "off" || text == "false") {
        value = false;
        return true;
    }
    error = "'" + text + "' is not on or off (1 or 0)";
    return false;
}

}  // namespace

void TMapPropertiesModel::Open(bool newMode, bool topLevel, const TKelMapTreeItem& item, const TKelMap& map,
                               const TCatalog* chipSets) {
    NewMode = newMode;
    TopLevel = topLevel;
    ReadFromItem(item);
    ReadFromMap(map);
    Show(chipSets);
}

void TMapPropertiesModel::Apply(TKelMapTreeItem& item, TKelMap& map) const {
    WriteToItem(item);
    WriteToMap(map);
}

void TMapPropertiesModel::ReadFromMap(const TKelMap& map) {
    ChipSetId = map.ChipSetId;
    Width = std::clamp(map.Width(), kMapMinWidth, kMapMaxWidth);
    Height = std::clamp(map.Height(), kMapMinHeight, kMapMaxHeight);
    ScrollType = std::min<std::uint8_t>(map.ScrollType, 3);
    PanoramaEnabled = map.PanoramaEnabled != 0;
    PanoramaName = map.PanoramaName;
    HorizontalPan = map.PanoramaHorizontalPan != 0;
    VerticalPan = map.PanoramaVerticalPan != 0;
    HorizontalAuto = map.PanoramaHorizontalAuto != 0;
    VerticalAuto = map.PanoramaVerticalAuto != 0;
    HorizontalSpeed = std::clamp(map.PanoramaHorizontalSpeed, -kPanoramaMaxSpeed, kPanoramaMaxSpeed);
    VerticalSpeed = std::clamp(map.PanoramaVerticalSpeed, -kPanoramaMaxSpeed, kPanoramaMaxSpeed);
}

void TMapPropertiesModel::WriteToMap(TKelMap& map) const {
    map.ChipSetId = ChipSetId;
    map.SetWidth(Width);
    map.SetHeight(Height);
    map.SetScrollType(ScrollType);
    map.PanoramaEnabled = PanoramaEnabled ? 1 : 0;
    map.PanoramaName = PanoramaEnabled ? PanoramaName : std::string();
    map.PanoramaHorizontalPan = HorizontalPan ? 1 : 0;
    map.PanoramaVerticalPan = VerticalPan ? 1 : 0;
    map.PanoramaHorizontalAuto = HorizontalAuto ? 1 : 0;
    map.PanoramaHorizontalSpeed = HorizontalSpeed;
    map.PanoramaVerticalAuto = VerticalAuto ? 1 : 0;
    map.PanoramaVerticalSpeed = VerticalSpeed;
    map.Modified = true;
}

void TMapPropertiesModel::ReadFromItem(const TKelMapTreeItem& item) {
    MapId = item.ID;
    Name = item.Name;
    MusicType = std::min<std::uint8_t>(item.MusicType, 2);
    Music.Assign(item.Music);
    BackdropType = std::min<std::uint8_t>(item.BackdropType, 2);
    BackdropName = item.BackdropName;
    TeleportPermission = std::min<std::uint8_t>(item.TeleportPermission, 2);
    EscapePermission = std::min<std::uint8_t>(item.EscapePermission, 2);
    SavePermission = std::min<std::uint8_t>(item.SavePermission, 2);
    Encounters.Assign(item.Encounters);
    EncounterSteps = std::clamp(item.EncounterSteps, 0, kMaxEncounterSteps);
}

void TMapPropertiesModel::WriteToItem(TKelMapTreeItem& item) const {
    item.Name = Name;
    item.MusicType = MusicType;
    item.Music.Assign(Music);
    item.BackdropType = BackdropType;
    item.BackdropName = BackdropName;
    item.TeleportPermission = TeleportPermission;
    item.EscapePermission = EscapePermission;
    item.SavePermission = SavePermission;
    item.Encounters.Assign(Encounters);
    item.EncounterSteps = EncounterSteps;
}

std::string TMapPropertiesModel::Title() const {
    char id[32];
    std::snprintf(id, sizeof id, " - ID:%.4d", static_cast<int>(MapId));
    return std::string(NewMode ? "The preparation of the map" : "The setup of the map") + id;
}

void TMapPropertiesModel::Show(const TCatalog* chipSets) {
    if (ChipSetId < 1 || (chipSets != nullptr && chipSets->FindByID(ChipSetId) == nullptr))
        ChipSetId = 1;
    if (TopLevel) {
        for (std::uint8_t* field : {&MusicType, &BackdropType, &TeleportPermission, &EscapePermission, &SavePermission})
            if (*field == 0)
                *field = 1;
    }
}

TMapPropertiesEnabling TMapPropertiesModel::Enabling() const {
    TMapPropertiesEnabling e;
    e.ParentChoices = !TopLevel;
    e.PanoramaGroup = PanoramaEnabled;
    e.HorizontalAuto = PanoramaEnabled && HorizontalPan;
    e.VerticalAuto = PanoramaEnabled && VerticalPan;
    e.HorizontalSpeed = e.HorizontalAuto && HorizontalAuto;
    e.VerticalSpeed = e.VerticalAuto && VerticalAuto;
    e.MusicBox = MusicType == TKelMapTreeItem::mtSetTo;
    e.BackdropBox = BackdropType == TKelMapTreeItem::btSetTo;
    return e;
}

std::string TMapPropertiesModel::MusicText() const { return Enabling().MusicBox ? Music.Name : std::string(); }
std::string TMapPropertiesModel::BackdropText() const { return Enabling().BackdropBox ? BackdropName : std::string(); }

void TMapPropertiesModel::SetWidth(std::int32_t value) { Width = std::clamp(value, kMapMinWidth, kMapMaxWidth); }
void TMapPropertiesModel::SetHeight(std::int32_t value) { Height = std::clamp(value, kMapMinHeight, kMapMaxHeight); }
void TMapPropertiesModel::SetEncounterSteps(std::int32_t value) { EncounterSteps = std::clamp(value, 0, kMaxEncounterSteps); }
void TMapPropertiesModel::SetHorizontalSpeed(std::int32_t value) {
    HorizontalSpeed = std::clamp(value, -kPanoramaMaxSpeed, kPanoramaMaxSpeed);
}
void TMapPropertiesModel::SetVerticalSpeed(std::int32_t value) {
    VerticalSpeed = std::clamp(value, -kPanoramaMaxSpeed, kPanoramaMaxSpeed);
}

bool TMapPropertiesModel::SetChoice(std::uint8_t& field, std::uint8_t value) {
    if (value > 2 || (value == 0 && TopLevel))
        return false;
    field = value;
    return true;
}

bool TMapPropertiesModel::SetScrollType(std::uint8_t value) {
    if (value > 3)
        return false;
    ScrollType = value;
    return true;
}

bool TMapPropertiesModel::ChoosePanorama() {
    if (!Enabling().PanoramaGroup || !Selectors.SelectPanorama)
        return false;
    std::string name = PanoramaName;
    if (!Selectors.SelectPanorama(name))
        return false;
    PanoramaName = name;
    return true;
}

bool TMapPropertiesModel::ChooseMusic() {
    if (!Enabling().MusicBox || !Selectors.SelectMusic)
        return false;
    TKelMusic music;
    music.Assign(Music);
    if (!Selectors.SelectMusic(music))
        return false;
    Music.Assign(music);
    return true;
}

bool TMapPropertiesModel::ChooseBackdrop() {
    if (!Enabling().BackdropBox || !Selectors.SelectBackdrop)
        return false;
    std::string name = BackdropName;
    if (!Selectors.SelectBackdrop(name))
        return false;
    BackdropName = name;
    return true;
}

bool TMapPropertiesModel::SetByKey(const std::string& key, const std::string& value, std::string& error) {
    std::int32_t n = 0;
    bool flag = false;
    auto choice = [&](bool (TMapPropertiesModel::*set)(std::uint8_t)) {
        if (!ParseRange(value, 0, 2, n, error))
            return false;
        if (!(this->*set)(static_cast<std::uint8_t>(n))) {
            error = "a top-level map has no parent map to follow";
            return false;
        }
        return true;
    };
    if (key == "name") {
        if (value.size() > kMapNameMaxBytes) {
            error = "a name holds at most 24 bytes";
            return false;
        }
        Name = value;
        return true;
    }
    if (key == "chipset") {
        if (!ParseRange(value, 1, 99999, n, error))
            return false;
        ChipSetId = n;
        return true;
    }
    if (key == "width" || key == "height") {
        const bool width = key == "width";
        if (!ParseRange(value, width ? kMapMinWidth : kMapMinHeight, width ? kMapMaxWidth : kMapMaxHeight, n, error))
            return false;
        (width ? Width : Height) = n;
        return true;
    }
    if (key == "scroll") {
        if (!ParseRange(value, 0, 3, n, error))
            return false;
        return SetScrollType(static_cast<std::uint8_t>(n));
    }
    if (key == "steps") {
        if (!ParseRange(value, 0, kMaxEncounterSteps, n, error))
            return false;
        EncounterSteps = n;
        return true;
    }
    if (key == "panorama" || key == "hpan" || key == "vpan" || key == "hauto" || key == "vauto") {
        if (!ParseFlag(value, flag, error))
            return false;
        (key == "panorama" ? PanoramaEnabled
         : key == "hpan"   ? HorizontalPan
         : key == "vpan"   ? VerticalPan
         : key == "hauto"  ? HorizontalAuto
                           : VerticalAuto) = flag;
        return true;
    }
    if (key == "hspeed" || key == "vspeed") {
        if (!ParseRange(value, -kPanoramaMaxSpeed, kPanoramaMaxSpeed, n, error))
            return false;
        (key == "hspeed" ? HorizontalSpeed : VerticalSpeed) = n;
        return true;
    }
    if (key == "panorama-name") {
        PanoramaName = value;
        return true;
    }
    if (key == "music") {
        Music.Name = value;
        return true;
    }
    if (key == "backdrop") {
        BackdropName = value;
        return true;
    }
    if (key == "music-type")
        return choice(&TMapPropertiesModel::SetMusicType);
    if (key == "backdrop-type")
        return choice(&TMapPropertiesModel::SetBackdropType);
    if (key == "teleport")
        return choice(&TMapPropertiesModel::SetTeleportPermission);
    if (key == "escape")
        return choice(&TMapPropertiesModel::SetEscapePermission);
    if (key == "save")
        return choice(&TMapPropertiesModel::SetSavePermission);
    error = "unknown setting '" + key + "'";
    return false;
}

}  // namespace quillon
