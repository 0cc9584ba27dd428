// quillon-cli render: a map of a project folder drawn as the map viewer shows it, as a PNG file.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/Catalog.h"
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/FileWriteStream.h"
#include "graphics/MapPicture.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/Resources.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon::cli {

namespace {

constexpr const char* kRenderUsage =
    "usage: quillon-cli render FOLDER MAPID OUT.png [--zoom 1|2|4|8] [--frame N] [--layers lower,upper,events]\n"
    "       quillon-cli render FOLDER --all-maps OUTFOLDER [options as above]";
// The largest picture the verb writes (about 64 million pixels).
constexpr std::int64_t kMaxRenderPixels = 8192LL * 8192LL;

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

// What one map's drawing needs from its project, loaded once and only read while drawing.
struct TRenderProject {
    std::string Folder;
    std::unique_ptr<TKelDataBase> Database;
    std::unique_ptr<TKelMapTree> Tree;
};

// Draws map `mapId` of the project into `outFile`; PNG files are drawn and written a band at a
// time on `threads` compressing threads. Returns the exit code; the summary line goes to `done`.
int RenderOneMap(const TRenderProject& project, int mapId, const std::string& outFile, const TMapRenderOptions& options,
                 int threads, std::string& done) {
    const std::string mapFile = project.Folder + MapFileName(mapId);
    try {
        // Read strictly, whatever the editor mode: a missing or damaged map is an error, not a
        // blank picture.
        auto map = std::make_unique<TKelMap>();
        {
            const std::string bytes = ReadWholeFile(mapFile);
            TByteViewStream stream(bytes);
            ReadSignature(stream, TKelMap::kSignature);
            map->LoadFromStream(stream);
        }
        map->ID = mapId;

        const std::int64_t width = static_cast<std::int64_t>(map->Width()) * options.CellSize;
        const std::int64_t height = static_cast<std::int64_t>(map->Height()) * options.CellSize;
        if (width < 1 || height < 1)
            return Fail(mapFile, "the map has no cells");
        if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxRenderPixels)
            return Fail(mapFile, "the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                                     " pixels; choose a smaller --zoom");

        map->SetChipSetList(&project.Database->ChipSet);
        map->ValidateChipSetId();
        const TKelChipSetItem* chipSet = project.Database->ChipSet.FindByID(map->ChipSetId);
        TKelChipSetGraphic chips(FindImage);
        chips.SetChipSet(chipSet);
        if (!chipSet)
            std::fprintf(stderr, "quillon-cli: %s: chipset %d does not exist\n", mapFile.c_str(), map->ChipSetId);
        else if (!FileExists(FindImage("ChipSet", chipSet->FileName)))
            std::fprintf(stderr, "quillon-cli: %s: chipset image \"%s\" not found; its tiles are black\n",
                         mapFile.c_str(), chipSet->FileName.c_str());

        TKelCharSetGraphic charSets(FindImage);
        TStartPosMark marks;
        TMapEventLayer events(project.Tree.get(), charSets, marks);
        if (options.Events)
            events.LoadCharSets(*map);
        if (PictureExtension(outFile) == ".png") {
            TFileWriteStream stream(outFile);
            TMapPictureOptions pictureOptions;
            pictureOptions.Png.Threads = threads;
            const TMapPictureInfo info = WriteMapPng(stream, *map, chips, options, &events, pictureOptions);
            stream.Commit();
            done = outFile + " (" + std::to_string(info.Width) + " x " + std::to_string(info.Height) + ", " +
                   (info.Indexed ? std::to_string(info.Colors) + " colours indexed" : std::string("truecolour")) + ")";
        } else {
            TOrlenBoard board;
            RenderMap(board, *map, chips, options, &events);
            SavePicture(BoardToBitmap(board), outFile);
            done = outFile;
        }
    } catch (const std::exception& e) {
        return Fail(mapFile, e.what());
    }
    return 0;
}

// The IDs of the map files of a project folder, in order.
std::vector<int> ProjectMapIds(const std::string& folder) {
    std::vector<int> ids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        int id = 0;
        if (name.size() == 11 && ReadNumberTo(name.substr(3, 4), id) && id >= 1 && MapFileName(id) == name &&
            entry.is_regular_file(error))
            ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace

int VerbRender(const TArgs& args) {
    if (WantsCanvasRender(args))
        return RenderAsCanvas(args);
    if (args.size() < 3)
        return Fail("render", kRenderUsage);
    TMapRenderOptions options;
    int mapId = 0;
    const bool allMaps = args[1] == "--all-maps";
    if (!allMaps && (!ReadNumberTo(args[1], mapId, 0) || mapId < 1 || mapId > 9999))
        return Fail(args[1], "not a map ID (1..9999)");
    for (std::size_t i = 3; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return Fail("render", kRenderUsage);
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        int number = 0;
        if (option == "--zoom") {
            if (!ReadNumberTo(value, number, 0) || (number != 1 && number != 2 && number != 4 && number != 8))
                return Fail(value, "the zoom is 1, 2, 4 or 8 (1/1 .. 1/8)");
            options.CellSize = 32 / number;
        } else if (option == "--frame") {
            if (!ReadNumberTo(value, number, 0))
                return Fail(value, "the frame is an animation counter of 0 or more");
            options.AnimCounter = number;
        } else if (option == "--layers") {
            if (!ParseLayers(value, options))
                return Fail(value, "the layers are a comma-separated list of lower, upper and events");
        } else {
            return Fail(option, kRenderUsage);
        }
    }

    TRenderProject project;
    project.Folder = IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    try {
        SetProjectPath(project.Folder);
        project.Database = std::make_unique<TKelDataBase>();
        project.Database->Load(project.Folder);
        project.Tree = std::make_unique<TKelMapTree>();
        if (options.Events && FileExists(project.Folder + TKelMapTree::kFileName))
            project.Tree->Load(project.Folder);
    } catch (const std::exception& e) {
        return Fail(project.Folder, e.what());
    }
    // The RTP folder is settled here, before any drawing thread looks a resource up: the first
    // look-up opens the settings stores and may store the folder found beside the program, and
    // that happens once, on this thread. The threads then only read it.
    (void)GetRtpPath();
    // Drawn as in the editor: missing images leave blank sheets.
    TEditorModeScope editorMode(true);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (!allMaps) {
        std::string done;
        return RenderOneMap(project, mapId, args[2], options, cores, done);
    }

    // Every map, as many at a time as there are cores, each written by one thread.
    const std::string outFolder = IncludeTrailingDelimiter(args[2]);
    std::error_code error;
    std::filesystem::create_directories(outFolder, error);
    if (!std::filesystem::is_directory(outFolder))
        return Fail(args[2], "cannot create the folder");
    const std::vector<int> ids = ProjectMapIds(project.Folder);
    if (ids.empty())
        return Fail(project.Folder, "the project has no maps");
    std::atomic<std::size_t> next{0};
    std::atomic<int> failed{0};
    std::mutex output;
    std::size_t finished = 0;
    const auto work = [&] {
        for (std::size_t i = next++; i < ids.size(); i = next++) {
            const std::string name = MapFileName(ids[i]);
            std::string done;
            const std::string outFile = outFolder + name.substr(0, name.size() - 4) + ".png";
            const int code = RenderOneMap(project, ids[i], outFile, options, 1, done);
            const std::lock_guard<std::mutex> lock(output);
            ++finished;
            if (code != 0) {
                ++failed;
                continue;
            }
            std::printf("[%zu/%zu] %s -> %s\n", finished, ids.size(), name.c_str(), done.c_str());
            std::fflush(stdout);
        }
    };
    std::vector<std::thread> workers;
    const int count = std::min<int>(cores, static_cast<int>(ids.size()));
    for (int i = 1; i < count; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    return failed != 0 ? 1 : 0;
}

}  // namespace quillon::cli
