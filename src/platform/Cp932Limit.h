// Length limits of text counted in code page 932 bytes (what edits allow for names and titles).
#pragma once

#include <cstddef>
#include <string>

namespace quillon {

// Whether a byte starts a double-byte character of code page 932.
bool IsCp932LeadByte(unsigned char c);
// The longest start of CP932 bytes that is at most maxBytes long and does not end inside a
// double-byte character.
std::string LimitCp932Bytes(const std::string& bytes, std::size_t maxBytes);
// Characters (code points) of UTF-8 text; what file-system names are counted in.
std::size_t Utf8Length(const std::string& text);

}  // namespace quillon
