// Whole numbers typed as text (command-line arguments, key=value settings): an optional sign
// and decimal digits, nothing around them, within a range. One reader for every such place.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace quillon {

// The number `text` spells when it lies in [low, high]; nothing for an empty text, other
// characters, a value out of range or one past 64 bits.
std::optional<std::int64_t> ReadNumber(std::string_view text, std::int64_t low, std::int64_t high);

// ReadNumber within the 32-bit range given.
std::optional<std::int32_t> ReadNumber32(std::string_view text, std::int32_t low = INT32_MIN,
                                         std::int32_t high = INT32_MAX);

// ReadNumber into `value` (of an integer type, within its range and [low, high]); false, with
// `value` untouched, when the text is no such number.
template <typename T>
bool ReadNumberTo(std::string_view text, T& value, std::int64_t low = std::numeric_limits<T>::min(),
                  std::int64_t high = std::numeric_limits<T>::max()) {
    const std::optional<std::int64_t> read = ReadNumber(text, low, high);
    if (!read)
        return false;
    value = static_cast<T>(*read);
    return true;
}

}  // namespace quillon
