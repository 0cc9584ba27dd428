// Feeds arbitrary bytes to the LZH archive reader: headers are read or refused, every entry
// unpacks or is refused, and what unpacks packs again to a stream that unpacks to the same bytes.
#include "platform/LhaArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    try {
        const TLhaArchiveReader reader(std::string(reinterpret_cast<const char*>(data), size));
        for (const TLhaEntry& entry : reader.Entries()) {
            if (!IsSafeLhaName(entry.Name))
                std::abort();
            std::string bytes;
            try {
                bytes = reader.Contents(entry);
            } catch (const ELhaError&) {
                continue;
            }
            if (bytes.size() != entry.OriginalSize && !entry.IsFolder)
                std::abort();
            if (LhaDecompress(LhaCompress(bytes), bytes.size(), 13) != bytes)
                std::abort();
        }
    } catch (const ELhaError&) {
    }
    // The bare stream decoder on the same bytes, claiming a little more than they could hold.
    try {
        LhaDecompress(std::string_view(reinterpret_cast<const char*>(data), size), size * 8 + 64, 13);
    } catch (const ELhaError&) {
    }
    return 0;
}
