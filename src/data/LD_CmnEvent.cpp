#include "data/LD_CmnEvent.h"

namespace quillon {

void TKelCommonEventItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 11: SetBufferField(d, &Trigger, 1, "Trigger"); break;
    case 12: SetByteField(d, &SwitchCondition, 0, "SwitchCondition"); break;
    case 13: SetIntField(d, &SwitchId, 1, "SwitchId"); break;
    case 21: SetIntField(d, &ScriptSize, 0, "ScriptSize"); break;
    case 22: SetDynamicField(d, &ScriptData, ScriptSize, "ScriptData"); break;
    default: break;
    }
}

void TKelCommonEventItem::Reset() {
    Name.clear();
    Trigger = ctCall;
    SwitchCondition = 0;
    SwitchId = 1;
    TKelBaseEventPageItem::Reset();
}

}  // namespace quillon
