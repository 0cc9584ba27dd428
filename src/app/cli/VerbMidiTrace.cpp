// quillon-cli midi-trace: runs the MIDI player as the music selector drives it (stop, load, play,
// then fade-in, volume, tempo and balance) on a virtual clock, and prints every message it sends
// to the synthesizer with the time it was sent.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "audio/AudioClock.h"
#include "audio/MidiOut.h"
#include "audio/MidiPlay.h"

#include <cstdio>
#include <deque>
#include <memory>
#include <string>

namespace quillon::cli {

namespace {

struct TTraceOptions {
    std::string File;
    long long Millis = 5000;
    long long Period = 1;
    int Tempo = 100;
    int Volume = 100;
    int Balance = 50;
    int FadeIn = 0;
};

std::string ParseOptions(const TArgs& args, TTraceOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!options.File.empty())
                return "more than one file given";
            options.File = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return arg + " needs a value";
        const std::string& value = args[++i];
        bool ok;
        if (arg == "--ms")
            ok = ReadNumberTo(value, options.Millis) && options.Millis >= 0 && options.Millis <= 3600000;
        else if (arg == "--period")
            ok = ReadNumberTo(value, options.Period) && options.Period >= 1 && options.Period <= 1000;
        else if (arg == "--tempo")
            ok = ReadNumberTo(value, options.Tempo);
        else if (arg == "--volume")
            ok = ReadNumberTo(value, options.Volume);
        else if (arg == "--balance")
            ok = ReadNumberTo(value, options.Balance);
        else if (arg == "--fade-in")
            ok = ReadNumberTo(value, options.FadeIn) && options.FadeIn >= 0;
        else
            return "unknown option " + arg;
        if (!ok)
            return arg + " needs a number in range (--ms 0..3600000, --period 1..1000, --fade-in at least 0)";
    }
    if (options.File.empty())
        return "no file given";
    return {};
}

// Prints each message with the clock's time while printing is on.
class TTraceOut final : public audio::IMidiOut {
public:
    explicit TTraceOut(std::shared_ptr<audio::IAudioClock> clock) : mClock(std::move(clock)) {}
    void SendShort(std::uint32_t message) override {
        if (!Printing)
            return;
        const unsigned status = message & 0xFF;
        std::printf("%lld short %02X %02X", static_cast<long long>(mClock->Now()), status, (message >> 8) & 0xFF);
        if (status < 0xC0 || status > 0xDF)
            std::printf(" %02X", (message >> 16) & 0xFF);
        std::printf("\n");
    }
    void SendLong(std::string_view message) override {
        if (!Printing)
            return;
        std::printf("%lld sysex", static_cast<long long>(mClock->Now()));
        for (const char byte : message)
            std::printf(" %02X", static_cast<unsigned>(static_cast<unsigned char>(byte)));
        std::printf("\n");
    }
    void Reset() override {}
    bool Printing = true;

private:
    std::shared_ptr<audio::IAudioClock> mClock;
};

// Sends run at once; posts wait until the driver delivers them before the next timer step.
class TTraceWindow final : public audio::IMidiMessageWindow {
public:
    void Send(std::function<void()> call) override {
        if (!mClosed)
            call();
    }
    void Post(std::function<void()> call) override {
        if (!mClosed)
            mPosted.push_back(std::move(call));
    }
    void Close() override {
        mClosed = true;
        mPosted.clear();
    }
    void Deliver() {
        while (!mPosted.empty() && !mClosed) {
            std::function<void()> call = std::move(mPosted.front());
            mPosted.pop_front();
            call();
        }
    }

private:
    std::deque<std::function<void()>> mPosted;
    bool mClosed = false;
};

}  // namespace

int VerbMidiTrace(const TArgs& args) {
    TTraceOptions options;
    if (const std::string problem = ParseOptions(args, options); !problem.empty())
        return Fail("midi-trace", problem);

    auto clock = std::make_shared<audio::TManualClock>(0);
    auto out = std::make_unique<TTraceOut>(clock);
    TTraceOut* trace = out.get();
    auto window = std::make_unique<TTraceWindow>();
    TTraceWindow* posts = window.get();
    audio::TMidiPlayerSetup setup;
    setup.Out = std::move(out);
    setup.Clock = clock;
    setup.Window = std::move(window);
    setup.RunTimer = false;
    setup.TimerPeriod = static_cast<int>(options.Period);
    audio::TMidiPlayer player(std::move(setup));

    player.Stop();
    try {
        player.LoadFromFile(options.File);
    } catch (const std::exception& e) {
        trace->Printing = false;
        return Fail(options.File, e.what());
    }
    player.Play();
    player.FadeIn(options.FadeIn);
    player.SetVolume(options.Volume);
    player.SetTempo(options.Tempo);
    player.SetBalance(options.Balance);
    for (long long now = options.Period; now <= options.Millis; now += options.Period) {
        posts->Deliver();
        clock->Set(now);
        player.TimerStep();
    }
    // What the player sends when it is taken down is not part of the run.
    trace->Printing = false;
    std::fflush(stdout);
    return 0;
}

}  // namespace quillon::cli
