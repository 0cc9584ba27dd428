// The message window and its prompts, as the interpreter drives them: a message of up to four
// lines (text codes expanded when it is shown), an optional face, the choices and the number input
// that follow it, the window's options. It draws itself with the game's font and the system
// graphic's window skin. Every text is code page 932 bytes; ShownTexts() gives them as UTF-8.
#pragma once

#include "runtime/GameInput.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

class TGameSkin;  // the system graphic, the font and the face sheets (GameText.h)

// What the text codes read from the game.
class IMessageSource {
public:
    virtual ~IMessageSource() = default;
    virtual std::int32_t Variable(int id) const = 0;
    virtual std::int32_t Money() const = 0;
    virtual std::string HeroName(int heroId) const = 0;    // "" when there is none
    virtual std::string PartyMemberName(int slot) const = 0;  // slot 1..4 of the party
    virtual std::string MoneyUnit() const = 0;           // the vocabulary's money unit
};

struct TMessageOptions {  // 10120
    bool Transparent = false;
    int Position = 2;              // 0 top, 1 middle, 2 bottom
    bool AvoidHero = false;        // move the window off the hero when it would hide him
    bool EventsMoveMeanwhile = false;
};

struct TFaceOptions {  // 10130; an empty FaceSet shows no face
    std::string FaceSet;
    int Index = 0;        // 0..15 on the 4 x 4 sheet
    bool Right = false;
    bool Mirror = false;
};

class TGameMessageWindow {
public:
    explicit TGameMessageWindow(TGameSkin& skin);
    ~TGameMessageWindow();

    void SetOptions(const TMessageOptions& options);
    const TMessageOptions& Options() const;
    void SetFace(const TFaceOptions& face);
    // Where the hero stands on the screen (for AvoidHero), in pixels: the top of his 16-pixel cell
    // (his picture reaches 16 pixels above it). Read when a window opens.
    void SetHeroScreenY(int y);

    // Starts a message (lines of CP932 text with codes); Busy() until the decide key closes it.
    // When choices or a number input follow at once, call them before the first Update: they show
    // under the message in the same window.
    void ShowMessage(const std::vector<std::string>& lines, const IMessageSource& source);
    // Choices: cancelResult is what cancel answers (-1: cancel is ignored; an index, or
    // choices.size() for its own branch). The answer is ChoiceResult() once Busy() is false.
    void ShowChoices(const std::vector<std::string>& choices, int cancelResult, const IMessageSource& source);
    // Number input of 1..7 digits starting at 0; the answer is NumberResult().
    void InputNumber(int digits);

    bool Busy() const;
    void Update(const TGameInput& input);
    void Draw(TOrlenBoard& screen);

    // The window's top on the screen (0, 80 or 160) while it is open.
    int WindowTop() const;

    int ChoiceResult() const;
    std::int32_t NumberResult() const;
    // Every message shown so far, one string per window, lines joined with "\n", codes expanded,
    // UTF-8; and the indexes chosen, in order.
    const std::vector<std::string>& ShownTexts() const;
    const std::vector<int>& Choices() const;

private:
    struct TState;
    std::unique_ptr<TState> mState;
};

}  // namespace quillon::runtime
