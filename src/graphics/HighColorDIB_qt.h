// Showing a 16-bit 5-5-5 buffer in Qt without converting its pixels; its canvas is a QPainter on
// this image.
#pragma once

#include "graphics/HighColorDIB.h"

#include <QImage>

namespace quillon {

// A Format_RGB555 image sharing the buffer's memory; valid until the buffer is resized or
// destroyed. Null while the buffer has no pixels.
QImage HighColorDIBImage(THighColorDIB& dib);

}  // namespace quillon
