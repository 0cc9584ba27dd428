#include "database/ED_PlayerLearning_qt.h"

#include "platform/Cp932Text_qt.h"

#include "ui_ED_PlayerLearning.h"

#include <QPushButton>

namespace quillon {

TFormEDPlayerLearning::TFormEDPlayerLearning(TPlayerLearningModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDPlayerLearning>()) {
    mUi->setupUi(this);
    setObjectName("FormEDPlayerLearning");
    SetHelpContext(2);
    mUi->EditLevel->setRange(1, TKelPlayerItem::kMaxLevel);
    mUi->EditLevel->setValue(mModel.Level());
    connect(mUi->EditLevel, &QSpinBox::valueChanged, this, [this](int level) { mModel.SetLevel(level); });
    for (const TFieldChoice& skill : mModel.Skills())
        mUi->ListSkills->addItem(QString::asprintf("%.4d:", static_cast<int>(skill.Id)) + Cp932ToQString(skill.Name));
    mUi->ListSkills->setCurrentRow(mModel.SkillRow());
    connect(mUi->ListSkills, &QListWidget::currentRowChanged, this, [this](int row) { mModel.SetSkillRow(row); });
    connect(mUi->ListSkills, &QListWidget::itemDoubleClicked, this, [this] { ButtonOkClick(); });
    mUi->ButtonOk->setEnabled(mModel.CanConfirm());
    ConnectStandardButtons();
}

TFormEDPlayerLearning::~TFormEDPlayerLearning() = default;

bool TFormEDPlayerLearning::CanConfirm() {
    mUi->EditLevel->interpretText();
    mModel.SetLevel(mUi->EditLevel->value());
    return mModel.CanConfirm();
}

}  // namespace quillon
