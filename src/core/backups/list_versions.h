#pragma once

#include "core/errors/result.h"
#include "core/os/file_io.h"
#include "core/textfile/files.h"

#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A list's earlier versions, kept in the program's own folder (never the launcher's, which the
// launcher reads) before its files are replaced or deleted:
//
//   backups/kbfav<key>/2024-05-01_21-30-05.map and .rom          before a save
//   backups/kbfav<key>/2024-05-01_21-42-10_deleted.cfg, .map, .rom  before a deletion
//
// A version's files share one name, the local time it was kept, "_2", "_3"... after the time for
// a second version within the same second. The folder is named like the list's own files, so
// that no key ("..", or a device name such as CON on Windows) can send it elsewhere.

namespace fav {

inline constexpr std::string_view BackupsFolderName = "backups";
// The versions each list keeps; the oldest go first.
inline constexpr std::size_t KeptVersionsPerList = 10;

// A local date and time, to the second.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const LocalTime&) const = default;
};

struct ListVersion {
    LocalTime time;
    // 1 for the first version kept in its second, 2 for the next...
    int sequence = 1;
    // Kept when the list was deleted: its .cfg is among the files.
    bool deleted = false;

    // The common name of the version's files, without their extensions.
    std::string Name() const;
};

// Where versions are kept and when "now" is. With no program folder none are kept.
struct VersionKeeping {
    std::string programDir;
    LocalTime now;
};

// `programDir`/backups/kbfav<key>.
std::string ListBackupFolder(const std::string& programDir, const std::string& key);
// The version's file with that extension (".map", ".rom" or ".cfg").
std::string VersionFilePath(const std::string& programDir, const std::string& key,
                            const ListVersion& version, std::string_view extension);

// The versions kept for the list, oldest first; none when its folder is missing. Files of other
// names in the folder are no versions and are never touched.
Result<std::vector<ListVersion>> ListVersions(const std::string& programDir, const std::string& key,
                                              const FileIo& io = SystemFileIo());

// Before a save: keeps the list's map and rom files as they are now as a new version, unless the
// new contents are the same (a missing file counting as an empty one) or neither file exists.
// Every failure stops the save; a key that could leave the config folder is refused (75) before
// anything is touched.
Status KeepVersionBeforeSave(const VersionKeeping& keeping, const std::string& launcherDir,
                             const std::string& key, std::string_view newMap,
                             std::string_view newRom, const FileIo& io = SystemFileIo(),
                             const Journal& journal = {});

// Before a deletion: keeps whichever of the list's .cfg, .map and .rom files exist, the .cfg
// holding its description, as a deleted version.
Status KeepVersionBeforeDelete(const VersionKeeping& keeping, const std::string& launcherDir,
                               const std::string& key, const FileIo& io = SystemFileIo(),
                               const Journal& journal = {});

// A list deleted with its games kept: its last version is a deleted one whose map holds games.
struct DeletedList {
    ListVersion version;
    std::size_t games = 0;
    // The kept .cfg's description, as that file has it; empty without one.
    std::string description;
};

Result<std::optional<DeletedList>> FindDeletedList(const std::string& programDir,
                                                   const std::string& key,
                                                   const FileIo& io = SystemFileIo());

// Removes what runs killed while keeping a version left in every list's backups folder.
void RemoveDeadVersionTemporaries(const std::string& programDir, const FileIo& io = SystemFileIo());

// Writes the version's map and rom files over the list's own, as one pair, under the launcher's
// lock. A version without its rom file gets one made from its map's ROM names.
Status RestoreVersion(const std::string& programDir, const std::string& launcherDir,
                      const std::string& key, const ListVersion& version,
                      const FileIo& io = SystemFileIo(), const Journal& journal = {});

} // namespace fav
