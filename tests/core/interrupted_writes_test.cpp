// A run killed at any step of a write: the child process ends at the k-th step that changes the
// disk, for every k, and the next start (recovery, then the clean-up of temporary files) must
// find every file whole, old or new, and a list's map and rom files a pair.
#ifndef _WIN32

#include "core/backups/list_versions.h"
#include "core/launcher/game_list.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"
#include "core/textfile/files.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace fav {
namespace {

using namespace test;

constexpr int Finished = 3;

// Ends the process, as a kill would (no clean-up of any kind), at the given step; a write that
// is cut off writes half of its bytes first. Optionally the folder `denied` takes no new file.
class DyingIo final : public FileIo {
public:
    DyingIo(int dieAt, std::string denied) : dieAt_(dieAt), denied_(std::move(denied)) {}

    OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
        if (mode == OpenMode::CreateNew && !denied_.empty() && FolderOfPath(path) == denied_) {
            return OsError::Denied;
        }
        if (mode != OpenMode::Read) {
            Step();
        }
        return FileIo::Open(path, mode, file);
    }
    OsError Write(FileHandle file, const char* data, std::size_t size,
                  std::size_t& written) const override {
        if (++steps_ == dieAt_) {
            (void)FileIo::Write(file, data, size / 2, written);
            ::_exit(0);
        }
        return FileIo::Write(file, data, size, written);
    }
    OsError Sync(FileHandle file) const override { return Step(), FileIo::Sync(file); }
    OsError Reserve(FileHandle file, std::uint64_t size) const override {
        return Step(), FileIo::Reserve(file, size);
    }
    OsError Truncate(FileHandle file, std::uint64_t size) const override {
        return Step(), FileIo::Truncate(file, size);
    }
    OsError Rename(const std::string& from, const std::string& to) const override {
        return Step(), FileIo::Rename(from, to);
    }
    OsError Unlink(const std::string& path) const override { return Step(), FileIo::Unlink(path); }
    OsError SyncFolder(const std::string& folder) const override {
        return Step(), FileIo::SyncFolder(folder);
    }

private:
    void Step() const {
        if (++steps_ == dieAt_) {
            ::_exit(0);
        }
    }
    int dieAt_;
    std::string denied_;
    mutable int steps_ = 0;
};

// A cabinet, the program's folder, and the files' contents before the operation.
struct Cabinet {
    TempFolder launcher;
    TempFolder program;
    std::string config = launcher / "config";

    Cabinet() {
        std::filesystem::create_directory(config);
        WriteBytes(launcher / "kabinet.cfg", "# launcher\r\nemulators = mame kbfavOLD\r\nx = 1");
        WriteBytes(launcher / "kabinetcfg.tmp", "earlier copy\r\n");
        WriteBytes(config + "/mame.cfg", "name = MAME\r\ndescription = MAME\r\n");
        WriteBytes(config + "/kbfavOLD.cfg", "name = OLD\r\n");
        WriteBytes(config + "/kbfavOLD.map", "a \"A\"\r\nb_2 \"B\"\r\n c\r\n");
        WriteBytes(config + "/kbfavOLD.rom", "a\r\nb\r\n\r\n");
    }

    // Names of files the program made for itself and left: temporary files and the journal.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> left;
        for (const std::string& folder : {launcher.path(), config, program.path()}) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                const std::string name = entry.path().filename().string();
                if (name.find(".new") != std::string::npos || name == JournalName) {
                    left.push_back(name);
                }
            }
        }
        return left;
    }
};

// Runs the operation in a child that dies at every step in turn, and checks each aftermath.
void KillAtEveryStep(const std::function<void(const FileIo&, const Cabinet&)>& operation,
                     const std::function<void(const Cabinet&)>& check, bool denyLauncher,
                     bool denyConfig) {
    for (int dieAt = 1;; ++dieAt) {
        SCOPED_TRACE("killed at step " + std::to_string(dieAt));
        Cabinet cabinet;
        const std::string denied = denyLauncher ? cabinet.launcher.path()
                                   : denyConfig ? cabinet.config
                                                : "";
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const DyingIo io(dieAt, denied);
            operation(io, cabinet);
            ::_exit(Finished);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));

        ASSERT_TRUE(FinishInterruptedWrites(cabinet.program.path()).ok());
        for (const std::string& folder :
             {cabinet.launcher.path(), cabinet.config, cabinet.program.path()}) {
            RemoveDeadTemporaryFiles(folder);
        }
        check(cabinet);
        EXPECT_EQ(cabinet.Leftovers(), std::vector<std::string>{});
        if (WEXITSTATUS(status) == Finished) {
            EXPECT_GT(dieAt, 3);
            return;
        }
    }
}

void ExpectOneOf(const std::string& path, const std::vector<std::string>& contents) {
    const std::string now = ReadBytes(path);
    EXPECT_NE(std::find(contents.begin(), contents.end(), now), contents.end())
        << path << " holds \"" << now << "\"";
}

void ExpectPair(const Cabinet& cabinet, const std::string& key) {
    const std::string map = ReadBytes(cabinet.config + "/kbfav" + key + ".map");
    const std::string rom = ReadBytes(cabinet.config + "/kbfav" + key + ".rom");
    std::string expected;
    const GameLines lines(map);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        expected += std::string(ExtractRomName(lines[i])) + "\r\n";
    }
    EXPECT_EQ(rom, expected) << "beside the map file \"" << map << "\"";
    ExpectOneOf(cabinet.config + "/kbfav" + key + ".map",
                {"a \"A\"\r\nb_2 \"B\"\r\n c\r\n", "d\r\na \"A\"\r\nz9 \"Z\"\r\n", ""});
}

const std::string OldConfig = "# launcher\r\nemulators = mame kbfavOLD\r\nx = 1";
const std::string AddedConfig = "# launcher\r\nemulators = mame kbfavOLD kbfavNEW\r\nx = 1\r\n";
const std::string RemovedConfig = "# launcher\r\nemulators = mame\r\nx = 1\r\n";
const std::vector<std::string> NewGames{"d", "a \"A\"", "z9 \"Z\""};

TEST(InterruptedWrites, TheMapAndRomFilesStayAPair) {
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "written in place" : "replaced");
        KillAtEveryStep(
            [](const FileIo& io, const Cabinet& c) {
                (void)WriteListFiles(c.launcher.path(), "OLD", NewGames, io,
                                     Journal{c.program.path()});
            },
            [](const Cabinet& c) { ExpectPair(c, "OLD"); }, false, inPlace);
    }
}

TEST(InterruptedWrites, KabinetCfgIsOldOrNewEvenWrittenInPlace) {
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "written in place" : "replaced");
        KillAtEveryStep(
            [](const FileIo& io, const Cabinet& c) {
                (void)AddListEntry(c.launcher.path(), "NEW", io, Journal{c.program.path()});
            },
            [](const Cabinet& c) {
                ExpectOneOf(c.launcher / "kabinet.cfg", {OldConfig, AddedConfig});
                ExpectOneOf(c.launcher / "kabinetcfg.tmp",
                            {"earlier copy\r\n", OldConfig + "\r\n"});
            },
            inPlace, false);
    }
}

TEST(InterruptedWrites, CreatingAndDeletingAListLeaveWholeFiles) {
    KillAtEveryStep(
        [](const FileIo& io, const Cabinet& c) {
            (void)CreateFavoritesList(c.launcher.path(), "NEW", "Mine", io,
                                      Journal{c.program.path()});
        },
        [](const Cabinet& c) {
            ExpectOneOf(c.launcher / "kabinet.cfg", {OldConfig, AddedConfig});
            if (test::Exists(c.config + "/kbfavNEW.cfg")) {
                ExpectOneOf(c.config + "/kbfavNEW.cfg", {"name = NEW\r\ndescription =Mine\r\n"});
            }
        },
        false, false);
    KillAtEveryStep(
        [](const FileIo& io, const Cabinet& c) {
            (void)DeleteFavoritesList(c.launcher.path(), "OLD", io, Journal{c.program.path()});
        },
        [](const Cabinet& c) {
            ExpectOneOf(c.launcher / "kabinet.cfg", {OldConfig, RemovedConfig});
            if (test::Exists(c.config + "/kbfavOLD.map")) {
                ExpectPair(c, "OLD");
            }
        },
        false, false);
}

// Killed while keeping a version: the list's files never change without the version of what
// they held beside them, and a version that is there is whole.
TEST(InterruptedWrites, AListIsNeverChangedWithoutItsVersion) {
    const LocalTime now{2024, 5, 1, 12, 0, 0};
    const std::map<std::string, std::string> old{{".cfg", "name = OLD\r\n"},
                                                 {".map", "a \"A\"\r\nb_2 \"B\"\r\n c\r\n"},
                                                 {".rom", "a\r\nb\r\n\r\n"}};
    // Whole when there, and only then; no temporary file stays once the folder is cleaned.
    const auto kept = [&](const Cabinet& c, const ListVersion& version) {
        const std::string folder = ListBackupFolder(c.program.path(), "OLD");
        if (std::filesystem::exists(folder)) {
            RemoveDeadVersionTemporaries(c.program.path());
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
            }
        }
        const std::string map = VersionFilePath(c.program.path(), "OLD", version, ".map");
        if (!test::Exists(map)) {
            return false;
        }
        for (const auto& [extension, bytes] : old) {
            if (extension != ".cfg" || version.deleted) {
                EXPECT_EQ(ReadBytes(VersionFilePath(c.program.path(), "OLD", version, extension)),
                          bytes);
            }
        }
        return true;
    };
    KillAtEveryStep(
        [&](const FileIo& io, const Cabinet& c) {
            (void)WriteListFiles(c.launcher.path(), "OLD", NewGames, io, Journal{c.program.path()},
                                 VersionKeeping{c.program.path(), now});
        },
        [&](const Cabinet& c) {
            ExpectPair(c, "OLD");
            const bool changed = ReadBytes(c.config + "/kbfavOLD.map") != old.at(".map");
            EXPECT_TRUE(kept(c, ListVersion{now}) || !changed);
        },
        false, false);
    KillAtEveryStep(
        [&](const FileIo& io, const Cabinet& c) {
            (void)DeleteFavoritesList(c.launcher.path(), "OLD", io, Journal{c.program.path()},
                                      VersionKeeping{c.program.path(), now});
        },
        [&](const Cabinet& c) {
            bool changed = ReadBytes(c.launcher / "kabinet.cfg") != OldConfig;
            for (const auto& [extension, bytes] : old) {
                changed = changed || !test::Exists(c.config + "/kbfavOLD" + extension);
            }
            EXPECT_TRUE(kept(c, ListVersion{now, 1, true}) || !changed);
        },
        false, false);
}

TEST(InterruptedWrites, AFullDiskInPlaceKeepsTheOldContents) {
    // The room is refused before anything is written, or the device fills while writing.
    for (const bool whileWriting : {false, true}) {
        class FullIo final : public FileIo {
        public:
            FullIo(std::string folder, bool whileWriting)
                : folder_(std::move(folder)), whileWriting_(whileWriting) {}
            OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
                if (mode == OpenMode::CreateNew && FolderOfPath(path) == folder_) {
                    return OsError::Denied;
                }
                return FileIo::Open(path, mode, file);
            }
            OsError Reserve(FileHandle file, std::uint64_t size) const override {
                return whileWriting_ ? FileIo::Reserve(file, size) : OsError::Full;
            }
            OsError Write(FileHandle file, const char* data, std::size_t size,
                          std::size_t& written) const override {
                // The first write, of the new contents, stops half way; the old ones fit.
                if (whileWriting_ && !failed_) {
                    failed_ = true;
                    (void)FileIo::Write(file, data, size / 2, written);
                    return OsError::Full;
                }
                return FileIo::Write(file, data, size, written);
            }

        private:
            std::string folder_;
            bool whileWriting_;
            mutable bool failed_ = false;
        };
        Cabinet c;
        const FullIo io(c.launcher.path(), whileWriting);
        const Status added = AddListEntry(c.launcher.path(), "NEW", io, Journal{c.program.path()});
        ASSERT_FALSE(added.ok());
        EXPECT_EQ(added.failure().code, ErrorCode::DiskFull);
        EXPECT_EQ(ReadBytes(c.launcher / "kabinet.cfg"), OldConfig);
        EXPECT_EQ(c.Leftovers(), std::vector<std::string>{});
    }
}

TEST(InterruptedWrites, CopiesAddingAtOnceKeepEveryEntry) {
    // Each child is another copy of the program, from an install of its own, adding its list.
    Cabinet c;
    const std::string keys[] = {"P", "Q", "R", "S", "T", "U"};
    std::vector<pid_t> children;
    for (const std::string& key : keys) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool added =
                AddListEntry(c.launcher.path(), key, SystemFileIo(), Journal{c.program.path()})
                    .ok();
            ::_exit(added ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string config = ReadBytes(c.launcher / "kabinet.cfg");
    for (const std::string& key : keys) {
        EXPECT_NE(config.find(" kbfav" + key), std::string::npos) << config;
    }
}

TEST(InterruptedWrites, ACopyWaitsForAnotherToLetTheLauncherGo) {
    Cabinet c;
    auto held = LockLauncher(c.launcher.path());
    ASSERT_TRUE(held.ok());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another copy: it gives up after its wait and changes nothing.
        auto other = LockLauncher(c.launcher.path(), SystemFileIo(), 200);
        ::_exit(!other.ok() && other.failure().code == ErrorCode::PathFileAccessError ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace fav

#endif
