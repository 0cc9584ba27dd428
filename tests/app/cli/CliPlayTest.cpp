// play tells why a MIDI file plays as silence and fails, instead of reporting a render.
#include "app/cli/CliRun.h"

using namespace quillon::clitest;

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

}  // namespace

TEST_F(CliTest, PlayFailsWithTheReasonOnMidiFilesThePlayerCannotLoad) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"notracks.mid", Midi(96, {})},
        {"meta.mid", Midi(96, {std::string("\x00\xFF\x01\x7F" "ab", 6)})},
        {"status.mid", Midi(96, {std::string("\x00\x40\x40\x00\xFF\x2F\x00", 7)})},
        {"division.mid", Midi(0, {kNotes})},
        {"tempo.mid", Midi(96, {std::string("\x00\xFF\x51\x03\x00\x00\x00", 7) + kNotes})},
    };
    for (const auto& [name, bytes] : files) {
        std::ofstream(Root + name, std::ios::binary) << bytes;
        const TRun run = Cli({"play", Root + name, "--seconds", "1", "--out", Root + name + ".wav"});
        EXPECT_EQ(run.Status, 1) << name << ": " << run.Out;
        EXPECT_NE(run.Err.find("the MIDI player cannot play it: "), std::string::npos) << name << ": " << run.Err;
        EXPECT_EQ(run.Out.find("rendered"), std::string::npos) << name;
        EXPECT_FALSE(fs::exists(Root + name + ".wav")) << name;
    }
    std::ofstream(Root + "good.mid", std::ios::binary) << Midi(96, {kNotes});
    const TRun good = Cli({"play", Root + "good.mid", "--seconds", "1", "--out", Root + "good.wav"});
    EXPECT_EQ(good.Status, 0) << good.Err;
    EXPECT_TRUE(fs::is_regular_file(Root + "good.wav"));
}
