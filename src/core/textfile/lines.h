#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// A line ends at CR LF, at a CR alone, at a LF alone, or at the end of the text: the launcher's
// files come from Windows editors, Linux editors and MAME's own output alike. A LF followed by a
// CR is two line ends. Text that ends with a line end yields no empty line after it, and empty
// text yields no line at all.
template <typename Visit> void ForEachLine(std::string_view text, Visit&& visit) {
    if (text.empty()) {
        return;
    }
    const char* cursor = text.data();
    const char* const end = cursor + text.size();
    auto next = [end](const char* from, char c) {
        const auto* found = static_cast<const char*>(std::memchr(from, c, end - from));
        return found == nullptr ? end : found;
    };
    // The next CR and the next LF are each searched for again only once passed, so a text with
    // one kind of line end is not searched to its end for the other kind at every line.
    const char* cr = next(cursor, '\r');
    const char* lf = next(cursor, '\n');
    while (cursor < end) {
        const char* const stop = cr < lf ? cr : lf;
        visit(std::string_view(cursor, stop - cursor));
        if (stop == end) {
            return;
        }
        cursor = stop + 1;
        if (stop == cr && cursor < end && *cursor == '\n') {
            ++cursor;
        }
        if (cr < cursor) {
            cr = next(cursor, '\r');
        }
        if (lf < cursor) {
            lf = next(cursor, '\n');
        }
    }
}

std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF; no lines gives empty text.
std::string JoinLines(const std::vector<std::string>& lines);

inline constexpr std::string_view LineEnd = "\r\n";

} // namespace fav
