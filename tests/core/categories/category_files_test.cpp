#include "core/categories/category_files.h"
#include "core/os/native_path.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fav {
namespace {

using Roms = RomNames;

TEST(CategoryFilesTest, AFolderListGivesOneFilterASectionLabelledByFileAndSection) {
    const CategoryRead read =
        ParseCategoryFile("/cab/folders/players.ini", "[FOLDER_SETTINGS]\r\n"
                                                      "RootFolderIcon mame\r\n"
                                                      ";; players.ini 0.251\r\n"
                                                      "\r\n"
                                                      "[1_Player]\r\n"
                                                      "pacman\r\n"
                                                      "galaga\r\n"
                                                      "[2_Players]\n"
                                                      "sf2\n"
                                                      "  mk  \n");
    ASSERT_EQ(read.filters.size(), 2U);
    EXPECT_EQ(read.filters[0].label, "players: 1 Player");
    EXPECT_EQ(read.filters[0].roms, (Roms{"pacman", "galaga"}));
    EXPECT_EQ(read.filters[1].label, "players: 2 Players");
    EXPECT_EQ(read.filters[1].roms, (Roms{"sf2", "mk"}));
    EXPECT_TRUE(read.problems.empty());

    const CategoryRead root =
        ParseCategoryFile("Working Arcade Clean.INI", "[ROOT_FOLDER]\r\n1942\r\nzaxxon\r\n");
    ASSERT_EQ(root.filters.size(), 1U);
    EXPECT_EQ(root.filters[0].label, "Working Arcade Clean");
}

TEST(CategoryFilesTest, CatverGivesTopLevelGenresAndMarksMatureGames) {
    const CategoryRead read =
        ParseCategoryFile("catver.ini", ";; catver.ini 0.251\r\n"
                                        "[Category]\r\n"
                                        "1942=Shooter / Flying Vertical\r\n"
                                        "sf2=Fighter / Versus\r\n"
                                        "xevious=Shooter / Flying Vertical\r\n"
                                        "adult=Puzzle / Match * Mature *\r\n"
                                        "\r\n"
                                        "[VerAdded]\r\n"
                                        "1942=.37b5\r\n");
    ASSERT_EQ(read.filters.size(), 3U);
    EXPECT_EQ(read.filters[0].label, "Shooter");
    EXPECT_EQ(read.filters[0].roms, (Roms{"1942", "xevious"}));
    EXPECT_EQ(read.filters[1].label, "Fighter");
    EXPECT_EQ(read.filters[2].label, "Puzzle");
    EXPECT_EQ(read.mature, Roms{"adult"});
    EXPECT_TRUE(read.problems.empty());
}

struct BadFile {
    const char* text;
    std::size_t filters;
    const char* problem;
};

TEST(CategoryFilesTest, WhatIsNoCategoryFileIsSkippedWithOneProblemEach) {
    const BadFile cases[] = {
        {"just some text\nwith lines\n", 0, "odd: not a category file (no sections)"},
        {"[ROOT_FOLDER]\npac man\n$$$\npacman\n", 1, "odd: 2 lines that are not a name, skipped"},
        {"[Empty]\n[Full]\npacman\n", 1, "odd: Empty: no names, skipped"},
        {"[Category]\nnogenre=\n=Shooter\npacman=Maze\n", 1,
         "odd: 2 lines that are not a name, skipped"},
    };
    for (const BadFile& bad : cases) {
        const CategoryRead read = ParseCategoryFile("odd.ini", bad.text);
        EXPECT_EQ(read.filters.size(), bad.filters) << bad.text;
        ASSERT_EQ(read.problems.size(), 1U) << bad.text;
        EXPECT_EQ(read.problems[0], bad.problem);
    }
    using namespace std::string_literals;
    const CategoryRead binary = ParseCategoryFile("odd.ini", "[ROOT_FOLDER]\npac\0man\n"s);
    EXPECT_TRUE(binary.filters.empty());
    EXPECT_EQ(binary.problems, std::vector<std::string>{"odd: not a category file (binary)"});
}

TEST(CategoryFilesTest, AFilterShowsTheLinesItNamesInTheirOrderLessTheHiddenOnes) {
    const std::vector<std::string> lines = {"sf2 \"Street Fighter II\"", "pacman\t\"Pac-Man\"",
                                            "sf2_jp \"Street Fighter II (Japan)\"", "adult",
                                            "galaga \"Galaga\""};
    const CategoryFilter filter{"Chosen", {"galaga", "sf2_jp", "adult", "sf2", "absent"}};
    EXPECT_EQ(ShownGames(lines, &filter, {}), (std::vector<std::size_t>{0, 2, 3, 4}));
    EXPECT_EQ(ShownGames(lines, &filter, RomNames{"adult"}), (std::vector<std::size_t>{0, 2, 4}));
    EXPECT_EQ(ShownGames(lines, nullptr, RomNames{"adult"}),
              (std::vector<std::size_t>{0, 1, 2, 4}));
}

TEST(CategoryFilesTest, FilesAreFoundInEachFolderAndAHugeOneIsSkipped) {
    test::TempFolder root;
    const std::string beside = root.path() + "/folders";
    std::filesystem::create_directory(beside);
    test::WriteBytes(beside + "/b.ini", "[ROOT_FOLDER]\npacman\n");
    test::WriteBytes(beside + "/A.INI", "[ROOT_FOLDER]\ngalaga\n");
    test::WriteBytes(beside + "/readme.txt", "not this");
    const std::vector<std::string> files =
        FindCategoryFiles({beside, root.path() + "/no such folder"});
    EXPECT_EQ(files,
              (std::vector<std::string>{JoinPath(beside, "A.INI"), JoinPath(beside, "b.ini")}));

    const std::string huge = beside + "/huge.ini";
    test::WriteBytes(huge, "[ROOT_FOLDER]\n" + std::string(MaxCategoryFileBytes, 'a'));
    const CategoryRead read = ReadCategoryFile(huge);
    EXPECT_TRUE(read.filters.empty());
    ASSERT_EQ(read.problems.size(), 1U);
    EXPECT_NE(read.problems[0].find("huge: "), std::string::npos) << read.problems[0];
}

} // namespace
} // namespace fav
