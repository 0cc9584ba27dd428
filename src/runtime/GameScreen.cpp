#include "runtime/GameScreen.h"
#include "runtime/GameSave.h"

#include "data/LD_Animation.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "runtime/Game.h"
#include "runtime/GameSession.h"
#include "runtime/GameWorld.h"

#include <algorithm>
#include <cmath>

namespace quillon::runtime {

namespace {

constexpr int kToneMax = 200;
constexpr int kPanUnit = 16;  // pan positions in 16ths of a pixel
constexpr int kCharacterFeet = 16;
constexpr int kCharacterHeight = 32;

// A channel (0..255) under a tone percent: below 100 toward black, above toward white.
int ToneChannel(int value, int percent) {
    if (percent <= 100)
        return value * percent / 100;
    return value + (255 - value) * (percent - 100) / 100;
}

}  // namespace

std::uint16_t BlendColor(std::uint16_t dest, int red5, int green5, int blue5, int strength31) {
    const int a = strength31;
    const int b = 31 - a;
    const int r = (((dest >> 11) & 31) * b + red5 * a) / 31;
    const int g = (((dest >> 5) & 63) * b + green5 * 2 * a) / 31;
    const int bl = ((dest & 31) * b + blue5 * a) / 31;
    return static_cast<std::uint16_t>(r << 11 | g << 5 | bl);
}

void BuildToneTable(const TScreenTone& tone, std::vector<std::uint16_t>& table) {
    table.resize(65536);
    for (int c = 0; c < 65536; ++c) {
        const int r5 = (c >> 11) & 31;
        const int g6 = (c >> 5) & 63;
        const int b5 = c & 31;
        int r = r5 << 3 | r5 >> 2;
        int g = g6 << 2 | g6 >> 4;
        int b = b5 << 3 | b5 >> 2;
        if (tone.Gray != 100) {
            const int l = (r * 77 + g * 151 + b * 28) >> 8;
            r = std::clamp(l + (r - l) * tone.Gray / 100, 0, 255);
            g = std::clamp(l + (g - l) * tone.Gray / 100, 0, 255);
            b = std::clamp(l + (b - l) * tone.Gray / 100, 0, 255);
        }
        r = ToneChannel(r, tone.Red);
        g = ToneChannel(g, tone.Green);
        b = ToneChannel(b, tone.Blue);
        table[static_cast<std::size_t>(c)] = static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    }
}

TGameScreen::TGameScreen(TGameRandom& random, TImageFinder find, TKelAnimationGraphic::TSoundPlayer playSound,
                         TGamePictures::TReporter report)
    : mRandom(random),
      mPictures(std::make_unique<TGamePictures>(find, std::move(report))),
      mAnimation(std::make_unique<TGameAnimation>(find, std::move(playSound))) {}

TGameScreen::~TGameScreen() = default;

void TGameScreen::SetTransition(int slot, int type) {
    if (slot >= 0 && slot < kTransitionSlots)
        mTransitions[static_cast<std::size_t>(slot)] = type;
}

int TGameScreen::Transition(int slot) const {
    return slot >= 0 && slot < kTransitionSlots ? mTransitions[static_cast<std::size_t>(slot)] : 0;
}

int TGameScreen::BeginTeleport() {
    if (mTeleportErased || mTransition.Erased())
        return 0;
    const int type = Transition(tsTeleportErase);
    if (type == ttNone)
        return 0;
    mTransition.Start(true, type, mRandom);
    mTeleportErased = true;
    return mTransition.FramesLeft();
}

void TGameScreen::EndTeleport() {
    if (!mTeleportErased)
        return;
    mTeleportErased = false;
    mTransition.Start(false, Transition(tsTeleportShow), mRandom);
}

void TGameScreen::SetTone(const TScreenTone& tone, int frames) {
    mToneTarget = TScreenTone{std::clamp(tone.Red, 0, kToneMax), std::clamp(tone.Green, 0, kToneMax),
                              std::clamp(tone.Blue, 0, kToneMax), std::clamp(tone.Gray, 0, kToneMax)};
    mToneFrames = std::max(frames, 0);
    if (mToneFrames == 0)
        mToneNow = {double(mToneTarget.Red), double(mToneTarget.Green), double(mToneTarget.Blue), double(mToneTarget.Gray)};
}

void TGameScreen::RestoreTone(const std::array<double, 4>& now, const TScreenTone& target, int frames) {
    for (std::size_t i = 0; i < now.size(); ++i)
        mToneNow[i] = std::clamp(now[i], 0.0, 200.0);
    SetTone(target, frames);
}

TScreenTone TGameScreen::Tone() const {
    const auto round = [](double v) { return static_cast<int>(std::lround(v)); };
    return TScreenTone{round(mToneNow[0]), round(mToneNow[1]), round(mToneNow[2]), round(mToneNow[3])};
}

void TGameScreen::Flash(int red, int green, int blue, int strength, int frames) {
    mFlash = TAnimationFlash{std::clamp(red, 0, 31), std::clamp(green, 0, 31), std::clamp(blue, 0, 31),
                             std::clamp(strength, 0, 31)};
    mFlashTotal = std::max(frames, 1);
    mFlashFrames = mFlashTotal;
}

TAnimationFlash TGameScreen::FlashNow() const {
    TAnimationFlash flash{};
    if (mFlashFrames > 0) {
        flash = mFlash;
        flash[3] = mFlash[3] * mFlashFrames / mFlashTotal;
    }
    if (mAnimation->Running()) {
        const TAnimationFlash fromAnimation = mAnimation->ScreenFlash();
        if (fromAnimation[3] > flash[3])
            flash = fromAnimation;
    }
    return flash;
}

void TGameScreen::Shake(int power, int speed, int frames) {
    mShakePower = std::clamp(power, 1, 9);
    mShakeSpeed = std::clamp(speed, 1, 9);
    mShakeFrames = std::max(frames, 0);
}

int TGameScreen::ShakeOffset() const { return static_cast<int>(std::lround(mShakePosition)); }

void TGameScreen::PanFix(TGameWorld& world) {
    mPanFixed = true;
    if (!world.CameraHeld()) {
        mPanX = mPanTargetX = world.CameraX() * kPanUnit;
        mPanY = mPanTargetY = world.CameraY() * kPanUnit;
        world.HoldCamera(true, world.CameraX(), world.CameraY());
    }
}

void TGameScreen::PanRelease(TGameWorld& world) {
    mPanFixed = false;
    mPanMoving = false;
    mPanReturning = false;
    world.HoldCamera(false);
}

int TGameScreen::PanMove(TGameWorld& world, int direction, int cells, int speed) {
    if (!world.CameraHeld()) {
        mPanX = world.CameraX() * kPanUnit;
        mPanY = world.CameraY() * kPanUnit;
        world.HoldCamera(true, world.CameraX(), world.CameraY());
    }
    const int distance = std::clamp(cells, 0, 500) * 16 * kPanUnit;
    mPanTargetX = mPanX + (direction == 1 ? distance : direction == 3 ? -distance : 0);
    mPanTargetY = mPanY + (direction == 2 ? distance : direction == 0 ? -distance : 0);
    mPanSpeed = 1 << std::clamp(speed, 1, 6);
    mPanMoving = true;
    mPanReturning = false;
    return (distance + mPanSpeed - 1) / mPanSpeed;
}

int TGameScreen::PanReturn(TGameWorld& world, int speed) {
    if (!world.CameraHeld())
        return 0;
    mPanSpeed = 1 << std::clamp(speed, 1, 6);
    mPanReturning = true;
    mPanMoving = true;
    const int distance = std::max(std::abs(world.FollowCameraX() * kPanUnit - mPanX),
                                  std::abs(world.FollowCameraY() * kPanUnit - mPanY));
    return (distance + mPanSpeed - 1) / mPanSpeed;
}

TSavedEffects TGameScreen::SavedEffects(const TGameWorld& world) const {
    TSavedEffects e;
    e.FlashColor = {mFlash[0], mFlash[1], mFlash[2], mFlash[3]};
    e.FlashFrames = mFlashFrames;
    e.FlashTotal = mFlashTotal;
    e.ShakePower = mShakePower;
    e.ShakeSpeed = mShakeSpeed;
    e.ShakeFrames = mShakeFrames;
    e.ShakePosition = mShakePosition;
    e.ShakeDirection = mShakeDirection;
    e.PanFixed = mPanFixed;
    e.PanMoving = mPanMoving;
    e.PanReturning = mPanReturning;
    e.PanX = mPanX;
    e.PanY = mPanY;
    e.PanTargetX = mPanTargetX;
    e.PanTargetY = mPanTargetY;
    e.PanSpeed = mPanSpeed;
    e.CameraHeld = world.CameraHeld();
    e.HeldX = world.HeldCameraX();
    e.HeldY = world.HeldCameraY();
    return e;
}

void TGameScreen::RestoreEffects(const TSavedEffects& e, TGameWorld& world) {
    // The longest flash or shake a command starts (100 seconds), and the farthest a camera goes
    // (a map of 999 cells, panned 500 cells beyond).
    constexpr int kMaxFrames = 100 * 60;
    constexpr int kMaxCamera = (999 + 500) * 16;
    for (std::size_t i = 0; i < 4; ++i)
        mFlash[i] = std::clamp(e.FlashColor[i], 0, 31);
    mFlashTotal = std::clamp(e.FlashTotal, 1, kMaxFrames);
    mFlashFrames = std::clamp(e.FlashFrames, 0, mFlashTotal);
    mShakePower = std::clamp(e.ShakePower, 0, 9);
    mShakeSpeed = std::clamp(e.ShakeSpeed, 0, 9);
    mShakeFrames = std::clamp(e.ShakeFrames, 0, kMaxFrames);
    mShakePosition = std::clamp(e.ShakePosition, -mShakePower * 2.0, mShakePower * 2.0);
    mShakeDirection = e.ShakeDirection < 0 ? -1 : 1;
    mPanFixed = e.PanFixed;
    mPanMoving = e.PanMoving;
    mPanReturning = e.PanReturning;
    const auto pan = [&](int v) { return std::clamp(v, -kMaxCamera * kPanUnit, kMaxCamera * kPanUnit); };
    mPanX = pan(e.PanX);
    mPanY = pan(e.PanY);
    mPanTargetX = pan(e.PanTargetX);
    mPanTargetY = pan(e.PanTargetY);
    mPanSpeed = std::clamp(e.PanSpeed, 0, 1 << 6);
    if (mPanMoving && mPanSpeed == 0)
        mPanSpeed = 1;  // a move that could never arrive
    world.HoldCamera(e.CameraHeld, std::clamp(e.HeldX, -kMaxCamera, kMaxCamera),
                     std::clamp(e.HeldY, -kMaxCamera, kMaxCamera));
}

int TGameScreen::ShowAnimation(const TKelAnimationItem* animation, std::int32_t characterId) {
    mAnimation->Start(animation);
    mAnimationTarget = characterId;
    return mAnimation->Duration();
}

TGameCharacter* TGameScreen::AnimationTarget(TGameWorld& world) const {
    if (!mAnimation->Running() || mAnimationTarget == 0)
        return nullptr;
    if (mAnimationTarget == kCharacterHero)
        return &world.Hero();
    TGameEvent* event = world.EventById(mAnimationTarget);
    return event != nullptr && !event->Erased ? event : nullptr;
}

void TGameScreen::MapChanged(TGameWorld& world) {
    PanRelease(world);
    mAnimation->Stop();
}

void TGameScreen::UpdatePan(TGameWorld& world) {
    if (!mPanMoving)
        return;
    if (mPanReturning) {
        mPanTargetX = world.FollowCameraX() * kPanUnit;
        mPanTargetY = world.FollowCameraY() * kPanUnit;
    }
    const auto approach = [this](int& now, int target) {
        now += std::clamp(target - now, -mPanSpeed, mPanSpeed);
    };
    approach(mPanX, mPanTargetX);
    approach(mPanY, mPanTargetY);
    world.HoldCamera(true, mPanX / kPanUnit, mPanY / kPanUnit);
    if (mPanX == mPanTargetX && mPanY == mPanTargetY) {
        mPanMoving = false;
        // Back at the hero, the screen follows him again unless it was fixed.
        if (mPanReturning && !mPanFixed)
            world.HoldCamera(false);
        mPanReturning = false;
    }
}

void TGameScreen::Update(TGameWorld& world) {
    if (mToneFrames > 0) {
        const double n = mToneFrames;
        const int target[4] = {mToneTarget.Red, mToneTarget.Green, mToneTarget.Blue, mToneTarget.Gray};
        for (int i = 0; i < 4; ++i)
            mToneNow[static_cast<std::size_t>(i)] += (target[i] - mToneNow[static_cast<std::size_t>(i)]) / n;
        --mToneFrames;
    }
    if (mFlashFrames > 0)
        --mFlashFrames;
    if (mShakeFrames > 0 || mShakePosition != 0) {
        const double amplitude = mShakePower * 2.0;
        const double step = mShakeSpeed * 0.75;
        if (mShakeFrames == 0 && std::abs(mShakePosition) <= step) {
            mShakePosition = 0;
        } else {
            if (mShakeFrames == 0)
                mShakeDirection = mShakePosition > 0 ? -1 : 1;
            mShakePosition += mShakeDirection * step;
            if (mShakePosition >= amplitude)
                mShakeDirection = -1;
            else if (mShakePosition <= -amplitude)
                mShakeDirection = 1;
        }
        if (mShakeFrames > 0)
            --mShakeFrames;
    }
    UpdatePan(world);
    mWeather.Update(mRandom);
    mPictures->Update();
    mAnimation->Update();
    // The target's flash of this animation frame, held on the character for one frame at a time.
    if (TGameCharacter* target = AnimationTarget(world)) {
        const TAnimationFlash flash = mAnimation->TargetFlash();
        if (flash[3] > 0) {
            target->FlashRed = flash[0];
            target->FlashGreen = flash[1];
            target->FlashBlue = flash[2];
            target->FlashPower = flash[3];
            target->FlashLeft = target->FlashTotal = 1;
        }
    }
    mTransition.Update();
}

void TGameScreen::ApplyTone(TOrlenBoard& board) {
    const TScreenTone tone = Tone();
    if (tone == TScreenTone{})
        return;
    if (mToneTable.empty() || !(tone == mToneTableFor)) {
        BuildToneTable(tone, mToneTable);
        mToneTableFor = tone;
    }
    for (int y = 0; y < board.Height(); ++y) {
        std::uint16_t* row = board.ScanLine(y);
        for (int x = 0; x < board.Width(); ++x)
            row[x] = mToneTable[row[x]];
    }
}

void TGameScreen::Draw(TOrlenBoard& board, TGameWorld& world) {
    if (mAnimation->Running()) {
        const TGameCharacter* target = AnimationTarget(world);
        if (mAnimationTarget == 0 || mAnimation->Animation()->Scope == TKelAnimationItem::asAll) {
            mAnimation->Draw(board, board.Width() / 2, board.Height() / 2);
        } else if (target != nullptr) {
            const int x = target->PixelX() - world.CameraX() + kCellPixels / 2;
            const int feet = target->PixelY() - world.CameraY() + kCharacterFeet;
            mAnimation->Draw(board, x, AnimationAnchorY(*mAnimation->Animation(), feet, kCharacterHeight));
        }
    }
    mPictures->Draw(board, world.CameraX(), world.CameraY());
    mWeather.Draw(board);
    ApplyTone(board);
    const TAnimationFlash flash = FlashNow();
    if (flash[3] > 0)
        for (int y = 0; y < board.Height(); ++y) {
            std::uint16_t* row = board.ScanLine(y);
            for (int x = 0; x < board.Width(); ++x)
                row[x] = BlendColor(row[x], flash[0], flash[1], flash[2], flash[3]);
        }
    const int shake = ShakeOffset();
    if (shake != 0) {
        board.CopyFrom(shake, 0, TRect{0, 0, board.Width(), board.Height()}, board);
        FillBoardRect(board, shake > 0 ? TRect{0, 0, shake, board.Height()}
                                       : TRect{board.Width() + shake, 0, board.Width(), board.Height()},
                      0);
    }
    mTransition.Apply(board);
}

void TGameScreen::HashDrawn(std::uint64_t& hash, std::int64_t frame) const {
    const TScreenTone tone = Tone();
    for (const int value : {tone.Red, tone.Green, tone.Blue, tone.Gray})
        HashMix(hash, value);
    HashMix(hash, mTransition.Erased() ? 1 : 0);
    bool moving = mTransition.Running() || mToneFrames > 0 || mFlashFrames > 0 || mShakeFrames > 0 || mPanMoving ||
                  mWeather.Kind() != 0 || mAnimation->Running();
    for (int number = 1; number <= kPictureCount && !moving; ++number)
        moving = mPictures->Picture(number) != nullptr;
    if (moving)
        HashMix(hash, frame);
}

}  // namespace quillon::runtime
