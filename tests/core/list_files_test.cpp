#include "core/launcher/game_list.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"
#include "core/textfile/names.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace fav {
namespace {

using namespace test;

// A launcher folder with kabinet.cfg and, unless told otherwise, config/mame.cfg.
struct Launcher {
    TempFolder folder;
    std::string dir = folder.path();

    explicit Launcher(const std::string& emulatorsLine, bool withConfigFolder = true) {
        WriteBytes(dir + "/kabinet.cfg", emulatorsLine + "\r\n");
        if (withConfigFolder) {
            std::filesystem::create_directory(dir + "/config");
        }
    }
    std::string List(const std::string& key, const std::string& extension) const {
        return ListFilePath(dir, key, extension);
    }
};

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every file under the folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files[entry.path().string()] =
            entry.is_regular_file() ? ReadBytes(entry.path().string()) : "/";
    }
    return files;
}

class CountingIo : public FileIo {
public:
    OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
        ++calls;
        return FileIo::Open(path, mode, file);
    }
    OsError Unlink(const std::string& path) const override {
        ++calls;
        return FileIo::Unlink(path);
    }
    mutable int calls = 0;
};

TEST(ListFiles, KeyThatWouldLeaveConfigFolderTouchesNothing) {
    using Operation = std::function<Status(const std::string&, const std::string&, const FileIo&)>;
    const std::vector<std::string> entries{"pacman"};
    const Operation operations[] = {
        [](auto& dir, auto& key, auto& io) { return AddListEntry(dir, key, io); },
        [](auto& dir, auto& key, auto& io) { return RemoveListEntry(dir, key, io); },
        [](auto& dir, auto& key, auto& io) { return CreateFavoritesList(dir, key, "d", io); },
        [](auto& dir, auto& key, auto& io) { return DeleteFavoritesList(dir, key, io); },
        [&](auto& dir, auto& key, auto& io) { return WriteListFiles(dir, key, entries, io); },
        // Nor is anything kept of the list in the program's folder, here the launcher's.
        [&](auto& dir, auto& key, auto& io) {
            return WriteListFiles(dir, key, entries, io, {}, VersionKeeping{dir, {}});
        },
        [](auto& dir, auto& key, auto& io) {
            return DeleteFavoritesList(dir, key, io, {}, VersionKeeping{dir, {}});
        },
        [](auto& dir, auto& key, auto& io) {
            auto found = FindDeletedList(dir, key, io);
            return found ? Status() : Status(found.failure());
        },
        [](auto& dir, auto& key, auto& io) { return RestoreVersion(dir, dir, key, {}, io); },
    };
    for (const std::string& key :
         {std::string("../../evil"), std::string("a/b"), std::string("a\0b", 3)}) {
        for (const auto& operation : operations) {
            Launcher launcher("emulators = mame kbfavX");
            WriteBytes(launcher.dir + "/config/mame.cfg", "name = MAME\r\n");
            const auto before = Snapshot(launcher.dir);
            const CountingIo io;
            const Status status = operation(launcher.dir, key, io);
            ASSERT_FALSE(status.ok());
            EXPECT_EQ(status.failure().code, ErrorCode::PathFileAccessError);
            EXPECT_NE(status.failure().description.find("config folder"), std::string::npos);
            EXPECT_EQ(io.calls, 0);
            EXPECT_EQ(Snapshot(launcher.dir), before);
        }
    }
}

// Keys of every length about the file system's limit: each one either works in every operation,
// its temporary files included, or is refused before any file is touched; never "bad file
// name", which would cost the owner the settings file. A line break is refused the same way.
TEST(ListFiles, KeyEitherWorksEverywhereOrIsRefusedUntouched) {
    const std::vector<std::string> entries{"pacman"};
    std::vector<std::string> keys{"A\rB", "A\nB", "A\r\n"};
    for (std::size_t length = 220; length <= 250; ++length) {
        keys.emplace_back(length, 'K');
    }
    int worked = 0;
    int refused = 0;
    for (const auto& key : keys) {
        SCOPED_TRACE(key.size());
        Launcher launcher("emulators = mame");
        WriteBytes(launcher.dir + "/config/mame.cfg", "name = MAME\r\n");
        const auto before = Snapshot(launcher.dir);
        const Status created = CreateFavoritesList(launcher.dir, key, "d");
        if (created) {
            ++worked;
            EXPECT_TRUE(WriteListFiles(launcher.dir, key, entries));
            EXPECT_EQ(ReadBytes(launcher.List(key, ".rom")), "pacman\r\n");
            EXPECT_TRUE(DeleteFavoritesList(launcher.dir, key));
            continue;
        }
        ++refused;
        EXPECT_EQ(created.failure().code, ErrorCode::PathFileAccessError);
        EXPECT_EQ(WriteListFiles(launcher.dir, key, entries).failure().code,
                  ErrorCode::PathFileAccessError);
        EXPECT_EQ(DeleteFavoritesList(launcher.dir, key).failure().code,
                  ErrorCode::PathFileAccessError);
        EXPECT_EQ(Snapshot(launcher.dir), before);
    }
    EXPECT_GT(worked, 0);
    EXPECT_GT(refused, 3);
}

TEST(ListFiles, CreateWritesEntryConfigurationAndEmptyGameFiles) {
    Launcher launcher("emulators = mame");
    WriteBytes(launcher.dir + "/config/mame.cfg",
               "# mame\r\nName = Mame\r\ndescription = Arcade\r\nname\r\nnamex = keep\r\n"
               "rompath = roms\rname =x\r\nDESCRIPTION =old\nkept\n\rdescription");
    WriteBytes(launcher.List("MY_GAMES", ".rom"), "old rom\r\n");
    WriteBytes(launcher.List("MY_GAMES", ".map"), "old map\r\n");

    ASSERT_TRUE(CreateFavoritesList(launcher.dir, "MY_GAMES", "Best_of__all").ok());
    EXPECT_EQ(ReadBytes(launcher.dir + "/kabinet.cfg"), "emulators = mame kbfavMY_GAMES\r\n");
    EXPECT_EQ(ReadBytes(launcher.dir + "/kabinetcfg.tmp"), "emulators = mame\r\n");
    EXPECT_EQ(ReadBytes(launcher.List("MY_GAMES", ".cfg")),
              "# mame\r\nname = MY GAMES\r\ndescription =Best of  all\r\nname\r\nnamex = keep\r\n"
              "rompath = roms\r\nname = MY GAMES\r\ndescription =Best of  all\r\nkept\r\n\r\n"
              "description\r\n");
    EXPECT_EQ(ReadBytes(launcher.List("MY_GAMES", ".rom")), "");
    EXPECT_EQ(ReadBytes(launcher.List("MY_GAMES", ".map")), "");

    ASSERT_TRUE(CreateFavoritesList(launcher.dir, "____", "").ok());
    EXPECT_EQ(ReadBytes(launcher.List("____", ".cfg")),
              "# mame\r\nname =     \r\ndescription =\r\nname\r\nnamex = keep\r\n"
              "rompath = roms\r\nname =     \r\ndescription =\r\nkept\r\n\r\ndescription\r\n");
}

TEST(ListFiles, CreateStopsAtTheFirstFailure) {
    Launcher noConfig("emulators = mame", false);
    Status status = CreateFavoritesList(noConfig.dir, "A", "");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, ErrorCode::PathNotFound);
    EXPECT_EQ(ReadBytes(noConfig.dir + "/kabinet.cfg"), "emulators = mame kbfavA\r\n");

    Launcher noMameCfg("emulators = mame");
    status = CreateFavoritesList(noMameCfg.dir, "A", "");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, ErrorCode::FileNotFound);
    EXPECT_EQ(ReadBytes(noMameCfg.dir + "/kabinet.cfg"), "emulators = mame kbfavA\r\n");
    for (const char* extension : {".cfg", ".rom", ".map"}) {
        EXPECT_FALSE(Exists(noMameCfg.List("A", extension))) << extension;
    }

    Launcher romIsFolder("emulators = mame");
    WriteBytes(romIsFolder.dir + "/config/mame.cfg", "name = MAME\r\n");
    std::filesystem::create_directory(romIsFolder.List("A", ".rom"));
    status = CreateFavoritesList(romIsFolder.dir, "A", "");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, ErrorCode::PathFileAccessError);
    EXPECT_EQ(ReadBytes(romIsFolder.List("A", ".cfg")), "name = A\r\n");
    EXPECT_FALSE(Exists(romIsFolder.List("A", ".map")));
}

TEST(ListFiles, TheMenuEntryGivesTheKeyWithoutItsLeadingSpaces) {
    EXPECT_EQ(ListKeyFromMenuEntry(" FIGHT GAMES"), "FIGHT GAMES");
    EXPECT_EQ(ListKeyFromMenuEntry("   "), "");
}

TEST(ListFiles, DeleteRemovesEntryAndFilesSkippingMissingOnes) {
    Launcher launcher("emulators = mame kbfavFIGHT kbfavRACE");
    for (const std::string key : {"FIGHT", "RACE"}) {
        for (const char* extension : {".cfg", ".map", ".rom"}) {
            WriteBytes(launcher.List(key, extension), key + extension);
        }
    }
    std::filesystem::remove(launcher.List("FIGHT", ".map"));

    ASSERT_TRUE(DeleteFavoritesList(launcher.dir, "FIGHT").ok());
    EXPECT_EQ(ReadBytes(launcher.dir + "/kabinet.cfg"), "emulators = mame kbfavRACE\r\n");
    EXPECT_FALSE(Exists(launcher.List("FIGHT", ".cfg")));
    EXPECT_FALSE(Exists(launcher.List("FIGHT", ".rom")));
    for (const char* extension : {".cfg", ".map", ".rom"}) {
        EXPECT_EQ(ReadBytes(launcher.List("RACE", extension)), std::string("RACE") + extension);
    }

    // A folder in the way stops the deletion there.
    std::filesystem::remove(launcher.List("RACE", ".map"));
    std::filesystem::create_directory(launcher.List("RACE", ".map"));
    const Status status = DeleteFavoritesList(launcher.dir, "RACE");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, ErrorCode::PathFileAccessError);
    EXPECT_EQ(ReadBytes(launcher.dir + "/kabinet.cfg"), "emulators = mame\r\n");
    EXPECT_FALSE(Exists(launcher.List("RACE", ".cfg")));
    EXPECT_TRUE(Exists(launcher.List("RACE", ".rom")));
}

TEST(ListFiles, NamesMatchedIgnoringCaseOnlyWhenTheSpellingIsMissing) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows itself matches names ignoring case";
#endif
    TempFolder folder;
    WriteBytes(folder / "Kabinet.CFG", "");
    EXPECT_EQ(PathInFolder(folder.path(), "kabinet.cfg"), folder / "Kabinet.CFG");
    // The spelling itself wins, even as a link that leads nowhere.
    std::filesystem::create_symlink("gone", folder / "kabinet.cfg");
    EXPECT_EQ(PathInFolder(folder.path(), "kabinet.cfg"), folder / "kabinet.cfg");
    // Two matches and no spelling: neither is taken.
    WriteBytes(folder / "MAME.map", "");
    WriteBytes(folder / "mame.MAP", "");
    EXPECT_EQ(PathInFolder(folder.path(), "mame.map"), folder / "mame.map");
    // Only ASCII letters fold.
    WriteBytes(folder / "kbfavCAF\xC9.map", "");
    EXPECT_EQ(PathInFolder(folder.path(), "kbfavcaf\xE9.map"), folder / "kbfavcaf\xE9.map");
    EXPECT_EQ(PathInFolder(folder.path(), "KBFAVCAF\xC9.MAP"), folder / "kbfavCAF\xC9.map");
    EXPECT_EQ(PathInFolder(folder / "none", "x"), folder / "none/x");
    EXPECT_EQ(PathInFolder(folder / "Kabinet.CFG", "x"), folder / "Kabinet.CFG/x");
}

// A launcher whose folder and files are spelled in other letter cases: read where they are,
// rewritten in their own spelling, new files in the usual spelling, deleted where they were
// found. "FIGHT" and "fight" stay two lists, each with its own files.
TEST(ListFiles, LauncherFilesInAnyLetterCase) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows itself matches names ignoring case";
#endif
    TempFolder folder;
    const std::string dir = folder.path();
    std::filesystem::create_directory(dir + "/Config");
    WriteBytes(dir + "/Kabinet.cfg",
               "emulators = mame kbfavFIGHT kbfavfight kbfavRetro\n[video]\n");
    WriteBytes(dir + "/KABINETCFG.TMP", "old copy\r\n");
    WriteBytes(dir + "/Config/MAME.CFG", "name = MAME\ndescription = x\n");
    for (const std::string key : {"FIGHT", "fight"}) {
        for (const std::string extension : {".cfg", ".map", ".rom"}) {
            WriteBytes(dir + "/Config/kbfav" + key + extension, key + "\r\n");
        }
    }
    WriteBytes(dir + "/Config/KBFAVRETRO.MAP", "pacman\r\n");
    WriteBytes(dir + "/Config/kbfavretro.rom", "pacman\r\n");
    WriteBytes(dir + "/Config/KbFavRetro.Cfg", "name = Retro\r\n");

    EXPECT_EQ(MameCfgPath(dir), dir + "/Config/MAME.CFG");
    EXPECT_EQ(MameMapPath(dir), dir + "/Config/mame.map");
    EXPECT_EQ(ListFilePath(dir, "Retro", ".map"), dir + "/Config/KBFAVRETRO.MAP");
    auto scan = ScanLauncherConfig(dir);
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan.value().ListKeys, (std::vector<std::string>{"FIGHT", "fight", "Retro"}));

    ASSERT_TRUE(CreateFavoritesList(dir, "NEW", ""));
    const std::string before = "emulators = mame kbfavFIGHT kbfavfight kbfavRetro";
    EXPECT_EQ(ReadBytes(dir + "/Kabinet.cfg"), before + " kbfavNEW\r\n[video]\r\n");
    EXPECT_EQ(ReadBytes(dir + "/KABINETCFG.TMP"), before + "\r\n[video]\r\n");
    EXPECT_EQ(ReadBytes(dir + "/Config/kbfavNEW.cfg"), "name = NEW\r\ndescription =\r\n");

    const std::string games[] = {"sf2 \"Street Fighter II\""};
    ASSERT_TRUE(WriteListFiles(dir, "Retro", games));
    EXPECT_EQ(ReadBytes(dir + "/Config/KBFAVRETRO.MAP"), "sf2 \"Street Fighter II\"\r\n");
    EXPECT_EQ(ReadBytes(dir + "/Config/kbfavretro.rom"), "sf2\r\n");

    ASSERT_TRUE(DeleteFavoritesList(dir, "FIGHT"));
    ASSERT_TRUE(DeleteFavoritesList(dir, "Retro"));
    EXPECT_EQ(ReadBytes(dir + "/Kabinet.cfg"),
              "emulators = mame kbfavfight kbfavNEW\r\n[video]\r\n");
    EXPECT_EQ(Names(dir), (std::set<std::string>{"Config", "KABINETCFG.TMP", "Kabinet.cfg"}));
    EXPECT_EQ(Names(dir + "/Config"),
              (std::set<std::string>{"MAME.CFG", "kbfavNEW.cfg", "kbfavNEW.map", "kbfavNEW.rom",
                                     "kbfavfight.cfg", "kbfavfight.map", "kbfavfight.rom"}));
    EXPECT_EQ(ReadBytes(dir + "/Config/kbfavfight.map"), "fight\r\n");
}

} // namespace
} // namespace fav
