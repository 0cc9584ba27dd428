// The encounter list of the map and area dialogs: column "Monsters Party", one row per
// encounter and a trailing empty row, the popup menu (Edit, Cut, Copy, Paste, Delete) with its
// short-cuts, and the encounter dialog ("Map Encounter Rate Editor").
#pragma once

#include "mapedit/MapEncounters.h"

#include "controls/KelBase_qt.h"

#include <QTreeWidget>

#include <functional>
#include <memory>

class QMenu;

namespace Ui {
class FormEDMapEncount;
}

namespace quillon {

class TFormEDMapEncount : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDMapEncount(TEncounterDialogModel& model, QWidget* parent = nullptr);
    ~TFormEDMapEncount() override;
    Ui::FormEDMapEncount& Form() { return *mUi; }

protected:
    // OK takes the chosen troop.
    bool CanConfirm() override;

private:
    TEncounterDialogModel& mModel;
    std::unique_ptr<Ui::FormEDMapEncount> mUi;
};

class TEncounterListView : public QTreeWidget {
    Q_OBJECT
public:
    // `list` and `troops` are not owned.
    TEncounterListView(TKelEncount& list, const TCatalog* troops, QWidget* parent = nullptr);

    TEncounterListModel& Model() { return mModel; }
    // Rebuilds the rows from the list and selects the model's selection.
    void Refresh();
    // The popup menu with its states, built fresh.
    QMenu* BuildPopupMenu();
    // Runs a command on the selected row ("&Edit..." opens the encounter dialog through EditTroop).
    bool RunCommand(TEncounterCommand command);
    // Asks for a troop (the encounter dialog by default); tests put a stand-in here.
    std::function<bool(std::int32_t current, std::int32_t& chosen)> EditTroop;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TEncounterListModel mModel;
    const TCatalog* mTroops;
};

}  // namespace quillon
