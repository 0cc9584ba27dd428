// The model of a database editor page, without any window.
//
// The database editor works on the program-wide database in memory: a page changes the live
// records at once and announces every change through Modified (the frame then enables Apply).
// A page with an entry list names that list (List) and its clipboard format; the base then does
// the shared list operations over it: the "%.4d:%s" rows, the current entry (kept by its ID, so
// that a resize, a paste or a reload never leaves it dangling), previous/next entry, the number
// of entries, Copy, Cut, Paste, Clear and MultiCopy through the program-wide clipboard.
//
// How a page is made:
//   1. Derive a model from TDataBasePage (or use TDataBaseListPage for a list tab), override
//      List() and ClipboardFormat() when the page has an entry list, and add the page's own
//      operations; every operation that changes the database ends with Modify().
//   2. Derive the widget from TFormDataBaseBase (DataBasePage_qt.h), which owns the model.
//   3. Add one line to RegisterDataBasePages (DataBasePages_qt.cpp) under the page's tab.
// The command-line tool and the tests drive the same models without a window.
#pragma once

#include "platform/Signal.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

class TCatalog;
class TCatalogItem;
class TKelDataBase;
class TKelMap;
class TKelMapTree;

// The thirteen tabs of the database editor, in their order.
enum TDataBaseTab : int {
    dtHero = 0,
    dtSkills = 1,
    dtItems = 2,
    dtMonsters = 3,
    dtMonstersParty = 4,
    dtAttributes = 5,
    dtConditions = 6,
    dtAnimation = 7,
    dtTerrain = 8,
    dtChipSets = 9,
    dtVocabulary = 10,
    dtSystem = 11,
    dtCommonEvents = 12,
};
inline constexpr int kDataBaseTabCount = 13;

struct TDataBaseTabInfo {
    const char* Caption;     // the tab's caption
    const char* PageClass;   // the page's class name
    const char* Key;         // the section's name on the command line ("heroes")
    int HelpContext;
    int ClipboardFormat;     // 0: the tab has no entry list
    int NameMaxBytes;        // what the page's name box accepts
};
// The tab's description; tab must be 0 .. 12.
const TDataBaseTabInfo& DataBaseTabInfo(int tab);
// The tab whose command-line key is `key`; -1 when none.
int DataBaseTabByKey(const std::string& key);
// The list a tab edits, or nullptr for the vocabulary and system tabs (and bad tabs).
TCatalog* DataBaseTabList(TKelDataBase& dataBase, int tab);

// What every page is handed: the live database, the map tree and the map in memory (either may
// be nullptr), and the project folder (ending in '/') the database file lives in.
struct TDataBaseContext {
    TKelDataBase* DataBase = nullptr;
    TKelMapTree* MapTree = nullptr;
    TKelMap* Map = nullptr;
    std::string ProjectPath;
};

// Where each tab's entry list was, kept for the run (not stored): the current entry's ID and the
// list's top row.
struct TDataBaseListPosition {
    std::int32_t CurrentId = 0;  // 0: none remembered
    int TopRow = 0;
};
struct TDataBaseMemory {
    int LastTab = 0;
    std::array<TDataBaseListPosition, kDataBaseTabCount> Lists{};
};
// The program-wide memory of the database editor.
TDataBaseMemory& DataBaseMemory();

// An entry row: "%.4d:%s" (the four digits and the colon also for an empty name).
std::string DataBaseRowText(std::int32_t id, const std::string& name);

class TDataBasePage {
public:
    // tab: the tab the page stands on (-1 for none); its list position is restored from the
    // program-wide memory when the page is made and remembered when it goes.
    TDataBasePage(const TDataBaseContext& context, int tab);
    virtual ~TDataBasePage();
    TDataBasePage(const TDataBasePage&) = delete;
    TDataBasePage& operator=(const TDataBasePage&) = delete;

    const TDataBaseContext& Context() const { return mContext; }
    TKelDataBase& DataBase() const { return *mContext.DataBase; }
    int Tab() const { return mTab; }

    // The page changed the database (after the change).
    TSignal<> Modified;
    // The current entry is another one, or was reloaded (a paste, a clear, a resize).
    TSignal<> CurrentChanged;
    // Rows changed: one row (its index), or all of them (-1).
    TSignal<int> RowsChanged;
    // Announces Modified; every change a page makes ends here.
    void Modify() { Modified.Emit(); }

    // --- the entry list; a page without one answers nullptr and the rest does nothing ---
    virtual TCatalog* List() const { return nullptr; }
    virtual int ClipboardFormat() const { return 0; }
    // Longest name the page's name box accepts.
    virtual int NameMaxBytes() const;

    // Makes the list non-empty (an empty list gets entry 1) and the current entry valid; the
    // rows are announced again. The frame calls it once after making the page.
    void Fill();
    int RowCount() const;
    std::string RowText(int row) const;
    // The current entry: kept by ID; a row that is gone moves it to the last row.
    std::int32_t CurrentId() const { return mCurrentId; }
    int CurrentRow() const;
    TCatalogItem* Current() const;
    // Makes an entry current; false when there is none (nothing changes then).
    bool SelectId(std::int32_t id);
    bool SelectRow(int row);
    // The previous / next entry (no wrap); false at the end.
    virtual bool SelectPrevious();
    virtual bool SelectNext();
    // The top row the list shows, remembered with the current entry.
    int TopRow() const { return mTopRow; }
    void SetTopRow(int row) { mTopRow = row; }

    // The current entry's name (bytes as stored) and its change.
    std::string CurrentName() const;
    // False when there is no current entry or the name is the same.
    bool SetCurrentName(const std::string& name);

    // The number of entries: 1 .. 30000. Growing appends IDs Count+1 ..; shrinking deletes
    // every ID above the count (also past gaps). False when nothing changed.
    bool ChangeCount(int count);
    // Copy: the current record as a block of one.
    bool Copy();
    // Clear: the current record back to its initial values (its ID stays).
    bool Clear();
    bool Cut();
    // Whether Paste can go: the clipboard holds the page's format and the current ID is at most
    // 5000 (a paste fills IDs from the current one up to 5000).
    bool CanPaste() const;
    // Paste at the current record's ID: record i of the block goes to ID current + i; answers the
    // number pasted (a damaged block keeps what was read before the damage and raises).
    int Paste();
    // How many records MultiCopy can take: from the current row to the end of the list.
    int MultiCopyMax() const;
    // Copies `count` consecutive records from the current one into one block.
    bool MultiCopy(int count);

protected:
    // The current entry was replaced or its rows changed: the page shows it again.
    void EntryReloaded(int row);

private:
    void Clamp();
    void Remember() const;

    TDataBaseContext mContext;
    int mTab;
    std::int32_t mCurrentId = 0;
    int mTopRow = 0;
};

// The page of a list tab that edits only the entries' names (the frame's page until a tab has
// a page of its own), and the model the command-line tool drives.
class TDataBaseListPage : public TDataBasePage {
public:
    TDataBaseListPage(const TDataBaseContext& context, int tab);
    TCatalog* List() const override { return mList; }
    int ClipboardFormat() const override;

private:
    TCatalog* mList;
};

}  // namespace quillon
