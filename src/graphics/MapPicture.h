// A whole map drawn straight into a PNG file, a band of rows at a time: the memory used stays the
// same however large the picture is. The picture is the one RenderMap draws, pixel for pixel.
#pragma once

#include "graphics/MapRender.h"
#include "graphics/PngStreamWriter.h"

namespace quillon {

struct TMapPictureOptions {
    int BandRows = 0;  // rows drawn at a time (0: about 256 KiB of board)
    TPngStreamOptions Png;
};

struct TMapPictureInfo {
    int Width = 0;
    int Height = 0;
    bool Indexed = false;  // written with a palette
    int Colors = 0;        // distinct colours, when indexed
};

// The board's 5-6-5 colour as 8-bit channels, each widened by repeating its high bits.
TPaletteEntry Widen565(std::uint16_t color);

// Draws the map as RenderMap does and writes it as PNG: 8-bit indexed with the picture's colours
// (sorted by their 5-6-5 value) when there are at most 256 of them, truecolour otherwise. The
// bands are drawn twice, first to count the colours. Raises EInvalidGraphic for a map without
// cells or a picture side above kMaxPictureSide, and what the stream raises.
TMapPictureInfo WriteMapPng(TStream& stream, const TKelMap& map, TKelChipSetGraphic& chips,
                            const TMapRenderOptions& options, TMapEventLayer* events,
                            const TMapPictureOptions& pictureOptions = {});

}  // namespace quillon
