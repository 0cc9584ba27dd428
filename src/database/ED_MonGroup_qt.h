// The "Monsters Party" page of the database editor: the entry list, the name with "Auto Name
// Group", the battle field with the members, the monster list with Add, "Delete >", "Clear All"
// and "In Row", the terrains the troop is met on, "Battle Test..." and "Change BG...", and the
// battle event pages with their trigger and command list.
#pragma once

#include "database/ED_MonGroup.h"
#include "database/FieldPage_qt.h"
#include "events/EventScript.h"
#include "graphics/OrlenSheet.h"

#include <QWidget>

#include <memory>

namespace Ui {
class FormEDMonGroup;
}

class QAction;
class QMenu;

namespace quillon {

class TDashBox;
class TFloatingHint;
class TScriptListBox;

// The battle field: the backdrop, then the members back to front with their opacity, the
// selected one framed in white. A left drag moves the selected member; the right button opens
// the popup with "Invisible".
class TMonGroupField : public QWidget {
    Q_OBJECT
public:
    explicit TMonGroupField(QWidget* parent = nullptr);
    ~TMonGroupField() override;
    void Attach(TMonGroupPageModel* model);
    // The backdrop image was chosen again.
    void SetBackdrop(const std::string& name);
    QImage Picture() const;
    QMenu* Popup() const { return mPopup; }
    QAction* InvisibleAction() const { return mInvisible; }
    QSize sizeHint() const override { return {kBattleFieldWidth, kBattleViewHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TMonGroupPageModel* mModel = nullptr;
    TOrlenSheet mBackdrop;
    QMenu* mPopup;
    QAction* mInvisible;
    TFloatingHint* mHint;
};

class TFormEDMonGroup : private TPageChoosers, public TFormDataBaseBase {
public:
    TFormEDMonGroup(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr,
                    TMonsterImageSize sizes = {});
    ~TFormEDMonGroup() override;

    TMonGroupPageModel& Model() { return mModel; }
    TMonGroupField& Field() const;
    TScriptListBox& CommandList() const;
    TDashBox& TriggerBox() const { return *mTriggerBox; }
    void LoadEntry() override;
    void UpdateView() override;

    // Handlers.
    void ButtonAddClick();
    void ButtonDeleteClick();
    void ButtonDeleteAllClick();
    void ButtonDressClick();
    void ButtonAutoNameClick();
    void ButtonBattleTestClick();
    void ButtonChangeBackdropClick();
    void DashBox1Click();

private:
    void ShowPages();
    void ShowButtons();
    void ShowTerrains();

    TMonGroupPageModel& mModel;
    std::unique_ptr<Ui::FormEDMonGroup> mUi;
    TDashBox* mTriggerBox = nullptr;
    TEventScriptConverter mConverter;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    std::vector<TConnection> mHeard;
};

// "Battle Group EventTrigger" on a copy of `trigger`; true on OK with the copy written back.
bool EditBattleTrigger(QWidget* owner, TKelBattleEventTrigger& trigger, const TKelDataBase& dataBase,
                       const TKelMonGroupItem& troop, IEventChoosers* choosers);
// "Monster Group Battle Test": the party, then the test of the troop; true when it ran.
bool RunBattleTestDialog(QWidget* owner, TKelDataBase& dataBase, std::int32_t troopId);

TFormDataBaseBase* CreateFormEDMonGroup(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
