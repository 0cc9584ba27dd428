#include "player/ScreenFit.h"

#include <algorithm>

namespace quillon::player {

TScreenFit FitScreen(int outputWidth, int outputHeight, int screenWidth, int screenHeight) {
    TScreenFit fit;
    if (screenWidth <= 0 || screenHeight <= 0)
        return fit;
    fit.Scale = std::max(1, std::min(outputWidth / screenWidth, outputHeight / screenHeight));
    fit.Width = screenWidth * fit.Scale;
    fit.Height = screenHeight * fit.Scale;
    // A window smaller than the screen shows its middle.
    fit.X = (outputWidth - fit.Width) / 2;
    fit.Y = (outputHeight - fit.Height) / 2;
    return fit;
}

}  // namespace quillon::player
