#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// A line ends at CR LF, at a CR alone, or at the end of the text. A line feed without a carriage
// return before it is an ordinary character of the line. Text that ends with a line end yields no
// empty line after it, and empty text yields no line at all.
template <typename Visit> void ForEachLine(std::string_view text, Visit&& visit) {
    const char* cursor = text.data();
    const char* const end = cursor + text.size();
    while (cursor < end) {
        const auto* cr = static_cast<const char*>(std::memchr(cursor, '\r', end - cursor));
        if (cr == nullptr) {
            visit(std::string_view(cursor, end - cursor));
            return;
        }
        visit(std::string_view(cursor, cr - cursor));
        cursor = cr + 1;
        if (cursor < end && *cursor == '\n') {
            ++cursor;
        }
    }
}

std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF; no lines gives empty text.
std::string JoinLines(const std::vector<std::string>& lines);

inline constexpr std::string_view LineEnd = "\r\n";

} // namespace fav
