// The writers' lock on a project folder. The editor holds it while a project is open and every
// program that writes a project's files (quillon-cli's writing verbs) holds it while it works,
// so that two writers never interleave their loads and saves and no edit is lost unnoticed.
// It is an advisory lock (flock) on the folder itself: nothing is added to the project, a
// holder that ends or crashes releases it, and it works for any user who may write the folder.
#pragma once

#include "platform/FileUtils.h"

#include <chrono>
#include <string>

namespace quillon {

// Another program holds the lock; the message says so in words a user understands.
class EProjectLocked : public EFileError {
public:
    using EFileError::EFileError;
};

class TProjectLock {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{3000};

    TProjectLock() = default;
    // Takes the lock on folder at once (see Acquire).
    explicit TProjectLock(const std::string& folder, std::chrono::milliseconds wait = kDefaultWait);
    ~TProjectLock();
    TProjectLock(const TProjectLock&) = delete;
    TProjectLock& operator=(const TProjectLock&) = delete;
    TProjectLock(TProjectLock&& other) noexcept;
    TProjectLock& operator=(TProjectLock&& other) noexcept;

    // Takes the lock on a project folder (releasing one held before), waiting up to `wait` for
    // another holder to finish. Raises EProjectLocked when the wait ends with the lock still
    // held elsewhere, EFileError when the folder cannot be opened.
    void Acquire(const std::string& folder, std::chrono::milliseconds wait = kDefaultWait);
    // As Acquire, answering false instead of raising EProjectLocked.
    bool TryAcquire(const std::string& folder, std::chrono::milliseconds wait = std::chrono::milliseconds{0});
    void Release();
    bool Held() const { return mFd >= 0; }
    const std::string& Folder() const { return mFolder; }

private:
    int mFd = -1;
    std::string mFolder;
};

// The folder whose lock guards a path about to be written: the path itself when it names a
// folder (a project), else the folder the file lies in ("." for a bare file name).
std::string LockFolderFor(const std::string& path);
// The writers' lock guarding path (see LockFolderFor), taken as the constructor takes it:
// waits up to `wait`, then raises EProjectLocked. Every writer of a project's files goes
// through here before it loads what it will write.
TProjectLock LockForWriting(const std::string& path, std::chrono::milliseconds wait = TProjectLock::kDefaultWait);

}  // namespace quillon
