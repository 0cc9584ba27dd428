#include "database/ED_Animation.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"
#include "graphics/MapRender.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quillon {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t Saturate(std::int64_t value) { return static_cast<std::int32_t>(std::clamp(value, kInt32Min, kInt32Max)); }

std::int32_t ClampCoord(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kAnimationCoordLimit, kAnimationCoordLimit));
}

void SnapCell(TKelAnimationCellItem& cell, std::int32_t grid) {
    cell.X = SnapCoordinate(cell.X, grid);
    cell.Y = SnapCoordinate(cell.Y, grid);
}

// Half the side of the square a cell covers.
std::int64_t HalfSide(const TKelAnimationCellItem& cell) {
    const double mag = std::clamp(static_cast<double>(cell.Magnification), 0.0, 1e6);
    return std::llround(48.0 * mag / 100.0);
}

// A frame never holds more than eight cells; what a file or block held beyond them goes.
void TrimCells(TKelAnimationPatternItem& frame) {
    while (frame.Cells.Count() > kAnimationMaxCells)
        frame.Cells.Delete(frame.Cells.Items(frame.Cells.Count() - 1)->ID);
}

// A new cell after the frame's last.
TKelAnimationCellItem& AppendCell(TKelAnimationCell& cells) {
    MakeRoomAbove(cells, kAnimationMaxCells);
    return cells.Append();
}

void HiddenDefault(TKelAnimationCellItem& cell) {
    cell.Reset();
    cell.Visible = 0;
}

void SwapCells(TKelAnimationCellItem& a, TKelAnimationCellItem& b) {
    TKelAnimationCellItem keep;
    keep.Assign(a);
    a.Assign(b);
    b.Assign(keep);
}

TKelAnimationPatternItem* FrameAt(const TKelAnimationItem& animation, std::int64_t oneBased) {
    if (oneBased < 1 || oneBased > animation.FrameCount())
        return nullptr;
    return animation.Frames.Items(static_cast<int>(oneBased - 1));
}

void PutPixelRow(TOrlenBoard& board, int x0, int x1, int y, std::uint16_t colour) {
    if (y < 0 || y >= board.Height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, board.Width() - 1);
    std::uint16_t* row = board.ScanLine(y);
    for (int x = x0; x <= x1; ++x)
        row[x] = colour;
}

void FillBoardRect(TOrlenBoard& board, int x0, int y0, int x1, int y1, std::uint16_t colour) {
    for (int y = std::max(y0, 0); y <= std::min(y1, board.Height() - 1); ++y)
        PutPixelRow(board, x0, x1, y, colour);
}

void FrameBoardRect(TOrlenBoard& board, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                    std::uint16_t colour) {
    const auto clip = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -2, 100000)); };
    const int l = clip(x0), t = clip(y0), r = clip(x1), b = clip(y1);
    PutPixelRow(board, l, r, t, colour);
    PutPixelRow(board, l, r, b, colour);
    FillBoardRect(board, l, t, l, b, colour);
    FillBoardRect(board, r, t, r, b, colour);
}

constexpr std::uint16_t kFrameWhite = 0xFFFF;
constexpr std::uint16_t kFrameBlack = 0x0000;

}  // namespace

std::int32_t SnapCoordinate(std::int32_t value, std::int32_t grid) {
    if (grid <= 1)
        return ClampCoord(value);
    std::int64_t e = ((static_cast<std::int64_t>(value) % grid) + grid) % grid;
    if (2 * e > grid)
        e -= grid;
    return ClampCoord(static_cast<std::int64_t>(value) - e);
}

std::int32_t ComplementValue(std::int64_t t, std::int32_t r, std::int32_t s, std::int64_t n) {
    if (n == 0)
        return r;
    const std::int64_t product = t * (static_cast<std::int64_t>(s) - r);
    const double value = static_cast<double>(product) / static_cast<double>(n) + static_cast<double>(r);
    const double rounded = std::nearbyint(value);  // ties to even in the default rounding mode
    return static_cast<std::int32_t>(std::clamp(rounded, static_cast<double>(kInt32Min), static_cast<double>(kInt32Max)));
}

std::int32_t SaturatedAdd(std::int32_t a, std::int64_t b) {
    if (b > 0 && b > kInt32Max - a)
        return static_cast<std::int32_t>(kInt32Max);
    if (b < 0 && b < kInt32Min - a)
        return static_cast<std::int32_t>(kInt32Min);
    return static_cast<std::int32_t>(a + b);
}

// --- tools ---

void FrameTool(TKelAnimationItem& animation, std::int32_t a, std::int32_t b, std::int32_t c, TFrameToolOperation op) {
    if (a > b)
        std::swap(a, b);
    const std::int64_t frames = animation.FrameCount();
    if (op == TFrameToolOperation::Clear) {
        for (std::int64_t f = std::max<std::int64_t>(a, 1); f <= std::min<std::int64_t>(b, frames); ++f)
            FrameAt(animation, f)->Reset();
        return;
    }
    if (c == a)
        return;
    const std::int64_t span = static_cast<std::int64_t>(b) - a;
    const auto copy = [&](std::int64_t i) {
        TKelAnimationPatternItem* source = FrameAt(animation, a + i);
        TKelAnimationPatternItem* target = FrameAt(animation, c + i);  // none beyond the last frame
        if (source && target)
            target->Assign(*source);
    };
    if (c < a)
        for (std::int64_t i = 0; i <= span && c + i <= frames; ++i)
            copy(i);
    else
        for (std::int64_t i = std::min(span, frames - c); i >= 0; --i)
            copy(i);
}

void Complement(TKelAnimationItem& animation, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                TComplementItems items) {
    if (a > b)
        std::swap(a, b);
    if (c > d)
        std::swap(c, d);
    const std::int64_t n = static_cast<std::int64_t>(b) - a;
    TKelAnimationPatternItem* first = FrameAt(animation, a);
    TKelAnimationPatternItem* last = FrameAt(animation, b);
    if (n == 0 || !first || !last)
        return;
    for (std::int64_t h = std::max<std::int32_t>(c, 1); h <= std::min<std::int32_t>(d, kAnimationMaxCells); ++h) {
        const int index = static_cast<int>(h - 1);
        const TKelAnimationCellItem* rCell = first->Cells.Items(index);
        const TKelAnimationCellItem* sCell = last->Cells.Items(index);
        if (!rCell || !sCell || !rCell->Visible || !sCell->Visible)
            continue;
        TKelAnimationCellItem r, s;
        r.Assign(*rCell);
        s.Assign(*sCell);
        for (std::int64_t t = 0; t < n; ++t) {
            TKelAnimationPatternItem& frame = *FrameAt(animation, a + t);
            while (frame.Cells.Count() <= index)
                HiddenDefault(AppendCell(frame.Cells));
            TKelAnimationCellItem& cell = *frame.Cells.Items(index);
            cell.Visible = 1;
            const auto value = [&](std::int32_t TKelAnimationCellItem::*field) {
                cell.*field = ComplementValue(t, r.*field, s.*field, n);
            };
            if (items.Pattern)
                value(&TKelAnimationCellItem::Pattern);
            if (items.Motion) {
                value(&TKelAnimationCellItem::X);
                value(&TKelAnimationCellItem::Y);
                value(&TKelAnimationCellItem::Magnification);
            }
            if (items.Tone) {
                value(&TKelAnimationCellItem::Red);
                value(&TKelAnimationCellItem::Green);
                value(&TKelAnimationCellItem::Blue);
                value(&TKelAnimationCellItem::Chroma);
                value(&TKelAnimationCellItem::Transparency);
            }
        }
    }
}

void ManyCells(TKelAnimationItem& animation, const TManyCellsSettings& settings) {
    const int frames = std::min<int>(animation.FrameCount(), static_cast<int>(settings.Frames.size()));
    for (int f = 0; f < frames; ++f) {
        if (!settings.Frames[static_cast<std::size_t>(f)])
            continue;
        TKelAnimationPatternItem& frame = *animation.Frames.Items(f);
        for (int i = 0; i < kAnimationMaxCells; ++i) {
            TKelAnimationCellItem* cell = frame.Cells.Items(i);
            if (!settings.Cells[static_cast<std::size_t>(i)] || !cell || !cell->Visible)
                continue;
            if (settings.SetPattern)
                cell->Pattern = std::clamp(settings.Pattern, 1, kAnimationPatternCount) - 1;
            if (settings.SetMagnification)
                cell->Magnification = std::clamp(settings.Magnification, 20, 800);
            if (settings.SetTransparency)
                cell->Transparency = std::clamp(settings.Transparency, 0, 100);
            if (settings.SetColor) {
                cell->Red = std::clamp(settings.Red, 0, 200);
                cell->Green = std::clamp(settings.Green, 0, 200);
                cell->Blue = std::clamp(settings.Blue, 0, 200);
                cell->Chroma = std::clamp(settings.Chroma, 0, 200);
            }
        }
    }
}

TAnimationToolMemory& AnimationToolMemory() {
    static TAnimationToolMemory memory;
    return memory;
}

// --- the page ---

TAnimationPageModel::TAnimationPageModel(const TDataBaseContext& context, IEventChoosers* choosers, TImageFinder find,
                                         TSoundPlayer playSound)
    : TEntryPageModel(context, dtAnimation, context.DataBase->Animation),
      mChoosers(choosers),
      mFind(std::move(find)),
      mPlaySound(std::move(playSound)) {
    // Whatever the page changes, the animation's cached encoding no longer holds.
    mDirty = Modified.Connect([this] {
        if (Current())
            Item().Dirty = true;
    });
    mEntry = CurrentChanged.Connect([this] {
        mCell = -1;
        mDragging = false;
        ClampSelection();
    });
    ClampSelection();
}

TAnimationPageModel::~TAnimationPageModel() = default;

void TAnimationPageModel::Changed() {
    Modify();
    ViewChanged.Emit();
}

void TAnimationPageModel::ClampSelection() {
    if (!Current())
        return;
    // An animation without frames (only from a damaged file) gets one to edit.
    if (Item().FrameCount() == 0)
        Item().SetFrameCount(1);
    mFrame = std::clamp(mFrame, 0, FrameCount() - 1);
    if (mCell >= Item().Frames.Items(mFrame)->Cells.Count())
        mCell = -1;
}

void TAnimationPageModel::SetFileName(const std::string& name) {
    if (name == Item().FileName)
        return;
    Item().FileName = name;
    Changed();
}

bool TAnimationPageModel::ChooseImage() {
    if (!mChoosers)
        return false;
    std::string name = Item().FileName;
    if (!mChoosers->ChooseResource(TSelKind::Battle, name, nullptr, {}) || name == Item().FileName)
        return false;
    SetFileName(name);
    return true;
}

void TAnimationPageModel::ShiftAllY(std::int64_t by) {
    if (by == 0)
        return;
    for (int f = 0; f < Item().Frames.Count(); ++f) {
        TKelAnimationCell& cells = Item().Frames.Items(f)->Cells;
        for (int i = 0; i < cells.Count(); ++i)
            cells.Items(i)->Y = SaturatedAdd(cells.Items(i)->Y, by);
    }
}

void TAnimationPageModel::SetScope(std::int32_t scope) {
    scope = std::clamp(scope, 0, 1);
    if (scope == Item().Scope)
        return;
    const std::int64_t o = Item().YLine;
    const std::int64_t h = VictimHeight();
    // Single -> All: the origin goes from the anchor line to the centre; All -> Single back.
    ShiftAllY(scope == TKelAnimationItem::asAll ? ((o - 1) * h) / 2 : ((1 - o) * h) / 2);
    Item().Scope = static_cast<std::uint8_t>(scope);
    Changed();
}

bool TAnimationPageModel::SetYLine(std::int32_t line) {
    line = std::clamp(line, 0, 2);
    if (!YLineEnabled() || line == Item().YLine)
        return false;
    const std::int64_t o = Item().YLine;
    ShiftAllY(((o - line) * static_cast<std::int64_t>(VictimHeight())) / 2);
    Item().YLine = static_cast<std::uint8_t>(line);
    Changed();
    return true;
}

std::int32_t TAnimationPageModel::TestVictim() const {
    const std::int32_t victim = DataBase().System.TestVictim;
    return victim < 1 || victim > DataBase().Monster.Count() ? 1 : victim;
}

void TAnimationPageModel::SetTestVictim(std::int32_t victim) {
    victim = std::clamp(victim, 1, std::max(1, DataBase().Monster.Count()));
    if (victim == DataBase().System.TestVictim)
        return;
    DataBase().System.TestVictim = victim;
    Changed();
}

std::vector<TFieldChoice> TAnimationPageModel::VictimChoices() const {
    std::vector<TFieldChoice> choices;
    const TKelMonster& monsters = DataBase().Monster;
    for (int i = 0; i < monsters.Count(); ++i)
        choices.push_back({i + 1, monsters.Items(i)->Name});
    if (choices.empty())
        choices.push_back({1, {}});
    return choices;
}

bool TAnimationPageModel::SnapTo() const { return DataBase().System.SnapTo != 0; }

void TAnimationPageModel::SetSnapTo(bool on) {
    if (on == SnapTo())
        return;
    DataBase().System.SnapTo = on ? 1 : 0;
    Changed();
}

bool TAnimationPageModel::SetFrameCount(std::int32_t count) {
    count = std::clamp(count, 1, kAnimationMaxFrames);
    if (count == FrameCount())
        return false;
    Item().SetFrameCount(count);
    ClampSelection();
    Changed();
    return true;
}

bool TAnimationPageModel::ChooseFrameCount() {
    // The dialog offers the count within its range; an animation of more frames (from a file)
    // keeps them unless another count is chosen.
    const std::int32_t shown = ShownCount(FrameCount(), kAnimationMaxFrames);
    std::int32_t count = shown;
    if (!AskFrameCount || !AskFrameCount(count) || count == shown)
        return false;
    return SetFrameCount(count);
}

void TAnimationPageModel::LoadVictim() {
    if (!mVictim) {
        mVictim = std::make_unique<TOrlenSheet>();
        mVictim->AutoSize = true;
        mVictim->Transparent = true;
    }
    const TKelMonsterItem* monster = DataBase().Monster.Items(TestVictim() - 1);
    const std::string name = monster ? monster->GraphicName : std::string();
    const std::int32_t hue = monster ? monster->Hue : 0;
    const std::string key = name + '\n' + std::to_string(hue);
    if (key == mVictimKey)
        return;
    mVictimKey = key;
    mVictim->Clear();
    try {
        LoadSheetResource(*mVictim, mFind, "Monster", name, false);
        if (hue != 0)
            mVictim->ShiftHue(hue);
        mVictim->UpdateColorTable();
    } catch (const std::exception&) {
        mVictim->Clear();
    }
}

int TAnimationPageModel::VictimHeight() {
    LoadVictim();
    return mVictim->Height();
}

// --- frames ---

bool TAnimationPageModel::SelectFrame(int frame) {
    if (frame < 0 || frame >= FrameCount() || frame == mFrame)
        return false;
    mFrame = frame;
    mCell = -1;
    ViewChanged.Emit();
    return true;
}

std::string TAnimationPageModel::FrameRowText(int frame) {
    char text[24];
    std::snprintf(text, sizeof text, "< %.3d >", frame + 1);
    return text;
}

TKelAnimationPatternItem& TAnimationPageModel::Frame() const {
    const_cast<TAnimationPageModel*>(this)->ClampSelection();
    return *Item().Frames.Items(mFrame);
}

bool TAnimationPageModel::CopyFrame() {
    Frame().CopyToClipboard(TKelAnimationPatternItem::kClipboardFormat);
    return true;
}

bool TAnimationPageModel::CutFrame() { return CopyFrame() && ClearFrame(); }

bool TAnimationPageModel::CanPasteFrame() const {
    return Clipboard().HasFormat(TKelAnimationPatternItem::kClipboardFormat);
}

bool TAnimationPageModel::PasteFrame() {
    TKelAnimationPatternItem pasted;
    try {
        if (!pasted.PasteFromClipboard(TKelAnimationPatternItem::kClipboardFormat))
            return false;
    } catch (const std::exception&) {
        return false;  // a damaged block changes nothing
    }
    TrimCells(pasted);
    Frame().Assign(pasted);
    mCell = -1;
    Changed();
    return true;
}

bool TAnimationPageModel::ClearFrame() {
    Frame().Reset();
    mCell = -1;
    Changed();
    return true;
}

bool TAnimationPageModel::InsertFrame() {
    if (!CanInsertFrame())
        return false;
    TKelAnimationPattern& frames = Item().Frames;
    frames.Append();
    for (int i = frames.Count() - 1; i > mFrame; --i)
        frames.Items(i)->Assign(*frames.Items(i - 1));
    const std::int64_t k = static_cast<std::int64_t>(mFrame) + 1;
    for (int t = 0; t < Item().Timing.Count(); ++t) {
        TKelAnimationTimingItem& timing = *Item().Timing.Items(t);
        if (timing.Frame >= k)
            timing.Frame = SaturatedAdd(timing.Frame, 1);
    }
    Changed();
    return true;
}

bool TAnimationPageModel::DeleteFrame() {
    if (!CanDeleteFrame())
        return false;
    TKelAnimationPattern& frames = Item().Frames;
    for (int i = mFrame; i + 1 < frames.Count(); ++i)
        frames.Items(i)->Assign(*frames.Items(i + 1));
    frames.Delete(frames.Items(frames.Count() - 1)->ID);
    const std::int64_t k = static_cast<std::int64_t>(mFrame) + 1;
    for (int t = 0; t < Item().Timing.Count(); ++t) {
        TKelAnimationTimingItem& timing = *Item().Timing.Items(t);
        if (timing.Frame > k)
            timing.Frame = SaturatedAdd(timing.Frame, -1);
    }
    mCell = -1;
    ClampSelection();
    Changed();
    return true;
}

bool TAnimationPageModel::GetPrevious() {
    if (!CanGetPrevious())
        return false;
    Frame().Assign(*Item().Frames.Items(mFrame - 1));
    mCell = -1;
    Changed();
    return true;
}

// --- cells ---

void TAnimationPageModel::SelectPattern(int pattern) {
    if (pattern < 0 || pattern >= kAnimationPatternCount || pattern == mPattern)
        return;
    mPattern = pattern;
    ViewChanged.Emit();
}

void TAnimationPageModel::SelectCell(int cell) {
    mCell = Cell(cell) ? cell : -1;
    ViewChanged.Emit();
}

TKelAnimationCellItem* TAnimationPageModel::Cell(int index) const {
    return index >= 0 && index < kAnimationMaxCells ? Frame().Cells.Items(index) : nullptr;
}

int TAnimationPageModel::OriginY() {
    if (Item().Scope == TKelAnimationItem::asAll)
        return kAnimationVictimY;
    const std::int64_t line = std::min<std::int64_t>(Item().YLine, 2);
    return static_cast<int>(kAnimationVictimY + ((line - 1) * VictimHeight()) / 2);
}

int TAnimationPageModel::HitTest(int x, int y, bool nextLower) {
    const TKelAnimationCell& cells = Frame().Cells;
    const std::int64_t ox = OriginX(), oy = OriginY();
    int found = -1;
    for (int i = std::min(cells.Count(), kAnimationMaxCells) - 1; i >= 0; --i) {
        const TKelAnimationCellItem& cell = *cells.Items(i);
        if (!cell.Visible)
            continue;
        const std::int64_t half = HalfSide(cell);
        const std::int64_t cx = ox + cell.X, cy = oy + cell.Y;
        if (x < cx - half || x >= cx + half || y < cy - half || y >= cy + half)
            continue;
        if (found >= 0 || !nextLower)
            return i;
        found = i;  // the next cell under the point is the one wanted
    }
    return found;
}

bool TAnimationPageModel::HasFreeSlot() const {
    const TKelAnimationCell& cells = Frame().Cells;
    if (cells.Count() < kAnimationMaxCells)
        return true;
    for (int i = 0; i < kAnimationMaxCells; ++i)
        if (!cells.Items(i)->Visible)
            return true;
    return false;
}

int TAnimationPageModel::FreeSlot() {
    TKelAnimationCell& cells = Frame().Cells;
    for (int i = 0; i < std::min(cells.Count(), kAnimationMaxCells); ++i)
        if (!cells.Items(i)->Visible)
            return i;
    if (cells.Count() >= kAnimationMaxCells)
        return -1;
    AppendCell(cells);
    return cells.Count() - 1;
}

bool TAnimationPageModel::Press(int x, int y, bool left, bool nextLower) {
    mDragging = false;
    const int hit = HitTest(x, y, nextLower);
    if (hit >= 0) {
        mCell = hit;
        mDragging = true;
        ViewChanged.Emit();
        return true;
    }
    mCell = -1;
    const std::int64_t rx = static_cast<std::int64_t>(x) - OriginX();
    const std::int64_t ry = static_cast<std::int64_t>(y) - OriginY();
    const bool inside = rx >= -kAnimationCoordLimit && rx <= kAnimationCoordLimit && ry >= -kAnimationCoordLimit &&
                        ry <= kAnimationCoordLimit;
    if (!inside || !left || !HasFreeSlot()) {
        ViewChanged.Emit();
        return false;
    }
    const int slot = FreeSlot();
    TKelAnimationCellItem& cell = *Frame().Cells.Items(slot);
    cell.Reset();
    cell.Pattern = mPattern;
    cell.X = static_cast<std::int32_t>(rx);
    cell.Y = static_cast<std::int32_t>(ry);
    SnapCell(cell, Grid());
    mCell = slot;
    mDragging = true;
    Changed();
    return true;
}

bool TAnimationPageModel::MoveCells(std::int32_t dx, std::int32_t dy, bool moveAll) {
    TKelAnimationCell& cells = Frame().Cells;
    bool changed = false;
    for (int i = 0; i < std::min(cells.Count(), kAnimationMaxCells); ++i) {
        if (i != mCell && !moveAll)
            continue;
        TKelAnimationCellItem& cell = *cells.Items(i);
        const std::int32_t x = cell.X, y = cell.Y;
        cell.X = ClampCoord(static_cast<std::int64_t>(cell.X) + dx);
        cell.Y = ClampCoord(static_cast<std::int64_t>(cell.Y) + dy);
        SnapCell(cell, Grid());
        changed = changed || cell.X != x || cell.Y != y;
    }
    return changed;
}

bool TAnimationPageModel::Drag(int x, int y, bool moveAll) {
    TKelAnimationCellItem* cell = mDragging ? Cell(mCell) : nullptr;
    if (!cell)
        return false;
    const std::int64_t g = Grid();
    const std::int64_t ox = OriginX(), oy = OriginY();
    const std::int32_t startX = cell->X, startY = cell->Y;
    // One grid step at a time while the pointer is more than half a step away; a clamped
    // position ends the walk.
    const auto walk = [g](std::int32_t& value, std::int64_t origin, std::int64_t pointer) {
        for (;;) {
            const std::int64_t at = origin + value;
            std::int64_t next = value;
            if (pointer - at > g / 2)
                next = std::min<std::int64_t>(value + g, kAnimationCoordLimit);
            else if (at - pointer > g / 2)
                next = std::max<std::int64_t>(value - g, -kAnimationCoordLimit);
            if (next == value)
                return;
            value = static_cast<std::int32_t>(next);
        }
    };
    walk(cell->X, ox, x);
    walk(cell->Y, oy, y);
    if (cell->X == startX && cell->Y == startY)
        return false;
    const std::int64_t dx = static_cast<std::int64_t>(cell->X) - startX;
    const std::int64_t dy = static_cast<std::int64_t>(cell->Y) - startY;
    SnapCell(*cell, Grid());
    if (moveAll) {
        TKelAnimationCell& cells = Frame().Cells;
        for (int i = 0; i < std::min(cells.Count(), kAnimationMaxCells); ++i) {
            if (i == mCell)
                continue;
            TKelAnimationCellItem& other = *cells.Items(i);
            other.X = ClampCoord(other.X + dx);
            other.Y = ClampCoord(other.Y + dy);
            SnapCell(other, Grid());
        }
    }
    Changed();
    return true;
}

bool TAnimationPageModel::MoveCell(int dx, int dy, bool moveAll) {
    if (!moveAll && !Cell(mCell))
        return false;
    const std::int32_t g = Grid();
    if (!MoveCells(std::clamp(dx, -1, 1) * g, std::clamp(dy, -1, 1) * g, moveAll))
        return false;
    Changed();
    return true;
}

bool TAnimationPageModel::PriorityUp() {
    if (!CanPriorityUp())
        return false;
    TKelAnimationCell& cells = Frame().Cells;
    if (mCell == cells.Count() - 1)
        HiddenDefault(AppendCell(cells));
    SwapCells(*cells.Items(mCell), *cells.Items(mCell + 1));
    ++mCell;
    Changed();
    return true;
}

bool TAnimationPageModel::PriorityDown() {
    if (!CanPriorityDown())
        return false;
    TKelAnimationCell& cells = Frame().Cells;
    SwapCells(*cells.Items(mCell), *cells.Items(mCell - 1));
    --mCell;
    Changed();
    return true;
}

bool TAnimationPageModel::CopyCell() {
    TKelAnimationCellItem* cell = Cell(mCell);
    if (!cell)
        return false;
    cell->CopyToClipboard(TKelAnimationCellItem::kClipboardFormat);
    return true;
}

bool TAnimationPageModel::DeleteCell() {
    TKelAnimationCellItem* cell = Cell(mCell);
    if (!cell)
        return false;
    HiddenDefault(*cell);
    mCell = -1;
    Changed();
    return true;
}

bool TAnimationPageModel::CutCell() { return CopyCell() && DeleteCell(); }

bool TAnimationPageModel::CanPasteCell() const {
    return HasFreeSlot() && Clipboard().HasFormat(TKelAnimationCellItem::kClipboardFormat);
}

bool TAnimationPageModel::PasteCell() {
    if (!CanPasteCell())
        return false;
    TKelAnimationCellItem pasted;
    try {
        if (!pasted.PasteFromClipboard(TKelAnimationCellItem::kClipboardFormat))
            return false;
    } catch (const std::exception&) {
        return false;
    }
    const int slot = FreeSlot();
    TKelAnimationCell& cells = Frame().Cells;
    TKelAnimationCellItem& cell = *cells.Items(slot);
    cell.Assign(pasted);
    cell.Visible = 1;
    // A block from elsewhere may place the cell anywhere: it lands on the preview's range.
    cell.X = ClampCoord(cell.X);
    cell.Y = ClampCoord(cell.Y);
    const auto covered = [&] {
        for (int i = 0; i < std::min(cells.Count(), kAnimationMaxCells); ++i) {
            const TKelAnimationCellItem& other = *cells.Items(i);
            if (i != slot && other.Visible && other.X == cell.X && other.Y == cell.Y &&
                other.Magnification == cell.Magnification)
                return true;
        }
        return false;
    };
    // Moved aside diagonally while it would hide another cell; at the limits it stays.
    while (covered()) {
        const std::int32_t x = ClampCoord(static_cast<std::int64_t>(cell.X) + kAnimationSnapGrid);
        const std::int32_t y = ClampCoord(static_cast<std::int64_t>(cell.Y) + kAnimationSnapGrid);
        if (x == cell.X && y == cell.Y)
            break;
        cell.X = x;
        cell.Y = y;
    }
    mCell = slot;
    Changed();
    return true;
}

bool TAnimationPageModel::SetCellProperties(const TKelAnimationCellItem& values) {
    TKelAnimationCellItem* cell = Cell(mCell);
    if (!cell)
        return false;
    TKelAnimationCellItem before;
    before.Assign(*cell);
    cell->Pattern = std::clamp(values.Pattern, 0, kAnimationPatternCount - 1);
    cell->Magnification = std::clamp(values.Magnification, 20, 800);
    cell->Transparency = std::clamp(values.Transparency, 0, 100);
    cell->Red = std::clamp(values.Red, 0, 200);
    cell->Green = std::clamp(values.Green, 0, 200);
    cell->Blue = std::clamp(values.Blue, 0, 200);
    cell->Chroma = std::clamp(values.Chroma, 0, 200);
    if (cell->Pattern == before.Pattern && cell->Magnification == before.Magnification &&
        cell->Transparency == before.Transparency && cell->Red == before.Red && cell->Green == before.Green &&
        cell->Blue == before.Blue && cell->Chroma == before.Chroma)
        return false;
    Changed();
    return true;
}

// --- timings ---

std::array<std::string, 3> TAnimationPageModel::TimingRowTexts(int row) const {
    const TKelAnimationTimingItem* timing = Item().Timing.Items(row);
    if (!timing)
        return {};
    char frame[24];
    std::snprintf(frame, sizeof frame, " < %.2d >", static_cast<int>(timing->Frame));
    std::string flash;
    if (timing->FlashRange == TKelAnimationTimingItem::frTarget ||
        timing->FlashRange == TKelAnimationTimingItem::frScreen) {
        char text[80];
        std::snprintf(text, sizeof text, "%s(R%.2d,G%.2d,B%.2d,V%.2d)",
                      timing->FlashRange == TKelAnimationTimingItem::frTarget ? "Object" : "Screen",
                      static_cast<int>(timing->FlashRed), static_cast<int>(timing->FlashGreen),
                      static_cast<int>(timing->FlashBlue), static_cast<int>(timing->FlashPower));
        flash = text;
    }
    return {frame, timing->Sound.Name == kSoundOff ? std::string() : timing->Sound.Name, flash};
}

void TAnimationPageModel::TimingForRow(int row, TKelAnimationTimingItem& timing) const {
    if (const TKelAnimationTimingItem* stored = Item().Timing.Items(row)) {
        timing.Assign(*stored);
        return;
    }
    timing.Reset();
    timing.Frame = mFrame + 1;
}

namespace {

int RowOf(const TKelAnimationTiming& list, const TKelAnimationTimingItem* timing) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Items(i) == timing)
            return i;
    return -1;
}

}  // namespace

int TAnimationPageModel::SetTiming(int row, const TKelAnimationTimingItem& timing) {
    TKelAnimationTiming& list = Item().Timing;
    TKelAnimationTimingItem* target = list.Items(row);
    if (!target) {
        if (row != list.Count() || list.Count() >= kAnimationMaxTimings)
            return -1;
        target = &list.Append();
    }
    target->Assign(timing);
    target->Frame = std::clamp(target->Frame, 1, FrameCount());
    list.SortByTiming();
    Changed();
    return RowOf(list, target);
}

bool TAnimationPageModel::CopyTiming(int row) {
    TKelAnimationTimingItem* timing = Item().Timing.Items(row);
    if (!timing)
        return false;
    timing->CopyToClipboard(TKelAnimationTimingItem::kClipboardFormat);
    return true;
}

bool TAnimationPageModel::DeleteTiming(int row) {
    TKelAnimationTimingItem* timing = Item().Timing.Items(row);
    if (!timing)
        return false;
    Item().Timing.DeleteAndRenumber(timing->ID);
    Changed();
    return true;
}

int TAnimationPageModel::CutTiming(int row) { return CopyTiming(row) && DeleteTiming(row) ? row : -1; }

bool TAnimationPageModel::CanPasteTiming() const {
    return Item().Timing.Count() < kAnimationMaxTimings &&
           Clipboard().HasFormat(TKelAnimationTimingItem::kClipboardFormat);
}

int TAnimationPageModel::PasteTiming() {
    if (!CanPasteTiming())
        return -1;
    TKelAnimationTimingItem pasted;
    try {
        if (!pasted.PasteFromClipboard(TKelAnimationTimingItem::kClipboardFormat))
            return -1;
    } catch (const std::exception&) {
        return -1;
    }
    TKelAnimationTiming& list = Item().Timing;
    TKelAnimationTimingItem& target = list.Append();
    target.Assign(pasted);
    list.SortByTiming();
    Changed();
    return RowOf(list, &target);
}

bool TAnimationPageModel::ChooseTimingSound(TKelSound& sound) {
    return mChoosers && mChoosers->ChooseSound(sound, {});
}

// --- tools ---

std::unique_ptr<TKelAnimationItem> TAnimationPageModel::ToolCopy() const {
    auto copy = std::make_unique<TKelAnimationItem>();
    copy->Assign(Item());
    copy->SetID(Item().ID);
    copy->Dirty = true;
    return copy;
}

void TAnimationPageModel::ApplyToolCopy(const TKelAnimationItem& copy) {
    const_cast<TKelAnimationItem&>(copy).Dirty = true;
    Item().Assign(copy);
    Item().Dirty = true;
    mCell = -1;
    ClampSelection();
    Changed();
}

void TAnimationPageModel::RunFrameTool(std::int32_t a, std::int32_t b, std::int32_t c, TFrameToolOperation op) {
    RememberFrameTool(a, b, c, op);
    auto copy = ToolCopy();
    FrameTool(*copy, a, b, c, op);
    ApplyToolCopy(*copy);
}

void TAnimationPageModel::RunComplement(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                                        TComplementItems items) {
    RememberComplement(a, b, c, d, items);
    auto copy = ToolCopy();
    Complement(*copy, a, b, c, d, items);
    ApplyToolCopy(*copy);
}

void TAnimationPageModel::RunManyCells(const TManyCellsSettings& settings) {
    TAnimationToolMemory& memory = AnimationToolMemory();
    memory.ManyCells.Settings = settings;
    memory.ManyCells.Frames = settings.Frames;
    memory.ManyCells.Frames.resize(kAnimationMarkedFrames, false);
    auto copy = ToolCopy();
    ManyCells(*copy, settings);
    ApplyToolCopy(*copy);
}

void TAnimationPageModel::RememberedFrameTool(std::int32_t& a, std::int32_t& b, std::int32_t& c,
                                              TFrameToolOperation& op) const {
    const auto& memory = AnimationToolMemory().FrameTool;
    const std::int32_t frames = FrameCount();
    a = std::clamp(memory.From, 1, frames);
    b = std::clamp(memory.To, 1, frames);
    c = std::clamp(memory.Start, 1, frames);
    op = memory.Operation;
}

void TAnimationPageModel::RememberFrameTool(std::int32_t a, std::int32_t b, std::int32_t c, TFrameToolOperation op) {
    auto& memory = AnimationToolMemory().FrameTool;
    memory.From = a;
    memory.To = b;
    memory.Start = c;
    memory.Operation = op;
}

void TAnimationPageModel::RememberedComplement(std::int32_t& a, std::int32_t& b, std::int32_t& c, std::int32_t& d,
                                               TComplementItems& items) const {
    const auto& memory = AnimationToolMemory().Complement;
    const std::int32_t frames = FrameCount();
    a = std::clamp(memory.From, 1, frames);
    b = memory.To == kAnimationLastFrameMark ? frames : std::clamp(memory.To, 1, frames);
    c = std::clamp(memory.CellFrom, 1, kAnimationMaxCells);
    d = std::clamp(memory.CellTo, 1, kAnimationMaxCells);
    items = memory.Items;
}

void TAnimationPageModel::RememberComplement(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                                             TComplementItems items) {
    auto& memory = AnimationToolMemory().Complement;
    memory.From = a;
    memory.To = b == FrameCount() ? kAnimationLastFrameMark : b;
    memory.CellFrom = c;
    memory.CellTo = d;
    memory.Items = items;
}

TManyCellsSettings TAnimationPageModel::RememberedManyCells() const {
    TManyCellsSettings settings = AnimationToolMemory().ManyCells.Settings;
    settings.Frames = AnimationToolMemory().ManyCells.Frames;
    settings.Frames.resize(static_cast<std::size_t>(ShownCount(FrameCount(), kAnimationMarkedFrames)), false);
    return settings;
}

// --- drawing ---

TKelAnimationGraphic& TAnimationPageModel::Graphic() {
    if (!mGraphic)
        mGraphic = std::make_unique<TKelAnimationGraphic>(mFind, mPlaySound);
    if (mGraphic->Animation() != &Item() || mGraphic->FileName() != Item().FileName) {
        try {
            mGraphic->SetAnimation(&Item(), true);
        } catch (const std::exception&) {
            mGraphic->Sheet().Clear();
        }
    }
    return *mGraphic;
}

void TAnimationPageModel::DrawBackground(TOrlenBoard& board, int flashFrame, int left, int top) {
    if (!mBackground) {
        // A plain battle backdrop: sky over ground.
        mBackground = std::make_unique<TOrlenSheet>();
        mBackground->SetSize(kAnimationPreviewWidth, kAnimationPreviewHeight);
        mBackground->Palette[1] = TPaletteEntry{40, 56, 96, 0};
        mBackground->Palette[2] = TPaletteEntry{56, 80, 56, 0};
        for (int y = 0; y < kAnimationPreviewHeight; ++y)
            std::fill_n(mBackground->ScanLine(y), kAnimationPreviewWidth, y < 104 ? 1 : 2);
        mBackground->UpdateColorTable();
    }
    Graphic().ApplyScreenFlash(*mBackground, flashFrame);
    board.DrawSheet(-left, -top, mBackground->BoundsRect(), *mBackground);
}

void TAnimationPageModel::DrawVictim(TOrlenBoard& board, int flashFrame, int left, int top) {
    LoadVictim();
    if (mVictim->Width() == 0)
        return;
    mVictim->PrimaryControl().Reset(false);
    Graphic().ApplyTargetFlash(*mVictim, flashFrame);
    Graphic().ApplyScreenFlash(*mVictim, flashFrame);
    board.DrawSheet(kAnimationVictimX - mVictim->Width() / 2 - left, kAnimationVictimY - mVictim->Height() / 2 - top,
                    mVictim->BoundsRect(), *mVictim);
}

void TAnimationPageModel::DrawPreview(TOrlenBoard& board, int left, int top) {
    if (board.Width() != kAnimationPreviewWidth || board.Height() != kAnimationPreviewHeight)
        board.SetSize(kAnimationPreviewWidth, kAnimationPreviewHeight);
    left = std::clamp(left, -kAnimationViewScroll, kAnimationViewScroll);
    top = std::clamp(top, -kAnimationViewScroll, kAnimationViewScroll);
    if (left != 0 || top != 0)
        FillBoardRect(board, 0, 0, board.Width() - 1, board.Height() - 1, kFrameBlack);
    DrawBackground(board, -1, left, top);
    DrawVictim(board, -1, left, top);
    TKelAnimationGraphic& graphic = Graphic();
    const int ox = OriginX() - left, oy = OriginY() - top;
    const TKelAnimationCell& cells = Frame().Cells;
    for (int i = 0; i < std::min(cells.Count(), kAnimationMaxCells); ++i)
        if (cells.Items(i)->Visible)
            graphic.DrawCell(board, ox, false, i, mFrame, oy);
    if (const TKelAnimationCellItem* cell = Cell(mCell); cell && cell->Visible) {
        const std::int64_t half = HalfSide(*cell);
        const std::int64_t cx = ox + static_cast<std::int64_t>(cell->X), cy = oy + static_cast<std::int64_t>(cell->Y);
        FrameBoardRect(board, cx - half, cy - half, cx + half - 1, cy + half - 1, kFrameWhite);
        FrameBoardRect(board, cx - half + 1, cy - half + 1, cx + half - 2, cy + half - 2, kFrameBlack);
    }
}

void TAnimationPageModel::DrawPatterns(TOrlenBoard& board, int scroll) {
    TKelAnimationGraphic& graphic = Graphic();
    const TPaletteEntry& zero = graphic.Sheet().Palette[0];
    FillBoardRect(board, 0, 0, board.Width() - 1, board.Height() - 1, Color565(zero));
    graphic.ResetEffects();
    for (int p = 0; p < kAnimationPatternCount; ++p) {
        const int x = p * kAnimationPatternSize - scroll;
        if (x + kAnimationPatternSize <= 0 || x >= board.Width())
            continue;
        graphic.DrawPattern(board, x, p, 0);
        FillBoardRect(board, x + kAnimationPatternSize - 1, 0, x + kAnimationPatternSize - 1, kAnimationPatternSize - 1,
                      kFrameBlack);
        if (p == mPattern)
            FrameBoardRect(board, x, 0, x + kAnimationPatternSize - 2, kAnimationPatternSize - 1, kFrameWhite);
    }
}

std::vector<TPlaybackStep> TAnimationPageModel::PlaybackSteps() const {
    std::vector<TPlaybackStep> steps;
    const int frames = FrameCount();
    const TKelAnimationTiming& timing = Item().Timing;
    for (int i = -10; i < frames + 10; ++i) {
        TPlaybackStep step;
        step.Index = i;
        step.Millis = 330 + 33 * i;
        step.Frame = i >= 0 && i < frames ? i : -1;
        if (step.Frame >= 0)
            for (int t = 0; t < timing.Count(); ++t) {
                const TKelAnimationTimingItem& cue = *timing.Items(t);
                if (static_cast<std::int64_t>(cue.Frame) == static_cast<std::int64_t>(i) + 1 && cue.Sound.Name != kSoundOff)
                    step.Sounds.push_back(cue.Sound.Name);
            }
        steps.push_back(std::move(step));
    }
    return steps;
}

void TAnimationPageModel::BeginPlayback() {
    TKelAnimationGraphic& graphic = Graphic();
    try {
        graphic.SetAnimation(&Item(), false);  // the flash tables from the timings as they are now
    } catch (const std::exception&) {
        graphic.Sheet().Clear();
    }
}

void TAnimationPageModel::DrawPlaybackStep(TOrlenBoard& board, const TPlaybackStep& step) {
    if (board.Width() != kAnimationPreviewWidth || board.Height() != kAnimationPreviewHeight)
        board.SetSize(kAnimationPreviewWidth, kAnimationPreviewHeight);
    DrawBackground(board, step.Index);
    DrawVictim(board, step.Index);
    if (step.Frame >= 0) {
        TKelAnimationGraphic& graphic = *mGraphic;
        graphic.PlayFrameSounds(step.Frame);
        graphic.DrawFrame(board, OriginX(), step.Frame, OriginY());
    }
}

void TAnimationPageModel::EndPlayback() {
    if (mGraphic) {
        try {
            mGraphic->SetAnimation(&Item(), true);
        } catch (const std::exception&) {
            mGraphic->Sheet().Clear();
        }
    }
    if (mVictim) {
        mVictim->PrimaryControl().Reset(false);
        mVictim->SecondaryControl().Reset(true);
    }
    ViewChanged.Emit();
}

// --- fields ---

namespace {

TFieldForm BuildForm() {
    TFieldFormBuilder<TAnimationPageModel> form;
    form.Field(TFieldKind::Text, "OverEdit1", "&Name:", &TAnimationPageModel::Name, &TAnimationPageModel::SetName)
        .Bytes(TKelAnimationItem::kMaxNameBytes)
        .Key("name");
    form.Resource("DashBox1", "Battle Animation &Graphic:", &TAnimationPageModel::FileName,
                  &TAnimationPageModel::ChooseImage)
        .Writes([](TAnimationPageModel& m, const TFieldValue& v) {
            if (const auto* name = std::get_if<std::string>(&v))
                m.SetFileName(*name);
        })
        .Key("image");
    form.Field(TFieldKind::DropDown, "ComboBox2", "Apply &Scope:", &TAnimationPageModel::Scope,
               &TAnimationPageModel::SetScope)
        .Choices({"Single", "All"})
        .Key("scope");
    form.Field(TFieldKind::DropDown, "ComboBox3", "&Y coord. line:", &TAnimationPageModel::YLine,
               [](TAnimationPageModel& m, std::int32_t v) { m.SetYLine(v); })
        .Choices({"Head", "Center", "Feet"})
        .EnabledWhen([](const TAnimationPageModel& m) { return m.YLineEnabled(); })
        .BlankWhenDisabled()
        .Key("anchor");
    form.Field(TFieldKind::IdList, "ComboBox1", "&Test Victim:", &TAnimationPageModel::TestVictim,
               &TAnimationPageModel::SetTestVictim)
        .ItemsFrom([](const TAnimationPageModel& m) { return m.VictimChoices(); })
        .Key("victim");
    form.Resource(
            "DashBox2", "Max &Frame:", [](const TAnimationPageModel& m) { return std::to_string(m.FrameCount()); },
            &TAnimationPageModel::ChooseFrameCount)
        .Writes([](TAnimationPageModel& m, const TFieldValue& v) {
            if (const auto* text = std::get_if<std::string>(&v)) {
                try {
                    m.SetFrameCount(std::stoi(*text));
                } catch (const std::exception&) {
                    // Not a number: nothing changes.
                }
            } else if (const auto* number = std::get_if<std::int32_t>(&v)) {
                m.SetFrameCount(*number);
            }
        })
        .Key("frames");
    form.Field(TFieldKind::Check, "CheckBox1", "Snap T&o", &TAnimationPageModel::SnapTo,
               [](TAnimationPageModel& m, std::int32_t on) { m.SetSnapTo(on != 0); })
        .Key("snap");
    return form.Build();
}

}  // namespace

const TFieldForm& AnimationPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
