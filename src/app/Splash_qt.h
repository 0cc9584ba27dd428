// The splash window shown while the editor starts, and the about box that shows the same picture.
#pragma once

#include "controls/KelBase_qt.h"
#include <QPixmap>
#include <QWidget>

namespace quillon {

// The picture of the splash window and the about box.
QPixmap SplashPicture();

// A borderless, always-on-top window centred on the screen; it closes itself after 2500 ms.
class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(QWidget* parent = nullptr);
};

// The about box: the splash picture, the product's name and version.
class TFormAboutBox : public TFormKelBase {
    Q_OBJECT
public:
    explicit TFormAboutBox(QWidget* parent = nullptr);
};

}  // namespace quillon
