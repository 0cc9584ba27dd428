// The switch and variable pickers' model: a working copy of the list's names (index = ID - 1)
// shown in groups of twenty, the current ID, name editing, the number of entries, the row moves
// of F4 and F5, and Apply into the database list. Both pickers are this one model over their list.
#pragma once

#include "platform/Signal.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TCatalog;

class TSelSwitchModel {
public:
    static constexpr int kGroupSize = 20;
    static constexpr std::size_t kMaxNameBytes = 20;

    // What a change touched; Changed carries a combination.
    enum : unsigned {
        cfGroups = 0x01,     // the group rows
        cfRows = 0x02,       // the rows of the selected group
        cfSelection = 0x04,  // the selected group or row (and so the current ID and name)
        cfName = 0x08,       // the current name (its row)
        cfPending = 0x10,    // the pending flag
    };

    // Copies the names of `list`: one per ID from 1 to its highest ID (at most 30000); IDs that
    // no element holds read as empty names. An empty list gives one empty name.
    explicit TSelSwitchModel(TCatalog& list);

    // --- the working copy ---
    int Count() const { return static_cast<int>(mNames.size()); }
    // The name of an ID of the copy (empty outside it).
    const std::string& Name(std::int32_t id) const;

    // --- groups and rows ---
    int GroupCount() const { return (Count() + kGroupSize - 1) / kGroupSize; }
    // "[ %.4d - %.4d ]": the group's first and last ID (the real last ID for the last group).
    std::string GroupText(int group) const;
    std::vector<std::string> GroupRows() const;
    int RowCount(int group) const;
    // "%.4d:%s" of a row of the selected group.
    std::string RowText(int row) const;
    std::vector<std::string> Rows() const;

    // --- the selection ---
    int Group() const { return mGroup; }
    int Row() const { return mRow; }
    std::int32_t CurrentId() const { return mGroup * kGroupSize + mRow + 1; }
    // "%.4d:" of the current ID.
    std::string IdLabel() const;
    const std::string& CurrentName() const { return Name(CurrentId()); }

    // Opening on an ID: its group and row when the copy holds it, else the first row.
    void Open(std::int32_t id);
    // A group chosen: its first row. A row chosen in the selected group. Out of range: nothing.
    void SelectGroup(int group);
    void SelectRow(int row);
    // F4: one row up, from a group's first row to the previous group's last. False at the start.
    bool MoveUp();
    // F5: one row down, from a group's last row to the next group's first. False at the end.
    bool MoveDown();

    // --- edits (each sets the pending flag) ---
    // The name as typed, cut to 20 bytes without splitting a double-byte character.
    void SetCurrentName(const std::string& bytes);
    // Copy: the text put on the clipboard (the current name).
    std::string CopyText();
    // Paste: the first line of the text, cut like a typed name.
    void PasteText(const std::string& text);
    void ClearName();
    // The number of entries (clamped into 1 .. 30000): empty names appended or the last ones
    // dropped; the selected group stays when it still exists (else the last one), and so does the
    // row (else the group's last). Answers whether the count changed.
    bool SetCount(int count);

    // --- Apply ---
    bool Pending() const { return mPending; }
    // Brings the list to the copy's count (IDs above it deleted, missing ones obtained) and sets
    // every name from the copy; clears the pending flag. Nothing happens while nothing is pending.
    void Apply();
    // Whether an Apply has written into the list.
    bool Applied() const { return mApplied; }
    // OK: applies what is pending and answers the current ID.
    std::int32_t Confirm();

    TSignal<unsigned> Changed;

private:
    void Edited(unsigned what);
    void Select(int group, int row);

    TCatalog& mList;
    std::vector<std::string> mNames;
    int mGroup = 0;
    int mRow = 0;
    bool mPending = false;
    bool mApplied = false;
};

// The variable picker is the same model over the variable list.
using TSelVariableModel = TSelSwitchModel;

}  // namespace quillon
