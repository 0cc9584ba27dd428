#include "data/LD_MoveRoute.h"

#include <algorithm>

namespace quillon {

namespace {

const char* const kMoveCommandNames[] = {
    "Up ",
    "Right ",
    "Down ",
    "Left ",
    "Right/Up ",
    "Right/Down ",
    "Left/Down ",
    "Left/Up ",
    "Random Walk ",
    "Walk Towards Hero ",
    "Walk Away From Hero ",
    "Walk Forward ",
    "Face Up ",
    "Face Right ",
    "Face Down ",
    "Face Left ",
    "Turn Right ",
    "Turn Left ",
    "Turn Oposite Dir ",
    "Right/Left Turn ",
    "Random Direction ",
    "Face Hero ",
    "Face Away From Hero ",
    "Wait ",
    "Start Jump ",
    "Stop Jump ",
    "Fix Dir. ",
    "Cancel Fix Dir. ",
    "Move Speed Up ",
    "Move Speed Down ",
    "Move Freq. Up ",
    "Move Freq. Down ",
    "Switch ON ",
    "Switch OFF ",
    "Change Graphic ",
    "Play SE ",
    "StartSlipThrough ",
    "StopSlipThrough ",
    "Stop Anim. ",
    "Start Anim. ",
    "TranslucencyUp ",
    "TranslucencyDown",
};
static_assert(std::size(kMoveCommandNames) == mcLastCode + 1);

}  // namespace

const char* MoveCommandName(std::int32_t code) {
    if (code < 0 || code > mcLastCode)
        return nullptr;
    return kMoveCommandNames[code];
}

void SaveMoveRouteItems(TStream& stream, const std::vector<TKelMoveRouteItem>& items) {
    for (const TKelMoveRouteItem& item : items) {
        WriteVarInt(stream, item.Code);
        switch (item.Code) {
        case mcSwitchOn:
        case mcSwitchOff:
            WriteVarInt(stream, item.SwitchId);
            break;
        case mcChangeGraphic:
            WriteString(stream, item.GraphicName);
            WriteVarInt(stream, item.GraphicIndex);
            break;
        case mcPlaySound:
            WriteString(stream, item.SoundName);
            WriteVarInt(stream, item.SoundVolume);
            WriteVarInt(stream, item.SoundTempo);
            WriteVarInt(stream, item.SoundBalance);
            break;
        default:
            break;
        }
    }
}

void LoadMoveRouteItems(TStream& stream, std::vector<TKelMoveRouteItem>& items) {
    while (stream.Position() < stream.Size()) {
        TKelMoveRouteItem item;
        item.Code = ReadVarInt(stream);
        switch (item.Code) {
        case mcSwitchOn:
        case mcSwitchOff:
            item.SwitchId = ReadVarInt(stream);
            break;
        case mcChangeGraphic:
            ReadString(stream, item.GraphicName);
            item.GraphicIndex = ReadVarInt(stream);
            break;
        case mcPlaySound:
            ReadString(stream, item.SoundName);
            item.SoundVolume = ReadVarInt(stream);
            item.SoundTempo = ReadVarInt(stream);
            item.SoundBalance = ReadVarInt(stream);
            break;
        default:
            break;
        }
        items.push_back(std::move(item));
    }
}

void TKelMoveRoute::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 11: SetIntField(d, &RouteSize, 0, "RouteSize"); break;
    case 12: SetDynamicField(d, &RouteData, RouteSize, "RouteData"); break;
    case 21: SetByteField(d, &Repeat, 1, "Repeat"); break;
    case 22: SetByteField(d, &Skippable, 0, "Skippable"); break;
    default: break;
    }
}

void TKelMoveRoute::Reset() {
    RouteSize = 0;
    RouteData.clear();
    Repeat = 1;
    Skippable = 0;
    mItems.clear();
    mDamaged = false;
}

void TKelMoveRoute::LoadFromStream(TStream& stream) {
    TCatalogBaseItem::LoadFromStream(stream);
    // Parse no more than the bytes present, whatever the size field says.
    const std::size_t size = std::min<std::size_t>(static_cast<std::size_t>(std::max(RouteSize, 0)), RouteData.size());
    RouteData.resize(size);
    RouteSize = static_cast<std::int32_t>(size);
    try {
        ParseRoute();
    } catch (const EReadError&) {
        // A damaged route keeps the commands before the damage; the rest of the record stands.
        mDamaged = true;
    }
}

void TKelMoveRoute::SaveToStream(TStream& stream) {
    PackRoute();
    TCatalogBaseItem::SaveToStream(stream);
}

void TKelMoveRoute::Insert(int index, const TKelMoveRouteItem& item) {
    index = std::clamp(index, 0, Count());
    mItems.insert(mItems.begin() + index, item);
}

void TKelMoveRoute::Delete(int index) {
    if (index >= 0 && index < Count())
        mItems.erase(mItems.begin() + index);
}

void TKelMoveRoute::SetRoute(const std::uint8_t* data, std::size_t size) {
    RouteData.assign(data, data + size);
    RouteSize = static_cast<std::int32_t>(size);
    ParseRoute();
}

void TKelMoveRoute::ParseRoute() {
    mItems.clear();
    mDamaged = false;
    TByteViewStream stream(RouteData.data(), RouteData.size());
    LoadMoveRouteItems(stream, mItems);
}

TDynamicBuffer TKelMoveRoute::PackRoute() {
    TMemoryStream stream;
    SaveMoveRouteItems(stream, mItems);
    const std::string& bytes = stream.Bytes();
    RouteData.assign(bytes.begin(), bytes.end());
    RouteSize = static_cast<std::int32_t>(RouteData.size());
    return RouteData;
}

std::string EncodeMoveCommandClipboard(const TKelMoveRouteItem& item) {
    TMemoryStream payload;
    SaveMoveRouteItems(payload, {item});
    return MakeCountedClipboardBlock(payload.Bytes());
}

std::optional<TKelMoveRouteItem> DecodeMoveCommandClipboard(std::string_view block) {
    const std::optional<std::string_view> payload = CountedClipboardPayload(block);
    if (!payload)
        return std::nullopt;
    TByteViewStream stream(*payload);
    std::vector<TKelMoveRouteItem> items;
    try {
        LoadMoveRouteItems(stream, items);
    } catch (const EReadError&) {
        // Only the first command is pasted; what follows it may be cut.
    }
    if (items.empty() || items.front().Code < 0 || items.front().Code > mcLastCode)
        return std::nullopt;
    return items.front();
}

}  // namespace quillon
