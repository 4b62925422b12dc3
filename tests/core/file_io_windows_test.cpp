#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>
// Its ReplaceFile macro would rename ours.
#undef ReplaceFile

namespace fav {
namespace {

using namespace test;

// Archive is left out: the system sets it on every file written.
DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

TEST(FileIoWindows, ReplaceKeepsHiddenAndSystemAttributes) {
    TempFolder folder;
    const std::string path = folder / "kabinet.cfg";
    for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                             DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
        WriteBytes(path, "old");
        ASSERT_TRUE(::SetFileAttributesA(path.c_str(), attributes));
        ASSERT_TRUE(ReplaceFile(path, "new"));
        EXPECT_EQ(ReadBytes(path), "new");
        EXPECT_EQ(AttributesOf(path), attributes);
        ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    }
}

TEST(FileIoWindows, PathsAreWrittenTheWindowsWay) {
    EXPECT_EQ(JoinPath("c:\\games", "kabinet.cfg"), "c:\\games\\kabinet.cfg");
    EXPECT_EQ(std::string(SystemRoot), "c:\\");
    // The root keeps its backslash: "c:" alone is the drive's current folder.
    EXPECT_EQ(FolderOfPath("c:\\kabinet.cfg"), "c:\\");
    EXPECT_EQ(FolderOfPath("D:/games/kabinet.cfg"), "D:/games");
    EXPECT_EQ(NameOfPath("c:\\games/x\\kabinet.cfg"), "kabinet.cfg");
    EXPECT_EQ(RootOfPath("E:/x"), "e:\\");
    EXPECT_EQ(RootOfPath("c:x"), "");
    EXPECT_EQ(RootOfPath("/x"), "");
}

TEST(FileIoWindows, FilesAreFoundWhateverTheirLetterCase) {
    TempFolder folder;
    WriteBytes(folder / "Kabinet.CFG", "x");
    EXPECT_TRUE(IsOrdinaryFile(folder / "kabinet.cfg"));
    auto read = ReadWholeFile(folder / "KABINET.cfg");
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), "x");
}

} // namespace
} // namespace fav
