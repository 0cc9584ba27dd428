// How every verb reads its arguments: numbers through ReadNumber (platform/NumberText.h), and
// settings given as KEY=VALUE.
#pragma once

#include "platform/NumberText.h"

#include <optional>
#include <string>
#include <utility>

namespace quillon::cli {

// A "KEY=VALUE" argument split at its first '='; nothing without an '=' or with an empty key.
inline std::optional<std::pair<std::string, std::string>> KeyValue(const std::string& arg) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0)
        return std::nullopt;
    return std::pair{arg.substr(0, eq), arg.substr(eq + 1)};
}

}  // namespace quillon::cli
