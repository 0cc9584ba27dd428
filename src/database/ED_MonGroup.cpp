#include "database/ED_MonGroup.h"

#include "controls/IdList.h"
#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"
#include "events/PageClipboard.h"
#include "events/ScriptList.h"
#include "platform/Clipboard.h"
#include "platform/Cp932Limit.h"
#include "project/Resources.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace quillon {

namespace {

// Keeps v within lo .. hi; lo wins when the range is empty (an image wider than the field).
int Within(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

// A place from a file or a block held where arithmetic with image sizes cannot overflow.
int FarWithin(std::int32_t v) { return Within(v, -(1 << 29), 1 << 29); }

std::string RangeText(std::int32_t min, std::int32_t max) {
    return min == max ? std::to_string(min) : std::to_string(min) + "-" + std::to_string(max);
}

TBattleTestRunner& Runner() {
    static TBattleTestRunner runner;
    return runner;
}

}  // namespace

// --- rules ---

std::vector<TPoint> RowPlaces(const std::vector<TMemberShape>& shapes) {
    std::int64_t total = 0;
    for (const TMemberShape& s : shapes)
        total += s.Width + 8;
    std::int64_t overlap = 0;
    if (total > kBattleFieldWidth && shapes.size() >= 2) {
        overlap = (total - kBattleFieldWidth) / static_cast<std::int64_t>(shapes.size() - 1);
        total = kBattleFieldWidth;
    }
    std::int64_t left = kBattleFieldWidth / 2 - total / 2;
    std::vector<TPoint> places;
    for (const TMemberShape& s : shapes) {
        const int w = s.Width, h = s.Height;
        const int x = Within(static_cast<int>(std::clamp<std::int64_t>(left + w / 2 + 4, -1000000, 1000000)), w / 2,
                             kBattleFieldWidth - w / 2);
        const int d = h / 2;
        int y = s.Flying ? d / 2 + 48 : 148 - d;
        y = Within(y, d, kBattleFieldHeight - d);
        places.push_back({x, y});
        left += static_cast<std::int64_t>(w / 2 + 4) * 2 - overlap;
    }
    return places;
}

int SnapToStep(int value, int step) {
    if (step <= 1)
        return value;
    int e = value % step;
    if (e < 0)
        e += step;
    return 2 * e > step ? value - e + step : value - e;
}

std::string AutoTroopName(const TKelMonGroupItem& troop, const TKelMonster& monsters, std::size_t maxBytes) {
    std::string name;
    std::vector<std::int32_t> counted;
    for (int i = 0; i < troop.Members.Count(); ++i) {
        const std::int32_t id = troop.Members.Items(i)->MonsterId;
        const TKelMonsterItem* monster = monsters.FindByID(id);
        if (!monster || std::find(counted.begin(), counted.end(), id) != counted.end())
            continue;
        counted.push_back(id);
        int k = 0;
        for (int j = 0; j < troop.Members.Count(); ++j)
            k += troop.Members.Items(j)->MonsterId == id ? 1 : 0;
        if (!name.empty())
            name += ",";
        name += monster->Name;
        if (k > 1)
            name += "x" + std::to_string(k);
    }
    if (maxBytes == 0 || name.size() <= maxBytes)
        return name;
    // Where the kept bytes would end inside a double-byte character, one byte less is kept.
    std::size_t keep = maxBytes - 1;
    bool trail = false;
    for (std::size_t i = 0; i < keep + 1 && i < name.size(); ++i) {
        if (trail) {
            if (i == keep)
                keep -= 1;
            trail = false;
        } else {
            trail = IsCp932LeadByte(static_cast<unsigned char>(name[i]));
        }
    }
    return name.substr(0, keep) + "-";
}

std::string TriggerSummary(const TKelBattleEventTrigger& t, const TKelDataBase& db, const TKelMonGroupItem& troop) {
    std::vector<std::string> parts;
    const auto switchText = [&](std::int32_t id) -> std::string {
        const TCatalogItem* item = db.Switch.FindByID(id);
        return item ? "Switch [" + FormatIdName(id, item->Name) + "]-ON" : "?";
    };
    if (t.Flags & TKelBattleEventTrigger::btSwitchA)
        parts.push_back(switchText(t.SwitchAId));
    if (t.Flags & TKelBattleEventTrigger::btSwitchB)
        parts.push_back(switchText(t.SwitchBId));
    if (t.Flags & TKelBattleEventTrigger::btVariable) {
        const TCatalogItem* item = db.Variable.FindByID(t.VariableId);
        parts.push_back(item ? "Variable[" + FormatIdName(t.VariableId, item->Name) + "]>=[" + std::to_string(t.VariableValue) + "]"
                             : "?");
    }
    if (t.Flags & TKelBattleEventTrigger::btTurn) {
        if (t.TurnA == 0)
            parts.push_back("Turn No[" + std::to_string(t.TurnB) + "]");
        else if (t.TurnB == 0)
            parts.push_back("Turn No[" + std::to_string(t.TurnA) + "x]");
        else
            parts.push_back("Turn No[" + std::to_string(t.TurnA) + "x+" + std::to_string(t.TurnB) + "]");
    }
    if (t.Flags & TKelBattleEventTrigger::btExhaustion)
        parts.push_back("Exhaustion[" + RangeText(t.ExhaustionMin, t.ExhaustionMax) + "]");
    if (t.Flags & TKelBattleEventTrigger::btMonsterHp) {
        const TKelMonGroupMonsterItem* member =
            t.MonsterIndex >= 0 && t.MonsterIndex < troop.Members.Count() ? troop.Members.Items(t.MonsterIndex) : nullptr;
        const TCatalogItem* monster = member ? db.Monster.FindByID(member->MonsterId) : nullptr;
        parts.push_back("Enemy[" + std::to_string(static_cast<std::int64_t>(t.MonsterIndex) + 1) + ":" +
                        (monster ? monster->Name : std::string("?")) + "] HP%[" +
                        RangeText(t.MonsterHpMin, t.MonsterHpMax) + "]");
    }
    if (t.Flags & TKelBattleEventTrigger::btHeroHp) {
        const TCatalogItem* hero = db.Player.FindByID(t.HeroId);
        parts.push_back("Hero [" + (hero ? hero->Name : std::string("?")) + "] HP [" +
                        RangeText(t.HeroHpMin, t.HeroHpMax) + "]");
    }
    if (parts.empty())
        return "(None)";
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

std::string EncodeBattlePageClipboard(TKelBattleEventPageItem& page) { return EncodeSinglePageBlock(page); }

bool DecodeBattlePageClipboard(const std::string& block, TKelBattleEventPageItem& page) {
    return DecodeSinglePageBlock(block, page, [](TKelBattleEventPageItem& read) { return read.ScriptDamaged(); });
}

void SetBattleTestRunner(TBattleTestRunner runner) { Runner() = std::move(runner); }
const TBattleTestRunner& BattleTestRunner() { return Runner(); }

// --- the page ---

TMonGroupPageModel::TMonGroupPageModel(const TDataBaseContext& context, IEventChoosers* choosers,
                                       TMonsterImageSize sizes)
    : TEntryPageModel(context, dtMonstersParty, context.DataBase->MonGroup),
      mChoosers(choosers),
      mImages(ProjectImageFinder()),
      mSizes(std::move(sizes)) {
    if (!mSizes)
        mSizes = [this](const TKelMonsterItem* monster) {
            const TOrlenSheet& sheet = mImages.Image(monster);
            return TMemberShape{sheet.Width(), sheet.Height(), monster && monster->Flying != 0};
        };
    mEntryChanged = CurrentChanged.Connect([this] {
        mSelected = -1;
        mDragging = false;
        mPage = 0;
        ReloadImages();
        ShowPage();
        PagesChanged.Emit();
    });
    mClipboardWatch = ClipboardChanged().Connect([this] { PasteChanged.Emit(); });
    ReloadImages();
}

TMonGroupPageModel::~TMonGroupPageModel() { AttachScriptList(nullptr); }

int TMonGroupPageModel::MonsterRows() const { return DataBase().Monster.Count(); }

std::string TMonGroupPageModel::MonsterRowText(int row) const {
    const TCatalogItem* item = row >= 0 && row < MonsterRows() ? DataBase().Monster.Items(row) : nullptr;
    return item ? DataBaseRowText(item->ID, item->Name) : std::string{};
}

const TKelMonsterItem* TMonGroupPageModel::MemberMonster(int index) const {
    if (index < 0 || index >= MemberCount())
        return nullptr;
    return DataBase().Monster.FindByID(Member(index).MonsterId);
}

void TMonGroupPageModel::ReloadImages() {
    mShapes.clear();
    for (int i = 0; i < ShownMembers(); ++i)
        mShapes.push_back(mSizes(MemberMonster(i)));
    for (TMemberShape& s : mShapes) {
        if (s.Width <= 0 || s.Height <= 0)
            s.Width = s.Height = kMissingImageSize;
    }
}

TMemberShape TMonGroupPageModel::MemberShape(int index) const {
    if (index < 0 || index >= static_cast<int>(mShapes.size()))
        return {};
    return mShapes[static_cast<std::size_t>(index)];
}

std::vector<TMemberShape> TMonGroupPageModel::Shapes() const {
    std::vector<TMemberShape> shapes;
    for (int i = 0; i < MemberCount(); ++i)
        shapes.push_back(MemberShape(i));
    return shapes;
}

TRect TMonGroupPageModel::MemberRect(int index) const {
    const TMemberShape s = MemberShape(index);
    const TKelMonGroupMonsterItem& m = Member(index);
    // A member placed far off the field (by a file or a block) stays far off, within int range.
    const int left = FarWithin(m.X) - s.Width / 2, top = FarWithin(m.Y) - s.Height / 2;
    return {left, top, left + s.Width, top + s.Height};
}

void TMonGroupPageModel::Changed() {
    Modify();
    FieldChanged.Emit();
}

void TMonGroupPageModel::Select(int index) {
    if (index < -1 || index >= MemberCount())
        index = -1;
    if (index == mSelected)
        return;
    mSelected = index;
    FieldChanged.Emit();
}

bool TMonGroupPageModel::IsArranged() const {
    const std::vector<TPoint> places = RowPlaces(Shapes());
    for (int i = 0; i < MemberCount(); ++i)
        if (Member(i).X != places[static_cast<std::size_t>(i)].X || Member(i).Y != places[static_cast<std::size_t>(i)].Y)
            return false;
    return true;
}

bool TMonGroupPageModel::Arrange() {
    if (!CanArrange() || IsArranged())
        return false;
    const std::vector<TPoint> places = RowPlaces(Shapes());
    for (int i = 0; i < MemberCount(); ++i) {
        Member(i).X = places[static_cast<std::size_t>(i)].X;
        Member(i).Y = places[static_cast<std::size_t>(i)].Y;
    }
    Changed();
    return true;
}

bool TMonGroupPageModel::Add(int monsterRow) {
    if (!CanAdd() || monsterRow < 0 || monsterRow >= MonsterRows())
        return false;
    const bool arranged = IsArranged();
    const int previousX = MemberCount() > 0 ? Member(MemberCount() - 1).X : 0;
    const bool first = MemberCount() == 0;
    MakeRoomAbove(Item().Members, kMaxTroopMembers);
    TKelMonGroupMonsterItem& member = Item().Members.Append();
    member.MonsterId = DataBase().Monster.Items(monsterRow)->ID;
    mShapes.push_back(mSizes(MemberMonster(MemberCount() - 1)));
    if (mShapes.back().Width <= 0 || mShapes.back().Height <= 0)
        mShapes.back() = TMemberShape{kMissingImageSize, kMissingImageSize, mShapes.back().Flying};
    const TMemberShape s = mShapes.back();
    member.Y = Within(148 - s.Height / 2, s.Height / 2, kBattleFieldHeight - s.Height / 2);
    member.X = Within(first ? kBattleFieldWidth / 2 : FarWithin(previousX) + 32, s.Width / 2, kBattleFieldWidth - s.Width / 2);
    if (arranged) {
        const std::vector<TPoint> places = RowPlaces(Shapes());
        for (int i = 0; i < MemberCount(); ++i) {
            Member(i).X = places[static_cast<std::size_t>(i)].X;
            Member(i).Y = places[static_cast<std::size_t>(i)].Y;
        }
    }
    Changed();
    return true;
}

bool TMonGroupPageModel::DeleteSelected() {
    if (!CanDelete())
        return false;
    const bool arranged = IsArranged();
    // Members are numbered 1, 2 ... in their order.
    Item().Members.DeleteAndRenumber(Member(mSelected).ID);
    mShapes.erase(mShapes.begin() + mSelected);
    if (mSelected >= MemberCount())
        mSelected = MemberCount() - 1;
    if (arranged && MemberCount() > 0) {
        const std::vector<TPoint> places = RowPlaces(Shapes());
        for (int i = 0; i < MemberCount(); ++i) {
            Member(i).X = places[static_cast<std::size_t>(i)].X;
            Member(i).Y = places[static_cast<std::size_t>(i)].Y;
        }
    }
    mDragging = false;
    Changed();
    return true;
}

bool TMonGroupPageModel::ClearAll() {
    if (!CanClear())
        return false;
    Item().Members.Clear();
    mShapes.clear();
    mSelected = -1;
    mDragging = false;
    Changed();
    return true;
}

bool TMonGroupPageModel::AutoName() {
    return SetCurrentName(AutoTroopName(Item(), DataBase().Monster, static_cast<std::size_t>(NameMaxBytes())));
}

bool TMonGroupPageModel::ToggleInvisible() {
    if (!CanDelete())
        return false;
    TKelMonGroupMonsterItem& member = Member(mSelected);
    member.Hidden = member.Hidden ? 0 : 1;
    Changed();
    return true;
}

std::vector<int> TMonGroupPageModel::DrawOrder() const {
    std::vector<int> order(static_cast<std::size_t>(ShownMembers()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const std::int64_t ba = static_cast<std::int64_t>(Member(a).Y) + MemberShape(a).Height / 2;
        const std::int64_t bb = static_cast<std::int64_t>(Member(b).Y) + MemberShape(b).Height / 2;
        return ba != bb ? ba < bb : a > b;
    });
    return order;
}

int TMonGroupPageModel::Opacity(int index) const {
    if (Member(index).Hidden)
        return 80;
    const TKelMonsterItem* monster = MemberMonster(index);
    return monster && monster->Transparent ? kTranslucentOpacity : 255;
}

int TMonGroupPageModel::HitTest(int x, int y) const {
    const std::vector<int> order = DrawOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const TRect r = MemberRect(*it);
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return *it;
    }
    return -1;
}

bool TMonGroupPageModel::Press(int x, int y, bool left) {
    const int hit = HitTest(x, y);
    Select(hit);
    mDragging = left && hit >= 0;
    if (hit >= 0) {
        mGrabX = x - Member(hit).X;
        mGrabY = y - Member(hit).Y;
    }
    return hit >= 0;
}

bool TMonGroupPageModel::Moved(int index, int x, int y) {
    TKelMonGroupMonsterItem& m = Member(index);
    if (m.X == x && m.Y == y)
        return false;
    m.X = x;
    m.Y = y;
    Changed();
    return true;
}

bool TMonGroupPageModel::DragTo(int x, int y, bool fine) {
    if (!mDragging || !CanDelete())
        return false;
    const int step = fine ? 1 : kDragStep;
    const TKelMonGroupMonsterItem& m = Member(mSelected);
    const std::int64_t tx = static_cast<std::int64_t>(x) - mGrabX, ty = static_cast<std::int64_t>(y) - mGrabY;
    int nx = m.X, ny = m.Y;
    bool moved = false;
    // Steps toward the pointer while it is more than half a step away; a clamped step ends it.
    const auto walk = [&](int& v, std::int64_t target, int high) {
        while (std::llabs(target - v) * 2 > step) {
            const int next = Within(v + (target > v ? step : -step), 0, high);
            if (next == v)
                break;
            v = next;
            moved = true;
        }
    };
    walk(nx, tx, kBattleFieldWidth);
    walk(ny, ty, kBattleFieldHeight);
    if (!moved)
        return false;
    nx = Within(SnapToStep(nx, step), 0, kBattleFieldWidth);
    ny = Within(SnapToStep(ny, step), 0, kBattleFieldHeight);
    return Moved(mSelected, nx, ny);
}

std::string TMonGroupPageModel::HintText() const {
    if (!CanDelete())
        return {};
    const TKelMonsterItem* monster = MemberMonster(mSelected);
    const TKelMonGroupMonsterItem& m = Member(mSelected);
    return std::to_string(mSelected + 1) + ": " + (monster ? monster->Name : std::string()) + "\r" +
           std::to_string(m.X) + ", " + std::to_string(m.Y);
}

int TMonGroupPageModel::TerrainRows() const { return DataBase().Ground.Count(); }

std::string TMonGroupPageModel::TerrainRowText(int row) const {
    const TCatalogItem* item = row >= 0 && row < TerrainRows() ? DataBase().Ground.Items(row) : nullptr;
    return item ? item->Name : std::string{};
}

bool TMonGroupPageModel::TerrainMark(int row) const { return Item().Terrain(row + 1) != 0; }

void TMonGroupPageModel::SetTerrainMark(int row, bool on) {
    if (row < 0 || row >= TerrainRows() || TerrainMark(row) == on)
        return;
    // The flags are rewritten for the whole list: one per terrain, as the marks show them.
    std::vector<bool> marks;
    for (int i = 0; i < TerrainRows(); ++i)
        marks.push_back(i == row ? on : TerrainMark(i));
    Item().SetTerrainCount(TerrainRows());
    for (int i = 0; i < TerrainRows(); ++i)
        Item().SetTerrain(i + 1, marks[static_cast<std::size_t>(i)] ? 1 : 0);
    Modify();
}

int TMonGroupPageModel::PageCount() const {
    int count = 0;
    while (count < kMaxBattlePages && Item().Pages.FindByID(count + 1))
        ++count;
    return count;
}

TKelBattleEventPageItem* TMonGroupPageModel::Page() const {
    return mPage >= 0 && mPage < PageCount() ? Item().Pages.FindByID(mPage + 1) : nullptr;
}

void TMonGroupPageModel::ShowPage() {
    if (mScriptList) {
        TKelBattleEventPageItem* page = Page();
        mScriptList->SetScript(page ? &page->Script : nullptr);
    }
}

void TMonGroupPageModel::SelectPage(int index) {
    if (index < 0 || index >= PageCount() || index == mPage)
        return;
    mPage = index;
    ShowPage();
    PagesChanged.Emit();
}

bool TMonGroupPageModel::CanNewPage() const {
    // The pages after the current one move up by one: the last must have room above it.
    const TKelBattleEventPage& pages = Item().Pages;
    const bool room = pages.Count() == 0 || pages.Items(pages.Count() - 1)->ID < std::numeric_limits<std::int32_t>::max();
    return room && PageCount() < kMaxBattlePages;
}

bool TMonGroupPageModel::CanPastePage() const {
    return CanNewPage() && Clipboard().HasFormat(TKelBattleEventPageItem::kClipboardFormat);
}

TKelBattleEventPageItem& TMonGroupPageModel::InsertPageAfterCurrent() {
    const int count = PageCount();
    const std::int32_t id = count == 0 ? 1 : mPage + 2;
    TKelBattleEventPageItem& page = Item().Pages.InsertAndRenumber(id);
    mPage = id - 1;
    return page;
}

bool TMonGroupPageModel::PagesEdited() {
    ShowPage();
    Modify();
    PagesChanged.Emit();
    return true;
}

bool TMonGroupPageModel::NewPage() {
    if (!CanNewPage())
        return false;
    InsertPageAfterCurrent();
    return PagesEdited();
}

bool TMonGroupPageModel::PastePage() {
    if (!CanNewPage())
        return false;
    const auto block = Clipboard().GetData(TKelBattleEventPageItem::kClipboardFormat);
    TKelBattleEventPageItem pasted;
    if (!block || !DecodeBattlePageClipboard(*block, pasted))
        return false;
    TKelBattleEventPageItem& page = InsertPageAfterCurrent();
    const std::int32_t id = page.ID;
    page.Assign(pasted);
    page.SetID(id);
    return PagesEdited();
}

bool TMonGroupPageModel::DeletePage() {
    if (!CanDeletePage())
        return false;
    Item().Pages.DeleteAndRenumber(mPage + 1);
    mPage = std::min(mPage, PageCount() - 1);
    return PagesEdited();
}

bool TMonGroupPageModel::CopyPage() {
    if (PageCount() == 0) {
        Item().Pages.Obtain(1);
        mPage = 0;
        PagesEdited();
    }
    TKelBattleEventPageItem* page = Page();
    if (!page)
        return false;
    page->PackScript();
    Clipboard().SetData(TKelBattleEventPageItem::kClipboardFormat, EncodeBattlePageClipboard(*page));
    return true;
}

std::string TMonGroupPageModel::TriggerText() const {
    const TKelBattleEventPageItem* page = Page();
    return page ? TriggerSummary(page->Trigger, DataBase(), Item()) : std::string{};
}

bool TMonGroupPageModel::SetTrigger(const TKelBattleEventTrigger& trigger) {
    TKelBattleEventPageItem* page = Page();
    if (!page)
        return false;
    page->Trigger.Assign(trigger);
    Modify();
    PagesChanged.Emit();
    return true;
}

void TMonGroupPageModel::AttachScriptList(TScriptListModel* list) {
    if (mScriptList)
        mScriptList->SetScript(nullptr);
    mScriptModified = {};
    mScriptList = list;
    if (!list)
        return;
    list->SetKind(TScriptEditorKind::BattlePage);
    TEventCommandContext context;
    context.DataBase = &DataBase();
    context.MapTree = Context().MapTree;
    context.Map = Context().Map;
    context.MonsterGroup = &Item();
    context.Choosers = mChoosers;
    list->SetContext(context);
    mScriptModified = list->OnModified.Connect([this] { Modify(); });
    ShowPage();
}

// --- the start-condition dialog ---

TBattleTriggerEdit::TBattleTriggerEdit(const TKelBattleEventTrigger& trigger, const TKelDataBase* dataBase,
                                       const TKelMonGroupItem* troop, IEventChoosers* choosers)
    : DataBase(dataBase), Troop(troop), Choosers(choosers) {
    Trigger.Assign(trigger);
}

void TBattleTriggerEdit::SetFlag(std::uint8_t bit, bool on) {
    Trigger.Flags = static_cast<std::uint8_t>(on ? Trigger.Flags | bit : Trigger.Flags & ~bit);
}

std::string TBattleTriggerEdit::Refusal() const {
    const TKelBattleEventTrigger& t = Trigger;
    if ((Flag(TKelBattleEventTrigger::btExhaustion) && t.ExhaustionMin > t.ExhaustionMax) ||
        (Flag(TKelBattleEventTrigger::btMonsterHp) && t.MonsterHpMin > t.MonsterHpMax) ||
        (Flag(TKelBattleEventTrigger::btHeroHp) && t.HeroHpMin > t.HeroHpMax))
        return kTriggerRangeRefusal;
    return {};
}

std::vector<TFieldChoice> TBattleTriggerEdit::MemberItems() const {
    std::vector<TFieldChoice> items;
    for (int i = 0; Troop && i < Troop->Members.Count(); ++i) {
        const TCatalogItem* monster = DataBase ? DataBase->Monster.FindByID(Troop->Members.Items(i)->MonsterId) : nullptr;
        items.push_back({i, std::to_string(i + 1) + ":" + (monster ? monster->Name : std::string())});
    }
    return items;
}

std::vector<TFieldChoice> TBattleTriggerEdit::HeroItems() const {
    std::vector<TFieldChoice> items;
    for (int i = 0; DataBase && i < DataBase->Player.Count(); ++i)
        items.push_back({DataBase->Player.Items(i)->ID, DataBase->Player.Items(i)->Name});
    return items;
}

namespace {

TFieldForm BuildTriggerForm() {
    using E = TBattleTriggerEdit;
    using T = TKelBattleEventTrigger;
    TFieldFormBuilder<E> form;
    const auto check = [&form](const char* widget, const char* label, std::uint8_t bit) {
        form.Field(TFieldKind::Check, widget, label, [bit](const E& e) { return e.Flag(bit) ? 1 : 0; },
                   [bit](E& e, std::int32_t on) { e.SetFlag(bit, on != 0); });
    };
    const auto number = [&form](const char* widget, const char* label, std::int32_t T::*member, std::int32_t min,
                                std::int32_t max, std::uint8_t bit) {
        form.Field(TFieldKind::Number, widget, label, [member](const E& e) { return e.Trigger.*member; },
                     [member](E& e, std::int32_t v) { e.Trigger.*member = v; })
            .Range(min, max)
            .EnabledWhen([bit](const E& e) { return e.Flag(bit); });
    };
    const auto picker = [&form](TFieldKind kind, const char* widget, const char* label, std::int32_t T::*member,
                                std::uint8_t bit) {
        form.Field(kind, widget, label, [member](const E& e) { return e.Trigger.*member; },
                   [member](E& e, std::int32_t v) { e.Trigger.*member = v; })
            .Range(1, 5000)
            .EnabledWhen([bit](const E& e) { return e.Flag(bit); })
            .ItemsFrom([kind](const E& e) {
                std::vector<TFieldChoice> items;
                const TCatalog* list = !e.DataBase ? nullptr
                                       : kind == TFieldKind::Switch ? static_cast<const TCatalog*>(&e.DataBase->Switch)
                                                                    : &e.DataBase->Variable;
                for (int i = 0; list && i < list->Count(); ++i)
                    items.push_back({list->Items(i)->ID, list->Items(i)->Name});
                return items;
            })
            .Chooses([kind, member](E& e) {
                if (!e.Choosers)
                    return false;
                std::int32_t id = e.Trigger.*member;
                const bool chosen = kind == TFieldKind::Switch ? e.Choosers->ChooseSwitch(id) : e.Choosers->ChooseVariable(id);
                if (!chosen || id == e.Trigger.*member)
                    return false;
                e.Trigger.*member = id;
                return true;
            });
    };
    const auto list = [&form](const char* widget, const char* label, std::int32_t T::*member, std::uint8_t bit,
                              std::vector<TFieldChoice> (E::*items)() const) {
        form.Field(TFieldKind::IdList, widget, label, [member](const E& e) { return e.Trigger.*member; },
                   [member](E& e, std::int32_t v) { e.Trigger.*member = v; })
            .EnabledWhen([bit](const E& e) { return e.Flag(bit); })
            .ItemsFrom([items](const E& e) { return (e.*items)(); });
    };
    check("CheckBox1", "&Switch", T::btSwitchA);
    picker(TFieldKind::Switch, "DashSwitchA", "Switch A - ON", &T::SwitchAId, T::btSwitchA);
    check("CheckBox2", "S&witch", T::btSwitchB);
    picker(TFieldKind::Switch, "DashSwitchB", "Switch B - ON", &T::SwitchBId, T::btSwitchB);
    check("CheckBox3", "&Variable", T::btVariable);
    picker(TFieldKind::Variable, "DashVariable", "Variable", &T::VariableId, T::btVariable);
    number("EditVariableValue", "&or more:", &T::VariableValue, -999999, 999999, T::btVariable);
    check("CheckBox4", "&Turn No.  Every", T::btTurn);
    number("EditTurnA", "Every &x turns:", &T::TurnA, 0, 100, T::btTurn);
    number("EditTurnB", "turns starting from turn ", &T::TurnB, 0, 100, T::btTurn);
    check("CheckBox5", "&Exhaustion", T::btExhaustion);
    number("EditExhaustionMin", "Exhaustion from (%):", &T::ExhaustionMin, 0, 100, T::btExhaustion);
    number("EditExhaustionMax", "Exhaustion to (%):", &T::ExhaustionMax, 0, 100, T::btExhaustion);
    check("CheckBox6", "&Monsters", T::btMonsterHp);
    list("ListMonster", "Monster:", &T::MonsterIndex, T::btMonsterHp, &E::MemberItems);
    number("EditMonsterHpMin", "Monster HP from (%):", &T::MonsterHpMin, 0, 100, T::btMonsterHp);
    number("EditMonsterHpMax", "Monster HP to (%):", &T::MonsterHpMax, 0, 100, T::btMonsterHp);
    check("CheckBox7", "&Hero", T::btHeroHp);
    list("ListHero", "Hero:", &T::HeroId, T::btHeroHp, &E::HeroItems);
    number("EditHeroHpMin", "Hero HP from (%):", &T::HeroHpMin, 0, 100, T::btHeroHp);
    number("EditHeroHpMax", "Hero HP to (%):", &T::HeroHpMax, 0, 100, T::btHeroHp);
    return form.Build();
}

constexpr const char* kSlotNames[5] = {"Weapon", "Shield", "Armor", "Helmet", "Accessory"};

TFieldForm BuildPartyForm() {
    using P = TBattleTestParty;
    TFieldFormBuilder<P> form;
    for (int s = 0; s < kBattleTestPartyMax; ++s) {
        const std::string n = std::to_string(s + 1);
        form.Group("GroupHero" + n, "Hero " + n);
        form.Field(TFieldKind::IdList, "ComboHero" + n, "Hero:", [s](const P& p) { return p.Slots[s].HeroId; },
                   [s](P& p, std::int32_t v) { p.Slots[s].HeroId = v; })
            .ItemsFrom([](const P& p) { return p.HeroItems(); });
        form.Field(TFieldKind::Number, "EditLevel" + n, "Level:", [s](const P& p) { return p.Slots[s].Level; },
                   [s](P& p, std::int32_t v) { p.Slots[s].Level = v; })
            .Range(1, kBattleTestLevelMax)
            .EnabledWhen([s](const P& p) { return p.Slots[s].HeroId != 0; });
        for (int e = 0; e < 5; ++e)
            form.Field(TFieldKind::IdList, std::string("Combo") + kSlotNames[e] + n, std::string(kSlotNames[e]) + ":",
                       [s, e](const P& p) { return p.Slots[s].Equipment[e]; },
                       [s, e](P& p, std::int32_t v) { p.Slots[s].Equipment[e] = v; })
                .EnabledWhen([s](const P& p) { return p.Slots[s].HeroId != 0; })
                .ItemsFrom([s, e](const P& p) { return p.EquipmentItems(e, p.Slots[s].Equipment[e]); });
    }
    form.Group("GroupHeroEnd");
    return form.Build();
}

}  // namespace

const TFieldForm& BattleTriggerForm() {
    static const TFieldForm form = BuildTriggerForm();
    return form;
}

// --- the battle-test party ---

void TBattleTestParty::Load(const TKelDataBase& db) {
    DataBase = &db;
    for (int s = 0; s < kBattleTestPartyMax; ++s) {
        Slots[s] = {};
        const TKelTestPlayerItem* member = s < db.System.TestPlayer.Count() ? db.System.TestPlayer.Items(s) : nullptr;
        if (!member)
            continue;
        Slots[s].HeroId = member->HeroId;
        Slots[s].Level = std::clamp<std::int32_t>(member->Level, 1, kBattleTestLevelMax);
        for (int e = 0; e < 5; ++e)
            Slots[s].Equipment[e] = member->Equipment(e);
    }
}

void TBattleTestParty::Store(TKelDataBase& db) const {
    TKelTestPlayer& list = db.System.TestPlayer;
    list.Clear();
    for (const TBattleTestSlot& slot : Slots) {
        if (slot.HeroId == 0)
            continue;
        TKelTestPlayerItem& item = list.Append();
        item.HeroId = slot.HeroId;
        item.Level = slot.Level;
        for (int e = 0; e < 5; ++e)
            item.SetEquipment(e, slot.Equipment[e]);
    }
}

std::vector<TFieldChoice> TBattleTestParty::HeroItems() const {
    // As the other lists show records ("%.4d:%s"): heroes of the same name stay apart.
    std::vector<TFieldChoice> items{{0, "(None)"}};
    for (int i = 0; DataBase && i < DataBase->Player.Count(); ++i) {
        const TCatalogItem* hero = DataBase->Player.Items(i);
        items.push_back({hero->ID, IdListText(hero->ID, hero->Name)});
    }
    return items;
}

std::vector<TFieldChoice> TBattleTestParty::EquipmentItems(int slot, std::int32_t current) const {
    std::vector<TFieldChoice> items{{0, "(None)"}};
    for (int i = 0; DataBase && i < DataBase->Item.Count(); ++i) {
        const TKelItemItem* item = DataBase->Item.Items(i);
        if (item->Kind == TKelItemItem::ikWeapon + slot || item->ID == current)
            items.push_back({item->ID, IdListText(item->ID, item->Name)});
    }
    return items;
}

const TFieldForm& BattleTestPartyForm() {
    static const TFieldForm form = BuildPartyForm();
    return form;
}

bool RunTroopBattleTest(TKelDataBase& dataBase, const TBattleTestParty& party, std::int32_t troopId) {
    party.Store(dataBase);
    const TBattleTestRunner& runner = BattleTestRunner();
    return runner && runner(dataBase, troopId);
}

}  // namespace quillon
