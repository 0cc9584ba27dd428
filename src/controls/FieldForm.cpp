#include "controls/FieldForm.h"

#include "platform/Cp932Limit.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <optional>

namespace quillon {

const TFieldSpec* TFieldForm::Find(const std::string& widget) const {
    for (const TFieldSpec& field : Fields)
        if (field.Widget == widget)
            return &field;
    return nullptr;
}

TFieldValue NormalizeFieldValue(const TFieldSpec& field, TFieldValue value) {
    switch (field.Kind) {
    case TFieldKind::Text:
    case TFieldKind::MultiLineText:
    case TFieldKind::Resource: {
        auto* text = std::get_if<std::string>(&value);
        if (!text)
            return field.Default;
        if (field.MaxBytes > 0)
            *text = LimitCp932Bytes(*text, field.MaxBytes);
        return value;
    }
    case TFieldKind::Group: return value;
    default: break;
    }
    auto* number = std::get_if<std::int32_t>(&value);
    if (!number)
        return field.Default;
    switch (field.Kind) {
    case TFieldKind::Number:
        if (field.Min <= field.Max)
            *number = std::clamp(*number, field.Min, field.Max);
        break;
    case TFieldKind::Check: *number = *number != 0 ? 1 : 0; break;
    case TFieldKind::RadioGroup:
    case TFieldKind::DropDown:
        if (*number < 0 || *number > field.Max)
            return field.Default;
        break;
    case TFieldKind::Colour: *number &= 0xFFFFFF; break;
    default: break;
    }
    return value;
}

namespace {

bool ParseInt(const std::string& text, std::int32_t& value) {
    const std::optional<std::int32_t> read = ReadNumber32(text);
    value = read.value_or(value);
    return read.has_value();
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

bool TFieldBinding::SetByKey(const std::string& key, const std::string& text, std::string& error) {
    const TFieldSpec* found = nullptr;
    std::size_t index = 0;
    for (; index < Count(); ++index)
        if (Field(index).Key == key) {
            found = &Field(index);
            break;
        }
    if (!found || !found->Set) {
        error = "unknown setting " + Quoted(key);
        return false;
    }
    const TFieldSpec& field = *found;
    TFieldValue value;
    std::int32_t n = 0;
    switch (field.Kind) {
    case TFieldKind::Text:
    case TFieldKind::MultiLineText:
    case TFieldKind::Resource:
    case TFieldKind::MapPlace:  // "map,x,y", read by the field's setter
        if (field.MaxBytes > 0 && text.size() > field.MaxBytes) {
            error = "a name holds at most " + std::to_string(field.MaxBytes) + " bytes";
            return false;
        }
        if (!field.Set(mRecord, text)) {
            error = field.Refusal.empty() ? Quoted(text) + " is refused" : field.Refusal;
            return false;
        }
        break;
    case TFieldKind::Check:
        if (text == "1" || text == "on" || text == "true")
            n = 1;
        else if (text == "0" || text == "off" || text == "false")
            n = 0;
        else {
            error = Quoted(text) + " is not on or off (1 or 0)";
            return false;
        }
        field.Set(mRecord, n);
        break;
    case TFieldKind::IdList:
        if (field.Items && field.Min == 0 && field.Max == 0) {
            // A list without a range of its own takes the IDs it offers.
            const std::vector<TFieldChoice> items = field.Items(mRecord);
            if (!ParseInt(text, n) || std::none_of(items.begin(), items.end(),
                                                   [n](const TFieldChoice& item) { return item.Id == n; })) {
                error = Quoted(text) + " is not an ID the list offers";
                return false;
            }
            if (!field.Set(mRecord, n)) {
                error = field.Refusal.empty() ? Quoted(text) + " is refused" : field.Refusal;
                return false;
            }
            break;
        }
        [[fallthrough]];
    default: {
        const bool ranged = field.Kind == TFieldKind::Number || field.Kind == TFieldKind::IdList ||
                            field.Kind == TFieldKind::Switch || field.Kind == TFieldKind::Variable;
        const std::int32_t low = ranged ? field.Min : 0;
        const std::int32_t high = field.Max;
        if (!ParseInt(text, n) || n < low || n > high) {
            error = Quoted(text) + " is not a number from " + std::to_string(low) + " to " + std::to_string(high);
            return false;
        }
        if (!field.Set(mRecord, n)) {
            error = field.Refusal.empty() ? Quoted(text) + " is refused" : field.Refusal;
            return false;
        }
        break;
    }
    }
    mModified = true;
    Changed(index);
    return true;
}

TFieldValue TFieldBinding::Value(std::size_t index) const {
    const TFieldSpec& field = Field(index);
    return field.Get ? field.Get(mRecord) : field.Default;
}

std::int32_t TFieldBinding::Number(std::size_t index) const {
    const TFieldValue value = Value(index);
    const auto* n = std::get_if<std::int32_t>(&value);
    return n ? *n : 0;
}

std::string TFieldBinding::Text(std::size_t index) const {
    TFieldValue value = Value(index);
    auto* s = std::get_if<std::string>(&value);
    return s ? std::move(*s) : std::string();
}

bool TFieldBinding::Enabled(std::size_t index) const {
    const TFieldSpec& field = Field(index);
    return !field.Enabled || field.Enabled(mRecord);
}

bool TFieldBinding::ChoiceEnabled(std::size_t index, int choice) const {
    const TFieldSpec& field = Field(index);
    return Enabled(index) && (!field.ChoiceEnabled || field.ChoiceEnabled(mRecord, choice));
}

std::vector<TFieldChoice> TFieldBinding::Items(std::size_t index) const {
    const TFieldSpec& field = Field(index);
    return field.Items ? field.Items(mRecord) : std::vector<TFieldChoice>{};
}

std::vector<bool> TFieldBinding::EnabledWith(std::size_t index, const TFieldValue& value) const {
    const TFieldSpec& field = Field(index);
    std::vector<bool> enabled;
    if (!mOnCopy || !field.Set || !field.HasValue())
        return enabled;
    const TFieldValue normal = NormalizeFieldValue(field, value);
    mOnCopy(mRecord, [&](void* copy) {
        if (!field.Set(copy, normal) || field.Get(copy) != normal)
            return;
        for (const TFieldSpec& other : mForm->Fields)
            enabled.push_back(!other.Enabled || other.Enabled(copy));
    });
    return enabled;
}

bool TFieldBinding::SetValue(std::size_t index, TFieldValue value) {
    const TFieldSpec& field = Field(index);
    if (!field.Set || !field.HasValue() || !Enabled(index))
        return false;
    value = NormalizeFieldValue(field, std::move(value));
    if (field.Kind == TFieldKind::RadioGroup)
        if (const auto* n = std::get_if<std::int32_t>(&value); n && !ChoiceEnabled(index, *n))
            return false;
    const TFieldValue before = Value(index);
    if (value == before)
        return false;
    // A setter may keep a rule of its own and refuse: then nothing changed.
    if (!field.Set(mRecord, value) || Value(index) == before)
        return false;
    mModified = true;
    Changed(index);
    return true;
}

bool TFieldBinding::Choose(std::size_t index) {
    const TFieldSpec& field = Field(index);
    if (!field.Choose || !Enabled(index))
        return false;
    if (!field.Choose(mRecord))
        return false;
    mModified = true;
    Changed(index);
    return true;
}

}  // namespace quillon
