// Drawing helpers over Qt painters: the selection cursor frame, the pattern outside images and
// the running dashed frame of a selection.
#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/OrlenSheet.h"

#include <QColor>
#include <QPainter>

#include <cstdint>

namespace quillon {

// Four nested 1-pixel outlines on the board: rect in black, rect inset by 3 in black, inset by 2
// in white, inset by 1 in color.
void DrawCursorFrame(TOrlenBoard& board, const QColor& color, const TRect& rect);

// Fills the painter's clip area (the whole device without clip) with the 8 × 8 pattern shown
// outside images: the button shadow colour crossed by diagonals in the button face colour, its
// origin at (−offsetX, −offsetY) so it scrolls with the content.
void FillEmptyPattern(QPainter& canvas, int offsetX, int offsetY);

// Draws the four edges of rect (the right and bottom edges at Right − 1 and Bottom − 1), clipped
// to rect, with a pen of penColor and penStyle over a line of brushColor; each edge starts
// (time × speed / 1024) mod 96 pixels before its corner, so the dashes run round the frame as time
// (milliseconds) goes on.
void DrawMarchingFrame(QPainter& canvas, std::int64_t time, int speed, const QColor& brushColor,
                       const QColor& penColor, Qt::PenStyle penStyle, const TRect& rect);

// The offset DrawMarchingFrame starts each edge with.
int MarchingOffset(std::int64_t time, int speed);

}  // namespace quillon
