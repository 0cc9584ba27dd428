// The editor's application object and what it installs program-wide: the error handler around
// every event, one editor per user, the centring of dialogs on their owners, the fonts, the help
// dispatcher, and the base of the editor's dialogs.
#pragma once

#include "controls/KelBase_qt.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QLockFile>
#include <QLocalServer>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

namespace quillon {

// No exception leaves an event handler: a std::exception shows its message in an error box
// titled with the application title and the program goes on; running out of memory shows
// "It is short of memory" and ends the program with status 1.
class TEditorApplication : public QApplication {
    Q_OBJECT
public:
    TEditorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // How the program ends when memory ran out (tests put a recorder here).
    static void SetTerminate(std::function<void(int)> terminate);
};

// One editor per user: a lock file beside the working folder, and a local server named from it
// that a second start asks to raise the first one's window.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // `lockPath` is the lock file; the server's socket lies beside it.
    explicit TSingleInstance(const QString& lockPath, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when this process holds the lock and listens; false when another editor holds it (it
    // has been asked to raise its window by then). An editor that answers that it shows no
    // window ends, and this start takes over from it.
    bool Acquire();
    QString ServerName() const { return mServerName; }

    // Whether this editor shows a window a second start can raise. When set and it answers
    // false, a second start's request ends this editor (without saving) so that the new one
    // takes over; unset, every request only raises.
    std::function<bool()> HasWindow;

signals:
    void RaiseRequested();

private:
    void Accept();
    bool Listen();

    std::unique_ptr<QLockFile> mLock;
    QString mServerName;
    QLocalServer mServer;
};

// Ends the editor at once when its main window is destroyed under it (another program closed
// the X window): nothing is saved, the working copies stay for the next start to find, and the
// locks go with the process. A lost display connection ends the program the same way (Qt's own
// handling).
class TWindowLossWatch final : public QAbstractNativeEventFilter {
public:
    explicit TWindowLossWatch(QWidget& window);
    ~TWindowLossWatch() override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    // The window as Qt knows it now: a native window Qt destroyed itself (on closing, or to make
    // it anew) is no longer its handle when the notice arrives.
    QPointer<QWidget> mWindow;
};

// Ends the program without saving anything, as after a lost display (status 1).
[[noreturn]] void EndWithoutSaving(const char* why);

// The lock file of the running editor, beside its working folder (see WorkFolderLockFile).
QString InstanceLockPath();

// Raises a window to the front for a second start: its active modal dialog when there is one,
// restored when minimised.
void RaiseEditorWindow(QWidget* mainWindow);

// Centres every top-level dialog (message boxes and file dialogs included) on its owner, or on
// the main window, when it is first shown, clamped into the screen's available area.
class TDialogCentering : public QObject {
    Q_OBJECT
public:
    explicit TDialogCentering(QObject* parent = nullptr) : QObject(parent) {}
    void SetMainWindow(QWidget* window) { mMainWindow = window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> mMainWindow;
};

// "MS UI Gothic" (the font the design names) is the system's UI font with a Japanese fallback;
// the application font gains the same fallback.
void InstallFontSubstitutes();

// Opens the help page of a context in the desktop's browser (help/<context>.html beside the
// executable, else help/index.html); without any page, a message box names the topic.
void ShowHelpContext(const std::string& context);

}  // namespace quillon
