// Why a MIDI file plays as silence: the player keeps the reason of every load it swallows, and
// tells files that never advance.
#include "audio/MidiPlay.h"

#include "AudioTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon::audio {
namespace {

std::string Big16(int v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Big32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Midi(int division, const std::vector<std::string>& tracks) {
    std::string file = "MThd" + Big32(6) + Big16(1) + Big16(static_cast<int>(tracks.size())) + Big16(division);
    for (const std::string& track : tracks)
        file += "MTrk" + Big32(static_cast<std::uint32_t>(track.size())) + track;
    return file;
}

const std::string kNotes("\x00\x90\x3C\x64\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);

struct TCase {
    const char* Name;
    std::string File;
    const char* Reason;  // part of the reason told
};

}  // namespace

TEST(MidiProblem, EveryFileThatPlaysAsSilenceSaysWhy) {
    const std::vector<TCase> cases = {
        {"no tracks", Midi(96, {}), "no tracks"},
        {"empty track", Midi(96, {""}), "past the end of its track"},
        {"delta time only", Midi(96, {std::string("\x00", 1)}), "no track holds an event"},
        {"meta past the end", Midi(96, {std::string("\x00\xFF\x01\x7F" "ab", 6)}), "longer than the rest of its track"},
        {"system exclusive past the end", Midi(96, {std::string("\x00\xF0\x40\x7E", 4)}), "longer than the rest of its track"},
        {"data without status", Midi(96, {std::string("\x00\x40\x40\x00\xFF\x2F\x00", 7)}), "no status byte"},
        {"event cut short", Midi(96, {std::string("\x00\x90\x3C", 3)}), "past the end of its track"},
        {"tempo of 2 bytes", Midi(96, {std::string("\x00\xFF\x51\x02\x07\xA1", 6) + kNotes}), "not 3 bytes"},
        {"division 0", Midi(0, {kNotes}), "division of 0"},
        {"tempo 0", Midi(96, {std::string("\x00\xFF\x51\x03\x00\x00\x00", 7) + kNotes}), "tempo of 0"},
        {"not a MIDI file", std::string("RIFF1234WAVE"), "not a MIDI file"},
        {"track list cut short", Midi(96, {kNotes}).substr(0, 20), "not a MIDI file"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string problem = TMidiPlayer::DescribeProblem(c.File);
        EXPECT_NE(problem.find(c.Reason), std::string::npos) << problem;
    }
    EXPECT_EQ(TMidiPlayer::DescribeProblem(Midi(96, {kNotes})), "");
    EXPECT_EQ(TMidiPlayer::DescribeProblem(Midi(96, {std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) + kNotes})), "");
}

// The player itself stays as the editor needs it: a file damaged inside its tracks loads as
// silence without an error, and only LoadProblem tells why; the next sound load clears it.
TEST(MidiProblem, ThePlayerStaysSilentAndKeepsTheReason) {
    TMidiPlayerSetup setup;
    auto log = std::make_shared<std::vector<test::TSent>>();
    auto clock = std::make_shared<TManualClock>();
    setup.Out = std::make_unique<test::TRecordingOut>(log, clock);
    setup.Clock = clock;
    setup.Window = std::make_unique<TDirectMessageWindow>();
    setup.RunTimer = false;
    TMidiPlayer player(std::move(setup));
    EXPECT_NO_THROW(player.LoadFromMemory(Midi(96, {std::string("\x00\x40\x40", 3)}), "bad.mid"));
    EXPECT_EQ(player.EventCount(), 0u);
    EXPECT_NE(player.LoadProblem().find("no status byte"), std::string::npos);
    player.LoadFromMemory(Midi(96, {kNotes}), "good.mid");
    EXPECT_EQ(player.LoadProblem(), "");
    EXPECT_GT(player.EventCount(), 0u);
    EXPECT_THROW(player.LoadFromMemory("MThx", "x.mid"), EInvalidMidiFile);
}
}  // namespace quillon::audio
