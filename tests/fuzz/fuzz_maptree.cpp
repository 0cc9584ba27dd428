// Feeds arbitrary bytes to the map tree reader; whatever loads must save again and walk out.
#include "data/LD_MapTree.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillon::TKelMapTree tree;
    quillon::TByteViewStream stream(data, size);
    try {
        tree.LoadTreeFromStream(stream);
    } catch (const quillon::EReadError&) {
    }
    quillon::TMemoryStream out;
    tree.SaveTreeToStream(out);
    tree.WalkIn(tree.WalkOut());
    return 0;
}
