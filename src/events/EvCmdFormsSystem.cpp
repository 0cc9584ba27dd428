#include "events/CommandFormBatches.h"

#include <variant>

namespace quillon {

namespace {

const std::vector<std::string> kAddRemove = {"&Add", "&Remove"};
const std::vector<std::string> kDisableEnable = {"&Disable", "&Enable"};

// The commands whose only setting is "Disable" or "Enable".
TCommandForm EnableForm(TCommandCode code) {
    return TCommandFormBuilder(code, 1).Radio("Permission", "Permission", 0, kDisableEnable).Key("enable").Build();
}

}  // namespace

void AddSystemCommandForms(std::vector<TCommandForm>& forms) {
    // Fade-Out BGM: the fade time in seconds.
    forms.push_back(TCommandFormBuilder(TCommandCode::FadeOutBgm, 1).Spin("FadeTime", "&Fade time (sec):", 0, 0, 10).Key("seconds").Build());

    // Play Movie: the file, its position (direct or by variables) and its size.
    forms.push_back(TCommandFormBuilder(TCommandCode::PlayMovie, 5)
                        .Resource("Movie", "&Movie:", TSelKind::Movie)
                        .Key("file")
                        .Position("Position", 0, 1, 2, 9999)
                        .Spin("MovieWidth", "&Width:", 3, 0, 640)
                        .Key("width")
                        .Default(320)
                        .Spin("MovieHeight", "&Height:", 4, 0, 480)
                        .Key("height")
                        .Default(240)
                        .Build());

    // Enter Password: the variable receiving the key, waiting, and the accepted keys.
    forms.push_back(TCommandFormBuilder(TCommandCode::EnterPassword, 10)
                        .Variable("KeyVariable", "Store key in &variable:", 0)
                        .Key("variable")
                        .Default(1)
                        .Check("WaitKey", "&Wait Untill Key Hit", 1)
                        .Key("wait")
                        .Default(1)
                        .Check("KeyConfirm", "&Confirm [5]", 3)
                        .Key("confirm")
                        .Default(1)
                        .Check("KeyCancel", "Ca&ncel [6]", 4)
                        .Key("cancel")
                        .Default(1)
                        .Check("KeyShift", "&Shift [7]", 5)
                        .Key("shift")
                        .Check("KeyDown", "&Down [1]", 6)
                        .Key("down")
                        .Default(1)
                        .Check("KeyLeft", "&Left [2]", 7)
                        .Key("left")
                        .Default(1)
                        .Check("KeyRight", "&Right [3]", 8)
                        .Key("right")
                        .Default(1)
                        .Check("KeyUp", "&Up [4]", 9)
                        .Key("up")
                        .Default(1)
                        .Build());

    // Change ChipSet.
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangeChipSet, 1)
                        .Entry(TEntryList::ChipSet, "ChipSet", "&ChipSet:", 0)
                        .Key("chipset")
                        .Default(1)
                        .Build());

    // Change Parallax Background: the panorama and how it scrolls.
    const auto horizontal = [](const TCommandRecord& r) { return r.Param(0) != 0; };
    const auto vertical = [](const TCommandRecord& r) { return r.Param(1) != 0; };
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangePanorama, 6)
                        .Resource("Panorama", "&Panorama:", TSelKind::Panorama)
                        .Key("file")
                        .Check("HorizontalPan", "&Horizontal Pan", 0)
                        .Key("horizontal")
                        .Check("HorizontalAuto", "&Auto Scroll (horizontal)", 2)
                        .Key("horizontal-auto")
                        .EnabledWhen(horizontal)
                        .Spin("HorizontalSpeed", "Horizontal &speed:", 3, -8, 8)
                        .Key("horizontal-speed")
                        .EnabledWhen([](const TCommandRecord& r) { return r.Param(0) != 0 && r.Param(2) != 0; })
                        .Check("VerticalPan", "&Vertical Pan", 1)
                        .Key("vertical")
                        .Check("VerticalAuto", "Auto S&croll (vertical)", 4)
                        .Key("vertical-auto")
                        .EnabledWhen(vertical)
                        .Spin("VerticalSpeed", "Vertical s&peed:", 5, -8, 8)
                        .Key("vertical-speed")
                        .EnabledWhen([](const TCommandRecord& r) { return r.Param(1) != 0 && r.Param(4) != 0; })
                        .Build());

    // Change Enemy Encounter: steps between encounters.
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangeEncounterRate, 1).Spin("EncounterSteps", "&Encounter rate (steps):", 0, 0, 999).Key("steps").Default(25).Build());

    // Change Chip: the layer and the tile replaced by another (shown 1-based).
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangeChip, 3)
                        .Radio("Layer", "Layer", 0, {"&Lower Chip", "&Upper Chip"})
                        .Key("layer")
                        .Spin("ChipFrom", "Chip &from:", 1, 0, 143)
                        .Key("from")
                        .Spin("ChipTo", "Chip &to:", 2, 0, 143)
                        .Key("to")
                        .Build());

    // Place of Teleport: add a place (map and cell, a switch turned on after) or remove a map's.
    const auto adding = [](const TCommandRecord& r) { return r.Param(0) == 0; };
    TCommandFormBuilder teleport(TCommandCode::SetTeleportPlace, 6);
    teleport.Radio("TeleportAction", "Action", 0, kAddRemove).Key("action");
    // Removing names only the map.
    teleport.Follows([](TCommandRecord& r, std::int32_t action) {
        if (action == 1)
            for (std::size_t p = 2; p < 6; ++p)
                r.SetParam(p, 0);
        else
            r.SetParam(5, 1);
    });
    forms.push_back(teleport
                        .Place("TeleportPlace", "&Place:", 1, 2, 3)
                        .Key("place")
                        .Check("TeleportSwitchOn", "&Turn Switch ON After", 4)
                        .Key("switch-on")
                        .EnabledWhen(adding)
                        .Switch("TeleportSwitch", "S&witch:", 5)
                        .Key("switch")
                        .Default(1)
                        .EnabledWhen([](const TCommandRecord& r) { return r.Param(0) == 0 && r.Param(4) != 0; })
                        .Build());

    forms.push_back(EnableForm(TCommandCode::EnableTeleport));

    // Place Escape Area: the map and cell, a switch turned on after.
    forms.push_back(TCommandFormBuilder(TCommandCode::SetEscapePlace, 5)
                        .Place("EscapePlace", "&Place:", 0, 1, 2)
                        .Key("place")
                        .Check("EscapeSwitchOn", "&Turn Switch On After", 3)
                        .Key("switch-on")
                        .Switch("EscapeSwitch", "S&witch:", 4)
                        .Key("switch")
                        .Default(1)
                        .When(3, {1})
                        .Build());

    forms.push_back(EnableForm(TCommandCode::EnableEscape));
    forms.push_back(EnableForm(TCommandCode::EnableSave));
    forms.push_back(EnableForm(TCommandCode::EnableSystemMenu));

    // Labels: their number.
    forms.push_back(TCommandFormBuilder(TCommandCode::Label, 1).Spin("Label", "&Label number:", 0, 1, 1000).Key("label").Default(1).Build());
    forms.push_back(TCommandFormBuilder(TCommandCode::JumpToLabel, 1).Spin("Label", "&Label number:", 0, 1, 1000).Key("label").Default(1).Build());

    // Call Event: a common event, a map event's page, or both by variables.
    TCommandFormBuilder call(TCommandCode::CallEvent, 3);
    call.Radio("CallKind", "Event", 0, {"&Common Event", "&Map Event", "By &Variables"}).Key("kind");
    // Each kind starts from its own first choice: common event 1; this event's page 1; variables 1.
    call.Follows([](TCommandRecord& r, std::int32_t kind) {
        r.SetParam(1, kind == 1 ? kCharacterThisEvent : 1);
        r.SetParam(2, kind == 0 ? 0 : 1);
    });
    forms.push_back(call.Entry(TEntryList::CommonEvent, "CommonEvent", "C&ommon event:", 1)
                        .Key("common-event")
                        .Default(1)
                        .When(0, {0})
                        .Character("MapEvent", "Map &event:", 1, true)
                        .Key("event")
                        .When(0, {1})
                        .Spin("MapEventPage", "&Page:", 2, 1, 100)
                        .Key("page")
                        .When(0, {1})
                        .Variable("EventVariable", "Event &ID variable:", 1)
                        .Key("event-variable")
                        .When(0, {2})
                        .Variable("PageVariable", "Pa&ge variable:", 2)
                        .Key("page-variable")
                        .When(0, {2})
                        .Build());

    // Change Enemy HP / MP: the enemy, add or remove, the amount (and whether HP may reach 0).
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangeEnemyHp, 5)
                        .Enemy("Enemy", "&Enemy:", 0, true)
                        .Key("enemy")
                        .Radio("Operation", "Operation", 1, {"&Increase", "&Decrease"})
                        .Key("operation")
                        .Amount("Amount", 2, 3, 0, 9999)
                        .Check("PossibleDeath", "Impossibile &Death", 4)
                        .Key("death")
                        .Build());
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangeEnemyMp, 4)
                        .Enemy("Enemy", "&Enemy:", 0, true)
                        .Key("enemy")
                        .Radio("Operation", "Operation", 1, {"&Increase", "&Decrease"})
                        .Key("operation")
                        .Amount("Amount", 2, 3, 0, 999)
                        .Build());

    // Change Enemy Condition.
    forms.push_back(TCommandFormBuilder(TCommandCode::ChangeEnemyCondition, 3)
                        .Enemy("Enemy", "&Enemy:", 0, true)
                        .Key("enemy")
                        .Radio("Operation", "Operation", 1, {"&Add", "&Remove"})
                        .Key("operation")
                        .Entry(TEntryList::Condition, "Condition", "&Condition:", 2)
                        .Key("condition")
                        .Default(1)
                        .Build());

    // Change Enemy Appearance: the enemy that appears.
    forms.push_back(TCommandFormBuilder(TCommandCode::EnemyAppears, 1).Enemy("Enemy", "&Enemy:", 0, false).Key("enemy").Build());

    // Show Battle Animation (battle): the animation, its target enemy, waiting.
    forms.push_back(TCommandFormBuilder(TCommandCode::ShowBattleAnimationInBattle, 3)
                        .Entry(TEntryList::Animation, "Animation", "&Animation:", 0)
                        .Key("animation")
                        .Default(1)
                        .Enemy("Enemy", "&Target:", 1, true)
                        .Key("target")
                        .Check("WaitEnd", "&Wait Till End Animation", 2)
                        .Key("wait")
                        .Build());
}

}  // namespace quillon
