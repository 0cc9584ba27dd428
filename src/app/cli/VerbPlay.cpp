// quillon-cli play: plays a music file through the audio front as the editor's music preview
// does (fade-in, volume, tempo and balance applied in that order after the start), either to the
// sound card or, with --out, rendered into a 16-bit stereo wave file.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "audio/AudioHarmony.h"
#include "audio/AudioRender.h"
#include "audio/MidiPlay.h"
#include "platform/FileUtils.h"

#ifdef QUILLON_CLI_AUDIO_OUTPUT
#include "audio/AudioOutput_qt.h"

#include <QCoreApplication>
#include <QTimer>
#endif

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

struct TPlayOptions {
    std::string File;
    std::string Out;
    int Seconds = 10;
    int Volume = 100;
    int Tempo = 100;
    int Balance = 50;
    int FadeIn = 0;
};

// Empty when the options are sound, else the reason they are not.
std::string ParseOptions(const TArgs& args, TPlayOptions& options) {
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
        if (arg == "--out") {
            options.Out = value;
            continue;
        }
        int* target = arg == "--seconds"   ? &options.Seconds
                      : arg == "--volume"  ? &options.Volume
                      : arg == "--tempo"   ? &options.Tempo
                      : arg == "--balance" ? &options.Balance
                      : arg == "--fade-in" ? &options.FadeIn
                                           : nullptr;
        if (!target)
            return "unknown option " + arg;
        if (!ReadNumberTo(value, *target) || *target < 0)
            return arg + " needs a number of at least 0";
    }
    if (options.File.empty())
        return "no file given";
    if (options.Seconds > 3600)
        return "--seconds is at most 3600";
    return {};
}

// The music selector's order: play, then fade-in, volume, tempo and balance.
bool StartMusic(const TPlayOptions& options) {
    audio::AudioOpenWave();
    audio::AudioOpenMidi();
    if (!audio::AudioPlayMusic(options.File))
        return false;
    audio::AudioFadeIn(options.FadeIn);
    audio::AudioSetVolume(options.Volume);
    audio::AudioSetTempo(options.Tempo);
    audio::AudioSetBalance(options.Balance);
    return true;
}

int RenderToFile(const TPlayOptions& options) {
    auto clock = std::make_shared<audio::TManualClock>();
    if (!audio::AudioCreateWith(audio::OfflineAudioServices(clock)))
        return Fail(options.File, "the audio front could not be created");
    if (!StartMusic(options)) {
        audio::AudioFree();
        return Fail(options.File, "not a playable MIDI, wave or MP3 file");
    }
    audio::TOfflineRenderer renderer(*audio::AudioFront(), clock);
    std::vector<std::int16_t> mix;
    renderer.Render(static_cast<std::int64_t>(options.Seconds) * 1000, mix);
    const int rate = audio::AudioFront()->Mixer()->OutputRate();
    audio::AudioFree();
    WriteFileAtomic(options.Out, audio::MakeWaveFile(mix, 2, rate));
    std::printf("%s: %d s rendered to %s\n", options.File.c_str(), options.Seconds, options.Out.c_str());
    return 0;
}

int PlayToSoundCard(const TPlayOptions& options) {
#ifdef QUILLON_CLI_AUDIO_OUTPUT
    int argc = 1;
    char name[] = "quillon-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    audio::TQtAudioHost host;
    if (!host.Create())
        return Fail(options.File, "the audio front could not be created");
    if (!host.HasDevice())
        std::fprintf(stderr, "quillon-cli: no sound card: playing silently\n");
    if (!StartMusic(options))
        return Fail(options.File, "not a playable MIDI, wave or MP3 file");
    QTimer::singleShot(options.Seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    host.Free();
    return 0;
#else
    return Fail(options.File, "built without a sound output: use --out");
#endif
}

}  // namespace

int VerbPlay(const TArgs& args) {
    TPlayOptions options;
    if (const std::string problem = ParseOptions(args, options); !problem.empty())
        return Fail("play", problem + "\nusage: quillon-cli play FILE [--seconds N] [--volume V] [--tempo T] "
                                      "[--balance B] [--fade-in MS] [--out OUT.wav]");
    if (!FileExists(options.File))
        return Fail(options.File, "no such file");
    // The editor's preview plays a MIDI file it cannot load as silence; here the reason is told.
    if (ReadFileHead(options.File, 4) == "MThd") {
        const std::string problem = audio::TMidiPlayer::DescribeProblem(ReadWholeFile(options.File, kMidiFileLimit));
        if (!problem.empty())
            return Fail(options.File, "the MIDI player cannot play it: " + problem);
    }
    return options.Out.empty() ? PlayToSoundCard(options) : RenderToFile(options);
}

}  // namespace quillon::cli
