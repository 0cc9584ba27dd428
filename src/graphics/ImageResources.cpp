#include "graphics/ImageResources.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The entry of folder whose name equals name regardless of letter case ("" when none).
std::filesystem::path FindEntry(const std::filesystem::path& folder, const std::string& name, bool wantFolder) {
    std::error_code error;
    const std::string wanted = Lower(name);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (Lower(entry.path().filename().string()) != wanted)
            continue;
        if (wantFolder ? entry.is_directory(error) : entry.is_regular_file(error))
            return entry.path();
    }
    return {};
}

}  // namespace

TImageFinder FolderImageFinder(std::vector<std::string> folders) {
    return [folders = std::move(folders)](const std::string& kindFolder, const std::string& name) -> std::string {
        if (name.empty())
            return {};
        for (const std::string& folder : folders) {
            const std::filesystem::path kind = FindEntry(folder, kindFolder, true);
            if (kind.empty())
                continue;
            for (const char* extension : kImageExtensions) {
                const std::filesystem::path file = FindEntry(kind, name + "." + extension, false);
                if (!file.empty())
                    return file.string();
            }
        }
        return name;
    };
}

void LoadSheetResource(TOrlenSheet& sheet, const TImageFinder& find, const std::string& kindFolder,
                       const std::string& name, bool raiseErrors) {
    sheet.LoadFromFile(find ? find(kindFolder, name) : std::string(), raiseErrors);
}

}  // namespace quillon
