#include "project/ProjPack.h"

#include "platform/BusyCursor.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "project/PathUtils.h"
#include "project/ProjectFiles.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/SplitFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

const char* const kPackResourceFolders[14] = {"Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet",
                                              "GameOver", "Monster", "Movie", "Music", "Panorama",
                                              "Picture", "Sound", "System", "Title"};

namespace {

constexpr const char* kProjectFiles[] = {"GMK_RT.exe", "GMK_RT.kdb", "GMK_RT.ini", "GMK_RT.kmt", "Map????.kmu"};

std::string Format(const char* format, int value) {
    char text[256];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Fold(std::string s) {
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

std::string WithoutDelimiter(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The folder as the file system resolves it (links included), for comparing places.
std::string Resolved(const std::string& path) {
    std::error_code error;
    const std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::path(path), error);
    return error ? WithoutDelimiter(path) : WithoutDelimiter(p.string());
}

bool IsInside(const std::string& path, const std::string& folder) {
    if (folder.empty())
        return false;
    const std::string p = Resolved(path), f = Resolved(folder);
    return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && (f == "/" || p[f.size()] == '/'));
}

// FullPackageFlag of a project's "GMK_RT.ini": "1" while on, no key while off.
void SetPackageFlag(const std::string& projectFolder, bool on) {
    if (IncludeTrailingDelimiter(projectFolder) == ProjectPath()) {
        SetFullPackageFlag(on);
        return;
    }
    TProfileFile ini(IncludeTrailingDelimiter(projectFolder) + kProjectIniName);
    if (on)
        ini.WriteString(kProjectIniSection, "FullPackageFlag", "1");
    else
        ini.DeleteKey(kProjectIniSection, "FullPackageFlag");
    ini.Flush();
}

// Removes the flag again on every way out of the archiving.
class TPackageFlagScope {
public:
    TPackageFlagScope(std::string folder, bool on) : mFolder(std::move(folder)) { SetPackageFlag(mFolder, on); }
    ~TPackageFlagScope() { Off(); }
    void Off() noexcept {
        if (mDone)
            return;
        mDone = true;
        try {
            SetPackageFlag(mFolder, false);
        } catch (...) {
        }
    }

private:
    std::string mFolder;
    bool mDone = false;
};

// The end of a packing, whichever way it ends: the window back, the work folder gone.
class TWorkScope {
public:
    TWorkScope(IPackHost& host, std::string work) : mHost(host), mWork(std::move(work)) { mHost.BeginWork(); }
    ~TWorkScope() { End(); }
    void End() noexcept {
        if (mDone)
            return;
        mDone = true;
        try {
            mHost.EndWork();
        } catch (...) {
        }
        DeleteFolderTree(mWork);
    }

private:
    IPackHost& mHost;
    std::string mWork;
    bool mDone = false;
};

// The resource names (kind and name, letter case ignored) of the files a project holds.
std::set<std::string> ProjectResourceKeys(const std::string& project) {
    std::set<std::string> keys;
    std::error_code error;
    for (const auto& kind : std::filesystem::directory_iterator(project, error)) {
        const std::string kindName = kind.path().filename().string();
        bool isKind = false;
        for (const char* folder : kPackResourceFolders)
            isKind = isKind || Fold(kindName) == Fold(folder);
        if (!isKind || !kind.is_directory(error) || kind.is_symlink(error))
            continue;
        for (const auto& file : std::filesystem::directory_iterator(kind.path(), error)) {
            if (file.is_symlink(error) || !file.is_regular_file(error))
                continue;
            keys.insert(Fold(kindName) + "/" + Fold(file.path().stem().string()));
        }
    }
    return keys;
}

}  // namespace

bool CopyFileWithProgress(const std::string& source, const std::string& target,
                          const std::function<bool(std::uint64_t done, std::uint64_t total)>& progress,
                          const TWriteCall& write) {
    const int in = OpenRegularFile(source);
    struct TClose {
        int Fd;
        ~TClose() {
            if (Fd >= 0)
                ::close(Fd);
        }
    } inCloser{in};
    struct stat st {};
    ::fstat(in, &st);
    const std::uint64_t total = static_cast<std::uint64_t>(st.st_size);
    std::string temp = target + kCopyTempInfix + "XXXXXX";
    const int out = ::mkstemp(temp.data());
    if (out < 0)
        throw EFileError("Cannot create \"" + target + "\": " + std::strerror(errno));
    TClose outCloser{out};
    auto fail = [&](const std::string& what, int code) {
        ::unlink(temp.c_str());
        throw EFileError(what + " \"" + target + "\": " + std::strerror(code));
    };
    std::vector<char> buffer(std::size_t{1} << 20);
    std::uint64_t done = 0;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int code = errno;
            ::unlink(temp.c_str());
            throw EFileError("Cannot read \"" + source + "\": " + std::strerror(code));
        }
        if (n == 0)
            break;
        for (ssize_t put = 0; put < n;) {
            const std::size_t size = static_cast<std::size_t>(n - put);
            const ssize_t w = write ? write(out, buffer.data() + put, size) : ::write(out, buffer.data() + put, size);
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                fail("Cannot write", errno);
            put += w;
        }
        done += static_cast<std::uint64_t>(n);
        if (progress && !progress(done, total)) {
            ::unlink(temp.c_str());
            return false;
        }
    }
    ::fchmod(out, st.st_mode & 0755);
    if (::fsync(out) != 0)
        fail("Cannot write", errno);
    ::close(out);
    outCloser.Fd = -1;
    if (::rename(temp.c_str(), target.c_str()) != 0)
        fail("Cannot replace", errno);
    return true;
}

TProjectPackModel::TProjectPackModel(const IFloppyDrives& drives) : mDrives(drives) {
    const std::string floppy = drives.FindFloppy();
    TargetPath = floppy.empty() ? std::string() : IncludeTrailingDelimiter(floppy);
    IncludeRtp = GetIncludeRtpOption();
    ProjectFolder = ProjectPath();
    RtpFolder = GetRtpPath();
    EditorFolder = GetAppPath();
}

void TProjectPackModel::SetTarget(const std::string& path) {
    TargetPath = path.empty() ? std::string() : IncludeTrailingDelimiter(path);
}

std::string TProjectPackModel::WorkFolder() const {
    const std::string parent = WorkParent.empty() ? PrivateWorkFolder() : IncludeTrailingDelimiter(WorkParent);
    return parent + kWorkFolderName + "/";
}

std::string TProjectPackModel::ProjectName() const {
    return std::filesystem::path(WithoutDelimiter(ProjectFolder)).filename().string();
}

std::string TProjectPackModel::ArchivePath() const {
    return WorkFolder() + ProjectName() + ".lzh";
}

std::string TProjectPackModel::ResponseText() const {
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\n"; };
    const std::string rtp = "\"" + IncludeTrailingDelimiter(RtpFolder) + "\"";
    if (IncludeRtp) {
        line(rtp);
        for (const char* folder : kPackResourceFolders)
            line(folder);
    }
    line("\"" + IncludeTrailingDelimiter(ProjectFolder) + "\"");
    for (const char* folder : kPackResourceFolders)
        line(folder);
    for (const char* file : kProjectFiles)
        line(file);
    if (IncludeRtp)
        line(rtp);
    return text;
}

std::string TProjectPackModel::SetupIniText(int diskNumber) const {
    TProfileFile ini;
    ini.WriteString("Setup", "ProjectName", ProjectName());
    ini.WriteString("Setup", "GameTitle", ReadGameTitle(WithoutDelimiter(ProjectFolder)));
    ini.WriteInteger("Setup", "DiskNumber", diskNumber);
    return ini.Text();
}

std::string TProjectPackModel::CommandLine() const {
    char text[4096];
    std::snprintf(text, sizeof text, kArchiverCommandFormat, ArchivePath().c_str(),
                  (WorkFolder() + kResponseFileName).c_str());
    return text;
}

std::string TProjectPackModel::TargetRefusal() const {
    if (TargetPath.empty())
        return {};
    std::string work;
    try {
        work = WorkFolder();
    } catch (const EFileError&) {
        work = GetTempFolder() + kWorkFolderName;
    }
    if (IsInside(TargetPath, work) || IsInside(TargetPath, ProjectFolder))
        return kTargetInsideMessage;
    return {};
}

bool TProjectPackModel::RunArchiver(IPackHost& host) {
    TUnlhaOptions options;
    options.Progress = [&host](std::uint64_t done, std::uint64_t total) { return host.Progress("Archiving", done, total); };
    // A temporary file of ours is never part of a game, whatever left it.
    const auto temporary = [](const std::string& relative) {
        return IsOwnTempName(std::filesystem::path(relative).filename().string());
    };
    options.Exclude = [temporary](const std::string&, const std::string& relative) { return temporary(relative); };
    if (IncludeRtp) {
        const std::set<std::string> own = ProjectResourceKeys(ProjectFolder);
        const std::string rtp = Resolved(RtpFolder);
        options.Exclude = [own, rtp, temporary](const std::string& base, const std::string& relative) {
            if (temporary(relative))
                return true;
            if (Resolved(base) != rtp)
                return false;
            const std::size_t slash = relative.find('/');
            if (slash == std::string::npos || relative.find('/', slash + 1) != std::string::npos)
                return false;
            const std::string stem = std::filesystem::path(relative.substr(slash + 1)).stem().string();
            return own.count(Fold(relative.substr(0, slash)) + "/" + Fold(stem)) > 0;
        };
    }
    TPackageFlagScope flag(ProjectFolder, IncludeRtp);
    const TUnlhaResult result = Unlha(CommandLine(), options);
    flag.Off();
    if (result.Code != kUnlhaOk) {
        host.Reason(result.Message);
        return false;
    }
    return true;
}

bool TProjectPackModel::Deliver(IPackHost& host, std::vector<std::string> sources, std::vector<std::string> names) {
    try {
        std::error_code error;
        std::filesystem::create_directories(TargetPath, error);
        // What killed copies of these files left goes first. "Setup.ini" tells the set-up program
        // that the disk is whole: the old one goes now and the new one comes last.
        RemoveLeftTempFiles(TargetPath, names);
        const auto setupIni = std::find(names.begin(), names.end(), kSetupIniName);
        if (setupIni != names.end()) {
            const std::size_t at = static_cast<std::size_t>(setupIni - names.begin());
            std::rotate(sources.begin() + static_cast<std::ptrdiff_t>(at), sources.begin() + static_cast<std::ptrdiff_t>(at) + 1, sources.end());
            std::rotate(names.begin() + static_cast<std::ptrdiff_t>(at), names.begin() + static_cast<std::ptrdiff_t>(at) + 1, names.end());
            struct stat st {};
            if (::lstat((TargetPath + kSetupIniName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
                ::unlink((TargetPath + kSetupIniName).c_str()) != 0)
                throw EFileError("Cannot replace \"" + TargetPath + kSetupIniName + "\": " + std::strerror(errno));
        }
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const std::string target = TargetPath + names[i];
            auto progress = [&](std::uint64_t done, std::uint64_t total) { return host.Progress("Copying " + names[i], done, total); };
            if (!CopyFileWithProgress(sources[i], target, progress, CopyWrite)) {
                host.Reason("cancelled");
                return false;
            }
            host.Delivered(target, GetFileStamp(target).Size);
        }
    } catch (const EFileError& e) {
        host.Reason(e.what());
        return false;
    }
    return true;
}

int TProjectPackModel::Pack(IPackHost& host) {
    mDiskNumber = 0;
    if (!StartEnabled())
        return mrCancel;
    if (const std::string refusal = TargetRefusal(); !refusal.empty()) {
        ShowMessageBox(refusal, mbOk | mbIconError, Owner);
        return mrCancel;
    }
    int result = mrCancel;
    if (StoreOption)
        SetIncludeRtpOption(IncludeRtp);
    RemoveProjectTempFiles(IncludeTrailingDelimiter(ProjectFolder));
    const std::string work = WorkFolder();
    DeleteFolderTree(work);
    if (::mkdir(WithoutDelimiter(work).c_str(), 0700) != 0)
        throw EFileError("Cannot create \"" + work + "\": " + std::strerror(errno));
    CheckPrivateFolder(work);
    std::optional<TBusyCursorScope> busy(std::in_place);
    TWorkScope scope(host, work);
    try {
        WriteFileAtomic(work + kResponseFileName, ResponseText());
        if (RunArchiver(host)) {
            const bool floppy = mDrives.IsFloppy(TargetPath);
            if (floppy) {
                mDiskNumber = SplitFile(ArchivePath(), work, kFirstPieceSize, kNextPieceSize);
                ShowMessageBox(Format(kDisksNeededMessage, mDiskNumber), mbOk | mbIconInformation, Owner);
            }
            WriteFileAtomic(work + kSetupIniName, SetupIniText(mDiskNumber));
            std::vector<std::string> setupSources = {work + kSetupIniName, EditorFolder + "Setup.exe.dat",
                                                     EditorFolder + "UNLHA32.DLL", EditorFolder + "UNLHA32.TXT"};
            std::vector<std::string> setupNames = {kSetupIniName, "Setup.exe", "UNLHA32.DLL", "UNLHA32.TXT"};
            bool delivered = true;
            if (!floppy) {
                setupSources.push_back(ArchivePath());
                setupNames.push_back(ProjectName() + ".lzh");
                delivered = Deliver(host, setupSources, setupNames);
            } else {
                for (int disk = 1; delivered && disk <= mDiskNumber; ++disk) {
                    for (;;) {
                        host.BeforeDiskPrompt(disk);
                        if (ShowMessageBox(Format(kPrepareDiskMessage, disk), mbOkCancel | mbIconInformation, Owner) != mrOk) {
                            host.Reason("cancelled");
                            delivered = false;
                            break;
                        }
                        if (mDrives.IsReady(TargetPath) && mDrives.IsEmpty(TargetPath))
                            break;
                    }
                    if (!delivered)
                        break;
                    const std::string piece = ProjectName() + Format(".%.3d", disk);
                    std::vector<std::string> sources, names;
                    if (disk == 1) {
                        sources = setupSources;
                        names = setupNames;
                    }
                    sources.push_back(work + piece);
                    names.push_back(piece);
                    delivered = Deliver(host, sources, names);
                }
            }
            if (delivered) {
                scope.End();
                busy.reset();
                ShowMessageBox(kPackCompletedMessage, mbOk | mbIconInformation, Owner);
                result = mrOk;
            }
        }
    } catch (...) {
        scope.End();
        busy.reset();
        ShowMessageBox(kPackStoppedMessage, mbOk | mbIconError, Owner);
        throw;
    }
    scope.End();
    busy.reset();
    if (result != mrOk)
        ShowMessageBox(kPackStoppedMessage, mbOk | mbIconError, Owner);
    return result;
}

}  // namespace quillon
