// quillon: the editor. Start-up runs in this order: one editor per user, the display and run-time
// package checks, the splash window, the main window with the project, the message loop.
#include "app/EditorApp_qt.h"
#include "controls/Help.h"
#include "app/MainUnit.h"
#include "app/MainUnit_qt.h"
#include "app/Splash_qt.h"
#include "app/StartupChecks.h"
#include "platform/BusyCursor_qt.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox_qt.h"
#include "platform/Paths.h"
#include "platform/SystemClipboard_qt.h"
#include "platform/TextCodec.h"
#include "project/ProjectSettings.h"

#include "mapedit/MapEditor_qt.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <string>
#include <vector>

using namespace quillon;

namespace {

std::int64_t WallClockMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// With QUILLON_TRACE_STARTUP set, the editor reports on standard error when the canvas has painted
// a map for the first time (wall-clock milliseconds, for start-up measurements).
class TFirstMapPaint final : public QObject {
public:
    TFirstMapPaint(TFormMapEditor& canvas, QObject* parent) : QObject(parent), mCanvas(canvas) {
        canvas.viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !mDone) {
            const TKelMap* map = mCanvas.ViewModel().Map();
            if (map && map->Width() > 0 && map->Height() > 0) {
                mDone = true;
                // Reported once this paint is over.
                QTimer::singleShot(0, this, [] {
                    std::fprintf(stderr, "quillon: first map painted at %lld ms\n",
                                 static_cast<long long>(WallClockMs()));
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TFormMapEditor& mCanvas;
    bool mDone = false;
};

}  // namespace

int main(int argc, char** argv) {
    // Help and version need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("quillon %s\n", QUILLON_VERSION);
            return 0;
        }
    }

    // A write past the file-size limit is a failed write (the file kept, the user told), not
    // the end of the editor.
    IgnoreFileSizeLimitSignal();
    TEditorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));

    // What Qt left of the command line.
    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i)
        args.push_back(arguments[i].toStdString());
    const TCommandLine line = ParseCommandLine(args);
    if (!line.Error.empty()) {
        std::fprintf(stderr, "quillon: %s\n%s", line.Error.c_str(), UsageText().c_str());
        return 2;
    }

    TQtMessageBox messageBox;
    SetMessageBox(&messageBox);
    TQtBusyCursor busyCursor;
    SetBusyCursor(&busyCursor);
    // Tiles, events and maps copied here can be pasted into another editor and back.
    TSystemClipboard clipboard;
    SetClipboard(&clipboard);

    // The working folder: the usual one, or a fresh private one when another user has taken its
    // name. Only when no private folder can be made at all does the editor refuse to start.
    TWorkFolderChoice work;
    try {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        work = ChooseWorkFolder(GetTempFolder(), runtime ? runtime : "");
    } catch (const std::exception& e) {
        ShowMessageBox(e.what(), mbOk | mbIconError);
        return 1;
    }
    UseWorkFolder(work);

    // 1. One editor per user: a second start raises the first and ends quietly.
    TSingleInstance instance(InstanceLockPath());
    // An editor without any window on the screen gives way to the next start.
    instance.HasWindow = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); });
    };
    if (!instance.Acquire()) {
        if (!work.Refusal.empty())
            ::rmdir(work.Folder.c_str());  // the fresh folder this start made for nothing
        return 0;
    }

    // 2-5. The display, the run-time package and the archiver (built in: always there); the
    // graphics library is part of the program.
    TStartupEnvironment environment;
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        environment.ScreenWidth = primary->size().width();
        environment.ScreenHeight = primary->size().height();
        environment.ScreenDepth = primary->depth();
    }
    environment.RtpPath = GetRtpPath();
    environment.ArchiverAvailable = true;
    if (const auto refusal = RunStartupChecks(environment)) {
        ShowMessageBox(*refusal, mbOk | mbIconError);
        return 1;
    }

    InstallFontSubstitutes();
    // "&Help" and F1 of every dialog show the page of its context.
    SetHelpHandler([](int context) { ShowHelpContext(HelpTopicName(context)); });
    auto* centring = new TDialogCentering(&app);
    app.installEventFilter(centring);

    // 8. The splash window, painted at once; it closes and deletes itself after its time, also
    // while a message box of the start-up runs, so it is only reached through a guarded pointer.
    const QPointer<TFormSplash> splash = new TFormSplash;
    splash->show();
    QApplication::processEvents();

    // 9. The main window, then the message loop.
    // A working folder that cannot be made (or is not ours) refuses the start.
    std::unique_ptr<TFormKelMain> created;
    try {
        created = std::make_unique<TFormKelMain>();
    } catch (const std::exception& e) {
        delete splash.data();
        ShowMessageBox(e.what(), mbOk | mbIconError);
        return 1;
    }
    TFormKelMain& form = *created;
    centring->SetMainWindow(&form);
    QObject::connect(&instance, &TSingleInstance::RaiseRequested, &form, &TFormKelMain::RaiseFromOtherInstance);
    const bool trace = std::getenv("QUILLON_TRACE_STARTUP") != nullptr;
    if (trace && form.Canvas())
        new TFirstMapPaint(*form.Canvas(), &form);
    QElapsedTimer opening;
    opening.start();
    form.Start(line.Folder);
    if (trace)
        std::fprintf(stderr, "quillon: project opened and window shown in %lld ms\n",
                     static_cast<long long>(opening.elapsed()));
    if (!work.Refusal.empty())
        form.Model().SetHint(Utf8ToCp932(
            QCoreApplication::translate("quillon::TFormKelMain", "Working folder: %1 (%2)")
                .arg(QString::fromStdString(work.Folder), QString::fromStdString(work.Refusal))
                .toStdString()));
    // A main window destroyed by another program ends the editor instead of leaving it running
    // unseen with its locks.
    std::unique_ptr<TWindowLossWatch> windowLoss;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        windowLoss = std::make_unique<TWindowLossWatch>(form);
    // The main window takes the keyboard back when the splash has gone (at once when it went
    // while a message box was shown).
    const auto takeKeyboard = [&form] {
        form.raise();
        form.activateWindow();
    };
    if (splash) {
        splash->raise();
        QObject::connect(splash.data(), &QObject::destroyed, &form, takeKeyboard);
    } else {
        takeKeyboard();
    }
    const int status = QApplication::exec();
    windowLoss.reset();  // the window goes now, as the editor ends
    created.reset();
    SetMessageBox(nullptr);
    SetBusyCursor(nullptr);
    SetClipboard(nullptr);
    return status;
}
