#include "core/settings/settings_file.h"

#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "core/textfile/lines.h"

namespace fav {

namespace {

constexpr std::string_view LauncherKey = "Kabinet.cfg default path = ";
constexpr std::string_view MameCfgKey = "Mame.cfg default path = ";
constexpr std::string_view MameMapKey = "Mame.map default path = ";
constexpr std::string_view FullscreenKey = "Run Favorizer fullscreen = ";

constexpr const char* HeaderLine = "# This file was created by Favorizer for Kabinet.";
constexpr const char* LauncherComment = "# Next line is where kabinet.cfg file is stored.";
constexpr const char* MameCfgComment = "# The next line is where mame.cfg is stored.";
constexpr const char* MameMapComment = "# The next line is where mame.map is stored.";
constexpr const char* FullscreenComment =
    "# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen";

std::vector<std::string> NineLines(const std::string& launcherDir, const std::string& mameCfgDir,
                                   const std::string& mameMapDir, const std::string& flagText) {
    return {
        HeaderLine,
        LauncherComment,
        std::string(LauncherKey) + launcherDir,
        MameCfgComment,
        std::string(MameCfgKey) + mameCfgDir,
        MameMapComment,
        std::string(MameMapKey) + mameMapDir,
        FullscreenComment,
        std::string(FullscreenKey) + flagText,
    };
}

// A number as the design's writer prints it: a blank in place of the plus sign.
std::string SignSpaced(int value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

// A CR or a LF inside a value would split its line when read back, so such a path cannot be
// stored.
std::optional<Failure> CheckStorable(const std::string& path) {
    if (path.find_first_of("\r\n") != std::string::npos) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    return std::nullopt;
}

void ApplySettingsLine(Settings& settings, std::string_view line) {
    if (line.starts_with(LauncherKey)) {
        settings.launcherDir = line.substr(LauncherKey.size());
    } else if (line.starts_with(MameCfgKey)) {
        settings.mameCfgDir = line.substr(MameCfgKey.size());
    } else if (line.starts_with(MameMapKey)) {
        settings.mameMapDir = line.substr(MameMapKey.size());
    } else if (line.starts_with(FullscreenKey)) {
        settings.fullscreenFlag = line.back() == '1' ? 1 : 0;
    }
}

} // namespace

std::string SettingsFilePath(const std::string& programDir) {
    return JoinPath(programDir, SettingsFileName);
}

std::vector<std::string> DefaultSettingsLines() {
    return NineLines(DefaultFolder, DefaultFolder, DefaultFolder, "0");
}

std::vector<std::string> SettingsLines(const std::string& launcherDir,
                                       const std::string& mameCfgDir, const std::string& mameMapDir,
                                       int checkValue) {
    return NineLines(launcherDir, mameCfgDir, mameMapDir, SignSpaced(checkValue));
}

Result<Settings> ReadSettingsFile(const std::string& path) {
    auto content = ReadWholeFile(path);
    if (!content) {
        return content.failure();
    }
    Settings settings;
    ForEachLine(content.value(),
                [&settings](std::string_view line) { ApplySettingsLine(settings, line); });
    return settings;
}

Result<Settings> WithDefaultFolders(Settings stored, const FileIo& io) {
    for (std::string* folder : {&stored.launcherDir, &stored.mameCfgDir, &stored.mameMapDir}) {
        if (folder->empty()) {
            *folder = DefaultFolder;
        }
        Result<bool> hasFile = FolderHasOrdinaryFile(*folder, io);
        if (!hasFile && hasFile.failure().code == ErrorCode::BadFileName) {
            return hasFile.failure();
        }
        if (!hasFile || !hasFile.value()) {
            *folder = DefaultFolder;
        }
    }
    return stored;
}

Status WriteDefaultSettingsFile(const std::string& programDir, const FileIo& io) {
    return ReplaceFileLines(SettingsFilePath(programDir), DefaultSettingsLines(), io, {},
                            Journal{programDir});
}

Status WriteSettingsFile(const std::string& programDir, const std::string& launcherDir,
                         const std::string& mameCfgDir, const std::string& mameMapDir,
                         int checkValue, const FileIo& io) {
    for (const std::string* path : {&launcherDir, &mameCfgDir, &mameMapDir}) {
        if (auto bad = CheckStorable(*path)) {
            return *bad;
        }
    }
    return ReplaceFileLines(SettingsFilePath(programDir),
                            SettingsLines(launcherDir, mameCfgDir, mameMapDir, checkValue), io, {},
                            Journal{programDir});
}

} // namespace fav
