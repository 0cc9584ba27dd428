#include "audio/AudioHarmony.h"

#include "audio/AudioErrors.h"
#include "audio/FluidSynthOut.h"
#include "audio/SilentOutput.h"
#include "platform/FileUtils.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace quillon::audio {

namespace {

std::string ExpandFileName(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(fileName, error);
    return error ? fileName : full.lexically_normal().string();
}

std::string FirstBytes(const std::string& fileName, std::size_t count) {
    try {
        return ReadFileHead(fileName, count);
    } catch (const EFileError&) {
        return {};
    }
}

std::string LowerExtension(const std::string& fileName) {
    std::string ext = std::filesystem::path(fileName).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// The program-wide front.
std::unique_ptr<TAudioHarmony> gFront;

template <typename F> bool Guarded(F&& call) {
    if (!gFront)
        return false;
    try {
        call(*gFront);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

TAudioServices DefaultAudioServices() {
    TAudioServices services;
    services.Clock = std::make_shared<TSteadyClock>();
    services.Mixer = std::make_shared<TAudioMixer>();
    std::weak_ptr<TAudioMixer> mixer = services.Mixer;
    services.MakeMidiOut = [mixer]() -> std::unique_ptr<IMidiOut> {
        const std::shared_ptr<TAudioMixer> target = mixer.lock();
        if (!target)
            throw EMidiError("No mixer for the MIDI synthesizer");
        return std::make_unique<TFluidSynthOut>(target);
    };
    services.MakeMessageWindow = [] { return std::make_unique<TDirectMessageWindow>(); };
    services.RunMidiTimer = true;
    return services;
}

TAudioHarmony::TAudioHarmony(TAudioServices services) : mServices(std::move(services)) {
    if (!mServices.Clock)
        mServices.Clock = std::make_shared<TSteadyClock>();
    if (!mServices.MakeMessageWindow)
        mServices.MakeMessageWindow = [] { return std::make_unique<TDirectMessageWindow>(); };
    if (mServices.SilentOutput && mServices.Mixer)
        mOutput = std::make_unique<TSilentOutput>(mServices.Mixer);
    try {
        mMP3 = std::make_unique<TMP3Player>(mServices.Mixer, mServices.Clock);
    } catch (const std::exception&) {
        mMP3.reset();  // MP3 music is then not played
    }
}

TAudioHarmony::~TAudioHarmony() {
    mMidi.reset();
    mWave.reset();
    mMP3.reset();
    mOutput.reset();
}

void TAudioHarmony::OpenMidi() {
    if (mMidi)
        return;
    if (!mServices.MakeMidiOut)
        throw EMidiError("No MIDI output device");
    TMidiPlayerSetup setup;
    setup.Out = mServices.MakeMidiOut();
    setup.Clock = mServices.Clock;
    setup.Window = mServices.MakeMessageWindow();
    setup.RunTimer = mServices.RunMidiTimer;
    mMidi = std::make_unique<TMidiPlayer>(std::move(setup));
}

void TAudioHarmony::OpenWave() {
    if (!mWave)
        mWave = std::make_unique<TWavePlayer>(mServices.Mixer, mServices.Clock);
    mWave->SetSoundCount(kSoundCount);
}

void TAudioHarmony::CloseMidi() { mMidi.reset(); }

void TAudioHarmony::PlayMusic(const std::string& fileName) {
    StopMusic();
    const std::string full = ExpandFileName(fileName);
    const std::string magic = FirstBytes(full, 4);
    if (magic == "MThd" && mMidi) {
        mMidi->LoadFromFile(full);
        mMidi->Play();
    } else if (magic == "RIFF" && mWave) {
        mWave->Music().LoadFromFile(full);
        mWave->Music().Play(100, 100, true, 50);
    } else if (LowerExtension(full) == ".mp3" && mMP3) {
        mMP3->Play(full);
    } else {
        throw std::runtime_error("No player for " + full);
    }
}

void TAudioHarmony::StopMusic() {
    if (mMP3)
        mMP3->Stop();
    if (mWave)
        mWave->Music().Stop();
    if (mMidi)
        mMidi->Stop();
}

void TAudioHarmony::FadeIn(int millis) {
    if (mMP3)
        mMP3->FadeIn(millis);
    if (mWave)
        mWave->Music().FadeIn(millis);
    if (mMidi)
        mMidi->FadeIn(millis);
}

void TAudioHarmony::FadeOut(int millis) {
    if (mMP3)
        mMP3->FadeOut(millis);
    if (mWave)
        mWave->Music().FadeOut(millis);
    if (mMidi)
        mMidi->FadeOut(millis);
}

void TAudioHarmony::SetVolume(int value) {
    if (mMP3)
        mMP3->SetVolume(value);
    if (mWave)
        mWave->Music().SetVolume(TWaveBuffer::kAllVoices, value);
    if (mMidi)
        mMidi->SetVolume(value);
}

void TAudioHarmony::SetTempo(int value) {
    if (mMP3)
        mMP3->SetTempo(value);
    if (mWave)
        mWave->Music().SetTempo(TWaveBuffer::kAllVoices, value);
    if (mMidi)
        mMidi->SetTempo(value);
}

void TAudioHarmony::SetBalance(int value) {
    if (mMP3)
        mMP3->SetBalance(value);
    if (mWave)
        mWave->Music().SetBalance(TWaveBuffer::kAllVoices, value);
    if (mMidi)
        mMidi->SetBalance(value);
}

void TAudioHarmony::PlaySound(const std::string& fileName, int volume, int tempo, int balance) {
    if (!mWave)
        throw EDirectSoundError(kNoDirectSoundText);
    const int count = mWave->SoundCount();
    if (count == 0)
        throw EDirectSoundError::FromCode("DSERR_UNINITIALIZED");
    const std::string full = ExpandFileName(fileName);
    TWaveBuffer* buffer = nullptr;
    for (int i = 0; i < count && !buffer; ++i)
        if (mWave->Sounds(i).FileName() == full)
            buffer = &mWave->Sounds(i);
    if (!buffer) {
        for (int i = 0; i < count && !buffer; ++i)
            if (!mWave->Sounds(i).IsPlaying())
                buffer = &mWave->Sounds(i);
        if (!buffer) {
            mLastSound = (mLastSound + 1) % count;
            buffer = &mWave->Sounds(mLastSound);
        }
        buffer->LoadFromFile(full);
    }
    buffer->Play(volume, tempo, false, balance);
}

void TAudioHarmony::StopSounds() {
    if (!mWave)
        return;
    for (int i = 0; i < mWave->SoundCount(); ++i)
        mWave->Sounds(i).Stop();
}

void TAudioHarmony::Timer() {
    if (mWave)
        mWave->Timer();
    if (mMP3)
        mMP3->Timer();
}

void TAudioHarmony::StepMidi() {
    if (mMidi)
        mMidi->TimerStep();
}

// ---------------------------------------------------------------------------------------------

bool AudioCreate() {
    if (gFront)
        return true;
    try {
        TAudioServices services = DefaultAudioServices();
        services.SilentOutput = true;
        gFront = std::make_unique<TAudioHarmony>(std::move(services));
        return true;
    } catch (...) {
        return false;
    }
}

bool AudioCreateWith(TAudioServices services) {
    if (gFront)
        return true;
    try {
        gFront = std::make_unique<TAudioHarmony>(std::move(services));
        return true;
    } catch (...) {
        return false;
    }
}

bool AudioFree() {
    try {
        gFront.reset();
        return true;
    } catch (...) {
        return false;
    }
}

bool AudioOpenMidi() { return Guarded([](TAudioHarmony& f) { f.OpenMidi(); }); }
bool AudioOpenWave() { return Guarded([](TAudioHarmony& f) { f.OpenWave(); }); }
bool AudioCloseMidi() { return Guarded([](TAudioHarmony& f) { f.CloseMidi(); }); }
bool AudioPlayMusic(const std::string& fileName) {
    return Guarded([&](TAudioHarmony& f) { f.PlayMusic(fileName); });
}
bool AudioStopMusic() { return Guarded([](TAudioHarmony& f) { f.StopMusic(); }); }
bool AudioFadeIn(int millis) { return Guarded([=](TAudioHarmony& f) { f.FadeIn(millis); }); }
bool AudioFadeOut(int millis) { return Guarded([=](TAudioHarmony& f) { f.FadeOut(millis); }); }
bool AudioSetVolume(int value) { return Guarded([=](TAudioHarmony& f) { f.SetVolume(value); }); }
bool AudioSetTempo(int value) { return Guarded([=](TAudioHarmony& f) { f.SetTempo(value); }); }
bool AudioSetBalance(int value) { return Guarded([=](TAudioHarmony& f) { f.SetBalance(value); }); }
bool AudioPlaySound(const std::string& fileName, int volume, int tempo, int balance) {
    return Guarded([&](TAudioHarmony& f) { f.PlaySound(fileName, volume, tempo, balance); });
}
bool AudioStopSounds() { return Guarded([](TAudioHarmony& f) { f.StopSounds(); }); }
TAudioHarmony* AudioFront() { return gFront.get(); }

}  // namespace quillon::audio
