#include "controls/ValueSlider_qt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

namespace quillon {

TValueSlider::TValueSlider(int minimum, int maximum, std::function<QString(int)> format, QWidget* parent)
    : QWidget(parent), mFormat(std::move(format)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    mSlider = new QSlider(Qt::Horizontal, this);
    mSlider->setRange(minimum, maximum);
    mSlider->setFocusPolicy(Qt::StrongFocus);
    mSlider->setPageStep(std::max(1, (maximum - minimum) / 10));
    mLabel = new QLabel(this);
    mLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the widest text so that the slider does not move as the value changes.
    const QFontMetrics fm = mLabel->fontMetrics();
    const auto text = [this](int v) { return mFormat ? mFormat(v) : QString::number(v); };
    mLabel->setMinimumWidth(std::max(fm.horizontalAdvance(text(minimum)), fm.horizontalAdvance(text(maximum))) + 4);
    mLabel->setBuddy(mSlider);
    row->addWidget(mSlider, 1);
    row->addWidget(mLabel);
    setFocusProxy(mSlider);
    connect(mSlider, &QSlider::valueChanged, this, [this](int value) {
        ShowValue(value);
        if (!mSetting)
            emit ValueEdited(value);
    });
    ShowValue(mSlider->value());
}

void TValueSlider::SetValue(int value) {
    mSetting = true;
    mSlider->setValue(value);
    mSetting = false;
    ShowValue(mSlider->value());
}

int TValueSlider::Value() const { return mSlider->value(); }

void TValueSlider::SetFieldName(const QString& name) {
    setAccessibleName(name);
    mSlider->setAccessibleName(name);
}

void TValueSlider::ShowValue(int value) {
    const QString text = mFormat ? mFormat(value) : QString::number(value);
    mLabel->setText(text);
    mSlider->setAccessibleDescription(text);
}

}  // namespace quillon
