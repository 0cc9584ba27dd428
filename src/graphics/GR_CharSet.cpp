#include "graphics/GR_CharSet.h"

#include "data/EditorMode.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

bool SameNameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

TPoint CharFrameOrigin(int index, int pattern, int direction) {
    // Values from a file may be anything: far outside the image is all the same, without overflow.
    const auto clampToImage = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -65536, 65536)); };
    return TPoint{clampToImage(std::int64_t{index % 4} * 72 + std::int64_t{pattern} * kCharWidth),
                  clampToImage(std::int64_t{index / 4} * 128 + std::int64_t{direction} * kCharHeight)};
}

void TKelCharSetGraphic::Clear() {
    mNames.clear();
    mSheets.clear();
    mInUse.clear();
}

void TKelCharSetGraphic::BeginUse() {
    for (std::size_t i = 0; i < mInUse.size(); ++i)
        mInUse[i] = false;
}

int TKelCharSetGraphic::IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < mNames.size(); ++i)
        if (SameNameNoCase(mNames[i], name))
            return static_cast<int>(i);
    return -1;
}

int TKelCharSetGraphic::Load(const std::string& name) {
    const int found = IndexOf(name);
    if (found >= 0) {
        mInUse[static_cast<std::size_t>(found)] = true;
        return found;
    }
    auto sheet = std::make_unique<TOrlenSheet>();
    sheet->SetSize(kCharSetWidth, kCharSetHeight);
    TOrlenSheet& added = *sheet;
    mNames.push_back(name);
    mInUse.push_back(true);
    mSheets.push_back(std::move(sheet));
    LoadSheetResource(added, mFind, "CharSet", name, !EditorMode());
    return Count() - 1;
}

void TKelCharSetGraphic::EndUse() {
    std::size_t i = 0;
    while (i + 1 < mNames.size()) {
        if (mInUse[i]) {
            ++i;
            continue;
        }
        if (mNames.size() < static_cast<std::size_t>(kKeepCount))
            break;
        mNames.erase(mNames.begin() + static_cast<std::ptrdiff_t>(i));
        mSheets.erase(mSheets.begin() + static_cast<std::ptrdiff_t>(i));
        mInUse.erase(mInUse.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

TOrlenSheet* TKelCharSetGraphic::SheetAt(int index) {
    if (index < 0 || index >= Count())
        return nullptr;
    return mSheets[static_cast<std::size_t>(index)].get();
}

}  // namespace quillon
