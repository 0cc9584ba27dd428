// Helpers of the event editor tests: pickers whose answers the test sets and that count their
// calls, and events with distinguishable pages.
#pragma once

#include "data/LD_Event.h"
#include "data/StreamUtils.h"
#include "events/EventChoosers.h"

#include <string>

namespace quillon::eventkit {

class TFakeChoosers final : public IEventChoosers {
public:
    // Answers: OK or not, and the values given back.
    bool Confirm = true;
    std::int32_t SwitchId = 7;
    std::int32_t VariableId = 9;
    std::string GraphicName;
    std::int32_t GraphicIndex = 0;
    std::int32_t GraphicDirection = 2;
    std::int32_t GraphicPattern = 1;
    std::int32_t RouteFrequency = 6;
    bool ChangesDataBase = false;  // a picker renames something
    // What was asked.
    int Calls = 0;
    int Listened = 0;
    TMoveRouteRequest LastRoute;

    bool ChooseSwitch(std::int32_t& id) override { return Answer(id, SwitchId); }
    bool ChooseVariable(std::int32_t& id) override { return Answer(id, VariableId); }
    bool ChooseResource(TSelKind, std::string&, std::int32_t*, const std::string&) override { return false; }
    bool ChooseEventGraphic(std::string& name, std::int32_t& index, std::int32_t& direction,
                            std::int32_t& pattern) override {
        ++Calls;
        if (!Confirm)
            return false;
        name = GraphicName;
        index = GraphicIndex;
        direction = GraphicDirection;
        pattern = GraphicPattern;
        return true;
    }
    bool ChooseMusic(TKelMusic&, const std::string&) override { return false; }
    bool ChooseSound(TKelSound&, const std::string&) override { return false; }
    void ListenToMusic() override { ++Listened; }
    bool EditMoveRoute(TMoveRouteRequest& request, const TEventCommandContext&) override {
        ++Calls;
        LastRoute.CommandMode = request.CommandMode;
        LastRoute.Frequency = request.Frequency;
        LastRoute.GraphicName = request.GraphicName;
        if (!Confirm)
            return false;
        request.Frequency = RouteFrequency;
        TKelMoveRouteItem wait;
        wait.Code = 23;
        request.Route.Add(wait);
        return true;
    }
    bool ChoosePlace(TMapPlaceRequest&) override { return false; }
    bool DataBaseChanged() const override { return mChanged; }
    void DataBaseSaved() override { mChanged = false; }

private:
    bool Answer(std::int32_t& id, std::int32_t value) {
        ++Calls;
        if (ChangesDataBase)
            mChanged = true;
        if (!Confirm)
            return false;
        id = value;
        return true;
    }
    bool mChanged = false;
};

// The event's bytes as a file holds them: equal bytes, equal event.
inline std::string Saved(TKelEventItem& event) {
    TMemoryStream stream;
    event.SaveToStream(stream);
    return stream.Bytes();
}

// An event of `count` pages, page n showing the character set "P<n>" and holding one message
// line, with its switch A condition on.
inline void MakePages(TKelEventItem& event, int count) {
    event.Pages.Clear();
    for (int n = 1; n <= count; ++n) {
        TKelEventPageItem& page = event.Pages.Obtain(n);
        page.GraphicName = "P" + std::to_string(n);
        page.Condition.Flags = TKelEventCondition::cfSwitchA;
        auto line = std::make_unique<TKelEventScriptLine>();
        line->Code = 10110;
        line->Text = "page " + std::to_string(n);
        page.Script.Insert(0, std::move(line));
    }
}

}  // namespace quillon::eventkit
