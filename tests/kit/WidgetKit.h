// What every widget test shares: the one application object, pictures kept under
// <build>/test-grabs, waiting for the event loop, synthetic keys and clicks, and a check that
// every visible input carries a name that assistive technology can read out.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTextEdit>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace quillon::widgetkit {

// The application object of the test process, made on first use. It is never destroyed: Qt's
// own globals (the input devices that synthetic events register) must outlive it at exit.
// TApp is QApplication or a subclass; a process holds one application of one type. (GNU's
// program_invocation_name: <cerrno> declares it.)
template <class TApp = QApplication>
TApp& App() {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (auto* app = dynamic_cast<TApp*>(existing))
            return *app;
        std::fprintf(stderr, "widget kit: the process already has an application of another type\n");
        std::abort();
    }
    // The program's own name, as the application name that lock files and settings record.
    static std::string name = program_invocation_name;
    static int argc = 1;
    static char* argv[] = {name.data(), nullptr};
    return *new TApp(argc, argv);
}

// Base of fixtures whose members are widgets: the application exists before they are made.
struct TWithApp {
    TWithApp() { App(); }
};

// <build>/test-grabs, made when missing.
inline QString GrabFolder() {
    const QString folder = QString::fromUtf8(QUILLON_BINARY_DIR) + "/test-grabs";
    QDir().mkpath(folder);
    return folder;
}

// Keeps a picture for looking at: <build>/test-grabs/<name>.png. True when it was written.
inline bool KeepPicture(const QImage& image, const std::string& name) {
    return image.save(GrabFolder() + "/" + QString::fromStdString(name) + ".png");
}

// The widget as it paints, 32 bits a pixel.
inline QImage Grab(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Lays the widget out at its preferred size and keeps its picture; fails the test when the file
// cannot be written.
inline void KeepWidget(QWidget& widget, const std::string& name) {
    widget.adjustSize();
    EXPECT_TRUE(KeepPicture(widget.grab().toImage(), name)) << name;
}

// Runs the event loop until `done` holds or `timeoutMs` passes; answers `done()` at the end.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Delivers the pending events (posted events, deferred deletes, layout requests).
inline void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Shows a window and makes it the active one (there is no window manager to do so), so that
// its short-cuts and mnemonics answer.
inline void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    WaitUntil([&] { return QApplication::activeWindow() == &window; }, 2000);
}

// A child by object name; a failed expectation names what is missing.
template <class T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// A key press and release delivered straight to the widget (no short-cut handling).
inline void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

// One mouse event at a point of the widget.
inline void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

// Whether the widget takes input of its own: the kinds a user reaches with the keyboard.
inline bool IsInput(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QTabBar*>(w) ||
           qobject_cast<const QSlider*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || (qobject_cast<const QGroupBox*>(w) &&
                                                      static_cast<const QGroupBox*>(w)->isCheckable());
}

// The name a screen reader announces for the widget. A combo box on this platform reports its
// current text as its name when nothing else names it, so for it only a name that does not
// come from the value counts: its accessible name, a label's buddy or its group box's title.
inline QString AccessibleNameOf(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (!combo->accessibleName().isEmpty())
            return combo->accessibleName();
        if (QWidget* parent = combo->parentWidget()) {
            for (QObject* child : parent->children())
                if (auto* label = qobject_cast<QLabel*>(child); label && label->buddy() == combo)
                    return label->text();
            if (auto* group = qobject_cast<QGroupBox*>(parent))
                return group->title();
        }
        return {};
    }
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// "Class ObjectName" of every visible input in `root` (itself included) that has no accessible
// name. Widgets inside another input (the edit of a spin box or combo box, a scroll bar of a
// list) speak through that input and are not listed.
inline QStringList InputsWithoutAccessibleName(QWidget* root) {
    QStringList missing;
    if (root == nullptr)
        return missing;
    std::function<void(QWidget*)> visit = [&](QWidget* w) {
        if (!w->isVisibleTo(root->window()) && w != root)
            return;
        if (IsInput(w)) {
            if (AccessibleNameOf(w).trimmed().isEmpty())
                missing << QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()),
                                                      w->objectName().isEmpty() ? QStringLiteral("(unnamed)")
                                                                                : w->objectName());
            if (!qobject_cast<QGroupBox*>(w))
                return;  // its parts are its own business
        }
        for (QObject* child : w->children())
            if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow())
                visit(widget);
    };
    visit(root);
    return missing;
}

// The entries of a combo box that its box cannot show whole (the box draws the chosen entry cut
// short with an ellipsis), at the box's present size.
inline QStringList EntriesCutShort(QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    option.frame = combo.hasFrame();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
    QStringList cut;
    for (int i = 0; i < combo.count(); ++i)
        if (combo.fontMetrics().horizontalAdvance(combo.itemText(i)) > field.width() - 2)  // the label's 1-pixel margins
            cut << combo.itemText(i);
    return cut;
}

// The smallest display the editor is made for.
inline constexpr QSize kSmallestScreen{800, 600};

// What keeps a window from fitting the smallest display, as it opens at its natural size: shown
// (a window never shown gets its size hint), it must be at most 800 x 600 and every visible
// button must lie wholly inside it (a button in a scrolled area is reached by scrolling). Empty when it fits; else the problems, one a line.
inline std::string DoesNotFitSmallestScreen(QWidget& window) {
    QStringList problems;
    if (!window.isVisible()) {
        window.adjustSize();
        window.show();
    }
    Settle();
    const QSize size = window.frameGeometry().size().expandedTo(window.size());
    if (size.width() > kSmallestScreen.width() || size.height() > kSmallestScreen.height())
        problems << QStringLiteral("%1 is %2 x %3").arg(window.objectName()).arg(size.width()).arg(size.height());
    const QRect inside(QPoint(0, 0), window.size().boundedTo(kSmallestScreen));
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window) || button->window() != &window)
            continue;
        bool scrolled = false;
        for (QWidget* up = button->parentWidget(); up != nullptr && up != &window && !scrolled; up = up->parentWidget())
            scrolled = qobject_cast<QAbstractScrollArea*>(up) != nullptr;
        if (scrolled)
            continue;
        const QRect at(button->mapTo(&window, QPoint(0, 0)), button->size());
        if (!inside.contains(at))
            problems << QStringLiteral("%1 %2 at %3,%4 %5 x %6")
                            .arg(window.objectName(), button->objectName().isEmpty() ? button->text() : button->objectName())
                            .arg(at.x())
                            .arg(at.y())
                            .arg(at.width())
                            .arg(at.height());
    }
    return problems.join(QLatin1Char('\n')).toStdString();
}

}  // namespace quillon::widgetkit
