// Small geometry helpers of the selectors and the map editor.
#pragma once

#include "graphics/GraphicsTypes.h"

#include <string>

namespace quillon {

// All four coordinates multiplied by factor.
TRect ScaleRect(const TRect& rect, int factor);
// The rectangle covering two cells, both inclusive.
TRect RectFromCells(const TPoint& a, const TPoint& b);
// Where an image goes inside a box: shrunk keeping its aspect when larger than the box in either
// direction, then centred; the result is relative to the box's top-left corner.
TRect FitRect(const TRect& box, int imageWidth, int imageHeight);
// Pixels to scroll per timer tick while dragging near a view's edge: (distance div 2) in 0..20;
// callers pass 16 − the distance to the edge.
int EdgeScrollStep(int distance);
// "A" when both are equal, else "A-B".
std::string RangeText(int a, int b);

}  // namespace quillon
