// The material manager's verbs: import, export and delete the files of a project's resource
// folders as the material manager window does.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "graphics/GraphicsTypes.h"
#include "platform/TextCodec.h"
#include "project/MaterialBase.h"
#include "project/PathUtils.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace quillon::cli {

namespace {

// Opens the model on a project folder and kind; nullptr (after the message) when the kind is
// not one.
std::unique_ptr<TMaterialBaseModel> OpenMaterial(const std::string& folder, const std::string& kindName, int& status,
                                                 const char* usage) {
    const int kind = MaterialKindOfName(kindName);
    if (kind < 0) {
        status = Fail(kindName, std::string("not a resource kind\n") + usage);
        return nullptr;
    }
    const std::string project =
        IncludeTrailingDelimiter(std::filesystem::absolute(folder).lexically_normal().string());
    if (!FolderExists(project)) {
        status = Fail(folder, "no such folder");
        return nullptr;
    }
    SetProjectPath(project);
    auto model = std::make_unique<TMaterialBaseModel>(project);
    model->SelectKind(kind);
    return model;
}

}  // namespace

int VerbImport(const TArgs& args) {
    static const char* const kUsage =
        "usage: quillon-cli import FOLDER KIND FILE [--format png|zgf] [--transparent N]";
    std::vector<std::string> positional;
    int format = 0;
    int transparent = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            if (value != "png" && value != "zgf")
                return Fail(value, std::string("not a format\n") + kUsage);
            format = value == "zgf" ? 1 : 0;
        } else if (args[i] == "--transparent" && i + 1 < args.size()) {
            if (!ReadNumberTo(args[++i], transparent, 0, 255))
                return Fail(args[i], std::string("not a palette index 0..255\n") + kUsage);
        } else if (args[i].rfind("--", 0) == 0) {
            return Fail(args[i], std::string("unknown option\n") + kUsage);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 3)
        return Fail("import", kUsage);
    int status = 0;
    const auto model = OpenMaterial(positional[0], positional[1], status, kUsage);
    if (!model)
        return status;
    const TProjectLock lock(ProjectPath());
    model->SetImportFormat(format);
    const TMaterialBaseModel::TPicker picker = [transparent](TBitmap& picture) -> std::optional<int> {
        SetTransparentIndex(picture, transparent);
        return transparent;
    };
    std::optional<TImportResult> result;
    try {
        result = model->Import(positional[2], picker);
    } catch (const EMaterialRefused& e) {
        return Fail(positional[2], e.what());
    } catch (const EInvalidGraphic& e) {
        return Fail(positional[2], e.what());
    }
    if (!result)
        return Fail(positional[2], "nothing imported");
    std::printf("%s/%s", MaterialKindName(model->Kind()), result->FileName.c_str());
    if (result->Width > 0)
        std::printf(" %dx%d", result->Width, result->Height);
    if (result->Transparent >= 0)
        std::printf(" transparent %d", result->Transparent);
    std::printf("\n");
    return 0;
}

int VerbExport(const TArgs& args) {
    static const char* const kUsage = "usage: quillon-cli export FOLDER KIND NAME OUT";
    if (args.size() != 4)
        return Fail("export", kUsage);
    int status = 0;
    const auto model = OpenMaterial(args[0], args[1], status, kUsage);
    if (!model)
        return status;
    const std::string name = Utf8ToCp932(args[2]);
    model->ExportResource(name, args[3]);
    std::printf("%s\n", args[3].c_str());
    return 0;
}

int VerbDelete(const TArgs& args) {
    static const char* const kUsage = "usage: quillon-cli delete FOLDER KIND NAME";
    if (args.size() != 3)
        return Fail("delete", kUsage);
    int status = 0;
    const auto model = OpenMaterial(args[0], args[1], status, kUsage);
    if (!model)
        return status;
    const TProjectLock lock(ProjectPath());
    std::string deleted;
    switch (model->DeleteName(Utf8ToCp932(args[2]), &deleted)) {
    case TMaterialBaseModel::TDeleteResult::Deleted:
        std::printf("deleted %s/%s\n", MaterialKindName(model->Kind()),
                    std::filesystem::path(deleted).filename().string().c_str());
        return 0;
    case TMaterialBaseModel::TDeleteResult::Failed: return Fail(args[2], kCantDeleteMessage);
    default:
        std::printf("refused: no file of that name in the project's %s folder\n", MaterialKindName(model->Kind()));
        return 1;
    }
}

}  // namespace quillon::cli
