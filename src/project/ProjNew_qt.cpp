#include "project/ProjNew_qt.h"

#include "platform/Cp932Limit.h"
#include "controls/Help.h"
#include "platform/Cp932Text_qt.h"
#include "platform/Cp932Validator_qt.h"
#include "project/ProjPath_qt.h"
#include "ui_ProjNew.h"
#include "ui_ProjOpen.h"
#include "ui_ProjRename.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QStyle>

namespace quillon {

namespace {

// A title typed in the edit as stored (CP932 bytes, at most 40); characters the code page cannot
// hold are refused.
void TakeTitle(QLineEdit* edit, std::string& title) {
    if (const auto bytes = QStringToCp932(edit->text()))
        title = LimitCp932Bytes(*bytes, kGameTitleMaxBytes);
    if (!ShowsCp932(edit->text(), title))
        edit->setText(Cp932ToQString(title));
}

TChooseBasePath DefaultChooser(QWidget* parent) {
    return [parent](std::string& path) { return RunBasePathDialog(path, parent); };
}

}  // namespace

// --- new project ---

TFormProjectNew::TFormProjectNew(TProjectNewModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormProjectNew>()) {
    mUi->setupUi(this);
    SetHelpContext(kHelpProjectContext);
    ChooseBasePath = DefaultChooser(this);
    mUi->ButtonPath->setText(QString::fromStdString(model.BasePath));
    mUi->LabelBasePathNote->setText(QString::fromStdString(model.BasePathNote));
    mUi->LabelBasePathNote->setVisible(!model.BasePathNote.empty());
    mUi->EditFolder->setText(QString::fromStdString(model.FolderName));
    LimitCp932(mUi->EditTitle, static_cast<int>(kGameTitleMaxBytes));
    mUi->EditTitle->setText(Cp932ToQString(model.GameTitle));
    connect(mUi->EditTitle, &QLineEdit::textEdited, this, [this] { TakeTitle(mUi->EditTitle, mModel.GameTitle); });
    connect(mUi->ButtonPath, &QPushButton::clicked, this, &TFormProjectNew::ButtonPathClick);
    ConnectStandardButtons();
}

TFormProjectNew::~TFormProjectNew() = default;

void TFormProjectNew::ButtonPathClick() {
    std::string path = mModel.BasePath;
    if (!ChooseBasePath || !ChooseBasePath(path))
        return;
    mModel.BasePath = path;
    if (mModel.StoreBasePath)
        mModel.StoreBasePath(path);
    mUi->ButtonPath->setText(QString::fromStdString(mModel.BasePath));
    mUi->LabelBasePathNote->hide();  // the user's own choice needs no word
}

bool TFormProjectNew::CanConfirm() {
    mModel.FolderName = mUi->EditFolder->text().toStdString();
    TakeTitle(mUi->EditTitle, mModel.GameTitle);
    return mModel.Ok();
}

// --- rename ---

TFormProjectRename::TFormProjectRename(TProjectRenameModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormProjectRename>()) {
    mUi->setupUi(this);
    SetHelpContext(kHelpProjectContext);
    mUi->EditFolder->setText(QString::fromStdString(model.FolderName));
    LimitCp932(mUi->EditTitle, static_cast<int>(kGameTitleMaxBytes));
    mUi->EditTitle->setText(Cp932ToQString(model.GameTitle));
    connect(mUi->EditTitle, &QLineEdit::textEdited, this, [this] { TakeTitle(mUi->EditTitle, mModel.GameTitle); });
    ConnectStandardButtons();
}

TFormProjectRename::~TFormProjectRename() = default;

bool TFormProjectRename::CanConfirm() {
    mModel.FolderName = mUi->EditFolder->text().toStdString();
    TakeTitle(mUi->EditTitle, mModel.GameTitle);
    return mModel.Ok();
}

// --- open ---

TFormProjectOpen::TFormProjectOpen(TProjectOpenModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormProjectOpen>()) {
    mUi->setupUi(this);
    SetHelpContext(kHelpProjectContext);
    ChooseBasePath = DefaultChooser(this);
    RunRename = [this](TProjectRenameModel& rename) {
        TFormProjectRename dialog(rename, this);
        return dialog.Run();
    };
    mUi->ListProjects->setHeaderLabels({tr("Folder Name"), tr("Game Title")});
    mUi->ListProjects->setColumnWidth(0, 88);
    mUi->ButtonPath->setText(QString::fromStdString(model.BasePath));
    connect(mUi->ListProjects, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        mModel.Select(current ? mUi->ListProjects->indexOfTopLevelItem(current) : -1);
        UpdateState();
    });
    connect(mUi->ListProjects, &QTreeWidget::itemDoubleClicked, this, [this] { ButtonOpenClick(); });
    connect(mUi->ButtonPath, &QPushButton::clicked, this, &TFormProjectOpen::ButtonPathClick);
    connect(mUi->ButtonOpen, &QPushButton::clicked, this, &TFormProjectOpen::ButtonOpenClick);
    connect(mUi->ButtonRename, &QPushButton::clicked, this, &TFormProjectOpen::ButtonRenameClick);
    connect(mUi->ButtonDelete, &QPushButton::clicked, this, &TFormProjectOpen::ButtonDeleteClick);
    ConnectStandardButtons();
    mModel.Refresh();
    FillList();
    // The keys work on the list from the start: Down and Enter open the next project.
    mUi->ListProjects->setFocus();
}

TFormProjectOpen::~TFormProjectOpen() = default;

void TFormProjectOpen::FillList() {
    QTreeWidget* list = mUi->ListProjects;
    {
        const QSignalBlocker blocker(list);
        list->clear();
        for (const TProjectRow& row : mModel.Rows())
            list->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(row.FolderName), Cp932ToQString(row.GameTitle)}));
        if (QTreeWidgetItem* selected = list->topLevelItem(mModel.Selected())) {
            list->setCurrentItem(selected);
            selected->setSelected(true);
            list->scrollToItem(selected);
        }
    }
    // "Game Title" takes the rest of the width, less a scroll bar when the rows do not fit.
    int rest = list->viewport()->width() - list->columnWidth(0);
    if (list->verticalScrollBar()->isVisible())
        rest -= list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list->setColumnWidth(1, std::max(rest, 40));
    UpdateState();
}

void TFormProjectOpen::UpdateState() {
    const bool selected = mModel.Selected() >= 0;
    mUi->ButtonOpen->setEnabled(selected);
    mUi->ButtonRename->setEnabled(selected);
    mUi->ButtonDelete->setEnabled(selected);
}

void TFormProjectOpen::ButtonPathClick() {
    std::string path = mModel.BasePath;
    if (!ChooseBasePath || !ChooseBasePath(path))
        return;
    if (mModel.ChangeBasePath(path)) {
        mUi->ButtonPath->setText(QString::fromStdString(mModel.BasePath));
        FillList();
    }
}

void TFormProjectOpen::ButtonOpenClick() {
    if (mModel.Open(mFolderName))
        Confirm();
}

void TFormProjectOpen::ButtonRenameClick() {
    if (mModel.Selected() < 0 || !RunRename)
        return;
    const TProjectRow row = mModel.Rows()[static_cast<std::size_t>(mModel.Selected())];
    TProjectRenameModel rename;
    rename.BasePath = mModel.BasePath;
    rename.Show(row.FolderName, row.GameTitle);
    if (!RunRename(rename))
        return;
    mModel.Renamed(rename.FolderName);
    FillList();
}

void TFormProjectOpen::ButtonDeleteClick() {
    if (mModel.Delete())
        FillList();
}

}  // namespace quillon
