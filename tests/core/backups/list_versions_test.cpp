#include "core/backups/list_versions.h"
#include "core/launcher/game_list.h"
#include "core/launcher/list_files.h"
#include "core/os/native_path.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace fav {
namespace {

using namespace test;

LocalTime At(int day, int hour, int minute, int second) {
    return {2024, 5, day, hour, minute, second};
}

// A launcher with the list FIGHT and the program's folder beside it.
struct Cabinet {
    TempFolder launcher;
    TempFolder program;
    std::string dir = launcher.path();

    Cabinet() {
        std::filesystem::create_directory(launcher / "config");
        WriteBytes(launcher / "kabinet.cfg", "emulators = mame kbfavFIGHT\r\n");
        WriteBytes(launcher / "config/mame.cfg", "name = MAME\r\ndescription =MAME\r\n");
        WriteBytes(List("FIGHT", ".cfg"), "name = FIGHT\r\ndescription =Beat them up\r\n");
        WriteBytes(List("FIGHT", ".map"), "sf2 \"Street Fighter II\"\r\n");
        WriteBytes(List("FIGHT", ".rom"), "sf2\r\n");
    }
    std::string List(const std::string& key, const std::string& extension) const {
        return ListFilePath(dir, key, extension);
    }
    VersionKeeping Keeping(LocalTime now) const { return {program.path(), now}; }
    std::string Kept(const ListVersion& version, const std::string& extension,
                     const std::string& key = "FIGHT") const {
        return ReadBytes(VersionFilePath(program.path(), key, version, extension));
    }
    std::vector<std::string> Names(const std::string& key = "FIGHT") const {
        auto versions = ListVersions(program.path(), key);
        EXPECT_TRUE(versions);
        std::vector<std::string> names;
        for (const auto& version : versions.value()) {
            names.push_back(version.Name());
        }
        return names;
    }
    std::set<std::string> FilesKept(const std::string& key = "FIGHT") const {
        std::set<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(ListBackupFolder(program.path(), key))) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
};

const std::vector<std::string> Pacman{"pacman \"Pac-Man\""};

TEST(ListVersions, ASaveKeepsWhatItReplacesUnlessNothingChanges) {
    struct Case {
        const char* what;
        std::vector<std::string> saved;
        bool withMap;
        bool withRom;
        bool kept;
    };
    const Case cases[] = {
        {"a game added", {"sf2 \"Street Fighter II\"", "pacman"}, true, true, true},
        {"the same games", {"sf2 \"Street Fighter II\""}, true, true, false},
        {"emptied", {}, true, true, true},
        {"rom file missing", {"sf2 \"Street Fighter II\""}, true, false, true},
        {"both missing", Pacman, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Cabinet cabinet;
        if (!c.withMap) {
            std::filesystem::remove(cabinet.List("FIGHT", ".map"));
        }
        if (!c.withRom) {
            std::filesystem::remove(cabinet.List("FIGHT", ".rom"));
        }
        ASSERT_TRUE(WriteListFiles(cabinet.dir, "FIGHT", c.saved, SystemFileIo(),
                                   Journal{cabinet.program.path()},
                                   cabinet.Keeping(At(1, 21, 30, 5))));
        if (!c.kept) {
            EXPECT_EQ(cabinet.Names(), std::vector<std::string>{});
            continue;
        }
        ASSERT_EQ(cabinet.Names(), std::vector<std::string>{"2024-05-01_21-30-05"});
        const ListVersion version{At(1, 21, 30, 5)};
        EXPECT_EQ(cabinet.Kept(version, ".map"), "sf2 \"Street Fighter II\"\r\n");
        std::set<std::string> files{"2024-05-01_21-30-05.map"};
        if (c.withRom) {
            EXPECT_EQ(cabinet.Kept(version, ".rom"), "sf2\r\n");
            files.insert("2024-05-01_21-30-05.rom");
        }
        EXPECT_EQ(cabinet.FilesKept(), files);
    }
}

// Versions follow one another in the order they were kept, within one second and when the clock
// was put back; past ten the oldest goes, and nothing else in the folder is touched.
TEST(ListVersions, TenAtMostInTheOrderKept) {
    Cabinet cabinet;
    const std::string folder = ListBackupFolder(cabinet.program.path(), "FIGHT");
    std::filesystem::create_directories(folder);
    const std::vector<std::string> strangers{"notes.txt",
                                             "2024-05-01_21-30-05_1.map",
                                             "2024-05-01_21-30-05_02.map",
                                             "2024-5-01_21-30-05.map",
                                             "2024-05-01_21-30-05_deleted_2.map",
                                             "kbfavFIGHT.map"};
    for (const auto& name : strangers) {
        WriteBytes(JoinPath(folder, name), "mine");
    }

    const LocalTime times[] = {At(1, 21, 30, 5), At(1, 21, 30, 5), At(1, 21, 30, 5),
                               At(1, 9, 0, 0),   At(2, 0, 0, 0),   At(2, 0, 0, 1)};
    for (std::size_t i = 0; i < std::size(times); ++i) {
        const std::vector<std::string> games(i + 1, "pacman");
        ASSERT_TRUE(WriteListFiles(cabinet.dir, "FIGHT", games, SystemFileIo(), {},
                                   cabinet.Keeping(times[i])));
    }
    EXPECT_EQ(cabinet.Names(),
              (std::vector<std::string>{"2024-05-01_21-30-05", "2024-05-01_21-30-05_2",
                                        "2024-05-01_21-30-05_3", "2024-05-01_21-30-05_4",
                                        "2024-05-02_00-00-00", "2024-05-02_00-00-01"}));
    // Each version holds what the save before it wrote.
    EXPECT_EQ(cabinet.Kept(ListVersion{At(1, 21, 30, 5), 3}, ".rom"), "pacman\r\npacman\r\n");

    for (int i = 0; i < 5; ++i) {
        const std::vector<std::string> games(static_cast<std::size_t>(10 + i), "pacman");
        ASSERT_TRUE(WriteListFiles(cabinet.dir, "FIGHT", games, SystemFileIo(), {},
                                   cabinet.Keeping(At(3, 0, 0, i))));
    }
    const auto names = cabinet.Names();
    ASSERT_EQ(names.size(), KeptVersionsPerList);
    EXPECT_EQ(names.front(), "2024-05-01_21-30-05_2");
    EXPECT_EQ(names.back(), "2024-05-03_00-00-04");
    EXPECT_FALSE(Exists(
        VersionFilePath(cabinet.program.path(), "FIGHT", ListVersion{At(1, 21, 30, 5)}, ".map")));
    for (const auto& name : strangers) {
        EXPECT_EQ(ReadBytes(JoinPath(folder, name)), "mine") << name;
    }
    EXPECT_EQ(cabinet.FilesKept().size(), 2 * KeptVersionsPerList + strangers.size());
}

TEST(ListVersions, ADeletedListIsKeptWholeAndOfferedBack) {
    Cabinet cabinet;
    const std::string sf2 = ReadBytes(cabinet.List("FIGHT", ".map"));
    const std::vector<std::string> two{"sf2 \"Street Fighter II\"", "mk \"Mortal Kombat\""};
    ASSERT_TRUE(WriteListFiles(cabinet.dir, "FIGHT", two, SystemFileIo(), {},
                               cabinet.Keeping(At(1, 10, 0, 0))));
    const std::string lastMap = ReadBytes(cabinet.List("FIGHT", ".map"));
    const std::string lastRom = ReadBytes(cabinet.List("FIGHT", ".rom"));
    auto found = FindDeletedList(cabinet.program.path(), "FIGHT");
    ASSERT_TRUE(found);
    EXPECT_FALSE(found.value()) << "a list that was only saved";

    ASSERT_TRUE(DeleteFavoritesList(cabinet.dir, "FIGHT", SystemFileIo(), {},
                                    cabinet.Keeping(At(1, 11, 0, 0))));
    EXPECT_EQ(ReadBytes(cabinet.launcher / "kabinet.cfg"), "emulators = mame\r\n");
    EXPECT_EQ(cabinet.Names(),
              (std::vector<std::string>{"2024-05-01_10-00-00", "2024-05-01_11-00-00_deleted"}));
    const ListVersion deleted{At(1, 11, 0, 0), 1, true};
    EXPECT_EQ(cabinet.Kept(deleted, ".cfg"), "name = FIGHT\r\ndescription =Beat them up\r\n");
    EXPECT_EQ(cabinet.Kept(deleted, ".map"), lastMap);

    found = FindDeletedList(cabinet.program.path(), "FIGHT");
    ASSERT_TRUE(found);
    ASSERT_TRUE(found.value());
    EXPECT_EQ(found.value()->version.Name(), deleted.Name());
    EXPECT_EQ(found.value()->games, 2U);
    EXPECT_EQ(found.value()->description, "Beat them up");

    // Created again, empty, then given its games back exactly.
    ASSERT_TRUE(CreateFavoritesList(cabinet.dir, "FIGHT", "Again"));
    ASSERT_TRUE(RestoreVersion(cabinet.program.path(), cabinet.dir, "FIGHT", deleted));
    EXPECT_EQ(ReadBytes(cabinet.List("FIGHT", ".map")), lastMap);
    EXPECT_EQ(ReadBytes(cabinet.List("FIGHT", ".rom")), lastRom);
    EXPECT_EQ(ReadBytes(cabinet.List("FIGHT", ".cfg")), "name = FIGHT\r\ndescription =Again\r\n");

    // An older version without its rom file gets one made from its map.
    const ListVersion first{At(1, 10, 0, 0)};
    std::filesystem::remove(VersionFilePath(cabinet.program.path(), "FIGHT", first, ".rom"));
    ASSERT_TRUE(RestoreVersion(cabinet.program.path(), cabinet.dir, "FIGHT", first));
    EXPECT_EQ(ReadBytes(cabinet.List("FIGHT", ".map")), sf2);
    EXPECT_EQ(ReadBytes(cabinet.List("FIGHT", ".rom")), "sf2\r\n");
}

TEST(ListVersions, OnlyALastDeletionWithGamesIsOffered) {
    struct Case {
        const char* what;
        std::vector<std::string> names; // kept versions, the files each holds
        bool offered;
    };
    const Case cases[] = {
        {"nothing kept", {}, false},
        {"deleted", {"2024-05-01_10-00-00_deleted"}, true},
        {"saved after the deletion",
         {"2024-05-01_10-00-00_deleted", "2024-05-01_10-00-00_2"},
         false},
        {"deleted again", {"2024-05-01_09-00-00", "2024-05-01_10-00-00_deleted"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Cabinet cabinet;
        const std::string folder = ListBackupFolder(cabinet.program.path(), "FIGHT");
        std::filesystem::create_directories(folder);
        for (const auto& name : c.names) {
            WriteBytes(JoinPath(folder, name + ".map"), "pacman\r\n");
        }
        auto found = FindDeletedList(cabinet.program.path(), "FIGHT");
        ASSERT_TRUE(found);
        EXPECT_EQ(found.value().has_value(), c.offered);
    }

    // A deleted list without games has nothing to bring back.
    Cabinet cabinet;
    ASSERT_TRUE(WriteListFiles(cabinet.dir, "FIGHT", {}, SystemFileIo(), {}, {}));
    ASSERT_TRUE(DeleteFavoritesList(cabinet.dir, "FIGHT", SystemFileIo(), {},
                                    cabinet.Keeping(At(1, 0, 0, 0))));
    auto found = FindDeletedList(cabinet.program.path(), "FIGHT");
    ASSERT_TRUE(found);
    EXPECT_FALSE(found.value());
}

// A backups folder that cannot take the version stops the save or the deletion before the
// list's files or kabinet.cfg change, with a code that leaves the settings file alone.
TEST(ListVersions, AVersionThatCannotBeKeptStopsEverything) {
    class NoVersionsIo final : public FileIo {
    public:
        explicit NoVersionsIo(std::string folder) : folder_(std::move(folder)) {}
        OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
            if (mode != OpenMode::Read && path.starts_with(folder_)) {
                return OsError::Full;
            }
            return FileIo::Open(path, mode, file);
        }

    private:
        std::string folder_;
    };
    enum class Blocked { BackupsIsAFile, ListFolderIsAFile, DiskFull };
    const std::pair<Blocked, int> cases[] = {
        {Blocked::BackupsIsAFile, ErrorCode::PathFileAccessError},
        {Blocked::ListFolderIsAFile, ErrorCode::PathFileAccessError},
        {Blocked::DiskFull, ErrorCode::DiskFull},
    };
    for (const auto& [blocked, code] : cases) {
        for (const bool deleting : {false, true}) {
            SCOPED_TRACE(static_cast<int>(blocked) * 2 + deleting);
            Cabinet cabinet;
            const std::string backups = JoinPath(cabinet.program.path(), BackupsFolderName);
            if (blocked == Blocked::BackupsIsAFile) {
                WriteBytes(backups, "");
            } else if (blocked == Blocked::ListFolderIsAFile) {
                std::filesystem::create_directory(backups);
                WriteBytes(ListBackupFolder(cabinet.program.path(), "FIGHT"), "");
            }
            const NoVersionsIo full(blocked == Blocked::DiskFull ? backups : "\n");
            std::map<std::string, std::string> before;
            for (const std::string& path :
                 {cabinet.launcher / "kabinet.cfg", cabinet.List("FIGHT", ".cfg"),
                  cabinet.List("FIGHT", ".map"), cabinet.List("FIGHT", ".rom")}) {
                before[path] = ReadBytes(path);
            }
            const Status status = deleting ? DeleteFavoritesList(cabinet.dir, "FIGHT", full, {},
                                                                 cabinet.Keeping(At(1, 0, 0, 0)))
                                           : WriteListFiles(cabinet.dir, "FIGHT", Pacman, full, {},
                                                            cabinet.Keeping(At(1, 0, 0, 0)));
            ASSERT_FALSE(status);
            EXPECT_EQ(status.failure().code, code);
            EXPECT_NE(status.failure().description.find("previous version could not be kept"),
                      std::string::npos)
                << status.failure().description;
            for (const auto& [path, bytes] : before) {
                EXPECT_EQ(ReadBytes(path), bytes) << path;
            }
            EXPECT_FALSE(Exists(cabinet.launcher / "kabinetcfg.tmp"));
        }
    }
}

// The folder is named like the list's files, so that no key can take it elsewhere.
TEST(ListVersions, EveryKeyKeepsItsVersionsInItsOwnFolder) {
    Cabinet cabinet;
    for (const std::string key : {"..", ".", "CON"}) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(CreateFavoritesList(cabinet.dir, key, ""));
        ASSERT_TRUE(WriteListFiles(cabinet.dir, key, Pacman, SystemFileIo(), {},
                                   cabinet.Keeping(At(1, 0, 0, 0))));
        EXPECT_EQ(cabinet.Names(key), std::vector<std::string>{"2024-05-01_00-00-00"});
        EXPECT_EQ(cabinet.FilesKept(key),
                  (std::set<std::string>{"2024-05-01_00-00-00.map", "2024-05-01_00-00-00.rom"}));
    }
    std::set<std::string> inBackups;
    for (const auto& entry :
         std::filesystem::directory_iterator(JoinPath(cabinet.program.path(), BackupsFolderName))) {
        inBackups.insert(entry.path().filename().string());
    }
#ifdef _WIN32
    EXPECT_EQ(inBackups, (std::set<std::string>{"kbfav.~", "kbfav..~", "kbfavCON"}));
#else
    EXPECT_EQ(inBackups, (std::set<std::string>{"kbfav.", "kbfav..", "kbfavCON"}));
#endif
}

} // namespace
} // namespace fav
