#include "core/textfile/names.h"

#include "core/os/native_path.h"
#include "core/textfile/ascii.h"

namespace fav {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
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
