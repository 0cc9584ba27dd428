#include "controls/AutoScroll_qt.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace quillon {

namespace {
constexpr int kTickMilliseconds = 20;
}

TMiddleAutoScroll::TMiddleAutoScroll(QAbstractScrollArea* area) : QObject(area), mArea(area) {
    setObjectName("MiddleAutoScroll");
    mTimer.setInterval(kTickMilliseconds);
    connect(&mTimer, &QTimer::timeout, this, &TMiddleAutoScroll::Tick);
    Watch(area->viewport());
}

void TMiddleAutoScroll::Watch(QWidget* widget) {
    if (!widget)
        return;
    widget->installEventFilter(this);
    widget->setMouseTracking(true);
}

void TMiddleAutoScroll::Tick() {
    const TScrollStep step = mModel.Step();
    if (step.DX != 0)
        mArea->horizontalScrollBar()->setValue(mArea->horizontalScrollBar()->value() + step.DX);
    if (step.DY != 0)
        mArea->verticalScrollBar()->setValue(mArea->verticalScrollBar()->value() + step.DY);
}

void TMiddleAutoScroll::Sync() {
    if (mModel.Active()) {
        if (!mTimer.isActive())
            mTimer.start();
        mArea->viewport()->setCursor(Qt::SizeAllCursor);
    } else {
        mTimer.stop();
        mArea->viewport()->unsetCursor();
    }
}

bool TMiddleAutoScroll::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->globalPosition().toPoint();
        if (mouse->button() == Qt::MiddleButton) {
            mModel.MiddlePress(at.x(), at.y());
            Sync();
            return true;
        }
        if (mModel.Active()) {
            // The press that ends a scroll does nothing else.
            mModel.OtherPress();
            Sync();
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        mModel.Move(at.x(), at.y());
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
            mModel.MiddleRelease();
            Sync();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (mModel.Active() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            mModel.Stop();
            Sync();
            return true;
        }
        break;
    case QEvent::FocusOut:
    case QEvent::Hide:
        if (mModel.Active()) {
            mModel.Stop();
            Sync();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quillon
