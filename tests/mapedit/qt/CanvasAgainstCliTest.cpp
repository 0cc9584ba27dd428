// The canvas window on a sample project shows, pixel for pixel, what `quillon-cli render
// --as-canvas` writes for the same view.
#include "WidgetTestKit.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/GR_CharSet.h"
#include "mapedit/ChipSelector_qt.h"
#include "mapedit/MapEditor_qt.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/Resources.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#if defined(QUILLON_CLI) && defined(QUILLON_MAKE_SAMPLE)

using namespace quillon;
using namespace quillon::test;

namespace {

std::string FindImage(const std::string& kind, const std::string& name) {
    return FindResourceFile(name, kind, ImageExtensions);
}

bool RunTool(const QString& program, const QStringList& arguments, std::string& errors) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        errors = "did not finish";
        return false;
    }
    errors = process.readAllStandardError().toStdString();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

}  // namespace

TEST(MapCanvasAgainstCli, EventModeGrabEqualsTheCliPicture) {
    App();
    const std::filesystem::path work = chiptest::TempFolder("canvas-cli");
    const std::string folder = (work / "project").string();
    // Settings of this test alone (for the tools it starts too): the run-time package is the one
    // beside the executables.
    const char* previous = std::getenv("QUILLON_CONFIG_DIR");
    const std::string previousConfig = previous ? previous : "";
    setenv("QUILLON_CONFIG_DIR", (work / "config").c_str(), 1);
    ReopenSettingsStores();
    struct TRestore {
        std::string Config;
        bool Had;
        ~TRestore() {
            if (Had)
                setenv("QUILLON_CONFIG_DIR", Config.c_str(), 1);
            else
                unsetenv("QUILLON_CONFIG_DIR");
            ReopenSettingsStores();
        }
    } restore{previousConfig, previous != nullptr};
    ASSERT_FALSE(GetRtpPath().empty());
    std::string errors;
    ASSERT_TRUE(RunTool(QUILLON_MAKE_SAMPLE, {QString::fromStdString(folder)}, errors)) << errors;
    // The project as the editor loads it, map 5 in event mode at 1/1, a 320 x 240 view.
    SetProjectPath(IncludeTrailingDelimiter(folder));
    TEditorModeScope editorMode(true);
    TKelDataBase database;
    database.Load(IncludeTrailingDelimiter(folder));
    TKelMap map;
    map.LoadFromFile(IncludeTrailingDelimiter(folder) + MapFileName(5));
    map.ID = 5;
    map.SetChipSetList(&database.ChipSet);
    map.ValidateChipSetId();
    TKelMapTree tree;
    tree.Load(IncludeTrailingDelimiter(folder));
    // Map 5 is shown, or an area of it whose frame then shows.
    const TKelMapTreeItem* current = tree.FindByID(tree.CurrentMapId);
    if (!current || current->Kind != TKelMapTreeItem::mkArea || current->ParentId != 5)
        tree.CurrentMapId = 5;
    TKelChipSetGraphic chips(FindImage);
    chips.SetChipSet(database.ChipSet.FindByID(map.ChipSetId));
    TKelCharSetGraphic charSets(FindImage);

    TFormMapEditor form;
    form.SetSources(&tree, &chips, &charSets, FindImage);
    form.ViewModel().KeepScroll = true;
    form.LoadMap(&map);
    form.SetMode(2);
    form.Model().EventMap().LoadCharSets(map);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    for (int i = 0; i < 2; ++i) {
        form.resize(320 + form.width() - form.viewport()->width(), 240 + form.height() - form.viewport()->height());
        QApplication::processEvents();
    }
    ASSERT_EQ(form.viewport()->size(), QSize(320, 240));
    ASSERT_GE(map.Width() * 32, 320);
    ASSERT_GE(map.Height() * 32, 240);
    ASSERT_GT(map.Events.Count(), 0) << "the sample map has events to compare";

    const auto compare = [&](int x, int y, const char* name) {
        form.horizontalScrollBar()->setValue(x);
        form.verticalScrollBar()->setValue(y);
        ASSERT_EQ(form.ViewModel().OffsetX(), x);
        ASSERT_EQ(form.ViewModel().OffsetY(), y);
        const QString out = QString::fromStdString((work / (std::string(name) + ".png")).string());
        ASSERT_TRUE(RunTool(QUILLON_CLI,
                        {"render", QString::fromStdString(folder), "5", out, "--as-canvas", "events", "--view",
                         QString::number(x), QString::number(y), "320", "240"},
                        errors))
            << errors;
        const QImage cli = QImage(out).convertToFormat(QImage::Format_RGB32);
        const QImage grab = Grab(*form.viewport());
        KeepPicture(grab, std::string(name) + "-grab");
        KeepPicture(cli, std::string(name) + "-cli");
        EXPECT_EQ(DifferentPixels(grab, cli), 0) << name;
        std::set<QRgb> colours;
        for (int py = 0; py < grab.height(); py += 4)
            for (int px = 0; px < grab.width(); px += 4)
                colours.insert(grab.pixel(px, py));
        EXPECT_GT(colours.size(), 10u) << "the chipset is drawn";
    };
    compare(0, 0, "cli-events");
    // After a scroll by 37 pixels (the strips redrawn on the old picture).
    const int x = static_cast<int>(std::min<std::int64_t>(37, form.ViewModel().MaxOffsetX()));
    const int y = static_cast<int>(std::min<std::int64_t>(37, form.ViewModel().MaxOffsetY()));
    compare(x, y, "cli-events-37");

    // Upper mode with the pen: the lower layer dimmed, the cursor frame in the upper layer's
    // colour where the mouse is; the routine's picture of that look everywhere else.
    form.SetMode(1);
    form.SetTool(2);
    QTest::mouseMove(form.viewport(), QPoint(100, 100));
    const QImage upper = Grab(*form.viewport());
    KeepPicture(upper, "cli-upper-pen");
    TOrlenBoard board;
    board.SetSize(320, 240);
    form.ViewModel().PaintView(board, MakeBounds(0, 0, 320, 240));
    const TRect cursor = form.Model().Cursor();
    const TPoint origin = form.ViewModel().CellOrigin(TPoint{cursor.Left, cursor.Top});
    const QRect frame(origin.X, origin.Y, 32, 32);
    const QImage routine = BoardPicture(board);
    int off = 0;
    for (int py = 0; py < 240; ++py)
        for (int px = 0; px < 320; ++px)
            if (!frame.contains(px, py) && upper.pixel(px, py) != routine.pixel(px, py))
                ++off;
    EXPECT_EQ(off, 0);
    EXPECT_NE(upper.pixel(origin.X + 1, origin.Y + 5), routine.pixel(origin.X + 1, origin.Y + 5));

    // The palette over the same chipset shows its cells as drawn, the selection framed.
    TFormChipSelector palette;
    palette.SetMap(&map, &chips);
    palette.show();
    palette.resize(palette.sizeHint().width(), 300);
    QApplication::processEvents();
    const QImage cells = ScreenGrab(*palette.viewport());
    KeepPicture(cells, "cli-palette");
    TOrlenBoard paletteBoard;
    DrawPalette(paletteBoard, chips, 0);
    const QImage expected = BoardPicture(paletteBoard);
    int differing = 0;
    for (int py = 32; py < std::min(cells.height(), 27 * 32); ++py)
        for (int px = 0; px < 192; ++px)
            if (cells.pixel(px, py) != expected.pixel(px, py))
                ++differing;
    EXPECT_EQ(differing, 0);
    std::filesystem::remove_all(work);
}

#endif
