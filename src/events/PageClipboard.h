// The clipboard block of one page (an event page, a battle event page): the payload's size, the
// count 1, then the page as the file stores it.
#pragma once

#include "data/StreamUtils.h"

#include <cstdint>
#include <exception>
#include <string>

namespace quillon {

namespace page_block {

inline void PutLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::uint32_t GetLe32(const std::string& in, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

}  // namespace page_block

template <class TPage>
std::string EncodeSinglePageBlock(TPage& page) {
    TMemoryStream payload;
    page.SaveToStream(payload);
    std::string block;
    page_block::PutLe32(block, static_cast<std::uint32_t>(payload.Bytes().size()));
    page_block::PutLe32(block, 1);
    block += payload.Bytes();
    return block;
}

// Reads the page whole or not at all: on false the page is reset. `damaged` tells a page whose
// script (or route) was read only in part.
template <class TPage, class TDamaged>
bool DecodeSinglePageBlock(const std::string& block, TPage& page, TDamaged damaged) {
    page.Reset();
    if (block.size() < 8)
        return false;
    const std::uint32_t size = page_block::GetLe32(block, 0);
    const std::uint32_t count = page_block::GetLe32(block, 4);
    // The block may be longer than its count says (global memory is rounded up), never shorter.
    if (count != 1 || size > block.size() - 8)
        return false;
    TByteViewStream stream(reinterpret_cast<const std::uint8_t*>(block.data()) + 8, size);
    try {
        page.LoadFromStream(stream);
    } catch (const std::exception&) {
        page.Reset();
        return false;
    }
    if (stream.Position() != stream.Size() || damaged(page)) {
        page.Reset();
        return false;
    }
    return true;
}

}  // namespace quillon
