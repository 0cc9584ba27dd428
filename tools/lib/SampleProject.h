// A sample project with something in every part of the data: every database section filled
// with values other than the defaults, a map tree with a root, several maps and an area, maps of
// different sizes with both layers painted, and events whose pages carry scripts and routes.
#pragma once

#include <string>

namespace quillon {

// Writes the project's data files into a folder (created when missing). Deterministic.
void MakeSampleProject(const std::string& folder, const std::string& title = "Sample Quest");

}  // namespace quillon
