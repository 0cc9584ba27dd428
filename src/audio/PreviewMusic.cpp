#include "audio/PreviewMusic.h"

namespace quillon::audio {

std::string& PreviewMusicName() {
    static std::string name = "(OFF)";
    return name;
}

}  // namespace quillon::audio
