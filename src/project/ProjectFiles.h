// The data files of a project folder as a whole: which kind a file is, checking that every
// file loads, and loading and saving them all again.
#pragma once

#include <string>
#include <vector>

namespace quillon {

enum class TDataFileKind { DataBase, MapTree, MapUnit, Unknown };

// The kind of a data file by the signature its bytes begin with.
TDataFileKind DetectDataFileKind(const std::string& bytes);

// The map unit files of a folder ("Map" + four digits + ".kmu", any letter case), by name.
std::vector<std::string> ListMapUnitFiles(const std::string& folder);

struct TFileCheck {
    std::string File;                   // name within the folder
    std::vector<std::string> Problems;  // empty when the file loaded cleanly
};

// Loads the database, the map tree and every map unit of a folder (ending in '/') and reports,
// per file, what could not be read: load errors, event scripts and move routes that were cut
// short, maps the tree names without a file.
std::vector<TFileCheck> CheckProjectFolder(const std::string& folder);

// Loads the database, the map tree and every map unit of a folder and saves each back in place,
// as the editor saves them (the save counters go up). Nothing is written unless every file
// loaded; raises the first load error with the file's name.
void ResaveProjectFolder(const std::string& folder);

}  // namespace quillon
