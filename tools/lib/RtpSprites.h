// The images of the starter run-time package besides the chipsets.
#pragma once

#include "graphics/Bitmap.h"

namespace quillon::rtp {

// Character set i (0 heroes, 1 people, 2 creatures, 3 vehicles and things), 288 x 256.
TBitmap MakeRtpCharSet(int index);
// Face set i (0 or 1), 192 x 192: sixteen faces of 48 x 48; faces 0..3 are the four heroes
// whose character-set index is 4 × i .. 4 × i + 3.
TBitmap MakeRtpFaceSet(int index);
TBitmap MakeRtpSystem();            // 160 x 80
TBitmap MakeRtpTitle();             // 320 x 240
TBitmap MakeRtpGameOver();          // 320 x 240
TBitmap MakeRtpBackdrop();          // 320 x 160
TBitmap MakeRtpBattle();            // 480 x 480: 25 patterns of 96 x 96
TBitmap MakeRtpMonster(int index);  // 0 slime 64 x 56, 1 beast 112 x 96
TBitmap MakeRtpPanorama();          // 320 x 240, repeats left to right
TBitmap MakeRtpPicture();           // 160 x 120

}  // namespace quillon::rtp
