// "Creation of the Movement Route": the window over TMoveRouteEditorModel. The character list,
// the route list with its menu (Cut, Copy, Paste, Delete and their keys), Delete and Clear All,
// the options, and one button per move command made from the model's table.
#pragma once

#include "events/ED_MoveRoute.h"

#include "controls/KelBase_qt.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;

namespace quillon {

class TFormEDMoveRoute final : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDMoveRoute(TMoveRouteEditorModel& model, QWidget* parent = nullptr);
    ~TFormEDMoveRoute() override;

    TMoveRouteEditorModel& Model() { return mModel; }
    QPushButton* CommandButton(int index) const;
    QListWidget* RouteList() const { return mList; }
    // The route list's menu with its states, built fresh (the caller owns it).
    QMenu* BuildPopupMenu();

protected:
    bool CanConfirm() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void UpdateView();

    TMoveRouteEditorModel& mModel;
    TConnection mHeard;
    QComboBox* mTarget = nullptr;
    QListWidget* mList = nullptr;
    QPushButton* mDelete = nullptr;
    QPushButton* mClearAll = nullptr;
    QCheckBox* mRepeat = nullptr;
    QCheckBox* mSkippable = nullptr;
    QSpinBox* mFrequency = nullptr;
    std::vector<QPushButton*> mButtons;
};

// Edits the request's route (and, in command mode, its target) in the editor; true on OK with
// the request updated, false on cancel with the request as it was.
bool RunMoveRouteEditor(QWidget* parent, TMoveRouteRequest& request, const TEventCommandContext& context);

}  // namespace quillon
