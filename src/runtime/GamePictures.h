// The 50 pictures of the screen: shown from the "Picture" folder at a centre point (fixed on the
// screen or moving with the map), with magnification, transparency, a transparent colour, a
// colour tone and a rotation or ripple effect, moved toward new values over a number of frames,
// erased. A missing or damaged file shows as a checkerboard.
#pragma once

#include "graphics/ImageResources.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillon {
class TOrlenBoard;
class TOrlenSheet;
}  // namespace quillon

namespace quillon::runtime {

inline constexpr int kPictureCount = 50;
enum TPictureEffect : int { peNone = 0, peRotation = 1, peRipple = 2 };

// What Show and Move Picture set, in the commands' units.
struct TPictureValues {
    double X = 160;              // centre, screen pixels
    double Y = 120;
    double Magnification = 100;  // percent, 0..2000
    double Transparency = 0;     // percent, 0..100
    double Red = 100;            // percents, 0..200
    double Green = 100;
    double Blue = 100;
    double Chroma = 100;
};

struct TGamePicture {
    std::string Name;
    bool MoveWithMap = false;
    bool TransparentColor = false;
    TPictureValues Now;
    TPictureValues Target;
    int FramesLeft = 0;
    int Effect = peNone;
    int Strength = 0;  // 1..9
    double Angle = 0;  // rotation, radians
    double Phase = 0;  // ripple
    int CameraX = 0;   // the map camera when shown (pictures that move with the map)
    int CameraY = 0;
    std::unique_ptr<TOrlenSheet> Sheet;
};

class TGamePictures {
public:
    using TReporter = std::function<void(const std::string& message)>;
    TGamePictures(TImageFinder find, TReporter report);
    ~TGamePictures();
    TGamePictures(const TGamePictures&) = delete;
    TGamePictures& operator=(const TGamePictures&) = delete;

    // number 1..50; others are ignored. Values are clamped to the commands' ranges.
    void Show(int number, const std::string& name, const TPictureValues& values, bool moveWithMap,
              bool transparentColor, int effect, int strength, int cameraX, int cameraY);
    void Move(int number, const TPictureValues& values, int effect, int strength, int frames);
    void Erase(int number);
    // Shows a picture as it stood in a saved game: values, move under way, effect's angle or phase.
    void Restore(int number, const TGamePicture& saved);
    void Clear();
    // Null when the picture is not shown.
    const TGamePicture* Picture(int number) const;
    // One frame: moves, rotation, ripple.
    void Update();
    // Every shown picture in number order, with the map camera now.
    void Draw(TOrlenBoard& board, int cameraX, int cameraY);

private:
    void DrawOne(TOrlenBoard& board, TGamePicture& picture, double centerX, double centerY);

    TImageFinder mFind;
    TReporter mReport;
    std::array<std::unique_ptr<TGamePicture>, kPictureCount> mPictures;
};

}  // namespace quillon::runtime
