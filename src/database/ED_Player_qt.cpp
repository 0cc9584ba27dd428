#include "database/ED_Player_qt.h"

#include "controls/Cp932Edit_qt.h"
#include "controls/RankListBox_qt.h"
#include "data/LD_DataBase.h"
#include "database/ED_PlayerExp_qt.h"
#include "database/ED_PlayerGraph_qt.h"
#include "database/ED_PlayerLearning_qt.h"
#include "database/ED_PlayerParameter_qt.h"
#include "database/PageRows_qt.h"
#include "events/EventChoosers_qt.h"
#include "platform/Cp932Text_qt.h"

#include "ui_ED_Player.h"

#include <QMenu>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeView>

namespace quillon {

TFormEDPlayer::TFormEDPlayer(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TPlayerPageModel>(context, Choosers), parent),
      mModel(static_cast<TPlayerPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDPlayer>()) {
    // The walk and face selectors open at one place in the frame.
    if (OwnChoosers)
        OwnChoosers->ResourcePickerOffset = QPoint(180, 44);
    mUi->setupUi(this);
    setObjectName("FormEDPlayer");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));

    mName = new TCp932Edit(TKelPlayerItem::kNameMaxBytes, this);
    mName->setObjectName("EditName");
    mName->setAccessibleName(tr("Name"));
    mUi->LabelName->setBuddy(mName);
    mUi->NameLayout->addWidget(mName);
    connect(mName, &TCp932Edit::BytesEdited, this, [this] {
        // A stored name the box cannot show as it is stays its bytes until the user edits it.
        if (mName->Edited())
            mModel.SetName(mName->Bytes());
    });

    mGraphs = {mUi->GraphMaxHp, mUi->GraphMaxMp, mUi->GraphAttack, mUi->GraphDefense, mUi->GraphMind, mUi->GraphAgility};
    for (TPlayerSmallGraph* graph : mGraphs)
        connect(graph, &TPlayerSmallGraph::OpenRequested, this, &TFormEDPlayer::GraphOpen);
    connect(mUi->ButtonExp, &QPushButton::clicked, this, &TFormEDPlayer::ButtonExpClick);

    mConditionList = new TRankListBox(mConditions, mUi->GroupConditions);
    mConditionList->setObjectName("ListConditions");
    mConditionList->setAccessibleName(tr("Condition Effect"));
    mUi->ConditionLayout->addWidget(mConditionList);
    mAttributeList = new TRankListBox(mAttributes, mUi->GroupAttributes);
    mAttributeList->setObjectName("ListAttributes");
    mAttributeList->setAccessibleName(tr("Afflicted Condition"));
    mUi->AttributeLayout->addWidget(mAttributeList);
    mHeard.push_back(mConditions.Changed.Connect([this](int row, int rank) { mModel.SetConditionRank(row, rank); }));
    mHeard.push_back(mAttributes.Changed.Connect([this](int row, int rank) { mModel.SetAttributeRank(row, rank); }));

    QTreeView* learning = mUi->ListLearning;
    mLearningRows = new TPageRows({tr("Level"), tr("Learned Tech Skill")}, [this] { return mModel.LearningRowCount(); },
                                  [this](int row, int column) {
                                      return column == 0 ? mModel.LearningLevelText(row) : mModel.LearningSkillText(row);
                                  },
                                  this);
    MakeRowsView(*learning, mLearningRows);
    // The lists take what room the page leaves them.
    for (QWidget* list : std::initializer_list<QWidget*>{learning, mConditionList, mAttributeList})
        list->setMinimumWidth(60);
    connect(learning, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { LearningEdit(index.row()); });
    // Enter on the list edits the current row too (the adding row adds).
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), learning, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this, learning] {
            if (const int row = CurrentRow(*learning); row >= 0)
                LearningEdit(row);
        });
    }
    connect(learning, &QWidget::customContextMenuRequested, this, [this, learning](const QPoint& at) {
        const int row = CurrentRow(*learning);
        if (row < 0)
            return;
        QMenu menu(learning);
        QAction* edit = menu.addAction(tr("&Edit..."));
        edit->setEnabled(mModel.CanEditLearning(row));
        QAction* remove = menu.addAction(tr("&Delete"));
        remove->setEnabled(mModel.CanDeleteLearning(row));
        // The context-menu key opens it at the list's top-left corner.
        const QPoint where = learning->viewport()->rect().contains(at) ? at : QPoint(0, 0);
        QAction* chosen = menu.exec(learning->viewport()->mapToGlobal(where));
        if (chosen == edit)
            LearningEdit(row);
        else if (chosen == remove)
            LearningDelete(row);
    });

    mBinding = std::make_unique<TFieldBinding>(PlayerPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    AddMissingMnemonics(*this, {mUi->LabelGraphMaxHp, mUi->LabelGraphMaxMp, mUi->LabelGraphAttack,
                                mUi->LabelGraphDefense, mUi->LabelGraphMind, mUi->LabelGraphAgility});
}

TFormEDPlayer::~TFormEDPlayer() { delete mBinder; }

void TFormEDPlayer::LoadEntry() {
    // Before the form is bound (the page base shows the first entry while it is made).
    if (!mBinder)
        return;
    {
        const TDataBaseBlockSignals blocked{mName};
        mName->SetBytes(mModel.Name());
    }
    ShowLevels();
    mBinder->Refresh();
    mConditions.SetRows(mModel.ConditionRows());
    mConditionList->Refresh();
    mAttributes.SetRows(mModel.AttributeRows());
    mAttributeList->Refresh();
    FillLearning(-1);
    mUi->PreviewWalk->Restart();
}

void TFormEDPlayer::ShowLevels() {
    const TDataBaseBlockSignals blocked{mUi->EditInitialLevel, mUi->EditMaxLevel};
    mUi->EditInitialLevel->setMaximum(mModel.InitialLevelMax());
    mUi->EditMaxLevel->setMinimum(mModel.MaxLevelMin());
    mUi->EditInitialLevel->setValue(mModel.InitialLevel());
    mUi->EditMaxLevel->setValue(mModel.MaxLevel());
}

void TFormEDPlayer::ShowGraphs() {
    for (int p = 0; p < kParameterCount; ++p)
        mGraphs[static_cast<std::size_t>(p)]->Show(
            p, [this, p](int level) { return mModel.Parameter(p, level); }, mModel.ShownMax(p));
}

void TFormEDPlayer::UpdateView() {
    if (!mBinder)
        return;
    mUi->LabelExpSummary->setText(QString::fromStdString(mModel.ExpSummary()));
    mUi->LabelShield->setText(tr(mModel.SecondSlotCaption()));
    ShowLevels();
    ShowGraphs();
    const TKelPlayerItem& hero = mModel.Hero();
    mUi->PreviewWalk->ShowGraphic(true, hero.CharSetName, hero.CharSetIndex, hero.CharSetTransparent != 0);
    mUi->PreviewFace->ShowGraphic(false, hero.FaceName, hero.FaceIndex, false);
    mUi->DashWalk->setText(hero.CharSetName.empty() ? tr("(None)") : Cp932ToQString(hero.CharSetName));
    mUi->DashFace->setText(hero.FaceName.empty() ? tr("(None)") : Cp932ToQString(hero.FaceName));
}

void TFormEDPlayer::FillLearning(int select) {
    QTreeView* list = mUi->ListLearning;
    const QSignalBlocker blocked(list);
    mLearningRows->Reset();
    if (select >= 0 && select < mLearningRows->rowCount())
        ShowCurrentRow(*list, select, std::min(select + 1, mLearningRows->rowCount() - 1));
}

void TFormEDPlayer::ButtonExpClick() {
    TPlayerExpModel model(mModel.ExpCurve());
    TFormEDPlayerExp dialog(model, DialogOwner());
    if (dialog.Run())
        mModel.SetExpCurve(model.Curve());
}

void TFormEDPlayer::GraphOpen(int parameter) {
    TPlayerParameterModel model(HeroCurves(mModel.Hero()), parameter);
    TFormEDPlayerParameter dialog(model, DialogOwner());
    if (dialog.Run())
        mModel.SetCurves(model.Curves());
}

void TFormEDPlayer::LearningEdit(int row) {
    if (!mModel.CanEditLearning(row))
        return;
    TPlayerLearningModel model(mModel.DataBase(), mModel.Hero(), row);
    TFormEDPlayerLearning dialog(model, DialogOwner());
    dialog.SetFixedOffset(QPoint(540, 200));
    if (!dialog.Run())
        return;
    model.Confirmed();
    FillLearning(mModel.StoreLearning(row, model.Level(), model.SkillId()));
}

void TFormEDPlayer::LearningDelete(int row) {
    if (mModel.DeleteLearning(row))
        FillLearning(row);
}

TFormDataBaseBase* CreateFormEDPlayer(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDPlayer(context, nullptr, parent);
}

}  // namespace quillon
