#pragma once

#include "core/errors/result.h"
#include "core/os/file_io.h"

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

// Whether a line is an emulators line: its first 11 characters are "emulators =", compared
// with or without letter case.
enum class LetterCase { Ignored, Significant };
bool IsEmulatorsLine(std::string_view line, LetterCase letterCase);

// The fields of a line split at every single space; nothing else separates fields.
std::vector<std::string_view> SplitFields(std::string_view line);

struct LauncherConfigScan {
    bool MameFound = false;
    std::vector<std::string> ListKeys;
    std::int16_t RemainingLists = EmulatorFieldLimit;
};

// Reads kabinet.cfg: MAME, the list keys of every emulators line, and the remaining capacity.
Result<LauncherConfigScan> ScanLauncherConfig(const std::string& launcherDir);

// True when the field "kbfav" + key occurs on the last emulators line (letter case counts).
Result<bool> FindListEntry(const std::string& launcherDir, const std::string& key);

using EmulatorsLineTransform = std::function<std::string(std::string_view line)>;

// The two-pass rewrite: kabinet.cfg is copied line by line to kabinetcfg.tmp (left in place),
// then kabinet.cfg is written anew from the copy with each emulators line (letter case ignored)
// replaced by the transform's result. Every line is written with CR LF, and kabinet.cfg is
// replaced safely, so a failure never leaves it shortened.
Status RewriteLauncherConfig(const std::string& launcherDir,
                             const EmulatorsLineTransform& transform,
                             const FileIo& io = SystemFileIo());

// Appends " kbfav" + key to every emulators line.
Status AddListEntry(const std::string& launcherDir, const std::string& key,
                    const FileIo& io = SystemFileIo());

// Drops every field "kbfav" + key from every emulators line and trims trailing spaces.
Status RemoveListEntry(const std::string& launcherDir, const std::string& key,
                       const FileIo& io = SystemFileIo());

} // namespace fav
