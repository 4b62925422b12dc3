// The POSIX side of the system layer, and what only a POSIX system can set up: other users,
// permissions, pipes, links, killed runs. Permission cases run as an ordinary user: when the
// tests run as root, a child process gives up root for the nobody user first.
#include "core/errors/os_error.h"
#include "core/launcher/game_list.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"
#include "core/os/errno_posix.h"
#include "core/settings/settings_file.h"
#include "core/textfile/files.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fav {
namespace {

namespace fs = std::filesystem;
using namespace test;

constexpr uid_t OrdinaryUid = 65534;
constexpr gid_t OrdinaryGid = 65534;
// A group the file's owner shares with the ordinary user.
constexpr gid_t SharedGid = 4242;

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

// Runs `body` in a child process as the ordinary user (when the tests run as root), with
// `groups` as its supplementary groups, and returns what it returned; -1 when the child did not
// end by itself. A hang ends with the alarm, as a failure rather than a stuck suite.
int InChild(const std::function<int()>& body, const std::vector<gid_t>& groups = {}) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(60);
        if (RunningAsRoot() && (::setgroups(groups.size(), groups.data()) != 0 ||
                                ::setgid(OrdinaryGid) != 0 || ::setuid(OrdinaryUid) != 0)) {
            ::_exit(254);
        }
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// An outcome as an exit code: 0, or the failure's code.
template <typename T> int CodeOf(const Result<T>& result) {
    return result ? 0 : result.failure().code;
}

// Every name in the folder, hidden ones included, so a stray temporary file shows up.
std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every file under the folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[entry.path().string()] = entry.is_regular_file() ? ReadBytes(entry.path()) : "/";
    }
    return files;
}

// Hands a path to the ordinary user, who must reach and write it.
void GiveAway(const std::string& path) {
    if (RunningAsRoot()) {
        ASSERT_EQ(::chown(path.c_str(), OrdinaryUid, OrdinaryGid), 0) << path;
    }
}

void SetMode(const std::string& path, mode_t mode) {
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

struct stat StatOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

// A launcher folder with kabinet.cfg, config/mame.cfg and a list FIGHT, all the ordinary
// user's.
struct Cabinet {
    TempFolder folder;
    std::string dir = folder.path();
    Cabinet() {
        fs::create_directory(dir + "/config");
        WriteBytes(dir + "/kabinet.cfg", "emulators = mame kbfavFIGHT\r\n");
        WriteBytes(dir + "/config/mame.cfg", "name = MAME\r\n");
        WriteBytes(dir + "/config/kbfavFIGHT.map", "sf2 \"Street Fighter II\"\r\n");
        WriteBytes(dir + "/config/kbfavFIGHT.rom", "sf2\r\n");
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            GiveAway(entry.path());
        }
        GiveAway(dir);
    }
    std::string operator/(const std::string& name) const { return dir + "/" + name; }
};

const std::vector<std::string> Pacman{"pacman \"Pac-Man\""};

TEST(PosixFiles, ErrnoValuesGiveTheProgramsCodes) {
    TempFolder folder;
    WriteBytes(folder / "file", "x");
    const struct {
        int error;
        std::string path;
        int code;
    } cases[] = {
        {ENOENT, folder / "missing", ErrorCode::FileNotFound},
        {ENOENT, folder / "missing/x", ErrorCode::PathNotFound},
        {ENOTDIR, folder / "file/x", ErrorCode::PathNotFound},
        {ENAMETOOLONG, "", ErrorCode::BadFileName},
        {EINVAL, "", ErrorCode::BadFileName},
        {EIO, "", ErrorCode::DeviceIoError},
        {ENOSPC, "", ErrorCode::DiskFull},
        {EDQUOT, "", ErrorCode::DiskFull},
        {ENXIO, "", ErrorCode::DeviceUnavailable},
        {ENOMEDIUM, "", ErrorCode::DeviceUnavailable},
        {EACCES, "", ErrorCode::PermissionDenied},
        {EPERM, "", ErrorCode::PermissionDenied},
        {EROFS, "", ErrorCode::PermissionDenied},
        {ELOOP, "", ErrorCode::PathFileAccessError},
        {EISDIR, "", ErrorCode::PathFileAccessError},
        {EBUSY, "", ErrorCode::PathFileAccessError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(CodeForOsError(OsErrorFromErrno(c.error, c.path)), c.code);
    }
}

TEST(PosixFiles, FilesTheUserMayNotWriteAreRefusedAndLeftAlone) {
    Cabinet cabinet;
    const auto before = Snapshot(cabinet.dir);
    // Read-only for everyone, as a cabinet owner protects kabinet.cfg.
    SetMode(cabinet / "kabinet.cfg", 0444);
    EXPECT_EQ(InChild([&] { return CodeOf(AddListEntry(cabinet.dir, "NEW")); }),
              ErrorCode::PathFileAccessError);
    EXPECT_EQ(InChild([&] { return CodeOf(CreateFavoritesList(cabinet.dir, "NEW", "")); }),
              ErrorCode::PathFileAccessError);
    SetMode(cabinet / "config/kbfavFIGHT.rom", 0444);
    EXPECT_EQ(InChild([&] { return CodeOf(WriteListFiles(cabinet.dir, "FIGHT", Pacman)); }),
              ErrorCode::PathFileAccessError);
    EXPECT_EQ(Snapshot(cabinet.dir), before);

    WriteBytes(cabinet / "favorize.cfg", "old settings\r\n");
    GiveAway(cabinet / "favorize.cfg");
    SetMode(cabinet / "favorize.cfg", 0444);
    EXPECT_EQ(InChild([&] { return CodeOf(WriteSettingsFile(cabinet.dir, "/", "/", "/", 0)); }),
              ErrorCode::PathFileAccessError);
    EXPECT_EQ(ReadBytes(cabinet / "favorize.cfg"), "old settings\r\n");

    if (!RunningAsRoot()) {
        GTEST_SKIP() << "files of another owner, and what root may do, need the tests run as root";
    }
    // Another owner's file, writable by that owner alone.
    SetMode(cabinet / "kabinet.cfg", 0644);
    ASSERT_EQ(::chown((cabinet / "kabinet.cfg").c_str(), 0, 0), 0);
    EXPECT_EQ(InChild([&] { return CodeOf(AddListEntry(cabinet.dir, "NEW")); }),
              ErrorCode::PathFileAccessError);
    EXPECT_EQ(Snapshot(cabinet.dir)[cabinet / "kabinet.cfg"], before.at(cabinet / "kabinet.cfg"));
    // Root may write a read-only file, so the program run as root does.
    SetMode(cabinet / "kabinet.cfg", 0444);
    ASSERT_TRUE(AddListEntry(cabinet.dir, "NEW"));
    EXPECT_EQ(ReadBytes(cabinet / "kabinet.cfg"), "emulators = mame kbfavFIGHT kbfavNEW\r\n");
    EXPECT_EQ(StatOf(cabinet / "kabinet.cfg").st_mode & 07777, 0444u);
}

TEST(PosixFiles, RewriteByAGroupMemberKeepsTheGroupAndMode) {
    if (!RunningAsRoot()) {
        GTEST_SKIP()
            << "a file of another owner shared through a group needs the tests run as root";
    }
    Cabinet cabinet;
    // The launcher's user owns kabinet.cfg and shares it with the program's user through a group.
    const std::string config = cabinet / "kabinet.cfg";
    ASSERT_EQ(::chown(config.c_str(), 0, SharedGid), 0);
    SetMode(config, 0660);
    EXPECT_EQ(InChild([&] { return CodeOf(AddListEntry(cabinet.dir, "NEW")); }, {SharedGid}), 0);
    EXPECT_EQ(ReadBytes(config), "emulators = mame kbfavFIGHT kbfavNEW\r\n");
    const struct stat info = StatOf(config);
    EXPECT_EQ(info.st_gid, SharedGid);
    EXPECT_EQ(info.st_mode & 07777, 0660u);
}

TEST(PosixFiles, FolderThatTakesNoNewFileIsWrittenInPlace) {
    Cabinet cabinet;
    const std::string config = cabinet / "config";
    SetMode(config, 0555);
    const int saved = InChild([&] { return CodeOf(WriteListFiles(cabinet.dir, "FIGHT", Pacman)); });
    const int settings =
        InChild([&] { return CodeOf(WriteSettingsFile(config, "/", "/", "/", 0)); });
    SetMode(config, 0755);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(ReadBytes(config + "/kbfavFIGHT.map"), "pacman \"Pac-Man\"\r\n");
    EXPECT_EQ(ReadBytes(config + "/kbfavFIGHT.rom"), "pacman\r\n");
    // A file that is not there cannot be made there.
    EXPECT_EQ(settings, ErrorCode::PermissionDenied);
    EXPECT_EQ(Names(config),
              (std::set<std::string>{"kbfavFIGHT.map", "kbfavFIGHT.rom", "mame.cfg"}));
}

TEST(PosixFiles, LinksOutOfTheLauncherFolderAreNeverWrittenThrough) {
    Cabinet cabinet;
    TempFolder elsewhere;
    const std::string startup = elsewhere / ".profile";
    WriteBytes(startup, "the user's shell start-up\n");
    const auto before = Snapshot(cabinet.dir);

    fs::create_symlink(startup, cabinet / "kabinetcfg.tmp");
    EXPECT_EQ(AddListEntry(cabinet.dir, "NEW").failure().code, ErrorCode::PathFileAccessError);
    fs::remove(cabinet / "kabinetcfg.tmp");
    fs::remove(cabinet / "config/kbfavFIGHT.rom");
    fs::create_symlink(startup, cabinet / "config/kbfavFIGHT.rom");
    EXPECT_EQ(WriteListFiles(cabinet.dir, "FIGHT", Pacman).failure().code,
              ErrorCode::PathFileAccessError);
    fs::create_symlink("../../" + fs::path(elsewhere.path()).filename().string() + "/.profile",
                       cabinet / "config/kbfavNEW.cfg");
    EXPECT_EQ(CreateFavoritesList(cabinet.dir, "NEW", "").failure().code,
              ErrorCode::PathFileAccessError);
    EXPECT_EQ(ReadBytes(startup), "the user's shell start-up\n");
    EXPECT_EQ(ReadBytes(cabinet / "config/kbfavFIGHT.map"),
              before.at(cabinet / "config/kbfavFIGHT.map"));
    fs::remove(cabinet / "config/kbfavFIGHT.rom");
    fs::remove(cabinet / "config/kbfavNEW.cfg");

    // Links that stay inside the launcher folder, and kabinet.cfg wherever it leads, are
    // written through.
    fs::create_directory(cabinet / "shared");
    WriteBytes(cabinet / "shared/fight.rom", "old\r\n");
    fs::create_symlink("../shared/fight.rom", cabinet / "config/kbfavFIGHT.rom");
    ASSERT_TRUE(WriteListFiles(cabinet.dir, "FIGHT", Pacman));
    EXPECT_EQ(ReadBytes(cabinet / "shared/fight.rom"), "pacman\r\n");
    EXPECT_TRUE(fs::is_symlink(cabinet / "config/kbfavFIGHT.rom"));
    WriteBytes(elsewhere / "kabinet.cfg", "emulators = mame\r\n");
    fs::remove(cabinet / "kabinet.cfg");
    fs::create_symlink(elsewhere / "kabinet.cfg", cabinet / "kabinet.cfg");
    ASSERT_TRUE(AddListEntry(cabinet.dir, "NEW"));
    EXPECT_EQ(ReadBytes(elsewhere / "kabinet.cfg"), "emulators = mame kbfavNEW\r\n");
}

TEST(PosixFiles, PipesInPlaceOfFilesAreRefusedAtOnce) {
    Cabinet cabinet;
    fs::remove(cabinet / "kabinet.cfg");
    for (const std::string name : {"kabinet.cfg", "config/mame.map", "favorize.cfg"}) {
        ASSERT_EQ(::mkfifo((cabinet / name).c_str(), 0666), 0);
        GiveAway(cabinet / name);
    }
    // Each case runs in a child, so a read that waits for a writer ends with its alarm.
    const std::function<int()> cases[] = {
        [&] { return CodeOf(ReadGameLines(MameMapPath(cabinet.dir))); },
        [&] { return CodeOf(ReplaceFile(MameMapPath(cabinet.dir), "x")); },
        [&] { return CodeOf(ScanLauncherConfig(cabinet.dir)); },
        [&] { return CodeOf(AddListEntry(cabinet.dir, "NEW")); },
        [&] { return CodeOf(ReadSettingsFile(SettingsFilePath(cabinet.dir))); },
        [&] { return CodeOf(WriteSettingsFile(cabinet.dir, "/", "/", "/", 0)); },
        [&] { return CodeOf(AppendToFile(cabinet / "favorize.cfg", "x")); },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(InChild(cases[i]), ErrorCode::PathFileAccessError);
    }
    for (const std::string name : {"kabinet.cfg", "config/mame.map", "favorize.cfg"}) {
        EXPECT_TRUE(fs::is_fifo(cabinet / name)) << name;
    }
}

// Ends the process, as kill -9 or a crash would, once the new contents are written.
class DyingIo : public FileIo {
public:
    OsError Sync(FileHandle) const override {
        ::kill(::getpid(), SIGKILL);
        return OsError::Io;
    }
};

TEST(PosixFiles, RunsKilledWhileReplacingLeaveNothingAfterTheNextWrite) {
    TempFolder folder;
    const std::string path = folder / "kabinet.cfg";
    WriteBytes(path, "old\r\n");
    GiveAway(folder.path());
    GiveAway(path);
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(InChild([&] { return CodeOf(ReplaceFile(path, "new\r\n", DyingIo())); }), -1);
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    // Each run removed what the run before it left; the last one's file is still there.
    EXPECT_EQ(Names(folder.path()).size(), 2u);

    // Names the program does not make, or that a live process holds, are left alone.
    const std::set<std::string> others = {
        ".kabinet.cfg.new1-0", ".kabinet.cfg.newx-0",   ".kabinet.cfg.new12-345",
        ".kabinet.cfg.new12-", ".kabinet.cfg.new12-0~", ".mame.map.new12-0",
        "kabinet.cfg.new12-0", ".kabinet.cfg.new-0",    ".kabinet.cfg.new99999999999-0",
    };
    for (const auto& name : others) {
        WriteBytes(folder / name, "not ours");
    }
    ASSERT_TRUE(ReplaceFile(path, "newer\r\n"));
    auto expected = others;
    expected.insert("kabinet.cfg");
    EXPECT_EQ(Names(folder.path()), expected);
    EXPECT_EQ(ReadBytes(path), "newer\r\n");
}

} // namespace
} // namespace fav
