#include "database/ED_Skill_qt.h"

#include "controls/CheckListBox_qt.h"
#include "controls/ValueSlider_qt.h"
#include "database/AnimationPreview_qt.h"
#include "database/PageParts_qt.h"

#include <QSlider>

namespace quillon {

TFormEDSkill::TFormEDSkill(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TSkillPageModel>(context, Choosers), parent),
      mModel(static_cast<TSkillPageModel&>(PageModel())) {
    setObjectName("FormEDSkill");
    auto* top = new QHBoxLayout(this);
    top->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    mFields = new QWidget(this);
    mFields->setObjectName(QStringLiteral("Fields"));
    auto* layout = new QFormLayout(mFields);
    mBinding = std::make_unique<TFieldBinding>(SkillPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *mFields, layout);

    // What the field descriptions do not build: the preview, the sliders and the mark lists.
    mPreview = new TAnimationPreview(mFields);
    AddToBoxAfter(*mFields, "GroupNormal", "ComboAnimation", mPreview, {}, tr("Animation preview"));
    static const char* const kSliders[] = {"&Hit Chance:", "Mi&nd Chance:", "&Variance:"};
    for (int i = 2; i >= 0; --i) {
        auto* slider = new TValueSlider(0, kSkillSliderMax, {}, mFields);
        slider->setObjectName(QStringLiteral("Slider%1").arg(i + 1));
        slider->SetFieldName(AccessibleCaption(tr(kSliders[i])));
        AddToBoxAfter(*mFields, "GroupNormal", "AnimationPreview", slider, tr(kSliders[i]),
                      AccessibleCaption(tr(kSliders[i])));
        if (auto* label = mFields->findChild<QLabel*>(slider->objectName() + QStringLiteral("Label")))
            label->setBuddy(slider->Slider());
        connect(slider, &TValueSlider::ValueEdited, this, [this, i](int value) { mModel.SetInfluence(i, value); });
        mSliders[static_cast<std::size_t>(i)] = slider;
    }
    mConditions = NewMarkList(mFields, "ListConditions");
    AddToBox(*mFields, "GroupConditions", mConditions, {}, tr("Change to condition"));
    connect(mConditions, &TCheckListBox::CheckEdited, this,
            [this](int row, bool on) { mModel.SetConditionMark(row + 1, on); });
    mAttributes = NewMarkList(mFields, "ListAttributes");
    AddToBoxAfter(*mFields, "GroupAttributes", nullptr, mAttributes, {}, tr("Attribute"));
    connect(mAttributes, &TCheckListBox::CheckEdited, this,
            [this](int row, bool on) { mModel.SetAttributeMark(row + 1, on); });

    WrapLongRows(*mFields);
    top->addWidget(ScrolledFields(mFields, this), 1);
    LoadEntry();
}

TFormEDSkill::~TFormEDSkill() { delete mBinder; }

void TFormEDSkill::LoadEntry() {
    if (!mBinder)
        return;  // the page base shows the first entry while the page is made
    mBinder->Refresh();
    UpdateView();
}

void TFormEDSkill::UpdateView() {
    if (!mBinder)
        return;
    for (TSkillGroup group : {TSkillGroup::Normal, TSkillGroup::Sound, TSkillGroup::Message, TSkillGroup::Switch})
        ShowBoxes(*mFields, SkillGroupWidgets(group), mModel.Shown(group));
    SetCaption(*mFields, "GroupAttributes", mModel.AttributeCaption());
    SetCaption(*mFields, "CheckDefenseFalling", mModel.DefenseFallingCaption());
    ShowMarks(*mConditions, mModel.ConditionNames(), mModel.ConditionMarks());
    ShowMarks(*mAttributes, mModel.AttributeNames(), mModel.AttributeMarks());
    for (int i = 0; i < 3; ++i)
        mSliders[static_cast<std::size_t>(i)]->SetValue(mModel.Influence(i));
    mPreview->SetAnimation(mModel.Shown(TSkillGroup::Normal) ? mModel.PreviewAnimation() : nullptr);
}

TFormDataBaseBase* CreateFormEDSkill(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDSkill(context, nullptr, parent);
}

}  // namespace quillon
