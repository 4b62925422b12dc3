#include "core/errors/os_error.h"

namespace fav {

int CodeForOsError(OsError error) {
    switch (error) {
    case OsError::FileNotFound:
        return ErrorCode::FileNotFound;
    case OsError::PathNotFound:
        return ErrorCode::PathNotFound;
    case OsError::BadName:
        return ErrorCode::BadFileName;
    case OsError::Io:
        return ErrorCode::DeviceIoError;
    case OsError::Full:
        return ErrorCode::DiskFull;
    case OsError::Unavailable:
        return ErrorCode::DeviceUnavailable;
    case OsError::Denied:
        return ErrorCode::PermissionDenied;
    case OsError::None:
    case OsError::Exists:
    case OsError::Link:
    case OsError::NotFile:
    case OsError::Busy:
    case OsError::Other:
        break;
    }
    return ErrorCode::PathFileAccessError;
}

Failure FailureFromOs(OsError error, const std::string& path) {
    return MakeFailure(CodeForOsError(error), path);
}

} // namespace fav
