// The runtime process on Qt and the wait window that blocks the editor while it runs.
#pragma once

#include "app/TestPlay.h"

#include "controls/KelBase_qt.h"

#include <QPointer>

#include <memory>

class QProcess;
class QTimer;

namespace quillon {

// A small modal window that holds a running process and closes itself (mrOk) once the
// process has ended. The user cannot close it while the process runs: close requests and Esc are
// refused.
class TFormProcessWait : public TFormKelBase {
    Q_OBJECT
public:
    TFormProcessWait(QProcess* process, const QString& caption, QWidget* parent = nullptr);

    // Shows the window modally until the process has ended; returns at once (1) when it already
    // has. Answers the modal result.
    int WaitModal();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private slots:
    void TimerTick();

private:
    bool ProcessEnded() const;

    QPointer<QProcess> mProcess;
    QTimer* mTimer = nullptr;
    bool mEnded = false;
};

// The runtime started through QProcess: output discarded, no shell, the current directory.
class TQtRuntimeProcess final : public IRuntimeProcess {
public:
    // `owner` is the wait window's parent (the main window), may be null.
    explicit TQtRuntimeProcess(QWidget* owner = nullptr);
    ~TQtRuntimeProcess() override;
    bool Start(const TRuntimeCommand& command) override;
    void WaitForEnd(const std::string& caption) override;
    int ExitCode() const { return mExitCode; }

private:
    QWidget* mOwner;
    std::unique_ptr<QProcess> mProcess;
    int mExitCode = -1;
};

}  // namespace quillon
