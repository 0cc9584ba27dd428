// Verbs on data files and project folders.
#include "app/cli/CliVerbs.h"
#include "app/cli/PageVerb.h"

#include "data/KelDump.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/MissingResources.h"
#include "project/ProjectLock.h"
#include "project/ProjectFiles.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

std::string FolderPath(const std::string& path) { return IncludeTrailingDelimiter(path); }

}  // namespace

int VerbDump(const TArgs& args) {
    if (args.size() != 1)
        return Fail("dump", "usage: quillon-cli dump FILE");
    const std::string& path = args[0];
    const std::string bytes = ReadWholeFile(path);
    TByteViewStream stream(bytes);
    TJsonDump dump(stdout);
    switch (DetectDataFileKind(bytes)) {
    case TDataFileKind::DataBase: {
        auto database = std::make_unique<TKelDataBase>();
        database->LoadFromStream(stream);
        dump.DataBase(*database);
        break;
    }
    case TDataFileKind::MapTree: {
        TKelMapTree tree;
        tree.LoadTreeFromStream(stream);
        dump.MapTree(tree);
        break;
    }
    case TDataFileKind::MapUnit: {
        auto map = std::make_unique<TKelMap>();
        map->LoadFromFile(path);
        dump.Map(*map);
        break;
    }
    case TDataFileKind::Unknown:
        return Fail(path, "not a database, map tree or map unit file");
    }
    dump.Flush();
    return 0;
}

int VerbNewDatabase(const TArgs& args) {
    if (args.size() != 1)
        return Fail("new-database", "usage: quillon-cli new-database FILE");
    const TProjectLock lock = LockForWriting(args[0]);
    auto database = std::make_unique<TKelDataBase>();
    database->SaveToFile(args[0]);
    return 0;
}

int VerbResave(const TArgs& args) {
    if (args.size() != 1)
        return Fail("resave", "usage: quillon-cli resave FILE|FOLDER");
    const std::string& path = args[0];
    const TProjectLock lock = LockForWriting(path);
    if (FolderExists(path)) {
        ResaveProjectFolder(FolderPath(path), ReplaceDamagedAllowed());
        return 0;
    }
    // An unreadable file is reported and never overwritten.
    const std::string bytes = ReadWholeFile(path);
    switch (DetectDataFileKind(bytes)) {
    case TDataFileKind::DataBase: {
        auto database = std::make_unique<TKelDataBase>();
        LoadDataBaseToWrite(*database, path);
        database->SaveToFile(path);
        return 0;
    }
    case TDataFileKind::MapTree: {
        TKelMapTree tree;
        TByteViewStream stream(bytes);
        tree.LoadTreeFromStream(stream);
        TMemoryStream image;
        tree.SaveTreeToStream(image);
        WriteFileAtomic(path, image.Bytes());
        return 0;
    }
    case TDataFileKind::MapUnit: {
        auto map = std::make_unique<TKelMap>();
        map->LoadFromFile(path);
        if (map->LoadReport().Damaged)
            return Fail(path, DescribeMapDamage(path, map->LoadReport()).Text());
        map->SaveToFile(path);
        return 0;
    }
    case TDataFileKind::Unknown:
        break;
    }
    return Fail(path, "not a database, map tree or map unit file");
}

int VerbCheck(const TArgs& args) {
    if (args.size() != 1)
        return Fail("check", "usage: quillon-cli check FOLDER");
    if (!FolderExists(args[0]))
        return Fail(args[0], "no such folder");
    const std::vector<TFileCheck> report = CheckProjectFolder(FolderPath(args[0]));
    int failed = 0;
    for (const TFileCheck& file : report) {
        if (file.Problems.empty()) {
            std::printf("%s: ok\n", file.File.c_str());
            continue;
        }
        ++failed;
        for (const std::string& problem : file.Problems)
            std::printf("%s: %s\n", file.File.c_str(), problem.c_str());
    }
    std::printf("%d files, %d with problems\n", static_cast<int>(report.size()), failed);
    const std::vector<TMissingResource> missing = FindMissingResources(FolderPath(args[0]));
    for (const TMissingResource& resource : missing)
        std::printf("missing %s \"%s\" (%s)\n", resource.Kind.c_str(), resource.Name.c_str(), resource.Where.c_str());
    std::printf("%d resources missing\n", static_cast<int>(missing.size()));
    return failed || !missing.empty() ? 1 : 0;
}

}  // namespace quillon::cli

namespace quillon::cli {

int VerbSummary(const TArgs& args) {
    if (args.size() != 1)
        return Fail("summary", "usage: quillon-cli summary FOLDER");
    const std::string folder = FolderPath(args[0]);
    auto db = std::make_unique<TKelDataBase>();
    db->LoadFromFile(folder + TKelDataBase::kFileName);
    std::printf("Database:");
    for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n) {
        const TKelDataBase::TSection section = db->Section(n);
        if (section.List)
            std::printf(" %s %d%s", section.Name, section.List->Count(), n < TKelDataBase::kLastSection ? "," : "");
    }
    std::printf("\n");
    TKelMapTree tree;
    const std::string bytes = ReadWholeFile(folder + TKelMapTree::kFileName);
    TByteViewStream stream(bytes);
    tree.LoadTreeFromStream(stream);
    std::printf("Map tree:\n");
    for (const TKelMapTreeNode& node : tree.WalkOut()) {
        const TKelMapTreeItem* item = tree.FindByID(node.Id);
        if (!item)
            continue;
        static const char* const kKinds[] = {"project", "map", "area"};
        // Indentation stops growing at kSummaryIndentLevels, so that the output stays linear in
        // the tree's size however deep it is; deeper nodes name their level.
        constexpr int kSummaryIndentLevels = 32;
        std::printf("  %*s", 2 * std::min(node.Level, kSummaryIndentLevels), "");
        if (node.Level > kSummaryIndentLevels)
            std::printf("[level %d] ", node.Level);
        std::printf("%s (%s %.4d)", Cp932ToUtf8(item->Name).c_str(), kKinds[item->Kind <= 2 ? item->Kind : 1], item->ID);
        if (item->IsMap()) {
            auto map = std::make_unique<TKelMap>();
            try {
                map->LoadFromFile(folder + "Map" + FormatIdName(item->ID, "") + ".kmu");
                std::printf(": %d x %d, chipset %d, %d events", map->Width(), map->Height(), map->ChipSetId,
                            map->Events.Count());
            } catch (const std::exception& error) {
                std::printf(": %s", error.what());
            }
        }
        std::printf("\n");
    }
    return 0;
}

}  // namespace quillon::cli
