#include "runtime/GamePictures.h"

#include "graphics/OrlenSheet.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace quillon::runtime {

namespace {

constexpr int kPlaceholderSize = 32;
constexpr double kPi = 3.14159265358979323846;

void Clamp(TPictureValues& v) {
    v.X = std::clamp(v.X, -640.0, 960.0);
    v.Y = std::clamp(v.Y, -480.0, 720.0);
    v.Magnification = std::clamp(v.Magnification, 0.0, 2000.0);
    v.Transparency = std::clamp(v.Transparency, 0.0, 100.0);
    for (double* c : {&v.Red, &v.Green, &v.Blue, &v.Chroma})
        *c = std::clamp(*c, 0.0, 200.0);
}

// The checkerboard of DrawCheckerboard as a sheet, so that it turns and scales as a picture does.
void MakePlaceholder(TOrlenSheet& sheet) {
    sheet.Clear();
    sheet.SetSize(kPlaceholderSize, kPlaceholderSize);
    sheet.Palette[1] = TPaletteEntry{255, 0, 255, 0};
    sheet.Palette[2] = TPaletteEntry{0, 0, 0, 0};
    for (int y = 0; y < kPlaceholderSize; ++y)
        for (int x = 0; x < kPlaceholderSize; ++x)
            sheet.ScanLine(y)[x] = static_cast<std::uint8_t>((x / 4 + y / 4) % 2 ? 1 : 2);
    sheet.UpdateColorTable();
}

// One pixel of the sheet through its colour table, with its transparency and opacity.
struct TPixelWriter {
    const TOrlenSheet& Sheet;
    int Wa;
    int Wb;
    explicit TPixelWriter(const TOrlenSheet& sheet)
        : Sheet(sheet), Wa(std::clamp(sheet.Opacity, 0, 255) + 1), Wb(256 - std::clamp(sheet.Opacity, 0, 255)) {}
    void Put(std::uint16_t& dest, std::uint8_t index) const {
        if (index == 0 && Sheet.Transparent)
            return;
        const std::uint16_t c = Sheet.ColorTable[index];
        if (Wa == 256) {
            dest = c;
            return;
        }
        const int r = (((c >> 11) & 31) * Wa + ((dest >> 11) & 31) * Wb) >> 8;
        const int g = (((c >> 5) & 63) * Wa + ((dest >> 5) & 63) * Wb) >> 8;
        const int b = ((c & 31) * Wa + (dest & 31) * Wb) >> 8;
        dest = static_cast<std::uint16_t>(r << 11 | g << 5 | b);
    }
};

// The sheet turned by angle about its centre, scaled by zoom, centred on (cx, cy).
void DrawRotated(TOrlenBoard& board, const TOrlenSheet& sheet, double cx, double cy, double zoom, double angle) {
    const int w = sheet.Width();
    const int h = sheet.Height();
    const double radius = zoom * std::sqrt(static_cast<double>(w) * w + static_cast<double>(h) * h) / 2 + 1;
    const int top = std::max(0, static_cast<int>(std::floor(cy - radius)));
    const int bottom = std::min(board.Height(), static_cast<int>(std::ceil(cy + radius)));
    const int left = std::max(0, static_cast<int>(std::floor(cx - radius)));
    const int right = std::min(board.Width(), static_cast<int>(std::ceil(cx + radius)));
    // Source position per destination step, in 16.16 fixed point.
    const double c = std::cos(angle) / zoom;
    const double s = std::sin(angle) / zoom;
    const auto fixed = [](double v) { return static_cast<std::int64_t>(std::llround(v * 65536.0)); };
    const std::int64_t du = fixed(c);
    const std::int64_t dv = fixed(-s);
    const TPixelWriter writer(sheet);
    for (int y = top; y < bottom; ++y) {
        const double ry = y + 0.5 - cy;
        const double rx = left + 0.5 - cx;
        std::int64_t u = fixed(rx * c + ry * s + w / 2.0);
        std::int64_t v = fixed(-rx * s + ry * c + h / 2.0);
        std::uint16_t* row = board.ScanLine(y);
        for (int x = left; x < right; ++x, u += du, v += dv) {
            if (u < 0 || v < 0)
                continue;
            const std::int64_t iu = u >> 16;
            const std::int64_t iv = v >> 16;
            if (iu < w && iv < h)
                writer.Put(row[x], sheet.ScanLine(static_cast<int>(iv))[iu]);
        }
    }
}

// The sheet scaled by zoom with its rows waved sideways by amplitude pixels.
void DrawRippled(TOrlenBoard& board, const TOrlenSheet& sheet, double cx, double cy, double zoom, double amplitude,
                 double phase) {
    const int w = sheet.Width();
    const int h = sheet.Height();
    const double left0 = cx - w * zoom / 2;
    const double top0 = cy - h * zoom / 2;
    const int top = std::max(0, static_cast<int>(std::floor(top0)));
    const int bottom = std::min(board.Height(), static_cast<int>(std::ceil(top0 + h * zoom)));
    const TPixelWriter writer(sheet);
    for (int y = top; y < bottom; ++y) {
        const int v = static_cast<int>((y + 0.5 - top0) / zoom);
        if (v < 0 || v >= h)
            continue;
        const double shift = amplitude * std::sin(phase + y * 0.25);
        const double rowLeft = left0 + shift;
        const int first = std::max(0, static_cast<int>(std::floor(rowLeft)));
        const int last = std::min(board.Width(), static_cast<int>(std::ceil(rowLeft + w * zoom)));
        const std::uint8_t* source = sheet.ScanLine(v);
        std::uint16_t* row = board.ScanLine(y);
        for (int x = first; x < last; ++x) {
            const int u = static_cast<int>((x + 0.5 - rowLeft) / zoom);
            if (u >= 0 && u < w)
                writer.Put(row[x], source[u]);
        }
    }
}

}  // namespace

TGamePictures::TGamePictures(TImageFinder find, TReporter report) : mFind(std::move(find)), mReport(std::move(report)) {}

TGamePictures::~TGamePictures() = default;

void TGamePictures::Show(int number, const std::string& name, const TPictureValues& values, bool moveWithMap,
                         bool transparentColor, int effect, int strength, int cameraX, int cameraY) {
    if (number < 1 || number > kPictureCount)
        return;
    auto picture = std::make_unique<TGamePicture>();
    picture->Name = name;
    picture->MoveWithMap = moveWithMap;
    picture->TransparentColor = transparentColor;
    picture->Now = values;
    Clamp(picture->Now);
    picture->Target = picture->Now;
    picture->Effect = effect == peRotation || effect == peRipple ? effect : peNone;
    picture->Strength = std::clamp(strength, 0, 9);
    picture->CameraX = cameraX;
    picture->CameraY = cameraY;
    picture->Sheet = std::make_unique<TOrlenSheet>();
    picture->Sheet->AutoSize = true;
    try {
        LoadSheetResource(*picture->Sheet, mFind, "Picture", name, true);
    } catch (const std::exception& error) {
        if (mReport)
            mReport("picture \"" + name + "\" cannot be shown (" + error.what() + "); a checkerboard stands in");
        MakePlaceholder(*picture->Sheet);
    }
    if (picture->Sheet->Width() == 0 || picture->Sheet->Height() == 0)
        MakePlaceholder(*picture->Sheet);
    mPictures[static_cast<std::size_t>(number - 1)] = std::move(picture);
}

void TGamePictures::Move(int number, const TPictureValues& values, int effect, int strength, int frames) {
    if (number < 1 || number > kPictureCount || !mPictures[static_cast<std::size_t>(number - 1)])
        return;
    TGamePicture& picture = *mPictures[static_cast<std::size_t>(number - 1)];
    picture.Target = values;
    Clamp(picture.Target);
    picture.Effect = effect == peRotation || effect == peRipple ? effect : peNone;
    picture.Strength = std::clamp(strength, 0, 9);
    picture.FramesLeft = std::max(frames, 0);
    if (picture.FramesLeft == 0)
        picture.Now = picture.Target;
}

void TGamePictures::Restore(int number, const TGamePicture& saved) {
    Show(number, saved.Name, saved.Now, saved.MoveWithMap, saved.TransparentColor, saved.Effect, saved.Strength,
         saved.CameraX, saved.CameraY);
    if (number < 1 || number > kPictureCount)
        return;
    TGamePicture& picture = *mPictures[static_cast<std::size_t>(number - 1)];
    picture.Target = saved.Target;
    Clamp(picture.Target);
    picture.FramesLeft = std::max(saved.FramesLeft, 0);
    picture.Angle = std::isfinite(saved.Angle) ? std::fmod(saved.Angle, 2 * kPi) : 0;
    picture.Phase = std::isfinite(saved.Phase) ? std::fmod(saved.Phase, 2 * kPi) : 0;
}

void TGamePictures::Erase(int number) {
    if (number >= 1 && number <= kPictureCount)
        mPictures[static_cast<std::size_t>(number - 1)].reset();
}

void TGamePictures::Clear() {
    for (auto& picture : mPictures)
        picture.reset();
}

const TGamePicture* TGamePictures::Picture(int number) const {
    return number >= 1 && number <= kPictureCount ? mPictures[static_cast<std::size_t>(number - 1)].get() : nullptr;
}

void TGamePictures::Update() {
    for (auto& slot : mPictures) {
        if (!slot)
            continue;
        TGamePicture& p = *slot;
        if (p.FramesLeft > 0) {
            // Each value covers 1/n of what is left, so that it lands on the target at the last frame.
            const double n = p.FramesLeft;
            const auto step = [n](double& now, double target) { now += (target - now) / n; };
            step(p.Now.X, p.Target.X);
            step(p.Now.Y, p.Target.Y);
            step(p.Now.Magnification, p.Target.Magnification);
            step(p.Now.Transparency, p.Target.Transparency);
            step(p.Now.Red, p.Target.Red);
            step(p.Now.Green, p.Target.Green);
            step(p.Now.Blue, p.Target.Blue);
            step(p.Now.Chroma, p.Target.Chroma);
            if (--p.FramesLeft == 0)
                p.Now = p.Target;
        }
        if (p.Effect == peRotation)
            p.Angle = std::fmod(p.Angle + p.Strength * kPi / 90, 2 * kPi);
        else if (p.Effect == peRipple)
            p.Phase = std::fmod(p.Phase + 0.05 + p.Strength * 0.02, 2 * kPi);
    }
}

void TGamePictures::Draw(TOrlenBoard& board, int cameraX, int cameraY) {
    for (auto& slot : mPictures) {
        if (!slot)
            continue;
        double x = slot->Now.X;
        double y = slot->Now.Y;
        if (slot->MoveWithMap) {
            x -= cameraX - slot->CameraX;
            y -= cameraY - slot->CameraY;
        }
        DrawOne(board, *slot, x, y);
    }
}

void TGamePictures::DrawOne(TOrlenBoard& board, TGamePicture& picture, double centerX, double centerY) {
    TOrlenSheet& sheet = *picture.Sheet;
    const TPictureValues& v = picture.Now;
    const double zoom = v.Magnification / 100.0;
    if (zoom <= 0.0 || v.Transparency >= 100.0)
        return;
    sheet.Transparent = picture.TransparentColor;
    sheet.Opacity = static_cast<int>(std::lround((100.0 - v.Transparency) * 255 / 100));
    sheet.PrimaryControl().SetColor(static_cast<int>(std::lround(v.Red)), static_cast<int>(std::lround(v.Green)),
                                    static_cast<int>(std::lround(v.Blue)), static_cast<int>(std::lround(v.Chroma)),
                                    true);
    if (picture.Effect == peRotation && picture.Strength > 0)
        DrawRotated(board, sheet, centerX, centerY, zoom, picture.Angle);
    else if (picture.Effect == peRipple && picture.Strength > 0)
        DrawRippled(board, sheet, centerX, centerY, zoom, picture.Strength * zoom, picture.Phase);
    else
        board.DrawSheetZoomed(centerX, centerY, zoom, sheet.Width() / 2.0, sheet.Height() / 2.0, sheet.BoundsRect(),
                              sheet);
}

}  // namespace quillon::runtime
