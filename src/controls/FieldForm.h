// A dialog's or page's fields described once: each field names its widget, its label, its kind,
// the record field it edits (a member pointer or a getter and setter), its range, choices or
// byte limit, and the rule that enables it. A description is made for one record type and bound
// to one record at a time (TFieldBinding); the Qt binder builds or finds the widgets from it, so
// no dialog repeats a field's wiring.
#pragma once

#include "platform/Signal.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <variant>
#include <vector>

namespace quillon {

enum class TFieldKind {
    Text,           // one line of CP932 bytes, at most MaxBytes
    MultiLineText,  // several lines of CP932 bytes
    Number,         // an integer from Min to Max
    Check,          // on or off
    RadioGroup,     // one of Choices (0-based)
    DropDown,       // one of Choices (0-based)
    IdList,         // an ID of a list, shown "%.4d:%s"; the IDs come with the binding
    Resource,       // a dash box: shows a text, its chooser edits the record
    Switch,         // a switch ID, chosen with the switch picker
    Variable,       // a variable ID, chosen with the variable picker
    MapPlace,       // a map and a cell, chosen with the place picker
    Colour,         // an RGB colour
    Group,          // no value: a box, label or panel that only follows an enabling rule
};

// A field's value between record and widget: numbers, choices, IDs, flags and colours as
// integers; texts as their bytes.
using TFieldValue = std::variant<std::int32_t, std::string>;

// What an ID list offers: ID and name bytes.
struct TFieldChoice {
    std::int32_t Id = 0;
    std::string Name;
};

struct TFieldSpec {
    std::string Widget;  // object name of the widget it binds to (or builds)
    std::string Label;   // caption with its mnemonic ("&Name"); "" when the widget has its own
    TFieldKind Kind = TFieldKind::Group;
    std::int32_t Min = 0, Max = 0;      // Number
    std::size_t MaxBytes = 0;           // Text, MultiLineText (0: no limit)
    std::vector<std::string> Choices;   // RadioGroup: the buttons' object names; DropDown: captions
    TFieldValue Default = std::int32_t{0};
    bool BlankWhenDisabled = false;     // a disabled number box shows nothing
    std::vector<std::string> Companions;  // widgets that share the field's enabling (its label ...)
    std::string Key;      // the field's name on the command line ("width"); "" for none
    std::string Refusal;  // why the record refused a value it was given by its key

    // Over the bound record (type-checked when bound).
    std::function<TFieldValue(const void*)> Get;
    std::function<bool(void*, const TFieldValue&)> Set;  // empty: read-only; false: refused
    std::function<bool(const void*)> Enabled;             // empty: always
    std::function<bool(const void*, int choice)> ChoiceEnabled;  // RadioGroup: per button
    std::function<std::vector<TFieldChoice>(const void*)> Items;  // IdList
    std::function<bool(void*)> Choose;                    // Resource and pickers: true when changed

    bool HasValue() const { return Kind != TFieldKind::Group; }
};

struct TFieldForm {
    std::type_index Record = typeid(void);
    std::vector<TFieldSpec> Fields;

    // The field bound to a widget, or nullptr.
    const TFieldSpec* Find(const std::string& widget) const;
};

// Keeps a value in a field's range: numbers clamped, choices kept within the choices, texts cut
// to the byte limit without splitting a double-byte character.
TFieldValue NormalizeFieldValue(const TFieldSpec& field, TFieldValue value);

// Builds the description of a record type's fields.
template <typename R>
class TFieldFormBuilder {
public:
    TFieldFormBuilder() { mForm.Record = typeid(R); }

    // A field over a data member (integer, enum-like integer, bool or std::string).
    template <typename M>
    TFieldFormBuilder& Field(TFieldKind kind, std::string widget, std::string label, M R::*member) {
        TFieldSpec spec = Start(kind, std::move(widget), std::move(label));
        spec.Get = [member](const void* r) { return ToValue(static_cast<const R*>(r)->*member); };
        spec.Set = [member](void* r, const TFieldValue& v) {
            FromValue(v, static_cast<R*>(r)->*member);
            return true;
        };
        return Add(std::move(spec));
    }
    // A field read by a getter and written through a setter (which may keep its own rules).
    template <typename G, typename S>
    TFieldFormBuilder& Field(TFieldKind kind, std::string widget, std::string label, G get, S set) {
        TFieldSpec spec = Start(kind, std::move(widget), std::move(label));
        spec.Get = [get](const void* r) { return ToValue(std::invoke(get, *static_cast<const R*>(r))); };
        spec.Set = [set](void* r, const TFieldValue& v) { return CallSetter(set, *static_cast<R*>(r), v); };
        return Add(std::move(spec));
    }
    // A resource box: its text, and the chooser that edits the record.
    template <typename G, typename C>
    TFieldFormBuilder& Resource(std::string widget, std::string label, G text, C choose) {
        TFieldSpec spec = Start(TFieldKind::Resource, std::move(widget), std::move(label));
        // A box without a text of its own (a "Set..." button) keeps its caption.
        if constexpr (!std::is_null_pointer_v<G>)
            spec.Get = [text](const void* r) {
                return TFieldValue(std::string(std::invoke(text, *static_cast<const R*>(r))));
            };
        spec.Choose = [choose](void* r) { return static_cast<bool>(std::invoke(choose, *static_cast<R*>(r))); };
        return Add(std::move(spec));
    }
    // A widget without a value that only follows an enabling rule (a box titled `label`).
    TFieldFormBuilder& Group(std::string widget, std::string label = {}) {
        return Add(Start(TFieldKind::Group, std::move(widget), std::move(label)));
    }
    // How many fields have been added.
    std::size_t Count() const { return mForm.Fields.size(); }

    // --- what the last field added allows ---
    TFieldFormBuilder& Range(std::int32_t min, std::int32_t max) {
        Last().Min = min;
        Last().Max = max;
        return *this;
    }
    TFieldFormBuilder& Bytes(std::size_t maxBytes) {
        Last().MaxBytes = maxBytes;
        return *this;
    }
    TFieldFormBuilder& Choices(std::vector<std::string> choices) {
        Last().Choices = std::move(choices);
        Last().Max = static_cast<std::int32_t>(Last().Choices.size()) - 1;
        return *this;
    }
    TFieldFormBuilder& Default(TFieldValue value) {
        Last().Default = std::move(value);
        return *this;
    }
    TFieldFormBuilder& EnabledWhen(std::function<bool(const R&)> rule) {
        Last().Enabled = [rule = std::move(rule)](const void* r) { return rule(*static_cast<const R*>(r)); };
        return *this;
    }
    TFieldFormBuilder& ChoiceEnabledWhen(std::function<bool(const R&, int choice)> rule) {
        Last().ChoiceEnabled = [rule = std::move(rule)](const void* r, int c) { return rule(*static_cast<const R*>(r), c); };
        return *this;
    }
    TFieldFormBuilder& ItemsFrom(std::function<std::vector<TFieldChoice>(const R&)> items) {
        Last().Items = [items = std::move(items)](const void* r) { return items(*static_cast<const R*>(r)); };
        return *this;
    }
    TFieldFormBuilder& BlankWhenDisabled() {
        Last().BlankWhenDisabled = true;
        return *this;
    }
    TFieldFormBuilder& Key(std::string key, std::string refusal = {}) {
        Last().Key = std::move(key);
        Last().Refusal = std::move(refusal);
        return *this;
    }
    // How a value given by key reaches a field the dialog only shows (a resource box's name).
    TFieldFormBuilder& Writes(std::function<void(R&, const TFieldValue&)> write) {
        Last().Set = [write = std::move(write)](void* r, const TFieldValue& v) {
            write(*static_cast<R*>(r), v);
            return true;
        };
        return *this;
    }
    // The chooser of a picker field (switch, variable, place): true when it changed the record.
    TFieldFormBuilder& Chooses(std::function<bool(R&)> choose) {
        Last().Choose = [choose = std::move(choose)](void* r) { return choose(*static_cast<R*>(r)); };
        return *this;
    }
    TFieldFormBuilder& With(std::vector<std::string> companions) {
        Last().Companions = std::move(companions);
        return *this;
    }

    TFieldForm Build() { return std::move(mForm); }

private:
    static TFieldSpec Start(TFieldKind kind, std::string widget, std::string label) {
        TFieldSpec spec;
        spec.Kind = kind;
        spec.Widget = std::move(widget);
        spec.Label = std::move(label);
        return spec;
    }
    TFieldFormBuilder& Add(TFieldSpec spec) {
        mForm.Fields.push_back(std::move(spec));
        return *this;
    }
    TFieldSpec& Last() {
        if (mForm.Fields.empty())
            throw std::logic_error("a field form option before its first field");
        return mForm.Fields.back();
    }
    template <typename T>
    static TFieldValue ToValue(const T& value) {
        if constexpr (std::is_convertible_v<T, std::string>)
            return TFieldValue(std::string(value));
        else
            return TFieldValue(static_cast<std::int32_t>(value));
    }
    template <typename T>
    static void FromValue(const TFieldValue& v, T& target) {
        if constexpr (std::is_same_v<T, std::string>) {
            if (const auto* s = std::get_if<std::string>(&v))
                target = *s;
        } else if constexpr (std::is_same_v<T, bool>) {
            if (const auto* n = std::get_if<std::int32_t>(&v))
                target = *n != 0;
        } else {
            if (const auto* n = std::get_if<std::int32_t>(&v))
                target = static_cast<T>(*n);
        }
    }
    // Calls a setter with the value as its parameter type; a setter that answers bool may refuse.
    template <typename S>
    static bool CallSetter(S set, R& record, const TFieldValue& v) {
        const auto call = [&](auto&& arg) {
            using TResult = std::invoke_result_t<S, R&, decltype(arg)>;
            if constexpr (std::is_same_v<TResult, bool>)
                return std::invoke(set, record, std::forward<decltype(arg)>(arg));
            else {
                std::invoke(set, record, std::forward<decltype(arg)>(arg));
                return true;
            }
        };
        if constexpr (std::is_invocable_v<S, R&, const std::string&>) {
            const auto* s = std::get_if<std::string>(&v);
            return s && call(*s);
        } else {
            using TArg = typename TSetterArg<S>::Type;
            const auto* n = std::get_if<std::int32_t>(&v);
            return n && call(static_cast<TArg>(*n));
        }
    }
    template <typename S>
    struct TSetterArg {
        using Type = std::int32_t;
    };
    template <typename Ret, typename Arg>
    struct TSetterArg<Ret (R::*)(Arg)> {
        using Type = std::decay_t<Arg>;
    };

    TFieldForm mForm;
};

// A description bound to one record: values, enabling and changes, without any window. The
// binding answers what a widget shows and takes what the user gave; every change is announced.
class TFieldBinding {
public:
    template <typename R>
    TFieldBinding(const TFieldForm& form, R& record) : mForm(&form), mRecord(&record) {
        if (form.Record != typeid(R))
            throw std::logic_error("a field form bound to a record of another type");
        if constexpr (std::is_copy_constructible_v<R>)
            mOnCopy = [](const void* r, const std::function<void(void*)>& act) {
                R copy = *static_cast<const R*>(r);
                act(&copy);
            };
    }

    const TFieldForm& Form() const { return *mForm; }
    std::size_t Count() const { return mForm->Fields.size(); }
    const TFieldSpec& Field(std::size_t index) const { return mForm->Fields.at(index); }

    TFieldValue Value(std::size_t index) const;
    std::int32_t Number(std::size_t index) const;
    std::string Text(std::size_t index) const;
    bool Enabled(std::size_t index) const;
    bool ChoiceEnabled(std::size_t index, int choice) const;
    std::vector<TFieldChoice> Items(std::size_t index) const;

    // Which fields would be enabled with `value` in field `index`: the value is tried on a copy
    // of the record, which stays as it is (setters with side effects included). Empty when the
    // record cannot be copied or refuses the value.
    std::vector<bool> EnabledWith(std::size_t index, const TFieldValue& value) const;

    // The user's input: kept in range and written to the record. False when it changed nothing
    // (same value, a disabled field or choice, a read-only field).
    bool SetValue(std::size_t index, TFieldValue value);
    // A resource box or picker: runs its chooser; true when the record changed.
    bool Choose(std::size_t index);

    // A value given as text by the field's key, as the command-line tool gives it: checked
    // against the field's range, choices or byte limit and written directly (the record's own
    // rules apply; the enabling of the controls does not). False with the reason in `error`.
    bool SetByKey(const std::string& key, const std::string& text, std::string& error);

    // Announced after every change the binding made (the index of the field).
    TSignal<std::size_t> Changed;
    // Whether anything changed since binding (or since ClearModified).
    bool Modified() const { return mModified; }
    void ClearModified() { mModified = false; }

private:
    const TFieldForm* mForm;
    void* mRecord;
    bool mModified = false;
    std::function<void(const void*, const std::function<void(void*)>&)> mOnCopy;  // runs on a copy
};

}  // namespace quillon
