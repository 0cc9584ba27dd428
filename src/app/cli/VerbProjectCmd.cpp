// quillon-cli project: the project commands (new, rename, delete, list) under a base folder,
// through the models of the project dialogs.
#include "app/cli/CliVerbs.h"

#include "platform/Cp932Limit.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjNew.h"
#include "project/ProjOpen.h"
#include "project/ProjRename.h"
#include "project/ProjectData.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace quillon::cli {

namespace {

constexpr const char* kProjectUsage =
    "usage: quillon-cli project BASE new NAME TITLE | rename OLD NEW [TITLE] | delete NAME | list";

// Message boxes of the models: errors are kept to be printed, questions answered Yes.
class TCliBox final : public IMessageBox {
public:
    std::string LastError;
    TCliBox() { mPrevious = SetMessageBox(this); }
    ~TCliBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int flags, const void*) override {
        if ((flags & 0x0F) == mbOk)
            LastError = text;
        return (flags & 0x0F) == mbOk ? mrOk : mrYes;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

int Refused(const std::string& why) {
    std::printf("refused: %s\n", why.c_str());
    return 1;
}

bool TitleBytes(const std::string& utf8, std::string& bytes, std::string& why) {
    bytes = Utf8ToCp932(utf8);
    if (Cp932ToUtf8(bytes) != utf8) {
        why = "the title holds characters the editor cannot store";
        return false;
    }
    if (bytes.size() > kGameTitleMaxBytes) {
        why = "a game title holds at most 40 bytes";
        return false;
    }
    return true;
}

// Fills a freshly made folder with a new project, the editor's settings left alone.
void FillProject(const std::string& base, const std::string& folder, const std::string& title) {
    const std::string scratch = GetTempFolder() + "quillon-cli-" + std::to_string(::getpid());
    ::setenv("QUILLON_CONFIG_DIR", scratch.c_str(), 1);
    ReopenSettingsStores();
    SetProjectBasePath(base);
    TProjectManager manager;
    TProjectData data;
    data.Attach(manager);
    try {
        manager.CreateProject(folder, title);
    } catch (...) {
        DeleteFolderTree(scratch);
        throw;
    }
    manager.CloseProject();
    DeleteFolderTree(scratch);
}

}  // namespace

int VerbProjectCommand(const TArgs& args) {
    if (args.size() < 2)
        return Fail("project", kProjectUsage);
    const std::string base = IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    if (!FolderExists(base))
        return Fail(base, "no such folder");
    const std::string& command = args[1];
    TCliBox box;

    if (command == "list" && args.size() == 2) {
        for (const TProjectRow& row : ListProjects(base))
            std::printf("%s\t%s\n", row.FolderName.c_str(), Cp932ToUtf8(row.GameTitle).c_str());
        return 0;
    }
    if (command == "new" && args.size() == 4) {
        TProjectNewModel model;
        model.BasePath = base;
        model.FolderName = args[2];
        std::string why;
        if (!TitleBytes(args[3], model.GameTitle, why))
            return Refused(why);
        if (Utf8Length(model.FolderName) > kProjectFolderMaxChars)
            return Refused("a folder name holds at most 40 characters");
        if (!model.Ok())
            return Refused(box.LastError);
        FillProject(base, model.FolderName, model.GameTitle);
        std::printf("created %s%s \"%s\"\n", base.c_str(), model.FolderName.c_str(), args[3].c_str());
        return 0;
    }
    if (command == "rename" && (args.size() == 4 || args.size() == 5)) {
        const std::string& oldName = args[2];
        if (HasForbiddenFolderChar(oldName) || oldName == "." || oldName == ".." || !FolderExists(base + oldName))
            return Refused("there is no folder " + base + oldName);
        TProjectRenameModel model;
        model.BasePath = base;
        model.Show(oldName, ReadGameTitle(base + oldName + "/"));
        model.FolderName = args[3];
        std::string why;
        if (args.size() == 5 && !TitleBytes(args[4], model.GameTitle, why))
            return Refused(why);
        if (Utf8Length(model.FolderName) > kProjectFolderMaxChars)
            return Refused("a folder name holds at most 40 characters");
        if (!model.Ok())
            return Refused(box.LastError);
        std::printf("renamed %s to %s \"%s\"\n", oldName.c_str(), model.FolderName.c_str(),
                    Cp932ToUtf8(model.GameTitle).c_str());
        return 0;
    }
    if (command == "delete" && args.size() == 3) {
        const std::string& name = args[2];
        bool listed = false;
        for (const TProjectRow& row : ListProjects(base))
            listed = listed || row.FolderName == name;
        if (!listed)
            return Refused(name + " is not a project under " + base);
        try {
            if (!DeleteProject(base, name))
                return Refused(base + name + " could not be deleted whole");
        } catch (const EProjectLocked& e) {
            return Refused(e.what());
        }
        std::printf("deleted %s\n", name.c_str());
        return 0;
    }
    return Fail("project", kProjectUsage);
}

}  // namespace quillon::cli
