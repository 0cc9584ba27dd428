// A stand-in for the event dialogs' pickers: each records what it was opened on and answers what
// the test set (OK with a new value, or cancel).
#pragma once

#include "data/LD_System.h"
#include "events/EventChoosers.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillon::testkit {

class TFakeEventChoosers final : public IEventChoosers {
public:
    bool Answer = true;  // OK (true) or cancel

    // What the pickers were opened on.
    std::vector<std::string> Opened;  // "resource", "music", "route" ...
    TSelKind Kind = TSelKind::Char;
    std::string Name;  // the resource, music or sound name given
    std::string Caption;
    TMapPlaceRequest Place{-9, -9, -9};
    TKelMusic Music;
    TKelSound Sound;
    std::int32_t RouteTarget = 0, RouteFrequency = 0, RouteRepeat = -1, RouteSkippable = -1;
    std::vector<TKelMoveRouteItem> RouteItems;
    bool RouteCommandMode = false;

    // What OK gives back.
    std::string ChosenName = "Chosen";
    // The system graphic's wallpaper and font: as given, and as chosen.
    std::pair<std::int32_t, std::int32_t> Options{-1, -1};
    std::pair<std::int32_t, std::int32_t> ChosenOptions{0, 1};
    TMapPlaceRequest ChosenPlace{3, 4, 5};
    std::function<void(TKelMusic&)> EditMusic;
    std::function<void(TKelSound&)> EditSound;
    std::function<void(TMoveRouteRequest&)> EditRoute;

    bool ChooseSwitch(std::int32_t& id) override {
        Opened.push_back("switch");
        if (Answer)
            id = 7;
        return Answer;
    }
    bool ChooseVariable(std::int32_t& id) override {
        Opened.push_back("variable");
        if (Answer)
            id = 8;
        return Answer;
    }
    bool ChooseResource(TSelKind kind, std::string& name, std::int32_t*, const std::string& caption) override {
        Opened.push_back("resource");
        Kind = kind;
        Name = name;
        Caption = caption;
        if (Answer)
            name = ChosenName;
        return Answer;
    }
    bool ChooseSystemGraphic(std::string& name, std::int32_t& wallpaper, std::int32_t& font,
                             const std::string& caption) override {
        Options = {wallpaper, font};
        if (!ChooseResource(TSelKind::System, name, nullptr, caption))
            return false;
        wallpaper = ChosenOptions.first;
        font = ChosenOptions.second;
        return true;
    }
    bool ChooseEventGraphic(std::string& name, std::int32_t&, std::int32_t&, std::int32_t&) override {
        Opened.push_back("graphic");
        if (Answer)
            name = ChosenName;
        return Answer;
    }
    bool ChooseMusic(TKelMusic& music, const std::string& caption) override {
        Opened.push_back("music");
        Music.Assign(music);
        Caption = caption;
        if (Answer && EditMusic)
            EditMusic(music);
        return Answer;
    }
    bool ChooseSound(TKelSound& sound, const std::string& caption) override {
        Opened.push_back("sound");
        Sound.Assign(sound);
        Caption = caption;
        if (Answer && EditSound)
            EditSound(sound);
        return Answer;
    }
    void ListenToMusic() override { Opened.push_back("listen"); }
    bool EditMoveRoute(TMoveRouteRequest& request, const TEventCommandContext&) override {
        Opened.push_back("route");
        RouteCommandMode = request.CommandMode;
        RouteTarget = request.Target;
        RouteFrequency = request.Frequency;
        RouteRepeat = request.Route.Repeat;
        RouteSkippable = request.Route.Skippable;
        RouteItems = request.Route.ItemList();
        if (Answer && EditRoute)
            EditRoute(request);
        return Answer;
    }
    bool ChoosePlace(TMapPlaceRequest& place) override {
        Opened.push_back("place");
        Place = place;
        if (Answer)
            place = ChosenPlace;
        return Answer;
    }
    bool DataBaseChanged() const override { return false; }
};

}  // namespace quillon::testkit
