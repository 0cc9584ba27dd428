// Move routes: a list of move commands packed into a byte buffer.
#pragma once

#include "data/Catalog.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Move command codes that carry a payload.
enum : std::int32_t {
    mcSwitchOn = 32,
    mcSwitchOff = 33,
    mcChangeGraphic = 34,
    mcPlaySound = 35,
    mcLastCode = 41,
};

// The name of a move command as stored and shown (trailing blank included), or nullptr for a
// code outside 0..41.
const char* MoveCommandName(std::int32_t code);

// One move command.
struct TKelMoveRouteItem {
    std::int32_t Code = 0;
    std::int32_t SwitchId = 0;      // codes 32, 33
    std::string GraphicName;        // code 34
    std::int32_t GraphicIndex = 0;  // code 34
    std::string SoundName;          // code 35
    std::int32_t SoundVolume = 0;   // code 35
    std::int32_t SoundTempo = 0;    // code 35
    std::int32_t SoundBalance = 0;  // code 35

    bool operator==(const TKelMoveRouteItem&) const = default;
};

// Packs move commands into the move route encoding and reads them back.
void SaveMoveRouteItems(TStream& stream, const std::vector<TKelMoveRouteItem>& items);
// Reads items until the stream ends; an item cut short raises EReadError, leaving in `items`
// what was read before it.
void LoadMoveRouteItems(TStream& stream, std::vector<TKelMoveRouteItem>& items);

// Clipboard block of one move command: a 32-bit little-endian byte count, then the command in
// the move route encoding.
inline constexpr int kMoveCommandClipboardFormat = 567;
std::string EncodeMoveCommandClipboard(const TKelMoveRouteItem& item);
// The first command of the block; nothing when the block is damaged, holds no whole command,
// or names a code that is not a move command.
std::optional<TKelMoveRouteItem> DecodeMoveCommandClipboard(std::string_view block);

// A move route record: the packed buffer and, parsed from it, the list of move commands.
// The list is what callers edit; it is packed into the buffer before every save.
class TKelMoveRoute : public TCatalogBaseItem {
public:
    std::int32_t RouteSize = 0;
    TDynamicBuffer RouteData;
    std::uint8_t Repeat = 1;
    std::uint8_t Skippable = 0;

    TKelMoveRoute() { Reset(); }

    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 22; }
    void Reset() override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    int Count() const { return static_cast<int>(mItems.size()); }
    const TKelMoveRouteItem& Items(int index) const { return mItems.at(static_cast<std::size_t>(index)); }
    TKelMoveRouteItem& Items(int index) { return mItems.at(static_cast<std::size_t>(index)); }
    const std::vector<TKelMoveRouteItem>& ItemList() const { return mItems; }
    void Add(const TKelMoveRouteItem& item) { mItems.push_back(item); }
    void Insert(int index, const TKelMoveRouteItem& item);
    void Delete(int index);
    void Clear() { mItems.clear(); }
    // Replaces the whole route from a packed byte block. A block cut inside an item keeps the
    // items before it and raises EReadError.
    void SetRoute(const std::uint8_t* data, std::size_t size);
    // Packs the items into RouteData and RouteSize and returns a copy of the bytes.
    TDynamicBuffer PackRoute();
    // The stored buffer could not be parsed whole when it was last loaded.
    bool RouteDamaged() const { return mDamaged; }

private:
    void ParseRoute();  // RouteData into the items

    std::vector<TKelMoveRouteItem> mItems;
    bool mDamaged = false;
};

}  // namespace quillon
