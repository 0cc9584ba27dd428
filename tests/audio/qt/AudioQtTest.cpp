// The audio front's Qt side, run headless and without a sound card.
#include "../AudioTestSupport.h"

#include "audio/AudioOutput_qt.h"
#include "audio/MidiPlay.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace quillon::audio {
namespace {

class AudioQtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_audio_qt";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            sApp = new QCoreApplication(argc, argv);  // lives for the whole run, as in a program
    }

    // Runs the event loop until the condition holds, for at most about ten seconds.
    template <typename F> static bool SpinUntil(F&& condition) {
        for (int i = 0; i < 10000 && !condition(); ++i) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return condition();
    }

    static inline QCoreApplication* sApp = nullptr;
};

TEST_F(AudioQtTest, MessageWindowRunsCallsOnTheThreadThatMadeIt) {
    TQtMessageWindow window;
    QThread* const main = QThread::currentThread();
    std::atomic<QThread*> sentOn{nullptr};
    std::atomic<bool> sendReturned{false};
    std::thread worker([&] {
        window.Send([&] { sentOn = QThread::currentThread(); });
        // Send waits for the call: it has run by the time Send returns.
        EXPECT_EQ(sentOn.load(), main);
        sendReturned = true;
    });
    ASSERT_TRUE(SpinUntil([&] { return sendReturned.load(); }));
    worker.join();

    std::atomic<int> posted{0};
    std::thread poster([&] { window.Post([&] { posted = QThread::currentThread() == main ? 1 : 2; }); });
    poster.join();
    EXPECT_EQ(posted.load(), 0);  // not before the event loop runs
    ASSERT_TRUE(SpinUntil([&] { return posted.load() != 0; }));
    EXPECT_EQ(posted.load(), 1);

    // After Close nothing runs, and a Send from another thread does not wait for ever.
    std::atomic<int> late{0};
    window.Post([&] { ++late; });
    window.Close();
    std::thread closed([&] { window.Send([&] { ++late; }); });
    closed.join();
    window.Send([&] { ++late; });
    QCoreApplication::processEvents();
    EXPECT_EQ(late.load(), 0);
}

TEST_F(AudioQtTest, MidiPlayerHandsSystemExclusiveAndTempoToTheMainThread) {
    auto sent = std::make_shared<std::vector<test::TSent>>();
    auto clock = std::make_shared<TSteadyClock>();
    TMidiPlayerSetup setup;
    setup.Out = std::make_unique<test::TRecordingOut>(sent, clock);
    setup.Clock = clock;
    setup.Window = std::make_unique<TQtMessageWindow>();
    auto player = std::make_unique<TMidiPlayer>(std::move(setup));
    test::TSmfTrack track;
    track.Tempo(0, 500000).Event(0, {0x90, 60, 1}).Tempo(10, 400000).Event(470, {0x80, 60, 0}).End();
    player->LoadFromMemory(test::MakeSmf(480, {track}), "song.mid");
    player->Play();
    EXPECT_EQ(player->TempoMicros(), 500000);
    // The GM reset goes through the main thread; without it the song would never start.
    ASSERT_TRUE(SpinUntil([&] { return player->TempoMicros() == 400000; }));
    EXPECT_EQ(player->TickDivisor(), 400000);
    player.reset();  // stops the timer thread, also while it might wait for the main thread
    ASSERT_FALSE(sent->empty());
    EXPECT_EQ(sent->front().Data1(), 121);
}

TEST_F(AudioQtTest, WithoutSoundCardTheMixKeepsRunning) {
    auto mixer = std::make_shared<TAudioMixer>();
    TQtAudioOutput output(mixer);
    auto data = std::make_shared<TPcmSamples>();
    data->SampleRate = 22050;
    data->Samples.assign(2205, 100);  // 100 ms
    TMixerVoice voice(mixer, data);
    voice.Play(false);
    EXPECT_TRUE(voice.IsPlaying());
    // Whatever the output, the voice is pulled to its end.
    EXPECT_TRUE(SpinUntil([&] { return !voice.IsPlaying(); }));
}

TEST_F(AudioQtTest, TheHostCreatesTheFrontWithItsTimer) {
    TQtAudioHost host;
    ASSERT_TRUE(host.Create());
    ASSERT_NE(AudioFront(), nullptr);
    ASSERT_NE(AudioFront()->Wave(), nullptr);
    EXPECT_EQ(AudioFront()->Wave()->SoundCount(), 16);
    test::TTempFolder folder;
    const std::string music =
        folder.Write("loop.wav", test::MakePcm16Wave(std::vector<std::int16_t>(22050, 500), 1, 22050));
    ASSERT_TRUE(AudioPlayMusic(music));
    ASSERT_TRUE(AudioFadeIn(300));
    EXPECT_EQ(AudioFront()->Wave()->Music().FadeLevel(0), 0);
    // The 50 ms timer carries the fade through.
    EXPECT_TRUE(SpinUntil([] { return AudioFront()->Wave()->Music().FadeLevel(0) == 100; }));
    EXPECT_TRUE(host.Free());
    EXPECT_EQ(AudioFront(), nullptr);
    EXPECT_TRUE(host.Create());  // again, as after a test play
    EXPECT_TRUE(host.Free());
}

}  // namespace
}  // namespace quillon::audio
