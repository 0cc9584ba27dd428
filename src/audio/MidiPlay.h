// The MIDI file player of the music preview: parses a whole Standard MIDI File into one
// time-ordered event list, then plays it from a 1 ms timer with looping (controller 111 marks
// the loop point), fades, master volume, pan offset and tempo scaling.
#pragma once

#include "audio/AudioClock.h"
#include "audio/AudioTimer.h"
#include "audio/MidiOut.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::audio {

// A MIDI output call failed; the text is the output's own.
class EMidiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kInvalidMidiFileText = "Invalid MIDI File";
class EInvalidMidiFile : public std::runtime_error {
public:
    EInvalidMidiFile() : std::runtime_error(kInvalidMidiFileText) {}
    // With the reason in words, kept apart from the message the editor shows.
    explicit EInvalidMidiFile(std::string reason) : std::runtime_error(kInvalidMidiFileText), mReason(std::move(reason)) {}
    const std::string& Reason() const { return mReason; }

private:
    std::string mReason;
};

struct TMidiEvent {
    std::uint32_t Tick = 0;          // absolute time in ticks
    std::uint32_t ShortMessage = 0;  // packed channel message; 0 for meta and system events
    std::uint32_t Tempo = 0;         // microseconds per quarter note of a Set-Tempo event
    int SysExIndex = -1;             // entry in the player's system-exclusive list
    std::string EventData;           // meta: FF, type, data; system: status byte, data

    bool IsSetTempo() const {
        return EventData.size() >= 2 && static_cast<std::uint8_t>(EventData[0]) == 0xFF &&
               static_cast<std::uint8_t>(EventData[1]) == 0x51;
    }
    bool IsSysEx() const {
        return ShortMessage == 0 && !EventData.empty() && static_cast<std::uint8_t>(EventData[0]) == 0xF0;
    }
};

// The parsed events in time order, kept in ten blocks of 10000 so that no block grows large.
class TMidiEventList {
public:
    static constexpr std::size_t kBlockSize = 10000;
    static constexpr std::size_t kBlockCount = 10;
    static constexpr std::size_t kCapacity = kBlockSize * kBlockCount;

    std::size_t Count() const { return mCount; }
    bool Empty() const { return mCount == 0; }
    // Appends the event; ignored (false) once the list holds kCapacity events.
    bool Add(TMidiEvent event);
    const TMidiEvent& operator[](std::size_t index) const {
        return mBlocks[index / kBlockSize][index % kBlockSize];
    }
    const TMidiEvent& Last() const { return (*this)[mCount - 1]; }
    void Clear();

private:
    std::array<std::vector<TMidiEvent>, kBlockCount> mBlocks;
    std::size_t mCount = 0;
};

// The General MIDI System On message, entry 0 of every loaded file's system-exclusive list.
inline constexpr std::string_view kGmSystemOn{"\xF0\x7E\x7F\x09\x01\xF7", 6};

struct TMidiPlayerSetup {
    std::unique_ptr<IMidiOut> Out;                // required
    std::shared_ptr<IAudioClock> Clock;           // default: the steady clock
    std::unique_ptr<IMidiMessageWindow> Window;   // default: a direct window
    bool RunTimer = true;                         // false: the owner calls TimerStep
    int TimerPeriod = 1;                          // P, in milliseconds
};

class TMidiPlayer {
public:
    explicit TMidiPlayer(TMidiPlayerSetup setup);
    ~TMidiPlayer();
    TMidiPlayer(const TMidiPlayer&) = delete;
    TMidiPlayer& operator=(const TMidiPlayer&) = delete;

    void LoadFromFile(const std::string& fileName);
    // Parses file bytes as LoadFromFile does; fileName is only remembered.
    void LoadFromMemory(std::string_view bytes, const std::string& fileName);
    // Why the last load gave no events although its header was sound (the track error that a
    // load swallows, as the editor plays such a file as silence); empty otherwise.
    std::string LoadProblem() const;
    // Why a player would play nothing of a file's bytes: the load error it raises, the track
    // error it swallows, a division of 0 (the song never advances) or a tempo of 0; empty when
    // the file plays. Runs a player of its own that sends nothing anywhere.
    static std::string DescribeProblem(std::string_view bytes);
    void Play();
    void Stop();
    void FadeIn(int millis);
    void FadeOut(int millis);
    void SetBalance(int value);  // pan offset 0..100
    void SetVolume(int value);   // 0..100
    void SetTempo(int value);    // 1..10000 %

    // One timer period; the timer thread calls it every P ms, an owner without timer by hand.
    void TimerStep();

    // The tick divisor for a tempo in microseconds per quarter note at a tempo percentage.
    static std::int64_t ComputeTickDivisor(std::int64_t tempoMicros, std::int64_t tempoPercent);

    // State, for the front and for tests.
    std::string FileName() const;
    int Division() const;
    std::size_t EventCount() const;
    TMidiEvent Event(std::size_t index) const;
    std::size_t SysExCount() const;
    std::uint32_t SongLength() const;
    std::uint32_t LoopTick() const;
    std::size_t LoopIndex() const;
    std::int64_t SongPosition() const;
    std::int64_t TickDivisor() const;
    std::int64_t TempoMicros() const;
    int TempoPercent() const;
    int Volume() const;
    int PanOffset() const;
    int FadeLevel() const;
    bool IsPlaying() const;
    bool IsFinished() const;

private:
    struct TPending;
    void StopLocked();
    void StepLocked(TPending& pending);
    void DispatchLocked(TPending& pending);
    void SendVolumesLocked();
    void SendPansLocked();
    void SendScaledVolumeLocked(int channel);
    void SendShortLocked(std::uint32_t message);
    void UpdateFadeLocked(std::int64_t now);
    void RecomputeDivisorLocked();
    void MergeTracksLocked(std::string_view file, std::size_t trackCount, std::size_t firstTrack);
    void HandleSysExMessage(std::size_t index);
    void HandleTempoMessage(std::uint32_t tempo);
    void RunPending(TPending& pending);
    bool VolumeStagePassed() const { return mVolumeSent; }

    mutable std::mutex mLock;
    std::unique_ptr<IMidiOut> mOut;
    std::shared_ptr<IAudioClock> mClock;
    std::unique_ptr<IMidiMessageWindow> mWindow;

    std::string mFileName;
    std::string mLoadProblem;
    int mDivision = 0;
    TMidiEventList mEvents;
    std::vector<std::string> mSysEx;
    std::uint32_t mSongLength = 0;
    std::uint32_t mLoopTick = 0;
    std::size_t mLoopIndex = 0;

    int mTimerPeriod = 1;
    std::int64_t mStepMicros = 0;

    std::int64_t mTempoMicros = 500000;
    int mTempoPercent = 100;
    std::int64_t mTickDivisor = 500000;

    bool mPlaying = false;
    bool mFinished = false;
    std::size_t mEventIndex = 0;
    std::int64_t mSongPosition = 0;
    std::int64_t mAccumulator = 0;

    int mVolume = 100;
    int mPanOffset = 50;
    std::array<int, 16> mChannelVolume{};
    std::array<int, 16> mChannelPan{};

    bool mFadingIn = false;
    bool mFadingOut = false;
    std::int64_t mFadeMillis = 0;
    int mFadeLevel = 100;
    int mFadeStartLevel = 100;
    std::int64_t mFadeStart = 0;
    std::int64_t mLastVolumeUpdate = 0;

    std::int64_t mStartTime = 0;
    bool mGmResetRequested = false;
    bool mGmResetDone = false;
    bool mBendRangeSent = false;
    bool mVolumeSent = false;
    bool mPanSent = false;

    std::unique_ptr<TPeriodicThread> mTimer;  // last: stopped before the rest goes
};

}  // namespace quillon::audio
