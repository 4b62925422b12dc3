#pragma once

#include "core/backups/list_versions.h"
#include "core/errors/result.h"
#include "core/os/file_io.h"
#include "core/textfile/files.h"

#include <optional>
#include <string>
#include <string_view>

namespace fav {

// `launcherDir` + "/config", and the launcher's files in it: "kbfav" + key + extension (".cfg",
// ".map" or ".rom"), "mame.cfg" and "mame.map". The folder and each file are taken in the letter
// case the launcher's folders have them in (see PathInFolder). Only the file name is matched so:
// in kabinet.cfg "FIGHT" and "fight" stay two lists.
std::string ConfigFolderPath(const std::string& launcherDir);
std::string ListFilePath(const std::string& launcherDir, const std::string& key,
                         const std::string& extension);
std::string MameCfgPath(const std::string& launcherDir);
std::string MameMapPath(const std::string& launcherDir);

// Every list file's extension is this long: ".cfg", ".map", ".rom".
inline constexpr std::size_t ListFileExtensionLength = 4;

// A key is used in a file name only when it cannot leave the config folder (no separator, on
// Windows no colon, and no NUL), holds no line break, and no name the program makes from it
// (temporary ones included) is too long for the system.
std::optional<Failure> CheckListKey(const std::string& key);

// The list's key from its entry in the favourites menu, which sets it off with a leading space.
std::string ListKeyFromMenuEntry(std::string_view entry);

// The name typed on the keyboard with every "_" as a space, and the reverse.
std::string UnderscoresToSpaces(std::string text);
std::string SpacesToUnderscores(std::string text);

// Creates a list: adds its entry to kabinet.cfg, writes kbfav<name>.cfg from config/mame.cfg
// ("name = " + name with spaces, "description =" + description with spaces, every matching line
// replaced), then creates the .rom and the .map file empty, in that order, all under the
// launcher's lock. Stops at the first failure; what earlier steps wrote stays.
Status CreateFavoritesList(const std::string& launcherDir, const std::string& name,
                           const std::string& description, const FileIo& io = SystemFileIo(),
                           const Journal& journal = {});

// Deletes a list: removes its entry from kabinet.cfg, then deletes its .cfg, .map and .rom files,
// in that order, under the launcher's lock. A file that is already missing is skipped. With a
// program folder in `keeping`, the files are first kept as a deleted version (see
// KeepVersionBeforeDelete); when that fails nothing is changed.
Status DeleteFavoritesList(const std::string& launcherDir, const std::string& key,
                           const FileIo& io = SystemFileIo(), const Journal& journal = {},
                           const VersionKeeping& keeping = {});

} // namespace fav
