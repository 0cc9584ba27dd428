// The move route editor ("Creation of the Movement Route") without a window: the route of an
// event page (page mode) or of a "Move Character" command (command mode, which also picks the
// character that moves), built from one button per move command. The model holds the list rows
// with their end line, the target list, the options, the enabled states, the pickers asked
// through IEventChoosers, the clipboard block of format 567 and the values remembered for the
// run. TFormEDMoveRoute (ED_MoveRoute_qt) only shows it.
#pragma once

#include "events/EventChoosers.h"
#include "events/ScriptList.h"

#include "controls/FieldForm.h"
#include "platform/Signal.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class IClipboard;
class TKelEventScriptLine;

// Most commands a route holds: the command buttons refuse more.
inline constexpr int kMoveRouteLimit = 200;
inline constexpr int kMoveRoutePageHelpContext = 26;
inline constexpr int kMoveRouteCommandHelpContext = 11330;
inline constexpr std::int32_t kMinMoveFrequency = 1;
inline constexpr std::int32_t kMaxMoveFrequency = 8;

// One command button: its caption (bytes as stored; the turn captions end in the byte 0xB0, a
// degree sign) and the move command it adds.
struct TMoveCommandButton {
    const char* Caption;
    std::int32_t Code;
};
// The 42 buttons in the order they are laid out.
std::span<const TMoveCommandButton> MoveCommandButtons();

// The row of one move command in the route list.
std::string MoveRouteLineText(const TKelMoveRouteItem& item);
// The row after the last command.
inline constexpr std::string_view kMoveRouteEndLine = "<,>";

// The commands of a 567 block, read into `items` (emptied first). The whole block is refused
// (false, `items` empty) when its byte count is negative or runs past the block, it holds no
// command, a command is cut short or a code is not a move command (0 .. 41).
bool DecodeMoveCommandBlock(std::string_view block, std::vector<TKelMoveRouteItem>& items);

// "Move Character" lines and the request the editor works on. Reading takes the target,
// frequency (kept to 1 .. 8), the two flags and the route bytes (one a parameter, the low 8
// bits); false when the bytes end inside a command, which leaves the commands before it.
bool MoveRouteRequestFromLine(const TKelEventScriptLine& line, TMoveRouteRequest& request);
// Code 11330 with target, frequency, repeat, skippable and the route bytes, one a parameter.
void MoveRouteRequestToLine(const TMoveRouteRequest& request, TKelEventScriptLine& line);

// Enabled states of the route list's menu.
struct TMoveRouteMenuState {
    bool Cut = false;
    bool Copy = false;
    bool Paste = false;
    bool Delete = false;
    bool operator==(const TMoveRouteMenuState&) const = default;
};

class TMoveRouteEditorModel {
public:
    // Works on a copy of the request's route; Confirm writes it back. In command mode a Target
    // of 0 (a new command) takes the remembered target and frequency.
    TMoveRouteEditorModel(TMoveRouteRequest& request, const TEventCommandContext& context);

    // Announced after every change of rows, selection, options, target or enabled states.
    TSignal<> OnChanged;

    bool CommandMode() const { return mCommandMode; }
    int HelpContext() const { return mCommandMode ? kMoveRouteCommandHelpContext : kMoveRoutePageHelpContext; }
    // The clipboard used (nullptr: the program-wide one).
    void SetClipboard(IClipboard* clipboard) { mClipboard = clipboard; }

    // --- the "Object Character" list ---
    const std::vector<TFieldChoice>& Targets() const { return mTargets; }
    bool TargetEnabled() const { return mCommandMode; }
    int TargetIndex() const { return mTargetIndex; }
    std::int32_t Target() const;
    void SetTargetIndex(int index);

    // --- the route list: one row per command, then the end line ---
    const TKelMoveRoute& Route() const { return mRoute; }
    int RowCount() const { return static_cast<int>(mRows.size()); }
    const std::vector<std::string>& Rows() const { return mRows; }
    int Selected() const { return mSelected; }
    void Select(int row);
    bool IsEndLine(int row) const { return row == mRoute.Count(); }

    // --- buttons ---
    // Every command button (not Delete, not Clear All) while the route has room.
    bool CommandButtonsEnabled() const { return mRoute.Count() < kMoveRouteLimit; }
    // Adds the command of button `index` in front of the selected row; the switch, graphic and
    // sound commands first ask through the context's pickers (a cancel adds nothing).
    bool PressButton(int index);
    // Inserts a command in front of the selected row (at the end from the end line); the
    // selected command stays selected.
    bool Insert(const TKelMoveRouteItem& item);
    bool CanDelete() const { return mSelected >= 0 && mSelected < mRoute.Count(); }
    // Removes the selected command; the selection stays on the same row.
    bool Delete();
    bool CanClearAll() const { return mRoute.Count() > 0; }
    bool ClearAll();

    // --- options ---
    bool Repeat() const { return mRoute.Repeat != 0; }
    void SetRepeat(bool repeat);
    bool Skippable() const { return mRoute.Skippable != 0; }
    void SetSkippable(bool skippable);
    std::int32_t Frequency() const { return mFrequency; }
    void SetFrequency(std::int32_t frequency);  // kept to 1 .. 8

    // "Change Graphic..." offers this graphic next.
    const std::string& GraphicName() const { return mGraphicName; }
    std::int32_t GraphicIndex() const { return mGraphicIndex; }

    // --- the menu of the route list ---
    TMoveRouteMenuState MenuState() const;
    bool Copy();
    bool Cut();
    bool Paste();

    // Whether a picker opened from here changed the database's names.
    bool DataBaseChanged() const;

    // "&Ok": the route, options, frequency and (command mode) target into the request; command
    // mode remembers the target and the frequency.
    void Confirm();

    // Forgets what every editor remembers (tests).
    static void ForgetLastUsed();

private:
    void BuildTargets(std::int32_t wanted);
    void Rebuild();
    void Changed() const { OnChanged.Emit(); }
    IClipboard& ClipboardInUse() const;
    bool InsertAll(const std::vector<TKelMoveRouteItem>& items);

    TMoveRouteRequest& mRequest;
    TEventCommandContext mContext;
    bool mCommandMode = false;
    TKelMoveRoute mRoute;
    std::int32_t mFrequency = 3;
    std::string mGraphicName;
    std::int32_t mGraphicIndex = 0;
    std::vector<TFieldChoice> mTargets;
    int mTargetIndex = 0;
    std::vector<std::string> mRows;
    int mSelected = 0;
    IClipboard* mClipboard = nullptr;
};

}  // namespace quillon
