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

class TFormEDCommonEvent : private TPageChoosers, public TDataBasePageView {
    Q_OBJECT
public:
    TFormEDCommonEvent(TKelDataBase& db, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDCommonEvent() override;

    TCommonEventPageModel& Model() { return mModel; }
    QListWidget* DataList() const;
    TScriptListBox& CommandList() const;
    TFieldBinder& Binder() { return *mBinder; }
    void Load() override;

public slots:
    void DataListClick();

private:
    TCommonEventPageModel mModel;
    std::unique_ptr<Ui::FormEDCommonEvent> mUi;
    TEventScriptConverter mConverter;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    TConnection mModified;
    TConnection mReload;
    TConnection mRowChanged;
};

}  // namespace quillon
