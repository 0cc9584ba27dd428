#include "mapedit/MapProperties.h"

#include "data/Catalog.h"
#include "data/LD_Map.h"

#include <algorithm>
#include <cstdio>

namespace quillon {


void TMapPropertiesModel::Open(bool newMode, bool topLevel, const TKelMapTreeItem& item, const TKelMap& map,
                               const TCatalog* chipSets) {
    NewMode = newMode;
    TopLevel = topLevel;
    ChipSets = chipSets;
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
    TFieldBinding binding(MapPropertiesForm(), *this);
    return binding.SetByKey(key, value, error);
}

const TFieldForm& MapPropertiesForm() {
    using M = TMapPropertiesModel;
    using K = TFieldKind;
    static const TFieldForm form = [] {
        TFieldFormBuilder<M> b;
        const auto panorama = [](const M& m) { return m.Enabling().PanoramaGroup; };
        const auto parentChoice = [](const M& m, int choice) { return choice != 0 || m.Enabling().ParentChoices; };
        const char* const parentRefusal = "a top-level map has no parent map to follow";
        b.Field(K::Text, "EditName", "&Name", &M::Name, &M::SetName).Bytes(kMapNameMaxBytes).Key("name");
        b.Field(K::IdList, "ComboChipSet", "&ChipSet", &M::ChipSetId).Range(1, 99999).Key("chipset")
            .ItemsFrom([](const M& m) {
                std::vector<TFieldChoice> items;
                if (m.ChipSets != nullptr)
                    for (int i = 0; i < m.ChipSets->Count(); ++i)
                        items.push_back({m.ChipSets->Items(i)->ID, m.ChipSets->Items(i)->Name});
                return items;
            });
        b.Field(K::Number, "SpinWidth", "&Width", &M::Width, &M::SetWidth).Range(kMapMinWidth, kMapMaxWidth).Key("width");
        b.Field(K::Number, "SpinHeight", "&Height", &M::Height, &M::SetHeight).Range(kMapMinHeight, kMapMaxHeight)
            .Key("height");
        b.Field(K::DropDown, "ComboScrollType", "Scroll &Type", &M::ScrollType, &M::SetScrollType)
            .Choices({"None", "Vertical Loop", "Horizontal Loop", "Both Loop"}).Key("scroll");
        b.Field(K::Number, "SpinSteps", "&Steps", &M::EncounterSteps, &M::SetEncounterSteps).Range(0, kMaxEncounterSteps)
            .Key("steps");
        b.Field(K::Check, "CheckPanorama", "", &M::PanoramaEnabled).Key("panorama");
        b.Group("GroupGraphic").EnabledWhen(panorama);
        b.Group("GroupOption").EnabledWhen(panorama);
        b.Resource("ButtonPanoramaSet", "", nullptr, &M::ChoosePanorama).EnabledWhen(panorama).Key("panorama-name")
            .Writes([](M& m, const TFieldValue& v) { m.PanoramaName = std::get<std::string>(v); });
        b.Field(K::Check, "CheckHorizontalPan", "", &M::HorizontalPan).EnabledWhen(panorama).Key("hpan");
        b.Field(K::Check, "CheckVerticalPan", "", &M::VerticalPan).EnabledWhen(panorama).Key("vpan");
        b.Field(K::Check, "CheckHorizontalAuto", "", &M::HorizontalAuto)
            .EnabledWhen([](const M& m) { return m.Enabling().HorizontalAuto; }).Key("hauto");
        b.Field(K::Check, "CheckVerticalAuto", "", &M::VerticalAuto)
            .EnabledWhen([](const M& m) { return m.Enabling().VerticalAuto; }).Key("vauto");
        b.Field(K::Number, "SpinHorizontalSpeed", "", &M::HorizontalSpeed, &M::SetHorizontalSpeed)
            .Range(-kPanoramaMaxSpeed, kPanoramaMaxSpeed).BlankWhenDisabled().With({"LabelHorizontalSpeed"})
            .EnabledWhen([](const M& m) { return m.Enabling().HorizontalSpeed; }).Key("hspeed");
        b.Field(K::Number, "SpinVerticalSpeed", "", &M::VerticalSpeed, &M::SetVerticalSpeed)
            .Range(-kPanoramaMaxSpeed, kPanoramaMaxSpeed).BlankWhenDisabled().With({"LabelVerticalSpeed"})
            .EnabledWhen([](const M& m) { return m.Enabling().VerticalSpeed; }).Key("vspeed");
        b.Field(K::RadioGroup, "GroupMusic", "", &M::MusicType, &M::SetMusicType)
            .Choices({"RadioMusicParent", "RadioMusicNoChange", "RadioMusicSetTo"}).ChoiceEnabledWhen(parentChoice)
            .Key("music-type", parentRefusal);
        b.Resource("ButtonMusic", "", &M::MusicText, &M::ChooseMusic)
            .EnabledWhen([](const M& m) { return m.Enabling().MusicBox; }).Key("music")
            .Writes([](M& m, const TFieldValue& v) { m.Music.Name = std::get<std::string>(v); });
        b.Field(K::RadioGroup, "GroupBackdrop", "", &M::BackdropType, &M::SetBackdropType)
            .Choices({"RadioBackdropParent", "RadioBackdropTerrain", "RadioBackdropSetTo"})
            .ChoiceEnabledWhen(parentChoice).Key("backdrop-type", parentRefusal);
        b.Resource("ButtonBackdrop", "", &M::BackdropText, &M::ChooseBackdrop)
            .EnabledWhen([](const M& m) { return m.Enabling().BackdropBox; }).Key("backdrop")
            .Writes([](M& m, const TFieldValue& v) { m.BackdropName = std::get<std::string>(v); });
        b.Field(K::RadioGroup, "GroupTeleport", "", &M::TeleportPermission, &M::SetTeleportPermission)
            .Choices({"RadioTeleportParent", "RadioTeleportEnable", "RadioTeleportDisable"})
            .ChoiceEnabledWhen(parentChoice).Key("teleport", parentRefusal);
        b.Field(K::RadioGroup, "GroupEscape", "", &M::EscapePermission, &M::SetEscapePermission)
            .Choices({"RadioEscapeParent", "RadioEscapeEnable", "RadioEscapeDisable"})
            .ChoiceEnabledWhen(parentChoice).Key("escape", parentRefusal);
        b.Field(K::RadioGroup, "GroupSave", "", &M::SavePermission, &M::SetSavePermission)
            .Choices({"RadioSaveParent", "RadioSaveEnable", "RadioSaveDisable"}).ChoiceEnabledWhen(parentChoice)
            .Key("save", parentRefusal);
        return b.Build();
    }();
    return form;
}

}  // namespace quillon
