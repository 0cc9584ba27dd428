// The character-set cache: character-set images by file name (letter case ignored), each in a
// 288 x 256 image sheet. A map fills it with the graphics of its event pages and draws its event
// icons from it.
#pragma once

#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"

#include <memory>
#include <string>
#include <vector>

namespace quillon {

inline constexpr int kCharSetWidth = 288;
inline constexpr int kCharSetHeight = 256;
inline constexpr int kCharWidth = 24;   // one pattern of one character
inline constexpr int kCharHeight = 32;

// Top-left pixel of character `index`'s frame (pattern 0..2, direction 0 up, 1 right, 2 down,
// 3 left) in a character-set image.
TPoint CharFrameOrigin(int index, int pattern, int direction);

class TKelCharSetGraphic {
public:
    // A cache holding fewer names than this is never trimmed.
    static constexpr int kKeepCount = 20;

    explicit TKelCharSetGraphic(TImageFinder find = {}) : mFind(std::move(find)) {}
    TKelCharSetGraphic(const TKelCharSetGraphic&) = delete;
    TKelCharSetGraphic& operator=(const TKelCharSetGraphic&) = delete;

    int Count() const { return static_cast<int>(mNames.size()); }
    const std::vector<std::string>& Names() const { return mNames; }
    bool InUse(int index) const { return mInUse.at(static_cast<std::size_t>(index)); }

    void Clear();
    // Marks every entry unused.
    void BeginUse();
    // The index of a name, marked in use; a new name is loaded from the "CharSet" folder
    // (load errors are raised outside the editor mode, the entry then stays with a blank sheet).
    int Load(const std::string& name);
    // Drops unused entries from the front while 20 or more names are cached; the last entry stays.
    void EndUse();
    int IndexOf(const std::string& name) const;
    // Null for an index outside the cache.
    TOrlenSheet* SheetAt(int index);

private:
    TImageFinder mFind;
    std::vector<std::string> mNames;
    std::vector<std::unique_ptr<TOrlenSheet>> mSheets;
    std::vector<bool> mInUse;
};

}  // namespace quillon
