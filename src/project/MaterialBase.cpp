#include "project/MaterialBase.h"

#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"
#include "platform/LhaArchiveCommand.h"
#include "platform/MessageBox.h"
#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjectFiles.h"
#include "project/ProjectSettings.h"

#include <algorithm>
#include <filesystem>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

constexpr const char* kKindNames[kMaterialKindCount] = {
    "Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet", "GameOver", "Monster",
    "Movie",    "Music",  "Panorama", "Picture", "Sound", "System",  "Title",
};

bool ValidKind(int kind) { return kind >= 0 && kind < kMaterialKindCount; }

std::string SystemReason() { return std::strerror(errno); }

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string WithoutExtension(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

const char* MaterialKindName(int kind) { return ValidKind(kind) ? kKindNames[kind] : nullptr; }

int MaterialKindOfName(const std::string& name) {
    for (int kind = 0; kind < kMaterialKindCount; ++kind)
        if (SameTextNoCase(name, kKindNames[kind]))
            return kind;
    return -1;
}

bool IsMediaKind(int kind) { return kind == mkMovie || kind == mkMusic || kind == mkSound; }

bool NeedsTransparentPicker(int kind) {
    switch (kind) {
    case mkBattle:
    case mkCharSet:
    case mkChipSet:
    case mkFaceSet:
    case mkMonster:
    case mkPicture:
    case mkSystem: return true;
    default: return false;
    }
}

bool IsImportSizeAccepted(int kind, int width, int height) {
    const auto exactly = [&](int w, int h) { return width == w && height == h; };
    const auto within = [&](int minW, int maxW, int minH, int maxH) {
        return width >= minW && width <= maxW && height >= minH && height <= maxH;
    };
    switch (kind) {
    case mkBackdrop: return exactly(320, 160);
    case mkBattle: return within(1, 480, 1, 480);
    case mkCharSet: return exactly(288, 256);
    case mkChipSet: return exactly(480, 256);
    case mkFaceSet: return exactly(192, 192);
    case mkGameOver: return exactly(320, 240);
    case mkMonster: return within(16, 320, 16, 160);
    case mkPanorama: return within(80, 640, 80, 480);
    case mkPicture: return within(1, 640, 1, 480);
    case mkSystem: return exactly(160, 80);
    case mkTitle: return exactly(320, 240);
    default: return IsMediaKind(kind);
    }
}

void CheckImportPicture(int kind, int width, int height, TPixelFormat format) {
    if (format != TPixelFormat::pf8bit)
        throw EMaterialRefused(kNot8BitMessage);
    if (!IsImportSizeAccepted(kind, width, height))
        throw EMaterialRefused(kImageSizeIllegalMessage);
}

namespace {

// The name a file gets in the kind's folder: media keep theirs; pictures are saved under their
// base name as PNG or ZGF by the import format.
std::string ImportedFileName(int kind, const std::string& fileName) {
    return IsMediaKind(kind) ? fileName : WithoutExtension(fileName) + (MaterialImportFormat() == 1 ? ".zgf" : ".png");
}

}  // namespace

std::string ImportNameRefusal(int kind, const std::string& fileName) {
    if (!ValidKind(kind))
        return {};
    // ".png" would become the nameless resource ".png.png"; "..png" a resource named ".".
    const std::string baseName = fileName.find_last_of('.') == 0 ? std::string() : WithoutExtension(fileName);
    if (baseName.find_first_not_of('.') == std::string::npos)
        return kNoResourceNameMessage;
    return ArchiveNameRefusal(std::string(kKindNames[kind]) + "/" + ImportedFileName(kind, fileName));
}

const TExtensionTable& MaterialExtensions(int kind) {
    switch (kind) {
    case mkMovie: return MovieExtensions;
    case mkMusic: return MusicExtensions;
    case mkSound: return SoundExtensions;
    default: return ImageExtensions;
    }
}

std::string ImportFilter(int kind) {
    switch (kind) {
    case mkMovie: return "Movie file (*.avi;*.mpg)|*.avi;*.mpg|";
    case mkMusic: return "MIDI file (*.mid)|*.mid|WAV file (*.wav)|*.wav|Arquivo MP3 (*.mp3)|*.mp3|";
    case mkSound: return "WAV file (*.wav)|*.wav|";
    default: return kPictureOpenFilter;
    }
}

std::string ImportDefaultExtension(int kind) {
    switch (kind) {
    case mkMovie: return ".avi";
    case mkMusic: return ".mid";
    case mkSound: return ".wav";
    default: return ".bmp";
    }
}

std::string ExportFilter(int kind, const std::string& extension) {
    switch (kind) {
    case mkMovie: return extension == ".avi" ? "AVI file (*.avi)|*.avi|" : "MPEG file (*.mpg)|*.mpg|";
    case mkMusic:
        return extension == ".mid"   ? "MIDI file (*.mid)|*.mid|"
               : extension == ".wav" ? "WAV file (*.wav)|*.wav|"
                                     : "MP3 file (*.mp3)|*.mp3|";
    case mkSound: return "WAV file (*.wav)|*.wav|";
    default: return kPictureSaveFilter;
    }
}

std::vector<std::string> DialogFilters(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = filter.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(filter.substr(start, bar - start));
    if (start < filter.size())
        parts.push_back(filter.substr(start));
    std::vector<std::string> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        // A description that already names its patterns keeps them once.
        std::string description = parts[i];
        const std::size_t open = description.rfind(" (");
        if (open != std::string::npos && description.back() == ')')
            description.erase(open);
        filters.push_back(description + " (" + patterns + ")");
    }
    return filters;
}

int& MaterialImportFormat() {
    static int format = 0;
    return format;
}

int& MaterialLastKind() {
    static int kind = 0;
    return kind;
}

void CopyFileSafely(const std::string& source, const std::string& target) {
    const TFd in(OpenRegularFile(source));
    RemoveStaleSaveTemps(target);
    std::string temp = target + kSaveTempInfix + "XXXXXX";
    TFd out(::mkstemp(temp.data()));
    if (out.Get() < 0)
        throw EFileError(target + ": " + SystemReason());
    bool done = false;
    struct TRemove {
        const std::string& Path;
        const bool& Done;
        ~TRemove() {
            if (!Done)
                ::unlink(Path.c_str());
        }
    } remove{temp, done};
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in.Get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw EFileError(source + ": " + SystemReason());
        }
        if (got == 0)
            break;
        for (ssize_t written = 0; written < got;) {
            const ssize_t n = ::write(out.Get(), buffer.data() + written, static_cast<std::size_t>(got - written));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw EFileError(target + ": " + SystemReason());
            }
            written += n;
        }
    }
    // A plain writable file, whatever the source's permissions were.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(out.Get(), 0666 & ~mask);
    if (::fsync(out.Get()) != 0 || ::close(out.Release()) != 0)
        throw EFileError(target + ": " + SystemReason());
    if (::rename(temp.c_str(), target.c_str()) != 0)
        throw EFileError(target + ": " + SystemReason());
    done = true;
}

void SetTransparentIndex(TBitmap& picture, int index) {
    if (index <= 0 || index > 255 || picture.PixelFormat() != TPixelFormat::pf8bit)
        return;
    auto& palette = picture.Palette();
    std::swap(palette[0], palette[static_cast<std::size_t>(index)]);
    const auto s = static_cast<std::uint8_t>(index);
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x) {
            if (row[x] == 0)
                row[x] = s;
            else if (row[x] == s)
                row[x] = 0;
        }
    }
}

std::optional<TBitmap> LoadPreviewPicture(const std::string& file) {
    struct stat st {};
    if (file.empty() || ::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kPreviewFileLimit)
        return std::nullopt;
    try {
        const std::string bytes = ReadWholeFile(file, kPreviewFileLimit);
        TByteViewStream stream(bytes);
        TBitmap picture;
        LoadPicture(picture, stream, [](int width, int height, TPixelFormat) {
            if (width > kPreviewSideLimit || height > kPreviewSideLimit)
                throw EMaterialRefused(kImageSizeIllegalMessage);
        });
        return picture;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string PreviewCaption(const TBitmap* picture) {
    std::string caption = "Picture:";
    if (picture && !picture->Empty())
        caption += " (" + std::to_string(picture->Width()) + "x" + std::to_string(picture->Height()) + ")";
    return caption;
}

TRect PreviewPlacement(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight) {
    if (boxWidth <= 0 || boxHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return {};
    if (pictureWidth <= boxWidth && pictureHeight <= boxHeight)
        return MakeBounds((boxWidth - pictureWidth) / 2, (boxHeight - pictureHeight) / 2, pictureWidth, pictureHeight);
    // The longer side (relative to the box) fills the box.
    const std::int64_t w = pictureWidth, h = pictureHeight;
    if (w * boxHeight >= h * boxWidth)
        return MakeBounds(0, 0, boxWidth, static_cast<int>(std::max<std::int64_t>(1, h * boxWidth / w)));
    return MakeBounds(0, 0, static_cast<int>(std::max<std::int64_t>(1, w * boxHeight / h)), boxHeight);
}

TMaterialBaseModel::TMaterialBaseModel(std::string projectFolder)
    : mProjectFolder(IncludeTrailingDelimiter(std::move(projectFolder))) {}

void TMaterialBaseModel::Open() {
    DialogFolder = "/";
    const std::string stored = GetMaterialPath();
    if (!stored.empty() && IsFolder(stored))
        DialogFolder = IncludeTrailingDelimiter(stored);
    SelectKind(MaterialLastKind());
}

void TMaterialBaseModel::Close() {
    SetMaterialPath(DialogFolder);
    if (ValidKind(mKind))
        MaterialLastKind() = mKind;
}

void TMaterialBaseModel::FileDialogClosed(const std::string& shownFolder, const std::string& chosenFile) {
    const std::filesystem::path chosen(chosenFile);
    const std::string folder = chosen.has_parent_path() && chosen.is_absolute() ? chosen.parent_path().string()
                                                                                : shownFolder;
    if (!folder.empty())
        DialogFolder = IncludeTrailingDelimiter(folder);
}

void TMaterialBaseModel::SelectKind(int kind) {
    if (!ValidKind(kind) || kind == mKind)
        return;
    mKind = kind;
    mSelected = -1;
    mTopIndex = 0;
    Refresh();
}

std::string TMaterialBaseModel::TargetFolder() const {
    if (!ValidKind(mKind))
        return {};
    const std::string name = kKindNames[mKind];
    if (!IsFolder(mProjectFolder + name)) {
        const std::string found = FindEntryNoCase(mProjectFolder, name);
        if (!found.empty() && IsFolder(mProjectFolder + found))
            return mProjectFolder + found + "/";
    }
    return mProjectFolder + name + "/";
}

void TMaterialBaseModel::Refresh() {
    const std::string previous =
        mSelected >= 0 && mSelected < static_cast<int>(mEntries.size()) ? mEntries[static_cast<std::size_t>(mSelected)]
                                                                          : std::string();
    mEntries.clear();
    if (ValidKind(mKind))
        ListResources(mEntries, kKindNames[mKind], MaterialExtensions(mKind));
    mSelected = -1;
    if (!previous.empty()) {
        const auto it = std::find(mEntries.begin(), mEntries.end(), previous);
        if (it != mEntries.end())
            mSelected = static_cast<int>(it - mEntries.begin());
    }
    OnChanged.Emit();
}

void TMaterialBaseModel::SelectEntry(int index) {
    mSelected = index >= 0 && index < static_cast<int>(mEntries.size()) ? index : -1;
    OnChanged.Emit();
}

void TMaterialBaseModel::SetImportFormat(int format) {
    MaterialImportFormat() = format == 1 ? 1 : 0;
    OnChanged.Emit();
}

std::optional<TImportResult> TMaterialBaseModel::Import(const std::string& source, const TPicker& picker) {
    if (!ValidKind(mKind))
        return std::nullopt;
    RemoveProjectTempFiles(mProjectFolder);
    const std::string fileName = FileNamePart(source);
    if (const std::string refusal = ImportNameRefusal(mKind, fileName); !refusal.empty())
        throw EMaterialRefused(refusal);
    const std::string baseName = WithoutExtension(fileName);
    TImportResult result;
    if (IsMediaKind(mKind)) {
        const std::string extension = PictureExtension(fileName);
        const TExtensionTable& table = MaterialExtensions(mKind);
        if (std::none_of(table.begin(), table.end(), [&](const char* e) { return extension == std::string(".") + e; }))
            throw EMaterialRefused(kWrongMediaTypeMessage);
        const std::string folder = TargetFolder();
        if (!IsFolder(folder) && ::mkdir(folder.c_str(), 0777) != 0)
            throw EFileError(folder + ": " + SystemReason());
        result.FileName = ImportedFileName(mKind, fileName);
        CopyFileSafely(source, folder + result.FileName);
    } else {
        TBitmap picture;
        const int kind = mKind;
        LoadPicture(picture, source, [kind](int width, int height, TPixelFormat format) {
            CheckImportPicture(kind, width, height, format);
        });
        CheckImportPicture(kind, picture.Width(), picture.Height(), picture.PixelFormat());
        if (NeedsTransparentPicker(mKind)) {
            const std::optional<int> picked = picker ? picker(picture) : std::optional<int>(0);
            if (!picked)
                return std::nullopt;
            result.Transparent = *picked;
        }
        const std::string folder = TargetFolder();
        if (!IsFolder(folder) && ::mkdir(folder.c_str(), 0777) != 0)
            throw EFileError(folder + ": " + SystemReason());
        result.FileName = ImportedFileName(mKind, fileName);
        SavePicture(picture, folder + result.FileName);
        result.Width = picture.Width();
        result.Height = picture.Height();
    }
    mSelected = -1;
    Refresh();
    const std::string entry = Utf8ToCp932(baseName);
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        if (SameTextNoCase(mEntries[i], entry)) {
            mSelected = static_cast<int>(i);
            mTopIndex = std::max(0, mSelected - 6);
            break;
        }
    }
    OnChanged.Emit();
    return result;
}

std::string TMaterialBaseModel::Resolve(const std::string& name) const {
    if (!ValidKind(mKind))
        return {};
    return LocateResourceFile(StripRtpSuffix(name), kKindNames[mKind], MaterialExtensions(mKind));
}

std::string TMaterialBaseModel::SelectedFile() const {
    return mSelected >= 0 ? Resolve(mEntries[static_cast<std::size_t>(mSelected)]) : std::string();
}

std::string TMaterialBaseModel::ExportExtension() const { return PictureExtension(SelectedFile()); }

std::string TMaterialBaseModel::ExportName() const {
    if (mSelected < 0)
        return {};
    return Cp932ToUtf8(StripRtpSuffix(mEntries[static_cast<std::size_t>(mSelected)])) + ExportExtension();
}

void TMaterialBaseModel::Export(const std::string& target) {
    if (mSelected >= 0)
        ExportResource(mEntries[static_cast<std::size_t>(mSelected)], target);
}

void TMaterialBaseModel::ExportResource(const std::string& name, const std::string& target) {
    const std::string source = Resolve(name);
    if (source.empty())
        throw EFileError(Cp932ToUtf8(StripRtpSuffix(name)) + ": no such resource");
    if (IsMediaKind(mKind)) {
        CopyFileSafely(source, target);
    } else {
        TBitmap picture;
        LoadPicture(picture, source);
        SavePicture(picture, target);
    }
}

bool TMaterialBaseModel::InProjectFolder(const std::string& file) const {
    struct stat st {};
    if (file.empty() || ::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const std::string folder = RealPath(TargetFolder());
    const std::string parent = RealPath(FolderPart(file));
    return !folder.empty() && folder == parent;
}

TMaterialBaseModel::TDeleteResult TMaterialBaseModel::Delete(const TAsk& ask) {
    if (mSelected < 0)
        return TDeleteResult::NotInProject;
    const std::string file = SelectedFile();
    if (!InProjectFolder(file)) {
        OnChanged.Emit();
        return TDeleteResult::NotInProject;
    }
    const std::string shown = Utf8ToCp932(FileNamePart(file));
    std::string question = kEraseQuestion;
    question.replace(question.find("%s"), 2, shown);
    if (ask && ask(question) != mrYes) {
        OnChanged.Emit();
        return TDeleteResult::Declined;
    }
    if (::unlink(file.c_str()) != 0) {
        ShowError(kCantDeleteMessage);
        OnChanged.Emit();
        return TDeleteResult::Failed;
    }
    mSelected = -1;
    Refresh();
    return TDeleteResult::Deleted;
}

TMaterialBaseModel::TDeleteResult TMaterialBaseModel::DeleteName(const std::string& name, std::string* deleted) {
    const std::string file = Resolve(name);
    if (!InProjectFolder(file))
        return TDeleteResult::NotInProject;
    if (::unlink(file.c_str()) != 0)
        return TDeleteResult::Failed;
    if (deleted)
        *deleted = file;
    Refresh();
    return TDeleteResult::Deleted;
}

}  // namespace quillon
