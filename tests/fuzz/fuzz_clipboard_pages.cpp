// Feeds arbitrary clipboard blocks to the paste commands of the database pages, on a copy of
// the starter database: frames (572), cells (573) and timings (570) of the battle animation
// page, action patterns (569) of the monster page, battle event pages (565) and whole troops
// (578) of the troop page. The first byte picks the command, the second the page's state (how
// full the list is, where the selection stands); the rest is the block.
// Every paste keeps the page's limits (8 cells, 500 timings, 500 patterns, 100 pages); a refused
// paste leaves the page as it was; what was pasted copies back to the block the page would make
// of it, and that block pastes to the same bytes again. After a whole troop the troop page's
// commands run on what came in.
#include "data/LD_DataBase.h"
#include "database/ED_Animation.h"
#include "database/ED_MonGroup.h"
#include "database/ED_MonsterAct.h"
#include "graphics/OrlenSheet.h"
#include "tools/lib/StarterDataBase.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace quillon;

TMemoryClipboard& Board() {
    static TMemoryClipboard board;
    static const bool installed = (SetClipboard(&board), true);
    (void)installed;
    return board;
}

const TKelDataBase& Starter() {
    static const std::unique_ptr<TKelDataBase> starter = [] {
        auto db = std::make_unique<TKelDataBase>();
        MakeStarterDataBase(*db);
        return db;
    }();
    return *starter;
}

// The lists the three pages read, copied from the starter database.
std::unique_ptr<TKelDataBase> SmallDataBase() {
    auto db = std::make_unique<TKelDataBase>();
    const TKelDataBase& starter = Starter();
    db->Monster.Assign(starter.Monster);
    db->Skill.Assign(starter.Skill);
    db->Switch.Assign(starter.Switch);
    db->Variable.Assign(starter.Variable);
    db->Player.Assign(starter.Player);
    db->Ground.Assign(starter.Ground);
    db->MonGroup.Assign(starter.MonGroup);
    db->Animation.Assign(starter.Animation);
    return db;
}

// A page's database and the context it is reached through.
struct TSmallProject {
    std::unique_ptr<TKelDataBase> DataBase = SmallDataBase();
    TDataBaseContext Context = [this] {
        TDataBaseContext context;
        context.DataBase = DataBase.get();
        return context;
    }();
};

std::string Saved(TCatalogBaseItem& record) {
    TMemoryStream stream;
    record.SaveToStream(stream);
    return stream.Bytes();
}

std::string Saved(TCatalog& list) {
    TMemoryStream stream;
    list.SaveToStream(stream);
    return stream.Bytes();
}

void Check(bool holds) {
    if (!holds)
        std::abort();
}

// --- the battle animation page ---

// The frame under edit gets `cells` cells (every third hidden, pairs on one place so that a
// pasted cell has something to step aside from) and the animation `timings` timings.
void PrepareAnimation(TAnimationPageModel& page, int cells, int timings) {
    page.SetFrameCount(std::max(page.FrameCount(), 3));
    page.SelectFrame(1);
    TKelAnimationCell& list = page.Frame().Cells;
    list.Clear();
    for (int i = 0; i < cells; ++i) {
        TKelAnimationCellItem& cell = list.Append();
        cell.Visible = i % 3 == 2 ? 0 : 1;
        cell.X = (i / 2) * 8;
        cell.Y = (i / 2) * 8;
    }
    TKelAnimationTiming& cues = page.Item().Timing;
    cues.Clear();
    for (int i = 0; i < timings; ++i)
        cues.Append().Frame = 1 + i % page.FrameCount();
}

int VisibleCells(const TKelAnimationPatternItem& frame) {
    int visible = 0;
    for (int i = 0; i < frame.Cells.Count(); ++i)
        visible += frame.Cells.Items(i)->Visible ? 1 : 0;
    return visible;
}

void AnimationFrames(const std::string& block, std::uint8_t state) {
    const TSmallProject project;
    const TDataBaseContext& context = project.Context;
    TAnimationPageModel page(context);
    PrepareAnimation(page, state % (kAnimationMaxCells + 1), 0);
    const std::string before = Saved(page.Item());
    const int frames = page.FrameCount();
    Board().SetData(TKelAnimationPatternItem::kClipboardFormat, block);
    if (!page.PasteFrame()) {
        Check(Saved(page.Item()) == before);
        return;
    }
    Check(page.Frame().Cells.Count() <= kAnimationMaxCells);
    Check(page.FrameCount() == frames && page.CurrentFrame() == 1);
    // What the page holds copies to a block that pastes back to itself.
    page.CopyFrame();
    const std::string copied = *Board().GetData(TKelAnimationPatternItem::kClipboardFormat);
    page.SelectFrame(2);
    Check(page.PasteFrame());
    page.CopyFrame();
    Check(*Board().GetData(TKelAnimationPatternItem::kClipboardFormat) == copied);
    // The page's commands on the cells that came in.
    page.SelectFrame(1);
    page.SetSnapTo(state & 0x10);
    const int hit = page.HitTest(page.OriginX(), page.OriginY(), state & 0x20);
    Check(hit >= -1 && hit < kAnimationMaxCells);
    page.Press(page.OriginX() + 4, page.OriginY() - 4, true, state & 0x40);
    page.Drag(page.OriginX() + 100, page.OriginY() + 50, state & 0x80);
    page.Release();
    page.MoveCell(1, -1, state & 0x80);
    page.PriorityUp();
    page.PriorityDown();
    Check(page.Frame().Cells.Count() <= kAnimationMaxCells);
    page.RunComplement(1, 3, 1, kAnimationMaxCells, {true, true, true});
    page.SetYLine(2);
    page.SetScope(TKelAnimationItem::asAll);
    TOrlenBoard board;
    page.DrawPreview(board);
    for (int f = 0; f < page.FrameCount(); ++f)
        Check(page.Item().Frames.Items(f)->Cells.Count() <= kAnimationMaxCells);
}

void AnimationCells(const std::string& block, std::uint8_t state) {
    const TSmallProject project;
    const TDataBaseContext& context = project.Context;
    TAnimationPageModel page(context);
    PrepareAnimation(page, state % (kAnimationMaxCells + 1), 0);
    const std::string before = Saved(page.Item());
    const int visible = VisibleCells(page.Frame());
    Board().SetData(TKelAnimationCellItem::kClipboardFormat, block);
    if (!page.PasteCell()) {
        Check(Saved(page.Item()) == before);
        return;
    }
    const TKelAnimationCell& cells = page.Frame().Cells;
    Check(cells.Count() <= kAnimationMaxCells && VisibleCells(page.Frame()) == visible + 1);
    const int slot = page.SelectedCell();
    const TKelAnimationCellItem* pasted = page.Cell(slot);
    Check(pasted && pasted->Visible);
    Check(std::llabs(pasted->X) <= kAnimationCoordLimit && std::llabs(pasted->Y) <= kAnimationCoordLimit);
    // It covers no visible cell of the same place and size, unless the shift ran into the limit.
    for (int i = 0; i < cells.Count(); ++i) {
        const TKelAnimationCellItem& other = *cells.Items(i);
        if (i != slot && other.Visible && other.X == pasted->X && other.Y == pasted->Y &&
            other.Magnification == pasted->Magnification)
            Check(pasted->X == kAnimationCoordLimit && pasted->Y == kAnimationCoordLimit);
    }
    // The cell copies as the block's record with the place it got and made visible.
    TKelAnimationCellItem read;
    Board().SetData(TKelAnimationCellItem::kClipboardFormat, block);
    Check(read.PasteFromClipboard(TKelAnimationCellItem::kClipboardFormat));
    read.X = pasted->X;
    read.Y = pasted->Y;
    read.Visible = 1;
    page.CopyCell();
    TKelAnimationCellItem copy;
    Check(copy.PasteFromClipboard(TKelAnimationCellItem::kClipboardFormat));
    Check(Saved(copy) == Saved(read));
}

void AnimationTimings(const std::string& block, std::uint8_t state) {
    const TSmallProject project;
    const TDataBaseContext& context = project.Context;
    TAnimationPageModel page(context);
    static constexpr int kCounts[] = {0, 1, 7, kAnimationMaxTimings - 1, kAnimationMaxTimings};
    const int count = kCounts[state % 5];
    PrepareAnimation(page, 0, count);
    page.Item().Timing.SortByTiming();
    const std::string before = Saved(page.Item());
    Board().SetData(TKelAnimationTimingItem::kClipboardFormat, block);
    const int row = page.PasteTiming();
    TKelAnimationTiming& cues = page.Item().Timing;
    if (row < 0) {
        Check(Saved(page.Item()) == before);
        return;
    }
    Check(count < kAnimationMaxTimings && cues.Count() == count + 1 && row < cues.Count());
    for (int i = 0; i < cues.Count(); ++i) {
        Check(cues.Items(i)->ID == i + 1);
        if (i > 0)
            Check(!TimingOrderLess(*cues.Items(i), *cues.Items(i - 1)));
    }
    // The timing copies as the block's record, and that block pastes the same timing again.
    TKelAnimationTimingItem read;
    Board().SetData(TKelAnimationTimingItem::kClipboardFormat, block);
    Check(read.PasteFromClipboard(TKelAnimationTimingItem::kClipboardFormat));
    read.SetID(cues.Items(row)->ID);
    Check(page.CopyTiming(row));
    const std::string copied = *Board().GetData(TKelAnimationTimingItem::kClipboardFormat);
    TKelAnimationTimingItem copy;
    Check(copy.PasteFromClipboard(TKelAnimationTimingItem::kClipboardFormat));
    copy.SetID(read.ID);
    Check(Saved(copy) == Saved(read));
    if (cues.Count() < kAnimationMaxTimings) {
        const int again = page.PasteTiming();
        Check(again >= 0);
        page.CopyTiming(again);
        Check(*Board().GetData(TKelAnimationTimingItem::kClipboardFormat) == copied);
    }
    // The timing list's rows and the frame commands on what came in.
    for (int r = 0; r < page.TimingRowCount(); ++r)
        page.TimingRowTexts(r);
    page.InsertFrame();
    page.DeleteFrame();
}

// --- the monster page's action patterns ---

void MonsterActions(const std::string& block, std::uint8_t state) {
    auto db = SmallDataBase();
    TKelMonsterAct& list = db->Monster.Items(0)->Actions;
    static constexpr int kCounts[] = {-1, 0, 1, kMonsterActMax - 1, kMonsterActMax};
    if (const int count = kCounts[state % 5]; count >= 0) {
        list.Clear();
        for (int i = 0; i < count; ++i)
            list.Append().Priority = 1 + i % 100;
    }
    TMonsterActListModel model(list, *db);
    const int rows = model.RowCount();
    const int row = (state >> 3) % 3 == 0 ? 0 : (state >> 3) % 3 == 1 ? rows / 2 : rows - 1;
    model.Select(row);
    const std::string before = Saved(list);
    const int count = list.Count();
    Board().SetData(kMonsterActClipboardFormat, block);
    if (!model.Paste()) {
        Check(Saved(list) == before);
        return;
    }
    Check(count < kMonsterActMax && list.Count() == count + 1);
    for (int i = 0; i < list.Count(); ++i)
        Check(list.Items(i)->ID == i + 1);
    // Inserted before the selected row, or appended on the new row; the selection is on it.
    const int at = row == count ? count : row;
    Check(model.Selected() == at && model.SelectedAct() == list.Items(at));
    TKelMonsterActItem read;
    Check(ReadMonsterActBlock(block, read));
    read.SetID(at + 1);
    Check(Saved(*list.Items(at)) == Saved(read));
    // It copies to a block the page reads back to the same pattern.
    Check(model.Copy());
    const std::string copied = *Board().GetData(kMonsterActClipboardFormat);
    TKelMonsterActItem back;
    Check(ReadMonsterActBlock(copied, back));
    back.SetID(read.ID);
    Check(Saved(back) == Saved(read));
    for (int r = 0; r < model.RowCount(); ++r)
        for (int c = 0; c < 3; ++c)
            model.Cell(r, c);
}

// --- the troop page ---

std::unique_ptr<TMonGroupPageModel> TroopPage(const TDataBaseContext& context) {
    // Images as large as the monster's ID says, so that the field's rules meet many sizes.
    return std::make_unique<TMonGroupPageModel>(context, nullptr, [](const TKelMonsterItem* m) {
        if (!m)
            return TMemberShape{};
        return TMemberShape{16 + (m->ID % 7) * 40, 16 + (m->ID % 5) * 30, m->Flying != 0};
    });
}

void BattlePages(const std::string& block, std::uint8_t state) {
    const TSmallProject project;
    TKelDataBase* const db = project.DataBase.get();
    const TDataBaseContext& context = project.Context;
    TKelMonGroupItem& troop = *db->MonGroup.Items(0);
    static constexpr int kCounts[] = {0, 1, 3, kMaxBattlePages - 1, kMaxBattlePages};
    troop.Pages.Clear();
    for (int i = 0; i < kCounts[state % 5]; ++i)
        troop.Pages.Append();
    if (state & 0x80)
        troop.Pages.Obtain(kMaxBattlePages + 20);  // beyond the pages the tabs show
    auto page = TroopPage(context);
    page->SelectPage((state >> 3) % 4 == 0 ? 0 : page->PageCount() - 1);
    const int pages = page->PageCount();
    const int current = page->CurrentPage();
    const std::string before = Saved(troop);
    Board().SetData(TKelBattleEventPageItem::kClipboardFormat, block);
    if (!page->PastePage()) {
        Check(Saved(troop) == before);
        return;
    }
    Check(pages < kMaxBattlePages && page->PageCount() == pages + 1 && page->PageCount() <= kMaxBattlePages);
    Check(page->CurrentPage() == (pages == 0 ? 0 : current + 1) && page->Page());
    TKelBattleEventPageItem read;
    Check(DecodeBattlePageClipboard(block, read));
    read.SetID(page->Page()->ID);
    Check(Saved(*page->Page()) == Saved(read));
    // The page copies to a block that pastes the same page again.
    Check(page->CopyPage());
    const std::string copied = *Board().GetData(TKelBattleEventPageItem::kClipboardFormat);
    TKelBattleEventPageItem back;
    Check(DecodeBattlePageClipboard(copied, back));
    back.SetID(read.ID);
    Check(Saved(back) == Saved(read));
    page->TriggerText();
}

void WholeTroop(const std::string& block, std::uint8_t state) {
    const TSmallProject project;
    TKelDataBase* const db = project.DataBase.get();
    const TDataBaseContext& context = project.Context;
    auto page = TroopPage(context);
    page->SelectId(1 + state % 3);
    const std::string before = Saved(db->MonGroup);
    Board().SetData(TKelMonGroupItem::kClipboardFormat, block);
    int pasted = 0;
    try {
        pasted = page->Paste();
    } catch (const std::exception&) {
        return;  // the frame shows the error; what was read before the damage stays
    }
    if (pasted == 0) {
        Check(Saved(db->MonGroup) == before);
        return;
    }
    // The page's commands on the troop that came in keep their limits.
    Check(page->PageCount() <= kMaxBattlePages);
    for (int p = 0; p < page->PageCount(); ++p) {
        page->SelectPage(p);
        page->TriggerText();
    }
    const std::vector<int> order = page->DrawOrder();
    Check(static_cast<int>(order.size()) == page->MemberCount());
    for (int i = 0; i < page->MemberCount(); ++i) {
        const TRect r = page->MemberRect(i);
        page->HitTest(r.Left, r.Top);
        page->Opacity(i);
    }
    if (page->MemberCount() > 0) {
        const int m = (state >> 2) % page->MemberCount();
        const TKelMonGroupMonsterItem& member = page->Member(m);
        if (page->Press(member.X, member.Y, true)) {
            page->DragTo(member.X + 37, member.Y - 21, state & 0x40);
            page->HintText();
            page->ToggleInvisible();
        }
        page->Release();
    }
    page->AutoName();
    Check(static_cast<int>(page->Name().size()) <= page->NameMaxBytes());
    page->IsArranged();
    page->Arrange();
    const int members = page->MemberCount();
    Check(page->Add(0) == (members < kMaxTroopMembers));
    Check(page->MemberCount() == std::min(members + 1, std::max(members, kMaxTroopMembers)));
    page->Select(page->MemberCount() - 1);
    page->DeleteSelected();
    const int pages = page->PageCount();
    const bool canNew = page->CanNewPage();
    Check(page->NewPage() == canNew && (!canNew || pages < kMaxBattlePages));
    Check(page->PageCount() <= kMaxBattlePages);
    page->CopyPage();
    page->DeletePage();
    for (int t = 0; t < page->TerrainRows(); ++t)
        page->TerrainMark(t);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::string block(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::uint8_t state = data[1];
    switch (data[0] % 6) {
    case 0: AnimationFrames(block, state); break;
    case 1: AnimationCells(block, state); break;
    case 2: AnimationTimings(block, state); break;
    case 3: MonsterActions(block, state); break;
    case 4: BattlePages(block, state); break;
    default: WholeTroop(block, state); break;
    }
    return 0;
}
