// A number box over a record field's range: the value is set without a signal, ValueEdited comes
// only when the user changes it (typing, arrows, wheel).
#pragma once

#include <QSpinBox>

namespace quillon {

class TNumberEdit : public QSpinBox {
    Q_OBJECT
public:
    TNumberEdit(int minimum, int maximum, QWidget* parent = nullptr);
    // The range of the field; the value is kept within it (silently).
    void SetRange(int minimum, int maximum);
    // Shows a value (clamped into the range) without ValueEdited.
    void SetValue(int value);
    int Value() const { return value(); }

signals:
    void ValueEdited(int value);

private:
    bool mSetting = false;
};

}  // namespace quillon
