#pragma once

#include "core/errors/failure.h"

#include <string>

namespace fav {

// Turns an errno value from an operation on `path` into a Failure with the program's code.
// ENOENT is told apart by looking at the folder: a missing file in an existing folder is
// "File not found" (53), a missing folder on the way is "Path not found" (76).
Failure FailureFromErrno(int error, const std::string& path);

// The code alone, for an errno value; `folderExists` decides ENOENT.
int CodeForErrno(int error, bool folderExists);

} // namespace fav
