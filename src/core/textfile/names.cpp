#include "core/textfile/names.h"

#include "core/os/native_path.h"

namespace fav {

namespace {

// Only ASCII letters fold: the launcher's fixed names are ASCII, and a byte above 127 can never
// fold to one of them.
char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i])) {
            return false;
        }
    }
    return true;
}

std::string PathInFolder(const std::string& folder, std::string_view name, const FileIo& io) {
    std::string spelled = JoinPath(folder, name);
    FileInfo info;
    if (io.PathInfo(spelled, Links::NotFollowed, info) != OsError::FileNotFound) {
        // There, or not to be found in a folder that is not there either.
        return spelled;
    }
    std::vector<std::string> names;
    if (io.ListFolder(folder, names) != OsError::None) {
        return spelled;
    }
    const std::string* match = nullptr;
    for (const std::string& entry : names) {
        if (SameNameIgnoringCase(entry, name)) {
            if (match != nullptr) {
                return spelled;
            }
            match = &entry;
        }
    }
    return match == nullptr ? spelled : JoinPath(folder, *match);
}

} // namespace fav
