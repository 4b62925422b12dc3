#include "core/os/file_io.h"
#include "core/os/native_path.h"

namespace fav {

std::string FolderOfPath(const std::string& path) {
    const auto separator = path.find_last_of(PathSeparators);
    if (separator == std::string::npos) {
        return ".";
    }
    // The root keeps its separator: "c:" alone would mean the drive's current folder.
    if (const std::string root = RootOfPath(path); separator < root.size()) {
        return root;
    }
    return separator == 0 ? path.substr(0, 1) : path.substr(0, separator);
}

std::string NameOfPath(const std::string& path) {
    const auto separator = path.find_last_of(PathSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace fav
