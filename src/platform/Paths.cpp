#include "platform/Paths.h"

#include "platform/FileUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

std::string IncludeTrailingDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == '/')
        return path;
    return path + '/';
}

std::string GetTempFolder() {
    const char* folder = std::getenv("TMPDIR");
    if (folder == nullptr || *folder == '\0')
        return "/tmp/";
    return IncludeTrailingDelimiter(folder);
}

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw EFileError("Unsafe working folder \"" + path + "\": " + why);
}

std::string WithoutTrailingDelimiter(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

void CheckPrivateFolder(const std::string& path) {
    const std::string folder = WithoutTrailingDelimiter(path);
    // O_NOFOLLOW refuses a link in place of the folder itself; the checks run on what was opened.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        if (::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            Refuse(folder, "it is a symbolic link");
        if (error == ENOTDIR)
            Refuse(folder, "it is not a folder");
        Refuse(folder, std::strerror(error));
    }
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    const int error = errno;
    if (!statted) {
        ::close(fd);
        Refuse(folder, std::strerror(error));
    }
    if (st.st_uid != ::geteuid()) {
        ::close(fd);
        Refuse(folder, "it belongs to another user");
    }
    if ((st.st_mode & 077) != 0 && ::fchmod(fd, st.st_mode & 07700) != 0) {
        const int chmodError = errno;
        ::close(fd);
        Refuse(folder, std::string("it is open to other users and cannot be closed: ") + std::strerror(chmodError));
    }
    ::close(fd);
}

namespace {

std::string UsualWorkFolderName(const std::string& tempFolder) {
    return IncludeTrailingDelimiter(tempFolder) + "GMK_TEMP-" + std::to_string(::geteuid());
}

// Makes the folder (mode 0700) when missing and checks it; answers it with its '/'.
std::string MakePrivateFolder(const std::string& path) {
    const std::string folder = WithoutTrailingDelimiter(path);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw EFileError("Cannot create \"" + folder + "\": " + std::strerror(errno));
    CheckPrivateFolder(folder);
    return folder + "/";
}

struct TChosenFolder {
    std::mutex Mutex;
    std::string Folder;
    std::string LockFile;
};

// A folder of this user's that nobody else may enter; looked at, never changed.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(WithoutTrailingDelimiter(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

TChosenFolder& Chosen() {
    static TChosenFolder chosen;
    return chosen;
}

}  // namespace

std::string PrivateWorkFolder() {
    std::string chosen;
    {
        const std::lock_guard<std::mutex> lock(Chosen().Mutex);
        chosen = Chosen().Folder;
    }
    return MakePrivateFolder(chosen.empty() ? UsualWorkFolderName(GetTempFolder()) : chosen);
}

void UseWorkFolder(const TWorkFolderChoice& choice) {
    const std::lock_guard<std::mutex> lock(Chosen().Mutex);
    Chosen().Folder = choice.Folder.empty() ? choice.Folder : IncludeTrailingDelimiter(choice.Folder);
    Chosen().LockFile = choice.Folder.empty() ? std::string() : choice.LockFile;
}

std::string WorkFolderLockFile() {
    {
        const std::lock_guard<std::mutex> lock(Chosen().Mutex);
        if (!Chosen().LockFile.empty())
            return Chosen().LockFile;
    }
    return UsualWorkFolderName(GetTempFolder()) + ".lock";
}

TWorkFolderChoice ChooseWorkFolder(const std::string& tempFolder, const std::string& runtimeFolder) {
    const std::string usual = UsualWorkFolderName(tempFolder);
    TWorkFolderChoice choice;
    try {
        choice.Folder = MakePrivateFolder(usual);
        choice.LockFile = usual + ".lock";
        return choice;
    } catch (const EFileError& e) {
        choice.Refusal = e.what();
    }
    // The lock of one editor per user must not change from run to run: in the runtime folder
    // when there is a private one, else (one editor per run then) beside the fresh folder.
    std::vector<std::string> parents;
    const bool runtimePrivate = !runtimeFolder.empty() && IsPrivateFolder(runtimeFolder);
    if (runtimePrivate)
        parents.push_back(IncludeTrailingDelimiter(runtimeFolder));
    parents.push_back(IncludeTrailingDelimiter(tempFolder));
    std::string reasons;
    for (const std::string& parent : parents) {
        std::string name = parent + "GMK_TEMP-" + std::to_string(::geteuid()) + "-XXXXXX";
        if (::mkdtemp(name.data()) != nullptr) {
            choice.Folder = name + "/";
            choice.LockFile = runtimePrivate ? IncludeTrailingDelimiter(runtimeFolder) + "GMK_TEMP-" +
                                                   std::to_string(::geteuid()) + ".lock"
                                             : name + ".lock";
            return choice;
        }
        reasons += "; cannot create a folder in \"" + parent + "\": " + std::strerror(errno);
    }
    throw EFileError("No private working folder can be made. " + choice.Refusal + reasons);
}

std::string MakeScratchFolder(const std::string& prefix) {
    std::string name = GetTempFolder() + prefix + "XXXXXX";
    if (::mkdtemp(name.data()) == nullptr)
        throw EFileError("Cannot create a scratch folder \"" + name + "\": " + std::strerror(errno));
    return name + "/";
}

}  // namespace quillon
