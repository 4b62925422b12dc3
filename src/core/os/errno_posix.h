#pragma once

#include "core/os/file_io.h"

#include <string>

namespace fav {

// Sorts an errno value from a call on `path`. ENOENT is told apart by looking at the folder: a
// missing name in an existing folder is FileNotFound, a missing folder on the way PathNotFound.
OsError OsErrorFromErrno(int error, const std::string& path = {});

} // namespace fav
