// The save and load screens: the fifteen save slots, three at a time under a help window, each
// with the leading hero's face, name, level and HP and the play time; a cursor over them.
// Saving may choose any slot; loading only one that holds a readable save of this game.
#pragma once

#include "runtime/GameCommandWindow.h"
#include "runtime/GameSave.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

class TGameSkin;

// What the screens know of one slot.
struct TSaveSlot {
    TSaveProblem Problem = TSaveProblem::Missing;
    std::string Message;  // why it cannot be loaded
    TSaveSummary Summary;
};

// Reads the headers of the fifteen save files of a project folder (ending in a separator); a
// file that is damaged, cut short, foreign, newer or of another game is listed as unreadable.
std::vector<TSaveSlot> ListSaveSlots(const std::string& folder, const std::string& title, std::uint32_t databaseCheck);

// The words the screens show, from the vocabulary.
struct TSaveSceneWords {
    std::string Help;   // "Choose file for a Game Save" / "... Load Game"
    std::string File;   // "File"
    std::string Level;  // the level's abbreviation
    std::string Hp;     // the HP's abbreviation
};

class TGameSaveScene {
public:
    // cursorSlot: the slot (1..15) the cursor starts on.
    TGameSaveScene(TGameSkin& skin, bool saving, TSaveSceneWords words, std::vector<TSaveSlot> slots, int cursorSlot);

    bool Saving() const { return mSaving; }
    // The slot under the cursor, 1..15.
    int Slot() const { return mCursor.Index() + 1; }
    const TSaveSlot& SlotInfo(int slot) const { return mSlots[static_cast<std::size_t>(slot - 1)]; }
    // After a save: the slot's new summary.
    void SetSlot(int slot, const TSaveSlot& info) { mSlots[static_cast<std::size_t>(slot - 1)] = info; }
    // A line shown in the help window instead of the help (a save that failed).
    void SetNotice(const std::string& text) { mNotice = text; }
    // The first slot shown (0-based).
    int TopRow() const { return mTop; }

    // One step: Moved, Decided (a slot that may be chosen), Refused (an unreadable or empty slot
    // when loading), Cancelled.
    TMenuEvent Update(const TGameInput& input);
    void Draw(TOrlenBoard& board);

    static constexpr int kHelpHeight = 32;
    static constexpr int kRowsShown = 3;

private:
    TRect RowRect(int row) const;
    void DrawSlot(TOrlenBoard& board, int slot, const TRect& rect);

    TGameSkin& mSkin;
    bool mSaving;
    TSaveSceneWords mWords;
    std::vector<TSaveSlot> mSlots;
    TMenuCursor mCursor;
    int mTop = 0;
    std::string mNotice;
    std::int64_t mStep = 0;
};

// Play time as the screens show it: hours (at least one digit), minutes and seconds.
std::string FormatPlayTime(std::int64_t frames);

}  // namespace quillon::runtime
