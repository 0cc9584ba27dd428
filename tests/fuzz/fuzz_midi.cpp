// MIDI file reader: any input loads, loads as silence or is refused with "Invalid MIDI File";
// what loads keeps its events in time order and plays without fault.
#include "audio/MidiPlay.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

class TNullOut final : public quillon::audio::IMidiOut {
public:
    void SendShort(std::uint32_t) override {}
    void SendLong(std::string_view message) override {
        if (message.empty())
            std::abort();
    }
    void Reset() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon::audio;
    auto clock = std::make_shared<TManualClock>();
    TMidiPlayerSetup setup;
    setup.Out = std::make_unique<TNullOut>();
    setup.Clock = clock;
    setup.RunTimer = false;
    TMidiPlayer player(std::move(setup));
    try {
        player.LoadFromMemory(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.mid");
    } catch (const EInvalidMidiFile&) {
        if (player.EventCount() != 0)
            std::abort();
        return 0;
    }
    const std::size_t count = player.EventCount();
    if (count > TMidiEventList::kCapacity)
        std::abort();
    for (std::size_t i = 1; i < count; ++i)
        if (player.Event(i - 1).Tick > player.Event(i).Tick)
            std::abort();
    if (count > 0) {
        if (player.LoopIndex() >= count || player.SongLength() != player.Event(count - 1).Tick)
            std::abort();
        player.Play();
        player.SetTempo(10000);
        for (int step = 0; step < 400; ++step) {
            clock->Advance(1);
            player.TimerStep();
        }
        player.Stop();
    }
    return 0;
}
