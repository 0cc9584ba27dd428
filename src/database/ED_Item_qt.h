// The "Items" page of the database editor: the items of the database in memory, edited in
// place.
#pragma once

#include "database/ED_Item.h"
#include "database/FieldPage_qt.h"

#include <memory>

namespace Ui {
class FormEDItem;
}

namespace quillon {

class TAnimationPreview;
class TCheckListBox;

class TFormEDItem : private TPageChoosers, public TFormDataBaseBase {
public:
    // choosers: the switch picker (none: the real one).
    TFormEDItem(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDItem() override;

    TItemPageModel& Model() { return mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    QWidget* Fields() const { return mFields; }
    // The lists: heroes, the attribute list of weapons and of armour (one array), the condition
    // list of equipment and of medicine (one array).
    TCheckListBox* HeroList() const { return mHeroes; }
    TCheckListBox* WeaponAttributeList() const { return mWeaponAttributes; }
    TCheckListBox* ArmourAttributeList() const { return mArmourAttributes; }
    TCheckListBox* ConditionList() const { return mConditions; }
    TCheckListBox* CureList() const { return mCure; }
    TAnimationPreview* Preview() const { return mPreview; }

    void LoadEntry() override;
    void UpdateView() override;

private:
    TItemPageModel& mModel;
    std::unique_ptr<Ui::FormEDItem> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QWidget* mFields = nullptr;
    TCheckListBox* mHeroes = nullptr;
    TCheckListBox* mWeaponAttributes = nullptr;
    TCheckListBox* mArmourAttributes = nullptr;
    TCheckListBox* mConditions = nullptr;
    TCheckListBox* mCure = nullptr;
    TAnimationPreview* mPreview = nullptr;
};

TFormDataBaseBase* CreateFormEDItem(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
