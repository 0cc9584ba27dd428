// The commands that are edited through a selector only: the selector opens on the edited line's
// values (or the last ones chosen for a new command) and, on OK, the command's line is built
// from what was chosen. "Change System Graphics" (10680), "Teleport to a Place" (10810, the
// place picker), "Move Character" (11330, the move route editor), "Play BGM" (11510), "Play
// Sound Effect" (11550) and "Change Battle Background" (13210). The pickers are reached through
// the context's IEventChoosers.
#pragma once

#include "events/EventChoosers.h"
#include "events/ScriptList.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

// Whether the command is edited through a selector only.
bool IsSelectorCommand(std::int32_t code);

// Opens the command's selector on `result` (the edited command's lines, or nothing for a new
// command) and, on OK, leaves the command's line in `result`. False on cancel, for a code that
// is not a selector command and without pickers in the context; `result` is unchanged then.
bool RunSelectorCommand(std::int32_t code, TKelEventScriptList& result, const TEventCommandContext& context);

// A selector command built without a window, from key=value settings standing for what the
// selector would choose: "file" (the resource's name, every command but 10810 and 11330),
// "wallpaper" and "font" (10680), "map", "x" and "y" (10810), "target", "frequency", "repeat"
// and "skippable" (11330, with an empty route), "fade" (11510), "volume", "tempo" and "balance"
// (11510, 11550). A setting not given keeps the selector's starting value. False with `error`
// for a code that is not a selector command, an unknown setting or a value out of range.
bool BuildSelectorCommand(std::int32_t code, const std::vector<std::pair<std::string, std::string>>& values,
                          const TEventCommandContext& context, TKelEventScriptList& result, std::string& error);

// Where the teleport picker opens: the edited line's map and cell; else the current map with
// the cell of the event being edited; else the current map with the cell at the centre of the
// map editor's view (the map's stored scroll position / 32, plus 9 across and 7 down, kept on
// the map). A map ID that is not positive or not in the tree gets no cell (-1, -1).
TMapPlaceRequest InitialTeleportPlace(const TKelEventScriptList& edited, const TEventCommandContext& context);

// What the route editor opens on for "Move Character" (`request` is filled from its defaults):
// the edited line's target, frequency, options and route (a damaged route opens empty), else
// the last target and frequency with an empty route that runs once.
void MoveRouteOfLine(const TKelEventScriptList& edited, TMoveRouteRequest& request);
// The "Move Character" line of an edited route: target, frequency, repeat, skippable, then the
// route's bytes one to a parameter.
TKelEventScriptLine MoveRouteLine(const TMoveRouteRequest& request);

// Forgets the settings the selector commands remembered.
void ForgetSelectorCommandSettings();

}  // namespace quillon
