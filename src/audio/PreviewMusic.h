// The name of the music being previewed: shared by the music selector and the editor, which sets
// it to "(OFF)" before the game runtime takes the audio devices.
#pragma once

#include <string>

namespace quillon::audio {

// "(OFF)" until a music is previewed.
std::string& PreviewMusicName();

}  // namespace quillon::audio
