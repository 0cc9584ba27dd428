// A monster's action patterns: the list the monster page shows ("Subject", "Conditions",
// "Priority"; one row per pattern and an empty row standing for a new one), its commands and
// clipboard (format 569, one pattern), and the model of the "Actions Pattern" dialog.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_Monster.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;
class TKelDataBase;

inline constexpr int kMonsterActMax = 500;
inline constexpr int kMonsterActClipboardFormat = TKelMonsterActItem::kClipboardFormat;
inline constexpr int kMonsterActHelpContext = 5;

// The names of the basic actions and of the condition types, by value.
const std::vector<std::string>& MonsterBehaviorNames();
const std::vector<std::string>& MonsterConditionNames();

// The three columns of a pattern's row (texts in the database's bytes; "?" for what is missing).
std::string MonsterActSubject(const TKelMonsterActItem& act, const TKelDataBase& db);
std::string MonsterActCondition(const TKelMonsterActItem& act, const TKelDataBase& db);
std::string MonsterActPriority(const TKelMonsterActItem& act);

// Reads one pattern from a 569 block: the header whole, at least one record, and a record that
// holds the three fields every pattern writes (kind, basic action, condition type) and ends where
// the block says. An encounter's block, a cut or damaged one is refused: false, `act` untouched.
bool ReadMonsterActBlock(const std::string& block, TKelMonsterActItem& act);

enum class TMonsterActCommand { Edit, Cut, Copy, Paste, Delete };

class TMonsterActListModel {
public:
    // Neither is owned; the list is the monster's, the database names the rows.
    TMonsterActListModel(TKelMonsterAct& list, const TKelDataBase& db) : mList(&list), mDb(&db) {}
    // Another monster's list (the selection goes to the first row).
    void SetList(TKelMonsterAct& list);
    TKelMonsterAct& List() const { return *mList; }

    int RowCount() const { return mList->Count() + 1; }
    bool IsNewRow(int row) const { return row == mList->Count(); }
    // Column 0 subject, 1 conditions, 2 priority; the new row is empty.
    std::string Cell(int row, int column) const;

    int Selected() const { return mSelected; }
    void Select(int row);
    // The pattern of the selected row, or nullptr (the new row).
    TKelMonsterActItem* SelectedAct() const;

    bool IsEnabled(TMonsterActCommand command) const;
    // Edit's target: a copy of the selected pattern, or for the new row a new pattern made from
    // the last one confirmed in the dialog (its reset values before any). False when there is
    // nothing to edit (no row, or 500 patterns and the new row).
    bool StartEdit(TKelMonsterActItem& edited) const;
    // Writes the dialog's result: over the selected pattern, or appended for the new row. The
    // changed pattern is selected afterwards.
    bool FinishEdit(const TKelMonsterActItem& edited);
    bool Delete();
    bool Copy();
    bool Cut();
    // Inserts the clipboard's pattern before the selected row (the patterns after it move up),
    // at the end on the new row; refused at 500 and for a block that does not read whole.
    bool Paste();

    // The pattern new ones start from, for the run (not stored).
    static const TKelMonsterActItem& LastConfirmed();
    static void SetLastConfirmed(const TKelMonsterActItem& act);

private:
    TKelMonsterAct* mList;
    const TKelDataBase* mDb;
    int mSelected = 0;
};

// The "Actions Pattern" dialog over a copy of a pattern.
class TMonsterActDialogModel {
public:
    // choosers: the switch pickers (none: nothing is chosen).
    TMonsterActDialogModel(const TKelDataBase& db, const TKelMonsterActItem& act, IEventChoosers* choosers);

    TKelMonsterActItem& Act() { return mAct; }
    const TKelMonsterActItem& Act() const { return mAct; }
    const TKelDataBase& DataBase() const { return *mDb; }

    // The kind; the list it enables takes a value of its own when the stored one is outside it.
    std::int32_t Kind() const { return mAct.Kind; }
    void SetKind(std::int32_t kind);
    std::int32_t ConditionType() const { return mAct.ConditionType; }
    // A new type: A to its minimum, B to the type's default.
    void SetConditionType(std::int32_t type);
    // The range of A and B for the current type (0..0 for types without values).
    std::int32_t ValueMin() const;
    std::int32_t ValueMax() const;
    bool HasValues() const { return mAct.ConditionType >= 2 && mAct.ConditionType <= 7; }
    std::int32_t ValueA() const { return mAct.ConditionA; }
    std::int32_t ValueB() const { return mAct.ConditionB; }
    void SetValueA(std::int32_t value);
    void SetValueB(std::int32_t value);
    // The labels after A and after B (UTF-8 captions), and the condition box's caption (the
    // type's name).
    std::string LabelA() const;
    std::string LabelB() const;
    std::string ConditionCaption() const;

    std::vector<TFieldChoice> SkillChoices() const;
    std::vector<TFieldChoice> MonsterChoices() const;
    // The switch boxes: 0 ON, 1 OFF, 2 the condition's; "%.4d:%s" while the switch exists.
    std::string SwitchText(int box) const;
    bool ChooseSwitch(int box);
    // Whether a picker applied names or a count (the page then counts it as a change).
    bool NamesApplied() const;

    // OK: false with the refusal in `error` (B below A for types 3..7); else the pattern is
    // remembered for the next new one.
    bool Confirm(std::string& error);

private:
    void KeepListValue();

    const TKelDataBase* mDb;
    TKelMonsterActItem mAct;
    IEventChoosers* mChoosers;
};

inline constexpr const char* kMonsterActRangeRefusal = "Illegal range of value of behavior condition";

// Widgets: RadioButton1 .. RadioButton3 (kind), ComboBox1 (basic action), ComboBox2 (skill),
// ComboBox3 (monster), ComboBox4 (condition type), GroupCondition with DialEdit1 (A), LabelA,
// DialEdit2 (B), LabelB, DashBox3 (condition switch); CheckBox1 and DashBox1 (ON), CheckBox2 and
// DashBox2 (OFF), DialEdit3 (priority).
const TFieldForm& MonsterActDialogForm();

}  // namespace quillon
