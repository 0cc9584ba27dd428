// The switch and variable pickers ("Select Switch", "Select Variable"): one window over the
// database's switch list or variable list, with the group list, the rows of the group, the name
// box, the count button, "&Ok", "Cancel" and "&Apply".
#pragma once

#include "controls/KelBase_qt.h"
#include "controls/SelSwitch.h"

#include <cstdint>
#include <memory>

class QAction;
class QListWidget;
class QLabel;
class QMenu;
class QPushButton;
namespace Ui {
class TFormSelSwitch;
}

namespace quillon {

class TCatalog;
class TCp932Edit;
class TKelDataBase;

// Which list the picker edits.
enum class TNameListKind { Switch, Variable };

class TFormSelSwitch : public TFormKelBase {
    Q_OBJECT
public:
    TFormSelSwitch(QWidget* owner, TCatalog& list, TNameListKind kind);
    ~TFormSelSwitch() override;

    TSelSwitchModel& Model() { return mModel; }
    // Selects the ID when the list holds it, else the first row.
    void Open(std::int32_t id);
    // The ID chosen with OK.
    std::int32_t Result() const { return mResult; }

    QListWidget* GroupList() const;
    QListWidget* DataList() const;
    QLabel* Label1() const;
    TCp932Edit* OverEdit1() const { return mOverEdit1; }
    QPushButton* ButtonApply() const;
    QMenu* DataListPopupMenu() const { return mPopup; }

public slots:
    void ButtonOkClick() override;
    void ButtonApplyClick();
    void ButtonMaxClick();
    void Menu_DataCopyClick();
    void Menu_DataPasteClick();
    void Menu_DataClearClick();
    void Action_F4Execute();
    void Action_F5Execute();

private:
    void ModelChanged(unsigned what);
    void FillGroups();
    void FillRows();
    void ShowSelection();
    void ShowName();
    void UpdatePasteEnabled();
    void DataListPopup(const QPoint& at);

    TSelSwitchModel mModel;
    std::unique_ptr<Ui::TFormSelSwitch> mUi;
    TCp932Edit* mOverEdit1 = nullptr;
    QMenu* mPopup = nullptr;
    QAction* mPaste = nullptr;
    std::int32_t mResult = 0;
    bool mShowing = false;
    TConnection mModelChanged;  // declared last: leaves the model before the widgets go
};

// The variable picker is the same window over the variable list.
using TFormSelVariable = TFormSelSwitch;

// Opens the picker on `id`; on OK stores the chosen ID and answers true. `databaseChanged`
// becomes true when names or the count were applied to the database (also before a Cancel);
// it is never set back to false. `offset`: the picker's place from the owner window's client
// origin (none: centred on the owner).
bool ChooseSwitch(QWidget* parent, TKelDataBase& db, std::int32_t& id, bool& databaseChanged,
                  std::optional<QPoint> offset = std::nullopt);
bool ChooseVariable(QWidget* parent, TKelDataBase& db, std::int32_t& id, bool& databaseChanged,
                    std::optional<QPoint> offset = std::nullopt);

}  // namespace quillon
