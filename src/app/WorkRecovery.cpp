#include "app/WorkRecovery.h"

#include "data/EditorMode.h"
#include "data/LD_MapTree.h"
#include "platform/FileUtils.h"
#include "project/ProjectFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace quillon {

namespace {

// The lock file's process runs (another editor of this user still uses the folder).
bool ProcessRuns(long pid) {
    if (pid <= 0)
        return false;
    if (pid == static_cast<long>(::getpid()))
        return false;  // a number reused by this very process: the writer is gone
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::int32_t MapIdOf(const std::string& name) {
    return static_cast<std::int32_t>(std::strtol(name.substr(3, 4).c_str(), nullptr, 10));
}

}  // namespace

void TWorkLock::Write(const std::string& projectPath) const {
    try {
        WriteFileAtomic(mFolder + kWorkLockFile, std::to_string(::getpid()) + "\n" + projectPath + "\n");
    } catch (const std::exception&) {
    }
}

std::optional<TLeftWork> FindLeftWork(const std::string& workFolder) {
    std::string lock;
    try {
        lock = ReadWholeFile(workFolder + kWorkLockFile, 64 * 1024);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const std::size_t line = lock.find('\n');
    if (line == std::string::npos)
        return std::nullopt;
    const long pid = std::strtol(lock.substr(0, line).c_str(), nullptr, 10);
    std::string project = lock.substr(line + 1);
    while (!project.empty() && (project.back() == '\n' || project.back() == '\r'))
        project.pop_back();
    if (ProcessRuns(pid) || project.empty())
        return std::nullopt;

    TLeftWork left;
    left.ProjectPath = project;
    std::int64_t taken = 0;
    for (const std::string& name : ListMapUnitFiles(workFolder)) {
        try {
            std::string bytes = ReadWholeFile(workFolder + name);
            if (taken + static_cast<std::int64_t>(bytes.size()) > kLeftWorkLimit)
                break;
            taken += static_cast<std::int64_t>(bytes.size());
            left.Maps.push_back({MapIdOf(name), std::move(bytes)});
        } catch (const std::exception&) {
            // A copy that cannot be read is no work to offer.
        }
    }
    if (left.Maps.empty())
        return std::nullopt;
    return left;
}

int RecoverableMaps(const TLeftWork& left, const std::string& projectPath, const TKelMapTree& tree) {
    if (left.ProjectPath != projectPath)
        return 0;
    int count = 0;
    for (const TLeftWork::TCopy& copy : left.Maps) {
        const TKelMapTreeItem* item = tree.FindByID(copy.Id);
        if (item != nullptr && item->IsMap())
            ++count;
    }
    return count;
}

TFilledText RecoverQuestion(int maps) {
    return {"Quillon did not close normally. Recover the unsaved changes of %1 maps?", {std::to_string(maps)}};
}

std::vector<TFilledText> RecoverLeftWork(const TLeftWork& left, const std::string& projectPath, TKelMapTree& tree) {
    std::vector<TFilledText> discarded;
    if (left.ProjectPath != projectPath)
        return discarded;
    const std::string folder = MapWorkFolder();
    for (const TLeftWork::TCopy& copy : left.Maps) {
        TKelMapTreeItem* item = tree.FindByID(copy.Id);
        if (item == nullptr || !item->IsMap())
            continue;
        const std::string file = folder + MapFileName(copy.Id);
        TKelMap probe;
        try {
            WriteFileAtomic(file, copy.Bytes);
            TEditorModeScope editor(true);
            probe.LoadFromFile(file);
        } catch (const std::exception&) {
        }
        if (!FileExists(file) || probe.LoadReport().Damaged) {
            RemoveFileIfExists(file);
            discarded.push_back({"The unsaved changes of %1 could not be read and are discarded.", {MapFileName(copy.Id)}});
            continue;
        }
        item->Modified = true;
    }
    return discarded;
}

}  // namespace quillon
