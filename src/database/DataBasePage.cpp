#include "database/DataBasePage.h"

#include "controls/DataMaxChange.h"
#include "controls/IdList.h"
#include "data/LD_DataBase.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <stdexcept>

namespace quillon {

namespace {

constexpr std::array<TDataBaseTabInfo, kDataBaseTabCount> kTabs{{
    {"Hero", "TFormEDPlayer", "heroes", 2, TKelPlayerItem::kClipboardFormat, TKelPlayerItem::kNameMaxBytes},
    {"Skills", "TFormEDSkill", "skills", 3, TKelSkillItem::kClipboardFormat, TKelSkillItem::kNameMaxBytes},
    {"Items", "TFormEDItem", "items", 4, TKelItemItem::kClipboardFormat, TKelItemItem::kNameMaxBytes},
    {"Monsters", "TFormEDMonster", "monsters", 5, TKelMonsterItem::kClipboardFormat, TKelMonsterItem::kNameMaxBytes},
    {"Monsters Party", "TFormEDMonGroup", "troops", 6, TKelMonGroupItem::kClipboardFormat,
     TKelMonGroupItem::kNameMaxBytes},
    {"Attributes", "TFormEDAttrib", "attributes", 7, TKelAttribItem::kClipboardFormat, TKelAttribItem::kNameMaxBytes},
    {"Conditions", "TFormEDStatus", "conditions", 8, TKelStatusItem::kClipboardFormat, TKelStatusItem::kNameMaxBytes},
    {"Battle Animation", "TFormEDAnimation", "animations", 9, TKelAnimationItem::kClipboardFormat,
     TKelAnimationItem::kMaxNameBytes},
    {"Terrain", "TFormEDGround", "terrains", 10, TKelGroundItem::kClipboardFormat, TKelGroundItem::kNameMaxBytes},
    {"ChipSets", "TFormEDChipSet", "chipsets", 11, TKelChipSetItem::kClipboardFormat, TKelChipSetItem::kMaxNameBytes},
    {"Vocabulary", "TFormEDVocabulary", "vocabulary", 12, 0, 0},
    {"System", "TFormEDSystem", "system", 13, 0, 0},
    {"Common Events", "TFormEDCommonEvent", "commonevents", 14, TKelCommonEventItem::kClipboardFormat, 20},
}};

}  // namespace

const TDataBaseTabInfo& DataBaseTabInfo(int tab) {
    if (tab < 0 || tab >= kDataBaseTabCount)
        throw std::out_of_range("no such database tab");
    return kTabs[static_cast<std::size_t>(tab)];
}

int DataBaseTabByKey(const std::string& key) {
    for (int tab = 0; tab < kDataBaseTabCount; ++tab)
        if (key == kTabs[static_cast<std::size_t>(tab)].Key)
            return tab;
    return -1;
}

TCatalog* DataBaseTabList(TKelDataBase& dataBase, int tab) {
    switch (tab) {
    case dtHero: return &dataBase.Player;
    case dtSkills: return &dataBase.Skill;
    case dtItems: return &dataBase.Item;
    case dtMonsters: return &dataBase.Monster;
    case dtMonstersParty: return &dataBase.MonGroup;
    case dtAttributes: return &dataBase.Attrib;
    case dtConditions: return &dataBase.Status;
    case dtAnimation: return &dataBase.Animation;
    case dtTerrain: return &dataBase.Ground;
    case dtChipSets: return &dataBase.ChipSet;
    case dtCommonEvents: return &dataBase.CommonEvent;
    default: return nullptr;
    }
}

TDataBaseMemory& DataBaseMemory() {
    static TDataBaseMemory memory;
    return memory;
}

std::string DataBaseRowText(std::int32_t id, const std::string& name) { return IdListText(id, name); }

// --- the page ---

TDataBasePage::TDataBasePage(const TDataBaseContext& context, int tab) : mContext(context), mTab(tab) {
    if (!mContext.DataBase)
        throw std::invalid_argument("a database page without a database");
    if (mTab >= 0 && mTab < kDataBaseTabCount) {
        const TDataBaseListPosition& position = DataBaseMemory().Lists[static_cast<std::size_t>(mTab)];
        mCurrentId = position.CurrentId;
        mTopRow = position.TopRow;
    }
}

TDataBasePage::~TDataBasePage() { Remember(); }

void TDataBasePage::Remember() const {
    if (mTab < 0 || mTab >= kDataBaseTabCount)
        return;
    DataBaseMemory().Lists[static_cast<std::size_t>(mTab)] = {mCurrentId, mTopRow};
}

int TDataBasePage::NameMaxBytes() const {
    if (mTab < 0 || mTab >= kDataBaseTabCount)
        return 20;
    return DataBaseTabInfo(mTab).NameMaxBytes;
}

void TDataBasePage::Fill() {
    TCatalog* list = List();
    if (!list)
        return;
    if (list->Count() == 0)
        list->Obtain(1);
    // A remembered entry that is gone: the first row.
    if (!list->FindByID(mCurrentId))
        mCurrentId = list->Items(0)->ID;
    mTopRow = std::clamp(mTopRow, 0, list->Count() - 1);
    RowsChanged.Emit(-1);
    CurrentChanged.Emit();
}

int TDataBasePage::RowCount() const {
    const TCatalog* list = List();
    return list ? list->Count() : 0;
}

std::string TDataBasePage::RowText(int row) const {
    const TCatalog* list = List();
    const TCatalogItem* item = list ? list->Items(row) : nullptr;
    return item ? DataBaseRowText(item->ID, item->Name) : std::string();
}

int TDataBasePage::CurrentRow() const {
    const TCatalog* list = List();
    if (!list)
        return -1;
    for (int lo = 0, hi = list->Count() - 1; lo <= hi;) {
        const int mid = (lo + hi) / 2;
        const std::int32_t id = list->Items(mid)->ID;
        if (id == mCurrentId)
            return mid;
        if (id < mCurrentId)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

TCatalogItem* TDataBasePage::Current() const {
    const TCatalog* list = List();
    return list ? list->FindByID(mCurrentId) : nullptr;
}

bool TDataBasePage::SelectId(std::int32_t id) {
    const TCatalog* list = List();
    if (!list || !list->FindByID(id))
        return false;
    if (id != mCurrentId) {
        mCurrentId = id;
        CurrentChanged.Emit();
    }
    return true;
}

bool TDataBasePage::SelectRow(int row) {
    const TCatalog* list = List();
    const TCatalogItem* item = list ? list->Items(row) : nullptr;
    return item && SelectId(item->ID);
}

bool TDataBasePage::SelectPrevious() {
    const int row = CurrentRow();
    return row > 0 && SelectRow(row - 1);
}

bool TDataBasePage::SelectNext() {
    const int row = CurrentRow();
    return row >= 0 && SelectRow(row + 1);
}

void TDataBasePage::Clamp() {
    TCatalog* list = List();
    if (!list)
        return;
    if (list->Count() == 0)
        list->Obtain(1);
    if (list->FindByID(mCurrentId))
        return;
    // The entry went away: the last row that comes before it, else the first.
    const TCatalogItem* chosen = list->Items(0);
    for (int i = 0; i < list->Count(); ++i)
        if (list->Items(i)->ID < mCurrentId)
            chosen = list->Items(i);
    mCurrentId = chosen->ID;
}

void TDataBasePage::EntryReloaded(int row) {
    Clamp();
    RowsChanged.Emit(row);
    CurrentChanged.Emit();
}

std::string TDataBasePage::CurrentName() const {
    const TCatalogItem* item = Current();
    return item ? item->Name : std::string();
}

bool TDataBasePage::SetCurrentName(const std::string& name) {
    TCatalogItem* item = Current();
    if (!item || item->Name == name)
        return false;
    item->Name = name;
    RowsChanged.Emit(CurrentRow());
    Modify();
    return true;
}

bool TDataBasePage::ChangeCount(int count) {
    TCatalog* list = List();
    if (!list)
        return false;
    const TBusyCursorScope busy;
    count = std::clamp(count, kMinDataCount, kMaxDataCount);
    bool changed = false;
    // Every ID above the count goes, also when the list has gaps below it.
    while (list->Count() > 0 && list->Items(list->Count() - 1)->ID > count) {
        list->Delete(list->Items(list->Count() - 1)->ID);
        changed = true;
    }
    if (list->Count() < count)
        changed = ResizeCatalog(*list, count) || changed;
    if (!changed)
        return false;
    EntryReloaded(-1);
    Modify();
    return true;
}

bool TDataBasePage::Copy() {
    TCatalogItem* item = Current();
    if (!item || ClipboardFormat() == 0)
        return false;
    item->CopyToClipboard(ClipboardFormat());
    return true;
}

bool TDataBasePage::Clear() {
    TCatalogItem* item = Current();
    if (!item)
        return false;
    const std::int32_t id = item->ID;
    item->Reset();
    item->SetID(id);
    EntryReloaded(CurrentRow());
    Modify();
    return true;
}

bool TDataBasePage::Cut() { return Copy() && Clear(); }

bool TDataBasePage::CanPaste() const {
    return Current() && ClipboardFormat() != 0 && mCurrentId <= TCatalog::kMaxPasteId &&
           Clipboard().HasFormat(ClipboardFormat());
}

int TDataBasePage::Paste() {
    TCatalog* list = List();
    if (!list || !CanPaste())
        return 0;
    const int before = list->Count();
    int pasted = 0;
    try {
        // The list counts the block's first target from index 0 as ID 1.
        pasted = list->PasteFromClipboard(ClipboardFormat(), mCurrentId - 1);
    } catch (...) {
        // What was read before the damage stays, and shows.
        EntryReloaded(-1);
        Modify();
        throw;
    }
    if (pasted == 0)
        return 0;
    EntryReloaded(pasted == 1 && list->Count() == before ? CurrentRow() : -1);
    Modify();
    return pasted;
}

int TDataBasePage::MultiCopyMax() const {
    const int row = CurrentRow();
    return row < 0 ? 0 : RowCount() - row;
}

bool TDataBasePage::MultiCopy(int count) {
    TCatalog* list = List();
    const int row = CurrentRow();
    if (!list || row < 0 || ClipboardFormat() == 0 || count < 1 || count > MultiCopyMax())
        return false;
    list->CopyToClipboard(ClipboardFormat(), row, count);
    return true;
}

// --- the name-only page ---

TDataBaseListPage::TDataBaseListPage(const TDataBaseContext& context, int tab)
    : TDataBasePage(context, tab), mList(DataBaseTabList(*context.DataBase, tab)) {}

int TDataBaseListPage::ClipboardFormat() const {
    return mList && Tab() >= 0 && Tab() < kDataBaseTabCount ? DataBaseTabInfo(Tab()).ClipboardFormat : 0;
}

}  // namespace quillon
