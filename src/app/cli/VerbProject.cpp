// Verbs on projects and their resources.
#include "app/cli/CliVerbs.h"

#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjectData.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/Resources.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace quillon::cli {

namespace {

// The resource kind folder spelled as the editor spells it, and its extension table.
bool ResolveKind(const std::string& name, std::string& kind, const TExtensionTable*& extensions) {
    for (const char* folder : TProjectData::kResourceFolders) {
        if (!SameTextNoCase(name, folder))
            continue;
        kind = folder;
        extensions = kind == "Music" ? &MusicExtensions
                   : kind == "Sound" ? &SoundExtensions
                   : kind == "Movie" ? &MovieExtensions
                                     : &ImageExtensions;
        return true;
    }
    return false;
}

std::string Absolute(const std::string& path) {
    return IncludeTrailingDelimiter(std::filesystem::absolute(path).lexically_normal().string());
}

}  // namespace

int VerbNewProject(const TArgs& args) {
    if (args.size() != 3)
        return Fail("new-project", "usage: quillon-cli new-project BASE FOLDER TITLE");
    const std::string base = Absolute(args[0]);
    const std::string& folder = args[1];
    if (folder.empty() || folder.find('/') != std::string::npos || folder == "." || folder == "..")
        return Fail(folder, "a project folder is a plain folder name");
    if (std::filesystem::exists(base + folder))
        return Fail(base + folder, "the folder exists already");
    // The editor's own settings stay as they are: this run keeps its settings in a scratch folder.
    const std::string scratch = MakeScratchFolder("quillon-cli-");
    ::setenv("QUILLON_CONFIG_DIR", scratch.c_str(), 1);
    ReopenSettingsStores();
    std::filesystem::create_directories(base + folder);
    const TProjectLock lock(base + folder);
    SetProjectBasePath(base);
    TProjectManager manager;
    TProjectData data;
    data.Attach(manager);
    try {
        manager.CreateProject(folder, Utf8ToCp932(args[2]));
    } catch (...) {
        DeleteFolderTree(scratch);
        throw;
    }
    manager.CloseProject();
    DeleteFolderTree(scratch);
    std::printf("%s%s\n", base.c_str(), folder.c_str());
    return 0;
}

int VerbResources(const TArgs& args) {
    if (args.size() != 2)
        return Fail("resources", "usage: quillon-cli resources FOLDER KIND");
    std::string kind;
    const TExtensionTable* extensions = nullptr;
    if (!ResolveKind(args[1], kind, extensions))
        return Fail(args[1], "not a resource kind\nusage: quillon-cli resources FOLDER KIND");
    SetProjectPath(Absolute(args[0]));
    std::vector<std::string> list;
    ListResources(list, kind, *extensions);
    for (const std::string& entry : list)
        std::printf("%s\n", Cp932ToUtf8(entry).c_str());
    return 0;
}

int VerbFind(const TArgs& args) {
    if (args.size() != 3)
        return Fail("find", "usage: quillon-cli find FOLDER KIND NAME");
    std::string kind;
    const TExtensionTable* extensions = nullptr;
    if (!ResolveKind(args[1], kind, extensions))
        return Fail(args[1], "not a resource kind\nusage: quillon-cli find FOLDER KIND NAME");
    SetProjectPath(Absolute(args[0]));
    const std::string found = LocateResourceFile(Utf8ToCp932(args[2]), kind, *extensions);
    if (found.empty()) {
        std::fprintf(stderr, "quillon-cli: find: no %s resource of that name\n", kind.c_str());
        return 1;
    }
    std::printf("%s\n", Cp932ToUtf8(found).c_str());
    return 0;
}

}  // namespace quillon::cli
