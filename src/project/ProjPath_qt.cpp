#include "project/ProjPath_qt.h"

#include "ui_ProjPath.h"

#include <QFileSystemModel>
#include <QGuiApplication>

namespace quillon {

TFormProjectPath::TFormProjectPath(TProjectPathModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormProjectPath>()) {
    mUi->setupUi(this);
    const bool basePath = model.Kind() == TPathDialogKind::BasePath;
    setWindowTitle(basePath ? tr("Default Project Path") : tr("Choose Disk Path"));
    mUi->EditPath->setAccessibleName(basePath ? tr("Project Path") : tr("Disk Path"));
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
            mChosen = index;
            ScrollToChosen();
        }
        QGuiApplication::restoreOverrideCursor();
    }
    // The folders are read in the background: each parent that arrives moves the rows, so the
    // chosen one is brought back into sight until the user picks another.
    connect(mFolders, &QFileSystemModel::directoryLoaded, this, [this] { ScrollToChosen(); });
    connect(mUi->FolderTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        if (index != QModelIndex(mChosen))
            mChosen = QPersistentModelIndex();
        if (index.isValid())
            mUi->EditPath->setText(mFolders->filePath(index));
    });
    connect(mUi->EditPath, &QLineEdit::textChanged, this, [this] { UpdateState(); });
    ConnectStandardButtons();
    UpdateState();
}

void TFormProjectPath::ScrollToChosen() {
    if (mChosen.isValid())
        mUi->FolderTree->scrollTo(mChosen, QAbstractItemView::PositionAtCenter);
}

void TFormProjectPath::showEvent(QShowEvent* event) {
    TFormKelBase::showEvent(event);
    ScrollToChosen();
}

TFormProjectPath::~TFormProjectPath() = default;

void TFormProjectPath::UpdateState() {
    mModel.Path = mUi->EditPath->text().toStdString();
    mUi->ButtonOk->setEnabled(mModel.OkEnabled());
}

bool TFormProjectPath::CanConfirm() {
    UpdateState();
    return mModel.Ok();
}

bool RunBasePathDialog(std::string& path, QWidget* parent) {
    TProjectPathModel model(TPathDialogKind::BasePath);
    model.Path = path;
    TFormProjectPath dialog(model, parent);
    if (!dialog.Run())
        return false;
    path = model.Path;
    return true;
}

}  // namespace quillon
