// Any bytes as kabinet.cfg: adding a list's entry changes only the emulators lines, each by the
// entry at its end, keeps every other line byte for byte, and removing the entry again gives
// back each emulators line that did not hold it already.
#include "core/launcher/launcher_config.h"
#include "core/textfile/lines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "favorizer-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        return pattern;
    }();
    return folder;
}

std::vector<std::string> ConfigLines() {
    std::ifstream file(Folder() + "/kabinet.cfg", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    return fav::SplitLines(bytes);
}

// Whether the line holds the field (one with no space in it) between single spaces or its ends.
bool HoldsField(const std::string& line, const std::string& field) {
    return (" " + line + " ").find(" " + field + " ") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte picks a key of one to twelve letters, as the keyboard types them.
    const std::string key(1 + data[0] % 12, static_cast<char>('A' + data[0] % 26));
    const std::string entry = "kbfav" + key;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    {
        std::ofstream file(Folder() + "/kabinet.cfg", std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::vector<std::string> before = fav::SplitLines(bytes);

    if (!fav::AddListEntry(Folder(), key)) {
        std::abort();
    }
    const std::vector<std::string> added = ConfigLines();
    if (added.size() != before.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool emulators = fav::IsEmulatorsLine(before[i]);
        if (added[i] != (emulators ? before[i] + " " + entry : before[i])) {
            std::abort();
        }
    }

    if (!fav::RemoveListEntry(Folder(), key)) {
        std::abort();
    }
    const std::vector<std::string> removed = ConfigLines();
    if (removed.size() != before.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool emulators = fav::IsEmulatorsLine(before[i]);
        const bool restorable =
            !HoldsField(before[i], entry) && (before[i].empty() || before[i].back() != ' ');
        if ((!emulators || restorable) && removed[i] != before[i]) {
            std::abort();
        }
    }
    return 0;
}
