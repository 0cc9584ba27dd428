// Feeds arbitrary bytes to the database reader; whatever loads must save again.
#include "data/LD_DataBase.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto database = std::make_unique<quillon::TKelDataBase>();
    quillon::TByteViewStream stream(data, size);
    try {
        database->LoadFromStream(stream);
    } catch (const quillon::EReadError&) {
    }
    quillon::TMemoryStream out;
    database->SaveToStream(out);
    return 0;
}
