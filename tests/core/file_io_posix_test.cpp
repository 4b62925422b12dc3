// The POSIX side of the system layer, and what only a POSIX system can set up.
#include "core/errors/os_error.h"
#include "core/os/errno_posix.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace fav {
namespace {

using test::TempFolder;
using test::WriteBytes;

TEST(PosixFiles, ErrnoValuesGiveTheProgramsCodes) {
    TempFolder folder;
    WriteBytes(folder / "file", "x");
    const struct {
        int error;
        std::string path;
        int code;
    } cases[] = {
        {ENOENT, folder / "missing", ErrorCode::FileNotFound},
        {ENOENT, folder / "missing/x", ErrorCode::PathNotFound},
        {ENOTDIR, folder / "file/x", ErrorCode::PathNotFound},
        {ENAMETOOLONG, "", ErrorCode::BadFileName},
        {EINVAL, "", ErrorCode::BadFileName},
        {EIO, "", ErrorCode::DeviceIoError},
        {ENOSPC, "", ErrorCode::DiskFull},
        {EDQUOT, "", ErrorCode::DiskFull},
        {ENXIO, "", ErrorCode::DeviceUnavailable},
        {ENOMEDIUM, "", ErrorCode::DeviceUnavailable},
        {EACCES, "", ErrorCode::PermissionDenied},
        {EPERM, "", ErrorCode::PermissionDenied},
        {EROFS, "", ErrorCode::PermissionDenied},
        {ELOOP, "", ErrorCode::PathFileAccessError},
        {EISDIR, "", ErrorCode::PathFileAccessError},
        {EBUSY, "", ErrorCode::PathFileAccessError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(CodeForOsError(OsErrorFromErrno(c.error, c.path)), c.code);
    }
}

} // namespace
} // namespace fav
