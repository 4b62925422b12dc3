#include "core/errors/failure.h"

#include <algorithm>
#include <string_view>

namespace fav {

std::string StandardDescription(int code) {
    switch (code) {
    case ErrorCode::Overflow:
        return "Overflow";
    case ErrorCode::OutOfMemory:
        return "Out of memory";
    case ErrorCode::BadFileName:
        return "Bad file name or number";
    case ErrorCode::FileNotFound:
        return "File not found";
    case ErrorCode::DeviceIoError:
        return "Device I/O error";
    case ErrorCode::DiskFull:
        return "Disk full";
    case ErrorCode::DeviceUnavailable:
        return "Device unavailable";
    case ErrorCode::PermissionDenied:
        return "Permission denied";
    case ErrorCode::PathFileAccessError:
        return "Path/File access error";
    case ErrorCode::PathNotFound:
        return "Path not found";
    case ErrorCode::InvalidPropertyValue:
        return "Invalid property value";
    default:
        return "Application-defined error";
    }
}

Failure MakeFailure(int code, const std::string& subject) {
    std::string description = StandardDescription(code);
    if (!subject.empty()) {
        description += ": ";
        // A subject taken from a file can be megabytes long; the description is one log line.
        const std::size_t shown = std::min(subject.size(), MaxFailureSubject);
        for (char c : std::string_view(subject).substr(0, shown)) {
            const auto byte = static_cast<unsigned char>(c);
            description += (byte < 32 || byte == 127) ? '?' : c;
        }
        if (shown < subject.size()) {
            description += "...";
        }
    }
    return Failure{code, description};
}

} // namespace fav
