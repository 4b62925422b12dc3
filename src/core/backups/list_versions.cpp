#include "core/backups/list_versions.h"

#include "core/errors/os_error.h"
#include "core/launcher/game_list.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"
#include "core/os/native_path.h"
#include "core/textfile/ascii.h"
#include "core/textfile/lines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

namespace fav {

namespace {

constexpr std::string_view DeletedSuffix = "_deleted";
constexpr std::array<std::string_view, 3> VersionExtensions = {".cfg", ".map", ".rom"};

std::string TwoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10),
                       static_cast<char>('0' + value % 10)};
}

// A number of exactly `digits` digits at the start of `text`, taken off it.
std::optional<int> TakeNumber(std::string_view& text, std::size_t digits) {
    if (text.size() < digits) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return value;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

// The version a name without its extension stands for, when it is one this program makes:
// "YYYY-MM-DD_HH-MM-SS", then "_N" for N from 2, then "_deleted".
std::optional<ListVersion> ParseVersionName(std::string_view name) {
    ListVersion version;
    if (name.ends_with(DeletedSuffix)) {
        version.deleted = true;
        name.remove_suffix(DeletedSuffix.size());
    }
    LocalTime& t = version.time;
    int* const parts[] = {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second};
    const std::size_t widths[] = {4, 2, 2, 2, 2, 2};
    const char separators[] = {'-', '-', '_', '-', '-'};
    for (std::size_t i = 0; i < 6; ++i) {
        const auto value = TakeNumber(name, widths[i]);
        if (!value || (i < 5 && !TakeChar(name, separators[i]))) {
            return std::nullopt;
        }
        *parts[i] = *value;
    }
    if (TakeChar(name, '_')) {
        // No leading zero and no 1, so that each version has one name only.
        if (name.empty() || name.size() > 9 || name.front() == '0') {
            return std::nullopt;
        }
        const auto parsed =
            std::from_chars(name.data(), name.data() + name.size(), version.sequence);
        if (parsed.ec != std::errc() || parsed.ptr != name.data() + name.size() ||
            version.sequence < 2) {
            return std::nullopt;
        }
        name = {};
    }
    if (!name.empty()) {
        return std::nullopt;
    }
    return version;
}

bool Older(const ListVersion& a, const ListVersion& b) {
    return a.time != b.time ? a.time < b.time : a.sequence < b.sequence;
}

// The file's contents, or nothing when there is no such file. A folder or a special file in its
// place holds nothing of the user's to keep, and whatever then replaces or deletes it decides.
Result<std::optional<std::string>> ReadIfPresent(const std::string& path, const FileIo& io) {
    FileInfo info;
    if (io.PathInfo(path, Links::Followed, info) == OsError::None &&
        info.type != FileType::Regular) {
        return std::optional<std::string>();
    }
    auto content = ReadWholeFile(path, io);
    if (!content) {
        if (content.failure().code == ErrorCode::FileNotFound) {
            return std::optional<std::string>();
        }
        return content.failure();
    }
    return std::optional<std::string>(std::move(content).value());
}

// A failure while keeping a version stops the save or the deletion, and says so. Codes that the
// error screen takes for a broken settings file or an unreachable drive would cost the owner
// the setup; here they only mean the backups folder cannot be used.
Failure NotKept(const Failure& failure, const std::string& folder) {
    int code = failure.code;
    switch (code) {
    case ErrorCode::BadFileName:
    case ErrorCode::DeviceUnavailable:
    case ErrorCode::PathNotFound:
    case ErrorCode::InvalidPropertyValue:
        code = ErrorCode::PathFileAccessError;
        break;
    default:
        break;
    }
    return MakeFailure(code, "the list's previous version could not be kept in " + folder +
                                 ", so the list was left as it was (" + failure.description + ")");
}

// Makes the folder unless a folder of that name is there.
Status EnsureFolder(const std::string& folder, const FileIo& io) {
    const OsError made = io.MakeFolder(folder);
    if (made == OsError::None) {
        return {};
    }
    FileInfo info;
    if (made == OsError::Exists && io.PathInfo(folder, Links::Followed, info) == OsError::None &&
        info.type == FileType::Folder) {
        return {};
    }
    if (made == OsError::Exists) {
        return MakeFailure(ErrorCode::PathFileAccessError, folder);
    }
    return FailureFromOs(made, folder);
}

struct KeptFile {
    std::string_view extension;
    std::string content;
};

// Writes the files as one new version, after the newest there, removing the oldest so that the
// folder never holds more than KeptVersionsPerList.
Status KeepVersion(const VersionKeeping& keeping, const std::string& key, bool deleted,
                   const std::vector<KeptFile>& files, const FileIo& io, const Journal& journal) {
    const std::string backups = JoinPath(keeping.programDir, BackupsFolderName);
    const std::string folder = ListBackupFolder(keeping.programDir, key);
    const auto fail = [&folder](const Failure& failure) { return NotKept(failure, folder); };
    for (const std::string* path : {&backups, &folder}) {
        if (auto made = EnsureFolder(*path, io); !made) {
            return fail(made.failure());
        }
    }
    // A run killed while keeping a version left its temporary files behind.
    RemoveDeadTemporaryFiles(folder, io);

    auto listed = ListVersions(keeping.programDir, key, io);
    if (!listed) {
        return fail(listed.failure());
    }
    std::vector<ListVersion>& versions = listed.value();

    // After the newest version, even when the clock was put back since.
    ListVersion version;
    version.time = keeping.now;
    version.deleted = deleted;
    if (!versions.empty() && versions.back().time >= version.time) {
        version.time = versions.back().time;
        version.sequence = versions.back().sequence + 1;
    }

    std::vector<PendingReplace> pending;
    pending.reserve(files.size());
    for (const KeptFile& file : files) {
        auto prepared =
            PrepareReplace(VersionFilePath(keeping.programDir, key, version, file.extension),
                           file.content, io, LinkRoot{keeping.programDir});
        if (!prepared) {
            return fail(prepared.failure());
        }
        pending.push_back(std::move(prepared).value());
    }

    // Room is made only once the new version is written and waits to be put in place.
    const std::size_t keep = KeptVersionsPerList - 1;
    for (std::size_t i = 0; i + keep < versions.size(); ++i) {
        for (const std::string_view extension : VersionExtensions) {
            const std::string path =
                VersionFilePath(keeping.programDir, key, versions[i], extension);
            if (auto removed = DeleteFileIfPresent(path, io); !removed) {
                return fail(removed.failure());
            }
        }
    }

    std::vector<PendingReplace*> all;
    for (PendingReplace& one : pending) {
        all.push_back(&one);
    }
    if (auto committed = CommitTogether(all, journal); !committed) {
        return fail(committed.failure());
    }
    return {};
}

} // namespace

std::string ListVersion::Name() const {
    std::string name = std::to_string(time.year);
    name.insert(0, name.size() < 4 ? 4 - name.size() : 0, '0');
    name += '-' + TwoDigits(time.month) + '-' + TwoDigits(time.day) + '_' + TwoDigits(time.hour) +
            '-' + TwoDigits(time.minute) + '-' + TwoDigits(time.second);
    if (sequence > 1) {
        name += '_' + std::to_string(sequence);
    }
    if (deleted) {
        name += DeletedSuffix;
    }
    return name;
}

std::string ListBackupFolder(const std::string& programDir, const std::string& key) {
    std::string name(ListEntryPrefix);
    name += key;
#ifdef _WIN32
    // Windows drops a name's trailing dots, which would give "A." the folder of "A". A "~" after
    // them, and after a trailing "~" so that "A.~" keeps a folder of its own, prevents that.
    if (name.ends_with('.') || name.ends_with('~')) {
        name += '~';
    }
#endif
    return JoinPath(JoinPath(programDir, BackupsFolderName), name);
}

std::string VersionFilePath(const std::string& programDir, const std::string& key,
                            const ListVersion& version, std::string_view extension) {
    std::string name = version.Name();
    name += extension;
    return JoinPath(ListBackupFolder(programDir, key), name);
}

Result<std::vector<ListVersion>> ListVersions(const std::string& programDir, const std::string& key,
                                              const FileIo& io) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    const std::string folder = ListBackupFolder(programDir, key);
    std::vector<std::string> names;
    if (const OsError error = io.ListFolder(folder, names); error != OsError::None) {
        if (error == OsError::FileNotFound || error == OsError::PathNotFound) {
            return std::vector<ListVersion>();
        }
        return FailureFromOs(error, folder);
    }
    std::map<std::string, ListVersion> found;
    for (std::string_view name : names) {
        const auto extension =
            std::find_if(VersionExtensions.begin(), VersionExtensions.end(),
                         [name](std::string_view candidate) { return name.ends_with(candidate); });
        if (extension == VersionExtensions.end()) {
            continue;
        }
        name.remove_suffix(extension->size());
        if (auto version = ParseVersionName(name)) {
            found.emplace(std::string(name), *version);
        }
    }
    std::vector<ListVersion> versions;
    versions.reserve(found.size());
    for (auto& [name, version] : found) {
        versions.push_back(version);
    }
    std::sort(versions.begin(), versions.end(), Older);
    return versions;
}

Status KeepVersionBeforeSave(const VersionKeeping& keeping, const std::string& launcherDir,
                             const std::string& key, std::string_view newMap,
                             std::string_view newRom, const FileIo& io, const Journal& journal) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    std::vector<KeptFile> files;
    bool changed = false;
    for (const auto& [extension, replacement] : {std::pair{std::string_view(".map"), newMap},
                                                 std::pair{std::string_view(".rom"), newRom}}) {
        auto old = ReadIfPresent(ListFilePath(launcherDir, key, std::string(extension)), io);
        if (!old) {
            return old.failure();
        }
        const std::string& content = old.value().value_or(std::string());
        changed = changed || content != replacement;
        if (old.value()) {
            files.push_back({extension, std::move(*old.value())});
        }
    }
    if (!changed || files.empty()) {
        return {};
    }
    return KeepVersion(keeping, key, false, files, io, journal);
}

Status KeepVersionBeforeDelete(const VersionKeeping& keeping, const std::string& launcherDir,
                               const std::string& key, const FileIo& io, const Journal& journal) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    std::vector<KeptFile> files;
    for (const std::string_view extension : VersionExtensions) {
        auto old = ReadIfPresent(ListFilePath(launcherDir, key, std::string(extension)), io);
        if (!old) {
            return old.failure();
        }
        if (old.value()) {
            files.push_back({extension, std::move(*old.value())});
        }
    }
    if (files.empty()) {
        return {};
    }
    return KeepVersion(keeping, key, true, files, io, journal);
}

Result<std::optional<DeletedList>> FindDeletedList(const std::string& programDir,
                                                   const std::string& key, const FileIo& io) {
    auto versions = ListVersions(programDir, key, io);
    if (!versions) {
        return versions.failure();
    }
    if (versions.value().empty() || !versions.value().back().deleted) {
        return std::optional<DeletedList>();
    }
    DeletedList list;
    list.version = versions.value().back();
    auto map = ReadIfPresent(VersionFilePath(programDir, key, list.version, ".map"), io);
    if (!map) {
        return map.failure();
    }
    ForEachLine(map.value().value_or(std::string()), [&list](std::string_view) { ++list.games; });
    if (list.games == 0) {
        return std::optional<DeletedList>();
    }
    auto cfg = ReadIfPresent(VersionFilePath(programDir, key, list.version, ".cfg"), io);
    if (!cfg) {
        return cfg.failure();
    }
    constexpr std::string_view DescriptionKey = "description =";
    ForEachLine(cfg.value().value_or(std::string()),
                [&list, DescriptionKey](std::string_view line) {
                    if (list.description.empty() && StartsWithLowered(line, DescriptionKey)) {
                        list.description = line.substr(DescriptionKey.size());
                    }
                });
    return std::optional<DeletedList>(std::move(list));
}

void RemoveDeadVersionTemporaries(const std::string& programDir, const FileIo& io) {
    const std::string backups = JoinPath(programDir, BackupsFolderName);
    std::vector<std::string> names;
    if (io.ListFolder(backups, names) != OsError::None) {
        return;
    }
    for (const std::string& name : names) {
        if (name.starts_with(ListEntryPrefix)) {
            RemoveDeadTemporaryFiles(JoinPath(backups, name), io);
        }
    }
}

Status RestoreVersion(const std::string& programDir, const std::string& launcherDir,
                      const std::string& key, const ListVersion& version, const FileIo& io,
                      const Journal& journal) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    auto map = ReadWholeFile(VersionFilePath(programDir, key, version, ".map"), io);
    if (!map) {
        return map.failure();
    }
    auto rom = ReadIfPresent(VersionFilePath(programDir, key, version, ".rom"), io);
    if (!rom) {
        return rom.failure();
    }
    if (!rom.value()) {
        std::string made;
        ForEachLine(map.value(), [&made](std::string_view line) {
            made += ExtractRomName(line);
            made += LineEnd;
        });
        rom.value() = std::move(made);
    }

    auto held = LockLauncher(launcherDir, io);
    if (!held) {
        return held.failure();
    }
    const LinkRoot root{launcherDir};
    auto pendingMap = PrepareReplace(ListFilePath(launcherDir, key, ".map"), map.value(), io, root);
    if (!pendingMap) {
        return pendingMap.failure();
    }
    auto pendingRom =
        PrepareReplace(ListFilePath(launcherDir, key, ".rom"), *rom.value(), io, root);
    if (!pendingRom) {
        return pendingRom.failure();
    }
    PendingReplace* const pair[] = {&pendingMap.value(), &pendingRom.value()};
    return CommitTogether(pair, journal);
}

} // namespace fav
