// A sandbox for the selector tests: a settings folder, an editor folder with a run-time package,
// an open project folder, and painted images whose pixels say where they came from.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace quillon::seltest {

namespace fs = std::filesystem;

// Palette entry i of the test images: a colour unique to i.
inline TPaletteEntry TestColor(int i) {
    return TPaletteEntry{static_cast<std::uint8_t>(i * 37 % 256), static_cast<std::uint8_t>(i * 91 % 256),
                         static_cast<std::uint8_t>((i * 53 + 100) % 256), 0};
}

inline std::uint16_t To565(const TPaletteEntry& e) {
    return static_cast<std::uint16_t>(((e.Red >> 3) << 11) | ((e.Green >> 2) << 5) | (e.Blue >> 3));
}

// An 8-bit picture whose pixel (x, y) has palette index index(x, y).
inline void WriteImage(const std::string& file, int width, int height, const std::function<int(int, int)>& index) {
    TBitmap bitmap(width, height, TPixelFormat::pf8bit);
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[static_cast<std::size_t>(i)] = TestColor(i);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<std::uint8_t>(index(x, y));
    }
    fs::create_directories(fs::path(file).parent_path());
    SavePicture(bitmap, file);
}

inline void WriteBytes(const std::string& file, const std::string& bytes) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

class SelSandbox : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-sel-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        fs::create_directories(Root + "config");
        fs::create_directories(Root + "editor/RTP");
        fs::create_directories(Root + "base/Game");
        ::setenv("QUILLON_CONFIG_DIR", (Root + "config").c_str(), 1);
        ReopenSettingsStores();
        SetAppPath(Root + "editor");
        SetProjectBasePath(Root + "base");
        SetProjectPath(Root + "base/Game/");
    }
    void TearDown() override {
        SetProjectPath("");
        SetAppPath("");
        fs::remove_all(Root);
    }
    std::string Project(const std::string& rel) const { return Root + "base/Game/" + rel; }
    std::string Rtp(const std::string& rel) const { return Root + "editor/RTP/" + rel; }
    // An empty file of a kind, enough for the lists.
    void Touch(const std::string& file) const { WriteBytes(file, "x"); }

    std::string Root;
};

}  // namespace quillon::seltest
