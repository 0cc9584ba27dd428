#include "controls/FormMemory.h"

#include "platform/ProfileFile.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

constexpr std::size_t kHexLength = 88;

void PutInt32(std::string& out, std::int32_t value) {
    static const char kHex[] = "0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte) {
        const unsigned b = (bits >> (8 * byte)) & 0xFFu;
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The eleven integers of a stored value; false when it is not 88 hex digits.
bool ReadValues(const std::string& hex, std::int32_t (&values)[11]) {
    if (hex.size() != kHexLength)
        return false;
    for (int v = 0; v < 11; ++v) {
        std::uint32_t bits = 0;
        for (int byte = 0; byte < 4; ++byte) {
            const int high = HexDigit(hex[v * 8 + byte * 2]);
            const int low = HexDigit(hex[v * 8 + byte * 2 + 1]);
            if (high < 0 || low < 0)
                return false;
            bits |= static_cast<std::uint32_t>(high * 16 + low) << (8 * byte);
        }
        values[v] = static_cast<std::int32_t>(bits);
    }
    return values[0] == 44;
}

}  // namespace

std::string PlacementToHex(const TRect& normal, bool maximized) {
    std::string hex;
    hex.reserve(kHexLength);
    PutInt32(hex, 44);
    PutInt32(hex, 0);
    PutInt32(hex, maximized ? 3 : 1);
    for (int i = 0; i < 4; ++i)
        PutInt32(hex, -1);
    PutInt32(hex, normal.Left);
    PutInt32(hex, normal.Top);
    PutInt32(hex, normal.Right);
    PutInt32(hex, normal.Bottom);
    return hex;
}

std::optional<TRect> PlacementFromHex(const std::string& hex) {
    std::int32_t values[11];
    if (!ReadValues(hex, values))
        return std::nullopt;
    const std::int64_t left = values[7], top = values[8], right = values[9], bottom = values[10];
    if (right <= left || bottom <= top || right - left > 1'000'000 || bottom - top > 1'000'000)
        return std::nullopt;
    return TRect{values[7], values[8], values[9], values[10]};
}

bool PlacementMaximized(const std::string& hex) {
    std::int32_t values[11];
    return ReadValues(hex, values) && values[2] == 3;
}

TRect ClampToScreen(TRect window, const TRect& screen, int minWidth, int minHeight) {
    const int width = std::min(std::max(window.Width(), minWidth), std::max(screen.Width(), 1));
    const int height = std::min(std::max(window.Height(), minHeight), std::max(screen.Height(), 1));
    const int left = std::clamp(window.Left, screen.Left, std::max(screen.Left, screen.Right - width));
    const int top = std::clamp(window.Top, screen.Top, std::max(screen.Top, screen.Bottom - height));
    return MakeBounds(left, top, width, height);
}

std::string PlacementValueName(const std::string& formName) { return formName + "_Placement"; }

void StoreFormPlacement(TProfileFile& store, const std::string& formName, const TRect& normal, bool maximized) {
    store.WriteString("", PlacementValueName(formName), PlacementToHex(normal, maximized));
}

std::optional<TRect> StoredFormPlacement(const TProfileFile& store, const std::string& formName, const TRect& screen,
                                         int minWidth, int minHeight) {
    const auto rect = PlacementFromHex(store.ReadString("", PlacementValueName(formName), ""));
    if (!rect)
        return std::nullopt;
    return ClampToScreen(*rect, screen, minWidth, minHeight);
}

}  // namespace quillon
