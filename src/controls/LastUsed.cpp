#include "controls/LastUsed.h"

namespace quillon {

std::map<std::string, std::any, std::less<>>& TLastUsed::Values() {
    static std::map<std::string, std::any, std::less<>> values;
    return values;
}

void TLastUsed::Forget(std::string_view prefix) {
    auto& values = Values();
    for (auto it = values.begin(); it != values.end();)
        it = std::string_view(it->first).substr(0, prefix.size()) == prefix ? values.erase(it) : std::next(it);
}

}  // namespace quillon
