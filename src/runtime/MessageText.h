// The text codes of messages and choices, expanded when a line is shown:
//   \V[n] the value of variable n        \N[n] the name of hero n (\N[0]: the party's first member)
//   \$    the party's money and the currency unit
//   \C[n] text colour n (0..19) from here on   \S[n] n steps per letter (1..20, normally 2) from here on
//   \.    a wait of a quarter second      \|    a wait of a second
//   \!    wait for the decide key         \>    letters show at once from here on, until \<
//   \^    the window closes when the text is out, without the decide key
//   \\    a backslash
// The letter after the backslash may be upper or lower case. Any other backslash, and a code whose
// [n] is missing or not a number, shows as it is. A backslash is only ever a whole character: the
// second byte of a double-byte character is never taken for one.
#pragma once

#include "runtime/GameFont.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillon::runtime {

class IMessageSource;

enum class TMessageOp : std::uint8_t {
    Char,        // a character to show (Char)
    Colour,      // the text colour from here on (Value)
    Speed,       // steps per letter from here on (Value)
    Wait,        // a wait of Value steps
    WaitKey,     // wait for the decide key
    InstantOn,   // show the letters at once
    InstantOff,  // back to letter by letter
    CloseNoKey,  // close without the decide key
};

struct TMessageItem {
    TMessageOp Op = TMessageOp::Char;
    TCp932Char Char;
    std::string Bytes;  // the character's bytes (Char only)
    int Value = 0;
    bool operator==(const TMessageItem&) const = default;
};

inline constexpr int kDefaultLetterSteps = 2;
inline constexpr int kMaxLetterSteps = 20;
inline constexpr int kShortWaitSteps = 15;
inline constexpr int kLongWaitSteps = 60;

// The items of one line with its codes expanded.
std::vector<TMessageItem> ExpandMessageLine(std::string_view line, const IMessageSource& source);
// The characters of expanded items, as code page 932 bytes.
std::string ShownBytes(const std::vector<TMessageItem>& items);

}  // namespace quillon::runtime
