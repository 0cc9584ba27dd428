// A window with a list of commands to choose from (the title's "New Game", "Continue", "Shutdown",
// the game's menus): enabled and disabled items, a cursor moved by the arrow keys with key repeat,
// decide and cancel. TMenuCursor is the cursor's movement alone, shared with the message window's
// choices.
#pragma once

#include "graphics/GraphicsTypes.h"
#include "runtime/GameInput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

class TGameSkin;

// What one step of a menu did; the caller plays the matching sound.
enum class TMenuEvent { None, Moved, Decided, Refused, Cancelled };

// A cursor over count items laid out in rows of columns. Up and down move a row, left and right an
// item (with more than one column); a fresh press wraps round at the ends, a held key's repeat
// stops there.
class TMenuCursor {
public:
    TMenuCursor(int count, int columns) : mCount(count < 0 ? 0 : count), mColumns(columns < 1 ? 1 : columns) {}
    int Index() const { return mIndex; }
    void SetIndex(int index);
    int Count() const { return mCount; }
    int Columns() const { return mColumns; }
    // Moves by the arrows of the step; answers whether the index changed.
    bool Move(const TGameInput& input);

private:
    int mCount;
    int mColumns;
    int mIndex = 0;
};

class TGameCommandWindow {
public:
    // The commands (code page 932 text), the window's width (0: as wide as the longest command
    // needs) and the number of columns.
    TGameCommandWindow(TGameSkin& skin, std::vector<std::string> commands, int width = 0, int columns = 1);

    void SetEnabled(int index, bool enabled);
    bool Enabled(int index) const;
    // Whether cancel answers Cancelled (true by default).
    void SetCancelAllowed(bool allowed) { mCancelAllowed = allowed; }
    void SetPosition(int x, int y);
    // Centres the window horizontally at y.
    void CentreAt(int screenWidth, int y);
    TRect Rect() const;
    int Index() const { return mCursor.Index(); }
    void SetIndex(int index) { mCursor.SetIndex(index); }
    // Background opacity 0..255.
    void SetOpacity(int opacity) { mOpacity = opacity; }

    // One step: moves the cursor; decide on an enabled command answers Decided, on a disabled one
    // Refused; cancel answers Cancelled when allowed.
    TMenuEvent Update(const TGameInput& input);
    void Draw(TOrlenBoard& board);

    // The layout: each command's line is 16 pixels high, the text 12 high inside it; the window has
    // a border of 8 pixels and the cursor's rectangle reaches 4 pixels round the text.
    static constexpr int kLineHeight = 16;
    static constexpr int kBorder = 8;

private:
    TRect ItemRect(int index) const;

    TGameSkin& mSkin;
    std::vector<std::string> mCommands;
    std::vector<bool> mEnabled;
    TMenuCursor mCursor;
    int mWidth;
    int mX = 0;
    int mY = 0;
    int mOpacity = 255;
    bool mCancelAllowed = true;
    std::int64_t mStep = 0;
};

}  // namespace quillon::runtime
