// Feeds arbitrary bytes to the map unit reader; whatever loads must save again.
#include "data/LD_Map.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One map for every input, reset each time, so that no input pays for an earlier one's size.
    static auto map = std::make_unique<quillon::TKelMap>();
    map->Reset();
    quillon::TByteViewStream stream(data, size);
    try {
        quillon::ReadSignature(stream, quillon::TKelMap::kSignature);
        map->LoadFromStream(stream);
    } catch (const quillon::EReadError&) {
    }
    quillon::TMemoryStream out;
    map->SaveToStream(out);
    return 0;
}
