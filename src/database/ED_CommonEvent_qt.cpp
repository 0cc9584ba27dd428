#include "database/ED_CommonEvent_qt.h"

#include "data/LD_DataBase.h"
#include "events/ScriptList_qt.h"

#include "ui_ED_CommonEvent.h"

namespace quillon {

TFormEDCommonEvent::TFormEDCommonEvent(TKelDataBase& db, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(db, choosers, parent),
      TDataBasePageView(parent),
      mModel(db.CommonEvent, &db, Choosers),
      mUi(std::make_unique<Ui::FormEDCommonEvent>()) {
    mUi->setupUi(this);
    setObjectName("FormEDCommonEvent");
    mConverter.DataBase = &db;
    TScriptListBox& list = CommandList();
    list.Model().SetRenderer([this](const TKelEventScriptLine& line) { return mConverter.RenderSafely(line); });
    mModel.AttachScriptList(&list.Model());

    mBinding = std::make_unique<TFieldBinding>(CommonEventPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    connect(mUi->DataList, &QListWidget::currentRowChanged, this, &TFormEDCommonEvent::DataListClick);
    mModified = mModel.OnModified.Connect([this] { Changed(); });
    mReload = mModel.OnReload.Connect([this] {
        mBinder->Refresh();
        CommandList().Model().Refresh();
    });
    mRowChanged = mModel.OnRowChanged.Connect([this](int row) {
        if (QListWidgetItem* item = mUi->DataList->item(row))
            item->setText(Cp932ToQString(mModel.RowText(row)));
    });
    Load();
}

TFormEDCommonEvent::~TFormEDCommonEvent() {
    mModel.AttachScriptList(nullptr);
    delete mBinder;
}

QListWidget* TFormEDCommonEvent::DataList() const { return mUi->DataList; }

TScriptListBox& TFormEDCommonEvent::CommandList() const { return *mUi->ListCommands; }

void TFormEDCommonEvent::DataListClick() {
    const int row = mUi->DataList->currentRow();
    if (row >= 0)
        mModel.Select(row);
}

void TFormEDCommonEvent::Load() {
    FillEntryList(*mUi->DataList, mModel.Rows(), mModel.CurrentIndex());
    mBinder->Refresh();
    CommandList().Model().Refresh();
}

}  // namespace quillon
