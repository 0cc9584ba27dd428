#include "project/ProjPack_qt.h"

#include "controls/Help.h"
#include "project/ProjPath.h"
#include "project/ProjPath_qt.h"
#include "ui_ProjPack.h"

#include <QApplication>
#include <QProgressDialog>

namespace quillon {

TFormProjectPack::TFormProjectPack(TProjectPackModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormProjectPack>()) {
    mUi->setupUi(this);
    SetHelpContext(kHelpProjectContext);
    mModel.Owner = this;
    ChooseDiskPath = [this](std::string& path) { return RunDiskPathDialog(path, this); };
    mUi->CheckIncludeRtp->setChecked(mModel.IncludeRtp);
    connect(mUi->CheckIncludeRtp, &QCheckBox::toggled, this, [this](bool on) { mModel.IncludeRtp = on; });
    connect(mUi->ButtonPath, &QPushButton::clicked, this, &TFormProjectPack::ButtonPathClick);
    connect(mUi->ButtonStart, &QPushButton::clicked, this, &TFormProjectPack::ButtonStartClick);
    ConnectStandardButtons();
    UpdateView();
}

TFormProjectPack::~TFormProjectPack() {
    mModel.Owner = nullptr;
}

void TFormProjectPack::UpdateView() {
    mUi->ButtonPath->setText(mModel.TargetPath.empty() ? tr("(choose a folder)") : QString::fromStdString(mModel.TargetPath));
    mUi->ButtonStart->setEnabled(mModel.StartEnabled());
}

void TFormProjectPack::ButtonPathClick() {
    std::string path = mModel.TargetPath;
    if (!ChooseDiskPath || !ChooseDiskPath(path))
        return;
    mModel.SetTarget(path);
    UpdateView();
}

void TFormProjectPack::ButtonStartClick() {
    if (!mModel.StartEnabled())
        return;
    // A refused target keeps the window open for another choice.
    if (const std::string refusal = mModel.TargetRefusal(); !refusal.empty()) {
        ShowMessageBox(refusal, mbOk | mbIconError, this);
        return;
    }
    mModel.IncludeRtp = mUi->CheckIncludeRtp->isChecked();
    done(mModel.Pack(*this));
}

void TFormProjectPack::BeginWork() {
    hide();
}

void TFormProjectPack::EndWork() {
    mProgress.reset();
    show();
}

bool TFormProjectPack::Progress(const std::string& step, std::uint64_t done, std::uint64_t total) {
    if (!mProgress) {
        mProgress = std::make_unique<QProgressDialog>(parentWidget());
        mProgress->setWindowTitle(windowTitle());
        mProgress->setWindowModality(Qt::ApplicationModal);
        mProgress->setRange(0, 1000);
        mProgress->setMinimumDuration(0);
        mProgress->setAutoReset(false);
        mProgress->setAutoClose(false);
        mProgress->setAccessibleName(tr("Packing progress"));
    }
    const std::string copying = "Copying ";
    mProgress->setLabelText(step.rfind(copying, 0) == 0 ? tr("Copying %1").arg(QString::fromStdString(step.substr(copying.size())))
                                                        : tr("Archiving"));
    mProgress->setValue(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
    QApplication::processEvents();
    return !mProgress->wasCanceled();
}

bool RunDiskPathDialog(std::string& path, QWidget* parent) {
    TProjectPathModel model(TPathDialogKind::DiskPath);
    model.Path = path;
    TFormProjectPath dialog(model, parent);
    if (!dialog.Run())
        return false;
    path = model.Path;
    return true;
}

void ShowPackDialog(QWidget* parent) {
    TSystemFloppyDrives drives;
    TProjectPackModel model(drives);
    TFormProjectPack dialog(model, parent);
    dialog.RunModal();
}

}  // namespace quillon
