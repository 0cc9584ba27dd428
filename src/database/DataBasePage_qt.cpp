#include "database/DataBasePage_qt.h"

#include "controls/DataMaxChange_qt.h"
#include "database/DataMultiCopy_qt.h"
#include "database/PageRows_qt.h"
#include "platform/Cp932Text_qt.h"
#include "platform/MessageBox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include <exception>

namespace quillon {

TDataBaseBlockSignals::TDataBaseBlockSignals(std::initializer_list<QObject*> objects)
    : TDataBaseBlockSignals(std::vector<QObject*>(objects)) {}

TDataBaseBlockSignals::TDataBaseBlockSignals(std::vector<QObject*> objects) : mObjects(std::move(objects)) {
    for (QObject* object : mObjects)
        mWere.push_back(object ? object->blockSignals(true) : false);
}

TDataBaseBlockSignals::~TDataBaseBlockSignals() {
    for (std::size_t i = 0; i < mObjects.size(); ++i)
        if (mObjects[i])
            mObjects[i]->blockSignals(mWere[i]);
}

// --- the page ---

TFormDataBaseBase::TFormDataBaseBase(std::unique_ptr<TDataBasePage> model, QWidget* parent)
    : QWidget(parent), mModel(std::move(model)) {
    mHeard.push_back(mModel->Modified.Connect([this] { Modified(); }));
    mHeard.push_back(mModel->RowsChanged.Connect([this](int row) {
        if (mEntryList)
            mEntryList->ShowRows(row);
    }));
    mHeard.push_back(mModel->CurrentChanged.Connect([this] {
        if (mEntryList)
            mEntryList->ShowCurrent();
        LoadEntry();
        UpdateView();
    }));
}

TFormDataBaseBase::~TFormDataBaseBase() = default;

void TFormDataBaseBase::Modified() {
    if (OnModified)
        OnModified();
    UpdateView();
}

void TFormDataBaseBase::SelectPrevious() { mModel->SelectPrevious(); }
void TFormDataBaseBase::SelectNext() { mModel->SelectNext(); }

void TFormDataBaseBase::Start() {
    if (mModel->List()) {
        mModel->Fill();
        if (mEntryList) {
            const int top = mModel->TopRow();
            mEntryList->scrollTo(mEntryList->model()->index(top, 0), QAbstractItemView::PositionAtTop);
            mEntryList->ShowCurrent();
            mModel->SetTopRow(top);
        }
    } else {
        LoadEntry();
        UpdateView();
    }
}

QWidget* TFormDataBaseBase::DialogOwner() const { return window(); }

TDataBaseEntryList* TFormDataBaseBase::MakeEntryList(QWidget* parent) {
    mEntryList = new TDataBaseEntryList(*this, parent);
    return mEntryList;
}

QPushButton* TFormDataBaseBase::MakeCountButton(QWidget* parent) {
    auto* button = new QPushButton(tr("Max &Field Number..."), parent);
    button->setObjectName(QStringLiteral("ButtonMaxChange"));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] { ChangeEntryCount(); });
    return button;
}

void TFormDataBaseBase::ChangeEntryCount() {
    if (!mModel->List())
        return;
    QWidget* owner = DialogOwner();
    const QPoint offset(mapTo(owner, QPoint(0, 0)).x() + 14, 410);
    int count = 0;
    if (!ChangeDataCount(owner, mModel->RowCount(), count, offset))
        return;
    owner->repaint();
    mModel->ChangeCount(count);
}

void TFormDataBaseBase::MultiCopyEntries() {
    const int most = mModel->MultiCopyMax();
    if (most < 1)
        return;
    QWidget* owner = DialogOwner();
    const QPoint offset(mapTo(owner, QPoint(0, 0)).x() + 14, 32);
    int count = most;
    if (AskMultiCopyCount(owner, most, count, offset))
        mModel->MultiCopy(count);
    if (mEntryList)
        mEntryList->ShowRows(-1);
}

void TFormDataBaseBase::PasteEntries() {
    try {
        mModel->Paste();
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

// --- the entry list ---

TDataBaseEntryList::TDataBaseEntryList(TFormDataBaseBase& page, QWidget* parent)
    : QListView(parent),
      mPage(page),
      mRows(new TPageRows({}, [&model = page.PageModel()] { return model.RowCount(); },
                          [&model = page.PageModel()](int row, int) { return model.RowText(row); }, this)) {
    setObjectName(QStringLiteral("DataList"));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(mRows);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { RowChosen(current); });

    mPopup = new QMenu(this);
    mPopup->setObjectName(QStringLiteral("PopupData"));
    const auto add = [this](const QString& caption, const char* name, QKeySequence key, void (TDataBaseEntryList::*slot)()) {
        QAction* action = mPopup->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            action->setShortcut(key);
        // The keys act through keyPressEvent, only while the list has the focus.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mCopy = add(tr("&Copy"), "Menu_DataCopy", QKeySequence(Qt::CTRL | Qt::Key_C), &TDataBaseEntryList::Menu_DataCopyClick);
    mPaste = add(tr("&Paste"), "Menu_DataPaste", QKeySequence(Qt::CTRL | Qt::Key_V), &TDataBaseEntryList::Menu_DataPasteClick);
    mClear = add(tr("C&lear"), "Menu_DataClear", QKeySequence(Qt::Key_Delete), &TDataBaseEntryList::Menu_DataClearClick);
    mCut = add(tr("Cu&t"), "Menu_DataCut", QKeySequence(Qt::CTRL | Qt::Key_X), &TDataBaseEntryList::Menu_DataCutClick);
    mPopup->addSeparator();
    mMultiCopy = add(tr("&MultiCopy..."), "Menu_DataMultiCopy", QKeySequence(), &TDataBaseEntryList::Menu_DataMultiCopyClick);
}

TDataBaseEntryList::~TDataBaseEntryList() = default;

void TDataBaseEntryList::ShowRows(int row) {
    if (row < 0) {
        const int top = mPage.PageModel().TopRow();
        mShowing = true;
        mRows->Reset();
        mShowing = false;
        scrollTo(mRows->index(top, 0), QAbstractItemView::PositionAtTop);
        ShowCurrent();
    } else {
        mRows->RowChanged(row);
    }
}

void TDataBaseEntryList::ShowCurrent() {
    const int row = mPage.PageModel().CurrentRow();
    mShowing = true;
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex at = mRows->index(row, 0);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        scrollTo(at);
    }
    mShowing = false;
}

void TDataBaseEntryList::RowChosen(const QModelIndex& index) {
    if (mShowing || !index.isValid())
        return;
    mPage.PageModel().SelectRow(index.row());
}

void TDataBaseEntryList::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    const QModelIndex top = indexAt(QPoint(1, 1));
    if (top.isValid() && !mShowing)
        mPage.PageModel().SetTopRow(top.row());
}

void TDataBaseEntryList::UpdatePopup() {
    const TDataBasePage& model = mPage.PageModel();
    const bool has = model.Current() != nullptr;
    mCopy->setEnabled(has);
    mClear->setEnabled(has);
    mCut->setEnabled(has);
    mPaste->setEnabled(model.CanPaste());
    mMultiCopy->setEnabled(model.MultiCopyMax() > 0);
}

void TDataBaseEntryList::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex at = indexAt(event->pos());
    if (at.isValid())
        mPage.PageModel().SelectRow(at.row());
    UpdatePopup();
    mPopup->exec(event->globalPos());
}

void TDataBaseEntryList::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (ctrl && event->key() == Qt::Key_C) {
        Menu_DataCopyClick();
    } else if (ctrl && event->key() == Qt::Key_V) {
        Menu_DataPasteClick();
    } else if (ctrl && event->key() == Qt::Key_X) {
        Menu_DataCutClick();
    } else if (plain && event->key() == Qt::Key_Delete) {
        Menu_DataClearClick();
    } else {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TDataBaseEntryList::Menu_DataCopyClick() { mPage.PageModel().Copy(); }

void TDataBaseEntryList::Menu_DataPasteClick() {
    if (mPage.PageModel().CanPaste())
        mPage.PasteEntries();
}

void TDataBaseEntryList::Menu_DataClearClick() { mPage.PageModel().Clear(); }
void TDataBaseEntryList::Menu_DataCutClick() { mPage.PageModel().Cut(); }
void TDataBaseEntryList::Menu_DataMultiCopyClick() { mPage.MultiCopyEntries(); }

}  // namespace quillon
