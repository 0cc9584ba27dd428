// The music and sound effects of the starter run-time package, made by code: standard MIDI
// files and 16-bit PCM wave files. Deterministic.
#pragma once

#include <string>

namespace quillon {

// Tune i of the package (0 town, 1 battle, 2 fanfare) as the bytes of a standard MIDI file.
// The town and battle tunes mark their loop start with controller 111.
std::string MakeRtpTune(int index);
// Sound effect i of the package (cursor, decision, cancel, buzzer, attack, damage) as the bytes
// of a mono 16-bit 22050 Hz wave file.
std::string MakeRtpSound(int index);

}  // namespace quillon
