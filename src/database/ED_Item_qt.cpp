#include "database/ED_Item_qt.h"

#include "controls/CheckListBox_qt.h"
#include "controls/Cp932Edit_qt.h"
#include "database/AnimationPreview_qt.h"
#include "database/PageParts_qt.h"

#include "ui_ED_Item.h"

namespace quillon {

TFormEDItem::TFormEDItem(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TItemPageModel>(context, Choosers), parent),
      mModel(static_cast<TItemPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDItem>()) {
    mUi->setupUi(this);
    setObjectName("FormEDItem");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    mFields = mUi->Fields;
    // The name box is the byte-limited edit every name of the editor is typed in.
    auto* name = new TCp932Edit(TKelItemItem::kNameMaxBytes, mFields);
    name->setObjectName(QStringLiteral("EditName"));
    mUi->LabelName->setBuddy(name);
    mUi->NameLayout->addWidget(name);
    AddDashBox(*mUi->DashSwitchLayout, mUi->LabelSwitch, "DashSwitch");

    mPreview = mUi->AnimationPreview;
    mHeroes = mUi->ListHeroes;
    mWeaponAttributes = mUi->ListWeaponAttributes;
    mArmourAttributes = mUi->ListArmourAttributes;
    mConditions = mUi->ListConditions;
    mCure = mUi->ListCure;
    ConnectMarks(*mHeroes, [this](int id, bool on) { mModel.SetHeroMark(id, on); });
    for (TCheckListBox* list : {mWeaponAttributes, mArmourAttributes})
        ConnectMarks(*list, [this](int id, bool on) { mModel.SetAttributeMark(id, on); });
    for (TCheckListBox* list : {mConditions, mCure})
        ConnectMarks(*list, [this](int id, bool on) { mModel.SetConditionMark(id, on); });

    mBinding = std::make_unique<TFieldBinding>(ItemPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *mFields);
    AddPageMnemonics(*mFields);
    LoadEntry();
}

TFormEDItem::~TFormEDItem() { delete mBinder; }

void TFormEDItem::LoadEntry() {
    if (!mBinder)
        return;  // the page base shows the first entry while the page is made
    mBinder->Refresh();
    UpdateView();
}

void TFormEDItem::UpdateView() {
    if (!mBinder)
        return;
    for (TItemGroup group : {TItemGroup::Uses, TItemGroup::Heroes, TItemGroup::Equip, TItemGroup::Weapon,
                             TItemGroup::Armour, TItemGroup::Conditions, TItemGroup::Medicine, TItemGroup::Book,
                             TItemGroup::Material, TItemGroup::Unique, TItemGroup::Switch})
        ShowBoxes(*mFields, ItemGroupWidgets(group), mModel.Shown(group));
    SetCaption(*mFields, "GroupHeroes", mModel.HeroCaption());
    SetCaption(*mFields, "GroupConditions", mModel.ConditionCaption());
    SetCaption(*mFields, "GroupProbability", mModel.ProbabilityCaption());
    SetCaption(*mFields, "GroupWeaponAttributes", mModel.AttributeCaption());
    SetCaption(*mFields, "GroupArmourAttributes", mModel.AttributeCaption());
    // Lists of groups that are hidden are filled when their classification comes.
    if (mModel.Shown(TItemGroup::Heroes))
        ShowMarks(*mHeroes, mModel.HeroNames(), mModel.HeroMarks());
    if (mModel.Shown(TItemGroup::Weapon) || mModel.Shown(TItemGroup::Armour)) {
        ShowMarks(*mWeaponAttributes, mModel.AttributeNames(), mModel.AttributeMarks());
        ShowMarks(*mArmourAttributes, mModel.AttributeNames(), mModel.AttributeMarks());
    }
    if (mModel.Shown(TItemGroup::Conditions) || mModel.Shown(TItemGroup::Medicine)) {
        ShowMarks(*mConditions, mModel.ConditionNames(), mModel.ConditionMarks());
        ShowMarks(*mCure, mModel.ConditionNames(), mModel.ConditionMarks());
    }
    mPreview->SetAnimation(mModel.Shown(TItemGroup::Weapon) ? mModel.PreviewAnimation() : nullptr);
}

TFormDataBaseBase* CreateFormEDItem(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDItem(context, nullptr, parent);
}

}  // namespace quillon
