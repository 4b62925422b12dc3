#include "core/textfile/files.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#ifdef _WIN32
#include <windows.h>
// Its ReplaceFile macro would rename ours.
#undef ReplaceFile
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fav {
namespace {

namespace fs = std::filesystem;
using namespace test;

// Every name in the folder, hidden ones included, so a stray temporary file shows up.
std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

#ifndef _WIN32
mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}
#endif

// A file the user is not meant to see: on POSIX a name that starts with "." is enough, on
// Windows it takes the attribute.
void WriteHidden(const std::string& path, unsigned long windowsAttribute = 0x2) {
    WriteBytes(path, "x");
#ifdef _WIN32
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), windowsAttribute));
#else
    (void)windowsAttribute;
#endif
}

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}

TEST(TextFile, ReplaceAndReadKeepEveryByte) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    const std::string contents[] = {AllBytes() + AllBytes(), std::string(1 << 20, 'x') + "\r\n", "",
                                    "\r\r\n\n", "short"};
    WriteBytes(path, std::string(3000, 'o'));
    for (const auto& content : contents) {
        ASSERT_TRUE(ReplaceFile(path, content));
        EXPECT_EQ(ReadBytes(path), content);
        auto read = ReadWholeFile(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(read.value(), content);
    }
    EXPECT_EQ(Names(folder.path()), std::set<std::string>{"data.cfg"});
}

TEST(TextFile, ReplaceFileLinesEndsEveryLineWithCrLf) {
    TempFolder folder;
    ASSERT_TRUE(ReplaceFileLines(folder / "a", {"one", "", "th\xffree"}));
    EXPECT_EQ(ReadBytes(folder / "a"), "one\r\n\r\nth\xffree\r\n");
    auto lines = ReadLines(folder / "a");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines.value(), (std::vector<std::string>{"one", "", "th\xffree"}));
}

TEST(TextFile, ReplaceThroughSymlinkReplacesTargetAndKeepsLink) {
#ifdef _WIN32
    GTEST_SKIP() << "making a symbolic link takes a privilege on Windows";
#endif
    TempFolder folder;
    fs::create_directory(folder / "real");
    WriteBytes(folder / "real/kabinet.cfg", "old");
    fs::create_symlink("real/kabinet.cfg", folder / "link.cfg");

    ASSERT_TRUE(ReplaceFile(folder / "link.cfg", "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.cfg"));
    EXPECT_EQ(ReadBytes(folder / "real/kabinet.cfg"), "new");
    EXPECT_EQ(Names(folder / "real"), std::set<std::string>{"kabinet.cfg"});
}

TEST(TextFile, ReplaceKeepsModeBits) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes; Windows keeps attributes instead (FileIoWindows)";
#else
    TempFolder folder;
    for (mode_t mode : {0600, 0644, 0755, 0640}) {
        WriteBytes(folder / "f", "old");
        ASSERT_EQ(::chmod((folder / "f").c_str(), mode), 0);
        ASSERT_TRUE(ReplaceFile(folder / "f", "new"));
        EXPECT_EQ(ModeOf(folder / "f"), mode);
    }
#endif
}

TEST(TextFile, ReplaceKeepsOwnerWhereAllowed) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX owners; a new file on Windows takes its folder's access list";
#else
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another owner";
    }
    TempFolder folder;
    WriteBytes(folder / "kabinet.cfg", "old");
    ASSERT_EQ(::chown((folder / "kabinet.cfg").c_str(), 4321, 4322), 0);
    ASSERT_TRUE(ReplaceFile(folder / "kabinet.cfg", "new"));
    struct stat info {};
    ASSERT_EQ(::stat((folder / "kabinet.cfg").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
#endif
}

TEST(TextFile, ReplaceRefusesFolderAndLeavesNothingBehind) {
    TempFolder folder;
    fs::create_directory(folder / "kabinet.cfg");
    auto replaced = ReplaceFile(folder / "kabinet.cfg", "x");
    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.failure().code, ErrorCode::PathFileAccessError);
    EXPECT_EQ(Names(folder.path()), std::set<std::string>{"kabinet.cfg"});
    EXPECT_TRUE(fs::is_empty(folder / "kabinet.cfg"));
}

// Fails one step of the write with the given error.
class FailingIo : public FileIo {
public:
    enum class Step { Open, Write, Sync, Close, Rename };
    FailingIo(Step step, OsError error) : step_(step), error_(error) {}

    OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
        return Fail(Step::Open) ? error_ : FileIo::Open(path, mode, file);
    }
    OsError Write(FileHandle file, const char* data, std::size_t size,
                  std::size_t& written) const override {
        return Fail(Step::Write) ? error_ : FileIo::Write(file, data, size, written);
    }
    OsError Sync(FileHandle file) const override {
        return Fail(Step::Sync) ? error_ : FileIo::Sync(file);
    }
    OsError Close(FileHandle file) const override {
        const OsError closed = FileIo::Close(file);
        return Fail(Step::Close) ? error_ : closed;
    }
    OsError Rename(const std::string& from, const std::string& to) const override {
        return Fail(Step::Rename) ? error_ : FileIo::Rename(from, to);
    }

private:
    bool Fail(Step step) const { return step == step_; }
    Step step_;
    OsError error_;
};

TEST(TextFile, FailedReplaceLeavesOldFileWholeAndNoTemporary) {
    using Step = FailingIo::Step;
    const struct {
        Step step;
        OsError error;
        int code;
    } cases[] = {
        {Step::Open, OsError::Denied, ErrorCode::PermissionDenied},
        {Step::Write, OsError::Full, ErrorCode::DiskFull},
        {Step::Sync, OsError::Io, ErrorCode::DeviceIoError},
        {Step::Close, OsError::Io, ErrorCode::DeviceIoError},
        {Step::Rename, OsError::Denied, ErrorCode::PermissionDenied},
    };
    TempFolder folder;
    WriteBytes(folder / "mame.map", "old\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        auto replaced = ReplaceFile(folder / "mame.map", "new\r\n", FailingIo(c.step, c.error));
        ASSERT_FALSE(replaced);
        EXPECT_EQ(replaced.failure().code, c.code);
        EXPECT_EQ(ReadBytes(folder / "mame.map"), "old\r\n");
        EXPECT_EQ(Names(folder.path()), std::set<std::string>{"mame.map"});
    }
}

// Records the renames and folder flushes, in order.
class RecordingIo : public FileIo {
public:
    OsError Rename(const std::string& from, const std::string& to) const override {
        steps.push_back("rename " + to);
        return FileIo::Rename(from, to);
    }
    OsError SyncFolder(const std::string& folder) const override {
        steps.push_back("flush " + folder);
        return FileIo::SyncFolder(folder);
    }
    mutable std::vector<std::string> steps;
};

// A replacement is only safe from a power cut once the folder holding the rename is flushed; a
// failing flush is reported.
TEST(TextFile, ReplaceFlushesTheFolderAfterTheRename) {
    TempFolder folder;
    WriteBytes(folder / "kabinet.cfg", "old");
    const RecordingIo io;
    ASSERT_TRUE(ReplaceFile(folder / "kabinet.cfg", "new", io));
    EXPECT_EQ(io.steps, (std::vector<std::string>{"rename " + folder / "kabinet.cfg",
                                                  "flush " + folder.path()}));

    class FailingFlushIo : public FileIo {
    public:
        OsError SyncFolder(const std::string&) const override { return OsError::Io; }
    };
    EXPECT_EQ(ReplaceFile(folder / "kabinet.cfg", "newer", FailingFlushIo()).failure().code,
              ErrorCode::DeviceIoError);
}

// Writes at most three bytes a call, as a pipe or a full disk may.
class TrickleIo : public FileIo {
public:
    OsError Write(FileHandle file, const char* data, std::size_t size,
                  std::size_t& written) const override {
        return FileIo::Write(file, data, std::min<std::size_t>(size, 3), written);
    }
};

TEST(TextFile, ShortWritesAreCompleted) {
    TempFolder folder;
    ASSERT_TRUE(ReplaceFile(folder / "f", "abcdefgh", TrickleIo()));
    ASSERT_TRUE(AppendToFile(folder / "f", "ijklm", TrickleIo()));
    EXPECT_EQ(ReadBytes(folder / "f"), "abcdefghijklm");
}

TEST(TextFile, FailuresAreClassified) {
    TempFolder folder;
    WriteBytes(folder / "file", "x");
    const struct {
        std::string path;
        int code;
    } cases[] = {
        {folder / "missing.cfg", ErrorCode::FileNotFound},
        {folder / "no-such-folder/kabinet.cfg", ErrorCode::PathNotFound},
        {folder / "file/kabinet.cfg", ErrorCode::PathNotFound},
        {"", ErrorCode::BadFileName},
        {std::string("a\0b", 3), ErrorCode::BadFileName},
        {folder.path(), ErrorCode::PathFileAccessError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto read = ReadWholeFile(c.path);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.failure().code, c.code);
    }
    // Writing into a missing folder, or through a file, is a missing path too.
    for (const std::string& path :
         {folder / "no-such-folder/kabinet.cfg", folder / "file/kabinet.cfg"}) {
        auto replaced = ReplaceFile(path, "x");
        ASSERT_FALSE(replaced);
        EXPECT_EQ(replaced.failure().code, ErrorCode::PathNotFound);
    }
}

TEST(TextFile, FolderHasOrdinaryFile) {
    TempFolder folder;
    EXPECT_FALSE(FolderHasOrdinaryFile(folder / "missing").value());
    EXPECT_FALSE(FolderHasOrdinaryFile(folder.path()).value());

    fs::create_directory(folder / "sub");
    WriteHidden(folder / ".hidden");
#ifndef _WIN32
    fs::create_symlink("missing-target", folder / "dangling");
#endif
    EXPECT_FALSE(FolderHasOrdinaryFile(folder.path()).value());

    WriteBytes(folder / "sub/file", "x");
    EXPECT_FALSE(FolderHasOrdinaryFile(folder / "sub/file").value());
    EXPECT_TRUE(FolderHasOrdinaryFile(folder / "sub").value());

#ifndef _WIN32
    fs::create_symlink("sub/file", folder / "link");
    EXPECT_TRUE(FolderHasOrdinaryFile(folder.path()).value());
#endif
}

TEST(TextFile, SubfolderNamesAreWhatAFolderTreeShows) {
    TempFolder folder;
    fs::create_directory(folder / "sub");
    WriteBytes(folder / "file", "x");
#ifdef _WIN32
    // The attribute decides. (Wine gives names with a leading dot the attribute too.)
    fs::create_directory(folder / "hidden");
    ASSERT_TRUE(::SetFileAttributesA((folder / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::set<std::string> shown{"sub"};
#else
    fs::create_directory(folder / ".dot");
    fs::create_directory_symlink("sub", folder / "link");
    fs::create_symlink("missing-target", folder / "dangling");
    const std::set<std::string> shown{".dot", "link", "sub"};
#endif
    const std::vector<std::string> names = SubfolderNames(folder.path());
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), shown);
    EXPECT_TRUE(SubfolderNames(folder / "missing").empty());
}

TEST(TextFile, IsOrdinaryFile) {
    TempFolder folder;
    WriteBytes(folder / "f", "");
    WriteHidden(folder / ".f");
    fs::create_directory(folder / "d");
    EXPECT_TRUE(IsOrdinaryFile(folder / "f"));
    EXPECT_FALSE(IsOrdinaryFile(folder / ".f"));
#ifdef _WIN32
    // The attributes decide, not the name.
    WriteHidden(folder / "hidden", FILE_ATTRIBUTE_HIDDEN);
    WriteHidden(folder / "system", FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(IsOrdinaryFile(folder / "hidden"));
    EXPECT_FALSE(IsOrdinaryFile(folder / "system"));
#endif
    EXPECT_FALSE(IsOrdinaryFile(folder / "d"));
    EXPECT_FALSE(IsOrdinaryFile(folder / "missing"));
    EXPECT_FALSE(IsOrdinaryFile(""));
}

TEST(TextFile, AppendAndDelete) {
    TempFolder folder;
    const std::string path = folder / "log.txt";
    ASSERT_TRUE(AppendToFile(path, "a\r\n"));
    ASSERT_TRUE(AppendToFile(path, std::string("\0b", 2)));
    EXPECT_EQ(ReadBytes(path), std::string("a\r\n\0b", 5));

    ASSERT_TRUE(DeleteFileIfPresent(path));
    EXPECT_FALSE(Exists(path));
    EXPECT_TRUE(DeleteFileIfPresent(path));
    EXPECT_TRUE(DeleteFileIfPresent(folder / "missing-folder/x"));

    fs::create_directory(folder / "d");
    EXPECT_EQ(AppendToFile(folder / "d", "x").failure().code, ErrorCode::PathFileAccessError);
    EXPECT_EQ(DeleteFileIfPresent(folder / "d").failure().code, ErrorCode::PathFileAccessError);
    EXPECT_TRUE(fs::is_directory(folder / "d"));
}

} // namespace
} // namespace fav
