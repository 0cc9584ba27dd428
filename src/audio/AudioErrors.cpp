#include "audio/AudioErrors.h"

namespace quillon::audio {

EDirectSoundError EDirectSoundError::FromCode(const std::string& codeName) {
    return EDirectSoundError("DirectSound Error(" + codeName + ")");
}

EAcmError EAcmError::FromCode(const std::string& codeName) {
    return EAcmError("ACM Error(" + codeName + ")");
}

EDirectShowError EDirectShowError::FromCode(const std::string& codeName) {
    return EDirectShowError("DirectShow Error(" + codeName + ")");
}

}  // namespace quillon::audio
