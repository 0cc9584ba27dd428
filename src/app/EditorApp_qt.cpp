#include "app/EditorApp_qt.h"

#include "app/MainUnit.h"
#include "controls/HelpWindow_qt.h"
#include "data/LD_Map.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "project/PathUtils.h"

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QLocalSocket>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QToolTip>
#include <QUrl>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>

namespace quillon {

namespace {

std::function<void(int)>& Terminate() {
    static std::function<void(int)> terminate = [](int code) { std::exit(code); };
    return terminate;
}

constexpr const char* kRaiseRequest = "raise\n";
constexpr const char* kShownReply = "shown\n";    // the window is on the screen and was raised
constexpr const char* kEndingReply = "ending\n";  // no window to show: the editor ends for the new start
constexpr int kDestroyNotify = 17;                // the X event of a destroyed window
constexpr const char* kCentredProperty = "quillonCentred";

TRect ToRect(const QRect& r) { return MakeBounds(r.x(), r.y(), r.width(), r.height()); }

}  // namespace

// --- error handler ---

TEditorApplication::TEditorApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TEditorApplication::SetTerminate(std::function<void(int)> terminate) {
    Terminate() = terminate ? std::move(terminate) : [](int code) { std::exit(code); };
}

bool TEditorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ShowError(kShortOfMemory);
        Terminate()(1);
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError("An unexpected error occurred.");
    }
    return false;
}

// --- one editor per user ---

QString InstanceLockPath() { return QString::fromStdString(WorkFolderLockFile()); }

TSingleInstance::TSingleInstance(const QString& lockPath, QObject* parent)
    : QObject(parent), mLock(std::make_unique<QLockFile>(lockPath)), mServerName(lockPath + ".socket") {
    // Only a lock whose process has gone counts as stale, however long the editor runs.
    mLock->setStaleLockTime(0);
    connect(&mServer, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
}

TSingleInstance::~TSingleInstance() {
    mServer.close();
}

bool TSingleInstance::Listen() {
    // A socket left by an editor that ended abnormally is in the way of listening.
    QLocalServer::removeServer(mServerName);
    mServer.setSocketOptions(QLocalServer::UserAccessOption);
    mServer.listen(mServerName);
    return true;
}

bool TSingleInstance::Acquire() {
    if (mLock->tryLock(200))
        return Listen();
    QLocalSocket socket;
    socket.connectToServer(mServerName);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(1000);
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(3000))
        reply += socket.readAll();
    socket.disconnectFromServer();
    // The other editor has no window to raise and ends: this start takes its place.
    if (reply.startsWith(kEndingReply) && mLock->tryLock(5000))
        return Listen();
    return false;
}

void TSingleInstance::Accept() {
    while (QLocalSocket* socket = mServer.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray request = socket->readAll();
            if (!request.contains("raise"))
                return;
            emit RaiseRequested();
            const bool shown = !HasWindow || HasWindow();
            if (socket->state() == QLocalSocket::ConnectedState) {
                socket->write(shown ? kShownReply : kEndingReply);
                socket->flush();
                socket->waitForBytesWritten(1000);
            }
            if (!shown)
                EndWithoutSaving("another start found no window of this editor");
        });
    }
}

void EndWithoutSaving(const char* why) {
    std::fprintf(stderr, "quillon: %s; ending without saving\n", why);
    std::fflush(nullptr);
    ::_exit(1);
}

// --- a window destroyed under the editor ---

TWindowLossWatch::TWindowLossWatch(QWidget& window) : mWindow(&window) {
    window.winId();  // the native window exists from now on
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TWindowLossWatch::~TWindowLossWatch() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TWindowLossWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr)
        return false;
    // The X protocol's DestroyNotify: type (1 byte, top bit: sent by a client), detail, sequence
    // (2 bytes), the event window and then the destroyed window (4 bytes each).
    const auto* bytes = static_cast<const unsigned char*>(message);
    if ((bytes[0] & 0x7f) != kDestroyNotify)
        return false;
    std::uint32_t destroyed = 0;
    std::memcpy(&destroyed, bytes + 8, sizeof destroyed);
    // Only a window destroyed behind Qt's back: Qt forgets the handle of one it destroys itself.
    if (mWindow && destroyed != 0 && static_cast<std::uint32_t>(mWindow->internalWinId()) == destroyed)
        EndWithoutSaving("the main window was destroyed");
    return false;
}

void RaiseEditorWindow(QWidget* mainWindow) {
    QWidget* target = QApplication::activeModalWidget();
    if (!target)
        target = mainWindow;
    if (!target)
        return;
    if (mainWindow && mainWindow->isMinimized())
        mainWindow->showNormal();
    if (target->isMinimized())
        target->showNormal();
    target->raise();
    target->activateWindow();
}

// --- dialog placement ---

bool TDialogCentering::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        // The editor's own dialogs place themselves; this is for the standard ones.
        if (dialog && dialog->isWindow() && !qobject_cast<TFormKelBase*>(dialog) &&
            !dialog->property(kCentredProperty).toBool()) {
            dialog->setProperty(kCentredProperty, true);
            PlaceDialogWindow(*dialog, dialog->parentWidget() ? dialog->parentWidget() : mMainWindow.data());
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- fonts ---

void InstallFontSubstitutes() {
    const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"),
                               {system, QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty())
        families << font.family();
    if (!families.contains(QStringLiteral("IPAGothic")))
        families << QStringLiteral("IPAGothic");
    font.setFamilies(families);
    QApplication::setFont(font);
    QToolTip::setFont(QFont(QStringLiteral("MS UI Gothic")));
}

// --- help ---

void ShowHelpContext(const std::string& context) {
    const std::string page = HelpPageFor(GetAppPath(), context);
    if (page.empty()) {
        ShowInformation("Help topic: " + context);
        return;
    }
    // Without a browser that starts, the editor's own help window shows the page.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page))))
        ShowHelpPage(QString::fromStdString(page));
}

}  // namespace quillon
