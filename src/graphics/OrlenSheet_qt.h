// Showing drawing boards in Qt: a board's memory wrapped in a QImage, with no pixel conversion.
// A board's canvas (text, lines and rectangles over its pixels) is a QPainter on BoardImage.
#pragma once

#include "graphics/OrlenSheet.h"

#include <QImage>
#include <QPainter>
#include <QRect>

namespace quillon {

// The board's pixels as a Format_RGB16 image sharing its memory; valid until the board is
// resized or destroyed.
QImage BoardImage(TOrlenBoard& board);
QImage BoardImage(const TOrlenBoard& board);

// Copies the board's top-left (Width − x) × (Height − y) pixels to (x, y) of the painter's device.
void DrawBoardTo(const TOrlenBoard& board, QPainter& canvas, int x, int y);
// Stretches the whole board into rect of the painter's device.
void StretchDrawBoardTo(const TOrlenBoard& board, QPainter& canvas, const QRect& rect);

}  // namespace quillon
