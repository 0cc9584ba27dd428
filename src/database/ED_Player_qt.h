// The "Hero" page of the database editor: the heroes of the database in memory, edited in place,
// with the experience-curve, parameter-curve and learning dialogs.
#pragma once

#include "controls/RankList.h"
#include "database/ED_Player.h"
#include "database/FieldPage_qt.h"

#include <array>
#include <memory>

namespace Ui {
class FormEDPlayer;
}

namespace quillon {

class TCp932Edit;
class TPlayerSmallGraph;
class TRankListBox;

class TFormEDPlayer : private TPageChoosers, public TFormDataBaseBase {
public:
    // choosers: the walk and face selectors (none: the real ones, owned by the page).
    TFormEDPlayer(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDPlayer() override;

    TPlayerPageModel& Model() { return mModel; }
    Ui::FormEDPlayer& Form() { return *mUi; }
    TCp932Edit& NameEdit() const { return *mName; }
    TPlayerSmallGraph& Graph(int parameter) const { return *mGraphs.at(static_cast<std::size_t>(parameter)); }
    TRankListBox& ConditionList() const { return *mConditionList; }
    TRankListBox& AttributeList() const { return *mAttributeList; }

    void LoadEntry() override;
    void UpdateView() override;

public:
    // The curve dialogs on the current hero.
    void ButtonExpClick();
    void GraphOpen(int parameter);
    // The learning list's commands on a row (the last row adds).
    void LearningEdit(int row);
    void LearningDelete(int row);

private:
    void FillLearning(int select);
    void ShowLevels();
    void ShowGraphs();

    TPlayerPageModel& mModel;
    std::unique_ptr<Ui::FormEDPlayer> mUi;
    TCp932Edit* mName = nullptr;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    std::array<TPlayerSmallGraph*, kParameterCount> mGraphs{};
    TRankListModel mConditions;
    TRankListModel mAttributes;
    TRankListBox* mConditionList = nullptr;
    TRankListBox* mAttributeList = nullptr;
    class TPageRows* mLearningRows = nullptr;
    std::vector<TConnection> mHeard;
};

TFormDataBaseBase* CreateFormEDPlayer(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
