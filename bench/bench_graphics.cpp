// Image codecs and sheet drawing. PNG decode and encode of a 480 × 256 chipset-like 8-bit image
// and of a 2000 × 2000 8-bit image, each with its time as a ratio to libpng doing the same work in
// the same run (libpng with unfiltered rows and the default compression level, as ours writes);
// DrawSheet and StretchDrawSheet in pixels per second and as a ratio to a memcpy of the same
// destination bytes.
#include "data/StreamUtils.h"
#include "graphics/OrlenPng.h"
#include "graphics/OrlenSheet.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

using benchkit::CpuSeconds;
using benchkit::SecondsPerCall;

// A chipset-like picture: 16 × 16 tiles of a few colours with some noise, or smooth noise.
TBitmap MakeImage(int width, int height, bool tiles) {
    TBitmap bitmap(width, height, TPixelFormat::pf8bit);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int v = tiles ? ((x / 16 + y / 16 * 7) % 23) * 8 + ((x ^ y) & 3) : (x / 3 + y / 5) % 200;
            if (random() % 8 == 0)
                v += static_cast<int>(random() % 5);
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(v);
        }
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                               static_cast<std::uint8_t>(i * 3), 0};
    return bitmap;
}

std::string EncodeOurs(const TBitmap& bitmap) {
    TMemoryStream stream;
    WritePng(stream, bitmap);
    return stream.TakeBytes();
}

void DecodeOurs(const std::string& file, TBitmap& bitmap) {
    TByteViewStream stream(file);
    ReadPng(stream, bitmap);
}

struct TReadCursor {
    const std::string* File;
    std::size_t At;
};

void DecodeLibpng(const std::string& file, std::vector<std::uint8_t>& pixels) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    TReadCursor cursor{&file, 0};
    png_set_read_fn(png, &cursor, [](png_structp p, png_bytep out, png_size_t n) {
        auto* c = static_cast<TReadCursor*>(png_get_io_ptr(p));
        std::memcpy(out, c->File->data() + c->At, n);
        c->At += n;
    });
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, pixels.data() + static_cast<std::size_t>(y) * width, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
}

std::string EncodeLibpng(const TBitmap& bitmap) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), n);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, bitmap.Width(), bitmap.Height(), 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = {bitmap.Palette()[i].Red, bitmap.Palette()[i].Green, bitmap.Palette()[i].Blue};
    png_set_PLTE(png, info, palette, 256);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.Height(); ++y)
        png_write_row(png, bitmap.ScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void Report(benchmark::State& state, double oursPerCall, double referencePerCall, const char* name,
            double pixels) {
    state.counters[name] = oursPerCall / referencePerCall;
    state.counters["Mpixel/s"] = pixels / oursPerCall / 1e6;
}

void PngDecode(benchmark::State& state, int width, int height, bool tiles) {
    const TBitmap image = MakeImage(width, height, tiles);
    const std::string file = EncodeOurs(image);
    TBitmap bitmap;
    std::vector<std::uint8_t> reference;
    for (auto _ : state) {
        DecodeOurs(file, bitmap);
        benchmark::DoNotOptimize(bitmap.ScanLine(0));
    }
    const std::int64_t n = std::max<std::int64_t>(state.iterations() / 3, 1);
    const double ours = SecondsPerCall(n, [&] { DecodeOurs(file, bitmap); });
    const double libpng = SecondsPerCall(n, [&] { DecodeLibpng(file, reference); });
    if (std::memcmp(reference.data(), bitmap.ScanLine(0), static_cast<std::size_t>(width)) != 0)
        state.SkipWithError("libpng decodes something else");
    Report(state, ours, libpng, "time_vs_libpng", static_cast<double>(width) * height);
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

void PngEncode(benchmark::State& state, int width, int height, bool tiles) {
    const TBitmap image = MakeImage(width, height, tiles);
    std::string ours, theirs;
    for (auto _ : state) {
        ours = EncodeOurs(image);
        benchmark::DoNotOptimize(ours.data());
    }
    const std::int64_t n = std::max<std::int64_t>(state.iterations() / 3, 1);
    const double oursTime = SecondsPerCall(n, [&] { ours = EncodeOurs(image); });
    const double libpng = SecondsPerCall(n, [&] { theirs = EncodeLibpng(image); });
    Report(state, oursTime, libpng, "time_vs_libpng", static_cast<double>(width) * height);
    state.counters["size_vs_libpng"] = static_cast<double>(ours.size()) / static_cast<double>(theirs.size());
}

void BM_PngDecodeChipset(benchmark::State& state) { PngDecode(state, 480, 256, true); }
void BM_PngDecodeLarge(benchmark::State& state) { PngDecode(state, 2000, 2000, false); }
void BM_PngEncodeChipset(benchmark::State& state) { PngEncode(state, 480, 256, true); }
void BM_PngEncodeLarge(benchmark::State& state) { PngEncode(state, 2000, 2000, false); }

// Draws the 480 × 256 sheet over an 800 × 600 board: mode 0 opaque, 1 transparent, 2 half opaque.
void BM_DrawSheet(benchmark::State& state) {
    const TBitmap image = MakeImage(480, 256, true);
    TOrlenSheet sheet;
    sheet.AutoSize = true;
    sheet.LoadFromBitmap(image);
    sheet.Transparent = state.range(0) == 1;
    sheet.Opacity = state.range(0) == 2 ? 128 : 255;
    TOrlenBoard board;
    board.SetSize(800, 600);
    const auto draw = [&] {
        for (int y = 0; y < 600; y += 256)
            for (int x = 0; x < 800; x += 480)
                board.DrawSheet(x, y, sheet.BoundsRect(), sheet);
    };
    for (auto _ : state) {
        draw();
        benchmark::DoNotOptimize(board.Bits());
    }
    const std::int64_t n = std::max<std::int64_t>(state.iterations() / 3, 1);
    std::vector<std::uint8_t> source(800 * 600 * 2, 1), target(800 * 600 * 2);
    const double ours = SecondsPerCall(n, draw);
    const double copy = SecondsPerCall(n, [&] {
        std::memcpy(target.data(), source.data(), target.size());
        benchmark::ClobberMemory();
    });
    Report(state, ours, copy, "time_vs_memcpy", 800.0 * 600.0);
}
BENCHMARK(BM_DrawSheet)->Arg(0)->Arg(1)->Arg(2);

// Draws 400 × 300 pixels of the sheet scaled by 2 onto an 800 × 600 board.
void BM_StretchDrawSheet(benchmark::State& state) {
    TBitmap image = MakeImage(480, 300, true);
    TOrlenSheet sheet;
    sheet.AutoSize = true;
    sheet.LoadFromBitmap(image);
    sheet.Transparent = state.range(0) == 1;
    TOrlenBoard board;
    board.SetSize(800, 600);
    const auto draw = [&] { board.StretchDrawSheet(TRect{0, 0, 800, 600}, sheet, TRect{0, 0, 400, 300}); };
    for (auto _ : state) {
        draw();
        benchmark::DoNotOptimize(board.Bits());
    }
    const std::int64_t n = std::max<std::int64_t>(state.iterations() / 3, 1);
    std::vector<std::uint8_t> source(800 * 600 * 2, 1), target(800 * 600 * 2);
    const double ours = SecondsPerCall(n, draw);
    const double copy = SecondsPerCall(n, [&] {
        std::memcpy(target.data(), source.data(), target.size());
        benchmark::ClobberMemory();
    });
    Report(state, ours, copy, "time_vs_memcpy", 800.0 * 600.0);
}
BENCHMARK(BM_StretchDrawSheet)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK(BM_PngDecodeChipset)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PngDecodeLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngEncodeChipset)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PngEncodeLarge)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
