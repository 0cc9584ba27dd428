// What the screen effect tests share: a folder with a battle animation image and pictures of
// known colours, a backdrop to draw effects over, and the comparison of a board with a golden
// PNG file in tests/runtime/golden.
#pragma once

#include "GoldenPicture.h"
#include "graphics/OrlenSheet.h"
#include "runtime/TextFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillon::runtime::test {

// Palette entries of the fixture's pictures.
inline constexpr TPaletteEntry kRedEntry{224, 32, 32, 0};
inline constexpr TPaletteEntry kYellowEntry{240, 224, 40, 0};
inline constexpr TPaletteEntry kBlueEntry{40, 64, 224, 0};

class TScreenFolder {
public:
    TScreenFolder() {
        mRoot = std::filesystem::temp_directory_path() /
                ("quillon-screen-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        // Battle animation: five 96 x 96 patterns, pattern k a square of colour k + 1 on index 0.
        TBitmap battle(480, 96, TPixelFormat::pf8bit);
        for (int k = 0; k < 5; ++k) {
            battle.Palette()[k + 1] = TPaletteEntry{static_cast<std::uint8_t>(50 * k + 40), 200,
                                                    static_cast<std::uint8_t>(240 - 50 * k), 0};
            for (int y = 24; y < 72; ++y)
                for (int x = 24; x < 72; ++x)
                    battle.ScanLine(y)[96 * k + x] = static_cast<std::uint8_t>(k + 1);
        }
        WritePicture(mRoot / "Battle" / "Burst.png", battle);
        // Picture: 48 x 32, four coloured quadrants, an index-0 corner for the transparent colour.
        TBitmap ball(48, 32, TPixelFormat::pf8bit);
        ball.Palette()[1] = kRedEntry;
        ball.Palette()[2] = kYellowEntry;
        ball.Palette()[3] = kBlueEntry;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x)
                ball.ScanLine(y)[x] = x < 8 && y < 8 ? 0 : static_cast<std::uint8_t>(1 + (x / 24 + y / 16) % 3);
        WritePicture(mRoot / "Picture" / "Ball.png", ball);
    }
    ~TScreenFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(mRoot, ignored);
    }
    const std::filesystem::path& Root() const { return mRoot; }
    TImageFinder Finder() const { return FolderImageFinder({mRoot.string()}); }

private:
    std::filesystem::path mRoot;
};

// A backdrop of stripes and a grid, so that moved, masked and tinted areas show.
inline void DrawBackdrop(TOrlenBoard& board) {
    board.SetSize(320, 240);
    for (int y = 0; y < board.Height(); ++y)
        for (int x = 0; x < board.Width(); ++x) {
            const int band = (x / 40 + y / 40) % 4;
            std::uint16_t c = band == 0 ? 0x2A69 : band == 1 ? 0x6B4D : band == 2 ? 0x4C1F : 0x8410;
            if (x % 40 == 0 || y % 40 == 0)
                c = 0xFFFF;
            board.ScanLine(y)[x] = c;
        }
}

inline std::uint16_t Pixel(const TOrlenBoard& board, int x, int y) { return board.ScanLine(y)[x]; }

// Compares a board with tests/runtime/golden/<name>.
inline void ExpectGolden(const TOrlenBoard& board, const std::string& name) {
    quillon::test::ExpectGoldenPicture(board, std::filesystem::path(QUILLON_SOURCE_DIR) / "tests" / "runtime" / "golden" / name);
}

}  // namespace quillon::runtime::test
