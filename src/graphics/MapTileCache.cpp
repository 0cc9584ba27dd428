#include "graphics/MapTileCache.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

constexpr std::int32_t kTileIdLimit = 20000;  // DrawTile draws nothing from here on

// Copies a tile of `width` pixels per row (rows of `size` in the cache) into the board.
template <int Size>
void CopyOpaque(std::uint16_t* dest, std::ptrdiff_t destStride, const std::uint16_t* source, int rows) {
    for (int y = 0; y < rows; ++y)
        std::memcpy(dest + y * destStride, source + y * Size, Size * sizeof(std::uint16_t));
}

template <int Size>
void CopyMasked(std::uint16_t* dest, std::ptrdiff_t destStride, const std::uint16_t* source, const std::uint16_t* mask,
                int rows) {
    for (int y = 0; y < rows; ++y) {
        std::uint16_t* d = dest + y * destStride;
        const std::uint16_t* s = source + y * Size;
        const std::uint16_t* m = mask + y * Size;
        for (int x = 0; x < Size; ++x)
            d[x] = static_cast<std::uint16_t>((d[x] & ~m[x]) | (s[x] & m[x]));
    }
}

void CopyClipped(std::uint16_t* dest, std::ptrdiff_t destStride, const std::uint16_t* source, const std::uint16_t* mask,
                 int size, int columns, int rows) {
    for (int y = 0; y < rows; ++y) {
        std::uint16_t* d = dest + y * destStride;
        const std::uint16_t* s = source + y * size;
        if (!mask) {
            std::memcpy(d, s, static_cast<std::size_t>(columns) * sizeof(std::uint16_t));
            continue;
        }
        const std::uint16_t* m = mask + y * size;
        for (int x = 0; x < columns; ++x)
            d[x] = static_cast<std::uint16_t>((d[x] & ~m[x]) | (s[x] & m[x]));
    }
}

}  // namespace

void TMapTileCache::Begin(TKelChipSetGraphic& chips, int size, int animCounter) {
    mChips = &chips;
    mSize = size;
    mAnimCounter = animCounter;
    mCount = 0;
    mPixels.clear();
    if (mEntries.empty())
        mEntries.resize(2 * static_cast<std::size_t>(kTileIdLimit));
    if (++mStamp == 0) {
        std::fill(mEntries.begin(), mEntries.end(), TEntry{});
        mStamp = 1;
    }
}

const TMapTileCache::TEntry& TMapTileCache::Obtain(std::int32_t tileId, bool transparent, int brightness) {
    TEntry& entry = mEntries[static_cast<std::size_t>(tileId) * 2 + (transparent ? 1 : 0)];
    if (entry.Stamp == mStamp && brightness == mBrightness)
        return entry;
    if (brightness != mBrightness) {
        // Another brightness rebuilds the colour table: every cached tile is stale.
        mBrightness = brightness;
        Begin(*mChips, mSize, mAnimCounter);
    }
    // Drawn over black and over white: the pixels the tile draws come out the same on both, the
    // pixels it leaves alone differ.
    // A tile without black pixels over black drew every pixel; only the others are drawn again.
    const int size = mSize;
    mScratchBlack.Brightness = brightness;
    mScratchBlack.SetSize(size, size);
    mChips->DrawTile(mScratchBlack, 0, 0, mAnimCounter, tileId, false, size);
    bool anyBlack = false;
    for (int y = 0; y < size && !anyBlack; ++y) {
        const std::uint16_t* row = mScratchBlack.ScanLine(y);
        anyBlack = std::find(row, row + size, std::uint16_t{0}) != row + size;
    }
    const TOrlenBoard* other = &mScratchBlack;
    if (anyBlack) {
        mScratchWhite.Brightness = brightness;
        mScratchWhite.SetSize(size, size);
        for (int y = 0; y < size; ++y)
            std::fill(mScratchWhite.ScanLine(y), mScratchWhite.ScanLine(y) + size, std::uint16_t{0xFFFF});
        mChips->DrawTile(mScratchWhite, 0, 0, mAnimCounter, tileId, false, size);
        other = &mScratchWhite;
    }
    const std::size_t area = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    const std::size_t offset = mPixels.size();
    mPixels.resize(offset + area);
    std::uint16_t* pixels = mPixels.data() + offset;
    entry.Stamp = mStamp;
    entry.Offset = static_cast<std::uint32_t>(offset);
    if (!anyBlack) {
        for (int y = 0; y < size; ++y)
            std::memcpy(pixels + static_cast<std::size_t>(y) * size, mScratchBlack.ScanLine(y),
                        static_cast<std::size_t>(size) * sizeof(std::uint16_t));
        entry.Kind = TKind::Opaque;
        ++mCount;
        return entry;
    }
    // Room for the mask after the pixels; given back when the tile turns out empty or opaque.
    mPixels.resize(offset + 2 * area);
    pixels = mPixels.data() + offset;
    std::uint16_t* mask = pixels + area;
    std::size_t drawn = 0;
    for (int y = 0; y < size; ++y) {
        const std::uint16_t* black = mScratchBlack.ScanLine(y);
        const std::uint16_t* white = other->ScanLine(y);
        std::uint16_t* p = pixels + static_cast<std::size_t>(y) * size;
        std::uint16_t* m = mask + static_cast<std::size_t>(y) * size;
        for (int x = 0; x < size; ++x) {
            const std::uint16_t same = black[x] == white[x] ? 0xFFFF : 0;
            p[x] = static_cast<std::uint16_t>(black[x] & same);
            m[x] = same;
            drawn += same & 1;
        }
    }
    if (drawn == 0) {
        entry.Kind = TKind::Empty;
        mPixels.resize(offset);
    } else if (drawn == area) {
        entry.Kind = TKind::Opaque;
        mPixels.resize(offset + area);
    } else {
        entry.Kind = TKind::Masked;
    }
    ++mCount;
    return entry;
}

void TMapTileCache::DrawTile(TOrlenBoard& board, int x, int y, std::int32_t tileId) {
    if (!mChips || tileId < 0 || tileId >= kTileIdLimit || mSize <= 0)
        return;
    TOrlenSheet& sheet = mChips->Sheet();
    if (std::clamp(sheet.Opacity, 0, 255) != 255) {
        mChips->DrawTile(board, x, y, mAnimCounter, tileId, false, mSize);
        return;
    }
    const int size = mSize;
    // The part of the cell on the board.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min<std::int64_t>(static_cast<std::int64_t>(x) + size, board.Width());
    const int bottom = std::min<std::int64_t>(static_cast<std::int64_t>(y) + size, board.Height());
    if (right <= left || bottom <= top)
        return;
    const TEntry& entry = Obtain(tileId, sheet.Transparent, board.Brightness);
    if (entry.Kind == TKind::Empty)
        return;
    const std::uint16_t* source = mPixels.data() + entry.Offset + (top - y) * size + (left - x);
    const std::uint16_t* mask = entry.Kind == TKind::Masked ? source + size * size : nullptr;
    std::uint16_t* dest = board.ScanLine(top) + left;
    const std::ptrdiff_t stride = board.Height() < 2 ? 0 : board.RowBytes() / 2;
    const int rows = bottom - top;
    if (right - left == size) {
        switch (size) {
        case 4:
            return mask ? CopyMasked<4>(dest, stride, source, mask, rows) : CopyOpaque<4>(dest, stride, source, rows);
        case 8:
            return mask ? CopyMasked<8>(dest, stride, source, mask, rows) : CopyOpaque<8>(dest, stride, source, rows);
        case 16:
            return mask ? CopyMasked<16>(dest, stride, source, mask, rows) : CopyOpaque<16>(dest, stride, source, rows);
        case 32:
            return mask ? CopyMasked<32>(dest, stride, source, mask, rows) : CopyOpaque<32>(dest, stride, source, rows);
        default:
            break;
        }
    }
    CopyClipped(dest, stride, source, mask, size, right - left, rows);
}

void TMapTileCache::DrawRow(TOrlenBoard& board, int x, int y, const std::uint16_t* ids, int count) {
    if (!mChips || mSize <= 0 || count <= 0)
        return;
    const int size = mSize;
    const bool whole = y >= 0 && static_cast<std::int64_t>(y) + size <= board.Height();
    const bool plain = size == 4 || size == 8 || size == 16 || size == 32;
    if (!whole || !plain || std::clamp(mChips->Sheet().Opacity, 0, 255) != 255) {
        for (int i = 0; i < count; ++i)
            DrawTile(board, x + i * size, y, ids[i]);
        return;
    }
    const bool transparent = mChips->Sheet().Transparent;
    const int brightness = board.Brightness;
    const std::ptrdiff_t stride = board.Height() < 2 ? 0 : board.RowBytes() / 2;
    std::uint16_t* row = board.ScanLine(y);
    for (int i = 0; i < count; ++i) {
        const int cx = x + i * size;
        const std::uint16_t id = ids[i];
        if (id >= kTileIdLimit)
            continue;
        if (cx < 0 || cx + size > board.Width()) {
            DrawTile(board, cx, y, id);
            continue;
        }
        const TEntry* entry = &mEntries[static_cast<std::size_t>(id) * 2 + (transparent ? 1 : 0)];
        if (entry->Stamp != mStamp || brightness != mBrightness)
            entry = &Obtain(id, transparent, brightness);
        if (entry->Kind == TKind::Empty)
            continue;
        const std::uint16_t* source = mPixels.data() + entry->Offset;
        std::uint16_t* dest = row + cx;
        if (entry->Kind == TKind::Opaque) {
            switch (size) {
            case 4: CopyOpaque<4>(dest, stride, source, 4); break;
            case 8: CopyOpaque<8>(dest, stride, source, 8); break;
            case 16: CopyOpaque<16>(dest, stride, source, 16); break;
            default: CopyOpaque<32>(dest, stride, source, 32); break;
            }
        } else {
            const std::uint16_t* mask = source + size * size;
            switch (size) {
            case 4: CopyMasked<4>(dest, stride, source, mask, 4); break;
            case 8: CopyMasked<8>(dest, stride, source, mask, 8); break;
            case 16: CopyMasked<16>(dest, stride, source, mask, 16); break;
            default: CopyMasked<32>(dest, stride, source, mask, 32); break;
            }
        }
    }
}

}  // namespace quillon
