// Feeds arbitrary clipboard blocks of the record formats (565, 569, 570, 572-583) to the list
// and record paste readers: the first byte picks the format and the paste position, the rest is
// the block. Whatever pastes must copy again, and a block a copy made must paste back to records
// that copy the same.
#include "data/LD_Animation.h"
#include "data/LD_Attrib.h"
#include "data/LD_ChipSet.h"
#include "data/LD_Ground.h"
#include "data/LD_Item.h"
#include "data/LD_MonGroup.h"
#include "data/LD_Monster.h"
#include "data/LD_Player.h"
#include "data/LD_Skill.h"
#include "data/LD_Status.h"
#include "platform/Clipboard.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace quillon;

TMemoryClipboard& Board() {
    static TMemoryClipboard board;
    static const bool installed = (SetClipboard(&board), true);
    (void)installed;
    return board;
}

template <class TItem>
void Paste(const std::string& block, int position) {
    constexpr int format = TItem::kClipboardFormat;
    static TCatalogOf<TItem> list;
    static TCatalogOf<TItem> again;
    list.Clear();
    list.Obtain(2);
    Board().SetData(format, block);
    try {
        list.PasteFromClipboard(format, position);
    } catch (const EReadError&) {
    }
    if (list.Count() > 0) {
        // A block we made ourselves must read; pasted at the same place twice it copies the
        // same. (A record's reset values may depend on its ID, so the first copy, from other
        // IDs, may differ.)
        list.CopyToClipboard(format, 0, list.Count());
        again.Clear();
        again.PasteFromClipboard(format, 0);
        again.CopyToClipboard(format, 0, again.Count());
        const std::string copied = *Board().GetData(format);
        again.Clear();
        again.PasteFromClipboard(format, 0);
        again.CopyToClipboard(format, 0, again.Count());
        if (*Board().GetData(format) != copied)
            std::abort();
    }
    Board().SetData(format, block);
    TItem record;
    try {
        record.PasteFromClipboard(format);
    } catch (const EReadError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string block(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int position = (data[0] >> 4) % 6;  // pastes at, before and past the list's element
    switch (data[0] & 0x0F) {
    case 0: Paste<TKelBattleEventPageItem>(block, position); break;
    case 1: Paste<TKelMonsterActItem>(block, position); break;
    case 2: Paste<TKelAnimationTimingItem>(block, position); break;
    case 3: Paste<TKelAnimationPatternItem>(block, position); break;
    case 4: Paste<TKelAnimationCellItem>(block, position); break;
    case 5: Paste<TKelPlayerItem>(block, position); break;
    case 6: Paste<TKelSkillItem>(block, position); break;
    case 7: Paste<TKelItemItem>(block, position); break;
    case 8: Paste<TKelMonsterItem>(block, position); break;
    case 9: Paste<TKelMonGroupItem>(block, position); break;
    case 10: Paste<TKelGroundItem>(block, position); break;
    case 11: Paste<TKelAttribItem>(block, position); break;
    case 12: Paste<TKelStatusItem>(block, position); break;
    case 13: Paste<TKelAnimationItem>(block, position); break;
    case 14: Paste<TKelChipSetItem>(block, position); break;
    default: break;
    }
    return 0;
}
