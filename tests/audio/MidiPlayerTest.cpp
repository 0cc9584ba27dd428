// The MIDI player driven by a stepped clock against a recording output.
#include "AudioTestSupport.h"

#include "audio/MidiPlay.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillon::audio {
namespace {

using test::MakeSmf;
using test::TSent;
using test::TSmfTrack;

class MidiPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        TMidiPlayerSetup setup;
        setup.Out = std::make_unique<test::TRecordingOut>(mSent, mClock);
        setup.Clock = mClock;
        setup.RunTimer = false;
        mPlayer = std::make_unique<TMidiPlayer>(std::move(setup));
    }

    void Load(const std::string& file) { mPlayer->LoadFromMemory(file, "song.mid"); }

    // Plays and steps the player through the start stages, clearing the log at the end.
    std::int64_t PlayPastStart() {
        mPlayer->Play();
        const std::int64_t start = mClock->Now();
        Step(140);  // the next step dispatches the first events
        mSent->clear();
        return start;
    }

    void Step(int millis) {
        for (int i = 0; i < millis; ++i) {
            mClock->Advance(1);
            mPlayer->TimerStep();
        }
    }

    std::vector<TSent> Matching(int status, int data1 = -1) const {
        std::vector<TSent> out;
        for (const TSent& s : *mSent)
            if (s.Message != 0 && s.Status() == status && (data1 < 0 || s.Data1() == data1))
                out.push_back(s);
        return out;
    }

    std::shared_ptr<TManualClock> mClock = std::make_shared<TManualClock>(10000);
    std::shared_ptr<std::vector<TSent>> mSent = std::make_shared<std::vector<TSent>>();
    std::unique_ptr<TMidiPlayer> mPlayer;
};

// A song of quarter notes on channel 0 from tick `first`, `count` notes, division 480.
std::string Notes(std::uint32_t first, int count, int loopAt = -1) {
    TSmfTrack track;
    track.Tempo(0, 500000);
    std::uint32_t now = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t on = first + 480u * static_cast<std::uint32_t>(i);
        if (loopAt >= 0 && static_cast<std::uint32_t>(loopAt) <= on && static_cast<std::uint32_t>(loopAt) >= now) {
            track.Event(static_cast<std::uint32_t>(loopAt) - now, {0xB0, 111, 0});
            now = static_cast<std::uint32_t>(loopAt);
        }
        track.Event(on - now, {0x90, 60 + i, 100}).Event(240, {0x80, 60 + i, 0});
        now = on + 240;
    }
    track.End();
    return MakeSmf(480, {track});
}

TEST_F(MidiPlayerTest, ParsesRunningStatusMetaAndSystemExclusiveEvents) {
    TSmfTrack track;
    track.Event(0, {0xC1, 5})                         // program change: one data byte
        .Event(10, {0x91, 60, 100})                   // note on
        .Event(0, {62, 90})                           // running status
        .Event(5, {0xF0, 0x03, 0x41, 0x10, 0xF7})     // system exclusive
        .Event(0, {64, 80})                           // running status survives it
        .Event(0, {0xFF, 0x01, 0x02, 'h', 'i'})       // text meta event
        .Event(7, {0xF7, 0x01, 0x42})                 // escaped bytes: not a sysex message
        .End();
    Load(MakeSmf(96, {track}));
    ASSERT_EQ(mPlayer->EventCount(), 8u);
    EXPECT_EQ(mPlayer->Division(), 96);
    EXPECT_EQ(mPlayer->Event(0).ShortMessage, 0x05C1u);
    EXPECT_EQ(mPlayer->Event(1).ShortMessage, 0x643C91u);
    EXPECT_EQ(mPlayer->Event(2).ShortMessage, 0x5A3E91u);
    EXPECT_EQ(mPlayer->Event(2).Tick, 10u);
    const TMidiEvent sysex = mPlayer->Event(3);
    EXPECT_EQ(sysex.Tick, 15u);
    EXPECT_EQ(sysex.ShortMessage, 0u);
    EXPECT_EQ(sysex.EventData, std::string("\xF0\x41\x10\xF7", 4));
    EXPECT_EQ(sysex.SysExIndex, 1);
    EXPECT_EQ(mPlayer->Event(4).ShortMessage, 0x504091u);
    EXPECT_EQ(mPlayer->Event(5).EventData, std::string("\xFF\x01hi", 4));
    EXPECT_EQ(mPlayer->Event(6).SysExIndex, -1);
    EXPECT_EQ(mPlayer->Event(6).Tick, 22u);
    EXPECT_EQ(mPlayer->SysExCount(), 2u);  // the GM reset and the file's message
    EXPECT_EQ(mPlayer->SongLength(), 22u);
    EXPECT_EQ(mPlayer->FileName(), "song.mid");
    // Loading resets all controllers on every channel.
    EXPECT_EQ(Matching(0xB0, 121).size(), 1u);
    EXPECT_EQ(std::count_if(mSent->begin(), mSent->end(), [](const TSent& s) { return s.Data1() == 121; }), 16);
}

TEST_F(MidiPlayerTest, MergesTracksByTickWithTheLowerTrackFirstOnTies) {
    TSmfTrack a, b;
    a.Event(0, {0x90, 1, 1}).Event(10, {0x90, 2, 1}).End();
    b.Event(5, {0x91, 3, 1}).Event(5, {0x91, 4, 1}).End();
    Load(MakeSmf(96, {a, b}));
    std::vector<int> notes;
    for (std::size_t i = 0; i < mPlayer->EventCount(); ++i)
        if (mPlayer->Event(i).ShortMessage)
            notes.push_back((mPlayer->Event(i).ShortMessage >> 8) & 0xFF);
    EXPECT_EQ(notes, (std::vector<int>{1, 3, 2, 4}));
    for (std::size_t i = 1; i < mPlayer->EventCount(); ++i)
        EXPECT_LE(mPlayer->Event(i - 1).Tick, mPlayer->Event(i).Tick);
}

TEST_F(MidiPlayerTest, HeaderAndTrackErrorsAreReported) {
    const std::string good = Notes(0, 2);
    auto expectInvalid = [this](const std::string& file) {
        try {
            Load(file);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidMidiFile& e) {
            EXPECT_STREQ(e.what(), "Invalid MIDI File");
        }
        EXPECT_EQ(mPlayer->EventCount(), 0u);
        EXPECT_EQ(mPlayer->SysExCount(), 0u);
        EXPECT_EQ(mPlayer->FileName(), "");
    };
    expectInvalid("");
    expectInvalid("RIFF" + good.substr(4));
    std::string longHeader = good;
    longHeader[7] = 7;
    expectInvalid(longHeader);
    expectInvalid(good.substr(0, 12));                   // header cut short
    expectInvalid(good.substr(0, good.size() - 3));      // track shorter than declared
    std::string badTrack = good;
    badTrack.replace(14, 4, "MTrx");
    expectInvalid(badTrack);
    std::string moreTracks = good;
    moreTracks[11] = 2;                                  // a second track that is not there
    expectInvalid(moreTracks);
    expectInvalid(MakeSmf(96, {TSmfTrack()}));           // an empty track has no first delta
}

TEST_F(MidiPlayerTest, ErrorsInsideTracksLeaveASilentPlayer) {
    TSmfTrack noRunningStatus;
    noRunningStatus.Event(0, {60, 100}).End();
    TSmfTrack badTempo;
    badTempo.Event(0, {0xFF, 0x51, 0x02, 0x07, 0xA1}).Event(0, {0x90, 60, 1}).End();
    TSmfTrack cutEvent;
    cutEvent.Event(0, {0x90, 60, 1}).Event(0, {0xFF, 0x01, 0x7F, 'x'});
    for (const std::string& file :
         {MakeSmf(96, {noRunningStatus}), MakeSmf(96, {badTempo}), MakeSmf(96, {cutEvent}), MakeSmf(96, {})}) {
        Load(file);
        EXPECT_EQ(mPlayer->EventCount(), 0u);
        EXPECT_EQ(mPlayer->SysExCount(), 0u);
        EXPECT_EQ(mPlayer->FileName(), "song.mid");
        mPlayer->Play();
        EXPECT_FALSE(mPlayer->IsPlaying());
    }
}

TEST_F(MidiPlayerTest, MoreThanOneHundredThousandEventsLeaveASilentPlayer) {
    TSmfTrack track;
    for (int i = 0; i < 100000; ++i)
        track.Event(1, {0xA0, 60, 1});
    Load(MakeSmf(96, {track}));
    EXPECT_EQ(mPlayer->EventCount(), 100000u);
    track.Event(1, {0xA0, 60, 1});
    Load(MakeSmf(96, {track}));
    EXPECT_EQ(mPlayer->EventCount(), 0u);
}

TEST(MidiEventListTest, KeepsTenBlocksAndIgnoresEventsBeyondItsCapacity) {
    TMidiEventList list;
    for (std::uint32_t i = 0; i < TMidiEventList::kCapacity; ++i) {
        TMidiEvent event;
        event.Tick = i;
        ASSERT_TRUE(list.Add(event));
    }
    EXPECT_FALSE(list.Add(TMidiEvent{}));
    EXPECT_EQ(list.Count(), 100000u);
    EXPECT_EQ(list[9999].Tick, 9999u);
    EXPECT_EQ(list[10000].Tick, 10000u);
    EXPECT_EQ(list[99999].Tick, 99999u);
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

TEST(MidiTickDivisorTest, ChoosesTheDivisorWithTheSmallestRemainder) {
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(500000, 100), 500000);
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(500000, 200), 250000);
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(60000, 100), 60000);   // fits as it is
    // T = 1000003 is divided by none of 8..128; d = 101 leaves the smallest remainder (2).
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(1000003, 100), 1000001);
    // 7777777 = 124 * 62724 + 1.
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(7777777, 100), 7777776);
    // 333333 * 100 / 33 = 1010100 = 2^2 * 3 * 5^2 * 7 * 13 * 37: d = 20 divides it exactly.
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(333333, 33), 1010100);
    // Too large for every d up to 128: d = 1024.
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(16777215, 1), 1677720576);
    // A zero tempo keeps the divisor at 1 instead of dividing by zero.
    EXPECT_EQ(TMidiPlayer::ComputeTickDivisor(0, 100), 1);
}

TEST_F(MidiPlayerTest, StartStagesComeAt50_100_120_130And140Milliseconds) {
    Load(Notes(0, 2));
    mSent->clear();
    mPlayer->Play();
    const std::int64_t start = mClock->Now();
    Step(300);
    auto firstTime = [this](auto predicate) {
        auto it = std::find_if(mSent->begin(), mSent->end(), predicate);
        return it == mSent->end() ? -1 : it->Time;
    };
    EXPECT_EQ(firstTime([](const TSent& s) { return s.Long == kGmSystemOn; }) - start, 50);
    EXPECT_EQ(firstTime([](const TSent& s) { return s.IsControl(0, 101); }) - start, 100);
    EXPECT_EQ(firstTime([](const TSent& s) { return s.IsControl(15, 6) && s.Data2() == 2; }) - start, 100);
    EXPECT_EQ(firstTime([](const TSent& s) { return s.IsControl(0, 7); }) - start, 120);
    EXPECT_EQ(firstTime([](const TSent& s) { return s.IsControl(0, 10); }) - start, 130);
    EXPECT_EQ(firstTime([](const TSent& s) { return s.Status() == 0x90 && s.Message; }) - start, 141);
    // Stage 4 sends every channel at full volume, stage 5 every channel centred.
    EXPECT_EQ(Matching(0xB5, 7).at(0).Data2(), 100);
    EXPECT_EQ(Matching(0xB5, 10).at(0).Data2(), 64);
}

TEST_F(MidiPlayerTest, PlaySkipsLeadingSilenceToHalfABeatBeforeTheFirstNote) {
    Load(Notes(960, 2));
    mPlayer->Play();
    EXPECT_EQ(mPlayer->SongPosition(), 720);
    Load(Notes(100, 1));
    mPlayer->Play();
    EXPECT_EQ(mPlayer->SongPosition(), 0);
}

TEST_F(MidiPlayerTest, SongPositionFollowsTempoAndTempoPercent) {
    Load(Notes(0, 40));
    PlayPastStart();
    const std::int64_t before = mPlayer->SongPosition();
    Step(1000);  // 480 ticks per beat at 120 beats a minute: 960 ticks a second
    EXPECT_EQ(mPlayer->SongPosition() - before, 960);
    mPlayer->SetTempo(200);
    EXPECT_EQ(mPlayer->TempoPercent(), 200);
    EXPECT_EQ(mPlayer->TickDivisor(), 250000);
    const std::int64_t middle = mPlayer->SongPosition();
    Step(1000);
    EXPECT_EQ(mPlayer->SongPosition() - middle, 1920);
    mPlayer->SetTempo(0);
    EXPECT_EQ(mPlayer->TempoPercent(), 1);
    mPlayer->SetTempo(20000);
    EXPECT_EQ(mPlayer->TempoPercent(), 10000);
}

TEST_F(MidiPlayerTest, SetTempoEventsChangeThePaceWhileDispatching) {
    TSmfTrack track;
    track.Tempo(0, 500000).Event(0, {0x90, 60, 1}).Tempo(480, 250000).Event(480, {0x80, 60, 0}).End();
    Load(MakeSmf(480, {track}));
    PlayPastStart();
    EXPECT_EQ(mPlayer->TempoMicros(), 500000);
    Step(600);
    EXPECT_EQ(mPlayer->TempoMicros(), 250000);
    EXPECT_EQ(mPlayer->TickDivisor(), 250000);
}

TEST_F(MidiPlayerTest, SystemExclusiveEventsAreSentWhole) {
    TSmfTrack track;
    track.Event(0, {0x90, 60, 1}).Event(10, {0xF0, 0x04, 0x43, 0x10, 0x4C, 0xF7}).Event(0, {0x80, 60, 0}).End();
    Load(MakeSmf(480, {track}));
    PlayPastStart();
    Step(12);  // tick 10 comes at the 11th step
    const auto it = std::find_if(mSent->begin(), mSent->end(), [](const TSent& s) { return !s.Long.empty(); });
    ASSERT_NE(it, mSent->end());
    EXPECT_EQ(it->Long, std::string("\xF0\x43\x10\x4C\xF7", 5));
    EXPECT_EQ(Matching(0x80).size(), 1u);  // the event after it went out too
}

TEST_F(MidiPlayerTest, LoopsBackToTheControllerLoopPoint) {
    // Notes at 0, 480, ..., 3360; controller 111 at 1920.
    Load(Notes(0, 8, 1920));
    EXPECT_EQ(mPlayer->LoopTick(), 1920u);
    const std::size_t loopIndex = mPlayer->LoopIndex();
    EXPECT_EQ(mPlayer->Event(loopIndex).Tick, 1920u);
    EXPECT_LT(mPlayer->Event(loopIndex - 1).Tick, 1920u);
    PlayPastStart();
    Step(4200);  // 3600 ticks of song and then some
    EXPECT_TRUE(mPlayer->IsFinished());
    const auto firstNote = Matching(0x90, 60);
    const auto loopNote = Matching(0x90, 64);  // the note at 1920
    EXPECT_EQ(firstNote.size(), 1u);
    EXPECT_EQ(loopNote.size(), 2u);
}

TEST_F(MidiPlayerTest, AFileWithoutLoopPointLoopsFromItsFirstEvent) {
    Load(Notes(0, 3));
    EXPECT_EQ(mPlayer->LoopTick(), 0u);
    PlayPastStart();
    Step(1700);
    EXPECT_TRUE(mPlayer->IsFinished());
    EXPECT_EQ(Matching(0x90, 60).size(), 2u);
    EXPECT_TRUE(mPlayer->IsPlaying());
}

TEST_F(MidiPlayerTest, ALoopPointAtTheEndFinishesThePlay) {
    TSmfTrack track;
    track.Event(0, {0x90, 60, 1}).Event(480, {0x80, 60, 0}).Event(0, {0xB0, 111, 0});
    Load(MakeSmf(480, {track}));
    PlayPastStart();
    Step(2000);
    EXPECT_TRUE(mPlayer->IsFinished());
    EXPECT_EQ(Matching(0x90, 60).size(), 1u);
}

TEST_F(MidiPlayerTest, ASongOnOneTickLoopsOncePerStepInsteadOfHanging) {
    TSmfTrack track;
    track.Event(100, {0x90, 60, 1}).Event(0, {0x80, 60, 0});
    Load(MakeSmf(480, {track}));
    PlayPastStart();
    Step(300);
    // Tick 100 comes after about 105 steps; from then on one loop, so one note-on, per step.
    const std::size_t notes = Matching(0x90, 60).size();
    EXPECT_GE(notes, 190u);
    EXPECT_LE(notes, 200u);
}

TEST_F(MidiPlayerTest, AZeroTempoDoesNotDivideByZero) {
    TSmfTrack track;
    track.Tempo(0, 0).Event(0, {0x90, 60, 1}).Event(480, {0x80, 60, 0}).End();
    Load(MakeSmf(480, {track}));
    PlayPastStart();
    EXPECT_EQ(mPlayer->TickDivisor(), 1);
    Step(1);  // 480000 ticks in one step: the whole song
    EXPECT_EQ(Matching(0x80, 60).size(), 1u);
}

TEST_F(MidiPlayerTest, VolumeChangesAreScaledByVolumeAndFadeLevel) {
    TSmfTrack track;
    track.Event(0, {0xB2, 7, 101}).Event(0, {0x90, 60, 1}).Event(4800, {0x80, 60, 0}).End();
    Load(MakeSmf(480, {track}));
    mPlayer->Play();
    mPlayer->SetVolume(50);  // before the volume stage: only remembered
    Step(140);
    // The stage sends MulDiv(MulDiv(100, 50, 100), 100, 100) = 50 on every channel.
    EXPECT_EQ(Matching(0xB0, 7).at(0).Data2(), 50);
    mSent->clear();
    Step(5);
    // The dispatched change truncates: 101 * 50 / 100 * 100 / 100 = 50.
    ASSERT_EQ(Matching(0xB2, 7).size(), 1u);
    EXPECT_EQ(Matching(0xB2, 7)[0].Data2(), 50);
    mSent->clear();
    // Sending all channels rounds: MulDiv(101, 50, 100) = 51.
    mPlayer->SetVolume(50);
    EXPECT_EQ(Matching(0xB2, 7).at(0).Data2(), 51);
    EXPECT_EQ(Matching(0xB0, 7).at(0).Data2(), 50);
    mPlayer->SetVolume(150);
    EXPECT_EQ(mPlayer->Volume(), 100);
}

TEST_F(MidiPlayerTest, PansAreOffsetByTheBalance) {
    TSmfTrack track;
    track.Event(0, {0xB1, 10, 64}).Event(0, {0xB3, 10, 100}).Event(0, {0x90, 60, 1}).Event(4800, {0x80, 60, 0}).End();
    Load(MakeSmf(480, {track}));
    mPlayer->Play();
    mPlayer->SetBalance(75);
    Step(145);
    EXPECT_EQ(Matching(0xB0, 10).at(0).Data2(), 114);  // stage 5: 64 + 150 - 100
    EXPECT_EQ(Matching(0xB1, 10).back().Data2(), 114);
    EXPECT_EQ(Matching(0xB3, 10).back().Data2(), 127);  // 100 + 50 clamps
    mSent->clear();
    mPlayer->SetBalance(-5);
    EXPECT_EQ(mPlayer->PanOffset(), 0);
    EXPECT_EQ(Matching(0xB1, 10).at(0).Data2(), 0);
    EXPECT_EQ(Matching(0xB3, 10).at(0).Data2(), 0);
    EXPECT_EQ(Matching(0xB0, 10).size(), 1u);
}

TEST_F(MidiPlayerTest, FadeInRaisesTheVolumesInHundredMillisecondSteps) {
    Load(Notes(0, 20));
    PlayPastStart();
    mPlayer->FadeIn(1000);
    Step(1200);
    std::vector<std::pair<std::int64_t, int>> channel0;
    for (const TSent& s : Matching(0xB0, 7))
        channel0.emplace_back(s.Time, s.Data2());
    ASSERT_EQ(channel0.size(), 11u);
    for (std::size_t i = 0; i < channel0.size(); ++i) {
        EXPECT_EQ(channel0[i].first - channel0[0].first, static_cast<std::int64_t>(i) * 100);
        EXPECT_EQ(channel0[i].second, static_cast<int>(i) * 10);
    }
    EXPECT_EQ(mPlayer->FadeLevel(), 100);
}

TEST_F(MidiPlayerTest, FadesReachTheirEndOnTime) {
    Load(Notes(0, 20));
    PlayPastStart();
    mPlayer->FadeIn(2000);
    EXPECT_EQ(mPlayer->FadeLevel(), 0);
    Step(1950);
    EXPECT_LT(mPlayer->FadeLevel(), 100);
    Step(50);
    EXPECT_EQ(mPlayer->FadeLevel(), 100);
    mPlayer->FadeOut(500);
    Step(300);
    EXPECT_EQ(mPlayer->FadeLevel(), 40);
    Step(200);
    EXPECT_EQ(mPlayer->FadeLevel(), 0);
    mSent->clear();
    mPlayer->FadeIn(0);
    EXPECT_EQ(mPlayer->FadeLevel(), 100);
    mPlayer->FadeOut(0);
    EXPECT_EQ(mPlayer->FadeLevel(), 0);
    const auto volumes = Matching(0xB0, 7);
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].Data2(), 100);
    EXPECT_EQ(volumes[1].Data2(), 0);  // FadeOut(0) silences at once
}

TEST_F(MidiPlayerTest, StopSilencesEveryChannelAndPlayStartsOver) {
    Load(Notes(0, 4));
    PlayPastStart();
    mPlayer->SetVolume(30);
    mPlayer->Stop();
    EXPECT_FALSE(mPlayer->IsPlaying());
    EXPECT_EQ(Matching(0xBF, 64).size(), 1u);
    EXPECT_EQ(Matching(0xBF, 123).size(), 1u);
    mPlayer->Play();
    EXPECT_EQ(mPlayer->Volume(), 100);
    EXPECT_EQ(mPlayer->PanOffset(), 50);
    EXPECT_EQ(mPlayer->TempoPercent(), 100);
}

TEST(MidiPlayerTimerTest, TheTimerThreadPlaysASongInRealTime) {
    auto sent = std::make_shared<std::vector<TSent>>();
    auto clock = std::make_shared<TSteadyClock>();
    TMidiPlayerSetup setup;
    setup.Out = std::make_unique<test::TRecordingOut>(sent, clock);
    setup.Clock = clock;
    TMidiPlayer player(std::move(setup));
    TSmfTrack track;
    track.Event(0, {0x90, 60, 1}).Event(480, {0x80, 60, 0}).End();
    player.LoadFromMemory(MakeSmf(480, {track}), "x.mid");
    player.Play();
    // Wait (without a bound on speed) until the thread has got through the start stages.
    for (int i = 0; i < 400 && player.SongPosition() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    player.Stop();
    // The list is only read after the stop: the thread no longer writes to it.
    EXPECT_GE(std::count_if(sent->begin(), sent->end(), [](const TSent& s) { return s.Message == 0x013C90u; }), 1);
}

}  // namespace
}  // namespace quillon::audio
