// The screen: transitions, tone, flash, shake, pan, weather, pictures, battle animations and the
// system graphic.
#include "data/CommandCode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameText.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kFramesPerTenth = kStepsPerSecond / 10;
// The longest timed effect the dialogs offer: 100 seconds.
constexpr int kMaxTenths = 1000;
// Pan kinds.
enum { pkFix = 0, pkRelease = 1, pkMove = 2, pkReturn = 3 };

int TenthsToFrames(std::int32_t tenths) { return std::clamp(tenths, 0, kMaxTenths) * kFramesPerTenth; }

// Waits the frames when the line asks for it, else goes on.
TStep WaitIf(TInterpreter& in, bool wait, int frames) {
    if (!wait || frames <= 0)
        return TStep::Next;
    in.WaitFrames(frames - 1);
    return TStep::Yield;
}

TStep EraseOrShow(TInterpreter& in, const TKelEventScriptLine& line, bool erase) {
    TGameSession& session = in.Session();
    TGameScreen& screen = session.Screen();
    int type = line.Param(0);
    // -1: the teleport's transition of the system settings.
    if (type < 0)
        type = screen.Transition(erase ? tsTeleportErase : tsTeleportShow);
    screen.Transitions().Start(erase, type, session.Random());
    return WaitIf(in, true, screen.Transitions().FramesLeft());
}

TPictureValues PictureValues(TInterpreter& in, const TKelEventScriptLine& line) {
    TPictureValues values;
    const bool byVariable = line.Param(1) == 1;
    values.X = byVariable ? in.Session().Variable(line.Param(2)) : line.Param(2);
    values.Y = byVariable ? in.Session().Variable(line.Param(3)) : line.Param(3);
    values.Magnification = line.Param(5);
    values.Transparency = line.Param(6);
    values.Red = line.Param(8);
    values.Green = line.Param(9);
    values.Blue = line.Param(10);
    values.Chroma = line.Param(11);
    return values;
}

TStep ShowAnimation(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const TKelAnimationItem* animation = session.Project().Database().Animation.FindByID(line.Param(0));
    std::int32_t target = 0;
    if (line.Param(3) == 0) {
        const TGameCharacter* character = session.Character(line.Param(1), in.EventId());
        // A character that is not on the map: nothing to show it on.
        if (character == nullptr)
            return TStep::Next;
        target = character == &session.World().Hero() ? kCharacterHero
                                                      : (line.Param(1) == kCharacterThisEvent ? in.EventId() : line.Param(1));
    }
    const int frames = session.Screen().ShowAnimation(animation, target);
    return WaitIf(in, line.Param(2) == 1, frames);
}

}  // namespace

TStep RunScreenCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameScreen& screen = session.Screen();
    switch (static_cast<TCommandCode>(line.Code)) {
    case TCommandCode::ChangeSystemGraphic:
        session.Skin().SetSystemGraphic(line.Text, line.Param(0), line.Param(1));
        return TStep::Next;
    case TCommandCode::ChangeScreenTransition: screen.SetTransition(line.Param(0), line.Param(1)); return TStep::Next;
    case TCommandCode::EraseScreen: return EraseOrShow(in, line, true);
    case TCommandCode::ShowScreen: return EraseOrShow(in, line, false);
    case TCommandCode::SetScreenTone: {
        const int frames = TenthsToFrames(line.Param(4));
        screen.SetTone(TScreenTone{line.Param(0), line.Param(1), line.Param(2), line.Param(3)}, frames);
        return WaitIf(in, line.Param(5) == 1, frames);
    }
    case TCommandCode::FlashScreen: {
        const int frames = TenthsToFrames(line.Param(4));
        screen.Flash(line.Param(0), line.Param(1), line.Param(2), line.Param(3), frames);
        return WaitIf(in, line.Param(5) == 1, frames);
    }
    case TCommandCode::ShakeScreen: {
        const int frames = TenthsToFrames(line.Param(2));
        screen.Shake(line.Param(0), line.Param(1), frames);
        return WaitIf(in, line.Param(3) == 1, frames);
    }
    case TCommandCode::PanScreen: {
        TGameWorld& world = session.World();
        int frames = 0;
        switch (line.Param(0)) {
        case pkFix: screen.PanFix(world); break;
        case pkRelease: screen.PanRelease(world); break;
        case pkMove: frames = screen.PanMove(world, line.Param(1), line.Param(2), line.Param(3)); break;
        case pkReturn: frames = screen.PanReturn(world, line.Param(3)); break;
        default: break;
        }
        return WaitIf(in, line.Param(4) == 1, frames);
    }
    case TCommandCode::WeatherEffects: screen.Weather().Set(line.Param(0), line.Param(1)); return TStep::Next;
    case TCommandCode::ShowPicture:
        screen.Pictures().Show(line.Param(0), line.Text, PictureValues(in, line), line.Param(4) == 1,
                               line.Param(7) == 1, line.Param(12), line.Param(13), session.World().CameraX(),
                               session.World().CameraY());
        return TStep::Next;
    case TCommandCode::MovePicture: {
        const int frames = TenthsToFrames(line.Param(14));
        screen.Pictures().Move(line.Param(0), PictureValues(in, line), line.Param(12), line.Param(13), frames);
        return WaitIf(in, line.Param(15) == 1 && screen.Pictures().Picture(line.Param(0)) != nullptr, frames);
    }
    case TCommandCode::ErasePicture: screen.Pictures().Erase(line.Param(0)); return TStep::Next;
    case TCommandCode::ShowBattleAnimation: return ShowAnimation(in, line);
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
