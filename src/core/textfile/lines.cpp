#include "core/textfile/lines.h"

namespace fav {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + LineEnd.size();
    }
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += LineEnd;
    }
    return text;
}

} // namespace fav
