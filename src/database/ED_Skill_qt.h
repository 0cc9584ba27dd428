// The "Skills" page of the database editor: the skills of the database in memory, edited in
// place.
#pragma once

#include "database/ED_Skill.h"
#include "database/FieldPage_qt.h"

#include <array>
#include <memory>

namespace Ui {
class FormEDSkill;
}

namespace quillon {

class TAnimationPreview;
class TCheckListBox;
class TValueSlider;

class TFormEDSkill : private TPageChoosers, public TFormDataBaseBase {
public:
    // choosers: the switch picker and the sound selector (none: the real ones).
    TFormEDSkill(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDSkill() override;

    TSkillPageModel& Model() { return mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    QWidget* Fields() const { return mFields; }
    TCheckListBox* ConditionList() const { return mConditions; }
    TCheckListBox* AttributeList() const { return mAttributes; }
    TValueSlider* Slider(int index) const { return mSliders.at(static_cast<std::size_t>(index)); }
    TAnimationPreview* Preview() const { return mPreview; }

    void LoadEntry() override;
    void UpdateView() override;

private:
    TSkillPageModel& mModel;
    std::unique_ptr<Ui::FormEDSkill> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QWidget* mFields = nullptr;
    TCheckListBox* mConditions = nullptr;
    TCheckListBox* mAttributes = nullptr;
    std::array<TValueSlider*, 3> mSliders{};
    TAnimationPreview* mPreview = nullptr;
};

TFormDataBaseBase* CreateFormEDSkill(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
