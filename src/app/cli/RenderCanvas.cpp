// quillon-cli render ... --as-canvas: the picture the map canvas shows for a mode and a tool,
// drawn by the canvas's own routine.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "mapedit/MapEditor.h"
#include "platform/FileUtils.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/Resources.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kCanvasUsage =
    "usage: quillon-cli render FOLDER MAPID OUT.png --as-canvas lower|upper|events\n"
    "         [--tool select|zoom|pen|rect|ellipse|fill] [--zoom 1|2|4|8] [--view X Y W H]\n"
    "  --tool   the canvas's tool (pen when not given); drawing tools dim the other layer\n"
    "  --view   the view's offset and size in pixels at the zoom (the whole map when not given)";
constexpr std::int64_t kMaxCanvasPixels = 8192LL * 8192LL;

std::string FindImage(const std::string& kind, const std::string& name) {
    return FindResourceFile(name, kind, ImageExtensions);
}

}  // namespace

bool WantsCanvasRender(const TArgs& args) {
    for (const std::string& arg : args)
        if (arg == "--as-canvas")
            return true;
    return false;
}

int RenderAsCanvas(const TArgs& args) {
    if (args.size() < 3)
        return Fail("render", kCanvasUsage);
    const auto mapId = ReadNumber(args[1], 1, 9999);
    if (!mapId)
        return Fail(args[1], "not a map ID (1..9999)");
    TKelEditMode mode = TKelEditMode::Lower;
    TKelEditTool tool = TKelEditTool::Pen;
    int cellSize = 32;
    std::optional<std::array<std::int64_t, 4>> view;
    for (std::size_t i = 3; i < args.size();) {
        const std::string& option = args[i];
        const std::size_t values = option == "--view" ? 4 : 1;
        if (i + values >= args.size())
            return Fail(option, std::string("needs a value\n") + kCanvasUsage);
        const std::string& value = args[i + 1];
        if (option == "--as-canvas") {
            if (value == "lower")
                mode = TKelEditMode::Lower;
            else if (value == "upper")
                mode = TKelEditMode::Upper;
            else if (value == "events")
                mode = TKelEditMode::Events;
            else
                return Fail(value, "the canvas mode is lower, upper or events");
        } else if (option == "--tool") {
            static const char* const kTools[] = {"select", "zoom", "pen", "rect", "ellipse", "fill"};
            const auto found = std::find(std::begin(kTools), std::end(kTools), value);
            if (found == std::end(kTools))
                return Fail(value, "the tool is select, zoom, pen, rect, ellipse or fill");
            tool = static_cast<TKelEditTool>(found - std::begin(kTools));
        } else if (option == "--zoom") {
            const auto zoom = ReadNumber(value, 1, 8);
            if (!zoom || (*zoom != 1 && *zoom != 2 && *zoom != 4 && *zoom != 8))
                return Fail(value, "the zoom is 1, 2, 4 or 8 (1/1 .. 1/8)");
            cellSize = static_cast<int>(32 / *zoom);
        } else if (option == "--view") {
            std::array<std::int64_t, 4> numbers{};
            for (std::size_t n = 0; n < 4; ++n) {
                const auto number = ReadNumber(args[i + 1 + n], 0, n < 2 ? 1LL << 40 : kMaxPictureSide);
                if (!number || (n >= 2 && *number < 1))
                    return Fail(args[i + 1 + n], "the view is X Y W H in pixels (W and H 1.." +
                                                     std::to_string(kMaxPictureSide) + ")");
                numbers[n] = *number;
            }
            view = numbers;
        } else {
            return Fail(option, kCanvasUsage);
        }
        i += 1 + values;
    }

    const std::string folder = IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    const std::string mapFile = folder + MapFileName(static_cast<std::int32_t>(*mapId));
    try {
        SetProjectPath(folder);
        auto database = std::make_unique<TKelDataBase>();
        database->Load(folder);
        auto map = std::make_unique<TKelMap>();
        map->LoadFromFile(mapFile);
        map->ID = static_cast<std::int32_t>(*mapId);
        auto tree = std::make_unique<TKelMapTree>();
        if (FileExists(folder + TKelMapTree::kFileName))
            tree->Load(folder);
        // The map is the tree's current item, unless an area of it is: then its frame shows.
        const TKelMapTreeItem* current = tree->FindByID(tree->CurrentMapId);
        if (!current || current->Kind != TKelMapTreeItem::mkArea || current->ParentId != map->ID)
            tree->CurrentMapId = map->ID;

        const std::int64_t mapWidth = static_cast<std::int64_t>(map->Width()) * cellSize;
        const std::int64_t mapHeight = static_cast<std::int64_t>(map->Height()) * cellSize;
        if (mapWidth < 1 || mapHeight < 1)
            return Fail(mapFile, "the map has no cells");
        const std::int64_t width = std::min(view ? (*view)[2] : mapWidth, mapWidth);
        const std::int64_t height = std::min(view ? (*view)[3] : mapHeight, mapHeight);
        if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxCanvasPixels)
            return Fail(mapFile, "the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                                     " pixels; choose a smaller --zoom or a --view");

        TEditorModeScope editorMode(true);
        map->SetChipSetList(&database->ChipSet);
        map->ValidateChipSetId();
        const TKelChipSetItem* chipSet = database->ChipSet.FindByID(map->ChipSetId);
        TKelChipSetGraphic chips(FindImage);
        chips.SetChipSet(chipSet);
        if (!chipSet)
            std::fprintf(stderr, "quillon-cli: %s: chipset %d does not exist\n", mapFile.c_str(), map->ChipSetId);
        TKelCharSetGraphic charSets(FindImage);

        TKelMapEditorModel canvas;
        canvas.SetMapTree(tree.get());
        canvas.SetGraphics(&chips, &charSets);
        canvas.SetImageFinder(FindImage);
        canvas.SetClientSize(static_cast<int>(width), static_cast<int>(height));
        canvas.SetCellSize(cellSize);
        canvas.KeepScroll = true;
        canvas.LoadMap(map.get());
        canvas.SetMode(mode);
        canvas.SetTool(tool);
        canvas.ScrollTo(view ? (*view)[0] : 0, view ? (*view)[1] : 0);
        canvas.EventMap().LoadCharSets(*map);

        TOrlenBoard board;
        board.SetSize(canvas.ViewWidth(), canvas.ViewHeight());
        canvas.PaintView(board, MakeBounds(0, 0, board.Width(), board.Height()));
        SavePicture(BoardToBitmap(board), args[2]);
    } catch (const std::exception& e) {
        return Fail(mapFile, e.what());
    }
    return 0;
}

}  // namespace quillon::cli
