// The common event page ("Common Events"): name, start condition ("Call", "Auto Start",
// "Parallel Process"), the switch that must be on (not for "Call"), and the script, edited
// with the event script list over the current common event.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_CmnEvent.h"
#include "database/EntryPage.h"

#include <cstdint>
#include <string>

namespace quillon {

class IEventChoosers;
class TKelDataBase;
class TScriptListModel;

inline constexpr int kCommonEventHelpContext = 14;
inline constexpr std::size_t kCommonEventNameMaxBytes = 20;

// The trigger list's rows in their order, and the value each stores.
inline constexpr std::uint8_t kCommonEventTriggers[] = {TKelCommonEventItem::ctCall, TKelCommonEventItem::ctAutoStart,
                                                        TKelCommonEventItem::ctParallel};

class TCommonEventPageModel : public TEntryPageModel<TKelCommonEventItem> {
public:
    // choosers: the switch picker and the command dialogs' selectors (none: nothing is chosen).
    TCommonEventPageModel(const TDataBaseContext& context, IEventChoosers* choosers);
    ~TCommonEventPageModel() override;

    // The trigger list's row of the stored trigger (an unknown value shows "Call").
    std::int32_t TriggerRow() const;
    void SetTriggerRow(std::int32_t row);
    // The switch group is offered unless the event is called.
    bool SwitchGroupEnabled() const { return Item().Trigger != TKelCommonEventItem::ctCall; }
    bool SwitchCondition() const { return Item().SwitchCondition != 0; }
    void SetSwitchCondition(bool on);
    bool SwitchBoxEnabled() const { return SwitchGroupEnabled() && SwitchCondition(); }
    // "%.4d:%s" of the switch, empty when the switch does not exist.
    std::string SwitchText() const;
    // The switch picker on the stored switch; true when another switch was chosen. Names or a
    // count applied in the picker count as a change too, even when it was cancelled.
    bool ChooseSwitch();

    // The command list that edits the current event's script: it follows the current entry,
    // and its changes are the page's changes. Detached with nullptr.
    void AttachScriptList(TScriptListModel* list);
    TScriptListModel* ScriptList() const { return mScriptList; }
    // Names or counts that a picker applied (the switch box's, or a command dialog's, also one
    // that was cancelled) are a change of the page: true when they are news.
    bool NoteAppliedNames();

private:
    const TKelDataBase* mDb;
    IEventChoosers* mChoosers;
    TScriptListModel* mScriptList = nullptr;
    TConnection mScriptModified;
    TConnection mScriptChanged;
    TConnection mCurrentChanged;
    bool mNamesNoted = false;
};

// Widgets: OverEdit1 (name), ComboBox1 (trigger), GroupBox1 (the switch group), CheckBox1,
// DashBox1.
const TFieldForm& CommonEventPageForm();

}  // namespace quillon
