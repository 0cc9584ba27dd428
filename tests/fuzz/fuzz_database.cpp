// Feeds arbitrary bytes to the database reader; whatever loads must save again.
#include "data/LD_DataBase.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One database for every input, reset each time: what an earlier input loaded would
    // otherwise be saved again with every later one.
    static auto database = std::make_unique<quillon::TKelDataBase>();
    database->Reset();
    quillon::TByteViewStream stream(data, size);
    try {
        database->LoadFromStream(stream);
    } catch (const quillon::EReadError&) {
    }
    quillon::TMemoryStream out;
    database->SaveToStream(out);
    return 0;
}
