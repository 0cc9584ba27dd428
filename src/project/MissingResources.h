// The resources a project names that can be found neither in the project folder nor in the
// run-time package: chipsets, character sets, faces, panoramas, music and sounds.
#pragma once

#include <string>
#include <vector>

namespace quillon {

struct TMissingResource {
    std::string Kind;   // resource folder: "ChipSet", "CharSet", "FaceSet", "Panorama", "Music", "Sound"
    std::string Name;   // as the data names it
    std::string Where;  // who names it, e.g. "map 2 event 5 page 1"
    bool operator==(const TMissingResource&) const = default;
};

// Loads the database, the map tree and every map of the tree from a project folder (ending in
// '/') and lists each named resource that cannot be found, once per kind and name (the first
// place that names it). The folder is taken as the open project while it looks.
std::vector<TMissingResource> FindMissingResources(const std::string& folder);

}  // namespace quillon
