// The "DataBase" window: the thirteen tabs over one page at a time, OK, Cancel, Apply, Help and
// the music selector. The rules are the frame model's (DataBaseForm.h); the pages come from the
// page registry (DataBasePages_qt.h).
#pragma once

#include "controls/KelBase_qt.h"
#include "database/DataBaseForm.h"

#include <memory>

class QPushButton;
class QTabBar;
class QToolButton;

namespace Ui {
class FormDataBase;
}  // namespace Ui

namespace quillon {

class TFormDataBaseBase;

class TFormDataBase : public TFormKelBase {
    Q_OBJECT
public:
    TFormDataBase(const TDataBaseContext& context, QWidget* owner = nullptr);
    ~TFormDataBase() override;

    TDataBaseFormModel& Model() { return mModel; }
    QTabBar& TabControl() const;
    QWidget& Foundation() const;
    QPushButton& ButtonApply() const;
    // The page shown, or nullptr.
    TFormDataBaseBase* Page() const { return mPage.get(); }
    // Shows the remembered tab (the window does it when it first shows).
    void OpenPage();

public slots:
    void ButtonOkClick() override;
    void ButtonApplyClick();
    void ButtonHelpClick();
    void ToolButtonMusicClick();
    void TabControlChange();
    void SelectNextTab();
    void SelectPreviousTab();
    void SelectPreviousEntry();
    void SelectNextEntry();

protected:
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    void ReleasePage();
    void ShowState();

    TDataBaseFormModel mModel;
    std::unique_ptr<Ui::FormDataBase> mUi;
    std::unique_ptr<TFormDataBaseBase> mPage;
    TConnection mHeard;
    bool mOpened = false;
    bool mClosing = false;
};

// The main window's "&Data Base...": the window over the live database, modal.
void RunDataBaseEditor(QWidget* owner, const TDataBaseContext& context);

}  // namespace quillon
