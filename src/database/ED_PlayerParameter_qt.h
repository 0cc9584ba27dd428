// "Curve of Abilities": the six tabs, the level and value boxes, the large graph drawn with the
// mouse, the four quick buttons and "Create Curve...", over TPlayerParameterModel.
#pragma once

#include "controls/KelBase_qt.h"
#include "database/ED_PlayerParameter.h"

#include <memory>

class QTabBar;

namespace Ui {
class FormEDPlayerParameter;
}

namespace quillon {

class TFieldBinder;
class TFieldBinding;

class TFormEDPlayerParameter : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDPlayerParameter(TPlayerParameterModel& model, QWidget* parent = nullptr);
    ~TFormEDPlayerParameter() override;
    Ui::FormEDPlayerParameter& Form() { return *mUi; }
    QTabBar& Tabs() const { return *mTabs; }
    void UpdateView();

public slots:
    void ButtonCreateClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TPlayerParameterModel& mModel;
    std::unique_ptr<Ui::FormEDPlayerParameter> mUi;
    QTabBar* mTabs = nullptr;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    TConnection mChanged;
};

}  // namespace quillon
