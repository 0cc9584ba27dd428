#include "controls/FloatingHint_qt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace quillon {

TFloatingHint::TFloatingHint(QWidget* parent) : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName("FloatingHint");
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAccessibleName(tr("Hint"));
}

TFloatingHint::~TFloatingHint() {
    if (qApp)
        qApp->removeEventFilter(this);
}

void TFloatingHint::ShowHint(const QPoint& globalPos, const QString& text) {
    setText(text);
    setAccessibleDescription(text);
    adjustSize();
    QPoint at = globalPos + QPoint(12, 16);
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
    mRule.Show(globalPos.x(), globalPos.y());
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
    show();
    raise();
}

void TFloatingHint::HideHint() {
    mRule.Hide();
    qApp->removeEventFilter(this);
    hide();
}

bool TFloatingHint::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (mRule.PointerMoved(at.x(), at.y()))
            HideHint();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
        if (mRule.Shown())
            HideHint();
        break;
    default: break;
    }
    return QLabel::eventFilter(watched, event);
}

}  // namespace quillon
