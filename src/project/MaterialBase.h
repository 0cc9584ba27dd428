// The material manager: importing image, music, sound and movie files into the open project's
// resource folders (with the size each kind of image must have), exporting them again (which
// converts between picture formats) and deleting them.
#pragma once

#include "graphics/Bitmap.h"
#include "platform/Signal.h"
#include "project/Resources.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

inline constexpr int kMaterialKindCount = 14;
enum TMaterialKind : int {
    mkBackdrop = 0,
    mkBattle,
    mkCharSet,
    mkChipSet,
    mkFaceSet,
    mkGameOver,
    mkMonster,
    mkMovie,
    mkMusic,
    mkPanorama,
    mkPicture,
    mkSound,
    mkSystem,
    mkTitle,
};

inline constexpr const char* kImageSizeIllegalMessage = "The image size (not filesize) of the bitmap is illegal";
inline constexpr const char* kNot8BitMessage = "The image is not a 256-colour (8 bits per pixel) picture";
inline constexpr const char* kWrongMediaTypeMessage = "The file is not of a type this kind of material holds";
inline constexpr const char* kNoResourceNameMessage =
    "The file's name is only an extension; a resource needs a name before it";
inline constexpr const char* kEraseQuestion = "Do you want to erase %s?";
inline constexpr const char* kCantDeleteMessage = "Can't delete file";
inline constexpr int kMaterialHelpContext = 177;
// The preview beside the open dialog reads no file larger than this, and decodes no picture
// whose header declares a side longer than this (the largest kind is 640 pixels wide).
inline constexpr std::int64_t kPreviewFileLimit = std::int64_t{16} << 20;
inline constexpr int kPreviewSideLimit = 4096;

// An import refused before anything was written (wrong pixel format, wrong size, wrong type).
class EMaterialRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The kind's name, which is also its folder name; nullptr outside 0..13.
const char* MaterialKindName(int kind);
// The index of a kind name (any letter case), or -1.
int MaterialKindOfName(const std::string& name);
// Movie, Music and Sound are copied byte for byte; every other kind is a picture.
bool IsMediaKind(int kind);
// The picture kinds whose transparent colour is picked before they are saved.
bool NeedsTransparentPicker(int kind);
// Whether a decoded picture of that size may be imported as the kind (media kinds: always).
bool IsImportSizeAccepted(int kind, int width, int height);
// Refuses (EMaterialRefused) a picture of that size and pixel format as the kind: not 8 bits
// per pixel, or not of the kind's size. The import shows it every picture file's header before
// the pixels are decoded.
void CheckImportPicture(int kind, int width, int height, TPixelFormat format);
// Why a file may not be imported as the kind under its name (without folder): a name that is
// only an extension (".png"), or one the game disk could not store (ArchiveNameRefusal of the
// kind's folder and the name the file gets, in the archiver's words); empty when it may.
std::string ImportNameRefusal(int kind, const std::string& fileName);
const TExtensionTable& MaterialExtensions(int kind);
// The open dialog's filter and default extension (with its dot) for importing the kind.
std::string ImportFilter(int kind);
std::string ImportDefaultExtension(int kind);
// The save dialog's filter for exporting a file of the kind whose extension (lower case, with
// its dot) is `extension`.
std::string ExportFilter(int kind, const std::string& extension);

// A filter of the form "Desc|*.a;*.b|Desc2|*.c|" as the file dialogs show it: one entry
// "Desc (*.a *.b)" per pair; the descriptions stay as they are.
std::vector<std::string> DialogFilters(const std::string& filter);

// The import format and the last kind shown: program-wide for the run, 0 (PNG, Backdrop) at
// first, never stored.
int& MaterialImportFormat();
int& MaterialLastKind();

// Copies a regular file into place through a temporary file beside the target, so a copy of a
// file onto itself, a failed read or a full disk leaves the target as it was. The copy is a
// plain writable file. Raises EFileError.
void CopyFileSafely(const std::string& source, const std::string& target);

// The preview of the open dialog: a regular file of at most kPreviewFileLimit bytes read as a
// picture of at most kPreviewSideLimit pixels a side; nothing for anything else.
std::optional<TBitmap> LoadPreviewPicture(const std::string& file);
// "Picture:" with " (WxH)" when there is a picture.
std::string PreviewCaption(const TBitmap* picture);
// Where a picture is drawn in the preview box: a picture that fits is centred at its own size;
// a larger one is scaled into the box keeping its aspect ratio, anchored at the top-left.
TRect PreviewPlacement(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

// Makes palette index `index` of an 8-bit picture its transparent colour, index 0: the two
// palette entries change places and so do the pixels of either index, so the picture looks the
// same. Index 0 (or one outside 0..255) leaves it unchanged.
void SetTransparentIndex(TBitmap& picture, int index);

struct TImportResult {
    std::string FileName;  // the file written, without folder
    int Width = 0;         // 0 for media
    int Height = 0;
    int Transparent = -1;  // the palette index picked as transparent, -1 when none was picked
};

class TMaterialBaseModel {
public:
    // Picks the transparent colour of a decoded 8-bit picture: moves it to index 0 in place
    // (SetTransparentIndex) and answers the index picked, or nothing (cancelled) with the
    // picture untouched.
    using TPicker = std::function<std::optional<int>(TBitmap& picture)>;
    // Asks before a file is deleted: the text; answers mrYes or mrNo.
    using TAsk = std::function<int(const std::string& text)>;

    // projectFolder: the open project's folder (ending in '/'). The lists come from the
    // resource lookup, so the project path in use must name the same folder.
    explicit TMaterialBaseModel(std::string projectFolder);

    // The kind shown; selecting another kind refills the list. Out of range is ignored.
    int Kind() const { return mKind; }
    void SelectKind(int kind);
    // The project's folder of the kind (the existing one, whatever its letter case), ending in '/'.
    std::string TargetFolder() const;

    const std::vector<std::string>& Entries() const { return mEntries; }
    int Selected() const { return mSelected; }
    void SelectEntry(int index);  // -1 for none
    void Refresh();
    // The first row to show after an import puts the selection there.
    int TopIndex() const { return mTopIndex; }

    bool ExportEnabled() const { return mSelected >= 0; }
    bool DeleteEnabled() const { return mSelected >= 0 && !IsRtpEntry(mEntries[static_cast<std::size_t>(mSelected)]); }
    bool ImportFormatEnabled() const { return !IsMediaKind(mKind); }
    // 0 PNG, 1 ZGF.
    int ImportFormat() const { return MaterialImportFormat(); }
    void SetImportFormat(int format);

    // The folder the file dialogs show; stored as MaterialPath when the window closes.
    std::string DialogFolder;
    // Reads MaterialPath (when it names a folder) into DialogFolder.
    void Open();
    // Stores DialogFolder as MaterialPath and remembers the kind for the next opening.
    void Close();
    // An open or save dialog closed showing `shownFolder`: DialogFolder becomes the folder of
    // `chosenFile` when one was chosen (also a full path typed into its name box), else the
    // folder it showed.
    void FileDialogClosed(const std::string& shownFolder, const std::string& chosenFile);

    // Imports a file as the kind. Media are copied under their own name (an existing file is
    // replaced); pictures must be 8 bits per pixel and of the kind's size (told by the file's
    // header, before anything is decoded), pass the picker when the kind needs one and are saved
    // as PNG or ZGF under their base name. Nothing is written when the name or the picture is
    // refused (EMaterialRefused) or the picker is cancelled (no result). Temporary files that
    // killed saves and imports left in the project go first (RemoveProjectTempFiles).
    // Other read and write errors are raised as they come. On success the list is refilled and
    // the imported entry selected.
    std::optional<TImportResult> Import(const std::string& source, const TPicker& picker);

    // The file the selected entry resolves to (project first, then the run-time package); empty
    // when none.
    std::string SelectedFile() const;
    // The save dialog's proposal: the entry's name with the found file's extension, and the
    // extension (lower case, with its dot).
    std::string ExportName() const;
    std::string ExportExtension() const;
    // Writes the selected resource to `target`: media byte for byte, pictures re-encoded by the
    // target's extension (".png", ".zgf", anything else BMP). Raises on failure.
    void Export(const std::string& target);
    // Exports by resource name rather than by selection.
    void ExportResource(const std::string& name, const std::string& target);

    enum class TDeleteResult { Deleted, Declined, NotInProject, Failed };
    // Deletes the selected entry's file after asking. Only a regular file that lies in the
    // project's folder of the kind is ever deleted; a run-time-package file, a name that resolves
    // to nothing or a link that leads elsewhere is left alone. A failure is shown as "Can't
    // delete file". The list is refilled after a deletion.
    TDeleteResult Delete(const TAsk& ask);
    // Deletes by resource name (no question).
    TDeleteResult DeleteName(const std::string& name, std::string* deleted = nullptr);

    // The list or the selection changed.
    TSignal<> OnChanged;

private:
    std::string Resolve(const std::string& name) const;
    bool InProjectFolder(const std::string& file) const;

    std::string mProjectFolder;
    int mKind = -1;
    std::vector<std::string> mEntries;
    int mSelected = -1;
    int mTopIndex = 0;
};

}  // namespace quillon
