// The event command dialogs described once. A command's dialog edits a TCommandRecord (the
// parameters and text of the command's line, plus the texts and extra parameters of the commands
// made of several lines); its TCommandForm lists the fields over that record (the dialog
// foundation's field form), how many parameters the line carries and, for block commands, the
// companion lines and bodies that follow it. One engine (TCommandDialogModel) loads a command's
// lines into the record, keeps the bodies of a block by their companion line, remembers the
// settings of the last OK, and writes the lines back; the dialog window, the command-line tool
// and the tests all run it.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_Event.h"
#include "events/EventChoosers.h"
#include "events/ScriptList.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quillon {

// What a command dialog edits.
struct TCommandRecord {
    std::int32_t Code = 0;
    // The parameters of the command's line; reading past the end gives 0.
    std::vector<std::int32_t> P;
    std::string Text;  // the line's text (file name, label ...)
    // The lines of a text command (message, comment: the first line's text and its continuation
    // lines) or the choice texts of "Show Choices" (four).
    std::vector<std::string> Lines;
    // Parameters after the fixed ones: the goods of a shop, the route bytes of "Move Character".
    std::vector<std::int32_t> Tail;
    // Where lists, names and pickers come from. Never remembered with the settings.
    const TEventCommandContext* Context = nullptr;

    std::int32_t Param(std::size_t index) const { return index < P.size() ? P[index] : 0; }
    void SetParam(std::size_t index, std::int32_t value) {
        if (index >= P.size())
            P.resize(index + 1, 0);
        P[index] = value;
    }
};

// Which kept body a part of a block takes: the line the body follows (the command's own code for
// the body right after the command's line, else the companion code) and, for the cases of
// "Show Choices", the choice index the 20140 line carries (4 for the cancel case).
struct TBodyKey {
    std::int32_t Code = 0;
    std::int32_t Index = 0;
    auto operator<=>(const TBodyKey&) const = default;
};

// One part of a block after the command's line: a companion line at the command's depth, and/or
// the body that follows it one level deeper.
struct TBlockPart {
    std::int32_t Code = 0;  // the companion line's code; 0: no line (the body right after the command)
    std::string Text;
    std::vector<std::int32_t> Params;  // the companion line's parameters (20140: the choice index)
    bool Body = false;                 // a body follows
    TBodyKey Key;                      // the kept body it takes (an empty body when none is kept)
};

struct TCommandForm {
    std::int32_t Code = 0;
    TFieldForm Fields;           // over TCommandRecord
    std::int32_t ParamCount = 0; // parameters of the command's line (without a tail)
    // The parameters written, when they are not P[0 .. ParamCount) (a shop's goods, a route).
    std::function<std::vector<std::int32_t>(const TCommandRecord&)> WrittenParams;
    // The parts after the command's line; empty for a command of one line.
    std::function<std::vector<TBlockPart>(const TCommandRecord&)> Block;
    // Text commands: the code of the continuation lines (20110, 22410) and the most lines kept.
    std::int32_t TextLineCode = 0;
    std::size_t MaxTextLines = 0;
    // A new command's settings before anything was remembered (P is already ParamCount zeros).
    std::function<void(TCommandRecord&)> Defaults;
    // Reading of its own after the standard load (the choices from their 20140 lines ...).
    std::function<void(TCommandRecord&, const TKelEventScriptList&)> AfterLoad;
    // Preparation of its own before the lines are written (the joined choices ...).
    std::function<void(TCommandRecord&)> BeforeWrite;
    // Why OK cannot write the record now (empty: it can).
    std::function<std::string(const TCommandRecord&)> Refusal;
    // The help topic; the command code when 0.
    int HelpContext = 0;
};

// The lists a field can take its entries from (ID order, "%.4d:%s").
enum class TEntryList {
    Hero, Skill, Item, Troop, Condition, Animation, ChipSet, CommonEvent, Terrain, Switch, Variable,
};

// The entries of a list in the context's database (nothing without a database).
std::vector<TFieldChoice> EntryChoices(TEntryList list, const TEventCommandContext* context);
// "Hero", "Boat", "Ship", "Airship", "this Event" (10001 .. 10005; "this Event" only when asked
// for), then the map's events by name in ID order, the edited event by the name being typed.
// A wanted ID that is not among them (a deleted event) gets a row "%.4d:?" of its own.
std::vector<TFieldChoice> CharacterChoices(const TEventCommandContext* context, bool thisEvent,
                                           std::int32_t wanted);
// The members of the context's troop (0-based indices), " Whole Group " (-1) first when asked for.
std::vector<TFieldChoice> EnemyChoices(const TEventCommandContext* context, bool wholeGroup);

// Builds a command's description: each field names its parameter. The composite fields (who,
// amount, position, time and wait ...) add several fields at once, named from a common prefix,
// each enabled by the composite's kind parameter where it has one.
//
// Keys (the names the command-line tool sets values by): a field without a key of its own is
// named after what it edits, "p0", "p1" ... for a parameter and "text" for the line's text;
// where several fields edit one parameter, the first takes "p<N>" and each later one its widget
// name. Key("k") names the field added last "k"; after a composite it names the composite's
// first field "k" and the others "k-" plus their part ("amount-value", "amount-variable").
class TCommandFormBuilder {
public:
    TCommandFormBuilder(TCommandCode code, std::int32_t paramCount) {
        mForm.Code = ToInt(code);
        mForm.ParamCount = paramCount;
    }

    // One of several buttons (captions with mnemonics); the buttons are named prefix + "0", "1" ...
    TCommandFormBuilder& Radio(std::string widget, std::string label, std::size_t param,
                               std::vector<std::string> captions);
    // One of a list of captions.
    TCommandFormBuilder& List(std::string widget, std::string label, std::size_t param,
                              std::vector<std::string> captions);
    TCommandFormBuilder& Spin(std::string widget, std::string label, std::size_t param, std::int32_t min,
                              std::int32_t max);
    TCommandFormBuilder& Check(std::string widget, std::string label, std::size_t param);
    TCommandFormBuilder& Switch(std::string widget, std::string label, std::size_t param);
    TCommandFormBuilder& Variable(std::string widget, std::string label, std::size_t param);
    // An ID of a database list.
    TCommandFormBuilder& Entry(TEntryList list, std::string widget, std::string label, std::size_t param);
    // A character ID (CharacterChoices).
    TCommandFormBuilder& Character(std::string widget, std::string label, std::size_t param,
                                   bool thisEvent = true);
    // A member of the troop, by 0-based index.
    TCommandFormBuilder& Enemy(std::string widget, std::string label, std::size_t param, bool wholeGroup = false);
    // The file name in the line's text, chosen with the selector of `kind`; `index` (optional
    // parameter, -1 for none) takes the cell of walk and face graphics.
    TCommandFormBuilder& Resource(std::string widget, std::string label, TSelKind kind, int indexParam = -1);
    // Map, X and Y, chosen with the place picker.
    TCommandFormBuilder& Place(std::string widget, std::string label, std::size_t mapParam, std::size_t xParam,
                               std::size_t yParam);
    // A value in a box of its own that only follows enabling (a group box's title ...).
    TCommandFormBuilder& Group(std::string widget, std::string label);

    // Composite fields:
    // "All Party Members" / a hero / a hero by variable: kind in `kindParam`, ID in `idParam`.
    TCommandFormBuilder& Who(const std::string& prefix, std::size_t kindParam, std::size_t idParam);
    // A constant or a variable's value: kind in `kindParam` (0 constant, 1 variable), value in
    // `valueParam` (the constant from min to max, or the variable ID).
    TCommandFormBuilder& Amount(const std::string& prefix, std::size_t kindParam, std::size_t valueParam,
                                std::int32_t min, std::int32_t max);
    // A cell given directly or by two variables: kind in `kindParam`, X and Y in the two params.
    TCommandFormBuilder& Position(const std::string& prefix, std::size_t kindParam, std::size_t xParam,
                                  std::size_t yParam, std::int32_t max);
    // A time in tenths of a second (0 .. maxTenths) and "Wait Until Done".
    TCommandFormBuilder& TimeWait(const std::string& prefix, std::size_t timeParam, std::size_t waitParam,
                                  std::int32_t maxTenths);
    // Red, green, blue (and chroma when `chromaParam` >= 0), each 0 .. max.
    TCommandFormBuilder& Colour(const std::string& prefix, std::size_t redParam, int chromaParam, std::int32_t max);

    // --- what the last field added allows (after a composite: each of its fields) ---
    // Enabling rules add up: a field is enabled while every rule given to it holds.
    TCommandFormBuilder& EnabledWhen(std::function<bool(const TCommandRecord&)> rule);
    // Enabled while parameter `param` equals one of `values`.
    TCommandFormBuilder& When(std::size_t param, std::vector<std::int32_t> values);
    TCommandFormBuilder& ChoiceEnabledWhen(std::function<bool(const TCommandRecord&, int choice)> rule);
    TCommandFormBuilder& Key(std::string key);
    // The last field (one field of a parameter) takes `follow` along when the user picks another
    // value: the value is written, then `follow` sets the parameters that depend on it.
    TCommandFormBuilder& Follows(void (*follow)(TCommandRecord&, std::int32_t));
    // The parameter's value in a new command (after a composite: each of its value parameters,
    // not its kind).
    TCommandFormBuilder& Default(std::int32_t value);

    // The rest of the description.
    TCommandFormBuilder& Written(std::function<std::vector<std::int32_t>(const TCommandRecord&)> params);
    TCommandFormBuilder& Blocks(std::function<std::vector<TBlockPart>(const TCommandRecord&)> block);
    TCommandFormBuilder& TextLines(TCommandCode continuationCode, std::size_t maxLines);
    TCommandFormBuilder& Defaults(std::function<void(TCommandRecord&)> defaults);
    TCommandFormBuilder& AfterLoad(std::function<void(TCommandRecord&, const TKelEventScriptList&)> load);
    TCommandFormBuilder& BeforeWrite(std::function<void(TCommandRecord&)> prepare);
    TCommandFormBuilder& Refusal(std::function<std::string(const TCommandRecord&)> refusal);
    TCommandFormBuilder& Help(int context);

    // The underlying field form builder, for a field the shortcuts above do not cover.
    TFieldFormBuilder<TCommandRecord>& Fields() { return mFields; }

    TCommandForm Build();

private:
    struct TRules;  // the enabling rules of one field
    // What the builder knows of a field it added.
    struct TAdded {
        std::size_t Index = 0;  // in the field form
        int Param = -1;         // the parameter it edits; -1 the text, -2 nothing
        std::string Part;       // its part of a composite ("" for the first or a single field)
        std::string Key;        // given with Key()
        std::shared_ptr<TRules> Rules;
    };
    TCommandFormBuilder& Start();  // a new field or composite begins
    TCommandFormBuilder& Added(int param, std::string part = {}, bool valueParam = true);
    std::vector<TAdded*> LastAdded();

    TCommandForm mForm;
    TFieldFormBuilder<TCommandRecord> mFields;
    std::vector<std::pair<std::size_t, std::int32_t>> mDefaults;
    std::vector<std::size_t> mLastParams;  // the parameters of the fields added last
    std::vector<TAdded> mAdded;
    std::size_t mLastFirst = 0;  // the first of mAdded that belongs to the fields added last
};

// Every command that has a form of its own, by code order.
std::span<const TCommandForm> CommandForms();
// The form of a code; nullptr for a code without one (built without a dialog, through a selector
// only, or a companion line).
const TCommandForm* FindCommandForm(std::int32_t code);

// The dialog of one command, without a window.
class TCommandDialogModel {
public:
    // Starts with the remembered settings of the last OK (or the defaults).
    TCommandDialogModel(const TCommandForm& form, const TEventCommandContext& context);
    TCommandDialogModel(const TCommandDialogModel&) = delete;  // the binding holds the record
    TCommandDialogModel& operator=(const TCommandDialogModel&) = delete;

    const TCommandForm& Form() const { return *mForm; }
    TCommandRecord& Record() { return mRecord; }
    const TCommandRecord& Record() const { return mRecord; }
    TFieldBinding& Binding() { return *mBinding; }

    // The remembered settings of the last OK (or the defaults), then, when `lines` is not empty,
    // the edited command: its first line's parameters and text as stored (values out of a
    // field's range stay until the user edits them), and its bodies kept by key.
    void Load(const TKelEventScriptList& lines);
    // The body kept under a key (indents relative to the body), nullptr when none.
    const std::vector<TKelEventScriptLine>* Body(const TBodyKey& key) const;
    // Bodies holding commands that the current settings would drop (OK asks first).
    std::vector<TBodyKey> LostBodies() const;
    // Why OK cannot write now; empty when it can.
    std::string Refusal() const;
    // OK: remembers the settings for the next dialog of this code and writes the command's lines,
    // indents relative to 0, into `result` (emptied first).
    void Write(TKelEventScriptList& result);

    // Forgets every remembered setting.
    static void ForgetRemembered();

private:
    // The remembered settings of the form's code, or its defaults.
    TCommandRecord Initial() const;

    const TCommandForm* mForm;
    TEventCommandContext mContext;
    TCommandRecord mRecord;
    std::unique_ptr<TFieldBinding> mBinding;
    std::map<TBodyKey, std::vector<TKelEventScriptLine>> mBodies;  // indents relative to the body (0)
};

// The lines of a command as its dialog's OK would write them without changes from the user: the
// remembered or default settings, or the command in `result` when it holds one on entry (its
// bodies kept), with the values given by key ("key=value", checked against each field's range).
// A command built without a form takes no values; one edited through a selector takes the
// selector's settings (BuildSelectorCommand). `result` holds the new lines on return; false
// with the reason in `error` (`result` unchanged).
bool BuildCommandLines(std::int32_t code, const std::vector<std::pair<std::string, std::string>>& values,
                       const TEventCommandContext& context, TKelEventScriptList& result, std::string& error);

}  // namespace quillon
