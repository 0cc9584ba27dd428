#include "app/StartupChecks.h"

namespace quillon {

std::string RtpRefusal() {
    return std::string(kProductName) + " Error: Install English RTP";
}

std::optional<std::string> CheckDisplay(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel < 16 || width < 800 || height < 600)
        return std::string(kDisplayRefusal);
    return std::nullopt;
}

std::optional<std::string> CheckRtp(const std::string& rtpPath) {
    if (rtpPath.empty())
        return RtpRefusal();
    return std::nullopt;
}

std::optional<std::string> CheckArchiver(bool available) {
    if (!available)
        return std::string(kArchiverRefusal);
    return std::nullopt;
}

std::optional<std::string> RunStartupChecks(const TStartupEnvironment& environment) {
    if (auto refusal = CheckDisplay(environment.ScreenWidth, environment.ScreenHeight, environment.ScreenDepth))
        return refusal;
    if (auto refusal = CheckRtp(environment.RtpPath))
        return refusal;
    if (auto refusal = CheckArchiver(environment.ArchiverAvailable))
        return refusal;
    return std::nullopt;
}

}  // namespace quillon
