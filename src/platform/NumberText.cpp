#include "platform/NumberText.h"

#include <charconv>

namespace quillon {

std::optional<std::int64_t> ReadNumber(std::string_view text, std::int64_t low, std::int64_t high) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-')
            return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || end != last || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ReadNumber32(std::string_view text, std::int32_t low, std::int32_t high) {
    const std::optional<std::int64_t> value = ReadNumber(text, low, high);
    if (!value)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

}  // namespace quillon
