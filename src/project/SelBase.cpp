#include "project/SelBase.h"

#include "data/LD_System.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quillon {

namespace {

// clang-format off
const std::array<TSelKindInfo, kSelKindCount> kKinds = {{
    {TSelKind::Char,     "TFormSelChar",     "Select Walk Graphic",        "CharSet",  &ImageExtensions, 192, 128, 1, false},
    {TSelKind::Face,     "TFormSelFace",     "Select Face Graphic",        "FaceSet",  &ImageExtensions, 192, 192, 1, false},
    {TSelKind::EvChar,   "TFormSelEvChar",   "Select Graphic",             "CharSet",  &ImageExtensions, 192, 256, 1, false},
    {TSelKind::ChipSet,  "TFormSelChipSet",  "Select ChipSet Graphic",     "ChipSet",  &ImageExtensions, 240, 128, 2, false},
    {TSelKind::Battle,   "TFormSelBattle",   "Select Battle Animation",    "Battle",   &ImageExtensions, 240, 240, 2, false},
    {TSelKind::Backdrop, "TFormSelBackdrop", "Select Battle Background",   "Backdrop", &ImageExtensions, 320, 160, 1, false},
    {TSelKind::Title,    "TFormSelTitle",    "Title Graphic",              "Title",    &ImageExtensions, 320, 240, 1, false},
    {TSelKind::GameOver, "TFormSelGameOver", "Game Over Graphic",          "GameOver", &ImageExtensions, 320, 240, 1, false},
    {TSelKind::System,   "TFormSelSystem",   "Select System Graphics",     "System",   &ImageExtensions, 160, 128, 1, false},
    {TSelKind::Panorama, "TFormSelPanorama", "Select Panorama",            "Panorama", &ImageExtensions, 0,   0,   1, false},
    {TSelKind::Picture,  "TFormSelPicture",  "Select Picture",             "Picture",  &ImageExtensions, 0,   0,   1, false},
    {TSelKind::Monster,  "TFormSelMonster",  "Select Monsters Graphic",    "Monster",  &ImageExtensions, 320, 240, 1, false},
    {TSelKind::Movie,    "TFormSelMovie",    "Select Movie",               "Movie",    &MovieExtensions, 0,   0,   1, false},
    {TSelKind::Music,    "TFormSelMusic",    "Select Background Music",    "Music",    &MusicExtensions, 0,   0,   1, true},
    {TSelKind::Sound,    "TFormSelSound",    "Select Sound Effect",        "Sound",    &SoundExtensions, 0,   0,   1, true},
    {TSelKind::ReplChip, "TFormSelReplChip", "Select Chip",                "",         &ImageExtensions, 192, 0,   1, false},
}};
// clang-format on

}  // namespace

const TSelKindInfo& SelKindInfo(TSelKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    if (index >= kKinds.size())
        throw std::out_of_range("unknown selector kind");
    return kKinds[index];
}

int InitialSelRow(const std::vector<std::string>& rows, const std::string& name) {
    if (rows.empty())
        return -1;
    const std::string rtp = name + kRtpSuffix;
    const auto find = [&rows](const std::string& wanted, bool noCase) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (noCase ? SameTextNoCase(rows[i], wanted) : rows[i] == wanted)
                return static_cast<int>(i);
        return -1;
    };
    for (const auto& [wanted, noCase] :
         {std::pair{&name, false}, std::pair{&name, true}, std::pair{&rtp, false}, std::pair{&rtp, true}}) {
        if (const int row = find(*wanted, noCase); row >= 0)
            return row;
    }
    return 0;
}

TSelListModel::TSelListModel(TSelKind kind) : mKind(kind) {}

void TSelListModel::Fill() {
    std::vector<std::string> rows;
    const TSelKindInfo& info = Info();
    if (*info.Folder)
        ListResources(rows, info.Folder, *info.Extensions);
    SetRows(std::move(rows));
}

void TSelListModel::SetRows(std::vector<std::string> rows) {
    if (Info().OffRow)
        rows.insert(rows.begin(), kSoundOff);
    if (mKind == TSelKind::EvChar)
        rows.insert(rows.begin(), {kEvCharChipSetRows[0], kEvCharChipSetRows[1], kEvCharChipSetRows[2]});
    mRows = std::move(rows);
    mItemIndex = -1;
    mTopRow = 0;
}

void TSelListModel::Open(const std::string& currentName) {
    const int row = InitialSelRow(mRows, currentName);
    mTopRow = InitialTopRow(row);
    SelectRow(row);
}

void TSelListModel::SelectRow(int row) {
    mItemIndex = row >= 0 && row < RowCount() ? row : -1;
}

std::string TSelListModel::Name() const {
    if (mItemIndex < 0)
        return Info().OffRow ? std::string(kSoundOff) : std::string();
    return StripRtpSuffix(mRows[static_cast<std::size_t>(mItemIndex)]);
}

bool TSelListModel::IsOff() const { return Info().OffRow && (mItemIndex <= 0); }

std::string TSelListModel::FileName() const {
    if (IsOff() || mItemIndex < 0)
        return {};
    const TSelKindInfo& info = Info();
    return FindResourceFile(Name(), info.Folder, *info.Extensions);
}

int TSelGrid::CellAt(int x, int y) const {
    if (x < 0 || y < 0 || CellWidth <= 0 || CellHeight <= 0 || x >= Width() || y >= Height())
        return -1;
    const int index = x / CellWidth + (y / CellHeight) * Columns;
    return index < Count ? index : -1;
}

TRect TSelGrid::CellRect(int index) const {
    if (index < 0 || index >= Count || Columns <= 0)
        return {};
    return MakeBounds((index % Columns) * CellWidth, (index / Columns) * CellHeight, CellWidth, CellHeight);
}

void DrawSelFrame(TOrlenBoard& board, const TRect& rect, std::uint16_t color) {
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    FillBoardRect(board, MakeRect(rect.Left, rect.Top, rect.Right, rect.Top + 2), color);
    FillBoardRect(board, MakeRect(rect.Left, rect.Bottom - 2, rect.Right, rect.Bottom), color);
    FillBoardRect(board, MakeRect(rect.Left, rect.Top, rect.Left + 2, rect.Bottom), color);
    FillBoardRect(board, MakeRect(rect.Right - 2, rect.Top, rect.Right, rect.Bottom), color);
}

bool LoadSelSheet(TOrlenSheet& sheet, const std::string& folder, const std::string& name) {
    try {
        sheet.AutoSize = true;
        sheet.Clear();
        sheet.FreeImage();
        if (name.empty() || name == kSoundOff)
            return false;
        const std::string file = FindResourceFile(name, folder, ImageExtensions);
        sheet.LoadFromFile(file, false);
        sheet.UpdateColorTable();
    } catch (const std::exception&) {
        sheet.FreeImage();
        return false;
    }
    return sheet.Width() > 0 && sheet.Height() > 0;
}

}  // namespace quillon
