// Builders of small MIDI and wave files and a recording MIDI output for the audio tests.
#pragma once

#include "audio/AudioClock.h"
#include "audio/MidiOut.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <stdlib.h>

namespace quillon::audio::test {

// One track of a Standard MIDI File under construction.
class TSmfTrack {
public:
    TSmfTrack& Delta(std::uint32_t ticks) {
        std::uint8_t groups[5];
        int n = 0;
        do {
            groups[n++] = ticks & 0x7F;
            ticks >>= 7;
        } while (ticks);
        while (n > 1)
            mBytes.push_back(static_cast<char>(groups[--n] | 0x80));
        mBytes.push_back(static_cast<char>(groups[0]));
        return *this;
    }
    TSmfTrack& Bytes(std::initializer_list<int> bytes) {
        for (int b : bytes)
            mBytes.push_back(static_cast<char>(b));
        return *this;
    }
    TSmfTrack& Event(std::uint32_t delta, std::initializer_list<int> bytes) { return Delta(delta).Bytes(bytes); }
    TSmfTrack& Tempo(std::uint32_t delta, std::uint32_t micros) {
        return Event(delta, {0xFF, 0x51, 0x03, int(micros >> 16) & 0xFF, int(micros >> 8) & 0xFF, int(micros) & 0xFF});
    }
    TSmfTrack& End(std::uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }
    const std::string& Data() const { return mBytes; }

private:
    std::string mBytes;
};

inline void PutBig(std::string& s, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::string MakeSmf(int division, const std::vector<TSmfTrack>& tracks, int format = 1) {
    std::string file = "MThd";
    PutBig(file, 6, 4);
    PutBig(file, static_cast<std::uint32_t>(format), 2);
    PutBig(file, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBig(file, static_cast<std::uint32_t>(division), 2);
    for (const TSmfTrack& track : tracks) {
        file += "MTrk";
        PutBig(file, static_cast<std::uint32_t>(track.Data().size()), 4);
        file += track.Data();
    }
    return file;
}

inline void PutLittle(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A wave file of the given format chunk body and data.
inline std::string MakeWave(const std::string& fmtBody, const std::string& data) {
    std::string file = "RIFF";
    PutLittle(file, static_cast<std::uint32_t>(4 + 8 + fmtBody.size() + 8 + data.size()), 4);
    file += "WAVEfmt ";
    PutLittle(file, static_cast<std::uint32_t>(fmtBody.size()), 4);
    file += fmtBody;
    file += "data";
    PutLittle(file, static_cast<std::uint32_t>(data.size()), 4);
    file += data;
    return file;
}

inline std::string PcmFormatBody(int tag, int channels, int rate, int bits, int blockAlign = 0) {
    if (blockAlign == 0)
        blockAlign = channels * bits / 8;
    std::string fmt;
    PutLittle(fmt, static_cast<std::uint32_t>(tag), 2);
    PutLittle(fmt, static_cast<std::uint32_t>(channels), 2);
    PutLittle(fmt, static_cast<std::uint32_t>(rate), 4);
    PutLittle(fmt, static_cast<std::uint32_t>(rate * blockAlign), 4);
    PutLittle(fmt, static_cast<std::uint32_t>(blockAlign), 2);
    PutLittle(fmt, static_cast<std::uint32_t>(bits), 2);
    return fmt;
}

inline std::string MakePcm16Wave(const std::vector<std::int16_t>& samples, int channels, int rate) {
    std::string data;
    for (std::int16_t s : samples)
        PutLittle(data, static_cast<std::uint16_t>(s), 2);
    return MakeWave(PcmFormatBody(1, channels, rate, 16), data);
}

// frames of a sine of the given frequency and amplitude, mono.
inline std::vector<std::int16_t> Sine(std::size_t frames, double hz, int rate, double amplitude) {
    std::vector<std::int16_t> out(frames);
    for (std::size_t i = 0; i < frames; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2.0 * M_PI * hz * i / rate)));
    return out;
}

inline double Rms(const std::vector<std::int16_t>& interleaved, int channel, int channels = 2,
                  std::size_t firstFrame = 0, std::size_t frameCount = SIZE_MAX) {
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t f = firstFrame; f * channels + channel < interleaved.size() && n < frameCount; ++f, ++n) {
        const double v = interleaved[f * channels + channel];
        sum += v * v;
    }
    return n ? std::sqrt(sum / n) : 0.0;
}

// What a recording MIDI output saw, with the clock time of each message.
struct TSent {
    std::int64_t Time;
    std::uint32_t Message;  // 0 for a long message
    std::string Long;
    int Status() const { return Message & 0xFF; }
    int Data1() const { return (Message >> 8) & 0xFF; }
    int Data2() const { return (Message >> 16) & 0xFF; }
    bool IsControl(int channel, int controller) const {
        return Message != 0 && Status() == (0xB0 | channel) && Data1() == controller;
    }
};

class TRecordingOut final : public IMidiOut {
public:
    TRecordingOut(std::shared_ptr<std::vector<TSent>> log, std::shared_ptr<IAudioClock> clock)
        : mLog(std::move(log)), mClock(std::move(clock)) {}
    void SendShort(std::uint32_t message) override { mLog->push_back({mClock->Now(), message, {}}); }
    void SendLong(std::string_view message) override { mLog->push_back({mClock->Now(), 0, std::string(message)}); }
    void Reset() override { ++Resets; }
    int Resets = 0;

private:
    std::shared_ptr<std::vector<TSent>> mLog;
    std::shared_ptr<IAudioClock> mClock;
};

// A folder of its own under the temporary folder, removed afterwards.
class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-audio-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        mPath = pattern;
    }
    ~TTempFolder() {
        std::error_code error;
        std::filesystem::remove_all(mPath, error);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = mPath / name;
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string Path(const std::string& name) const { return (mPath / name).string(); }

private:
    std::filesystem::path mPath;
};

}  // namespace quillon::audio::test
