// The battle animation page ("Battle Animation"): the fields of the current animation, its
// frames and their cells placed on a 320 x 160 preview, the timing list, the tools (frame
// management, complement, many cells) and playback.
//
// Coordinates: a cell's x and y are offsets from the origin, limited to -320..320. The victim's
// centre stands at (160, 80) of the preview; for scope "All" that is the origin, for "Single" the
// origin is the victim's head, centre or feet line. Every change marks the animation dirty (its
// cached encoding is written afresh on the next save) and is announced through Modified.
#pragma once

#include "data/LD_Animation.h"
#include "data/LD_Monster.h"
#include "database/EntryPage.h"
#include "graphics/GR_Animation.h"
#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;

inline constexpr int kAnimationPreviewWidth = 320;
inline constexpr int kAnimationPreviewHeight = 160;
inline constexpr int kAnimationVictimX = 160;  // the victim's centre on the preview
inline constexpr int kAnimationVictimY = 80;
// How far the preview's view scrolls from the screen on each side, so that every cell position
// can be reached.
inline constexpr int kAnimationViewScroll = 320;
inline constexpr std::int32_t kAnimationCoordLimit = 320;
inline constexpr int kAnimationMaxCells = 8;
inline constexpr int kAnimationMaxFrames = 999;
inline constexpr int kAnimationMaxTimings = 500;
inline constexpr int kAnimationPatternCount = 25;
inline constexpr int kAnimationSnapGrid = 8;
// The frame-management and complement dialogs remember "the last frame" as this value.
inline constexpr std::int32_t kAnimationLastFrameMark = 65535;
// The many-cells dialog marks (and remembers) at most this many frames, the first ones.
inline constexpr int kAnimationMarkedFrames = 1000;

// Snapping one coordinate to grid g: the nearest multiple (an exact half rounds down), clamped.
std::int32_t SnapCoordinate(std::int32_t value, std::int32_t grid);
// round_half_even(t * (s - r) / n + r) with the product in 64 bits, saturated to 32 bits.
std::int32_t ComplementValue(std::int64_t t, std::int32_t r, std::int32_t s, std::int64_t n);
// a + b saturated to 32 bits.
std::int32_t SaturatedAdd(std::int32_t a, std::int64_t b);

// --- the tools, on any animation record (the page runs them on a copy) ---

enum class TFrameToolOperation : int { CopyPage = 0, Clear = 1 };
// Frames are 1-based. Copy Page copies a+i to c+i (i = 0..b-a), skipping targets beyond the
// last frame, in the order that copies overlapping ranges correctly; Clear empties a..b.
void FrameTool(TKelAnimationItem& animation, std::int32_t a, std::int32_t b, std::int32_t c, TFrameToolOperation op);

struct TComplementItems {
    bool Pattern = false;
    bool Motion = false;  // x, y and magnification
    bool Tone = false;    // red, green, blue, chroma and transparency
};
// Interpolates cells c..d (1-based) of frames a+1..b-1 ... between frames a and b (1-based).
void Complement(TKelAnimationItem& animation, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                TComplementItems items);

struct TManyCellsSettings {
    std::vector<bool> Frames;                 // marked frames, index 0 = frame 1 (at most kAnimationMarkedFrames)
    std::array<bool, kAnimationMaxCells> Cells{};
    bool SetPattern = false, SetMagnification = false, SetTransparency = false, SetColor = false;
    std::int32_t Pattern = 1;                 // 1-based
    std::int32_t Magnification = 100;
    std::int32_t Transparency = 0;
    std::int32_t Red = 100, Green = 100, Blue = 100, Chroma = 100;
};
void ManyCells(TKelAnimationItem& animation, const TManyCellsSettings& settings);

// What the tool dialogs offer again within one run (never stored).
struct TAnimationToolMemory {
    struct {
        std::int32_t From = 1, To = kAnimationLastFrameMark, CellFrom = 1, CellTo = 1;
        TComplementItems Items{true, true, true};
    } Complement;
    struct {
        std::int32_t From = 1, To = 1, Start = 1;
        TFrameToolOperation Operation = TFrameToolOperation::CopyPage;
    } FrameTool;
    struct {
        std::vector<bool> Frames = std::vector<bool>(kAnimationMarkedFrames, false);
        TManyCellsSettings Settings;
    } ManyCells;
};
TAnimationToolMemory& AnimationToolMemory();

// One step of playback: its time after the start, the frame it shows (-1 before and after the
// frames) and the sounds it plays.
struct TPlaybackStep {
    int Index = 0;        // -10 .. frames + 9
    int Millis = 0;       // 330 + 33 * index
    int Frame = -1;       // 0-based frame, -1 for the empty steps
    std::vector<std::string> Sounds;
};

class TAnimationPageModel : public TEntryPageModel<TKelAnimationItem> {
public:
    using TSoundPlayer = TKelAnimationGraphic::TSoundPlayer;

    // choosers: the image and sound selectors (none: nothing is chosen); find: where the
    // animation and monster images are looked up (none: no images); playSound: how a cue's sound
    // is played (none: silent).
    explicit TAnimationPageModel(const TDataBaseContext& context, IEventChoosers* choosers = nullptr,
                                 TImageFinder find = {}, TSoundPlayer playSound = {});
    ~TAnimationPageModel() override;

    // Repaint: the preview, the frame list or the timing list changed without a new entry.
    TSignal<> ViewChanged;

    // --- fields ---
    const std::string& FileName() const { return Item().FileName; }
    void SetFileName(const std::string& name);
    // The battle animation selector on the current image; true when another one was chosen.
    bool ChooseImage();
    std::int32_t Scope() const { return Item().Scope; }
    // Keeps every cell where it stands on screen.
    void SetScope(std::int32_t scope);
    std::int32_t YLine() const { return Item().YLine; }
    bool YLineEnabled() const { return Item().Scope != TKelAnimationItem::asAll; }
    // Keeps every cell where it stands on screen; refused while the scope is "All".
    bool SetYLine(std::int32_t line);
    // 1-based index into the monster list (1 when beyond it).
    std::int32_t TestVictim() const;
    void SetTestVictim(std::int32_t victim);
    // The monsters to choose from (index + 1 and name; one empty choice without monsters).
    std::vector<TFieldChoice> VictimChoices() const;
    bool SnapTo() const;
    void SetSnapTo(bool on);
    std::int32_t Grid() const { return SnapTo() ? kAnimationSnapGrid : 1; }
    int FrameCount() const { return Item().FrameCount(); }
    // 1..999.
    bool SetFrameCount(std::int32_t count);
    // The "Frame Number" dialog, set by the window: true on OK with the count.
    std::function<bool(std::int32_t& count)> AskFrameCount;
    // The dialog, then the count chosen; false when it is the one the dialog started at.
    bool ChooseFrameCount();
    // The victim image's height (0 without one).
    int VictimHeight();

    // --- frames ---
    int CurrentFrame() const { return mFrame; }  // 0-based
    bool SelectFrame(int frame);
    static std::string FrameRowText(int frame);
    TKelAnimationPatternItem& Frame() const;
    bool CopyFrame();
    bool CutFrame();
    bool CanPasteFrame() const;
    bool PasteFrame();
    bool ClearFrame();
    bool CanInsertFrame() const { return FrameCount() < kAnimationMaxFrames; }
    bool InsertFrame();
    bool CanDeleteFrame() const { return FrameCount() > 1; }
    bool DeleteFrame();
    bool CanGetPrevious() const { return mFrame > 0; }
    bool GetPrevious();

    // --- cells: points are preview coordinates ---
    int PatternSelected() const { return mPattern; }
    void SelectPattern(int pattern);
    int SelectedCell() const { return mCell; }
    void SelectCell(int cell);
    TKelAnimationCellItem* Cell(int index) const;
    int OriginX() const { return kAnimationVictimX; }
    int OriginY();
    // The topmost visible cell under the point (with nextLower: the one below it), or -1.
    int HitTest(int x, int y, bool nextLower);
    bool HasFreeSlot() const;
    // A left press: selects the cell under the point, or places a new one (snapped) where there
    // is none; then a drag follows. Answers whether a cell is selected.
    bool Press(int x, int y, bool left, bool nextLower);
    // The pointer moved while the button is down: the selected cell follows in steps of the
    // grid (with moveAll, every cell of the frame by the same amount).
    bool Drag(int x, int y, bool moveAll);
    void Release() { mDragging = false; }
    bool Dragging() const { return mDragging; }
    // Arrow keys: dx, dy in -1..1 grid steps.
    bool MoveCell(int dx, int dy, bool moveAll);
    bool CanPriorityUp() const { return mCell >= 0 && mCell < kAnimationMaxCells - 1 && Cell(mCell); }
    bool CanPriorityDown() const { return mCell > 0 && Cell(mCell); }
    bool PriorityUp();
    bool PriorityDown();
    bool CopyCell();
    bool CutCell();
    bool DeleteCell();
    bool CanPasteCell() const;
    bool PasteCell();
    // The property dialog's OK: pattern 0..24, magnification 20..800, transparency 0..100,
    // colours 0..200.
    bool SetCellProperties(const TKelAnimationCellItem& values);

    // --- timings ---
    // Rows: one per timing and a last empty one for a new timing.
    int TimingRowCount() const { return Item().Timing.Count() + 1; }
    std::array<std::string, 3> TimingRowTexts(int row) const;
    // The timing a row edits: a copy of the timing, or a new one at the current frame.
    void TimingForRow(int row, TKelAnimationTimingItem& timing) const;
    // Stores the dialog's timing at a row (the last row adds one); answers the timing's row after
    // sorting, -1 when refused.
    int SetTiming(int row, const TKelAnimationTimingItem& timing);
    bool CopyTiming(int row);
    int CutTiming(int row);
    bool DeleteTiming(int row);
    bool CanPasteTiming() const;
    // The pasted timing's row, -1 when refused.
    int PasteTiming();
    // The sound selector for the timing dialog.
    bool ChooseTimingSound(TKelSound& sound);

    // --- tools, each on a copy of the animation written back when it ran ---
    std::unique_ptr<TKelAnimationItem> ToolCopy() const;
    void ApplyToolCopy(const TKelAnimationItem& copy);
    void RunFrameTool(std::int32_t a, std::int32_t b, std::int32_t c, TFrameToolOperation op);
    void RunComplement(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, TComplementItems items);
    void RunManyCells(const TManyCellsSettings& settings);
    // The remembered dialog values, clamped to this animation's frames.
    void RememberedFrameTool(std::int32_t& a, std::int32_t& b, std::int32_t& c, TFrameToolOperation& op) const;
    void RememberedComplement(std::int32_t& a, std::int32_t& b, std::int32_t& c, std::int32_t& d,
                              TComplementItems& items) const;
    void RememberComplement(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, TComplementItems items);
    void RememberFrameTool(std::int32_t a, std::int32_t b, std::int32_t c, TFrameToolOperation op);
    TManyCellsSettings RememberedManyCells() const;

    // --- drawing ---
    TKelAnimationGraphic& Graphic();
    // The preview of the current frame: background, victim, cells and the selected cell's frame;
    // the 320 x 160 view whose top left is the preview point (left, top), black beyond the screen.
    void DrawPreview(TOrlenBoard& board, int left = 0, int top = 0);
    // The 25 patterns side by side, 96 apart, from scroll x on.
    void DrawPatterns(TOrlenBoard& board, int scroll);
    // Playback: the steps in order; step(i) draws step i on the board and plays its sounds.
    std::vector<TPlaybackStep> PlaybackSteps() const;
    void BeginPlayback();
    void DrawPlaybackStep(TOrlenBoard& board, const TPlaybackStep& step);
    // The preview shows the current frame again.
    void EndPlayback();

private:
    void Changed();
    void ClampSelection();
    void ShiftAllY(std::int64_t by);
    int FreeSlot();
    bool MoveCells(std::int32_t dx, std::int32_t dy, bool moveAll);
    void LoadVictim();
    void DrawBackground(TOrlenBoard& board, int flashFrame, int left = 0, int top = 0);
    void DrawVictim(TOrlenBoard& board, int flashFrame, int left = 0, int top = 0);

    IEventChoosers* mChoosers;
    TImageFinder mFind;
    TSoundPlayer mPlaySound;
    int mFrame = 0;
    int mCell = -1;
    int mPattern = 0;
    bool mDragging = false;
    std::unique_ptr<TKelAnimationGraphic> mGraphic;
    std::unique_ptr<TOrlenSheet> mVictim;
    std::unique_ptr<TOrlenSheet> mBackground;
    std::string mVictimKey;
    TConnection mDirty;
    TConnection mEntry;
};

// Widgets: OverEdit1 (name), DashBox1 (image), ComboBox2 (scope), ComboBox3 (anchor),
// ComboBox1 (test victim), DashBox2 (max frame), CheckBox1 (snap to).
const TFieldForm& AnimationPageForm();

}  // namespace quillon
