// The environment checks of the program's start, on values the caller measured: each answers the
// message that refuses the start, or nothing when the check passes.
#pragma once

#include <optional>
#include <string>

namespace quillon {

inline constexpr const char* kProductName = "Quillon";
inline constexpr const char* kDisplayRefusal = "Set your display to 800 x 600 High Color";
inline constexpr const char* kArchiverRefusal = "Unlha32.dll not found";
inline constexpr const char* kGraphicsRefusal = "DirectX 8.0 or higher is required to run this program";
// The product name followed by " Error: Install English RTP".
std::string RtpRefusal();

// At least 800 x 600 pixels at 16 bits per pixel (planes times bits per plane).
std::optional<std::string> CheckDisplay(int width, int height, int bitsPerPixel);
// The run-time package folder (GetRtpPath) must be known.
std::optional<std::string> CheckRtp(const std::string& rtpPath);
// The archiver used for game disks must be there.
std::optional<std::string> CheckArchiver(bool available);

struct TStartupEnvironment {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int ScreenDepth = 0;
    std::string RtpPath;
    bool ArchiverAvailable = true;
};

// The checks in their order (display, run-time package, archiver; the graphics check always
// passes here): the first refusal, or nothing.
std::optional<std::string> RunStartupChecks(const TStartupEnvironment& environment);

}  // namespace quillon
