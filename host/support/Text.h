// The small text operations every reader of the host's files shares.
#pragma once

#include <string_view>

namespace aeroquin::host {

// Blanks, tabs and line-end characters: what every host file trims around keys and values.
[[nodiscard]] constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// `text` without blanks at either end.
[[nodiscard]] constexpr std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// ASCII letters in lower case; every other byte as it is.
[[nodiscard]] constexpr char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII case-insensitive equality; other bytes compare exactly.
[[nodiscard]] constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace aeroquin::host
