// Pickers for the move route editor's tests: each answers with what the test set up (or
// cancels) and records what it was opened on.
#pragma once

#include "data/LD_System.h"
#include "events/EventChoosers.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillon::routekit {

class TFakeChoosers final : public IEventChoosers {
public:
    // What the next pickers answer; nothing: cancel.
    std::optional<std::int32_t> Switch;
    std::optional<std::pair<std::string, std::int32_t>> Graphic;
    std::optional<std::string> SoundName;

    // What they were opened on.
    std::int32_t SwitchOffered = -1;
    std::string GraphicOffered;
    std::int32_t GraphicIndexOffered = -1;
    TSelKind KindAsked = TSelKind::Sound;
    std::string CaptionAsked;
    std::string SoundOffered;
    int Asked = 0;

    bool ChooseSwitch(std::int32_t& id) override {
        ++Asked;
        SwitchOffered = id;
        if (!Switch)
            return false;
        id = *Switch;
        return true;
    }
    bool ChooseVariable(std::int32_t&) override { return false; }
    bool ChooseResource(TSelKind kind, std::string& name, std::int32_t* index, const std::string& caption) override {
        ++Asked;
        KindAsked = kind;
        CaptionAsked = caption;
        GraphicOffered = name;
        GraphicIndexOffered = index ? *index : -1;
        if (!Graphic)
            return false;
        name = Graphic->first;
        if (index)
            *index = Graphic->second;
        return true;
    }
    bool ChooseEventGraphic(std::string&, std::int32_t&, std::int32_t&, std::int32_t&) override { return false; }
    bool ChooseMusic(TKelMusic&, const std::string&) override { return false; }
    bool ChooseSound(TKelSound& sound, const std::string& caption) override {
        ++Asked;
        CaptionAsked = caption;
        SoundOffered = sound.Name;
        if (!SoundName)
            return false;
        sound.Name = *SoundName;
        sound.Volume = 80;
        return true;
    }
    void ListenToMusic() override {}
    bool EditMoveRoute(TMoveRouteRequest&, const TEventCommandContext&) override { return false; }
    bool ChoosePlace(TMapPlaceRequest&) override { return false; }
    bool DataBaseChanged() const override { return false; }
};

}  // namespace quillon::routekit
