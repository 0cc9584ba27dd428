// What the skill and item pages share without a window: a page over records with condition and
// attribute marks, a battle animation chosen by its list position and an "ON Switch" chosen in
// the switch picker.
#pragma once

#include "database/EntryPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;
class TKelAnimationItem;

// TItem has the marks of TKelMarkedItem and the members AnimationId and SwitchId.
template <class TItem>
class TMarkedPageModel : public TEntryPageModel<TItem> {
public:
    // choosers: the switch picker and the sound selector (none: nothing is chosen).
    TMarkedPageModel(const TDataBaseContext& context, int tab, TCatalogOf<TItem>& list, IEventChoosers* choosers)
        : TEntryPageModel<TItem>(context, tab, list), mChoosers(choosers) {}

    // "Battle Animation": the animations by position; the stored ID while it names one, else 1
    // (shown, not stored).
    std::vector<TFieldChoice> AnimationChoices() const;
    std::int32_t AnimationShown() const;
    void SetAnimation(std::int32_t id);
    // The animation the preview shows (nullptr for none).
    const TKelAnimationItem* PreviewAnimation() const;

    // The condition and attribute marks, one per condition / attribute of the database. An
    // array shorter than its list is made as long first, keeping every mark shown.
    std::vector<std::string> ConditionNames() const;
    std::vector<std::string> AttributeNames() const;
    std::vector<bool> ConditionMarks() const;
    std::vector<bool> AttributeMarks() const;
    bool SetConditionMark(std::int32_t id, bool on) { return SetMark(true, id, on); }
    bool SetAttributeMark(std::int32_t id, bool on) { return SetMark(false, id, on); }

    // "ON Switch": the switch's display text (nothing for a switch that does not exist), and
    // the picker; names applied in the picker count as a change too.
    std::string SwitchText() const;
    bool ChooseSwitch();

protected:
    IEventChoosers* Choosers() const { return mChoosers; }

private:
    bool SetMark(bool condition, std::int32_t id, bool on);
    bool NoteAppliedNames();

    IEventChoosers* mChoosers;
    bool mNamesNoted = false;
};

// A check box field over a byte member of the current record.
template <class M, class R>
void CheckField(TFieldFormBuilder<M>& form, const char* widget, const char* label, std::uint8_t R::*member,
                const char* key) {
    ItemField(form, TFieldKind::Check, widget, label, member).Key(key);
}

}  // namespace quillon
