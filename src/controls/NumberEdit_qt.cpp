#include "controls/NumberEdit_qt.h"

#include <algorithm>

namespace quillon {

TNumberEdit::TNumberEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setKeyboardTracking(true);
    setAccelerated(true);
    SetRange(minimum, maximum);
    connect(this, &QSpinBox::valueChanged, this, [this](int value) {
        if (!mSetting)
            emit ValueEdited(value);
    });
}

void TNumberEdit::SetRange(int minimum, int maximum) {
    mSetting = true;
    setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    mSetting = false;
}

void TNumberEdit::SetValue(int value) {
    mSetting = true;
    setValue(value);
    mSetting = false;
}

}  // namespace quillon
