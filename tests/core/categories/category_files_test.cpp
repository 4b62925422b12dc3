#include "core/categories/category_catalogue.h"
#include "core/categories/category_files.h"
#include "core/os/native_path.h"
#include "core/textfile/names.h"
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

TEST(CategoryFilesTest, TheCatalogueListsSectionsThenGenresAndReadsEachFolderOnce) {
    test::TempFolder root;
    const std::string program = root.path() + "/program";
    const std::string config = root.path() + "/config";
    std::filesystem::create_directories(program + "/folders");
    std::filesystem::create_directories(config + "/Folders");
    test::WriteBytes(program + "/folders/players.ini", "[1_Player]\npacman\n[2_Players]\nsf2\n");
    test::WriteBytes(program + "/folders/catver.ini",
                     "[Category]\nsf2=Fighter / Versus\npacman=Maze\nlewd=Maze * Mature *\n");
    test::WriteBytes(config + "/Folders/catver.ini", "[Category]\ngalaga=Shooter\n");
    test::WriteBytes(config + "/Folders/Arcade.ini", "[ROOT_FOLDER]\ngalaga\n");

    const std::vector<std::string> folders = CategoryFolders({program, config, program});
    ASSERT_EQ(folders.size(), 2U);
    // As spelled on disk where names keep their case; Windows finds either spelling itself.
    EXPECT_TRUE(SameNameIgnoringCase(folders[1], JoinPath(config, "Folders"))) << folders[1];
    const CategoryCatalogue catalogue = ReadCategoryCatalogue(folders);
    std::vector<std::string> labels;
    for (const CategoryFilter& filter : catalogue.filters) {
        labels.push_back(filter.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"players: 1 Player", "players: 2 Players", "Arcade",
                                                "Fighter", "Maze", "Shooter"}));
    EXPECT_EQ(catalogue.mature, RomNames{"lewd"});
    EXPECT_TRUE(catalogue.problems.empty());
    ASSERT_NE(catalogue.Find("Shooter"), nullptr);
    EXPECT_EQ(catalogue.Find("Shooter")->roms, RomNames{"galaga"});
    EXPECT_EQ(catalogue.Find("Puzzle"), nullptr);

    // The same genre from a second catver.ini is one problem, not a second line.
    test::WriteBytes(config + "/Folders/catver.ini", "[Category]\ngalaga=Maze\n");
    const CategoryCatalogue twice = ReadCategoryCatalogue(folders);
    EXPECT_EQ(twice.filters.size(), 5U);
    ASSERT_EQ(twice.problems.size(), 1U);
    EXPECT_NE(twice.problems[0].find("\"Maze\" is already given"), std::string::npos);
}

TEST(CategoryFilesTest, AFilterCountsTheGameLinesItHoldsWithAndWithoutHiddenOnes) {
    const std::vector<std::string> lines = {"sf2 \"SF II\"", "pacman", "sf2 \"SF II (again)\"",
                                            "lewd \"Lewd\"", "galaga"};
    const GameRoms roms(lines);
    const FilterCount count = roms.Count(RomNames{"sf2", "lewd", "absent"}, RomNames{"lewd"});
    EXPECT_EQ(count.all, 3U);
    EXPECT_EQ(count.shown, 2U);
    EXPECT_EQ(roms.Count(RomNames{"lewd"}, {}).all, 1U);
}

TEST(CategoryFilesTest, TheChoiceIsKeptBesideTheProgram) {
    test::TempFolder program;
    ASSERT_TRUE(ReadFilterChoice(program.path()).ok());
    EXPECT_EQ(ReadFilterChoice(program.path()).value(), FilterChoice{});
    const FilterChoice choices[] = {{"players: 2 Players", true}, {"", false}, {"Shooter", false}};
    for (const FilterChoice& choice : choices) {
        ASSERT_TRUE(StoreFilterChoice(program.path(), choice).ok());
        EXPECT_EQ(ReadFilterChoice(program.path()).value(), choice);
    }
    EXPECT_EQ(test::ReadBytes(program / FilterChoiceFileName),
              "filter=Shooter\r\nhide mature=no\r\n");
    // A label no line can hold is not kept: every game is, next time.
    ASSERT_TRUE(StoreFilterChoice(program.path(), {"two\nlines", true}).ok());
    EXPECT_EQ(ReadFilterChoice(program.path()).value(), (FilterChoice{"", true}));
}

} // namespace
} // namespace fav
