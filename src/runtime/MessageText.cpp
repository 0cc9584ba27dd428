#include "runtime/MessageText.h"

#include "runtime/GameMessage.h"
#include "runtime/GameText.h"

#include <algorithm>
#include <optional>

namespace quillon::runtime {

namespace {

// The number of a code's "[n]" starting at pos; end is set after the "]". Up to nine digits.
std::optional<int> Argument(std::string_view line, std::size_t pos, std::size_t& end) {
    if (pos >= line.size() || line[pos] != '[')
        return std::nullopt;
    int value = 0;
    std::size_t i = pos + 1;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (i - pos > 9)
            return std::nullopt;
        value = value * 10 + (line[i] - '0');
    }
    if (i == pos + 1 || i >= line.size() || line[i] != ']')
        return std::nullopt;
    end = i + 1;
    return value;
}

void AddText(std::vector<TMessageItem>& items, std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        TMessageItem item;
        item.Char = DecodeCp932(text, pos);
        item.Bytes = std::string(text.substr(pos, item.Char.Length));
        pos += item.Char.Length;
        items.push_back(std::move(item));
    }
}

void AddOp(std::vector<TMessageItem>& items, TMessageOp op, int value = 0) {
    TMessageItem item;
    item.Op = op;
    item.Value = value;
    items.push_back(std::move(item));
}

}  // namespace

std::vector<TMessageItem> ExpandMessageLine(std::string_view line, const IMessageSource& source) {
    std::vector<TMessageItem> items;
    for (std::size_t pos = 0; pos < line.size();) {
        const TCp932Char c = DecodeCp932(line, pos);
        if (c.Set != TCharSet::Latin || c.Code != '\\' || pos + 1 >= line.size()) {
            AddText(items, line.substr(pos, c.Length));
            pos += c.Length;
            continue;
        }
        char letter = line[pos + 1];
        if (letter >= 'a' && letter <= 'z')
            letter = static_cast<char>(letter - 'a' + 'A');
        std::size_t end = pos + 2;
        bool done = true;
        switch (letter) {
        case '\\':
            AddText(items, "\\");
            break;
        case '$':
            AddText(items, std::to_string(source.Money()) + source.MoneyUnit());
            break;
        case '.':
            AddOp(items, TMessageOp::Wait, kShortWaitSteps);
            break;
        case '|':
            AddOp(items, TMessageOp::Wait, kLongWaitSteps);
            break;
        case '!':
            AddOp(items, TMessageOp::WaitKey);
            break;
        case '>':
            AddOp(items, TMessageOp::InstantOn);
            break;
        case '<':
            AddOp(items, TMessageOp::InstantOff);
            break;
        case '^':
            AddOp(items, TMessageOp::CloseNoKey);
            break;
        case 'V':
        case 'N':
        case 'C':
        case 'S': {
            const std::optional<int> n = Argument(line, pos + 2, end);
            if (!n) {
                done = false;
                break;
            }
            if (letter == 'V')
                AddText(items, std::to_string(source.Variable(*n)));
            else if (letter == 'N')
                AddText(items, *n == 0 ? source.PartyMemberName(1) : source.HeroName(*n));
            else if (letter == 'C')
                AddOp(items, TMessageOp::Colour, *n < skin::kTextColours ? *n : 0);
            else
                AddOp(items, TMessageOp::Speed, std::clamp(*n, 1, kMaxLetterSteps));
            break;
        }
        default:
            done = false;
            break;
        }
        if (!done) {  // not a code: the backslash shows as it is
            AddText(items, "\\");
            end = pos + 1;
        }
        pos = end;
    }
    return items;
}

std::string ShownBytes(const std::vector<TMessageItem>& items) {
    std::string text;
    for (const TMessageItem& item : items)
        if (item.Op == TMessageOp::Char)
            text += item.Bytes;
    return text;
}

}  // namespace quillon::runtime
