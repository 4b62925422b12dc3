#include "core/launcher/list_files.h"

#include "core/launcher/launcher_config.h"
#include "core/os/native_path.h"
#include "core/textfile/ascii.h"
#include "core/textfile/files.h"
#include "core/textfile/names.h"

#include <algorithm>

namespace fav {

std::string ConfigFolderPath(const std::string& launcherDir) {
    return PathInFolder(launcherDir, "config");
}

std::string ListFilePath(const std::string& launcherDir, const std::string& key,
                         const std::string& extension) {
    std::string name(ListEntryPrefix);
    name += key;
    name += extension;
    return PathInFolder(ConfigFolderPath(launcherDir), name);
}

std::string MameCfgPath(const std::string& launcherDir) {
    return PathInFolder(ConfigFolderPath(launcherDir), "mame.cfg");
}

std::string MameMapPath(const std::string& launcherDir) {
    return PathInFolder(ConfigFolderPath(launcherDir), "mame.map");
}

std::optional<Failure> CheckListKey(const std::string& key) {
    if (key.find_first_of(NotInFileName) != std::string::npos ||
        key.find('\0') != std::string::npos) {
        return MakeFailure(ErrorCode::PathFileAccessError,
                           "the list name \"" + key + "\" would leave the config folder");
    }
    // A line break would split the list's entry when kabinet.cfg is read back, and a space or
    // a tab would split it into two fields, the second never removed again.
    if (key.find_first_of("\r\n") != std::string::npos) {
        return MakeFailure(ErrorCode::PathFileAccessError,
                           "the list name \"" + key + "\" holds a line break");
    }
    if (key.find_first_of(" \t") != std::string::npos) {
        return MakeFailure(ErrorCode::PathFileAccessError,
                           "the list name \"" + key + "\" holds a space");
    }
    // Refused here rather than by the system, whose "name too long" would read as a broken
    // settings file and cost the owner the setup. The longest name made from a key is the
    // temporary file that replaces one of its files.
    if (ListEntryPrefix.size() + key.size() + ListFileExtensionLength + TemporaryNameExtra >
        MaxFileNameLength) {
        return MakeFailure(ErrorCode::PathFileAccessError,
                           "the list name \"" + key + "\" is too long for a file name");
    }
    return std::nullopt;
}

std::string ListKeyFromMenuEntry(std::string_view entry) {
    const auto first = entry.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(entry.substr(first));
}

std::string UnderscoresToSpaces(std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

std::string SpacesToUnderscores(std::string text) {
    std::replace(text.begin(), text.end(), ' ', '_');
    return text;
}

Status CreateFavoritesList(const std::string& launcherDir, const std::string& name,
                           const std::string& description, const FileIo& io,
                           const Journal& journal) {
    if (auto refused = CheckListKey(name)) {
        return *refused;
    }
    auto held = LockLauncher(launcherDir, io);
    if (!held) {
        return held.failure();
    }
    if (auto added = AddListEntry(held.value(), launcherDir, name, io, journal); !added) {
        return added;
    }

    auto template_ = ReadLines(MameCfgPath(launcherDir), io);
    if (!template_) {
        return template_.failure();
    }
    std::vector<std::string> lines = std::move(template_).value();
    const std::string nameLine = "name = " + UnderscoresToSpaces(name);
    const std::string descriptionLine = "description =" + UnderscoresToSpaces(description);
    for (auto& line : lines) {
        if (StartsWithLowered(line, "name =")) {
            line = nameLine;
        }
        if (StartsWithLowered(line, "description =")) {
            line = descriptionLine;
        }
    }
    const LinkRoot root{launcherDir};
    if (auto written =
            ReplaceFileLines(ListFilePath(launcherDir, name, ".cfg"), lines, io, root, journal);
        !written) {
        return written;
    }

    for (const char* extension : {".rom", ".map"}) {
        if (auto emptied =
                ReplaceFile(ListFilePath(launcherDir, name, extension), {}, io, root, journal);
            !emptied) {
            return emptied;
        }
    }
    return {};
}

Status DeleteFavoritesList(const std::string& launcherDir, const std::string& key, const FileIo& io,
                           const Journal& journal, const VersionKeeping& keeping) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    auto held = LockLauncher(launcherDir, io);
    if (!held) {
        return held.failure();
    }
    if (!keeping.programDir.empty()) {
        if (auto kept = KeepVersionBeforeDelete(keeping, launcherDir, key, io, journal); !kept) {
            return kept;
        }
    }
    if (auto removed = RemoveListEntry(held.value(), launcherDir, key, io, journal); !removed) {
        return removed;
    }
    for (const char* extension : {".cfg", ".map", ".rom"}) {
        if (auto deleted = DeleteFileIfPresent(ListFilePath(launcherDir, key, extension), io);
            !deleted) {
            return deleted;
        }
    }
    return {};
}

} // namespace fav
