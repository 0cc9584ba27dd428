#include "runtime/GameMessage.h"

#include "graphics/OrlenSheet.h"
#include "platform/TextCodec.h"
#include "runtime/GameCommandWindow.h"
#include "runtime/GameText.h"
#include "runtime/MessageText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 80;
constexpr int kLines = 4;
constexpr int kLineHeight = 16;
constexpr int kBorder = 8;
constexpr int kTextLeft = 10;                            // text from the window's left without a face
constexpr int kFaceTextLeft = kBorder + kFaceSize + 10;  // and beside a face on the left
constexpr int kTextTop = 2;                              // glyph top inside its 16-pixel line
constexpr int kPromptIndent = 8;                         // choices and digits right of the text's left
constexpr int kDigitWidth = 8;
constexpr int kMaxChoices = 4;
constexpr int kMaxDigits = 7;
constexpr int kHeroAbove = 16;  // the hero's picture reaches this far above his cell's top
constexpr int kHeroBelow = 16;  // and this far below it

enum class TPhase { Closed, Typing, WaitKey, PageBreak, Choices, Number, WaitClose };

// A character placed on the window, or a control code, in the order they are shown.
struct TStep {
    TMessageItem Item;
    int Line = 0;
    int X = 0;
    int Colour = 0;
};

int TopOf(int position) { return std::clamp(position, 0, 2) * kWindowHeight; }

}  // namespace

struct TGameMessageWindow::TState {
    explicit TState(TGameSkin& s) : Skin(s) {}

    TGameSkin& Skin;
    TMessageOptions Options;
    TFaceOptions Face;
    int HeroY = -1000;
    int Top = TopOf(2);

    TPhase Phase = TPhase::Closed;
    std::vector<TStep> Steps;
    std::size_t Next = 0;  // steps shown so far
    int Delay = 0;
    int LetterSteps = kDefaultLetterSteps;
    bool Instant = false;
    bool CloseNoKey = false;
    bool PageCleared = false;
    int MessageLines = 0;

    // The prompt that follows the text.
    std::vector<std::vector<TStep>> ChoiceTexts;
    int CancelResult = -1;
    TMenuCursor Cursor{0, 1};
    int Digits = 0;  // > 0: a number input
    std::vector<int> DigitValues;
    int DigitIndex = 0;
    int PromptLine = 0;

    int ChoiceResult = -1;
    std::int32_t NumberResult = 0;
    std::vector<std::string> Shown;
    std::vector<int> Chosen;
    std::int64_t Step = 0;

    int TextLeft() const { return !Face.FaceSet.empty() && !Face.Right ? kFaceTextLeft : kTextLeft; }
    int LineTop(int line) const { return Top + kBorder + line * kLineHeight; }
    int PromptLines() const { return Digits > 0 ? 1 : static_cast<int>(ChoiceTexts.size()); }
    bool HasPrompt() const { return PromptLines() > 0; }

    void Open() {
        if (Phase != TPhase::Closed)
            return;
        Phase = TPhase::Typing;
        Steps.clear();
        Next = 0;
        Delay = 0;
        LetterSteps = kDefaultLetterSteps;
        Instant = false;
        CloseNoKey = false;
        PageCleared = false;
        MessageLines = 0;
        ChoiceTexts.clear();
        CancelResult = -1;
        Digits = 0;
        Top = TopOf(Options.Position);
        if (Options.AvoidHero && Hides(Top)) {
            if (Options.Position == 1)
                Top = Hides(TopOf(2)) ? TopOf(0) : TopOf(2);
            else
                Top = TopOf(Options.Position == 0 ? 2 : 0);
        }
    }
    bool Hides(int top) const { return HeroY + kHeroBelow > top && HeroY - kHeroAbove < top + kWindowHeight; }

    // Lays the items of a line out from x on; colour codes take effect here.
    std::vector<TStep> Layout(const std::vector<TMessageItem>& items, int line, int x, int& colour) const {
        std::vector<TStep> steps;
        for (const TMessageItem& item : items) {
            if (item.Op == TMessageOp::Colour) {
                colour = item.Value;
                continue;
            }
            steps.push_back({item, line, x, colour});
            if (item.Op == TMessageOp::Char)
                x += item.Char.Width;
        }
        return steps;
    }

    // Shows the next steps: one letter (or all of them while instant), stopping at a wait.
    void Reveal(bool all) {
        while (Next < Steps.size()) {
            const TMessageItem& item = Steps[Next++].Item;
            switch (item.Op) {
            case TMessageOp::Char:
                if (!all && !Instant) {
                    Delay = LetterSteps - 1;
                    return;
                }
                break;
            case TMessageOp::Speed:
                LetterSteps = item.Value;
                break;
            case TMessageOp::Wait:
                if (!all) {
                    Delay = item.Value;
                    return;
                }
                break;
            case TMessageOp::WaitKey:
                Phase = TPhase::WaitKey;
                return;
            case TMessageOp::InstantOn:
                Instant = true;
                break;
            case TMessageOp::InstantOff:
                Instant = false;
                break;
            case TMessageOp::CloseNoKey:
                CloseNoKey = true;
                break;
            case TMessageOp::Colour:
                break;
            }
        }
        TextDone();
    }

    void TextDone() {
        if (HasPrompt()) {
            if (MessageLines + PromptLines() <= kLines) {
                StartPrompt(MessageLines);
            } else {
                Phase = TPhase::PageBreak;
            }
        } else if (CloseNoKey) {
            Close();
        } else {
            Phase = TPhase::WaitClose;
        }
    }

    void StartPrompt(int line) {
        PromptLine = line;
        Phase = Digits > 0 ? TPhase::Number : TPhase::Choices;
    }

    void Close() { Phase = TPhase::Closed; }

    void Choose(int result) {
        ChoiceResult = result;
        Chosen.push_back(result);
        Close();
    }

    void UpdateNumber(const TGameInput& input) {
        int& digit = DigitValues[static_cast<std::size_t>(DigitIndex)];
        if (input.Repeated(gbUp))
            digit = (digit + 1) % 10;
        else if (input.Repeated(gbDown))
            digit = (digit + 9) % 10;
        else if (input.Repeated(gbRight))
            DigitIndex = input.Pressed(gbRight) ? (DigitIndex + 1) % Digits : std::min(DigitIndex + 1, Digits - 1);
        else if (input.Repeated(gbLeft))
            DigitIndex = input.Pressed(gbLeft) ? (DigitIndex + Digits - 1) % Digits : std::max(DigitIndex - 1, 0);
        if (input.Pressed(gbDecide)) {
            NumberResult = 0;
            for (int value : DigitValues)
                NumberResult = NumberResult * 10 + value;
            Close();
        }
    }

    void DrawSteps(TOrlenBoard& board, const std::vector<TStep>& steps, std::size_t count, int x0) {
        for (std::size_t i = 0; i < count && i < steps.size(); ++i) {
            const TStep& s = steps[i];
            if (s.Item.Op == TMessageOp::Char && s.Line < kLines)
                Skin.DrawChar(board, x0 + s.X, LineTop(s.Line) + kTextTop, s.Item.Char, s.Colour);
        }
    }
};

TGameMessageWindow::TGameMessageWindow(TGameSkin& skin) : mState(std::make_unique<TState>(skin)) {}
TGameMessageWindow::~TGameMessageWindow() = default;

void TGameMessageWindow::SetOptions(const TMessageOptions& options) { mState->Options = options; }
const TMessageOptions& TGameMessageWindow::Options() const { return mState->Options; }
void TGameMessageWindow::SetFace(const TFaceOptions& face) { mState->Face = face; }
void TGameMessageWindow::SetHeroScreenY(int y) { mState->HeroY = y; }

void TGameMessageWindow::ShowMessage(const std::vector<std::string>& lines, const IMessageSource& source) {
    TState& s = *mState;
    s.Close();
    s.Open();
    std::string shown;
    int colour = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<TMessageItem> items = ExpandMessageLine(lines[i], source);
        if (i > 0)
            shown += '\n';
        shown += ShownBytes(items);
        const std::vector<TStep> steps = s.Layout(items, static_cast<int>(i), 0, colour);
        s.Steps.insert(s.Steps.end(), steps.begin(), steps.end());
    }
    s.MessageLines = std::min(static_cast<int>(lines.size()), kLines);
    s.Shown.push_back(Cp932ToUtf8(shown));
}

void TGameMessageWindow::ShowChoices(const std::vector<std::string>& choices, int cancelResult,
                                     const IMessageSource& source) {
    TState& s = *mState;
    s.Open();
    s.Digits = 0;
    s.ChoiceTexts.clear();
    const int count = std::min(static_cast<int>(choices.size()), kMaxChoices);
    for (int i = 0; i < count; ++i) {
        int colour = 0;
        s.ChoiceTexts.push_back(s.Layout(ExpandMessageLine(choices[static_cast<std::size_t>(i)], source), 0, 0, colour));
    }
    s.CancelResult = cancelResult < -1 || cancelResult > count ? -1 : cancelResult;
    s.Cursor = TMenuCursor(count, 1);
    s.ChoiceResult = -1;
    if (s.Phase == TPhase::WaitClose)  // asked for after the text was out: show them now
        s.TextDone();
}

void TGameMessageWindow::InputNumber(int digits) {
    TState& s = *mState;
    s.Open();
    s.ChoiceTexts.clear();
    s.Digits = std::clamp(digits, 1, kMaxDigits);
    s.DigitValues.assign(static_cast<std::size_t>(s.Digits), 0);
    s.DigitIndex = 0;
    s.NumberResult = 0;
    if (s.Phase == TPhase::WaitClose)
        s.TextDone();
}

bool TGameMessageWindow::Busy() const { return mState->Phase != TPhase::Closed; }

void TGameMessageWindow::Update(const TGameInput& input) {
    TState& s = *mState;
    ++s.Step;
    switch (s.Phase) {
    case TPhase::Closed:
        break;
    case TPhase::Typing:
        if (input.Pressed(gbDecide))
            s.Reveal(true);
        else if (s.Delay > 0)
            --s.Delay;
        else
            s.Reveal(false);
        break;
    case TPhase::WaitKey:
        if (input.Pressed(gbDecide)) {
            s.Phase = TPhase::Typing;
            s.Reveal(false);
        }
        break;
    case TPhase::PageBreak:
        if (input.Pressed(gbDecide)) {
            s.PageCleared = true;
            s.StartPrompt(0);
        }
        break;
    case TPhase::Choices:
        if (input.Pressed(gbDecide) && s.Cursor.Count() > 0)
            s.Choose(s.Cursor.Index());
        else if (input.Pressed(gbCancel) && s.CancelResult >= 0)
            s.Choose(s.CancelResult);
        else
            s.Cursor.Move(input);
        break;
    case TPhase::Number:
        s.UpdateNumber(input);
        break;
    case TPhase::WaitClose:
        if (input.Pressed(gbDecide))
            s.Close();
        break;
    }
}

void TGameMessageWindow::Draw(TOrlenBoard& screen) {
    TState& s = *mState;
    if (s.Phase == TPhase::Closed)
        return;
    const TRect rect = MakeBounds(0, s.Top, kWindowWidth, kWindowHeight);
    if (!s.Options.Transparent)
        s.Skin.DrawWindow(screen, rect);
    if (!s.Face.FaceSet.empty()) {
        const int faceX = s.Face.Right ? kWindowWidth - kBorder - kFaceSize : kBorder;
        s.Skin.DrawFace(screen, faceX, s.Top + kBorder + (kLines * kLineHeight - kFaceSize) / 2, s.Face.FaceSet,
                        s.Face.Index, s.Face.Mirror);
    }
    const int left = s.TextLeft();
    if (!s.PageCleared)
        s.DrawSteps(screen, s.Steps, s.Next, left);
    const int promptLeft = left + kPromptIndent;
    if (s.Phase == TPhase::Choices) {
        int widest = 0;
        for (const std::vector<TStep>& steps : s.ChoiceTexts)
            for (const TStep& step : steps)
                widest = std::max(widest, step.X + step.Item.Char.Width);
        const int cursorWidth = std::max(widest + 8, 32);
        s.Skin.DrawCursor(screen, MakeBounds(promptLeft - 4, s.LineTop(s.PromptLine + s.Cursor.Index()), cursorWidth, kLineHeight),
                          s.Step);
        for (std::size_t i = 0; i < s.ChoiceTexts.size(); ++i) {
            std::vector<TStep> steps = s.ChoiceTexts[i];
            for (TStep& step : steps)
                step.Line = s.PromptLine + static_cast<int>(i);
            s.DrawSteps(screen, steps, steps.size(), promptLeft);
        }
    } else if (s.Phase == TPhase::Number) {
        const int top = s.LineTop(s.PromptLine);
        s.Skin.DrawCursor(screen, MakeBounds(promptLeft + s.DigitIndex * kDigitWidth - 1, top, kDigitWidth + 2, kLineHeight),
                          s.Step);
        for (int i = 0; i < s.Digits; ++i) {
            const char digit = static_cast<char>('0' + s.DigitValues[static_cast<std::size_t>(i)]);
            s.Skin.DrawText(screen, promptLeft + i * kDigitWidth + 1, top + kTextTop, std::string_view(&digit, 1));
        }
    } else if (s.Phase != TPhase::Typing) {
        s.Skin.DrawPause(screen, (kWindowWidth - skin::kPause.Width()) / 2,
                         s.Top + kWindowHeight - skin::kPause.Height() + 2, s.Step);
    }
}

int TGameMessageWindow::WindowTop() const { return mState->Top; }
int TGameMessageWindow::ChoiceResult() const { return mState->ChoiceResult; }
std::int32_t TGameMessageWindow::NumberResult() const { return mState->NumberResult; }
const std::vector<std::string>& TGameMessageWindow::ShownTexts() const { return mState->Shown; }
const std::vector<int>& TGameMessageWindow::Choices() const { return mState->Chosen; }

}  // namespace quillon::runtime
