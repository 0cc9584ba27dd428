// Feeds arbitrary clipboard blocks of the record formats (565, 569, 570, 572-583) to the list
// and record paste readers: the first byte picks the format and the paste position, the rest is
// the block. Whatever pastes whole must copy again, and a block a copy made must paste back to records
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

#include "FuzzRecords.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace quillon;
using fuzzrecords::Paste;

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
