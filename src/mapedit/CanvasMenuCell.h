// The map cell a popup menu of the canvas belongs to: where "Test Play from Here" starts the game.
#pragma once

#include "mapedit/MapEditor.h"

#include <optional>

namespace quillon {

// For a right press at client pixel `press`: the cell under it. For the menu key (no press): the
// event cursor's cell in event mode, the selection's top-left cell with the select tool, or the
// top-left cell in view when nothing is selected. (-1, -1) without a menu or when that cell lies
// outside the map.
TPoint CanvasMenuCell(const TKelMapEditorModel& model, TCanvasPopup popup, std::optional<TPoint> press);

}  // namespace quillon
