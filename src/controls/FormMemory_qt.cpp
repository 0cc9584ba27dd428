#include "controls/FormMemory_qt.h"

#include "controls/FormMemory.h"
#include "platform/ProfileFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon {

namespace {

TRect ToRect(const QRect& r) { return MakeBounds(r.x(), r.y(), r.width(), r.height()); }

TRect ScreenArea(const QWidget& form) {
    QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    return screen ? ToRect(screen->availableGeometry()) : MakeBounds(0, 0, 800, 600);
}

}  // namespace

void SaveFormPlacement(const QWidget& form, TProfileFile& store) {
    const QRect normal = form.isMaximized() || form.isMinimized() ? form.normalGeometry() : form.geometry();
    if (!normal.isValid() || form.objectName().isEmpty())
        return;
    StoreFormPlacement(store, form.objectName().toStdString(), ToRect(normal), form.isMaximized());
}

bool RestoreFormPlacement(QWidget& form, const TProfileFile& store) {
    const std::string name = form.objectName().toStdString();
    if (name.empty())
        return false;
    const auto rect = StoredFormPlacement(store, name, ScreenArea(form), form.minimumWidth(), form.minimumHeight());
    if (!rect)
        return false;
    form.setGeometry(rect->Left, rect->Top, rect->Width(), rect->Height());
    if (PlacementMaximized(store.ReadString("", PlacementValueName(name), "")))
        form.setWindowState(form.windowState() | Qt::WindowMaximized);
    return true;
}

}  // namespace quillon
