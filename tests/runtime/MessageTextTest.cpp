#include "runtime/MessageText.h"

#include "TextFixture.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

// The control items of a line, written short: "C2" colour 2, "S5" speed, "W15" wait, "K" key,
// "I" instant on, "i" instant off, "X" close without key.
std::string Controls(const std::vector<TMessageItem>& items) {
    std::string text;
    for (const TMessageItem& item : items) {
        switch (item.Op) {
        case TMessageOp::Char:
            break;
        case TMessageOp::Colour:
            text += "C" + std::to_string(item.Value) + " ";
            break;
        case TMessageOp::Speed:
            text += "S" + std::to_string(item.Value) + " ";
            break;
        case TMessageOp::Wait:
            text += "W" + std::to_string(item.Value) + " ";
            break;
        case TMessageOp::WaitKey:
            text += "K ";
            break;
        case TMessageOp::InstantOn:
            text += "I ";
            break;
        case TMessageOp::InstantOff:
            text += "i ";
            break;
        case TMessageOp::CloseNoKey:
            text += "X ";
            break;
        }
    }
    return text;
}

TEST(MessageText, ExpandsTheTextCodes) {
    const test::TFakeSource source;
    struct TCase {
        std::string Line;
        std::string Shown;
        std::string Controls;
    } cases[] = {
        {"plain", "plain", ""},
        {"v=\\V[1]!", "v=42!", ""},
        {"\\v[2]", "-7", ""},
        {"\\V[0001]", "42", ""},
        {"\\V[99]", "0", ""},
        {"\\N[0] and \\N[2]", "Alex and Hero2", ""},
        {"\\n[9]", "", ""},
        {"\\$", "1234G", ""},
        {"a\\\\b", "a\\b", ""},
        {"\\\\V[1]", "\\V[1]", ""},
        {"\\C[2]red\\C[0]", "red", "C2 C0 "},
        {"\\C[20]", "", "C0 "},
        {"\\S[5]\\S[0]\\S[99]", "", "S5 S1 S20 "},
        {"a\\.b\\|c", "abc", "W15 W60 "},
        {"\\!\\>\\<\\^", "", "K I i X "},
        // Not codes: shown as they are.
        {"\\Q", "\\Q", ""},
        {"\\V", "\\V", ""},
        {"\\V[", "\\V[", ""},
        {"\\V[]", "\\V[]", ""},
        {"\\V[x]", "\\V[x]", ""},
        {"\\V[1", "\\V[1", ""},
        {"\\V[1234567890]", "\\V[1234567890]", ""},
        {"end\\", "end\\", ""},
        // The second byte of a double-byte character is never a backslash.
        {"\x83\x5CV[1]", "\x83\x5CV[1]", ""},
        {"\x83\x5C\\V[1]", "\x83\x5C" "42", ""},
        // Names and values are shown, not read for codes again.
        {"\\N[3]\\V[1]", "Hero342", ""},
    };
    for (const TCase& c : cases) {
        const std::vector<TMessageItem> items = ExpandMessageLine(c.Line, source);
        EXPECT_EQ(ShownBytes(items), c.Shown) << c.Line;
        EXPECT_EQ(Controls(items), c.Controls) << c.Line;
    }
}

TEST(MessageText, NamesWithCodesStayText) {
    class TSource : public test::TFakeSource {
        std::string HeroName(int) const override { return "\\V[1]"; }
    } source;
    EXPECT_EQ(ShownBytes(ExpandMessageLine("\\N[1]", source)), "\\V[1]");
}

}  // namespace
}  // namespace quillon::runtime
