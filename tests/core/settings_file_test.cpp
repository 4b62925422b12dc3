#include "core/settings/settings_file.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fav {
namespace {

using namespace test;

// The root of the system drive, where every path points by default.
const std::string Root = SystemRoot;

const std::string Comments[] = {
    "# This file was created by Favorizer for Kabinet.\r\n",
    "# Next line is where kabinet.cfg file is stored.\r\n",
    "# The next line is where mame.cfg is stored.\r\n",
    "# The next line is where mame.map is stored.\r\n",
    "# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen\r\n",
};

TEST(SettingsFile, DefaultFileIsNineExactLines) {
    TempFolder folder;
    ASSERT_TRUE(WriteDefaultSettingsFile(folder.path()));
    EXPECT_EQ(ReadBytes(folder / "favorize.cfg"),
              Comments[0] + Comments[1] + "Kabinet.cfg default path = " + Root + "\r\n" +
                  Comments[2] + "Mame.cfg default path = " + Root + "\r\n" + Comments[3] +
                  "Mame.map default path = " + Root + "\r\n" + Comments[4] +
                  "Run Favorizer fullscreen = 0\r\n");
    EXPECT_EQ(DefaultSettingsLines().size(), 9u);
}

TEST(SettingsFile, WriterPutsTwoBlanksBeforeTheFlagAndReadsBack) {
    TempFolder folder;
    for (int check : {0, 1}) {
        ASSERT_TRUE(WriteSettingsFile(folder.path(), "/arcade/kabinet", "/arcade/mame cfg ",
                                      "/mnt/x", check));
        EXPECT_EQ(ReadBytes(SettingsFilePath(folder.path())),
                  Comments[0] + Comments[1] + "Kabinet.cfg default path = /arcade/kabinet\r\n" +
                      Comments[2] + "Mame.cfg default path = /arcade/mame cfg \r\n" + Comments[3] +
                      "Mame.map default path = /mnt/x\r\n" + Comments[4] +
                      "Run Favorizer fullscreen =  " + std::to_string(check) + "\r\n");

        auto read = ReadSettingsFile(SettingsFilePath(folder.path()));
        ASSERT_TRUE(read);
        EXPECT_EQ(read.value(), (Settings{"/arcade/kabinet", "/arcade/mame cfg ", "/mnt/x",
                                          static_cast<std::int16_t>(check)}));
    }
    ASSERT_TRUE(WriteDefaultSettingsFile(folder.path()));
    EXPECT_EQ(ReadSettingsFile(SettingsFilePath(folder.path())).value(),
              (Settings{Root, Root, Root, 0}));
}

TEST(SettingsFile, PathThatCannotBeReadBackIsRefused) {
    TempFolder folder;
    WriteBytes(folder / "favorize.cfg", "old");
    for (const std::string path : {"/a\rb", "/a\nb"}) {
        auto written = WriteSettingsFile(folder.path(), "/", "/", path, 0);
        ASSERT_FALSE(written);
        EXPECT_EQ(written.failure().code, ErrorCode::PathFileAccessError);
        EXPECT_EQ(ReadBytes(folder / "favorize.cfg"), "old");
    }
}

struct ReaderCase {
    const char* name;
    std::string bytes;
    Settings expected;
};

TEST(SettingsFile, ReaderRules) {
    const ReaderCase cases[] = {
        {"empty file", "", {}},
        {"flag 1 after one blank", "Run Favorizer fullscreen = 1", {"", "", "", 1}},
        {"flag 1 after two blanks", "Run Favorizer fullscreen =  1\r\n", {"", "", "", 1}},
        {"flag 0", "Run Favorizer fullscreen =  0\r\n", {}},
        {"flag 2", "Run Favorizer fullscreen = 2\r\n", {}},
        {"flag letter", "Run Favorizer fullscreen = x\r\n", {}},
        {"flag 10", "Run Favorizer fullscreen = 10\r\n", {}},
        {"flag 1 then 0", "Run Favorizer fullscreen = 1\r\nRun Favorizer fullscreen = 0\r\n", {}},
        {"flag with nothing after the key", "Run Favorizer fullscreen = \r\n", {}},
        {"lower-case key", "kabinet.cfg default path = /k\r\n", {}},
        {"no blank after =", "Kabinet.cfg default path =/k\r\n", {}},
        {"key with leading blank", " Kabinet.cfg default path = /k\r\n", {}},
        {"trailing blanks kept", "Mame.map default path = /m  \r\n", {"", "", "/m  ", 0}},
        {"key twice, last wins",
         "Kabinet.cfg default path = /one\r\nKabinet.cfg default path = /two\r\n",
         {"/two", "", "", 0}},
        {"empty value", "Mame.cfg default path = \r\n", {}},
        {"CR only, any order",
         "Run Favorizer fullscreen =  1\rMame.map default path = /m\r#x\rMame.cfg default path = "
         "/c\rKabinet.cfg default path = /k\r",
         {"/k", "/c", "/m", 1}},
        {"mixed line ends, no end on the last",
         "Kabinet.cfg default path = /k\r\nMame.cfg default path = /c\rMame.map default path = "
         "/m\r\n\r\nRun Favorizer fullscreen = 1",
         {"/k", "/c", "/m", 1}},
        {"a lone LF ends the value",
         "Kabinet.cfg default path = /a\nMame.cfg default path = /c\n\rRun Favorizer fullscreen = "
         "1\n",
         {"/a", "/c", "", 1}},
        {"bytes above 127 kept", "Mame.cfg default path = /caf\xe9\r\n", {"", "/caf\xe9", "", 0}},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "favorize.cfg", c.bytes);
        auto read = ReadSettingsFile(folder / "favorize.cfg");
        ASSERT_TRUE(read);
        EXPECT_EQ(read.value(), c.expected);
    }
}

TEST(SettingsFile, FoldersWithoutAFileStartFromTheRoot) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "full");
    std::filesystem::create_directory(folder / "empty");
    WriteBytes(folder / "full/kabinet.cfg", "x");
    auto started = WithDefaultFolders({folder / "full", "", folder / "empty", 1});
    ASSERT_TRUE(started);
    EXPECT_EQ(started.value(), (Settings{folder / "full", Root, Root, 1}));

    auto bad = WithDefaultFolders({std::string("/a\0b", 4), "", "", 0});
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.failure().code, ErrorCode::BadFileName);
}

TEST(SettingsFile, ReadFailuresAreValues) {
    TempFolder folder;
    auto missing = ReadSettingsFile(folder / "favorize.cfg");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().code, ErrorCode::FileNotFound);
    auto noFolder = WriteDefaultSettingsFile(folder / "gone");
    ASSERT_FALSE(noFolder);
    EXPECT_EQ(noFolder.failure().code, ErrorCode::PathNotFound);
}

} // namespace
} // namespace fav
