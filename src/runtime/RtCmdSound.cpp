// Music and sound effects.
#include "data/LD_Event.h"
#include "data/LD_System.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSession.h"
#include "runtime/Interpreter.h"
#include "data/CommandCode.h"

namespace quillon::runtime {

TStep RunSoundCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    IGameAudio& audio = in.Session().Audio();
    if (line.Code == ToInt(TCommandCode::PlayBgm)) {
        TKelMusic music;
        music.Name = line.Text;
        music.FadeIn = line.Param(0);
        music.Volume = line.Param(1);
        music.Tempo = line.Param(2);
        music.Balance = line.Param(3);
        audio.PlayMusic(music);
    } else if (line.Code == ToInt(TCommandCode::PlaySoundEffect)) {
        TKelSound sound;
        sound.Name = line.Text;
        sound.Volume = line.Param(0);
        sound.Tempo = line.Param(1);
        sound.Balance = line.Param(2);
        audio.PlaySound(sound);
    }
    return TStep::Next;
}

}  // namespace quillon::runtime
