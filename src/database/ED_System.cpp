#include "database/ED_System.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"

#include <algorithm>

namespace quillon {

const char* const kSystemMusicCaptions[kSystemMusicCount] = {
    "Title Screen", "Battle", "Battle End", "Inn", "Boat", "Ship", "Airship", "Game Over",
};
const char* const kSystemSoundCaptions[kSystemSoundCount] = {
    "Cursor",         "Decision",      "Cancel",        "Buzzer",  "Start of Battle", "Escape",
    "Enemy Attack",   "Enemy Damaged", "Ally Damaged",  "Evasion", "Enemy Dies",      "Item Use",
};
const char* const kSystemTransitionCaptions[kSystemTransitionCount] = {
    "Teleport: Erase", "Teleport: Show", "Battle Start: Erase", "Battle Start: Show", "Battle End: Erase",
    "Battle End: Show",
};

namespace {

struct TGraphicInfo {
    TSelKind Kind;
    const char* Caption;
};

TGraphicInfo InfoOf(TSystemGraphic graphic) {
    switch (graphic) {
    case TSystemGraphic::Boat: return {TSelKind::Char, "Boat"};
    case TSystemGraphic::Ship: return {TSelKind::Char, "Ship"};
    case TSystemGraphic::Airship: return {TSelKind::Char, "Airship"};
    case TSystemGraphic::Title: return {TSelKind::Title, ""};
    case TSystemGraphic::GameOver: return {TSelKind::GameOver, ""};
    case TSystemGraphic::System: return {TSelKind::System, ""};
    }
    return {TSelKind::System, ""};
}

}  // namespace

TSystemPageModel::TSystemPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TDataBasePage(context, dtSystem),
      mSystem(context.DataBase->System),
      mHeroes(&context.DataBase->Player),
      mChoosers(choosers) {}

std::string* TSystemPageModel::GraphicName(TSystemGraphic graphic) {
    switch (graphic) {
    case TSystemGraphic::Boat: return &mSystem.BoatGraphic;
    case TSystemGraphic::Ship: return &mSystem.ShipGraphic;
    case TSystemGraphic::Airship: return &mSystem.AirshipGraphic;
    case TSystemGraphic::Title: return &mSystem.TitleGraphic;
    case TSystemGraphic::GameOver: return &mSystem.GameOverGraphic;
    case TSystemGraphic::System: return &mSystem.SystemGraphic;
    }
    return nullptr;
}

std::int32_t* TSystemPageModel::GraphicIndex(TSystemGraphic graphic) {
    switch (graphic) {
    case TSystemGraphic::Boat: return &mSystem.BoatIndex;
    case TSystemGraphic::Ship: return &mSystem.ShipIndex;
    case TSystemGraphic::Airship: return &mSystem.AirshipIndex;
    default: return nullptr;
    }
}

std::string TSystemPageModel::GraphicText(TSystemGraphic graphic) const {
    auto& self = const_cast<TSystemPageModel&>(*this);
    const std::string& name = *self.GraphicName(graphic);
    const std::int32_t* index = self.GraphicIndex(graphic);
    if (name.empty() || !index)
        return name;
    return name + " #" + std::to_string(*index + 1);
}

bool TSystemPageModel::ChooseGraphic(TSystemGraphic graphic) {
    if (!mChoosers)
        return false;
    std::string* name = GraphicName(graphic);
    std::int32_t* index = GraphicIndex(graphic);
    std::string chosen = *name;
    std::int32_t chosenIndex = index ? *index : 0;
    if (!mChoosers->ChooseResource(InfoOf(graphic).Kind, chosen, index ? &chosenIndex : nullptr, {}))
        return false;
    if (chosen == *name && (!index || chosenIndex == *index))
        return false;
    *name = chosen;
    if (index)
        *index = chosenIndex;
    Modify();
    return true;
}

void TSystemPageModel::SetGraphicName(TSystemGraphic graphic, const std::string& name) {
    std::string* target = GraphicName(graphic);
    if (*target == name)
        return;
    *target = name;
    Modify();
}

std::int32_t TSystemPageModel::PartySlot(int slot) const {
    if (slot < 0 || slot >= kSystemPartySlots)
        return 0;
    return mSystem.PartyMember(slot);
}

bool TSystemPageModel::PartySlotEnabled(int slot) const {
    return slot >= 0 && slot < kSystemPartySlots && slot <= mSystem.PartySize;
}

bool TSystemPageModel::SetPartySlot(int slot, std::int32_t heroId) {
    if (!PartySlotEnabled(slot) || heroId < 0 || heroId > 0xFFFF)
        return false;
    const std::int32_t size = mSystem.PartySize;
    if (heroId == 0) {
        if (slot >= size)
            return false;
        // The members after the slot move up; the record's own rule would drop them.
        for (int i = slot; i + 1 < size; ++i)
            mSystem.SetPartyMember(i, mSystem.PartyMember(i + 1));
        mSystem.SetPartySize(size - 1);
        Modify();
        return true;
    }
    for (int i = 0; i < ShownCount(size, kSystemPartySlots); ++i)
        if (i != slot && mSystem.PartyMember(i) == heroId)
            return false;
    if (slot >= size) {
        mSystem.SetPartySize(size + 1);
        slot = size;
    } else if (mSystem.PartyMember(slot) == heroId) {
        return true;
    }
    mSystem.SetPartyMember(slot, heroId);
    Modify();
    return true;
}

std::vector<TFieldChoice> TSystemPageModel::PartyChoices(int slot) const {
    std::vector<TFieldChoice> choices{{0, "(None)"}};
    if (!mHeroes)
        return choices;
    // The heroes of the other slots the page shows (a file may declare a larger party).
    std::vector<std::int32_t> elsewhere;
    for (int s = 0; s < ShownCount(mSystem.PartySize, kSystemPartySlots); ++s)
        if (s != slot)
            elsewhere.push_back(mSystem.PartyMember(s));
    for (int i = 0; i < mHeroes->Count(); ++i) {
        const TCatalogItem* hero = mHeroes->Items(i);
        if (hero && std::find(elsewhere.begin(), elsewhere.end(), hero->ID) == elsewhere.end())
            choices.push_back({hero->ID, DataBaseRowText(hero->ID, hero->Name)});
    }
    return choices;
}

std::string TSystemPageModel::MusicText(int index) const {
    return index >= 0 && index < kSystemMusicCount ? mSystem.Music[static_cast<std::size_t>(index)].Name : std::string{};
}

bool TSystemPageModel::ChooseMusic(int index) {
    if (!mChoosers || index < 0 || index >= kSystemMusicCount)
        return false;
    TKelMusic& target = mSystem.Music[static_cast<std::size_t>(index)];
    TKelMusic music;
    music.Assign(target);
    if (!mChoosers->ChooseMusic(music, kSystemMusicCaptions[index]))
        return false;
    const bool same = music.Name == target.Name && music.FadeIn == target.FadeIn && music.Volume == target.Volume &&
                      music.Tempo == target.Tempo && music.Balance == target.Balance;
    if (same)
        return false;
    target.Assign(music);
    Modify();
    return true;
}

std::string TSystemPageModel::SoundText(int index) const {
    return index >= 0 && index < kSystemSoundCount ? mSystem.Sound[static_cast<std::size_t>(index)].Name : std::string{};
}

bool TSystemPageModel::ChooseSound(int index) {
    if (!mChoosers || index < 0 || index >= kSystemSoundCount)
        return false;
    TKelSound& target = mSystem.Sound[static_cast<std::size_t>(index)];
    TKelSound sound;
    sound.Assign(target);
    if (!mChoosers->ChooseSound(sound, kSystemSoundCaptions[index]))
        return false;
    const bool same = sound.Name == target.Name && sound.Volume == target.Volume && sound.Tempo == target.Tempo &&
                      sound.Balance == target.Balance;
    if (same)
        return false;
    target.Assign(sound);
    Modify();
    return true;
}

std::int32_t TSystemPageModel::Transition(int index) const {
    return index >= 0 && index < kSystemTransitionCount ? mSystem.Transition[static_cast<std::size_t>(index)] : 0;
}

void TSystemPageModel::SetTransition(int index, std::int32_t value) {
    if (index < 0 || index >= kSystemTransitionCount)
        return;
    // Erase transitions (even indexes) have 21 entries, show transitions 20.
    const std::int32_t last = index % 2 == 0 ? 20 : 19;
    value = std::clamp(value, 0, last);
    std::uint8_t& slot = mSystem.Transition[static_cast<std::size_t>(index)];
    if (slot == value)
        return;
    slot = static_cast<std::uint8_t>(value);
    Modify();
}

void TSystemPageModel::SetWallpaper(std::int32_t value) {
    if (value == mSystem.Wallpaper || value < 0 || value > 1)
        return;
    mSystem.Wallpaper = value;
    Modify();
}

void TSystemPageModel::SetFont(std::int32_t value) {
    if (value == mSystem.Font || value < 0 || value > 1)
        return;
    mSystem.Font = value;
    Modify();
}

namespace {

using TForm = TFieldFormBuilder<TSystemPageModel>;

void Graphic(TForm& form, TSystemGraphic graphic, const char* widget, const char* label, const char* key) {
    form.Resource(
            widget, label, [graphic](const TSystemPageModel& m) { return m.GraphicText(graphic); },
            [graphic](TSystemPageModel& m) { return m.ChooseGraphic(graphic); })
        .Writes([graphic](TSystemPageModel& m, const TFieldValue& v) {
            if (const auto* name = std::get_if<std::string>(&v))
                m.SetGraphicName(graphic, *name);
        })
        .Key(key);
}

TFieldForm BuildForm() {
    TForm form;
    form.Group("GroupVehicles", "Vehicle Graphics");
    Graphic(form, TSystemGraphic::Boat, "DashBoat", "&Boat:", "boat");
    Graphic(form, TSystemGraphic::Ship, "DashShip", "&Ship:", "ship");
    Graphic(form, TSystemGraphic::Airship, "DashAirship", "&Airship:", "airship");
    form.Group("GroupGraphics", "Graphics");
    Graphic(form, TSystemGraphic::Title, "DashTitle", "&Title Screen:", "title");
    Graphic(form, TSystemGraphic::GameOver, "DashGameOver", "&Game Over:", "game-over");
    Graphic(form, TSystemGraphic::System, "DashSystem", "S&ystem Graphic:", "system");

    form.Group("GroupParty", "Initial Party");
    for (int slot = 0; slot < kSystemPartySlots; ++slot)
        form.Field(
                TFieldKind::IdList, "ComboParty" + std::to_string(slot + 1), "Member &" + std::to_string(slot + 1) + ":",
                [slot](const TSystemPageModel& m) { return m.PartySlot(slot); },
                [slot](TSystemPageModel& m, std::int32_t hero) { return m.SetPartySlot(slot, hero); })
            .ItemsFrom([slot](const TSystemPageModel& m) { return m.PartyChoices(slot); })
            .EnabledWhen([slot](const TSystemPageModel& m) { return m.PartySlotEnabled(slot); })
            .Key("party-" + std::to_string(slot + 1), "that hero is in the party already, or a slot before is empty");

    form.Group("GroupMusic", "Music");
    for (int i = 0; i < kSystemMusicCount; ++i)
        form.Resource(
            "DashMusic" + std::to_string(i), std::string(kSystemMusicCaptions[i]) + ":",
            [i](const TSystemPageModel& m) { return m.MusicText(i); }, [i](TSystemPageModel& m) { return m.ChooseMusic(i); });
    form.Group("GroupSound", "Sound Effects");
    for (int i = 0; i < kSystemSoundCount; ++i)
        form.Resource(
            "DashSound" + std::to_string(i), std::string(kSystemSoundCaptions[i]) + ":",
            [i](const TSystemPageModel& m) { return m.SoundText(i); }, [i](TSystemPageModel& m) { return m.ChooseSound(i); });

    form.Group("GroupTransition", "Screen Transitions");
    for (int i = 0; i < kSystemTransitionCount; ++i) {
        std::vector<std::string> names;
        if (i % 2 == 0)
            names.assign(std::begin(kEraseTransitionNames), std::end(kEraseTransitionNames));
        else
            names.assign(std::begin(kShowTransitionNames), std::end(kShowTransitionNames));
        form.Field(
                TFieldKind::DropDown, "ComboTransition" + std::to_string(i),
                std::string(kSystemTransitionCaptions[i]) + ":", [i](const TSystemPageModel& m) { return m.Transition(i); },
                [i](TSystemPageModel& m, std::int32_t v) { m.SetTransition(i, v); })
            .Choices(std::move(names))
            .Key("transition-" + std::to_string(i));
    }
    form.Group("GroupWindow", "Window");
    form.Field(TFieldKind::RadioGroup, "RadioWallpaper", "Wallpaper", &TSystemPageModel::Wallpaper,
               &TSystemPageModel::SetWallpaper)
        .Choices({"&Enlarge to Display", "Tile &Display"})
        .Key("wallpaper");
    form.Field(TFieldKind::RadioGroup, "RadioFont", "Font", &TSystemPageModel::Font, &TSystemPageModel::SetFont)
        .Choices({"&First Font", "Second F&ont"})
        .Key("font");
    form.Group("GroupEnd");
    return form.Build();
}

}  // namespace

const TFieldForm& SystemPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
