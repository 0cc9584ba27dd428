#include "tools/lib/RtpAudio.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quillon {

namespace {

void Put32(std::string& out, std::uint32_t v) {  // big-endian
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}
void Put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v & 0xFF);
}
void PutLE32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}
void PutLE16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

// One MIDI track being written: events with delta times.
class TTrack {
public:
    void Event(std::uint32_t time, std::initializer_list<std::uint8_t> bytes) {
        Delta(time);
        for (const std::uint8_t b : bytes)
            mData += static_cast<char>(b);
    }
    void Meta(std::uint32_t time, std::uint8_t type, const std::string& payload) {
        Delta(time);
        mData += '\xFF';
        mData += static_cast<char>(type);
        mData += static_cast<char>(payload.size());
        mData += payload;
    }
    void Note(std::uint32_t time, std::uint32_t length, int channel, int key, int velocity) {
        mNotes.push_back({time, channel, key, velocity, true});
        mNotes.push_back({time + length, channel, key, 0, false});
    }
    std::string Finish(std::uint32_t end) {
        // Notes are merged into the event stream in time order (note-offs first at equal times).
        std::vector<TNote> notes = mNotes;
        std::stable_sort(notes.begin(), notes.end(), [](const TNote& a, const TNote& b) {
            return a.Time != b.Time ? a.Time < b.Time : (!a.On && b.On);
        });
        // Events written so far come first (all at the start); then the notes.
        for (const TNote& n : notes)
            Event(n.Time, {static_cast<std::uint8_t>((n.On ? 0x90 : 0x80) | n.Channel),
                           static_cast<std::uint8_t>(n.Key), static_cast<std::uint8_t>(n.On ? n.Velocity : 64)});
        Meta(std::max(end, mTime), 0x2F, "");
        std::string chunk = "MTrk";
        Put32(chunk, static_cast<std::uint32_t>(mData.size()));
        return chunk + mData;
    }

private:
    struct TNote {
        std::uint32_t Time;
        int Channel, Key, Velocity;
        bool On;
    };
    void Delta(std::uint32_t time) {
        std::uint32_t delta = time >= mTime ? time - mTime : 0;
        mTime = std::max(mTime, time);
        std::uint8_t bytes[5];
        int n = 0;
        bytes[n++] = delta & 0x7F;
        while (delta >>= 7)
            bytes[n++] = static_cast<std::uint8_t>(0x80 | (delta & 0x7F));
        while (n)
            mData += static_cast<char>(bytes[--n]);
    }
    std::string mData;
    std::vector<TNote> mNotes;
    std::uint32_t mTime = 0;
};

constexpr std::uint32_t kBeat = 480;

struct TTune {
    int Tempo;           // beats per minute
    int Lead, Bass;      // General MIDI programs
    int Root;            // key of the root note
    const int* Melody;   // scale steps, -1 a rest; 8 per bar
    int Bars;
    const int* Chords;   // root step per bar
    bool Loops;
};

const int kMajor[] = {0, 2, 4, 5, 7, 9, 11, 12, 14, 16};
const int kMinor[] = {0, 2, 3, 5, 7, 8, 10, 12, 14, 15};

const int kTownMelody[] = {4, 5, 7, 5, 4, 2, 0, -1, 2, 4, 5, 4, 2, 1, 2, -1,
                           4, 5, 7, 8, 7, 5, 4, -1, 5, 4, 2, 1, 0, -1, 0, -1};
const int kTownChords[] = {0, 4, 3, 0};
const int kBattleMelody[] = {0, 0, 2, 3, 4, 3, 2, 0, 4, 4, 5, 6, 7, 6, 5, 4,
                             7, 6, 5, 4, 3, 2, 1, 2, 0, -1, 4, -1, 0, -1, -1, -1};
const int kBattleChords[] = {0, 5, 3, 4};
const int kFanfareMelody[] = {0, 2, 4, 7, -1, 4, 7, -1, 9, 9, 9, 7, 9, -1, -1, -1};
const int kFanfareChords[] = {0, 3};

}  // namespace

std::string MakeRtpTune(int index) {
    const TTune tunes[] = {
        {96, 73, 33, 60, kTownMelody, 4, kTownChords, true},      // flute over a bass
        {152, 30, 34, 57, kBattleMelody, 4, kBattleChords, true}, // guitar over a picked bass
        {120, 56, 58, 65, kFanfareMelody, 2, kFanfareChords, false},
    };
    const TTune& tune = tunes[index % 3];
    const int* scale = index == 1 ? kMinor : kMajor;
    const std::uint32_t length = static_cast<std::uint32_t>(tune.Bars) * 4 * kBeat;
    const std::uint32_t eighth = kBeat / 2;

    TTrack conductor;
    const std::uint32_t microseconds = 60000000u / static_cast<std::uint32_t>(tune.Tempo);
    conductor.Meta(0, 0x51, std::string{static_cast<char>(microseconds >> 16), static_cast<char>((microseconds >> 8) & 0xFF),
                                        static_cast<char>(microseconds & 0xFF)});
    conductor.Meta(0, 0x58, std::string("\x04\x02\x18\x08", 4));

    TTrack lead;
    lead.Event(0, {0xC0, static_cast<std::uint8_t>(tune.Lead)});
    lead.Event(0, {0xB0, 7, 100});
    lead.Event(0, {0xB0, 10, 54});
    if (tune.Loops)
        lead.Event(0, {0xB0, 111, 0});  // loop point
    for (int i = 0; i < tune.Bars * 8; ++i) {
        const int step = tune.Melody[i];
        if (step < 0)
            continue;
        int hold = 1;
        while (i + hold < tune.Bars * 8 && tune.Melody[i + hold] < 0 && hold < 3)
            ++hold;
        lead.Note(static_cast<std::uint32_t>(i) * eighth, static_cast<std::uint32_t>(hold) * eighth - 20, 0,
                  tune.Root + 12 + scale[step], 92 + (i % 4 == 0 ? 12 : 0));
    }

    TTrack bass;
    bass.Event(0, {0xC1, static_cast<std::uint8_t>(tune.Bass)});
    bass.Event(0, {0xB1, 7, 90});
    bass.Event(0, {0xB1, 10, 74});
    for (int bar = 0; bar < tune.Bars; ++bar) {
        const int root = tune.Root - 24 + scale[tune.Chords[bar]];
        for (int beat = 0; beat < 4; ++beat)
            bass.Note((static_cast<std::uint32_t>(bar) * 4 + static_cast<std::uint32_t>(beat)) * kBeat, kBeat - 40, 1,
                      root + (beat % 2 ? 7 : 0), 80);
    }

    TTrack drums;
    for (int beat = 0; beat < tune.Bars * 4; ++beat) {
        const auto at = static_cast<std::uint32_t>(beat) * kBeat;
        drums.Note(at, 60, 9, beat % 2 ? 38 : 36, 90);  // kick and snare
        drums.Note(at + eighth, 40, 9, 42, 60);         // closed hi-hat
    }

    std::string out = "MThd";
    Put32(out, 6);
    Put16(out, 1);
    Put16(out, 4);
    Put16(out, kBeat);
    out += conductor.Finish(length);
    out += lead.Finish(length);
    out += bass.Finish(length);
    out += drums.Finish(length);
    return out;
}

std::string MakeRtpSound(int index) {
    const int rate = 22050;
    std::vector<std::int16_t> samples;
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(index);
    auto random = [&] {
        noise = noise * 1103515245u + 12345u;
        return static_cast<double>((noise >> 16) & 0x7FFF) / 16384.0 - 1.0;
    };
    auto tone = [&](double seconds, double from, double to, double level, bool square, double noiseLevel) {
        const int count = static_cast<int>(seconds * rate);
        double phase = 0;
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / count;
            const double frequency = from + (to - from) * t;
            phase += 2 * M_PI * frequency / rate;
            double value = square ? (std::sin(phase) >= 0 ? 1.0 : -1.0) : std::sin(phase);
            value = value * (1 - noiseLevel) + random() * noiseLevel;
            const double envelope = std::min(1.0, t * 40) * (1 - t);
            samples.push_back(static_cast<std::int16_t>(value * envelope * level * 32767));
        }
    };
    switch (index % 6) {
    case 0: tone(0.05, 1200, 1200, 0.5, false, 0); break;                    // cursor
    case 1: tone(0.06, 880, 880, 0.5, false, 0); tone(0.09, 1320, 1320, 0.5, false, 0); break;  // decision
    case 2: tone(0.12, 660, 440, 0.5, false, 0); break;                      // cancel
    case 3: tone(0.18, 200, 190, 0.35, true, 0); break;                      // buzzer
    case 4: tone(0.22, 300, 80, 0.7, false, 0.8); break;                     // attack
    case 5: tone(0.3, 140, 60, 0.8, false, 0.5); break;                      // damage
    }
    std::string out = "RIFF";
    PutLE32(out, static_cast<std::uint32_t>(36 + 2 * samples.size()));
    out += "WAVEfmt ";
    PutLE32(out, 16);
    PutLE16(out, 1);  // PCM
    PutLE16(out, 1);  // mono
    PutLE32(out, rate);
    PutLE32(out, rate * 2);
    PutLE16(out, 2);
    PutLE16(out, 16);
    out += "data";
    PutLE32(out, static_cast<std::uint32_t>(2 * samples.size()));
    for (const std::int16_t s : samples)
        PutLE16(out, static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace quillon
