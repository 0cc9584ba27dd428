#include "project/ProjPath_qt.h"

#include "ui_ProjPath.h"

#include <QFileSystemModel>
#include <QGuiApplication>

namespace quillon {

TFormProjectPath::TFormProjectPath(TProjectPathModel& model, QWidget* parent)
    : QDialog(parent), mModel(model), mUi(std::make_unique<Ui::FormProjectPath>()) {
    mUi->setupUi(this);
    setWindowTitle(model.Kind() == TPathDialogKind::BasePath ? tr("Default Project Path") : tr("Choose Disk Path"));
    mFolders = new QFileSystemModel(this);
    mFolders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    mFolders->setRootPath("/");
    mUi->FolderTree->setModel(mFolders);
    for (int column = 1; column < mFolders->columnCount(); ++column)
        mUi->FolderTree->hideColumn(column);
    mUi->FolderTree->setHeaderHidden(true);
    const QString path = QString::fromStdString(model.Path);
    mUi->EditPath->setText(path);
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const QModelIndex index = mFolders->index(path);
        if (index.isValid()) {
            mUi->FolderTree->setCurrentIndex(index);
            mUi->FolderTree->scrollTo(index);
        }
        QGuiApplication::restoreOverrideCursor();
    }
    connect(mUi->FolderTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        if (index.isValid())
            mUi->EditPath->setText(mFolders->filePath(index));
    });
    connect(mUi->EditPath, &QLineEdit::textChanged, this, [this] { UpdateState(); });
    connect(mUi->ButtonOk, &QPushButton::clicked, this, &TFormProjectPath::ButtonOkClick);
    connect(mUi->ButtonCancel, &QPushButton::clicked, this, [this] { done(2); });
    UpdateState();
}

TFormProjectPath::~TFormProjectPath() = default;

void TFormProjectPath::UpdateState() {
    mModel.Path = mUi->EditPath->text().toStdString();
    mUi->ButtonOk->setEnabled(mModel.OkEnabled());
}

void TFormProjectPath::ButtonOkClick() {
    UpdateState();
    if (mModel.Ok())
        done(1);
}

bool RunBasePathDialog(std::string& path, QWidget* parent) {
    TProjectPathModel model(TPathDialogKind::BasePath);
    model.Path = path;
    TFormProjectPath dialog(model, parent);
    if (dialog.exec() != 1)
        return false;
    path = model.Path;
    return true;
}

}  // namespace quillon
