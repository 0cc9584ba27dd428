// The images of the starter run-time package, drawn by code. Deterministic: the same bytes on
// every run. All are 8-bit with one shared palette whose index 0 is the transparent colour.
#pragma once

#include "graphics/Bitmap.h"

#include <bitset>
#include <string>
#include <vector>

namespace quillon {

struct TRtpImage {
    std::string Kind;  // resource folder: "ChipSet", "CharSet" …
    std::string Name;  // file name without extension
    TBitmap Image;
};

// Every image of the package, in a fixed order.
std::vector<TRtpImage> MakeRtpImages();
// Writes every image as "<folder><Kind>/<Name>.png"; folder ends with '/' and the kind folders
// must exist.
void WriteRtpImages(const std::string& folder);
// The PNG bytes of an image.
std::string EncodeRtpPng(const TBitmap& image);

namespace rtp {

// Chipset 0 ("World") or 1 ("Town"), 480 x 256. Upper tile 0 is empty; obstacles, when given,
// receives which upper tiles hold something nobody walks through (trees, rocks, houses, furniture;
// not the flowers), for the passage settings of the chipset record.
TBitmap MakeRtpChipSet(int index, std::bitset<144>* obstacles = nullptr);
// Top-left pixel of lower tile n, upper tile n and autotile i (0..11) in a chipset image.
TPoint LowerTileOrigin(int n);
TPoint UpperTileOrigin(int n);
TPoint AutotileOrigin(int i);

}  // namespace rtp

}  // namespace quillon
