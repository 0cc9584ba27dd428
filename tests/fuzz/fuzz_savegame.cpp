// Feeds arbitrary bytes to the save reader, with the check sum made right so that the input
// reaches the sections; whatever loads must save again to bytes that load to the same game.
// The reader is asked for the title "" and database check 0, which a header that omits both
// fields carries.
#include "runtime/GameSave.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace quillon::runtime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::uint32_t crc = SaveCrc(bytes);
    for (int b = 0; b < 4; ++b)
        bytes += static_cast<char>(crc >> (8 * b));
    const TSaveRead read = ReadSaveGame(bytes, "", 0);
    if (read.Problem != TSaveProblem::None)
        return 0;
    const std::string again = WriteSaveGame(read.Game);
    const TSaveRead second = ReadSaveGame(again, "", 0);
    if (second.Problem != TSaveProblem::None || WriteSaveGame(second.Game) != again)
        std::abort();
    return 0;
}
