#include "database/ED_Skill_qt.h"

#include "controls/CheckListBox_qt.h"
#include "controls/DashBox_qt.h"
#include "controls/ValueSlider_qt.h"
#include "database/AnimationPreview_qt.h"
#include "database/PageParts_qt.h"

#include "ui_ED_Skill.h"

#include <QSlider>

namespace quillon {

TFormEDSkill::TFormEDSkill(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TSkillPageModel>(context, Choosers), parent),
      mModel(static_cast<TSkillPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDSkill>()) {
    mUi->setupUi(this);
    setObjectName("FormEDSkill");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    mFields = mUi->Fields;
    mConditions = mUi->ListConditions;
    mAttributes = mUi->ListAttributes;
    mPreview = mUi->AnimationPreview;

    // What the form cannot make itself: the choosers' boxes and the sliders with their values.
    AddDashBox(*mUi->DashSoundLayout, mUi->LabelSound, "DashSound");
    AddDashBox(*mUi->DashSwitchLayout, mUi->LabelSwitch, "DashSwitch");
    QHBoxLayout* const sliderRows[] = {mUi->Slider1Layout, mUi->Slider2Layout, mUi->Slider3Layout};
    QLabel* const sliderLabels[] = {mUi->Slider1Label, mUi->Slider2Label, mUi->Slider3Label};
    for (int i = 0; i < 3; ++i) {
        auto* slider = new TValueSlider(0, kSkillSliderMax, {}, mUi->GroupNormal);
        slider->setObjectName(QStringLiteral("Slider%1").arg(i + 1));
        slider->SetFieldName(AccessibleCaption(sliderLabels[i]->text()));
        sliderRows[i]->addWidget(slider);
        sliderLabels[i]->setBuddy(slider->Slider());
        connect(slider, &TValueSlider::ValueEdited, this, [this, i](int value) { mModel.SetInfluence(i, value); });
        mSliders[static_cast<std::size_t>(i)] = slider;
    }
    ConnectMarks(*mConditions, [this](int id, bool on) { mModel.SetConditionMark(id, on); });
    ConnectMarks(*mAttributes, [this](int id, bool on) { mModel.SetAttributeMark(id, on); });

    mBinding = std::make_unique<TFieldBinding>(SkillPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *mFields);
    AddPageMnemonics(*mFields);
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
