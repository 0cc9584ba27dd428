// The event editor's model ("Event Editor"): one map event's name and pages, edited on the copy
// the caller hands over. It keeps the current page, the page buttons and their clipboard block
// (format 564), the start conditions with their enabling, the graphic and movement settings with
// the rules that tie them together, the Apply state, and what Ok, Apply and closing do with the
// commit and the database. The window (ED_Event_qt) binds its page controls through
// EventPageForm() and paints the preview from PreviewCell and PreviewInterval.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_Event.h"
#include "platform/Signal.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quillon {

class IClipboard;
class IEventChoosers;
class TKelDataBase;

inline constexpr int kEventEditorHelpContext = 201;
inline constexpr int kMaxEventPages = 100;
inline constexpr std::int32_t kConditionValueMin = -999999;
inline constexpr std::int32_t kConditionValueMax = 999999999;
inline constexpr std::int32_t kTimerMaxMinutes = 99;
inline constexpr std::int32_t kTimerMaxSeconds = 59;

// Page settings by their stored values.
enum : std::uint8_t { kMoveStayStill = 0, kMoveByRoute = 6 };
enum : std::uint8_t { kPriorityBelowHero = 0, kPrioritySameLevel = 1, kPriorityOverHero = 2 };
enum : std::uint8_t { kAnimWithStepping = 1, kAnimFixedDirection = 3, kAnimSpin = 5 };

// The condition bits of TKelEventCondition::Flags, in the order of the check boxes.
enum class TEventCondition { SwitchA = 0, SwitchB, Variable, Item, Hero, Timer };

// What the editor reaches outside its copy; each may be absent.
struct TEventEditorHooks {
    const TKelDataBase* DataBase = nullptr;  // item, hero, switch and variable names
    IEventChoosers* Choosers = nullptr;      // the pickers (none: nothing is chosen)
    IClipboard* Clipboard = nullptr;         // nullptr: the program-wide clipboard
    // Hands the copy to the map; false when it was not taken.
    std::function<bool(const TKelEventItem&)> Commit;
    // Writes the database file; false with the reason in `error`.
    std::function<bool(std::string& error)> SaveDataBase;
    // Reads the database file again, dropping what was not written.
    std::function<void()> ReloadDataBase;
};

// The enabled states of the page buttons.
struct TPageButtons {
    bool NewPage = false;
    bool CopyPage = false;
    bool PastePage = false;
    bool DeletePage = false;
    bool operator==(const TPageButtons&) const = default;
};

// The cell of the character block the preview shows: column 0..2 (x 24), row 0..3 (x 32).
struct TPreviewCell {
    int Column = 1;
    int Row = 2;
    bool operator==(const TPreviewCell&) const = default;
};

// The preview's cell for a page's pattern, direction and animation type at a counter value:
// stepping types (1, 3) walk the columns middle, left, middle, right; the spin (5) turns the rows
// up, right, down, left.
TPreviewCell PreviewCell(int pattern, int direction, int animationType, int counter);
// Milliseconds between preview frames at a movement speed (1..6), for the spin or any other type.
int PreviewInterval(int speed, bool spin);

// The 564 block of one page: 32-bit byte count, 32-bit record count 1, the page record.
std::string EncodePageClipboard(TKelEventPageItem& page);
// Reads a 564 block into `page` (a detached page, reset first). False, and `page` reset, when the
// block is damaged or of another shape: not exactly one record, a record that does not read whole,
// a damaged script or route, or bytes after the record.
bool DecodePageClipboard(const std::string& block, TKelEventPageItem& page);

class TEventEditorModel {
public:
    // Works on `event`, which must outlive the model. An event without pages gets page 1; pages
    // not numbered 1, 2, 3 ... are numbered so in their order. Apply starts as given (enabled for
    // a new event).
    TEventEditorModel(TKelEventItem& event, std::int32_t eventId, bool applyEnabled, TEventEditorHooks hooks = {});

    TKelEventItem& Event() { return mEvent; }
    const TKelEventItem& Event() const { return mEvent; }
    std::int32_t EventId() const { return mEventId; }
    const TEventEditorHooks& Hooks() const { return mHooks; }
    // " - ID:%.4d" after the caption.
    std::string Caption() const;

    // Announced after every change of the page count or the current page (tabs follow).
    TSignal<> OnPagesChanged;
    // Announced after every change of a value the window shows (controls follow), and when the
    // clipboard changed ("Paste Page" follows).
    TSignal<> OnChanged;
    // Announced when the graphic changed: the preview reloads its picture.
    TSignal<> OnGraphicChanged;
    // Announced when the command list's texts are to be rendered again (the event's name changed).
    TSignal<> OnRenderScript;

    // --- pages ---
    // The pages shown as tabs: those numbered 1, 2, 3 ..., at most 100.
    int PageCount() const;
    int CurrentIndex() const { return mCurrent; }
    TKelEventPageItem& CurrentPage();
    const TKelEventPageItem& CurrentPage() const;
    // Selects a tab (ignored outside the tabs).
    void SelectPage(int index);
    TPageButtons PageButtons() const;
    bool NewPage();
    bool CopyPage();
    bool PastePage();
    bool DeletePage();
    // Ctrl+Tab and Shift+Ctrl+Tab: the next or previous page, wrapping; nothing under two pages.
    bool NextPage();
    bool PreviousPage();

    // --- conditions ---
    bool ConditionOn(TEventCondition condition) const;
    void SetConditionOn(TEventCondition condition, bool on);
    std::string SwitchAText() const;
    std::string SwitchBText() const;
    std::string VariableText() const;
    bool ChooseSwitchA();
    bool ChooseSwitchB();
    bool ChooseVariable();
    std::int32_t VariableValue() const;
    void SetVariableValue(std::int32_t value);
    // The lists hold every item (hero) of the database; a stored ID that is not among them shows
    // the first entry without being written.
    std::vector<TFieldChoice> ItemChoices() const;
    std::vector<TFieldChoice> HeroChoices() const;
    std::int32_t ShownItemId() const;
    std::int32_t ShownHeroId() const;
    void SetItemId(std::int32_t id);
    void SetHeroId(std::int32_t id);
    std::int32_t TimerMinutes() const;
    std::int32_t TimerSeconds() const;
    void SetTimerMinutes(std::int32_t minutes);
    void SetTimerSeconds(std::int32_t seconds);

    // --- graphic and movement ---
    // "Select Graphic" on the page's graphic; on OK the four values, then the priority and
    // animation rules of a switch between tile and character.
    bool ChooseGraphic();
    bool ShowsCharacter() const { return !CurrentPage().GraphicName.empty(); }
    bool Transparent() const { return CurrentPage().Transparent != 0; }
    void SetTransparent(bool on);
    std::int32_t MoveType() const { return CurrentPage().MoveType; }
    void SetMoveType(std::int32_t type);
    // Frequency and speed as list indexes (value - 1).
    std::int32_t FrequencyIndex() const;
    void SetFrequencyIndex(std::int32_t index);
    // "Edit Route..." (only "By Its Route"): the route editor on a copy of the page's route.
    bool EditRoute();
    std::int32_t Trigger() const { return CurrentPage().Trigger; }
    void SetTrigger(std::int32_t trigger);
    std::int32_t Priority() const { return CurrentPage().Priority; }
    void SetPriority(std::int32_t priority);
    bool NoOverlap() const { return CurrentPage().NoOverlap != 0; }
    void SetNoOverlap(bool on);
    std::int32_t AnimationType() const { return CurrentPage().AnimationType; }
    void SetAnimationType(std::int32_t type);
    std::int32_t SpeedIndex() const;
    void SetSpeedIndex(std::int32_t index);

    // --- name ---
    const std::string& Name() const { return mEvent.Name; }
    void SetName(const std::string& name);
    // The name box lost the focus: after a change the command list is rendered again.
    void NameEditingFinished();
    bool NameEdited() const { return mNameEdited; }

    // --- the script ---
    // The command list changed the page's script.
    void ScriptModified() { Edited(); }
    // A command dialog or picker may have changed the database's names: asks the pickers.
    // "Switch A", "Switch B" or "Variable" of the conditions through its picker.
    bool PickConditionId(TEventCondition condition, std::int32_t& field, bool variable);
    void NoteDataBaseChange();
    // A command dialog reported that it changed the database.
    void MarkDataBaseChanged() { mDataBaseChanged = true; }
    bool DataBaseChanged() const { return mDataBaseChanged; }

    // --- preview ---
    int PreviewCounter() const { return mPreviewCounter; }
    void PreviewTick() { ++mPreviewCounter; }
    TPreviewCell CurrentPreviewCell() const;
    int CurrentPreviewInterval() const;

    // --- committing ---
    bool ApplyEnabled() const { return mApplyEnabled; }
    // "&Ok": commit, then save the database when it changed. False (the dialog stays open) when
    // the commit was refused or the save failed; `error` then holds what to tell the user.
    bool Ok(std::string& error);
    // "&Apply": the same without closing; Apply is disabled after a commit.
    bool Apply(std::string& error);
    // Cancel or closing: a database changed since the last commit is read again.
    void Close();

private:
    bool Commit(std::string& error);
    void Edited();
    void Changed() const;
    void NormalizePages();
    // Inserts a page after the current one (the later pages move up) and selects it.
    TKelEventPageItem& InsertPageAfterCurrent();
    void SetFlag(std::uint8_t& field, bool on);
    IClipboard& ClipboardInUse() const;
    std::string SwitchText(std::int32_t id) const;

    TKelEventItem& mEvent;
    std::int32_t mEventId;
    TEventEditorHooks mHooks;
    int mCurrent = 0;
    bool mApplyEnabled;
    bool mDataBaseChanged = false;
    bool mNameEdited = false;
    int mPreviewCounter = 0;
    TConnection mClipboardWatch;
};

// The page controls and the name box, described once over the model: object names, labels,
// values, ranges and enabling. The window binds them with TFieldBinder.
const TFieldForm& EventPageForm();

}  // namespace quillon
