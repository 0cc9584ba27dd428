// The PNG files that Debian's Go source package ships (its image test data and the PNG test suite):
// pictures that no one here wrote.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace realpng {

inline std::vector<std::filesystem::path> Files() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/share", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("go-", 0) != 0)
            continue;
        const auto images = entry.path() / "src" / "image";
        if (!std::filesystem::is_directory(images, error))
            continue;
        for (const auto& file : std::filesystem::recursive_directory_iterator(images, error))
            if (file.path().extension() == ".png")
                files.push_back(file.path());
    }
    return files;
}

}  // namespace realpng
