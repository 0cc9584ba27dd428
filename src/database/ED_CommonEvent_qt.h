// The "Common Events" page of the database editor: the entry list, the name, the start
// condition, the switch group and the command list of the current common event.
#pragma once

#include "database/ED_CommonEvent.h"
#include "database/FieldPage_qt.h"
#include "events/EventScript.h"

#include <memory>

namespace Ui {
class FormEDCommonEvent;
}

namespace quillon {

class TScriptListBox;

class TFormEDCommonEvent : private TPageChoosers, public TFormDataBaseBase {
public:
    // choosers: the switch picker and the command dialogs' selectors (none: the real ones).
    TFormEDCommonEvent(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDCommonEvent() override;

    TCommonEventPageModel& Model() { return mModel; }
    TScriptListBox& CommandList() const;
    TFieldBinder& Binder() { return *mBinder; }
    void LoadEntry() override;

private:
    TCommonEventPageModel& mModel;
    std::unique_ptr<Ui::FormEDCommonEvent> mUi;
    TEventScriptConverter mConverter;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
};

TFormDataBaseBase* CreateFormEDCommonEvent(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
