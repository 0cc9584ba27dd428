#include "graphics/HighColorDIB_qt.h"

namespace quillon {

QImage HighColorDIBImage(THighColorDIB& dib) {
    if (dib.Width() == 0 || dib.Height() == 0)
        return QImage();
    return QImage(dib.Bits(), dib.Width(), dib.Height(), dib.Pitch(), QImage::Format_RGB555);
}

}  // namespace quillon
