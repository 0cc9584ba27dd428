// The last-used values of dialogs, selectors and tool dialogs: kept program-wide for the run,
// offered the next time a dialog opens, never stored. One place holds them all, by key
// ("<dialog>.<value>"), so a test can forget them together.
#pragma once

#include <any>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

class TLastUsed {
public:
    // The value of a key, made with `initial` on first use. A key always holds one type.
    template <typename T>
    static T& Value(std::string_view key, T initial = T{}) {
        auto& values = Values();
        auto it = values.find(key);
        if (it == values.end())
            it = values.emplace(std::string(key), std::any(std::move(initial))).first;
        if (T* value = std::any_cast<T>(&it->second))
            return *value;
        throw std::logic_error("the last-used value \"" + std::string(key) + "\" is kept as another type");
    }
    // Forgets the values whose keys begin with `prefix` (all of them for "").
    static void Forget(std::string_view prefix = {});

private:
    static std::map<std::string, std::any, std::less<>>& Values();
};

}  // namespace quillon
