#include "core/errors/failure.h"

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
        for (char c : subject) {
            const auto byte = static_cast<unsigned char>(c);
            description += (byte < 32 || byte == 127) ? '?' : c;
        }
    }
    return Failure{code, description};
}

} // namespace fav
