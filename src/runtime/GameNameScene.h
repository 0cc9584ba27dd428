// "Enter Hero Name": the hero's face, the name as it grows, and a grid of characters to pick from
// (a page of letters and a page of symbols; the command says which one shows first). Decide adds
// the character under the cursor, cancel takes the last one back, the grid's last cells switch the
// page and finish. TNameEntry is the name's rules: a hero's name holds at most as many code page
// 932 bytes as the hero record allows, a two-byte character counting two.
#pragma once

#include "runtime/GameOverlay.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::runtime {

class TNameEntry {
public:
    // The initial name is cut at the last whole character within the limit.
    TNameEntry(std::string_view initial, int maxBytes);
    // Appends a character (one or two bytes); false when it would pass the limit.
    bool Add(std::string_view character);
    // Takes the last character back; false when the name is empty.
    bool Erase();
    const std::string& Name() const { return mName; }
    int MaxBytes() const { return mMaxBytes; }

private:
    std::string mName;
    int mMaxBytes;
};

// The name entry's pages: 0 letters and digits, 1 symbols.
const std::vector<std::string>& NamePage(int page);

class TGameNameScene : public TGameOverlay {
public:
    // mode: the page shown first (0 letters, 1 symbols); showInitial: the entry starts with the
    // hero's present name (else empty).
    TGameNameScene(TGameSession& session, std::int32_t heroId, int mode, bool showInitial);

    void Update(const TGameInput& input) override;
    void Draw(TOrlenBoard& screen) override;
    bool Done() const override { return mDone; }
    const char* SceneName() const override { return "name"; }

    static constexpr int kColumns = 10;
    static constexpr TRect kNameRect{0, 0, 320, 80};
    static constexpr TRect kGridRect{0, 80, 320, 240};

private:
    int CellCount() const;
    TRect CellRect(int index) const;
    std::string CellText(int index) const;

    TGameSession& mSession;
    std::int32_t mHeroId;
    int mPage;
    TNameEntry mEntry;
    TMenuCursor mCursor;
    bool mDone = false;
    std::int64_t mStep = 0;
};

}  // namespace quillon::runtime
