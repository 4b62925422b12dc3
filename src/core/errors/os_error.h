#pragma once

#include "core/errors/failure.h"
#include "core/os/file_io.h"

#include <string>

namespace fav {

// The program's error code for what stopped a system call.
int CodeForOsError(OsError error);

// A Failure with that code, about `path`.
Failure FailureFromOs(OsError error, const std::string& path);

} // namespace fav
