#include "events/CommandFormBatches.h"

#include "data/LD_Map.h"
#include "events/EventScript.h"

#include <string>
#include <variant>
#include <vector>

namespace quillon {

namespace {

using K = TFieldKind;
using R = TCommandRecord;

// The highest cell column or row of a map (maps are at most 999 cells across).
constexpr std::int32_t kCellMax = 998;
// Times are given in tenths of a second.
constexpr std::int32_t kTenthsMax = 1000;
// Pictures on the screen at once.
constexpr std::int32_t kPictureMax = 50;
// Tones and picture colours are percentages; flashes have 32 steps.
constexpr std::int32_t kToneMax = 200;
constexpr std::int32_t kFlashMax = 31;

// The transition of the teleports made on the event layer's cells. Only a line that holds it
// already offers it.
constexpr std::int32_t kPlaceTransition = -1;
// Where the record notes that its loaded line held that transition (past the written parameter).
constexpr std::size_t kPlaceTransitionMark = 1;

// A transition name as a list shows it: without the blanks that pad it and without a lead byte
// that lost its trail byte.
std::string TransitionCaption(const char* name) {
    std::string caption = name ? name : "";
    while (!caption.empty() && caption.back() == ' ')
        caption.pop_back();
    if (!caption.empty()) {
        const auto last = static_cast<unsigned char>(caption.back());
        if ((last >= 0x81 && last <= 0x9F) || (last >= 0xE0 && last <= 0xFC)) {
            // A lead byte is only a lead byte when an odd run of lead bytes ends the text.
            std::size_t run = 0;
            for (auto it = caption.rbegin(); it != caption.rend(); ++it) {
                const auto c = static_cast<unsigned char>(*it);
                if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)))
                    break;
                ++run;
            }
            if (run % 2 == 1)
                caption.pop_back();
        }
    }
    return caption;
}

using TTransitionName = const char* (*)(std::int32_t);

// "Screen Erase" and "Screen Display": one transition of the list; the event layer's teleport
// transition (-1) is offered only while the edited line holds it.
TCommandForm TransitionForm(TCommandCode code, std::int32_t last, TTransitionName name) {
    TCommandFormBuilder b(code, 1);
    b.Fields()
        .Field(K::IdList, "ComboTransition", "&Transition",
               [](const R& r) { return r.Param(0); }, [](R& r, std::int32_t v) { r.SetParam(0, v); })
        .Range(0, last)
        .ItemsFrom([last, name](const R& r) {
            std::vector<TFieldChoice> items;
            for (std::int32_t i = 0; i <= last; ++i)
                items.push_back({i, TransitionCaption(name(i))});
            if (r.Param(0) == kPlaceTransition || r.Param(kPlaceTransitionMark) != 0)
                items.push_back({kPlaceTransition, TransitionCaption(name(kPlaceTransition))});
            return items;
        })
        .Key("transition");
    b.AfterLoad([](R& r, const TKelEventScriptList&) {
        r.SetParam(kPlaceTransitionMark, r.Param(0) == kPlaceTransition ? 1 : 0);
    });
    // The mark is the dialog's own; it is neither written nor remembered.
    b.BeforeWrite([](R& r) {
        if (r.P.size() > kPlaceTransitionMark)
            r.P.resize(kPlaceTransitionMark);
    });
    return b.Build();
}

// The settings "Show Picture" and "Move Picture" share: the picture, where its centre goes,
// its size, transparency, colour and effect.
void PictureFields(TCommandFormBuilder& b, bool show) {
    b.Spin("SpinPicture", "Picture &Number", 0, 1, kPictureMax).Key("picture").Default(1);
    b.Radio("Position", "Centre", 1, {"&Position", "By &Variable"}).Key("position");
    // The values of one kind mean nothing as the other's: the centre of the screen, or the first variable.
    b.Follows([](R& r, std::int32_t kind) {
        r.SetParam(2, kind == 0 ? 160 : 1);
        r.SetParam(3, kind == 0 ? 120 : 1);
    });
    b.Spin("PositionX", "&X", 2, -640, 960).When(1, {0}).Key("position-x").Default(160);
    b.Spin("PositionY", "&Y", 3, -480, 720).When(1, {0}).Key("position-y").Default(120);
    b.Variable("PositionXVariable", "X V&ariable", 2).When(1, {1}).Key("position-x-variable");
    b.Variable("PositionYVariable", "Y Va&riable", 3).When(1, {1}).Key("position-y-variable");
    if (show)
        b.Check("CheckMoveWithMap", "Move with &Map", 4).Key("move-with-map");
    b.Spin("SpinMagnification", "Ma&gnification (%)", 5, 0, 2000).Key("magnification").Default(100);
    b.Spin("SpinTransparency", "&Transparency (%)", 6, 0, 100).Key("transparency");
    if (show)
        b.Check("CheckTransparentColour", "Transparent &Color", 7).Key("transparent-color").Default(1);
    b.Colour("Colour", 8, 11, kToneMax).Key("color").Default(100);
    // Without an effect its strength is 0; choosing one gives it a strength it can have.
    b.Radio("RadioEffect", "Effect", 12, {"No &Effect", "R&otation", "R&ipple"}).Key("effect");
    b.Follows([](R& r, std::int32_t effect) {
        if (effect == 0)
            r.SetParam(13, 0);
        else if (r.Param(13) < 1 || r.Param(13) > 9)
            r.SetParam(13, 5);
    });
    b.Spin("SpinEffectStrength", "&Strength", 13, 1, 9).When(12, {1, 2}).Key("strength");
}

}  // namespace

void AddScreenCommandForms(std::vector<TCommandForm>& forms) {
    // "Memorize this Place": the variables that receive the map and the cell.
    {
        TCommandFormBuilder b(TCommandCode::MemorizePlace, 3);
        b.Variable("ButtonMapVariable", "&Map ID", 0).Key("map").Default(1);
        b.Variable("ButtonXVariable", "&X", 1).Key("x").Default(1);
        b.Variable("ButtonYVariable", "&Y", 2).Key("y").Default(1);
        forms.push_back(b.Build());
    }
    // "Teleport to Memorized Place": the variables that hold the map and the cell.
    {
        TCommandFormBuilder b(TCommandCode::GoToMemorizedPlace, 3);
        b.Variable("ButtonMapVariable", "&Map ID", 0).Key("map").Default(1);
        b.Variable("ButtonXVariable", "&X", 1).Key("x").Default(1);
        b.Variable("ButtonYVariable", "&Y", 2).Key("y").Default(1);
        forms.push_back(b.Build());
    }
    // "Placement of Vehicle": the vehicle, and its place picked on a map or held by variables.
    {
        TCommandFormBuilder b(TCommandCode::SetVehiclePlace, 5);
        b.Radio("RadioVehicle", "Vehicle", 0, {"&Boat", "&Ship", "&Airship"}).Key("vehicle");
        b.Radio("RadioPlace", "Place", 1, {"&Fixed Place", "By &Variables"}).Key("place");
        // A place of the current map, or the first variable for each value.
        b.Follows([](R& r, std::int32_t kind) {
            const bool fixed = kind == 0;
            r.SetParam(2, fixed ? (r.Context && r.Context->Map ? r.Context->Map->ID : 0) : 1);
            r.SetParam(3, fixed ? 0 : 1);
            r.SetParam(4, fixed ? 0 : 1);
        });
        b.Place("ButtonPlace", "P&lace", 2, 3, 4).When(1, {0}).Key("place-fixed");
        b.Variable("ButtonMapVariable", "&Map ID Variable", 2).When(1, {1}).Key("place-map-variable");
        b.Variable("ButtonXVariable", "&X Variable", 3).When(1, {1}).Key("place-x-variable");
        b.Variable("ButtonYVariable", "&Y Variable", 4).When(1, {1}).Key("place-y-variable");
        b.Defaults([](R& r) {
            if (r.Context && r.Context->Map)
                r.SetParam(2, r.Context->Map->ID);
        });
        forms.push_back(b.Build());
    }
    // "Place of Event": the character and the cell it goes to.
    {
        TCommandFormBuilder b(TCommandCode::SetEventPlace, 4);
        b.Character("ComboCharacter", "&Character", 0).Key("character").Default(kCharacterThisEvent);
        b.Position("Position", 1, 2, 3, kCellMax).Key("position");
        forms.push_back(b.Build());
    }
    // "Exchange Event Places": the two characters.
    {
        TCommandFormBuilder b(TCommandCode::SwapEvents, 2);
        b.Character("ComboCharacter", "&Character", 0).Key("character").Default(kCharacterThisEvent);
        b.Character("ComboOther", "&Other Character", 1).Key("other").Default(kCharacterHero);
        forms.push_back(b.Build());
    }
    // "Get Terrain ID" and "Get Event ID": the cell, and the variable that receives the ID.
    for (const TCommandCode code : {TCommandCode::GetTerrainId, TCommandCode::GetEventId}) {
        TCommandFormBuilder b(code, 4);
        b.Position("Position", 0, 1, 2, kCellMax).Key("position");
        b.Variable("ButtonResult", "&Store in Variable", 3).Key("variable").Default(1);
        forms.push_back(b.Build());
    }
    forms.push_back(TransitionForm(TCommandCode::EraseScreen, 20, &TEventScriptConverter::EraseTransitionName));
    forms.push_back(TransitionForm(TCommandCode::ShowScreen, 19, &TEventScriptConverter::ShowTransitionName));
    // "Set Screen Color Tone": the tone, reached over a time.
    {
        TCommandFormBuilder b(TCommandCode::SetScreenTone, 6);
        b.Colour("Tone", 0, 3, kToneMax).Key("tone").Default(100);
        b.TimeWait("Time", 4, 5, kTenthsMax).Key("time");
        forms.push_back(b.Build());
    }
    // "Screen Flash": the colour, its power and how long it fades.
    {
        TCommandFormBuilder b(TCommandCode::FlashScreen, 6);
        b.Colour("Flash", 0, -1, kFlashMax).Key("color").Default(kFlashMax);
        b.Spin("SpinPower", "&Power", 3, 0, kFlashMax).Key("power").Default(kFlashMax);
        b.TimeWait("Time", 4, 5, kTenthsMax).Key("time");
        forms.push_back(b.Build());
    }
    // "Shake Screen": power, speed and time.
    {
        TCommandFormBuilder b(TCommandCode::ShakeScreen, 4);
        b.Spin("SpinPower", "&Power", 0, 1, 9).Key("power").Default(3);
        b.Spin("SpinSpeed", "&Speed", 1, 1, 9).Key("speed").Default(3);
        b.TimeWait("Time", 2, 3, kTenthsMax).Key("time");
        forms.push_back(b.Build());
    }
    // "Pan Screen": fix the screen, free it, move it by some cells or move it back to the hero.
    {
        TCommandFormBuilder b(TCommandCode::PanScreen, 5);
        b.Radio("RadioOperation", "Operation", 0, {"Fi&x Screen", "&Cancel Fixation", "&Pan Screen", "&Return Position"})
            .Key("operation");
        // Only a pan has a direction and a distance, and only a move a speed and a wait.
        b.Follows([](R& r, std::int32_t operation) {
            const bool pan = operation == 2, moves = operation == 2 || operation == 3;
            if (!pan) {
                r.SetParam(1, 0);
                r.SetParam(2, 0);
            } else if (r.Param(2) < 1) {
                r.SetParam(2, 1);
            }
            if (!moves) {
                r.SetParam(3, 0);
                r.SetParam(4, 0);
            } else if (r.Param(3) < 1 || r.Param(3) > 6) {
                r.SetParam(3, 4);
            }
        });
        b.Radio("RadioDirection", "Direction", 1, {"&Up", "R&ight", "&Down", "&Left"}).When(0, {2}).Key("direction");
        b.Spin("SpinDistance", "Dis&tance (cells)", 2, 1, kCellMax).When(0, {2}).Key("distance");
        b.Spin("SpinSpeed", "&Speed", 3, 1, 6).When(0, {2, 3}).Key("speed");
        b.Check("CheckWait", "&Wait Until Done", 4).When(0, {2, 3}).Key("wait");
        forms.push_back(b.Build());
    }
    // "Weather Screen Effects": rain or snow and how heavy.
    {
        TCommandFormBuilder b(TCommandCode::WeatherEffects, 2);
        b.Radio("RadioWeather", "Weather", 0, {"&None", "&Rain", "&Snow"}).Key("weather");
        b.Follows([](R& r, std::int32_t weather) {
            if (weather == 0)
                r.SetParam(1, 0);
        });
        b.Radio("RadioStrength", "Strength", 1, {"&Low", "&Medium", "&High"}).When(0, {1, 2}).Key("strength");
        forms.push_back(b.Build());
    }
    // "Show Picture": the file and its settings.
    {
        TCommandFormBuilder b(TCommandCode::ShowPicture, 14);
        b.Resource("ButtonFile", "Picture &File", TSelKind::Picture);
        PictureFields(b, true);
        forms.push_back(b.Build());
    }
    // "Move Picture": where the picture goes and how it looks there, over a time.
    {
        TCommandFormBuilder b(TCommandCode::MovePicture, 16);
        PictureFields(b, false);
        b.TimeWait("Time", 14, 15, kTenthsMax).Key("time");
        forms.push_back(b.Build());
    }
    // "Erase Pic".
    {
        TCommandFormBuilder b(TCommandCode::ErasePicture, 1);
        b.Spin("SpinPicture", "Picture &Number", 0, 1, kPictureMax).Key("picture").Default(1);
        forms.push_back(b.Build());
    }
    // "Show Battle Animation" on the map: on a character or over the whole screen.
    {
        TCommandFormBuilder b(TCommandCode::ShowBattleAnimation, 4);
        b.Entry(TEntryList::Animation, "ComboAnimation", "&Animation", 0).Key("animation").Default(1);
        b.Character("ComboCharacter", "&Target", 1).Key("character").Default(kCharacterHero);
        b.Check("CheckWait", "&Wait Until Done", 2).Key("wait");
        b.Check("CheckFullScreen", "Apply to &Full Screen", 3).Key("full-screen");
        forms.push_back(b.Build());
    }
    // "Change Hero Transparency".
    {
        TCommandFormBuilder b(TCommandCode::SetHeroTranslucency, 1);
        b.Radio("RadioTransparency", "Hero", 0, {"&Translucent", "&Opaque"}).Key("transparency");
        forms.push_back(b.Build());
    }
    // "Flash Character": the character, the colour and power of the flash, and its time.
    {
        TCommandFormBuilder b(TCommandCode::FlashEvent, 7);
        b.Character("ComboCharacter", "&Character", 0).Key("character").Default(kCharacterThisEvent);
        b.Colour("Flash", 1, -1, kFlashMax).Key("color").Default(kFlashMax);
        b.Spin("SpinPower", "&Power", 4, 0, kFlashMax).Key("power").Default(kFlashMax);
        b.TimeWait("Time", 5, 6, kTenthsMax).Key("time");
        forms.push_back(b.Build());
    }
    // "Wait".
    {
        TCommandFormBuilder b(TCommandCode::Wait, 1);
        b.Spin("SpinTime", "&Time (0.1 sec)", 0, 0, kTenthsMax).Key("time");
        forms.push_back(b.Build());
    }
}

}  // namespace quillon
