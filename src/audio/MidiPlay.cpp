#include "audio/MidiPlay.h"

#include "audio/AudioErrors.h"
#include "platform/FileUtils.h"

#include <algorithm>
#include <optional>
#include <queue>

namespace quillon::audio {

namespace {

constexpr std::uint8_t kControlChange = 0xB0;
constexpr int kLoopController = 111;
constexpr std::uint32_t kMaxTick = 0xFFFFFFFFu;

std::uint32_t ControlChange(int channel, int controller, int value) {
    return static_cast<std::uint32_t>(kControlChange | channel) | (static_cast<std::uint32_t>(controller) << 8) |
           (static_cast<std::uint32_t>(value) << 16);
}

std::uint32_t ReadBig32(std::string_view bytes, std::size_t pos) {
    return (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[pos])) << 24) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[pos + 1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[pos + 2])) << 8) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[pos + 3]));
}

std::uint16_t ReadBig16(std::string_view bytes, std::size_t pos) {
    return static_cast<std::uint16_t>((static_cast<std::uint8_t>(bytes[pos]) << 8) |
                                      static_cast<std::uint8_t>(bytes[pos + 1]));
}

// One track of the file while it is merged into the event list.
struct TTrackReader {
    std::string_view Bytes;
    std::size_t Pos = 0;
    std::uint8_t RunningStatus = 0;
    std::uint32_t NextTick = 0;

    bool HasBytes() const { return Pos < Bytes.size(); }

    std::uint8_t ReadByte() {
        if (Pos >= Bytes.size())
            throw EInvalidMidiFile("an event runs past the end of its track");
        return static_cast<std::uint8_t>(Bytes[Pos++]);
    }

    // Variable-length quantity, most significant group first; saturates instead of wrapping.
    std::uint32_t ReadVarLen() {
        std::uint64_t value = 0;
        std::uint8_t b = 0;
        do {
            b = ReadByte();
            value = std::min<std::uint64_t>((value << 7) | (b & 0x7F), kMaxTick);
        } while (b & 0x80);
        return static_cast<std::uint32_t>(value);
    }

    std::string_view ReadBytes(std::uint32_t count) {
        if (count > Bytes.size() - Pos)
            throw EInvalidMidiFile("a meta or system-exclusive event is longer than the rest of its track");
        const std::string_view part = Bytes.substr(Pos, count);
        Pos += count;
        return part;
    }

    TMidiEvent ReadEvent() {
        TMidiEvent event;
        event.Tick = NextTick;
        const std::uint8_t b = ReadByte();
        if (b == 0xFF) {
            const std::uint8_t type = ReadByte();
            const std::uint32_t length = ReadVarLen();
            const std::string_view data = ReadBytes(length);
            event.EventData.reserve(2 + data.size());
            event.EventData.push_back(static_cast<char>(0xFF));
            event.EventData.push_back(static_cast<char>(type));
            event.EventData.append(data);
            if (type == 0x51) {
                if (length != 3)
                    throw EInvalidMidiFile("a tempo event is not 3 bytes long");
                event.Tempo = (static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[0])) << 16) |
                              (static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[1])) << 8) |
                              static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[2]));
            }
        } else if (b >= 0xF0) {
            const std::uint32_t length = ReadVarLen();
            const std::string_view data = ReadBytes(length);
            event.EventData.reserve(1 + data.size());
            event.EventData.push_back(static_cast<char>(b));
            event.EventData.append(data);
        } else {
            std::uint8_t status = 0;
            std::uint8_t first = 0;
            if (b >= 0x80) {
                status = b;
                RunningStatus = b;
                first = ReadByte();
            } else {
                if (RunningStatus == 0)
                    throw EInvalidMidiFile("data bytes with no status byte before them");
                status = RunningStatus;
                first = b;
            }
            std::uint8_t second = 0;
            const std::uint8_t kind = status & 0xF0;
            if (kind != 0xC0 && kind != 0xD0)
                second = ReadByte();
            event.ShortMessage = static_cast<std::uint32_t>(status) | (static_cast<std::uint32_t>(first) << 8) |
                                 (static_cast<std::uint32_t>(second) << 16);
        }
        if (HasBytes())
            NextTick = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(static_cast<std::uint64_t>(NextTick) + ReadVarLen(), kMaxTick));
        return event;
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------

bool TMidiEventList::Add(TMidiEvent event) {
    if (mCount >= kCapacity)
        return false;
    std::vector<TMidiEvent>& block = mBlocks[mCount / kBlockSize];
    if (block.capacity() == 0)
        block.reserve(std::min<std::size_t>(kBlockSize, 1024));
    block.push_back(std::move(event));
    ++mCount;
    return true;
}

void TMidiEventList::Clear() {
    for (std::vector<TMidiEvent>& block : mBlocks) {
        block.clear();
        block.shrink_to_fit();
    }
    mCount = 0;
}

// ---------------------------------------------------------------------------------------------

struct TMidiPlayer::TPending {
    std::vector<std::uint32_t> Tempos;  // posted to the owning thread
    std::optional<std::size_t> SysEx;   // sent through the owning thread, waiting for it
};

TMidiPlayer::TMidiPlayer(TMidiPlayerSetup setup)
    : mOut(std::move(setup.Out)), mClock(std::move(setup.Clock)), mWindow(std::move(setup.Window)) {
    if (!mOut)
        throw EMidiError("No MIDI output device");
    if (!mClock)
        mClock = std::make_shared<TSteadyClock>();
    if (!mWindow)
        mWindow = std::make_unique<TDirectMessageWindow>();
    mTimerPeriod = std::max(1, setup.TimerPeriod);
    mChannelVolume.fill(100);
    mChannelPan.fill(64);
    RecomputeDivisorLocked();
    if (setup.RunTimer)
        mTimer = std::make_unique<TPeriodicThread>(mTimerPeriod, [this] { TimerStep(); });
}

TMidiPlayer::~TMidiPlayer() {
    mWindow->Close();
    if (mTimer)
        mTimer->Stop();
    std::lock_guard lock(mLock);
    StopLocked();
    mOut->Reset();
}

void TMidiPlayer::LoadFromFile(const std::string& fileName) {
    const std::string bytes = ReadWholeFile(fileName, kMidiFileLimit);
    LoadFromMemory(bytes, fileName);
}

void TMidiPlayer::LoadFromMemory(std::string_view file, const std::string& fileName) {
    std::lock_guard lock(mLock);
    StopLocked();
    mEvents.Clear();
    mSysEx.clear();
    mSongLength = 0;
    mLoopTick = 0;
    mLoopIndex = 0;
    mFileName.clear();
    mLoadProblem.clear();

    auto require = [&file](std::size_t pos, std::size_t count) {
        if (pos > file.size() || count > file.size() - pos)
            throw EInvalidMidiFile();
    };
    require(0, 8);
    if (file.substr(0, 4) != "MThd" || ReadBig32(file, 4) != 6)
        throw EInvalidMidiFile();
    require(8, 6);
    const std::size_t trackCount = ReadBig16(file, 10);
    mDivision = ReadBig16(file, 12);
    mStepMicros = static_cast<std::int64_t>(mDivision) * mTimerPeriod * 1000;

    std::vector<TTrackReader> tracks;
    std::size_t pos = 14;
    for (std::size_t t = 0; t < trackCount; ++t) {
        require(pos, 8);
        if (file.substr(pos, 4) != "MTrk")
            throw EInvalidMidiFile();
        const std::uint32_t length = ReadBig32(file, pos + 4);
        pos += 8;
        require(pos, length);
        TTrackReader track;
        track.Bytes = file.substr(pos, length);
        pos += length;
        track.NextTick = track.ReadVarLen();
        tracks.push_back(track);
    }

    mSysEx.emplace_back(kGmSystemOn);
    for (int channel = 0; channel < 16; ++channel)
        mOut->SendShort(ControlChange(channel, 121, 0));

    try {
        // Tracks with bytes left, by next tick and then by track number.
        using TEntry = std::pair<std::uint32_t, std::size_t>;
        std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> queue;
        for (std::size_t t = 0; t < tracks.size(); ++t)
            if (tracks[t].HasBytes())
                queue.emplace(tracks[t].NextTick, t);
        std::size_t firstIndexOfTick = 0;  // first event of the list's last tick
        while (!queue.empty()) {
            const std::size_t t = queue.top().second;
            queue.pop();
            if (mEvents.Count() >= TMidiEventList::kCapacity)
                throw EInvalidMidiFile("more events than the player holds");
            TMidiEvent event = tracks[t].ReadEvent();
            if (tracks[t].HasBytes())
                queue.emplace(tracks[t].NextTick, t);
            const std::size_t index = mEvents.Count();
            if (index == 0 || mEvents.Last().Tick != event.Tick)
                firstIndexOfTick = index;
            if ((event.ShortMessage & 0xF0) == kControlChange && ((event.ShortMessage >> 8) & 0xFF) == kLoopController) {
                mLoopTick = event.Tick;
                mLoopIndex = firstIndexOfTick;
            } else if (event.IsSysEx()) {
                event.SysExIndex = static_cast<int>(mSysEx.size());
                mSysEx.push_back(event.EventData);
            }
            mEvents.Add(std::move(event));
        }
        if (mEvents.Empty())
            throw EInvalidMidiFile(trackCount == 0 ? "the file has no tracks" : "no track holds an event");
        mSongLength = mEvents.Last().Tick;
    } catch (const std::exception& error) {
        // A file damaged inside its tracks loads as silence; the reason is kept for tools.
        const auto* invalid = dynamic_cast<const EInvalidMidiFile*>(&error);
        mLoadProblem = invalid && !invalid->Reason().empty() ? invalid->Reason() : error.what();
        mEvents.Clear();
        mSysEx.clear();
        mSongLength = 0;
        mLoopTick = 0;
        mLoopIndex = 0;
    }
    mFileName = fileName;
}

std::string TMidiPlayer::LoadProblem() const {
    std::lock_guard lock(mLock);
    return mLoadProblem;
}

namespace {

class TNullMidiOut final : public IMidiOut {
public:
    void SendShort(std::uint32_t) override {}
    void SendLong(std::string_view) override {}
    void Reset() override {}
};

}  // namespace

std::string TMidiPlayer::DescribeProblem(std::string_view bytes) {
    TMidiPlayerSetup setup;
    setup.Out = std::make_unique<TNullMidiOut>();
    setup.Window = std::make_unique<TDirectMessageWindow>();
    setup.RunTimer = false;
    TMidiPlayer player(std::move(setup));
    try {
        player.LoadFromMemory(bytes, {});
    } catch (const EInvalidMidiFile& error) {
        return error.Reason().empty() ? "not a MIDI file, or its header or track list is damaged" : error.Reason();
    } catch (const std::exception& error) {
        return error.what();
    }
    if (std::string problem = player.LoadProblem(); !problem.empty())
        return problem;
    if (player.Division() == 0)
        return "a division of 0 ticks per quarter note: the song never advances";
    for (std::size_t i = 0; i < player.EventCount(); ++i) {
        const TMidiEvent event = player.Event(i);
        if (event.IsSetTempo() && event.Tempo == 0)
            return "a tempo of 0 microseconds per quarter note";
    }
    return {};
}

std::int64_t TMidiPlayer::ComputeTickDivisor(std::int64_t tempoMicros, std::int64_t tempoPercent) {
    const std::int64_t t = tempoMicros * 100 / std::max<std::int64_t>(1, tempoPercent);
    std::int64_t best = 0;
    std::int64_t bestRemainder = 0;
    for (std::int64_t d = 1; d <= 128; ++d) {
        if (t / d >= 65536)
            continue;
        if (best == 0 || t % d < bestRemainder) {
            best = d;
            bestRemainder = t % d;
        }
    }
    if (best == 0)
        best = 1024;
    // A zero tempo must not stop the clock with a division by zero.
    return std::max<std::int64_t>(1, (t / best) * best);
}

void TMidiPlayer::RecomputeDivisorLocked() { mTickDivisor = ComputeTickDivisor(mTempoMicros, mTempoPercent); }

void TMidiPlayer::Play() {
    std::lock_guard lock(mLock);
    StopLocked();
    if (mEvents.Empty())
        return;
    mEventIndex = 0;
    mSongPosition = 0;
    mAccumulator = 0;
    mPanOffset = 50;
    mVolume = 100;
    mTempoPercent = 100;
    mFadingIn = false;
    mFadingOut = false;
    mFadeLevel = 100;
    mFadeMillis = 0;
    mGmResetRequested = mGmResetDone = mBendRangeSent = mVolumeSent = mPanSent = false;

    mTempoMicros = 500000;
    for (std::size_t i = 0; i < mEvents.Count(); ++i) {
        if (mEvents[i].IsSetTempo()) {
            mTempoMicros = mEvents[i].Tempo;
            break;
        }
    }
    RecomputeDivisorLocked();

    for (std::size_t i = 0; i < mEvents.Count(); ++i) {
        const TMidiEvent& e = mEvents[i];
        const std::uint32_t kind = e.ShortMessage & 0xF0;
        const bool noteOn = kind == 0x90;
        const bool loopMark = kind == kControlChange && ((e.ShortMessage >> 8) & 0xFF) == kLoopController;
        if (noteOn || loopMark || e.IsSysEx()) {
            mSongPosition = std::max<std::int64_t>(0, static_cast<std::int64_t>(e.Tick) - mDivision / 2);
            break;
        }
    }

    mChannelVolume.fill(100);
    mChannelPan.fill(64);
    mPlaying = true;
    mFinished = false;
    mStartTime = mClock->Now();
}

void TMidiPlayer::Stop() {
    std::lock_guard lock(mLock);
    StopLocked();
}

void TMidiPlayer::StopLocked() {
    if (!mPlaying)
        return;
    mPlaying = false;
    mFinished = false;
    for (int channel = 0; channel < 16; ++channel) {
        SendShortLocked(ControlChange(channel, 64, 0));
        SendShortLocked(ControlChange(channel, 123, 0));
    }
}

void TMidiPlayer::SendShortLocked(std::uint32_t message) { mOut->SendShort(message); }

void TMidiPlayer::SendVolumesLocked() {
    for (int channel = 0; channel < 16; ++channel) {
        const std::int64_t value = MulDiv(MulDiv(mChannelVolume[channel], mVolume, 100), mFadeLevel, 100);
        SendShortLocked(ControlChange(channel, 7, static_cast<int>(std::clamp<std::int64_t>(value, 0, 127))));
    }
}

void TMidiPlayer::SendScaledVolumeLocked(int channel) {
    const int value = mChannelVolume[channel] * mVolume / 100 * mFadeLevel / 100;
    SendShortLocked(ControlChange(channel, 7, std::clamp(value, 0, 127)));
}

void TMidiPlayer::SendPansLocked() {
    for (int channel = 0; channel < 16; ++channel)
        SendShortLocked(ControlChange(channel, 10, std::clamp(mChannelPan[channel] + mPanOffset * 2 - 100, 0, 127)));
}

void TMidiPlayer::FadeIn(int millis) {
    std::lock_guard lock(mLock);
    const std::int64_t now = mClock->Now();
    mFadingIn = true;
    mFadingOut = false;
    mFadeMillis = std::max(0, millis);
    mFadeLevel = 0;
    mFadeStartLevel = 0;
    mFadeStart = now;
    mLastVolumeUpdate = now;
    if (mFadeMillis == 0) {
        mFadingIn = false;
        mFadeLevel = 100;
    }
    if (VolumeStagePassed())
        SendVolumesLocked();
}

void TMidiPlayer::FadeOut(int millis) {
    std::lock_guard lock(mLock);
    const std::int64_t now = mClock->Now();
    mFadingOut = true;
    mFadingIn = false;
    mFadeMillis = std::max(0, millis);
    mFadeStartLevel = mFadeLevel;
    mFadeStart = now;
    mLastVolumeUpdate = now;
    if (mFadeMillis == 0) {
        mFadingOut = false;
        mFadeLevel = 0;
    }
    if (VolumeStagePassed())
        SendVolumesLocked();
}

void TMidiPlayer::UpdateFadeLocked(std::int64_t now) {
    const std::int64_t elapsed = now - mFadeStart;
    const std::int64_t span = std::max<std::int64_t>(1, mFadeMillis);
    if (mFadingIn) {
        const std::int64_t level = mFadeStartLevel + elapsed * 100 / span;
        mFadeLevel = static_cast<int>(std::min<std::int64_t>(level, 100));
        if (level >= 100)
            mFadingIn = false;
    } else if (mFadingOut) {
        const std::int64_t level = mFadeStartLevel - elapsed * 100 / span;
        mFadeLevel = static_cast<int>(std::max<std::int64_t>(level, 0));
        if (level <= 0)
            mFadingOut = false;
    }
    mLastVolumeUpdate = now;
}

void TMidiPlayer::SetBalance(int value) {
    std::lock_guard lock(mLock);
    mPanOffset = std::clamp(value, 0, 100);
    if (mPanSent)
        SendPansLocked();
}

void TMidiPlayer::SetVolume(int value) {
    std::lock_guard lock(mLock);
    mVolume = std::clamp(value, 0, 100);
    if (mVolumeSent)
        SendVolumesLocked();
}

void TMidiPlayer::SetTempo(int value) {
    std::uint32_t tempo = 0;
    {
        std::lock_guard lock(mLock);
        mTempoPercent = std::clamp(value, 1, 10000);
        tempo = static_cast<std::uint32_t>(mTempoMicros);
    }
    mWindow->Post([this, tempo] { HandleTempoMessage(tempo); });
}

void TMidiPlayer::HandleSysExMessage(std::size_t index) {
    std::lock_guard lock(mLock);
    if (index >= mSysEx.size())
        return;
    mOut->SendLong(mSysEx[index]);
    if (index == 0) {
        mGmResetDone = true;
        mStartTime = mClock->Now() - 50;
    }
}

void TMidiPlayer::HandleTempoMessage(std::uint32_t tempo) {
    std::lock_guard lock(mLock);
    mTempoMicros = tempo;
    RecomputeDivisorLocked();
}

void TMidiPlayer::TimerStep() {
    TPending pending;
    {
        std::lock_guard lock(mLock);
        StepLocked(pending);
    }
    RunPending(pending);
}

void TMidiPlayer::RunPending(TPending& pending) {
    for (const std::uint32_t tempo : pending.Tempos)
        mWindow->Post([this, tempo] { HandleTempoMessage(tempo); });
    if (pending.SysEx) {
        const std::size_t index = *pending.SysEx;
        mWindow->Send([this, index] { HandleSysExMessage(index); });
    }
}

void TMidiPlayer::StepLocked(TPending& pending) {
    if (!mPlaying)
        return;
    const std::int64_t now = mClock->Now();
    if (!mGmResetRequested && now >= mStartTime + 50) {
        pending.SysEx = 0;
        mGmResetRequested = true;
        return;
    }
    if (!mGmResetDone)
        return;
    if (!mBendRangeSent && now >= mStartTime + 100) {
        for (int channel = 0; channel < 16; ++channel) {
            SendShortLocked(ControlChange(channel, 101, 0));
            SendShortLocked(ControlChange(channel, 100, 0));
            SendShortLocked(ControlChange(channel, 6, 2));
            SendShortLocked(ControlChange(channel, 38, 0));
        }
        mBendRangeSent = true;
        return;
    }
    if (!mVolumeSent && now >= mStartTime + 120) {
        SendVolumesLocked();
        mVolumeSent = true;
        return;
    }
    if (!mPanSent && now >= mStartTime + 130) {
        SendPansLocked();
        mPanSent = true;
        return;
    }
    if (now <= mStartTime + 140)
        return;

    mAccumulator += mStepMicros;
    mSongPosition += mAccumulator / mTickDivisor;
    mAccumulator %= mTickDivisor;

    if ((mFadingIn || mFadingOut) && now - mLastVolumeUpdate >= 100) {
        UpdateFadeLocked(now);
        SendVolumesLocked();
    }
    DispatchLocked(pending);
}

void TMidiPlayer::DispatchLocked(TPending& pending) {
    bool jumped = false;
    while (true) {
        if (mEventIndex >= mEvents.Count()) {
            if (mLoopTick >= mSongLength) {
                mFinished = true;
                return;
            }
            // One loop jump per step: a song whose events share one tick would otherwise
            // jump back again and again without end.
            if (jumped)
                return;
            jumped = true;
            mEventIndex = mLoopIndex;
            mFinished = true;
            mSongPosition = mEvents[mLoopIndex].Tick;
            mAccumulator = 0;
        }
        const TMidiEvent& event = mEvents[mEventIndex];
        if (mSongPosition < event.Tick)
            return;
        ++mEventIndex;
        if (event.ShortMessage != 0) {
            const std::uint32_t message = event.ShortMessage;
            const int channel = static_cast<int>(message & 0x0F);
            const int controller = static_cast<int>((message >> 8) & 0xFF);
            const int value = static_cast<int>((message >> 16) & 0xFF);
            if ((message & 0xF0) == kControlChange && controller == 7) {
                mChannelVolume[channel] = value;
                SendScaledVolumeLocked(channel);
            } else if ((message & 0xF0) == kControlChange && controller == 10) {
                mChannelPan[channel] = value;
                SendShortLocked(ControlChange(channel, 10, std::clamp(value + mPanOffset * 2 - 100, 0, 127)));
            } else {
                SendShortLocked(message);
            }
        } else if (event.IsSetTempo()) {
            pending.Tempos.push_back(event.Tempo);
        } else if (event.IsSysEx()) {
            pending.SysEx = static_cast<std::size_t>(event.SysExIndex);
            return;
        }
    }
}

std::string TMidiPlayer::FileName() const {
    std::lock_guard lock(mLock);
    return mFileName;
}
int TMidiPlayer::Division() const {
    std::lock_guard lock(mLock);
    return mDivision;
}
std::size_t TMidiPlayer::EventCount() const {
    std::lock_guard lock(mLock);
    return mEvents.Count();
}
TMidiEvent TMidiPlayer::Event(std::size_t index) const {
    std::lock_guard lock(mLock);
    if (index >= mEvents.Count())
        throw std::out_of_range("No MIDI event " + std::to_string(index));
    return mEvents[index];
}
std::size_t TMidiPlayer::SysExCount() const {
    std::lock_guard lock(mLock);
    return mSysEx.size();
}
std::uint32_t TMidiPlayer::SongLength() const {
    std::lock_guard lock(mLock);
    return mSongLength;
}
std::uint32_t TMidiPlayer::LoopTick() const {
    std::lock_guard lock(mLock);
    return mLoopTick;
}
std::size_t TMidiPlayer::LoopIndex() const {
    std::lock_guard lock(mLock);
    return mLoopIndex;
}
std::int64_t TMidiPlayer::SongPosition() const {
    std::lock_guard lock(mLock);
    return mSongPosition;
}
std::int64_t TMidiPlayer::TickDivisor() const {
    std::lock_guard lock(mLock);
    return mTickDivisor;
}
std::int64_t TMidiPlayer::TempoMicros() const {
    std::lock_guard lock(mLock);
    return mTempoMicros;
}
int TMidiPlayer::TempoPercent() const {
    std::lock_guard lock(mLock);
    return mTempoPercent;
}
int TMidiPlayer::Volume() const {
    std::lock_guard lock(mLock);
    return mVolume;
}
int TMidiPlayer::PanOffset() const {
    std::lock_guard lock(mLock);
    return mPanOffset;
}
int TMidiPlayer::FadeLevel() const {
    std::lock_guard lock(mLock);
    return mFadeLevel;
}
bool TMidiPlayer::IsPlaying() const {
    std::lock_guard lock(mLock);
    return mPlaying;
}
bool TMidiPlayer::IsFinished() const {
    std::lock_guard lock(mLock);
    return mFinished;
}

}  // namespace quillon::audio
