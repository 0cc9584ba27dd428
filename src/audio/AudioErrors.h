// Errors of the audio players, and the value mappings that the wave and MP3 players share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillon::audio {

// Failure of the buffer mixer; the text is "DirectSound Error(<code name>)", or
// "Unable to use DirectSound" when no mixer is available at all.
class EDirectSoundError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static EDirectSoundError FromCode(const std::string& codeName);
};

// Failure of a compressed-wave decoder: "ACM Error(<code name>)".
class EAcmError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static EAcmError FromCode(const std::string& codeName);
};

// Failure of the stream decoder: "DirectShow Error(<code name>)".
class EDirectShowError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static EDirectShowError FromCode(const std::string& codeName);
};

// A file that is not a wave file we can play: "Invalid wave file".
inline constexpr const char* kInvalidWaveFileText = "Invalid wave file";
class EInvalidWaveFile : public std::runtime_error {
public:
    EInvalidWaveFile() : std::runtime_error(kInvalidWaveFileText) {}
};

inline constexpr const char* kNoDirectSoundText = "Unable to use DirectSound";

// Attenuation in hundredths of a decibel that marks silence.
inline constexpr int kSilentAttenuation = -10000;

// Volume 0..100 % at fade level 0..100 as an attenuation in hundredths of a decibel.
inline int VolumeToAttenuation(int volume, int fadeLevel) {
    const int product = volume * fadeLevel;
    if (product == 0)
        return kSilentAttenuation;
    return (product / 100) * 35 - 3500;
}

// Balance 0..100 (50 centre) as a pan in hundredths of a decibel, -3000 left .. 3000 right.
inline int BalanceToPan(int balance) { return balance * 60 - 3000; }

// Tempo 1..10000 % applied to a sample rate, limited to what a voice can play.
inline int TempoToFrequency(int tempo, int sampleRate) {
    const std::int64_t hz = static_cast<std::int64_t>(tempo) * sampleRate / 100;
    return static_cast<int>(std::clamp<std::int64_t>(hz, 100, 100000));
}

// a * b / c rounded to the nearest integer, halves away from zero; 0 when c is 0.
inline std::int64_t MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (c == 0)
        return 0;
    const std::int64_t product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t num = product < 0 ? -product : product;
    const std::int64_t den = c < 0 ? -c : c;
    const std::int64_t q = (num + den / 2) / den;
    return negative ? -q : q;
}

}  // namespace quillon::audio
