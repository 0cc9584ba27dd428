// Conversion between the editor's byte text (Japanese code page 932, Shift-JIS) and UTF-8.
// Text is stored and compared as bytes everywhere; these are only for display and input.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Bytes that do not decode are replaced by U+FFFD; ASCII passes unchanged.
std::string Cp932ToUtf8(std::string_view bytes);
// Characters that code page 932 cannot hold become '?'.
std::string Utf8ToCp932(std::string_view text);

}  // namespace quillon
