#include "core/os/file_io.h"

namespace fav {

std::string FolderOfPath(const std::string& path) {
    const auto separator = path.find_last_of(PathSeparators);
    if (separator == std::string::npos) {
        return ".";
    }
    return separator == 0 ? path.substr(0, 1) : path.substr(0, separator);
}

std::string NameOfPath(const std::string& path) {
    const auto separator = path.find_last_of(PathSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace fav
