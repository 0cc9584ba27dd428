// Hand-built PNG files for the reader tests: chunks, any filter per row, image data split anywhere.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace pngtest {

inline void Put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift);
}

inline std::string Chunk(const std::string& type, const std::string& data, bool goodCrc = true) {
    std::string out;
    Put32(out, static_cast<std::uint32_t>(data.size()));
    out += type + data;
    const std::string crcInput = type + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(crcInput.data()), static_cast<uInt>(crcInput.size()));
    Put32(out, goodCrc ? static_cast<std::uint32_t>(crc) : static_cast<std::uint32_t>(crc) ^ 1u);
    return out;
}

inline std::string Signature() { return std::string("\x89PNG\r\n\x1a\n", 8); }

inline std::string Header(std::uint32_t width, std::uint32_t height, int depth, int colourType, int interlace = 0) {
    std::string data;
    Put32(data, width);
    Put32(data, height);
    data += static_cast<char>(depth);
    data += static_cast<char>(colourType);
    data += '\0';
    data += '\0';
    data += static_cast<char>(interlace);
    return Chunk("IHDR", data);
}

inline std::string Compress(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
             static_cast<uLong>(raw.size()));
    out.resize(size);
    return out;
}

// Rows (in file byte order) filtered with filter (row index % 5) when cycle is set, else filter 0.
inline std::string FilterRows(const std::vector<std::string>& rows, int bpp, bool cycle) {
    std::string out;
    std::string prior(rows.empty() ? 0 : rows[0].size(), '\0');
    for (std::size_t y = 0; y < rows.size(); ++y) {
        const int filter = cycle ? static_cast<int>(y % 5) : 0;
        const std::string& row = rows[y];
        out += static_cast<char>(filter);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int x = static_cast<std::uint8_t>(row[i]);
            const int a = i >= static_cast<std::size_t>(bpp) ? static_cast<std::uint8_t>(row[i - bpp]) : 0;
            const int b = static_cast<std::uint8_t>(prior[i]);
            const int c = i >= static_cast<std::size_t>(bpp) ? static_cast<std::uint8_t>(prior[i - bpp]) : 0;
            int predictor = 0;
            if (filter == 1) predictor = a;
            if (filter == 2) predictor = b;
            if (filter == 3) predictor = (a + b) / 2;
            if (filter == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                predictor = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
            }
            out += static_cast<char>(x - predictor);
        }
        prior = row;
    }
    return out;
}

// IDAT chunks of at most piece bytes each (0: one chunk).
inline std::string ImageData(const std::string& compressed, std::size_t piece = 0) {
    if (piece == 0)
        return Chunk("IDAT", compressed);
    std::string out;
    for (std::size_t at = 0; at < compressed.size(); at += piece)
        out += Chunk("IDAT", compressed.substr(at, piece));
    return out;
}

inline std::vector<std::string> RandomRows(int width, int height, int bpp, unsigned seed, int smooth = 0) {
    std::mt19937 random(seed);
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width * bpp; ++x)
            row += static_cast<char>(smooth ? (x * 3 + y * 5) % 256 : random() % 256);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace pngtest
