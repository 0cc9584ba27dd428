#include "database/ED_Monster_qt.h"

#include "controls/RankListBox_qt.h"
#include "data/LD_DataBase.h"
#include "database/ED_MonsterAct_qt.h"
#include "database/PageRows_qt.h"
#include "graphics/OrlenSheet_qt.h"
#include "platform/Cp932Text_qt.h"
#include "project/SelBase_qt.h"

#include "ui_ED_Monster.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

namespace quillon {

// --- the action list ---

TMonsterActListView::TMonsterActListView(TMonsterPageModel& model, QWidget* parent)
    : QTreeView(parent),
      mModel(model),
      mRows(new TPageRows({tr("Subject"), tr("Conditions"), tr("Priority")},
                          [&model] { return model.Actions().RowCount(); },
                          [&model](int row, int column) { return model.Actions().Cell(row, column); }, this)) {
    setObjectName(QStringLiteral("ListView1"));
    MakeRowsView(*this, mRows);
    header()->setStretchLastSection(true);
    setMinimumWidth(240);
    setMinimumHeight(80);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { ListView1DblClick(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!mFilling)
            mModel.Actions().Select(current.isValid() ? current.row() : -1);
    });

    mPopup = new QMenu(this);
    mPopup->setObjectName(QStringLiteral("PopupMenu1"));
    const auto add = [this](const QString& caption, const char* name, void (TMonsterActListView::*slot)()) {
        QAction* action = mPopup->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mEdit = add(tr("&Edit..."), "Menu_ActItemEdit", &TMonsterActListView::Menu_ActItemEditClick);
    mPopup->addSeparator();
    mCut = add(tr("Cu&t"), "Menu_ActItemCut", &TMonsterActListView::Menu_ActItemCutClick);
    mCopy = add(tr("&Copy"), "Menu_ActItemCopy", &TMonsterActListView::Menu_ActItemCopyClick);
    mPaste = add(tr("&Paste"), "Menu_ActItemPaste", &TMonsterActListView::Menu_ActItemPasteClick);
    mDelete = add(tr("&Delete"), "Menu_ActItemDelete", &TMonsterActListView::Menu_ActItemDeleteClick);
}

void TMonsterActListView::Refresh() {
    mFilling = true;
    mRows->Reset();
    // Each column as wide as what it shows (the header's precision bounds the rows measured).
    for (int column = 0; column < mRows->columnCount(); ++column)
        resizeColumnToContents(column);
    ShowCurrentRow(*this, mModel.Actions().Selected());
    mFilling = false;
}

void TMonsterActListView::UpdatePopup() {
    const TMonsterActListModel& list = mModel.Actions();
    mEdit->setEnabled(list.IsEnabled(TMonsterActCommand::Edit));
    mCut->setEnabled(list.IsEnabled(TMonsterActCommand::Cut));
    mCopy->setEnabled(list.IsEnabled(TMonsterActCommand::Copy));
    mPaste->setEnabled(list.IsEnabled(TMonsterActCommand::Paste));
    mDelete->setEnabled(list.IsEnabled(TMonsterActCommand::Delete));
}

void TMonsterActListView::PopupMenu1Popup() { UpdatePopup(); }

void TMonsterActListView::contextMenuEvent(QContextMenuEvent* event) {
    if (const QModelIndex at = indexAt(viewport()->mapFromGlobal(event->globalPos())); at.isValid())
        ShowCurrentRow(*this, at.row());
    PopupMenu1Popup();
    mPopup->exec(event->globalPos());
}

void TMonsterActListView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        Menu_ActItemEditClick();
    else if (event->key() == Qt::Key_Delete)
        Menu_ActItemDeleteClick();
    else if (ctrl && event->key() == Qt::Key_X)
        Menu_ActItemCutClick();
    else if (ctrl && event->key() == Qt::Key_C)
        Menu_ActItemCopyClick();
    else if (ctrl && event->key() == Qt::Key_V)
        Menu_ActItemPasteClick();
    else
        QTreeView::keyPressEvent(event);
}

void TMonsterActListView::ListView1DblClick() { Menu_ActItemEditClick(); }

void TMonsterActListView::Menu_ActItemEditClick() {
    const auto edit = EditWith ? EditWith : [this](TKelMonsterActItem& act) {
        return EditMonsterAct(window(), mModel.DataBase(), mModel.Choosers(), act);
    };
    if (mModel.EditAction(edit))
        Refresh();
}

void TMonsterActListView::Run(TMonsterActCommand command) {
    if (mModel.RunAction(command))
        Refresh();
}

void TMonsterActListView::Menu_ActItemCutClick() { Run(TMonsterActCommand::Cut); }
void TMonsterActListView::Menu_ActItemCopyClick() { Run(TMonsterActCommand::Copy); }
void TMonsterActListView::Menu_ActItemPasteClick() { Run(TMonsterActCommand::Paste); }
void TMonsterActListView::Menu_ActItemDeleteClick() { Run(TMonsterActCommand::Delete); }

// --- the preview ---

TMonsterPreview::TMonsterPreview(QWidget* parent) : QWidget(parent) {
    setFixedSize(kMonsterPreviewWidth, kMonsterPreviewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMonsterPreview::Show(TMonsterPageModel& model) {
    const TMonsterPicture picture = model.Picture();
    if (mDrawn && picture == mShown)
        return;
    mShown = picture;
    mDrawn = true;
    TOrlenBoard board;
    board.SetSize(kMonsterPreviewWidth, kMonsterPreviewHeight);
    model.DrawPicture(board);
    mPicture = BoardImage(board).convertToFormat(QImage::Format_RGB32);
    if (picture.Missing) {
        QPainter p(&mPicture);
        p.setPen(Qt::white);
        p.drawText(mPicture.rect(), Qt::AlignCenter | Qt::TextWordWrap,
                   tr("\"%1\" was not found").arg(Cp932ToQString(picture.Name)));
    }
    setToolTip(picture.Missing ? tr("\"%1\" was not found").arg(Cp932ToQString(picture.Name)) : QString());
    update();
}

void TMonsterPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (mPicture.isNull())
        p.fillRect(rect(), Qt::black);
    else
        p.drawImage(0, 0, mPicture);
}

// --- the page ---

TFormEDMonster::TFormEDMonster(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TMonsterPageModel>(context, Choosers, ProjectImageFinder()), parent),
      mModel(static_cast<TMonsterPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDMonster>()) {
    mUi->setupUi(this);
    setObjectName("FormEDMonster");
    mModel.ChooseGraphicWith = [this](std::string& name, std::int32_t& hue) {
        int chosen = hue;
        if (!SelectMonsterGraphic(DialogOwner(), name, chosen))
            return false;
        hue = chosen;
        return true;
    };
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));

    mConditionRanks = new TRankListBox(mModel.ConditionRanks(), mUi->GroupConditionRanks);
    mConditionRanks->setObjectName(QStringLiteral("ListConditionRanks"));
    mConditionRanks->setAccessibleName(tr("Condition Effect"));
    mUi->ConditionLayout->addWidget(mConditionRanks);
    mAttributeRanks = new TRankListBox(mModel.AttributeRanks(), mUi->GroupAttributeRanks);
    mAttributeRanks->setObjectName(QStringLiteral("ListAttributeRanks"));
    mAttributeRanks->setAccessibleName(tr("Attribute Effect"));
    mUi->AttributeLayout->addWidget(mAttributeRanks);
    mActions = new TMonsterActListView(mModel, mUi->GroupActions);
    mActions->setAccessibleName(tr("Actions Patterns"));
    mUi->ActionsLayout->addWidget(mActions);
    // The lists take what room the page leaves them.
    for (QWidget* list : std::initializer_list<QWidget*>{mConditionRanks, mAttributeRanks}) {
        list->setMinimumWidth(60);
        list->setMinimumHeight(80);
    }

    mBinding = std::make_unique<TFieldBinding>(MonsterPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    LoadEntry();
}

TFormEDMonster::~TFormEDMonster() { delete mBinder; }

TMonsterPreview* TFormEDMonster::Preview() const { return mUi->ImageGraphic; }

void TFormEDMonster::LoadEntry() {
    if (!mBinder)
        return;  // the page base shows the first entry while the page is made
    mBinder->Refresh();
    mConditionRanks->Refresh();
    mAttributeRanks->Refresh();
    mActions->Refresh();
    mUi->ImageGraphic->Show(mModel);
}

void TFormEDMonster::UpdateView() {
    if (!mBinder)
        return;
    mActions->Refresh();
    mUi->ImageGraphic->Show(mModel);
}

TFormDataBaseBase* CreateFormEDMonster(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDMonster(context, nullptr, parent);
}

}  // namespace quillon
