// Middle-button auto-scroll for any scroll area: watches the viewport (and the widgets the owner
// names) for the middle button and moves the scroll bars by a window timer.
#pragma once

#include "controls/AutoScroll.h"

#include <QObject>
#include <QTimer>

class QAbstractScrollArea;
class QWidget;

namespace quillon {

class TMiddleAutoScroll : public QObject {
    Q_OBJECT
public:
    // Parented to the area; works for as long as the area lives.
    explicit TMiddleAutoScroll(QAbstractScrollArea* area);
    // Also listens to a widget inside the viewport (a picture that takes the mouse itself).
    void Watch(QWidget* widget);
    const TAutoScrollModel& Model() const { return mModel; }
    // One step of the timer (tests call it directly).
    void Tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Sync();
    QAbstractScrollArea* mArea;
    TAutoScrollModel mModel;
    QTimer mTimer;
};

}  // namespace quillon
