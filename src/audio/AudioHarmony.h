// The audio front: one player of each kind (MIDI, wave, MP3) behind the flat Audio... functions
// that the editor calls. The front chooses the player of a music file by its content.
#pragma once

#include "audio/AudioClock.h"
#include "audio/AudioMixer.h"
#include "audio/MP3Player.h"
#include "audio/MidiOut.h"
#include "audio/MidiPlay.h"
#include "audio/WavePlayer.h"

#include <functional>
#include <memory>
#include <string>

namespace quillon::audio {

// What the front builds its players on.
struct TAudioServices {
    std::shared_ptr<IAudioClock> Clock;
    std::shared_ptr<TAudioMixer> Mixer;
    // The MIDI player's output device and its hand-over to the owning thread.
    std::function<std::unique_ptr<IMidiOut>()> MakeMidiOut;
    std::function<std::unique_ptr<IMidiMessageWindow>()> MakeMessageWindow;
    // False: the MIDI player has no timer thread and the owner calls StepMidi every millisecond.
    bool RunMidiTimer = true;
    // True: the front pulls its own mix in real time into a silent output (no sound card).
    bool SilentOutput = false;
};

// A steady clock, a new mixer, the General MIDI synthesizer rendering into that mixer, direct
// hand-over, and the MIDI timer thread. Nobody pulls the mixer until an output is attached.
TAudioServices DefaultAudioServices();

class TSilentOutput;

class TAudioHarmony {
public:
    static constexpr int kSoundCount = 16;

    explicit TAudioHarmony(TAudioServices services);
    ~TAudioHarmony();
    TAudioHarmony(const TAudioHarmony&) = delete;
    TAudioHarmony& operator=(const TAudioHarmony&) = delete;

    void OpenMidi();
    void OpenWave();
    void CloseMidi();
    void PlayMusic(const std::string& fileName);
    void StopMusic();
    void FadeIn(int millis);
    void FadeOut(int millis);
    void SetVolume(int value);
    void SetTempo(int value);
    void SetBalance(int value);
    void PlaySound(const std::string& fileName, int volume, int tempo, int balance);
    void StopSounds();

    // The 50 ms update of the wave and MP3 players.
    void Timer();
    // One millisecond of the MIDI player, for owners without its timer thread.
    void StepMidi();

    TMidiPlayer* Midi() { return mMidi.get(); }
    TWavePlayer* Wave() { return mWave.get(); }
    TMP3Player* MP3() { return mMP3.get(); }
    const std::shared_ptr<TAudioMixer>& Mixer() const { return mServices.Mixer; }
    const std::shared_ptr<IAudioClock>& Clock() const { return mServices.Clock; }
    int LastSoundIndex() const { return mLastSound; }

private:
    TAudioServices mServices;
    std::unique_ptr<TSilentOutput> mOutput;
    std::unique_ptr<TMP3Player> mMP3;
    std::unique_ptr<TWavePlayer> mWave;
    std::unique_ptr<TMidiPlayer> mMidi;
    int mLastSound = -1;  // the sound buffer last chosen by rotation
};

// The flat functions over the one program-wide front. Each answers true on success, false when
// there is no front or the operation failed; none raises. AudioCreate makes a front on the
// default services with a silent output; AudioCreateWith on the given ones.
bool AudioCreate();
bool AudioCreateWith(TAudioServices services);
bool AudioFree();
bool AudioOpenMidi();
bool AudioOpenWave();
bool AudioCloseMidi();
bool AudioPlayMusic(const std::string& fileName);
bool AudioStopMusic();
bool AudioFadeIn(int millis);
bool AudioFadeOut(int millis);
bool AudioSetVolume(int value);
bool AudioSetTempo(int value);
bool AudioSetBalance(int value);
bool AudioPlaySound(const std::string& fileName, int volume, int tempo, int balance);
bool AudioStopSounds();
// The front itself (null when none exists), for its timer and its output.
TAudioHarmony* AudioFront();

}  // namespace quillon::audio
