// Where the game's 320 x 240 screen lies in a window or on a monitor: scaled by the largest whole
// factor that fits (at least 1), centred, the rest left black.
#pragma once

namespace quillon::player {

struct TScreenFit {
    int Scale = 1;
    int X = 0;  // the picture's rectangle in the output
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

TScreenFit FitScreen(int outputWidth, int outputHeight, int screenWidth = 320, int screenHeight = 240);

}  // namespace quillon::player
