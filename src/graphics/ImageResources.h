// Finding the image file of a resource (a name without folder and extension in a kind folder such
// as "ChipSet"), and loading it into a sheet. The project manager's look-up replaces
// FolderImageFinder once it exists; the graphics only see a TImageFinder.
#pragma once

#include "graphics/OrlenSheet.h"

#include <functional>
#include <string>
#include <vector>

namespace quillon {

// Kind folder and resource name → the file to load; the bare name when no file exists, an empty
// string for an empty name.
using TImageFinder = std::function<std::string(const std::string& kindFolder, const std::string& name)>;

// The image extensions in look-up order: the first that exists wins.
inline constexpr const char* kImageExtensions[] = {"bmp", "png", "zgf"};

// Looks in each folder in turn (a project, then the run-time package) for
// <folder>/<kind>/<name>.<extension>, extensions in kImageExtensions order, ignoring letter case in
// the kind folder and file names.
TImageFinder FolderImageFinder(std::vector<std::string> folders);

// Finds and loads a resource into the sheet with the sheet's own failure rules (TOrlenSheet::
// LoadFromFile): an empty name leaves a cleared sheet.
void LoadSheetResource(TOrlenSheet& sheet, const TImageFinder& find, const std::string& kindFolder,
                       const std::string& name, bool raiseErrors);

}  // namespace quillon
