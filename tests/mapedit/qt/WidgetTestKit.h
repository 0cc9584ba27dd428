// Shared pieces of the map-edit widget tests: a chipset image whose pixels tell their tile apart,
// screen grabs and picture comparisons, on top of the widget kit every widget test shares.
#pragma once

#include "graphics/ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/OrlenSheet_qt.h"
#include "kit/WidgetKit.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

namespace quillon::test {

using widgetkit::App;
using widgetkit::Grab;
using widgetkit::KeepPicture;

// A chipset graphic loaded from the synthetic image (every 8 x 8 quarter distinct) in a folder of
// this process; palette entry 0 is red and upper tile 0 is all index 0.
struct TChipSetFixture {
    std::filesystem::path Folder;
    TEditorModeScope EditorMode{true};
    std::unique_ptr<TKelChipSetGraphic> Chips;

    explicit TChipSetFixture(const std::string& name) {
        using namespace chiptest;
        Folder = TempFolder(name);
        TBitmap image = SyntheticChipSet();
        image.Palette()[0] = TPaletteEntry{248, 0, 0, 0};
        FillCells(image, 288, 128, 16, 16, 0);
        WriteResource(Folder, "ChipSet", "Synth", image);
        Chips = std::make_unique<TKelChipSetGraphic>(FolderImageFinder({Folder.string()}));
        Chips->LoadGraphic("Synth");
    }
    ~TChipSetFixture() {
        Chips.reset();
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
};

// What the window system shows of the widget (the window's own pixels, not a fresh paint), once
// pending paints are done.
inline QImage ScreenGrab(QWidget& widget) {
    QApplication::processEvents();
    const QPoint origin = widget.mapTo(widget.window(), QPoint(0, 0));
    return widget.screen()
        ->grabWindow(widget.window()->winId(), origin.x(), origin.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A board as a 32-bit image (the same conversion the widgets' pictures go through).
inline QImage BoardPicture(const TOrlenBoard& board) {
    return BoardImage(board).convertToFormat(QImage::Format_RGB32);
}

// Number of pixels that differ between two images of the same size (-1 for other sizes).
inline int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                ++count;
    return count;
}

}  // namespace quillon::test
