// What the text and window tests share: a message source with known values, a folder holding the
// starter run-time package's system graphic and faces, the game font, and saving a board as PNG.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/MapPicture.h"
#include "graphics/OrlenPng.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PngStreamWriter.h"
#include "runtime/GameFont.h"
#include "runtime/GameMessage.h"
#include "runtime/GameText.h"
#include "tools/lib/RtpSprites.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillon::runtime::test {

class TFakeSource : public IMessageSource {
public:
    std::map<int, std::int32_t> Variables{{1, 42}, {2, -7}};
    std::int32_t Variable(int id) const override {
        const auto found = Variables.find(id);
        return found == Variables.end() ? 0 : found->second;
    }
    std::int32_t Money() const override { return 1234; }
    std::string HeroName(int heroId) const override { return heroId <= 4 ? "Hero" + std::to_string(heroId) : ""; }
    std::string PartyMemberName(int slot) const override { return slot == 1 ? "Alex" : "Member"; }
    std::string MoneyUnit() const override { return "G"; }
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void WritePicture(const std::filesystem::path& path, const TBitmap& bitmap) {
    TMemoryStream stream;
    WritePng(stream, bitmap);
    WriteFile(path, stream.Bytes());
}

// The game font of the system, or a skip when the font package is not installed.
inline const TGameFont* SystemFontOrSkip() {
    if (!std::filesystem::exists(std::string(TGameFont::SystemFolder()) + "/shnmk12.pcf.gz"))
        return nullptr;
    return &TGameFont::Shared(0);
}

// A run-time package folder with the starter system graphic ("System") and face set ("Faces").
class TSkinFolder {
public:
    TSkinFolder() {
        mRoot = std::filesystem::temp_directory_path() /
                ("quillon-text-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        WritePicture(mRoot / "System" / "System.png", rtp::MakeRtpSystem());
        WritePicture(mRoot / "FaceSet" / "Faces.png", rtp::MakeRtpFaceSet(0));
    }
    ~TSkinFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(mRoot, ignored);
    }
    const std::filesystem::path& Root() const { return mRoot; }
    TImageFinder Finder() const { return FolderImageFinder({mRoot.string()}); }
    // The system graphic as a sheet, to compare drawn pixels with.
    std::unique_ptr<TOrlenSheet> SystemSheet() const {
        auto sheet = std::make_unique<TOrlenSheet>();
        sheet->AutoSize = true;
        sheet->LoadFromFile((mRoot / "System" / "System.png").string(), true);
        return sheet;
    }

private:
    std::filesystem::path mRoot;
};

inline void SaveBoardPng(const TOrlenBoard& board, const std::filesystem::path& path) {
    TMemoryStream stream;
    {
        TPngStreamWriter writer(stream, board.Width(), board.Height(), {});
        std::vector<std::uint8_t> row(static_cast<std::size_t>(writer.RowBytes()));
        for (int y = 0; y < board.Height(); ++y) {
            for (int x = 0; x < board.Width(); ++x) {
                const TPaletteEntry e = Widen565(board.ScanLine(y)[x]);
                row[static_cast<std::size_t>(3 * x)] = e.Red;
                row[static_cast<std::size_t>(3 * x + 1)] = e.Green;
                row[static_cast<std::size_t>(3 * x + 2)] = e.Blue;
            }
            writer.WriteRows(row.data(), 1, 0);
        }
        writer.Finish();
    }
    WriteFile(path, stream.Bytes());
}

// Runs steps of the window with the buttons held in each.
inline void Press(TGameMessageWindow& window, TGameInput& input, std::uint32_t held, int steps = 1) {
    for (int i = 0; i < steps; ++i) {
        input = input.Next(held);
        window.Update(input);
    }
}
// One press of a button: held for a step, then released for a step.
inline void Tap(TGameMessageWindow& window, TGameInput& input, std::uint32_t button) {
    Press(window, input, button);
    Press(window, input, 0);
}

}  // namespace quillon::runtime::test
