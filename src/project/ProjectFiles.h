// The data files of a project folder as a whole: which kind a file is, checking that every
// file loads, and loading and saving them all again.
#pragma once

#include <string>
#include <vector>

namespace quillon {

class TKelDataBase;
class TKelMapTree;

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
// short, maps the tree names without a file; and every temporary file an interrupted save left.
std::vector<TFileCheck> CheckProjectFolder(const std::string& folder);

// Removes the temporary files that killed saves, imports and copies of ours left in a project
// folder (ending in '/') and in its sub-folders one level down (the resource folders; links are
// not followed): see RemoveLeftTempFiles. Only for a project whose writers' lock is held.
// Answers the paths removed, relative to the folder.
std::vector<std::string> RemoveProjectTempFiles(const std::string& folder);

// Loads the database, the map tree and every map unit of a folder and saves each back in place,
// as the editor saves them (the save counters go up). Nothing is written unless every file
// loaded; raises the first load error with the file's name.
// Every file is written to a temporary file first; the project's files are replaced only when
// all were written, so a failure part way (a full disk) changes nothing. A damaged database is
// refused (EDamagedDataBase) unless replaceDamaged; then it is kept as "GMK_RT.kdb.damaged".
void ResaveProjectFolder(const std::string& folder, bool replaceDamaged = false);

// The editor's save of the database and the map tree together (either may be null): the
// database file, the maps' committed working copies and the tree file are all written to
// temporary files first and replace the project's files only when every one was written.
// Afterwards the working copies go and the tree's flags are cleared as by TKelMapTree::Save.
// Raises EFileError (or the load error of a working copy); on failure nothing in the project
// folder, the working folder or the tree has changed.
void SaveProjectTogether(const std::string& projectPath, TKelDataBase* database, TKelMapTree* tree);

}  // namespace quillon
