// Where a dialog opens: centred on its owner, or at a fixed offset from the owner's client
// origin, then clamped into the screen's available area.
#pragma once

#include "graphics/GraphicsTypes.h"

namespace quillon {

// A dialog of this size centred on its owner's outer rectangle, then clamped so that its right
// and bottom edges lie within the area and its left and top edges are not left of or above it.
TRect CenterOnOwner(int width, int height, const TRect& owner, const TRect& screen);
// A dialog of this size at `dx`, `dy` from the owner's client origin, moved back over the owner's
// outer rectangle where it would stand out of it (a dialog larger than the owner keeps the
// owner's left or top edge), then clamped into the screen the same way.
TRect PlaceAtClientOffset(int width, int height, int clientLeft, int clientTop, int dx, int dy, const TRect& owner,
                          const TRect& screen);

}  // namespace quillon
