// The audio front on the editor's side: the mix goes to the sound card through Qt Multimedia,
// the MIDI player's hand-over runs on the user-interface thread, and a 50 ms timer updates the
// wave and MP3 players.
#pragma once

#include "audio/AudioHarmony.h"
#include "audio/SilentOutput.h"
#include "audio/MidiOut.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace quillon::audio {

// Hands calls to the thread that made it through queued calls on that thread's event loop.
class TQtMessageWindow final : public IMidiMessageWindow {
public:
    TQtMessageWindow();
    ~TQtMessageWindow() override;
    void Send(std::function<void()> call) override;
    void Post(std::function<void()> call) override;
    void Close() override;

private:
    struct TShared;
    std::shared_ptr<TShared> mShared;
    std::unique_ptr<QObject> mContext;
};

// Plays the mixer through the default sound card, or through a silent output when there is
// none (or it refuses 16-bit stereo at the mixer's rate).
class TQtAudioOutput {
public:
    explicit TQtAudioOutput(std::shared_ptr<TAudioMixer> mixer);
    ~TQtAudioOutput();
    TQtAudioOutput(const TQtAudioOutput&) = delete;
    TQtAudioOutput& operator=(const TQtAudioOutput&) = delete;
    bool HasDevice() const { return mDevice != nullptr; }

private:
    struct TDevice;
    std::shared_ptr<TAudioMixer> mMixer;
    std::unique_ptr<TDevice> mDevice;
    std::unique_ptr<TSilentOutput> mSilent;
};

// Services for the editor's front: a steady clock, the synthesizer, Qt hand-over, MIDI timer.
TAudioServices QtAudioServices();

// Creates and frees the program-wide front together with its output and its 50 ms timer.
class TQtAudioHost {
public:
    TQtAudioHost();
    ~TQtAudioHost();
    TQtAudioHost(const TQtAudioHost&) = delete;
    TQtAudioHost& operator=(const TQtAudioHost&) = delete;

    // AudioCreate, then AudioOpenWave, as the editor does at start and after a test play.
    bool Create();
    // AudioFree, as before a test play and at the end.
    bool Free();
    bool HasDevice() const { return mOutput && mOutput->HasDevice(); }

private:
    std::unique_ptr<TQtAudioOutput> mOutput;
    QTimer mTimer;
};

}  // namespace quillon::audio
