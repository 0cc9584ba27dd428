// Where a dialog opens: centred on its owner, or at a fixed offset from the owner's client
// origin, then clamped into the screen's available area.
#pragma once

#include "graphics/GraphicsTypes.h"

namespace quillon {

// A dialog of this size centred on its owner's outer rectangle, then clamped so that its right
// and bottom edges lie within the area and its left and top edges are not left of or above it.
TRect CenterOnOwner(int width, int height, const TRect& owner, const TRect& screen);
// A dialog of this size at `dx`, `dy` from the owner's client origin, clamped the same way.
TRect PlaceAtClientOffset(int width, int height, int clientLeft, int clientTop, int dx, int dy, const TRect& screen);

}  // namespace quillon
