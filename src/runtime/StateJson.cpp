// The state JSON of the headless mode: what a test or a user's check reads of a run.
#include "data/KelDump.h"
#include "data/LD_Map.h"
#include "platform/TextCodec.h"
#include "runtime/GameScreen.h"
#include "runtime/BattleScene.h"
#include "runtime/GameAudio.h"
#include "runtime/GameMapState.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace quillon::runtime {

namespace {


class TJsonList {
public:
    explicit TJsonList(std::string& out, char open) : mOut(out) { mOut += open; }
    void Item(const std::string& text) {
        if (!mFirst)
            mOut += ",";
        mFirst = false;
        mOut += text;
    }

private:
    std::string& mOut;
    bool mFirst = true;
};

// Numbers as a JSON list.
template <class T>
std::string JsonNumbers(const T& numbers) {
    std::string out;
    {
        TJsonList list(out, '[');
        for (const std::int32_t n : numbers)
            list.Item(std::to_string(n));
    }
    return out + "]";
}

// What a party member's entry holds besides the points: the degree, the maximums and
// parameters, the equipment, skills and conditions.
std::string HeroDetailJson(const TKelDataBase& db, const THeroState& hero) {
    static constexpr const char* kNames[kHeroParameters] = {"maxhp", "maxmp", "attack", "defense", "mind", "agility"};
    std::string out = ", \"degree\": " + JsonQuoted(Cp932ToUtf8(hero.Degree));
    for (int p = 0; p < kHeroParameters; ++p)
        out += std::string(", \"") + kNames[p] + "\": " + std::to_string(HeroParameter(db, hero, p));
    out += ", \"equipment\": " + JsonNumbers(hero.Equipment);
    out += ", \"skills\": " + JsonNumbers(hero.Skills);
    out += ", \"conditions\": " + JsonNumbers(hero.Conditions);
    return out;
}

}  // namespace

std::string TGameSession::StateJson() const {
    std::string out = "{\n";
    const auto field = [&out](const std::string& name, const std::string& value, bool last = false) {
        out += "  " + JsonQuoted(name) + ": " + value + (last ? "\n" : ",\n");
    };
    field("frame", std::to_string(mFrame));
    field("scene", JsonQuoted(SceneName()));
    const bool onMap = mWorld && mWorld->HasMap();
    field("map", std::to_string(onMap ? mWorld->MapId() : 0));
    field("x", std::to_string(onMap ? mWorld->Hero().X : 0));
    field("y", std::to_string(onMap ? mWorld->Hero().Y : 0));
    field("direction", std::to_string(onMap ? mWorld->Hero().Direction : 2));
    field("money", std::to_string(mState ? mState->Money() : 0));

    std::string list;
    {
        TJsonList items(list, '[');
        if (mState)
            for (const int id : mState->Switches())
                items.Item(std::to_string(id));
    }
    field("switches", list + "]");
    list.clear();
    {
        TJsonList items(list, '{');
        if (mState)
            for (const auto& [id, value] : mState->Variables())
                items.Item(JsonQuoted(std::to_string(id)) + ": " + std::to_string(value));
    }
    field("variables", list + "}");
    list.clear();
    {
        TJsonList items(list, '{');
        if (mState)
            for (const auto& [id, count] : mState->Items())
                items.Item(JsonQuoted(std::to_string(id)) + ": " + std::to_string(count));
    }
    field("items", list + "}");
    list.clear();
    {
        TJsonList items(list, '{');
        if (mState)
            for (const auto& [id, left] : mState->ItemUses())
                items.Item(JsonQuoted(std::to_string(id)) + ": " + std::to_string(left));
    }
    field("itemUses", list + "}");
    list.clear();
    {
        TJsonList items(list, '[');
        if (mState)
            for (const std::int32_t id : mState->Party())
                if (const THeroState* hero = mState->Hero(id))
                    items.Item("{\"id\": " + std::to_string(id) + ", \"name\": " + JsonQuoted(Cp932ToUtf8(hero->Name)) +
                               ", \"level\": " + std::to_string(hero->Level) + ", \"exp\": " + std::to_string(hero->Exp) +
                               ", \"hp\": " + std::to_string(hero->Hp) + ", \"mp\": " + std::to_string(hero->Mp) +
                               HeroDetailJson(mState->Database(), *hero) + "}");
    }
    field("party", list + "]");
    field("timer", mState && mState->TimerRunning ? std::to_string(mState->TimerSeconds()) : "null");
    list.clear();
    {
        TJsonList items(list, '[');
        if (onMap)
            for (const auto& event : mWorld->Events())
                items.Item("\n    {\"id\": " + std::to_string(event->Id()) + ", \"x\": " + std::to_string(event->X) +
                           ", \"y\": " + std::to_string(event->Y) + ", \"direction\": " +
                           std::to_string(event->Direction) + ", \"page\": " + std::to_string(event->PageId()) +
                           ", \"erased\": " + (event->Erased ? "true" : "false") + "}");
    }
    field("events", list + "]");
    list.clear();
    {
        TJsonList items(list, '[');
        if (mScreen)
            for (int number = 1; number <= kPictureCount; ++number)
                if (const TGamePicture* picture = mScreen->Pictures().Picture(number))
                    items.Item("{\"number\": " + std::to_string(number) + ", \"name\": " +
                               JsonQuoted(Cp932ToUtf8(picture->Name)) + ", \"x\": " + std::to_string(std::lround(picture->Now.X)) +
                               ", \"y\": " + std::to_string(std::lround(picture->Now.Y)) + ", \"magnification\": " +
                               std::to_string(std::lround(picture->Now.Magnification)) + ", \"transparency\": " +
                               std::to_string(std::lround(picture->Now.Transparency)) + "}");
    }
    field("pictures", list + "]");
    list.clear();
    // The tone a running change reaches, in the command's units.
    const TScreenTone tone = mScreen ? mScreen->ToneTarget() : TScreenTone{};
    field("tone", "{\"r\": " + std::to_string(tone.Red) + ", \"g\": " + std::to_string(tone.Green) + ", \"b\": " +
                      std::to_string(tone.Blue) + ", \"gray\": " + std::to_string(tone.Gray) + "}");
    field("weather", mScreen ? "{\"kind\": " + JsonQuoted(mScreen->Weather().KindName()) + ", \"strength\": " +
                                   JsonQuoted(mScreen->Weather().StrengthName()) + "}"
                             : std::string("{\"kind\": \"none\", \"strength\": \"low\"}"));
    // The battle under way or the last one; null before the first.
    field("battle", mBattle ? BattleStateJson(mBattle->Battle()) : std::string("null"));
    {
        TJsonList items(list, '[');
        for (const std::string& text : mMessages->ShownTexts())
            items.Item(JsonQuoted(text));
    }
    field("messages", list + "]");
    list.clear();
    {
        TJsonList items(list, '[');
        for (const int choice : mMessages->Choices())
            items.Item(std::to_string(choice));
    }
    field("choices", list + "]");

    const auto place = [](std::int32_t map, int x, int y) {
        return "{\"map\": " + std::to_string(map) + ", \"x\": " + std::to_string(x) + ", \"y\": " + std::to_string(y) + "}";
    };
    list.clear();
    {
        TJsonList items(list, '{');
        if (mWorld)
            for (int kind = 0; kind < kVehicleCount; ++kind) {
                const TGameVehicle& vehicle = mWorld->Vehicle(kind);
                items.Item(JsonQuoted(VehicleName(kind)) + ": " + place(vehicle.MapId, vehicle.X, vehicle.Y));
            }
    }
    field("vehicles", list + "}");
    const int riding = mWorld ? mWorld->Riding() : -1;
    field("riding", riding >= 0 ? JsonQuoted(VehicleName(riding)) : "null");
    const std::string music = mAudio.CurrentMusic();
    field("bgm", music.empty() ? "null" : JsonQuoted(Cp932ToUtf8(music)));
    const TGameMapState* state = mMapState.get();
    field("memorized", state && state->Memorized ? place(state->Memorized->MapId, state->Memorized->X, state->Memorized->Y)
                                                 : "null");
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    field("flags", state ? std::string("{\"save\": ") + flag(state->SaveEnabled) + ", \"menu\": " + flag(state->MenuEnabled) +
                               ", \"escape\": " + flag(state->EscapeEnabled) + ", \"teleport\": " +
                               flag(state->TeleportEnabled) + "}"
                         : "null");
    field("playtime", std::to_string(mPlayFrames), true);
    return out + "}\n";
}

}  // namespace quillon::runtime
