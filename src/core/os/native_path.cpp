#include "core/os/native_path.h"

#include "core/textfile/ascii.h"

#include <vector>

namespace fav {

std::string JoinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    path += PathSeparator;
    path += name;
    return path;
}

std::string RootOfPath(std::string_view path) {
#ifdef _WIN32
    const bool letter =
        !path.empty() && ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
    if (path.size() < 3 || !letter || path[1] != ':' ||
        PathSeparators.find(path[2]) == std::string_view::npos) {
        return {};
    }
    // Drive letters ignore case; one spelling lets roots be compared as text.
    return std::string{AsciiLower(path[0]), ':', PathSeparator};
#else
    return !path.empty() && path.front() == '/' ? std::string("/") : std::string();
#endif
}

bool IsAbsolutePath(std::string_view path) {
    return !RootOfPath(path).empty();
}

std::string NormaliseFolder(const std::string& path) {
    const std::string root = RootOfPath(path);
    if (root.empty()) {
        return path;
    }
    std::vector<std::string> parts;
    std::size_t start = root.size();
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find_first_of(PathSeparators, start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (parts.empty()) {
        return root;
    }
    std::string folder = root;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            folder += PathSeparator;
        }
        folder += parts[i];
    }
    return folder;
}

} // namespace fav
