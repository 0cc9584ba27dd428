// The floating hint: a tool-tip-like window with a line of text at the pointer that stays until
// the pointer moves away (or a key or button is pressed), unlike a tool tip that goes on a timer.
#pragma once

#include "controls/FloatingHint.h"

#include <QLabel>

namespace quillon {

class TFloatingHint : public QLabel {
    Q_OBJECT
public:
    explicit TFloatingHint(QWidget* parent = nullptr);
    ~TFloatingHint() override;
    // Shows the text just below and right of a global pointer position.
    void ShowHint(const QPoint& globalPos, const QString& text);
    void HideHint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THintRule mRule;
};

}  // namespace quillon
