// Music and sound effects: playing, fading, memorizing and playing again the music, the system's
// music and sounds, and movies (which the player does not show).
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_System.h"
#include "runtime/GameAudio.h"
#include "runtime/GameMapState.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/Interpreter.h"
#include "data/CommandCode.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kMaxFadeSeconds = 60;

// A music setting from a line: the file name in the text, the four numbers from `first` on.
TMusicSettings MusicOf(const TKelEventScriptLine& line, int first) {
    return TMusicSettings{line.Text, line.Param(first), line.Param(first + 1), line.Param(first + 2),
                          line.Param(first + 3)};
}

// A sound setting from a line: the file name in the text, volume, tempo and balance from `first` on.
void ReadSound(TKelSound& sound, const TKelEventScriptLine& line, int first) {
    sound.Name = line.Text;
    sound.Volume = line.Param(first);
    sound.Tempo = line.Param(first + 1);
    sound.Balance = line.Param(first + 2);
}

}  // namespace

TStep RunSoundCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    IGameAudio& audio = session.Audio();
    TGameMapState& state = session.MapState();
    TKelSystem& system = session.Project().Database().System;
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::PlayBgm: state.PlayMusic(audio, MusicOf(line, 0)); break;
    case TCommandCode::PlaySoundEffect: {
        TKelSound sound;
        ReadSound(sound, line, 0);
        audio.PlaySound(sound);
        break;
    }
    case TCommandCode::FadeOutBgm: audio.FadeOutMusic(std::clamp(line.Param(0), 0, kMaxFadeSeconds) * 1000); break;
    case TCommandCode::MemorizeBgm: state.MemorizedMusic = state.NowPlaying(audio); break;
    case TCommandCode::PlayMemorizedBgm:
        if (state.MemorizedMusic)
            state.PlayMusic(audio, *state.MemorizedMusic);
        break;
    case TCommandCode::PlayMovie:
        session.Report("Play Movie: \"" + line.Text + "\" is not shown (the player has no movie decoder)");
        break;
    case TCommandCode::ChangeSystemMusic: {
        // Kinds 0..6 are the system's music 1..7 (battle ... game over; 0 is the title's).
        const int kind = line.Param(0);
        if (kind >= 0 && kind + 1 < static_cast<int>(system.Music.size()))
            MusicOf(line, 1).To(system.Music[static_cast<std::size_t>(kind + 1)]);
        break;
    }
    case TCommandCode::ChangeSystemSound: {
        const int kind = line.Param(0);
        if (kind >= 0 && kind < static_cast<int>(system.Sound.size()))
            ReadSound(system.Sound[static_cast<std::size_t>(kind)], line, 1);
        break;
    }
    default: break;
    }
    return TStep::Next;
}

}  // namespace quillon::runtime
