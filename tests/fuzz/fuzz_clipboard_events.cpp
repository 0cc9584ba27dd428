// Feeds arbitrary clipboard blocks of the event formats to their readers: the first byte picks
// the format (563 an event or start mark, 564 an event page, 567 a move command, 584 a common
// event) and, for the record formats, the paste position; the rest is the block. A block that
// reads must write back to a block that reads to the same content.
#include "data/LD_CmnEvent.h"
#include "data/LD_Event.h"
#include "data/LD_MoveRoute.h"

#include "FuzzRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace quillon;

std::string Saved(TKelEventItem& event) {
    TMemoryStream stream;
    event.SaveToStream(stream);
    return stream.Bytes();
}

void EventOrStartMark(const std::string& block) {
    const std::optional<TEventClipboard> read = DecodeEventClipboard(block);
    if (!read)
        return;
    if ((read->Tag == 0) != static_cast<bool>(read->Event))
        std::abort();
    const std::string again = EncodeEventClipboard(read->Tag, read->Event.get());
    const std::optional<TEventClipboard> back = DecodeEventClipboard(again);
    if (!back || back->Tag != read->Tag)
        std::abort();
    // A record's first save may drop what it could not hold; from then on it is stable.
    if (read->Event && Saved(*back->Event) != Saved(*read->Event))
        std::abort();
}

void MoveCommand(const std::string& block) {
    const std::optional<TKelMoveRouteItem> read = DecodeMoveCommandClipboard(block);
    if (!read)
        return;
    if (DecodeMoveCommandClipboard(EncodeMoveCommandClipboard(*read)) != read)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string block(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int position = (data[0] >> 4) % 6;  // pastes at, before and past the list's element
    switch (data[0] & 0x03) {
    case 0: EventOrStartMark(block); break;
    case 1: fuzzrecords::Paste<TKelEventPageItem>(block, position); break;
    case 2: MoveCommand(block); break;
    case 3: fuzzrecords::Paste<TKelCommonEventItem>(block, position); break;
    default: break;
    }
    return 0;
}
