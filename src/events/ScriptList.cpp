#include "events/ScriptList.h"

#include "data/StreamUtils.h"
#include "events/EventCommands.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <limits>

namespace quillon {

namespace {

// Commands that never go into map event or common event scripts.
bool IsBattleOnlyOrClosing(std::int32_t code) {
    if (code == TCommandCode::End)
        return true;
    const TEventCommandInfo* info = FindEventCommand(code);
    return info != nullptr && info->Battle;
}

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// --- clipboard block ---

std::string EncodeScriptBlock(const TKelEventScriptList& script, int first, int last) {
    TKelEventScriptList lines;
    first = std::max(first, 0);
    last = std::min(last, script.Count() - 1);
    for (int i = first; i <= last; ++i)
        lines.Add(std::make_unique<TKelEventScriptLine>(*script.Lines(i)));
    TMemoryStream stream;
    lines.SaveToStream(stream);
    return MakeCountedClipboardBlock(stream.Bytes());
}

bool DecodeScriptBlock(std::string_view block, TKelEventScriptList& lines) {
    lines.Clear();
    const std::optional<std::string_view> payload = CountedClipboardPayload(block);
    if (!payload)
        return false;
    TByteViewStream stream(*payload);
    try {
        lines.LoadFromStream(stream);
    } catch (const EReadError&) {
        lines.Clear();
        return false;
    }
    if (lines.Count() == 0)
        return true;
    const std::int64_t first = lines.Lines(0)->Indent;
    bool sound = !IsCompanionCode(lines.Lines(0)->Code);
    for (int i = 1; sound && i < lines.Count(); ++i) {
        const std::int64_t depth = static_cast<std::int64_t>(lines.Lines(i)->Indent) - first;
        sound = depth >= 0 && depth <= kMaxPastedDepth;
    }
    if (!sound)
        lines.Clear();
    return sound;
}

void FilterPastedLines(TKelEventScriptList& lines, TScriptEditorKind kind) {
    const auto keep = [kind](std::int32_t code) {
        return kind == TScriptEditorKind::BattlePage ? BelongsOnBattlePage(code)
                                                     : !IsBattleOnlyOrClosing(code);
    };
    TKelEventScriptList kept;
    int i = 0;
    while (i < lines.Count()) {
        const TKelEventScriptLine& line = *lines.Lines(i++);
        if (keep(line.Code)) {
            kept.Add(std::make_unique<TKelEventScriptLine>(line));
            continue;
        }
        // The dropped command takes its bodies and its companion lines with it.
        while (i < lines.Count()) {
            const TKelEventScriptLine& next = *lines.Lines(i);
            if (next.Indent > line.Indent || (next.Code >= 20000 && next.Indent == line.Indent))
                ++i;
            else
                break;
        }
    }
    lines.Assign(kept);
}

// --- the list model ---

TScriptListModel::TScriptListModel(TRenderer renderer) : mRenderer(std::move(renderer)) {}

std::string TScriptListModel::Render(const TKelEventScriptLine& line) const {
    return mRenderer ? mRenderer(line) : std::string();
}

TScriptListModel::TRowShape TScriptListModel::ShapeOf(const TKelEventScriptLine& line) const {
    return TRowShape{std::max<std::int32_t>(line.Indent, 0), !IsCompanionCode(line.Code)};
}

int TScriptListModel::RowIndent(int row) const {
    return row >= 0 && row < Count() ? mShapes[static_cast<std::size_t>(row)].Indent : 0;
}

bool TScriptListModel::RowIsCommand(int row) const {
    return row >= 0 && row < Count() && mShapes[static_cast<std::size_t>(row)].Command;
}

void TScriptListModel::Changed() const { OnChanged(); }

void TScriptListModel::Modified() const { OnModified(); }

IClipboard& TScriptListModel::ClipboardInUse() const {
    return mClipboard ? *mClipboard : Clipboard();
}

void TScriptListModel::SetScript(TKelEventScriptList* script) {
    mScript = script;
    EnsureClosingLine();
    Rebuild();
    Changed();
}

void TScriptListModel::EnsureClosingLine() {
    // Every script ends with its closing line; the selection rules rely on it.
    if (mScript && (mScript->Count() == 0 || mScript->Lines(mScript->Count() - 1)->Code != TCommandCode::End))
        mScript->Add();
}

void TScriptListModel::Rebuild() {
    mItems.clear();
    mShapes.clear();
    if (mScript) {
        mItems.reserve(static_cast<std::size_t>(mScript->Count()));
        mShapes.reserve(static_cast<std::size_t>(mScript->Count()));
        for (int i = 0; i < mScript->Count(); ++i) {
            mItems.push_back(Render(*mScript->Lines(i)));
            mShapes.push_back(ShapeOf(*mScript->Lines(i)));
        }
    }
    mTopIndex = 0;
    mAnchor = -1;
    MoveCursor(0, false);
}

void TScriptListModel::Refresh() {
    EnsureClosingLine();
    if (!mScript || mScript->Count() != Count()) {
        Rebuild();
        Changed();
        return;
    }
    bool reshaped = false;
    for (int i = 0; i < Count(); ++i) {
        const auto row = static_cast<std::size_t>(i);
        mItems[row] = Render(*mScript->Lines(i));
        const TRowShape shape = ShapeOf(*mScript->Lines(i));
        reshaped = reshaped || !(shape == mShapes[row]);
        mShapes[row] = shape;
    }
    if (reshaped)
        ComputeSelection();
    Changed();
}

// --- selection ---

void TScriptListModel::SetItemIndex(int index, bool extend) {
    MoveCursor(index, extend);
    Changed();
}

void TScriptListModel::MoveCursor(int index, bool extend) {
    const int count = Count();
    if (count == 0) {
        mItemIndex = mAnchor = mSelStart = mSelEnd = -1;
        return;
    }
    // The cursor is clamped first, so the anchor is always a line of the list.
    index = std::clamp(index, 0, count - 1);
    if (!extend || mAnchor < 0 || mAnchor >= count)
        mAnchor = index;
    mItemIndex = index;
    ScrollIntoView(index);
    ComputeSelection();
}

void TScriptListModel::ComputeSelection() {
    mSelStart = mSelEnd = -1;
    const int count = Count();
    if (count == 0 || mItemIndex < 0)
        return;
    mItemIndex = std::min(mItemIndex, count - 1);
    mAnchor = std::clamp(mAnchor, 0, count - 1);
    const int lo = std::min(mItemIndex, mAnchor);
    const int hi = std::max(mItemIndex, mAnchor);
    int c = RowIndent(lo);
    for (int i = lo + 1; i <= hi; ++i)
        c = std::min(c, RowIndent(i));
    const auto commandAtC = [&](int row) { return RowIsCommand(row) && RowIndent(row) == c; };

    int start = -1;
    for (int i = lo; i <= hi && start < 0; ++i)
        if (commandAtC(i))
            start = i;
    if (start < 0)
        return;
    int last = hi;
    while (!commandAtC(last))
        --last;
    // The last command takes the lines that belong to it: everything up to the next command at
    // its depth, or up to the end of its run when the list ends or a shallower line comes first.
    int next = last + 1;
    while (next < count && RowIndent(next) >= c && !commandAtC(next))
        ++next;
    int end = next - 1;
    // The closing line is only ever selected alone.
    const int closing = count - 1;
    if (end == closing && (mItemIndex < closing || start < closing))
        end = closing - 1;
    if (end < start)
        return;
    mSelStart = start;
    mSelEnd = end;
}

void TScriptListModel::SetSelStart(int index) {
    if (index < 0 || index >= Count()) {
        mSelStart = mSelEnd = -1;
    } else {
        mSelStart = index;
        mSelEnd = std::max(mSelEnd, index);
        mAnchor = index;
    }
    Changed();
}

void TScriptListModel::SetSelEnd(int index) {
    const int closing = Count() - 1;
    index = std::min(index, closing);
    if (index == closing && mSelStart < closing)
        index = closing - 1;
    if (mSelStart < 0 || index < mSelStart)
        mSelStart = mSelEnd = -1;
    else
        mSelEnd = index;
    Changed();
}

// --- scrolling and navigation ---

void TScriptListModel::SetTopIndex(int index) {
    mTopIndex = std::clamp(index, 0, std::max(0, Count() - mVisibleLines));
    Changed();
}

void TScriptListModel::SetVisibleLines(int lines) {
    mVisibleLines = std::max(lines, 1);
    mTopIndex = std::clamp(mTopIndex, 0, std::max(0, Count() - mVisibleLines));
    if (mItemIndex >= 0)
        ScrollIntoView(mItemIndex);
    Changed();
}

void TScriptListModel::ScrollIntoView(int row) {
    if (row < mTopIndex)
        mTopIndex = row;
    else if (row >= mTopIndex + mVisibleLines)
        mTopIndex = row - mVisibleLines + 1;
    mTopIndex = std::clamp(mTopIndex, 0, std::max(0, Count() - mVisibleLines));
}

int TScriptListModel::FindCommandAtOrAfter(int row) const {
    for (int i = std::max(row, 0); i < Count(); ++i)
        if (RowIsCommand(i))
            return i;
    return -1;
}

int TScriptListModel::FindCommandAtOrBefore(int row) const {
    for (int i = std::min(row, Count() - 1); i >= 0; --i)
        if (RowIsCommand(i))
            return i;
    return -1;
}

void TScriptListModel::NextCommand(bool extend) {
    const int row = FindCommandAtOrAfter(mItemIndex + 1);
    if (row >= 0)
        SetItemIndex(row, extend);
}

void TScriptListModel::PreviousCommand(bool extend) {
    if (mItemIndex <= 0)
        return;
    const int row = FindCommandAtOrBefore(mItemIndex - 1);
    if (row >= 0)
        SetItemIndex(row, extend);
}

void TScriptListModel::PageDown(bool extend) {
    if (Count() == 0)
        return;
    const int target = std::min(mItemIndex + std::max(mVisibleLines / 2, 1), Count() - 1);
    int row = FindCommandAtOrAfter(target);
    if (row < 0)
        row = FindCommandAtOrBefore(target);
    SetItemIndex(row < 0 ? target : row, extend);
}

void TScriptListModel::PageUp(bool extend) {
    if (Count() == 0)
        return;
    const int target = std::max(mItemIndex - std::max(mVisibleLines / 2, 1), 0);
    int row = FindCommandAtOrBefore(target);
    if (row < 0)
        row = FindCommandAtOrAfter(target);
    SetItemIndex(row < 0 ? target : row, extend);
}

bool TScriptListModel::KeyDown(TScriptListKey key, bool extend) {
    switch (key) {
    case TScriptListKey::PageUp: PageUp(extend); return true;
    case TScriptListKey::PageDown: PageDown(extend); return true;
    case TScriptListKey::Home: SetItemIndex(0, extend); return true;
    case TScriptListKey::End: SetItemIndex(Count() - 1, extend); return true;
    case TScriptListKey::Left:
    case TScriptListKey::Up: PreviousCommand(extend); return true;
    case TScriptListKey::Right:
    case TScriptListKey::Down: NextCommand(extend); return true;
    }
    return false;
}

void TScriptListModel::MouseDown(int row, bool rightButton, bool extend) {
    if (Count() == 0)
        return;
    row = std::clamp(row, 0, Count() - 1);
    if (rightButton && IsSelected(row))
        return;
    SetItemIndex(row, extend);
}

void TScriptListModel::AutoScroll(int direction, bool far, bool extend) {
    if (Count() == 0 || direction == 0)
        return;
    const int step = (far ? 2 : 1) * (direction < 0 ? -1 : 1);
    mTopIndex = std::clamp(mTopIndex + step, 0, std::max(0, Count() - mVisibleLines));
    const int row = direction < 0 ? mTopIndex : std::min(mTopIndex + mVisibleLines - 1, Count() - 1);
    SetItemIndex(row, extend);
}

// --- editing ---

TScriptMenuState TScriptListModel::MenuState() const {
    TScriptMenuState state;
    state.SelectAll = Count() > 1;
    if (!mScript || !HasSelection() || mSelEnd >= Count())
        return state;
    state.Insert = state.Edit = state.Cut = state.Copy = state.Delete = true;
    state.Paste = ClipboardInUse().HasFormat(kScriptClipboardFormat);
    const int b = RowIndent(mSelStart);
    for (int row = mSelStart; row <= mSelEnd; ++row) {
        if (RowIndent(row) != b)
            continue;
        const std::int32_t code = mScript->Lines(row)->Code;
        if (code == 0 || code == 10)
            state.Edit = state.Cut = state.Copy = state.Delete = false;
        if (row > mSelStart && code < 20000)
            state.Insert = state.Edit = false;
    }
    return state;
}

void TScriptListModel::InsertLines(int position, const TKelEventScriptList& lines, std::int64_t base) {
    if (lines.Count() == 0)
        return;
    const std::int64_t first = lines.Lines(0)->Indent;
    std::vector<std::unique_ptr<TKelEventScriptLine>> block;
    std::vector<std::string> items;
    std::vector<TRowShape> shapes;
    block.reserve(static_cast<std::size_t>(lines.Count()));
    items.reserve(block.capacity());
    shapes.reserve(block.capacity());
    for (int i = 0; i < lines.Count(); ++i) {
        auto copy = std::make_unique<TKelEventScriptLine>(*lines.Lines(i));
        copy->Indent = ClampToInt32(base + copy->Indent - first);
        items.push_back(Render(*copy));
        shapes.push_back(ShapeOf(*copy));
        block.push_back(std::move(copy));
    }
    const auto at = static_cast<std::ptrdiff_t>(position);
    mItems.insert(mItems.begin() + at, std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    mShapes.insert(mShapes.begin() + at, shapes.begin(), shapes.end());
    SpliceScript(position, 0, std::move(block));
}

void TScriptListModel::DeleteLines(int first, int last) {
    SpliceScript(first, last - first + 1, {});
    mItems.erase(mItems.begin() + first, mItems.begin() + last + 1);
    mShapes.erase(mShapes.begin() + first, mShapes.begin() + last + 1);
}

void TScriptListModel::SpliceScript(int first, int removed, std::vector<std::unique_ptr<TKelEventScriptLine>> block) {
    // A few lines are moved in place; a large change rebuilds the list once, so that selecting
    // and deleting or pasting thousands of lines stays linear.
    constexpr std::size_t kInPlace = 32;
    if (static_cast<std::size_t>(removed) + block.size() <= kInPlace) {
        for (int i = removed - 1; i >= 0; --i)
            mScript->Delete(first + i);
        for (std::size_t i = 0; i < block.size(); ++i)
            mScript->Insert(first + static_cast<int>(i), std::move(block[i]));
        return;
    }
    TKelEventScriptList merged;
    for (int i = 0; i < first; ++i)
        merged.Add(std::make_unique<TKelEventScriptLine>(*mScript->Lines(i)));
    for (auto& line : block)
        merged.Add(std::move(line));
    for (int i = first + removed; i < mScript->Count(); ++i)
        merged.Add(std::make_unique<TKelEventScriptLine>(*mScript->Lines(i)));
    mScript->Assign(merged);
}

bool TScriptListModel::Insert() {
    if (!MenuState().Insert || !mDialogs)
        return false;
    TKelEventScriptList result;
    if (!mDialogs->ChooseCommand(mKind, result, mContext) || result.Count() == 0)
        return false;
    const int at = mSelStart;
    InsertLines(at, result, RowIndent(at));
    ScrollIntoView(at + result.Count() - 1);
    ScrollIntoView(at);
    // The cursor keeps its line number and goes on to the next command below it.
    const int next = FindCommandAtOrAfter(mItemIndex + 1);
    MoveCursor(next >= 0 ? next : mItemIndex, false);
    Modified();
    Changed();
    return true;
}

bool TScriptListModel::Edit() {
    if (!MenuState().Edit || !mDialogs)
        return false;
    TKelEventScriptList result;
    for (int row = mSelStart; row <= mSelEnd; ++row)
        result.Add(std::make_unique<TKelEventScriptLine>(*mScript->Lines(row)));
    const std::int32_t code = result.Lines(0)->Code;
    if (!mDialogs->RunDialog(code, result, mContext) || result.Count() == 0)
        return false;
    // The new block goes where the old one stood, at the edited line's own depth.
    const int at = mSelStart;
    const int depth = RowIndent(at);
    DeleteLines(mSelStart, mSelEnd);
    InsertLines(at, result, depth);
    MoveCursor(mItemIndex, false);
    Modified();
    Changed();
    return true;
}

bool TScriptListModel::Copy() {
    if (!MenuState().Copy)
        return false;
    const std::string block = EncodeScriptBlock(*mScript, mSelStart, mSelEnd);
    IClipboard& clipboard = ClipboardInUse();
    try {
        clipboard.SetData(kScriptClipboardFormat, block);
        const auto stored = clipboard.GetData(kScriptClipboardFormat);
        return stored && *stored == block;
    } catch (const std::exception&) {
        return false;
    }
}

bool TScriptListModel::Cut() {
    if (!MenuState().Cut)
        return false;
    // Lines that did not reach the clipboard are not deleted.
    if (!Copy())
        return false;
    return Delete();
}

bool TScriptListModel::Paste() {
    if (!MenuState().Paste)
        return false;
    std::optional<std::string> block;
    try {
        block = ClipboardInUse().GetData(kScriptClipboardFormat);
    } catch (const std::exception&) {
        return false;
    }
    TKelEventScriptList lines;
    if (!block || !DecodeScriptBlock(*block, lines))
        return false;
    FilterPastedLines(lines, mKind);
    if (lines.Count() == 0)
        return false;
    const int at = mSelStart;
    InsertLines(at, lines, RowIndent(at));
    // The cursor stays on the line it was on.
    const int cursor = mItemIndex >= at ? mItemIndex + lines.Count() : mItemIndex;
    MoveCursor(cursor, false);
    Modified();
    Changed();
    return true;
}

bool TScriptListModel::Delete() {
    if (!MenuState().Delete)
        return false;
    const int first = mSelStart;
    DeleteLines(mSelStart, mSelEnd);
    mAnchor = -1;
    MoveCursor(first, false);
    Modified();
    Changed();
    return true;
}

bool TScriptListModel::SelectAll() {
    if (!MenuState().SelectAll)
        return false;
    mSelStart = -1;
    SetSelStart(0);
    SetSelEnd(Count() - 2);
    return true;
}

}  // namespace quillon
