// quillon-cli render: a map of a project folder drawn as the map viewer shows it, as a PNG file.
#include "app/cli/CliVerbs.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/Resources.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

namespace quillon::cli {

namespace {

constexpr const char* kRenderUsage =
    "usage: quillon-cli render FOLDER MAPID OUT.png [--zoom 1|2|4|8] [--frame N] [--layers lower,upper,events]";
// The largest picture the verb writes (about 64 million pixels).
constexpr std::int64_t kMaxRenderPixels = 8192LL * 8192LL;

bool ParseInt(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    value = std::stoi(text);
    return true;
}

bool ParseLayers(const std::string& text, TMapRenderOptions& options) {
    options.Lower = options.Upper = options.Events = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string layer = text.substr(start, end - start);
        if (layer == "lower")
            options.Lower = true;
        else if (layer == "upper")
            options.Upper = true;
        else if (layer == "events")
            options.Events = true;
        else
            return false;
        start = end + 1;
    }
    return true;
}

// The resource look-up of the project manager, as the graphics ask for it.
std::string FindImage(const std::string& kind, const std::string& name) {
    return FindResourceFile(name, kind, ImageExtensions);
}

}  // namespace

int VerbRender(const TArgs& args) {
    if (WantsCanvasRender(args))
        return RenderAsCanvas(args);
    if (args.size() < 3)
        return Fail("render", kRenderUsage);
    TMapRenderOptions options;
    int mapId = 0;
    if (!ParseInt(args[1], mapId) || mapId < 1 || mapId > 9999)
        return Fail(args[1], "not a map ID (1..9999)");
    for (std::size_t i = 3; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return Fail("render", kRenderUsage);
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        int number = 0;
        if (option == "--zoom") {
            if (!ParseInt(value, number) || (number != 1 && number != 2 && number != 4 && number != 8))
                return Fail(value, "the zoom is 1, 2, 4 or 8 (1/1 .. 1/8)");
            options.CellSize = 32 / number;
        } else if (option == "--frame") {
            if (!ParseInt(value, number))
                return Fail(value, "the frame is an animation counter of 0 or more");
            options.AnimCounter = number;
        } else if (option == "--layers") {
            if (!ParseLayers(value, options))
                return Fail(value, "the layers are a comma-separated list of lower, upper and events");
        } else {
            return Fail(option, kRenderUsage);
        }
    }

    const std::string folder = IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    const std::string mapFile = folder + MapFileName(mapId);
    try {
        SetProjectPath(folder);
        auto database = std::make_unique<TKelDataBase>();
        database->Load(folder);
        auto map = std::make_unique<TKelMap>();
        map->LoadFromFile(mapFile);
        map->ID = mapId;
        auto tree = std::make_unique<TKelMapTree>();
        if (options.Events && FileExists(folder + TKelMapTree::kFileName))
            tree->Load(folder);

        const std::int64_t width = static_cast<std::int64_t>(map->Width()) * options.CellSize;
        const std::int64_t height = static_cast<std::int64_t>(map->Height()) * options.CellSize;
        if (width < 1 || height < 1)
            return Fail(mapFile, "the map has no cells");
        if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxRenderPixels)
            return Fail(mapFile, "the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                                     " pixels; choose a smaller --zoom");

        // Drawn as in the editor: missing images leave blank sheets.
        TEditorModeScope editorMode(true);
        map->SetChipSetList(&database->ChipSet);
        map->ValidateChipSetId();
        const TKelChipSetItem* chipSet = database->ChipSet.FindByID(map->ChipSetId);
        TKelChipSetGraphic chips(FindImage);
        chips.SetChipSet(chipSet);
        if (!chipSet)
            std::fprintf(stderr, "quillon-cli: %s: chipset %d does not exist\n", mapFile.c_str(), map->ChipSetId);
        else if (!FileExists(FindImage("ChipSet", chipSet->FileName)))
            std::fprintf(stderr, "quillon-cli: %s: chipset image \"%s\" not found; its tiles are black\n",
                         mapFile.c_str(), chipSet->FileName.c_str());

        TKelCharSetGraphic charSets(FindImage);
        TStartPosMark marks;
        TMapEventLayer events(tree.get(), charSets, marks);
        if (options.Events)
            events.LoadCharSets(*map);
        TOrlenBoard board;
        RenderMap(board, *map, chips, options, &events);
        SavePicture(BoardToBitmap(board), args[2]);
    } catch (const std::exception& e) {
        return Fail(mapFile, e.what());
    }
    return 0;
}

}  // namespace quillon::cli
