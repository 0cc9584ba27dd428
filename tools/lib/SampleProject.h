// A sample project with something in every part of the data: every database section filled
// with values other than the defaults, a map tree with a root, several maps and an area, maps of
// different sizes with both layers painted, and events whose pages carry scripts and routes.
#pragma once

#include <string>

namespace quillon {

// Creates the project in a folder that does not exist yet, from the template files beside the
// editor (GetAppPath), then adds the sample content. Deterministic. Raises on failure.
void MakeSampleProject(const std::string& folder, const std::string& title = "Sample Quest");

}  // namespace quillon
