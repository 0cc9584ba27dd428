#include "database/ED_Item_qt.h"

#include "controls/CheckListBox_qt.h"
#include "controls/Cp932Edit_qt.h"
#include "database/AnimationPreview_qt.h"
#include "database/PageParts_qt.h"

namespace quillon {

TFormEDItem::TFormEDItem(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TItemPageModel>(context, Choosers), parent),
      mModel(static_cast<TItemPageModel&>(PageModel())) {
    setObjectName("FormEDItem");
    auto* top = new QHBoxLayout(this);
    top->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    mFields = new QWidget(this);
    mFields->setObjectName(QStringLiteral("Fields"));
    auto* layout = new QFormLayout(mFields);
    // The name box is the byte-limited edit every name of the editor is typed in.
    auto* name = new TCp932Edit(TKelItemItem::kNameMaxBytes, mFields);
    name->setObjectName(QStringLiteral("EditName"));
    auto* nameLabel = new QLabel(tr("&Name:"), mFields);  // made first: its letter is taken
    nameLabel->setObjectName(QStringLiteral("EditNameLabel"));
    nameLabel->setBuddy(name);
    mBinding = std::make_unique<TFieldBinding>(ItemPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *mFields, layout);
    layout->insertRow(0, nameLabel, name);

    mPreview = new TAnimationPreview(mFields);
    AddToBoxAfter(*mFields, "GroupWeapon", "ComboAnimation", mPreview, {}, tr("Animation preview"));
    mHeroes = NewMarkList(mFields, "ListHeroes");
    AddToBox(*mFields, "GroupHeroes", mHeroes, {}, tr("Heroes"));
    connect(mHeroes, &TCheckListBox::CheckEdited, this, [this](int row, bool on) { mModel.SetHeroMark(row + 1, on); });
    mWeaponAttributes = NewMarkList(mFields, "ListWeaponAttributes");
    AddToBox(*mFields, "GroupWeaponAttributes", mWeaponAttributes, {}, tr("Attack Attribute"));
    mArmourAttributes = NewMarkList(mFields, "ListArmourAttributes");
    AddToBox(*mFields, "GroupArmourAttributes", mArmourAttributes, {}, tr("Defense Attribute"));
    for (TCheckListBox* list : {mWeaponAttributes, mArmourAttributes})
        connect(list, &TCheckListBox::CheckEdited, this,
                [this](int row, bool on) { mModel.SetAttributeMark(row + 1, on); });
    mConditions = NewMarkList(mFields, "ListConditions");
    AddToBox(*mFields, "GroupConditions", mConditions, {}, tr("Change to condition"));
    mCure = NewMarkList(mFields, "ListCure");
    AddToBox(*mFields, "GroupCure", mCure, {}, tr("Change to"));
    for (TCheckListBox* list : {mConditions, mCure})
        connect(list, &TCheckListBox::CheckEdited, this,
                [this](int row, bool on) { mModel.SetConditionMark(row + 1, on); });

    WrapLongRows(*mFields);
    top->addWidget(ScrolledFields(mFields, this), 1);
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
