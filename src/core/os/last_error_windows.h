#pragma once

#include "core/os/file_io.h"

#include <string>

namespace fav {

// Sorts a GetLastError value from a call on `path`, as OsErrorFromErrno does for errno: a
// missing name in an existing folder is FileNotFound, a missing folder on the way PathNotFound.
OsError OsErrorFromWindows(unsigned long error, const std::string& path = {});

} // namespace fav
