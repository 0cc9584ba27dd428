// Feeds arbitrary clipboard blocks of the editor's own formats to their readers: the first byte
// picks the format (562 map cells, 566 event command lines, 569 one encounter, 568 a map with its
// tree item, and the strict readers of the event editors: 563 an event or start mark, 564 a page,
// 567 move commands), the rest is the block. A block that reads must write back to bytes that
// read to the same content; a refused block leaves nothing behind. What a paste keeps of a block
// (562, 568) holds only tiles, events and names the editor itself stores.
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MoveRoute.h"
#include "events/ED_Event.h"
#include "events/ED_MoveRoute.h"
#include "events/EventManager.h"
#include "events/ScriptList.h"
#include "mapedit/MapEditor.h"
#include "mapedit/MapEncounters.h"
#include "mapedit/MapPasteCheck.h"
#include "mapedit/MapProperties.h"
#include "mapedit/MapTreeView.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace quillon;

void MapCells(const std::string& block) {
    const std::optional<TMapCellBlock> cells = DecodeMapCellBlock(block);
    if (!cells)
        return;
    // The format has one spelling for each content: what was read writes back byte for byte.
    if (EncodeMapCellBlock(*cells) != block)
        std::abort();
    // A paste holds the cells to the layers' ranges: afterwards every cell is one the layer
    // stores, and a second check finds nothing more.
    TMapCellBlock checked = *cells;
    TPasteReport report;
    CheckPastedCells(checked, report);
    for (std::size_t i = 0; i < checked.Lower.size(); ++i)
        if (!IsLowerLayerTile(checked.Lower[i]) || !IsUpperLayerTile(checked.Upper[i]))
            std::abort();
    TPasteReport again;
    CheckPastedCells(checked, again);
    if (!again.Empty())
        std::abort();
}

bool SameLines(const TKelEventScriptList& a, const TKelEventScriptList& b) {
    if (a.Count() != b.Count())
        return false;
    for (int i = 0; i < a.Count(); ++i)
        if (!(*a.Lines(i) == *b.Lines(i)))
            return false;
    return true;
}

void ScriptLines(const std::string& block, unsigned kind) {
    TKelEventScriptList lines;
    if (!DecodeScriptBlock(block, lines)) {
        if (lines.Count() != 0)
            std::abort();  // a refused block leaves nothing behind
        return;
    }
    FilterPastedLines(lines, static_cast<TScriptEditorKind>(kind % 3));
    if (lines.Count() == 0)
        return;
    const std::string again = EncodeScriptBlock(lines, 0, lines.Count() - 1);
    TKelEventScriptList reread;
    if (!DecodeScriptBlock(again, reread) || !SameLines(lines, reread))
        std::abort();
}

void Encounter(const std::string& block) {
    TKelEncountItem item;
    item.MonsterGroupId = 7;
    if (!ReadEncounterBlock(block, item) && item.MonsterGroupId != 7)
        std::abort();  // a refused block leaves the encounter untouched
}

std::string Saved(TCatalogBaseItem& record) {
    TMemoryStream stream;
    record.SaveToStream(stream);
    return stream.Bytes();
}

// What a paste keeps of the map and the name is what the editor stores, and checking it once
// more changes nothing.
void CheckedAsPasted(const TKelMap& read, const std::string& name) {
    TKelMap map;
    map.Assign(read);
    TPasteReport report;
    const std::string kept = CheckPastedName(name, kMapNameMaxBytes, report);
    CheckPastedMap(map, report);
    if (kept.size() > kMapNameMaxBytes || map.Events.Count() > kMaxMapEvents)
        std::abort();
    for (const std::uint16_t cell : map.LowerLayer.Cells())
        if (!IsLowerLayerTile(cell))
            std::abort();
    for (const std::uint16_t cell : map.UpperLayer.Cells())
        if (!IsUpperLayerTile(cell))
            std::abort();
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TKelEventItem& event = *map.Events.Items(i);
        if (event.X < 0 || event.X >= map.Width() || event.Y < 0 || event.Y >= map.Height() ||
            event.Name.size() > kEventNameMaxBytes)
            std::abort();
    }
    TPasteReport again;
    CheckPastedName(kept, kMapNameMaxBytes, again);
    CheckPastedMap(map, again);
    if (!again.Empty())
        std::abort();
}

void MapWithItem(const std::string& block) {
    const std::unique_ptr<TMapBlock> read = TMapTreeModel::ReadMapBlock(block);
    if (!read)
        return;
    TKelMap map;
    TByteViewStream bytes(read->MapBytes);
    map.LoadFromStream(bytes);  // read once already: must read again
    CheckedAsPasted(map, read->Name);
    TKelMapTreeItem item;
    item.Assign(read->Item);
    const std::unique_ptr<TMapBlock> back = TMapTreeModel::ReadMapBlock(TMapTreeModel::MakeMapBlock(read->Name, map, item));
    if (!back || back->Name != read->Name || Saved(back->Item) != Saved(item))
        std::abort();
    // The first save may settle what the bytes held (a page condition's hero 0 is not written
    // and reads back as hero 1); from then on the map's bytes read back to themselves.
    TKelMap mapAgain;
    TByteViewStream bytesAgain(back->MapBytes);
    mapAgain.LoadFromStream(bytesAgain);
    const std::string settled = Saved(mapAgain);
    TKelMap mapThird;
    TByteViewStream bytesThird(settled);
    mapThird.LoadFromStream(bytesThird);
    if (Saved(mapThird) != settled)
        std::abort();
}

void EventBlock(const std::string& block) {
    const std::optional<TEventClipboard> read = ReadEventBlock(block);
    if (!read)
        return;
    if ((read->Tag == 0) != static_cast<bool>(read->Event))
        std::abort();
    const std::optional<TEventClipboard> back = ReadEventBlock(EncodeEventClipboard(read->Tag, read->Event.get()));
    if (!back || back->Tag != read->Tag || (read->Event && Saved(*back->Event) != Saved(*read->Event)))
        std::abort();
}

void PageBlock(const std::string& block) {
    TKelEventPageItem page;
    if (!DecodePageClipboard(block, page)) {
        TKelEventPageItem fresh;
        if (Saved(page) != Saved(fresh))
            std::abort();
        return;
    }
    TKelEventPageItem back;
    if (!DecodePageClipboard(EncodePageClipboard(page), back) || Saved(back) != Saved(page))
        std::abort();
}

void MoveCommands(const std::string& block) {
    std::vector<TKelMoveRouteItem> items;
    if (!DecodeMoveCommandBlock(block, items)) {
        if (!items.empty())
            std::abort();
        return;
    }
    if (items.empty())
        std::abort();
    // One command writes back as the block of one command.
    std::vector<TKelMoveRouteItem> back;
    if (!DecodeMoveCommandBlock(EncodeMoveCommandClipboard(items.front()), back) || back.size() != 1 ||
        !(back.front() == items.front()))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string block(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] & 7) {
    case 0: MapCells(block); break;
    case 1: ScriptLines(block, data[0] >> 3); break;
    case 2: Encounter(block); break;
    case 4: EventBlock(block); break;
    case 5: PageBlock(block); break;
    case 6: MoveCommands(block); break;
    default: MapWithItem(block); break;
    }
    return 0;
}
