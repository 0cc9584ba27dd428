// The script verb: prints the event scripts of a project as the command lists show them.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/EventScript.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kScriptUsage =
    "usage: quillon-cli script render FOLDER MAPID EVENTID PAGE [--cp932]\n"
    "       quillon-cli script render-common FOLDER ID [--map MAPID] [--cp932]\n"
    "       quillon-cli script render-battle FOLDER TROOPID PAGE [--map MAPID] [--cp932]\n"
    "  one line per script line, closing line included, in UTF-8 (--cp932: the stored bytes)";

int Usage() {
    std::fprintf(stderr, "%s\n", kScriptUsage);
    return 1;
}

// What the project gives the converter: the database (reset when the project has none), the
// map tree (none when the project has none) and, when asked for, one map.
struct TProject {
    std::string Folder;
    std::unique_ptr<TKelDataBase> DataBase = std::make_unique<TKelDataBase>();
    std::unique_ptr<TKelMapTree> MapTree;
    std::unique_ptr<TKelMap> Map;
};

// Loads the database and the tree; false after reporting a file that cannot be read.
bool LoadProject(const std::string& folderArg, TProject& project) {
    project.Folder = IncludeTrailingDelimiter(std::filesystem::absolute(folderArg).lexically_normal().string());
    if (!std::filesystem::is_directory(project.Folder)) {
        Fail(folderArg, "not a folder");
        return false;
    }
    const std::string databaseFile = project.Folder + TKelDataBase::kFileName;
    if (FileExists(databaseFile)) {
        try {
            project.DataBase->LoadFromFile(databaseFile);
        } catch (const std::exception& e) {
            Fail(databaseFile, e.what());
            return false;
        }
    }
    const std::string treeFile = project.Folder + TKelMapTree::kFileName;
    if (FileExists(treeFile)) {
        // Read directly: opening a tree the editor's way would also clear its working copies.
        try {
            const std::string bytes = ReadWholeFile(treeFile);
            TByteViewStream stream(bytes);
            auto tree = std::make_unique<TKelMapTree>();
            tree->LoadTreeFromStream(stream);
            project.MapTree = std::move(tree);
        } catch (const std::exception& e) {
            Fail(treeFile, e.what());
            return false;
        }
    }
    return true;
}

// Loads map `id` of the project; false after reporting why it cannot.
bool LoadMap(TProject& project, std::int32_t id) {
    const std::string mapFile = project.Folder + MapFileName(id);
    if (id < 1 || !FileExists(mapFile)) {
        Fail(mapFile, "map " + std::to_string(id) + " does not exist");
        return false;
    }
    try {
        auto map = std::make_unique<TKelMap>();
        map->LoadFromProject(project.Folder, id);
        project.Map = std::move(map);
    } catch (const std::exception& e) {
        Fail(mapFile, e.what());
        return false;
    }
    return true;
}

// Prints the script; fails when its buffer could not be parsed whole or stdout cannot be written.
int PrintScript(const TEventScriptConverter& converter, const TKelBaseEventPageItem& owner, const std::string& where,
                bool cp932) {
    if (owner.ScriptDamaged())
        return Fail(where, "the script buffer cannot be parsed");
    std::string out;
    for (const std::string& line : RenderScript(converter, owner.Script)) {
        out += cp932 ? line : Cp932ToUtf8(line);
        out += '\n';
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        return Fail("stdout", "cannot be written");
    return 0;
}

}  // namespace

int VerbScript(const TArgs& args) {
    if (args.empty())
        return Usage();
    const std::string& mode = args[0];
    std::size_t positional = 0;
    if (mode == "render")
        positional = 4;
    else if (mode == "render-battle")
        positional = 3;
    else if (mode == "render-common")
        positional = 2;
    else
        return Usage();

    // FOLDER and the numbers, then the options.
    bool cp932 = false;
    std::optional<std::int32_t> mapOption;
    if (args.size() < 1 + positional)
        return Usage();
    std::vector<std::int32_t> numbers;
    for (std::size_t i = 2; i < 1 + positional; ++i) {
        const auto value = ReadNumber32(args[i]);
        if (!value)
            return Fail(args[i], "not a number");
        numbers.push_back(*value);
    }
    for (std::size_t i = 1 + positional; i < args.size(); ++i) {
        if (args[i] == "--cp932") {
            cp932 = true;
        } else if (args[i] == "--map" && mode != "render" && i + 1 < args.size()) {
            mapOption = ReadNumber32(args[++i]);
            if (!mapOption)
                return Fail(args[i], "not a map ID");
        } else {
            return Usage();
        }
    }

    TProject project;
    if (!LoadProject(args[1], project))
        return 1;
    TEventScriptConverter converter;
    converter.DataBase = project.DataBase.get();
    converter.MapTree = project.MapTree.get();

    if (mode == "render") {
        const std::int32_t mapId = numbers[0], eventId = numbers[1], pageId = numbers[2];
        if (!LoadMap(project, mapId))
            return 1;
        const std::string mapFile = project.Folder + MapFileName(mapId);
        const TKelEventItem* event = project.Map->Events.FindByID(eventId);
        if (event == nullptr)
            return Fail(mapFile, "event " + std::to_string(eventId) + " does not exist");
        const TKelEventPageItem* page = event->Pages.FindByID(pageId);
        if (page == nullptr)
            return Fail(mapFile, "event " + std::to_string(eventId) + " has no page " + std::to_string(pageId));
        converter.Map = project.Map.get();
        converter.EventId = eventId;
        converter.EventItem = event;
        return PrintScript(converter, *page, mapFile, cp932);
    }

    if (mapOption) {
        if (!LoadMap(project, *mapOption))
            return 1;
        converter.Map = project.Map.get();
    }
    const std::string databaseFile = project.Folder + TKelDataBase::kFileName;
    if (mode == "render-common") {
        const TKelCommonEventItem* common = project.DataBase->CommonEvent.FindByID(numbers[0]);
        if (common == nullptr)
            return Fail(databaseFile, "common event " + std::to_string(numbers[0]) + " does not exist");
        return PrintScript(converter, *common, databaseFile, cp932);
    }
    const TKelMonGroupItem* troop = project.DataBase->MonGroup.FindByID(numbers[0]);
    if (troop == nullptr)
        return Fail(databaseFile, "troop " + std::to_string(numbers[0]) + " does not exist");
    const TKelBattleEventPageItem* page = troop->Pages.FindByID(numbers[1]);
    if (page == nullptr)
        return Fail(databaseFile, "troop " + std::to_string(numbers[0]) + " has no battle page " +
                                      std::to_string(numbers[1]));
    converter.MonsterGroup = troop;
    return PrintScript(converter, *page, databaseFile, cp932);
}

}  // namespace quillon::cli
