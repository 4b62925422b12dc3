#pragma once

#include "core/errors/result.h"
#include "core/os/file_io.h"
#include "core/textfile/files.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

inline constexpr std::string_view ListEntryPrefix = "kbfav";
inline constexpr int EmulatorFieldLimit = 18;

// `launcherDir` + "/kabinet.cfg" and + "/kabinetcfg.tmp", each in the letter case the folder has
// it in (see PathInFolder).
std::string LauncherConfigPath(const std::string& launcherDir);
std::string LauncherConfigCopyPath(const std::string& launcherDir);

// Whether a line is an emulators line: its first 11 characters are "emulators =", letter case
// ignored.
bool IsEmulatorsLine(std::string_view line);

struct LauncherConfigScan {
    bool MameFound = false;
    std::vector<std::string> ListKeys;
    std::int16_t RemainingLists = EmulatorFieldLimit;
};

// Reads kabinet.cfg: MAME, the list keys of every emulators line, and the remaining capacity.
Result<LauncherConfigScan> ScanLauncherConfig(const std::string& launcherDir);

// True when the field "kbfav" + key occurs on any emulators line (letter case counts). Every line
// is looked at, not only the last: a name on any of them already has its files in the config
// folder, and a new list of that name would take them over.
Result<bool> FindListEntry(const std::string& launcherDir, const std::string& key);

// Held while the launcher's files are read, changed and written, so that no other copy of the
// program, of this install or another, rewrites kabinet.cfg from the same old contents. The
// system frees it when its holder ends, however it ends.
class LauncherLock {
public:
    LauncherLock(LauncherLock&& other) noexcept;
    LauncherLock& operator=(LauncherLock&&) = delete;
    ~LauncherLock();

private:
    LauncherLock(const FileIo& io, FileHandle handle) : io_(&io), handle_(handle) {}
    friend Result<LauncherLock> LockLauncher(const std::string& launcherDir, const FileIo& io,
                                             int waitMs);
    const FileIo* io_;
    FileHandle handle_;
};

// How long a copy waits for another to finish with the launcher's files.
inline constexpr int LauncherLockWaitMs = 5000;

// Takes the launcher folder's lock, waiting up to `waitMs` for another copy to let it go; after
// that "Path/File access error", naming the folder and the other copy.
Result<LauncherLock> LockLauncher(const std::string& launcherDir, const FileIo& io = SystemFileIo(),
                                  int waitMs = LauncherLockWaitMs);

using EmulatorsLineTransform = std::function<std::string(std::string_view line)>;

// The two-pass rewrite: kabinet.cfg is copied line by line to kabinetcfg.tmp (left in place),
// then kabinet.cfg is written anew from the copy with each emulators line (letter case ignored)
// replaced by the transform's result. Every line is written with CR LF, and kabinet.cfg is
// replaced safely, so a failure never leaves it shortened.
// The caller holds the launcher's lock.
Status RewriteLauncherConfig(const LauncherLock& held, const std::string& launcherDir,
                             const EmulatorsLineTransform& transform, const FileIo& io,
                             const Journal& journal);

// Appends " kbfav" + key to every emulators line, under the launcher's lock.
Status AddListEntry(const std::string& launcherDir, const std::string& key,
                    const FileIo& io = SystemFileIo(), const Journal& journal = {});
// The same, for a caller that holds the lock already.
Status AddListEntry(const LauncherLock& held, const std::string& launcherDir,
                    const std::string& key, const FileIo& io, const Journal& journal);

// Drops every field "kbfav" + key from every emulators line and trims trailing spaces, under the
// launcher's lock.
Status RemoveListEntry(const std::string& launcherDir, const std::string& key,
                       const FileIo& io = SystemFileIo(), const Journal& journal = {});
Status RemoveListEntry(const LauncherLock& held, const std::string& launcherDir,
                       const std::string& key, const FileIo& io, const Journal& journal);

} // namespace fav
