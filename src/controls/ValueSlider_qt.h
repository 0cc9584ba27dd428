// A slider with its value beside it ("100%", "+8"): the label follows every change, ValueEdited
// comes only for the user's (drag, keys, wheel).
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QSlider;

namespace quillon {

class TValueSlider : public QWidget {
    Q_OBJECT
public:
    // `format` turns a value into the label's text (the number itself without one).
    TValueSlider(int minimum, int maximum, std::function<QString(int)> format = {}, QWidget* parent = nullptr);
    void SetValue(int value);
    int Value() const;
    QSlider* Slider() const { return mSlider; }
    QLabel* ValueLabel() const { return mLabel; }
    // The name assistive tools read for the slider.
    void SetFieldName(const QString& name);

signals:
    void ValueEdited(int value);

private:
    void ShowValue(int value);
    QSlider* mSlider;
    QLabel* mLabel;
    std::function<QString(int)> mFormat;
    bool mSetting = false;
};

}  // namespace quillon
