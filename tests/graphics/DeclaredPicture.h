// Picture files whose headers declare a size their data does not hold: for the tests that the
// readers refuse a picture by its header before they decode anything.
#pragma once

#include "PngTestUtil.h"

#include <cstdint>
#include <string>

namespace pngtest {

// A picture file of that kind whose header declares width × height 8-bit pixels, followed by
// `payload` bytes that are not image data.
inline std::string DeclaredPicture(const std::string& kind, int width, int height, std::size_t payload) {
    if (kind == "png")
        return Signature() + Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8, 3) +
               Chunk("IDAT", std::string(payload, '\x55')) + Chunk("IEND", "");
    if (kind == "zgf") {
        std::string zgf = "ZGF1";
        for (int v : {width, height}) {
            zgf += static_cast<char>(v & 0xFF);
            zgf += static_cast<char>(v >> 8);
        }
        return zgf + std::string(payload, '\x55');
    }
    // An 8-bit run-length encoded bitmap: 256 palette entries, then the runs.
    std::string bmp = "BM";
    auto put32 = [&bmp](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp += static_cast<char>(v >> (8 * i));
    };
    auto put16 = [&bmp](std::uint32_t v) {
        bmp += static_cast<char>(v);
        bmp += static_cast<char>(v >> 8);
    };
    put32(0);
    put32(0);
    put32(14 + 40 + 1024);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);
    put16(8);
    put32(1);  // run-length encoded
    for (int i = 0; i < 5; ++i)
        put32(0);
    return bmp + std::string(1024, '\0') + std::string(payload, '\x01');
}

}  // namespace pngtest
