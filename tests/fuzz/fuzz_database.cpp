// Feeds arbitrary bytes to the database reader; whatever loads must save again.
// The work per input follows the input: only the sections the input names are saved again and
// put back to their reset state afterwards, so that a small input does not pay for saving and
// resetting the whole database.
#include "data/LD_DataBase.h"

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

using namespace quillon;

// The section numbers the input names, by the same walk over the section headers as the reader.
std::bitset<64> NamedSections(const std::uint8_t* data, std::size_t size) {
    std::bitset<64> named;
    TByteViewStream stream(data, size);
    try {
        ReadSignature(stream, TKelDataBase::kSignature);
        while (stream.Position() < stream.Size()) {
            const std::int32_t number = ReadVarInt(stream);
            const auto length = static_cast<std::uint32_t>(ReadVarInt(stream));
            // A section cut by the end of the input is read as far as it goes.
            const std::int64_t held = std::min<std::int64_t>(length, stream.Remaining());
            if (number >= TKelDataBase::kFirstSection && number <= TKelDataBase::kLastSection)
                named.set(static_cast<std::size_t>(number));
            stream.SetPosition(stream.Position() + held);
        }
    } catch (const EReadError&) {
    }
    return named;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto database = [] {
        auto made = std::make_unique<TKelDataBase>();
        made->Reset();
        return made;
    }();
    const std::bitset<64> named = NamedSections(data, size);
    TByteViewStream stream(data, size);
    try {
        database->LoadFromStream(stream);
    } catch (const EReadError&) {
    }
    for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n) {
        if (!named.test(static_cast<std::size_t>(n)))
            continue;
        const TKelDataBase::TSection section = database->Section(n);
        TMemoryStream out;
        if (section.List) {
            section.List->SaveToStream(out);
            section.List->Clear();
            section.List->Obtain(1);
        } else {
            section.Record->SaveToStream(out);
            section.Record->Reset();
        }
    }
    return 0;
}
