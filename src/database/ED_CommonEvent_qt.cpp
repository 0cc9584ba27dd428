#include "database/ED_CommonEvent_qt.h"

#include "data/LD_DataBase.h"
#include "events/ScriptList_qt.h"

#include "ui_ED_CommonEvent.h"

namespace quillon {

TFormEDCommonEvent::TFormEDCommonEvent(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TCommonEventPageModel>(context, Choosers), parent),
      mModel(static_cast<TCommonEventPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDCommonEvent>()) {
    mUi->setupUi(this);
    setObjectName("FormEDCommonEvent");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));

    mConverter.DataBase = context.DataBase;
    mConverter.MapTree = context.MapTree;
    mConverter.Map = context.Map;
    TScriptListBox& list = CommandList();
    list.Model().SetRenderer([this](const TKelEventScriptLine& line) { return mConverter.RenderSafely(line); });
    mModel.AttachScriptList(&list.Model());

    mBinding = std::make_unique<TFieldBinding>(CommonEventPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
}

TFormEDCommonEvent::~TFormEDCommonEvent() {
    mModel.AttachScriptList(nullptr);
    delete mBinder;
}

TScriptListBox& TFormEDCommonEvent::CommandList() const { return *mUi->ListCommands; }

void TFormEDCommonEvent::LoadEntry() {
    // Before the form is bound (the page base shows the first entry while it is made).
    if (!mBinder)
        return;
    mBinder->Refresh();
    CommandList().Model().Refresh();
}

TFormDataBaseBase* CreateFormEDCommonEvent(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDCommonEvent(context, nullptr, parent);
}

}  // namespace quillon
