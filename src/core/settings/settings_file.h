#pragma once

#include "core/errors/result.h"
#include "core/os/file_io.h"
#include "core/os/native_path.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

inline constexpr const char* SettingsFileName = "favorize.cfg";
// The folder every path falls back to: the root of the system drive.
inline constexpr const char* DefaultFolder = SystemRoot;

struct Settings {
    std::string launcherDir; // "Kabinet.cfg default path = "
    std::string mameCfgDir;  // "Mame.cfg default path = "
    std::string mameMapDir;  // "Mame.map default path = "
    std::int16_t fullscreenFlag = 0;

    bool operator==(const Settings&) const = default;
};

// `programDir` + "/favorize.cfg".
std::string SettingsFilePath(const std::string& programDir);

// The nine lines written when the settings file is missing (all paths the system root, full
// screen 0).
std::vector<std::string> DefaultSettingsLines();

// The nine lines SaveSettings writes; the flag is written sign-spaced (" 0" or " 1").
std::vector<std::string> SettingsLines(const std::string& launcherDir,
                                       const std::string& mameCfgDir, const std::string& mameMapDir,
                                       int checkValue);

// Reads the file line by line from empty settings by the four exact, case-sensitive prefix keys;
// other lines change nothing, and the last occurrence of a key wins. The full-screen flag comes
// from the line's last character alone.
Result<Settings> ReadSettingsFile(const std::string& path);

// The settings the program starts from: `stored` with DefaultFolder for each folder that is empty
// or holds no ordinary file. A folder that cannot be listed (a loop of links, no permission)
// counts as one without the file, as the detection counts it: the failure would come back at
// every start and keep the owner from the setup that can change the folder. Only a folder name
// the system cannot take fails.
Result<Settings> WithDefaultFolders(Settings stored, const FileIo& io = SystemFileIo());

// Writes the nine default lines into `programDir`/favorize.cfg.
Status WriteDefaultSettingsFile(const std::string& programDir, const FileIo& io = SystemFileIo());

// Writes the nine SaveSettings lines into `programDir`/favorize.cfg, replacing it safely. A path
// holding a CR or a LF is refused (75, not 52: the settings file is fine and must not be deleted
// for it) and nothing is written, since such a line would not read back.
Status WriteSettingsFile(const std::string& programDir, const std::string& launcherDir,
                         const std::string& mameCfgDir, const std::string& mameMapDir,
                         int checkValue, const FileIo& io = SystemFileIo());

} // namespace fav
