#pragma once

#include <string_view>

namespace fav {

// Letter case is folded for ASCII letters only: the launcher's keys and fixed file names are
// ASCII, and a byte above 127 can never fold to one of them.
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the first prefix.size() characters of `text`, lower-cased, equal `prefix` (which is
// written in lower case). Shorter text never matches.
constexpr bool StartsWithLowered(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

} // namespace fav
