#include "app/TestPlay_qt.h"

#include "platform/Cp932Text_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

TFormProcessWait::TFormProcessWait(QProcess* process, const QString& caption, QWidget* parent)
    : TFormKelBase(parent), mProcess(process) {
    setObjectName("FormProcessWait");
    setWindowTitle(caption);
    setModal(true);
    // No close button: the window ends when the runtime ends.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint &
                   ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QLabel(tr("The game is running. This window closes when it ends."), this);
    panel->setObjectName("Panel");
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    layout->addWidget(panel);
    resize(400, 90);
    mTimer = new QTimer(this);
    mTimer->setInterval(1);
    connect(mTimer, &QTimer::timeout, this, &TFormProcessWait::TimerTick);
    if (mProcess)
        connect(mProcess, &QProcess::finished, this, &TFormProcessWait::TimerTick);
}

bool TFormProcessWait::ProcessEnded() const {
    return !mProcess || mProcess->state() == QProcess::NotRunning;
}

int TFormProcessWait::WaitModal() {
    if (ProcessEnded()) {
        mEnded = true;
        return mrOk;
    }
    mTimer->start();
    const int result = RunModal();
    mTimer->stop();
    return result;
}

void TFormProcessWait::TimerTick() {
    if (mEnded || !ProcessEnded())
        return;
    mEnded = true;
    mTimer->stop();
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
        main->raise();
        main->activateWindow();
    }
    Confirm();
}

void TFormProcessWait::closeEvent(QCloseEvent* event) {
    if (mEnded)
        event->accept();
    else
        event->ignore();
}

void TFormProcessWait::keyPressEvent(QKeyEvent* event) {
    // Esc and Alt+F4 do nothing here.
    if (event->key() == Qt::Key_Escape || (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier))) {
        event->accept();
        return;
    }
    TFormKelBase::keyPressEvent(event);
}

void TFormProcessWait::reject() {
    if (mEnded)
        TFormKelBase::reject();
}

TQtRuntimeProcess::TQtRuntimeProcess(QWidget* owner) : mOwner(owner) {}

TQtRuntimeProcess::~TQtRuntimeProcess() {
    if (mProcess && mProcess->state() != QProcess::NotRunning) {
        // The editor never leaves the runtime behind as a child it owns: wait for it to end.
        mProcess->waitForFinished(-1);
    }
}

bool TQtRuntimeProcess::Start(const TRuntimeCommand& command) {
    mProcess = std::make_unique<QProcess>();
    mProcess->setProgram(QString::fromStdString(command.Program));
    QStringList arguments;
    for (const std::string& argument : command.Arguments)
        arguments << QString::fromStdString(argument);
    mProcess->setArguments(arguments);
    // Nothing is read from the runtime: its output goes nowhere, so it never blocks on a pipe.
    mProcess->setStandardInputFile(QProcess::nullDevice());
    mProcess->setStandardOutputFile(QProcess::nullDevice());
    mProcess->setStandardErrorFile(QProcess::nullDevice());
    mProcess->start();
    if (!mProcess->waitForStarted(-1)) {
        mProcess.reset();
        return false;
    }
    return true;
}

void TQtRuntimeProcess::WaitForEnd(const std::string& caption) {
    if (!mProcess)
        return;
    {
        TFormProcessWait wait(mProcess.get(), Cp932ToQString(caption), mOwner);
        wait.WaitModal();
    }
    mExitCode = mProcess->exitStatus() == QProcess::NormalExit ? mProcess->exitCode() : -1;
    mProcess.reset();
}

}  // namespace quillon
