#include "platform/BusyCursor_qt.h"

#include <QCursor>
#include <QGuiApplication>

namespace quillon {

void TQtBusyCursor::Begin() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TQtBusyCursor::End() {
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace quillon
