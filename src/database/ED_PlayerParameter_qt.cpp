#include "database/ED_PlayerParameter_qt.h"

#include "controls/FieldBinder_qt.h"
#include "database/ED_PlayerParamGen_qt.h"

#include "ui_ED_PlayerParameter.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTabBar>

namespace quillon {

TFormEDPlayerParameter::TFormEDPlayerParameter(TPlayerParameterModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDPlayerParameter>()) {
    mUi->setupUi(this);
    setObjectName("FormEDPlayerParameter");
    SetHelpContext(2);
    mTabs = new QTabBar(this);
    mTabs->setObjectName("TabParameters");
    mTabs->setAccessibleName(tr("Parameter"));
    for (int p = 0; p < kParameterCount; ++p)
        mTabs->addTab(tr(ParameterCaption(p)));
    mTabs->setCurrentIndex(mModel.Parameter());
    mUi->TabLayout->addWidget(mTabs);
    connect(mTabs, &QTabBar::currentChanged, this, [this](int tab) { mModel.SetParameter(tab); });

    mUi->Graph->SetModel(&mModel);
    mBinding = std::make_unique<TFieldBinding>(PlayerParameterForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    const std::pair<QPushButton*, TQuickCurve> quick[] = {{mUi->ButtonGenius, TQuickCurve::Genius},
                                                           {mUi->ButtonExcellent, TQuickCurve::Excellent},
                                                           {mUi->ButtonNormal, TQuickCurve::Normal},
                                                           {mUi->ButtonLow, TQuickCurve::Low}};
    for (const auto& [button, kind] : quick)
        connect(button, &QPushButton::clicked, this, [this, kind = kind] { mModel.Quick(kind); });
    connect(mUi->ButtonCreate, &QPushButton::clicked, this, &TFormEDPlayerParameter::ButtonCreateClick);
    mChanged = mModel.Changed.Connect([this] { UpdateView(); });
    ConnectStandardButtons();
    UpdateView();
}

TFormEDPlayerParameter::~TFormEDPlayerParameter() { delete mBinder; }

void TFormEDPlayerParameter::UpdateView() {
    {
        const QSignalBlocker blocked(mTabs);
        mTabs->setCurrentIndex(mModel.Parameter());
    }
    {
        const QSignalBlocker blocked(mUi->EditValue);
        mUi->EditValue->setMinimum(mModel.ValueMin());
    }
    mUi->GroupValue->setTitle(tr(ParameterCaption(mModel.Parameter())));
    mBinder->Refresh();
    mUi->Graph->update();
}

void TFormEDPlayerParameter::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ControlModifier)) {
        mModel.NextParameter(1);
        return;
    }
    if (event->key() == Qt::Key_Backtab && (event->modifiers() & Qt::ControlModifier)) {
        mModel.NextParameter(-1);
        return;
    }
    TFormKelBase::keyPressEvent(event);
}

void TFormEDPlayerParameter::ButtonCreateClick() {
    TPlayerParamGenModel gen(mModel.ValueMin(), kParameterMax, mModel.Value(1), mModel.Value(kParameterLevels));
    TFormEDPlayerParamGen dialog(gen, this);
    dialog.SetFixedOffset(QPoint(400, 72));
    if (dialog.Run())
        gen.ApplyTo(mModel);
}

}  // namespace quillon
