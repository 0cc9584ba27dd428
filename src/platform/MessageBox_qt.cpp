#include "platform/MessageBox_qt.h"

#include "platform/Cp932Text_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace quillon {

int TQtMessageBox::Show(const std::string& text, int flags, const void* owner) {
    auto* parent = static_cast<QWidget*>(const_cast<void*>(owner));
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                                        : QApplication::applicationDisplayName());
    box.setText(Cp932ToQString(text));
    switch (flags & 0xF0) {
    case mbIconError: box.setIcon(QMessageBox::Critical); break;
    case mbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case mbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case mbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (flags & 0x0F) {
    case mbOkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case mbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case mbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    // A modal box on its owner keeps the other windows from input while it is shown.
    box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    case QMessageBox::Cancel: return mrCancel;
    default: return mrOk;
    }
}

}  // namespace quillon
