#include "core/launcher/game_list.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"
#include "core/settings/settings_file.h"
#include "core/textfile/files.h"
#include "core/textfile/lines.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fav {
namespace {

TEST(Lines, EndAtCrLfCrLfOrEndOfText) {
    const std::vector<std::string> expected{"a", "b", "c", "d", "", "e"};
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\r\ne"), expected);
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("x\r\n"), std::vector<std::string>{"x"});
    EXPECT_EQ(SplitLines("x\n"), std::vector<std::string>{"x"});
    EXPECT_EQ(SplitLines("\r\n"), std::vector<std::string>{""});
}

TEST(Lines, EdgesOfTheText) {
    EXPECT_EQ(SplitLines("\r"), std::vector<std::string>{""});
    EXPECT_EQ(SplitLines("\n"), std::vector<std::string>{""});
    EXPECT_EQ(SplitLines("\r\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
    // LF CR is two line ends, CR LF one.
    EXPECT_EQ(SplitLines("\n\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines("a\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines(std::string("\0\xff\r", 3)),
              std::vector<std::string>{std::string("\0\xff", 2)});
    // Long runs of one kind of line end with the other kind only at the end.
    const std::string lfs = std::string(1000, '\n') + "x\r";
    const std::vector<std::string> split = SplitLines(lfs);
    ASSERT_EQ(split.size(), 1001u);
    EXPECT_EQ(split.back(), "x");
}

TEST(Lines, JoinEndsEveryLineWithCrLfAndSplitsBack) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({""}), "\r\n");
    const std::vector<std::string> lines{"a", "", "b", " d "};
    EXPECT_EQ(JoinLines(lines), "a\r\n\r\nb\r\n d \r\n");
    EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

// How a file's lines are ended: the endings are taken in turn, and the last line may have none.
struct LineEndCase {
    const char* name;
    std::vector<std::string> endings;
    bool lastEnded;
};

const LineEndCase LineEndCases[] = {
    {"CR LF", {"\r\n"}, true},
    {"LF only", {"\n"}, true},
    {"CR only", {"\r"}, true},
    {"mixed", {"\n", "\r\n", "\r", "\n"}, true},
    {"LF CR", {"\n\r"}, true},
    {"LF, last line unended", {"\n"}, false},
    {"mixed, last line unended", {"\r", "\n", "\r\n"}, false},
};

std::string Text(const std::vector<std::string>& lines, const LineEndCase& c) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || c.lastEnded) {
            text += c.endings[i % c.endings.size()];
        }
    }
    return text;
}

// The lines read back: LF CR is two line ends, so an empty line follows each. (Lines given are
// never empty: an empty line between two LF CR would make a CR LF.)
std::vector<std::string> Read(const std::vector<std::string>& lines, const LineEndCase& c) {
    std::vector<std::string> read;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        read.push_back(lines[i]);
        if ((i + 1 < lines.size() || c.lastEnded) && c.endings[i % c.endings.size()] == "\n\r") {
            read.emplace_back();
        }
    }
    return read;
}

TEST(Lines, EveryReaderTakesEveryLineEnd) {
    const std::vector<std::string> kabinet{"[kabinet]", "emulators = mame kbfavA kbfavB",
                                           "[video]",   "resolution = 640x480",
                                           "; end",     "Emulators = snes kbfavB"};
    std::vector<std::string> removed = kabinet;
    removed[1] = "emulators = mame kbfavA";
    removed[5] = "Emulators = snes";
    const std::vector<std::string> mameCfg{"# mame", "name = MAME", "exe = mame",
                                           "description = Arcade"};
    const std::vector<std::string> map{"pacman \"Pac-Man\"", "galaga", "sf2 \"Street Fighter II\""};
    const std::vector<std::string> settings{
        "# settings", "Kabinet.cfg default path = /k", "Mame.cfg default path = /c",
        "Mame.map default path = /m", "Run Favorizer fullscreen = 1"};

    for (const LineEndCase& c : LineEndCases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const std::string dir = folder.path();
        std::filesystem::create_directory(dir + "/config");

        EXPECT_EQ(SplitLines(Text(kabinet, c)), Read(kabinet, c));
        test::WriteBytes(dir + "/config/mame.map", Text(map, c));
        auto readMap = ReadLines(dir + "/config/mame.map");
        ASSERT_TRUE(readMap);
        EXPECT_EQ(readMap.value(), Read(map, c));
        auto games = ReadGameLines(dir + "/config/mame.map");
        ASSERT_TRUE(games);
        ASSERT_EQ(games.value().size(), Read(map, c).size());
        for (std::size_t i = 0; i < games.value().size(); ++i) {
            EXPECT_EQ(games.value()[i], Read(map, c)[i]);
        }

        test::WriteBytes(dir + "/favorize.cfg", Text(settings, c));
        auto read = ReadSettingsFile(dir + "/favorize.cfg");
        ASSERT_TRUE(read);
        EXPECT_EQ(read.value(), (Settings{"/k", "/c", "/m", 1}));

        test::WriteBytes(dir + "/kabinet.cfg", Text(kabinet, c));
        auto scan = ScanLauncherConfig(dir);
        ASSERT_TRUE(scan);
        EXPECT_TRUE(scan.value().MameFound);
        EXPECT_EQ(scan.value().ListKeys, (std::vector<std::string>{"A", "B", "B"}));
        EXPECT_EQ(scan.value().RemainingLists, EmulatorFieldLimit - 9);
        EXPECT_EQ(FindListEntry(dir, "A").value(), true);
        EXPECT_EQ(FindListEntry(dir, "B").value(), true);
        EXPECT_EQ(FindListEntry(dir, "C").value(), false);

        // Deleting a list changes its emulators lines alone; every line is then ended CR LF.
        test::WriteBytes(dir + "/config/kbfavB.cfg", Text(mameCfg, c));
        ASSERT_TRUE(DeleteFavoritesList(dir, "B"));
        EXPECT_EQ(test::ReadBytes(dir + "/kabinet.cfg"), JoinLines(Read(removed, c)));
        EXPECT_EQ(test::ReadBytes(dir + "/kabinetcfg.tmp"), JoinLines(Read(kabinet, c)));
        EXPECT_FALSE(test::Exists(dir + "/config/kbfavB.cfg"));

        test::WriteBytes(dir + "/config/mame.cfg", Text(mameCfg, c));
        ASSERT_TRUE(CreateFavoritesList(dir, "FIGHT", "Beat_them"));
        std::vector<std::string> listCfg = Read(mameCfg, c);
        for (auto& line : listCfg) {
            if (line.starts_with("name")) {
                line = "name = FIGHT";
            } else if (line.starts_with("description")) {
                line = "description =Beat them";
            }
        }
        EXPECT_EQ(test::ReadBytes(dir + "/config/kbfavFIGHT.cfg"), JoinLines(listCfg));
    }
}

} // namespace
} // namespace fav
