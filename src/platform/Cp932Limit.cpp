#include "platform/Cp932Limit.h"

#include <algorithm>

namespace quillon {

bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string LimitCp932Bytes(const std::string& bytes, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return bytes.substr(0, std::min(end, bytes.size()));
}

std::size_t Utf8Length(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

}  // namespace quillon
