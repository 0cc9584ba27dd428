#include "runtime/PcfFont.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quillon::runtime {

namespace {

// The tables of the format that the reader uses.
constexpr std::uint32_t kAccelerators = 1u << 1;
constexpr std::uint32_t kMetrics = 1u << 2;
constexpr std::uint32_t kBitmaps = 1u << 3;
constexpr std::uint32_t kEncodings = 1u << 5;
constexpr std::uint32_t kBdfAccelerators = 1u << 8;

constexpr std::uint32_t kCompressedMetrics = 0x100;
constexpr std::uint32_t kByteOrderMsb = 1u << 2;
constexpr std::uint32_t kBitOrderMsb = 1u << 3;

// Limits no sound bitmap font comes near: they keep a damaged file from asking for much memory.
constexpr std::size_t kMaxFileBytes = 8u << 20;
constexpr std::size_t kMaxFontBytes = 32u << 20;
constexpr std::uint32_t kMaxTables = 64;
constexpr std::uint32_t kMaxGlyphs = 65536;
constexpr int kMaxLineBox = 64;

class EPcf : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bounded reads from one table of the font.
class TTable {
public:
    TTable(std::string_view data, std::uint32_t offset, std::uint32_t size) {
        if (offset > data.size() || size > data.size() - offset)
            throw EPcf("a table lies outside the file");
        mData = data.substr(offset, size);
        mFormat = Uint32(true);
        mMsb = (mFormat & kByteOrderMsb) != 0;
    }
    std::uint32_t Format() const { return mFormat; }
    std::size_t Position() const { return mPos; }
    std::size_t Size() const { return mData.size(); }
    void Seek(std::size_t pos) {
        if (pos > mData.size())
            throw EPcf("a table is truncated");
        mPos = pos;
    }
    std::uint8_t Byte() {
        Need(1);
        return static_cast<std::uint8_t>(mData[mPos++]);
    }
    std::uint32_t Uint32() { return Uint32(!mMsb); }
    std::int32_t Int32() { return static_cast<std::int32_t>(Uint32()); }
    std::int16_t Int16() {
        Need(2);
        const auto b0 = static_cast<std::uint8_t>(mData[mPos]), b1 = static_cast<std::uint8_t>(mData[mPos + 1]);
        mPos += 2;
        return static_cast<std::int16_t>(mMsb ? (b0 << 8 | b1) : (b1 << 8 | b0));
    }
    std::string_view Bytes(std::size_t count) {
        Need(count);
        const std::string_view part = mData.substr(mPos, count);
        mPos += count;
        return part;
    }

private:
    void Need(std::size_t count) const {
        if (count > mData.size() - mPos)
            throw EPcf("a table is truncated");
    }
    std::uint32_t Uint32(bool lsb) {
        Need(4);
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto b = static_cast<std::uint8_t>(mData[mPos + static_cast<std::size_t>(lsb ? 3 - i : i)]);
            value = value << 8 | b;
        }
        mPos += 4;
        return value;
    }

    std::string_view mData;
    std::size_t mPos = 0;
    std::uint32_t mFormat = 0;
    bool mMsb = false;
};

struct TMetric {
    int Left = 0;
    int Right = 0;
    int Advance = 0;
    int Ascent = 0;
    int Descent = 0;
};

std::string Inflate(std::string_view bytes) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        throw EPcf("the decompressor could not start");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    std::string out;
    char buffer[16384];
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            inflateEnd(&stream);
            throw EPcf("the compressed data is damaged");
        }
        out.append(buffer, sizeof buffer - stream.avail_out);
        if (out.size() > kMaxFontBytes) {
            inflateEnd(&stream);
            throw EPcf("the font is too large");
        }
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
            inflateEnd(&stream);
            throw EPcf("the compressed data is truncated");
        }
    }
    inflateEnd(&stream);
    return out;
}

}  // namespace

class TPcfReader {
public:
    explicit TPcfReader(std::string_view data) : mData(data) {}

    std::unique_ptr<TPcfFont> Read() {
        std::unique_ptr<TPcfFont> font(new TPcfFont());
        if (mData.size() < 8 || mData.substr(0, 4) != std::string_view("\1fcp", 4))
            throw EPcf("not a PCF font");
        const std::uint32_t count = Le32(4);
        if (count == 0 || count > kMaxTables || 8 + std::size_t{count} * 16 > mData.size())
            throw EPcf("the table of contents is damaged");
        for (std::uint32_t i = 0; i < count; ++i) {
            // Each entry: type, format, size, offset, little-endian.
            const std::size_t at = 8 + std::size_t{i} * 16;
            const std::uint32_t size = Le32(at + 8), offset = Le32(at + 12);
            if (offset >= mData.size())
                throw EPcf("a table lies outside the file");
            // Writers round the last table's size up past the file's end: a table ends at the end
            // of the file at the latest, and reading beyond what it holds is refused later.
            const auto held = static_cast<std::uint32_t>(std::min<std::size_t>(size, mData.size() - offset));
            mTables.push_back({Le32(at), offset, held});
        }
        ReadMetrics();
        ReadAccelerators(*font);
        ReadBitmaps(*font);
        ReadEncodings(*font);
        return font;
    }

private:
    struct TEntry {
        std::uint32_t Type;
        std::uint32_t Offset;
        std::uint32_t Size;
    };

    std::uint32_t Le32(std::size_t at) const {
        std::uint32_t value = 0;
        for (std::size_t i = 4; i-- > 0;)
            value = value << 8 | static_cast<std::uint8_t>(mData[at + i]);
        return value;
    }

    const TEntry* Find(std::uint32_t type) const {
        for (const TEntry& e : mTables)
            if (e.Type == type)
                return &e;
        return nullptr;
    }
    TTable Open(std::uint32_t type, const char* name) const {
        const TEntry* e = Find(type);
        if (!e)
            throw EPcf(std::string("the font has no ") + name);
        return TTable(mData, e->Offset, e->Size);
    }

    void ReadMetrics() {
        TTable t = Open(kMetrics, "metrics");
        const bool compressed = (t.Format() & 0xFFFFFF00u) == kCompressedMetrics;
        const std::uint32_t count = compressed ? static_cast<std::uint16_t>(t.Int16()) : t.Uint32();
        if (count == 0 || count > kMaxGlyphs || count > t.Size())
            throw EPcf("the glyph count is damaged");
        mMetrics.resize(count);
        for (TMetric& m : mMetrics) {
            if (compressed) {
                m.Left = t.Byte() - 0x80;
                m.Right = t.Byte() - 0x80;
                m.Advance = t.Byte() - 0x80;
                m.Ascent = t.Byte() - 0x80;
                m.Descent = t.Byte() - 0x80;
            } else {
                m.Left = t.Int16();
                m.Right = t.Int16();
                m.Advance = t.Int16();
                m.Ascent = t.Int16();
                m.Descent = t.Int16();
                t.Int16();
            }
        }
    }

    void ReadAccelerators(TPcfFont& font) {
        const TEntry* e = Find(kBdfAccelerators);
        if (!e)
            e = Find(kAccelerators);
        if (e) {
            TTable t(mData, e->Offset, e->Size);
            t.Bytes(8);
            font.mAscent = t.Int32();
            font.mDescent = t.Int32();
        } else {
            for (const TMetric& m : mMetrics) {
                font.mAscent = std::max(font.mAscent, m.Ascent);
                font.mDescent = std::max(font.mDescent, m.Descent);
            }
        }
        if (font.mAscent < 0 || font.mDescent < 0 || font.mAscent + font.mDescent <= 0 ||
            font.mAscent + font.mDescent > kMaxLineBox)
            throw EPcf("the font's line box is damaged");
    }

    void ReadBitmaps(TPcfFont& font) {
        TTable t = Open(kBitmaps, "bitmaps");
        const std::uint32_t format = t.Format();
        const std::uint32_t count = t.Uint32();
        if (count != mMetrics.size())
            throw EPcf("the bitmaps do not match the metrics");
        std::vector<std::uint32_t> offsets(count);
        for (std::uint32_t& o : offsets)
            o = t.Uint32();
        std::uint32_t sizes[4];
        for (std::uint32_t& s : sizes)
            s = t.Uint32();
        const int padIndex = static_cast<int>(format & 3);
        const std::size_t pad = std::size_t{1} << padIndex;
        const std::size_t unit = std::size_t{1} << ((format >> 4) & 3);
        const std::string_view bits = t.Bytes(sizes[padIndex]);
        const bool bitMsb = (format & kBitOrderMsb) != 0;
        const bool byteMsb = (format & kByteOrderMsb) != 0;
        const bool swap = bitMsb != byteMsb && unit > 1;

        const int height = font.Height();
        font.mAdvance.resize(count);
        font.mRows.assign(std::size_t{count} * static_cast<std::size_t>(height), 0);
        for (std::uint32_t g = 0; g < count; ++g) {
            const TMetric& m = mMetrics[g];
            font.mAdvance[g] = std::clamp(m.Advance, 0, TPcfFont::kMaxGlyphWidth);
            const int width = m.Right - m.Left;
            const int rows = m.Ascent + m.Descent;
            if (width <= 0 || rows <= 0)
                continue;
            if (width > 1024 || rows > 1024)
                throw EPcf("a glyph is damaged");
            const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
            const std::size_t stride = (rowBytes + pad - 1) / pad * pad;
            if (offsets[g] > bits.size() || stride * static_cast<std::size_t>(rows) > bits.size() - offsets[g])
                throw EPcf("a glyph lies outside the bitmaps");
            for (int r = 0; r < rows; ++r) {
                const int line = font.mAscent - m.Ascent + r;
                if (line < 0 || line >= height)
                    continue;
                std::uint16_t mask = 0;
                for (int x = 0; x < width; ++x) {
                    const int column = m.Left + x;
                    if (column < 0 || column >= TPcfFont::kMaxGlyphWidth)
                        continue;
                    std::size_t byteIndex = static_cast<std::size_t>(x / 8);
                    if (swap)
                        byteIndex = byteIndex / unit * unit + (unit - 1 - byteIndex % unit);
                    const auto byte = static_cast<std::uint8_t>(
                        bits[offsets[g] + static_cast<std::size_t>(r) * stride + byteIndex]);
                    const int bit = bitMsb ? 7 - x % 8 : x % 8;
                    if (byte >> bit & 1)
                        mask = static_cast<std::uint16_t>(mask | (0x8000u >> column));
                }
                font.mRows[std::size_t{g} * static_cast<std::size_t>(height) + static_cast<std::size_t>(line)] = mask;
            }
        }
    }

    void ReadEncodings(TPcfFont& font) {
        TTable t = Open(kEncodings, "encodings");
        font.mFirstCol = t.Int16();
        font.mLastCol = t.Int16();
        font.mFirstRow = t.Int16();
        font.mLastRow = t.Int16();
        t.Int16();  // the default character: missing glyphs draw as our own box instead
        if (font.mFirstCol < 0 || font.mLastCol > 255 || font.mFirstCol > font.mLastCol || font.mFirstRow < 0 ||
            font.mLastRow > 255 || font.mFirstRow > font.mLastRow)
            throw EPcf("the encoding ranges are damaged");
        const std::size_t cells = static_cast<std::size_t>(font.mLastCol - font.mFirstCol + 1) *
                                  static_cast<std::size_t>(font.mLastRow - font.mFirstRow + 1);
        font.mEncoding.resize(cells);
        for (std::int32_t& glyph : font.mEncoding) {
            const auto index = static_cast<std::uint16_t>(t.Int16());
            glyph = index == 0xFFFF || index >= font.mAdvance.size() ? -1 : index;
        }
    }

    std::string_view mData;
    std::vector<TEntry> mTables;
    std::vector<TMetric> mMetrics;
};

std::unique_ptr<TPcfFont> TPcfFont::Read(std::string_view bytes, std::string& error) {
    try {
        if (bytes.size() >= 2 && static_cast<std::uint8_t>(bytes[0]) == 0x1F &&
            static_cast<std::uint8_t>(bytes[1]) == 0x8B) {
            const std::string inflated = Inflate(bytes);
            return TPcfReader(inflated).Read();
        }
        if (bytes.size() > kMaxFontBytes)
            throw EPcf("the font is too large");
        return TPcfReader(bytes).Read();
    } catch (const EPcf& e) {
        error = e.what();
    } catch (const std::bad_alloc&) {
        error = "the font is too large";
    }
    return nullptr;
}

std::unique_ptr<TPcfFont> TPcfFont::ReadFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Cannot open the font \"" + path + "\"";
        return nullptr;
    }
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxFileBytes) {
            error = "The font \"" + path + "\" is too large";
            return nullptr;
        }
    }
    std::unique_ptr<TPcfFont> font = Read(bytes, error);
    if (!font)
        error = "The font \"" + path + "\" cannot be read: " + error;
    return font;
}

int TPcfFont::GlyphIndex(int code) const {
    const int col = code & 0xFF;
    const int row = code >> 8 & 0xFF;
    if (code < 0 || code > 0xFFFF || col < mFirstCol || col > mLastCol || row < mFirstRow || row > mLastRow)
        return -1;
    const std::size_t index = static_cast<std::size_t>(row - mFirstRow) * static_cast<std::size_t>(mLastCol - mFirstCol + 1) +
                              static_cast<std::size_t>(col - mFirstCol);
    return index < mEncoding.size() ? mEncoding[index] : -1;
}

}  // namespace quillon::runtime
