#include "core/launcher/launcher_config.h"

#include "core/errors/os_error.h"
#include "core/launcher/list_files.h"
#include "core/os/native_path.h"
#include "core/textfile/ascii.h"
#include "core/textfile/files.h"
#include "core/textfile/lines.h"
#include "core/textfile/names.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

namespace fav {

namespace {

constexpr std::string_view EmulatorsKey = "emulators =";

// Calls visit for every field of the line, split at every single space (nothing else separates
// fields), without allocating.
template <typename Visit> void ForEachField(std::string_view line, Visit&& visit) {
    for (;;) {
        const auto space = line.find(' ');
        if (space == std::string_view::npos) {
            visit(line);
            return;
        }
        visit(line.substr(0, space));
        line.remove_prefix(space + 1);
    }
}

bool IsMameEntry(std::string_view field) {
    return field.size() == 4 && StartsWithLowered(field, "mame");
}

std::string ListEntry(const std::string& key) {
    std::string entry(ListEntryPrefix);
    entry += key;
    return entry;
}

} // namespace

std::string LauncherConfigPath(const std::string& launcherDir) {
    return PathInFolder(launcherDir, "kabinet.cfg");
}

std::string LauncherConfigCopyPath(const std::string& launcherDir) {
    return PathInFolder(launcherDir, "kabinetcfg.tmp");
}

bool IsEmulatorsLine(std::string_view line) {
    return StartsWithLowered(line, EmulatorsKey);
}

Result<LauncherConfigScan> ScanLauncherConfig(const std::string& launcherDir) {
    auto content = ReadWholeFile(LauncherConfigPath(launcherDir));
    if (!content) {
        return content.failure();
    }
    LauncherConfigScan scan;
    // Counted wide: a huge line must not wrap the 16-bit result.
    std::int64_t fieldCount = 0;
    ForEachLine(content.value(), [&](std::string_view line) {
        if (!IsEmulatorsLine(line)) {
            return;
        }
        ForEachField(line, [&](std::string_view field) {
            ++fieldCount;
            if (IsMameEntry(field)) {
                scan.MameFound = true;
            }
            if (field.starts_with(ListEntryPrefix)) {
                scan.ListKeys.emplace_back(field.substr(ListEntryPrefix.size()));
            }
        });
    });
    const std::int64_t remaining = std::clamp<std::int64_t>(
        EmulatorFieldLimit - fieldCount, std::numeric_limits<std::int16_t>::min(),
        std::numeric_limits<std::int16_t>::max());
    scan.RemainingLists = static_cast<std::int16_t>(remaining);
    return scan;
}

Result<bool> FindListEntry(const std::string& launcherDir, const std::string& key) {
    auto content = ReadWholeFile(LauncherConfigPath(launcherDir));
    if (!content) {
        return content.failure();
    }
    const std::string entry = ListEntry(key);
    bool taken = false;
    ForEachLine(content.value(), [&](std::string_view line) {
        if (!taken && IsEmulatorsLine(line)) {
            ForEachField(line, [&](std::string_view field) { taken = taken || field == entry; });
        }
    });
    return taken;
}

LauncherLock::LauncherLock(LauncherLock&& other) noexcept : io_(other.io_), handle_(other.handle_) {
    other.handle_ = NoFile;
}

LauncherLock::~LauncherLock() {
    io_->UnlockFolder(handle_);
}

Result<LauncherLock> LockLauncher(const std::string& launcherDir, const FileIo& io, int waitMs) {
    constexpr int PollMs = 50;
    for (int waited = 0;; waited += PollMs) {
        FileHandle handle = NoFile;
        const OsError error = io.LockFolder(launcherDir, handle);
        if (error == OsError::None) {
            return LauncherLock(io, handle);
        }
        if (error != OsError::Busy) {
            // A missing launcher folder is a folder missing on the way to kabinet.cfg.
            return FailureFromOs(error == OsError::FileNotFound ? OsError::PathNotFound : error,
                                 launcherDir);
        }
        if (waited >= waitMs) {
            Failure failure = MakeFailure(ErrorCode::PathFileAccessError, launcherDir);
            failure.description += " is being changed by another copy of Favorizer";
            return failure;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
    }
}

Status RewriteLauncherConfig(const LauncherLock& /*held*/, const std::string& launcherDir,
                             const EmulatorsLineTransform& transform, const FileIo& io,
                             const Journal& journal) {
    const std::string configPath = LauncherConfigPath(launcherDir);
    const std::string copyPath = LauncherConfigCopyPath(launcherDir);

    auto original = ReadLines(configPath, io);
    if (!original) {
        return original.failure();
    }
    // Refused before the copy is written, so a file that may not be rewritten costs nothing.
    if (auto replaceable = CheckReplaceable(configPath, io); !replaceable) {
        return replaceable.failure();
    }
    if (auto copied =
            ReplaceFileLines(copyPath, original.value(), io, LinkRoot{launcherDir}, journal);
        !copied) {
        return copied;
    }

    // The new contents are built from the copy, so kabinet.cfg is only ever written from what
    // kabinetcfg.tmp is known to hold.
    auto copy = ReadLines(copyPath, io);
    if (!copy) {
        return copy.failure();
    }
    std::vector<std::string> lines = std::move(copy).value();
    for (auto& line : lines) {
        if (IsEmulatorsLine(line)) {
            line = transform(line);
        }
    }
    return ReplaceFileLines(configPath, lines, io, {}, journal);
}

Status AddListEntry(const std::string& launcherDir, const std::string& key, const FileIo& io,
                    const Journal& journal) {
    auto held = LockLauncher(launcherDir, io);
    if (!held) {
        return held.failure();
    }
    return AddListEntry(held.value(), launcherDir, key, io, journal);
}

Status AddListEntry(const LauncherLock& held, const std::string& launcherDir,
                    const std::string& key, const FileIo& io, const Journal& journal) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    const std::string suffix = " " + ListEntry(key);
    return RewriteLauncherConfig(
        held, launcherDir,
        [&suffix](std::string_view line) {
            std::string changed;
            changed.reserve(line.size() + suffix.size());
            changed += line;
            changed += suffix;
            return changed;
        },
        io, journal);
}

Status RemoveListEntry(const std::string& launcherDir, const std::string& key, const FileIo& io,
                       const Journal& journal) {
    auto held = LockLauncher(launcherDir, io);
    if (!held) {
        return held.failure();
    }
    return RemoveListEntry(held.value(), launcherDir, key, io, journal);
}

Status RemoveListEntry(const LauncherLock& held, const std::string& launcherDir,
                       const std::string& key, const FileIo& io, const Journal& journal) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    const std::string entry = ListEntry(key);
    return RewriteLauncherConfig(
        held, launcherDir,
        [&entry](std::string_view line) {
            std::string changed;
            changed.reserve(line.size() + 1);
            ForEachField(line, [&](std::string_view field) {
                if (field != entry) {
                    changed += field;
                    changed += ' ';
                }
            });
            while (!changed.empty() && changed.back() == ' ') {
                changed.pop_back();
            }
            return changed;
        },
        io, journal);
}

} // namespace fav
