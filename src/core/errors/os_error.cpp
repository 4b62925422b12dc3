#include "core/errors/os_error.h"

#include <cerrno>
#include <sys/stat.h>

namespace fav {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ParentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

} // namespace

int CodeForErrno(int error, bool folderExists) {
    switch (error) {
    case ENOENT:
        return folderExists ? ErrorCode::FileNotFound : ErrorCode::PathNotFound;
    case ENOTDIR:
        return ErrorCode::PathNotFound;
    case ENAMETOOLONG:
    case EINVAL:
        return ErrorCode::BadFileName;
    case EIO:
        return ErrorCode::DeviceIoError;
    case ENOSPC:
    case EDQUOT:
        return ErrorCode::DiskFull;
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return ErrorCode::DeviceUnavailable;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorCode::PermissionDenied;
    default:
        return ErrorCode::PathFileAccessError;
    }
}

Failure FailureFromErrno(int error, const std::string& path) {
    const bool folderExists = error == ENOENT && IsFolder(ParentOf(path));
    return MakeFailure(CodeForErrno(error, folderExists), path);
}

} // namespace fav
