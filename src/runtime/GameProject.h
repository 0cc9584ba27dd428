// The project a game plays: its folder, the database, the map tree and the resource look-up
// (the project folder first, then the run-time package). Map units are read from here as the
// game goes from map to map.
#pragma once

#include "graphics/ImageResources.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillon {
class TKelDataBase;
class TKelMapTree;
class TKelMap;
}  // namespace quillon

namespace quillon::runtime {

// The largest map the game takes (cells per side); a larger one counts as damaged.
inline constexpr int kMaxMapSide = 999;

class TGameProject {
public:
    // Reads the database and the map tree of the folder. On a missing or damaged file answers
    // null and sets error to "FILE: problem".
    static std::unique_ptr<TGameProject> Open(const std::string& folder, const std::string& rtpFolder,
                                              std::string& error);
    ~TGameProject();

    const std::string& Folder() const { return mFolder; }  // ends in a separator
    TKelDataBase& Database() { return *mDatabase; }
    const TKelDataBase& Database() const { return *mDatabase; }
    TKelMapTree& MapTree() { return *mTree; }
    const TImageFinder& Images() const { return mImages; }
    // The file of an image resource, or "" when neither the project nor the run-time package holds it.
    std::string FindImage(const std::string& kind, const std::string& name) const;

    // Reads map unit `id` strictly; on failure answers null with error "FILE: problem".
    std::unique_ptr<TKelMap> LoadMap(std::int32_t id, std::string& error) const;

private:
    TGameProject() = default;
    std::string mFolder;
    std::unique_ptr<TKelDataBase> mDatabase;
    std::unique_ptr<TKelMapTree> mTree;
    TImageFinder mImages;
};

}  // namespace quillon::runtime
