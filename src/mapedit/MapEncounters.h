// The encounter list of the map and area dialogs ("Monsters Party": one row per encounter and a
// trailing empty row that stands for a new one), its commands and clipboard (format 569), and
// the encounter dialog's model ("Map Encounter Rate Editor").
#pragma once

#include "data/LD_MapTree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TCatalog;

inline constexpr int kEncounterClipboardFormat = 569;
inline constexpr int kMaxEncounters = 500;

// The troop's name of a troop list, or "" when the list has no such troop.
std::string TroopName(const TCatalog* troops, std::int32_t troopId);

enum class TEncounterCommand { Edit, Cut, Copy, Paste, Delete };

class TEncounterListModel {
public:
    // Neither is owned; `troops` names the rows (may be null: every row is empty).
    TEncounterListModel(TKelEncount& list, const TCatalog* troops) : mList(&list), mTroops(troops) {}

    // Rows: the encounters, then the new-entry row.
    int RowCount() const { return mList->Count() + 1; }
    bool IsNewRow(int row) const { return row == mList->Count(); }
    std::string RowText(int row) const;
    // The troop of a row; 0 for the new row and outside.
    std::int32_t TroopIdAt(int row) const;

    // The selected row (-1: none) and the row the view keeps in sight after a command.
    int Selected() const { return mSelected; }
    void Select(int row);
    int ScrollTarget() const { return mScrollTarget; }

    bool IsEnabled(TEncounterCommand command) const;
    // Edit: on the new row appends an encounter of the troop (refused at 500), on another row
    // changes its troop. The edited row is selected afterwards.
    bool Edit(std::int32_t troopId);
    // Removes the selected encounter and renumbers the following ones.
    bool Delete();
    // The selected encounter in format 569.
    bool Copy();
    bool Cut();
    // Inserts the clipboard's encounter before the selected row (at the end on the new row);
    // refused at 500. A block that is not whole changes nothing.
    bool Paste();

private:
    bool HasEncounter() const { return mSelected >= 0 && mSelected < mList->Count(); }
    void SelectAfterEdit(int row);

    TKelEncount* mList;
    const TCatalog* mTroops;
    int mSelected = -1;
    int mScrollTarget = -1;
};

// Reads one encounter from a 569 block; false (and `item` untouched) unless the block holds a
// header, a count of at least 1 and a whole record.
bool ReadEncounterBlock(const std::string& block, TKelEncountItem& item);

// One encounter's troop, chosen from the database's troop names (troop ID = index + 1).
class TEncounterDialogModel {
public:
    // troopId 0: a new encounter, which starts with the troop chosen last in any encounter dialog.
    TEncounterDialogModel(const TCatalog* troops, std::int32_t troopId);

    std::vector<std::string> Names() const;
    int Index() const { return mIndex; }
    void SetIndex(int index);
    std::int32_t TroopId() const { return mIndex + 1; }
    // OK: the troop is remembered for the next new encounter.
    void Confirm();

    static std::int32_t LastTroopId();
    static void SetLastTroopId(std::int32_t id);

private:
    const TCatalog* mTroops;
    int mIndex = 0;
};

}  // namespace quillon
