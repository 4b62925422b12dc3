#pragma once

#include "core/os/file_io.h"

#include <string>
#include <string_view>

namespace fav {

// Whether two names are the same with ASCII letters compared ignoring case; other bytes must be
// equal.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The path of the launcher's file or folder `name` in `folder`: `folder` + separator + `name` when
// an entry of that spelling exists, else the one entry of the folder whose name matches it ignoring
// letter case, as the launcher itself finds its files. With no such entry (or several, or a
// folder that cannot be listed) it is the name as spelled, so a new file gets that spelling and a
// failure to reach it is reported by whatever then opens it.
//
// This is the only place that matches file names ignoring case. Where the system itself does so,
// the spelling is always found and this is the join alone.
std::string PathInFolder(const std::string& folder, std::string_view name,
                         const FileIo& io = SystemFileIo());

} // namespace fav
