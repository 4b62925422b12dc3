// Any bytes as a game list: the block-wise line splitter and the ROM name agree with plain
// byte-by-byte readings of the same rules.
#include "core/launcher/game_list.h"
#include "core/textfile/lines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string_view PlainRomName(std::string_view line) {
    std::size_t length = 0;
    while (length < line.size()) {
        const auto c = static_cast<unsigned char>(line[length]);
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            break;
        }
        ++length;
    }
    return line.substr(0, length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fav::GameLines lines(bytes);
    const std::vector<std::string> plain = fav::SplitLines(bytes);
    if (lines.size() != plain.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (lines[i] != plain[i] || fav::ExtractRomName(lines[i]) != PlainRomName(plain[i])) {
            std::abort();
        }
    }
    return 0;
}
