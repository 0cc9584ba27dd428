// Unsaved work after a crash. While the editor runs, its working folder holds a lock file naming
// the editor's process and the open project; an editor that ends normally removes the folder with
// it. At the next start, before the folder is wiped, a lock file whose process is gone tells that
// the editor did not end normally: the working copies it left (maps changed but not saved) are
// taken up and offered back when their project opens again.
#pragma once

#include "data/LD_Map.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class TKelMapTree;

// The lock file in the working folder.
inline constexpr const char* kWorkLockFile = "Editor.lock";
// What the working copies left by one crash may hold in all; copies beyond it are not taken up.
inline constexpr std::int64_t kLeftWorkLimit = 512ll * 1024 * 1024;

// The working folder's lock file of this editor: written when the editor starts and whenever a
// project opens or closes. Failures to write are ignored (recovery is then not offered).
class TWorkLock {
public:
    explicit TWorkLock(std::string workFolder) : mFolder(std::move(workFolder)) {}
    // "<pid>\n<project path>\n"; an empty path while no project is open.
    void Write(const std::string& projectPath) const;
    const std::string& Folder() const { return mFolder; }

private:
    std::string mFolder;  // ends in '/'
};

// The working copies an editor that did not end normally left.
struct TLeftWork {
    std::string ProjectPath;  // the project they belong to
    struct TCopy {
        std::int32_t Id = 0;
        std::string Bytes;
    };
    std::vector<TCopy> Maps;  // by ascending ID
};

// Looks into a working folder (ending in '/') before it is wiped: nothing when it holds no lock
// file, when the lock file's process still runs, or when no project was open.
std::optional<TLeftWork> FindLeftWork(const std::string& workFolder);

// The copies of `left` that the open project (its path and tree) can take back: its own, of
// maps its tree holds.
int RecoverableMaps(const TLeftWork& left, const std::string& projectPath, const TKelMapTree& tree);

// "Quillon did not close normally. Recover the unsaved changes of N maps?"
TFilledText RecoverQuestion(int maps);

// Puts the recoverable copies back as working copies of the open project and marks their
// items changed. A copy that does not load whole is discarded; the messages that name them are
// returned ("The unsaved changes of Map0003.kmu could not be read and are discarded.").
std::vector<TFilledText> RecoverLeftWork(const TLeftWork& left, const std::string& projectPath, TKelMapTree& tree);

}  // namespace quillon
