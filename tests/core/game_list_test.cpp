#include "core/launcher/game_list.h"
#include "core/launcher/list_files.h"
#include "core/textfile/lines.h"
#include "support/temp_folder.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace fav {
namespace {

using namespace test;

std::vector<std::string> Lines(const GameLines& lines) {
    std::vector<std::string> copy;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        copy.emplace_back(lines[i]);
    }
    return copy;
}

std::string Repeat(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

// Texts every line reader must split alike: the edges of line ends, then random text of every
// length around the splitter's 64-byte blocks and the ROM name's 16-byte ones, dense in line
// ends.
std::vector<std::string> SplitterTexts() {
    std::vector<std::string> texts{"", "x\r\n", "\r\n", "a\r\nb\rc\nd\r\r\n\xff tail",
                                   "bare\nfeed\n", "trailing \t\r\n\r", "lf\n\rcr\n\n\r\r\n",
                                   // A CR LF split across two 64-byte blocks is one line end.
                                   std::string(63, 'a') + "\r\nb\n" + std::string(62, 'c') +
                                       "\n\r\n"};
    std::mt19937 random(20240531);
    const std::string alphabet = std::string("\r\r\n\nazAZ09_ \t\x80\xff") + '\0';
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 300, ' ');
        for (char& c : text) {
            switch (round % 3) {
            case 0:
                c = alphabet[random() % alphabet.size()];
                break;
            case 1: // line ends and letters only
                c = alphabet[random() % 8];
                break;
            default: // long names with the odd separator
                c = random() % 20 == 0 ? alphabet[random() % alphabet.size()]
                                       : "azAZ09"[random() % 6];
            }
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

// The file reader and the blockwise splitter against the plain line reader, and the blockwise
// ROM name against a plain character loop.
TEST(GameList, ReadSplitsLinesLikeEveryOtherReader) {
    TempFolder folder;
    for (const std::string& text : SplitterTexts()) {
        SCOPED_TRACE(text);
        WriteBytes(folder / "mame.map", text);
        auto lines = ReadGameLines(folder / "mame.map");
        ASSERT_TRUE(lines.ok());
        ASSERT_EQ(Lines(lines.value()), SplitLines(text));
        ASSERT_EQ(Lines(GameLines(text)), SplitLines(text));

        std::size_t name = 0;
        while (name < text.size() && std::isalnum(static_cast<unsigned char>(text[name])) &&
               static_cast<unsigned char>(text[name]) < 128) {
            ++name;
        }
        ASSERT_EQ(ExtractRomName(text), text.substr(0, name));
    }
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\r\n\xff tail"),
              (std::vector<std::string>{"a", "b", "c", "d", "", "\xff tail"}));
}

TEST(GameList, LinesStayValidWhenMoved) {
    GameLines source(std::string("ab\rcd"));
    const GameLines moved = std::move(source);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0], "ab");
    EXPECT_EQ(moved[1], "cd");
}

TEST(GameList, AListFileOverflowsAtLine32768) {
    TempFolder folder;
    const std::string full = Repeat("rom \"Game\"\r\n", MaxGameLines);
    for (const std::string& text :
         {full, full.substr(0, full.size() - 1), full.substr(0, full.size() - 2)}) {
        WriteBytes(folder / "ok.map", text);
        auto lines = ReadGameLines(folder / "ok.map");
        ASSERT_TRUE(lines.ok());
        EXPECT_EQ(lines.value().size(), 32767u);
    }
    for (const std::string extra : {"x", "\r\n", "\n\r"}) {
        WriteBytes(folder / "big.map", full + extra);
        auto lines = ReadGameLines(folder / "big.map");
        ASSERT_FALSE(lines.ok());
        EXPECT_EQ(lines.failure().code, ErrorCode::Overflow);
        EXPECT_EQ(lines.failure().description,
                  "Overflow: " + (folder / "big.map") + " has more than 32,767 lines");
    }
}

TEST(GameList, MameMapIsReadWholeUpToItsBounds) {
    TempFolder folder;
    const std::string path = folder / "mame.map";
    // A current MAME's whole list, last line without its end.
    std::string current;
    for (int i = 0; i < 45294; ++i) {
        current += "g" + std::to_string(i) + " \"Game " + std::to_string(i) + "\"\r\n";
    }
    current.resize(current.size() - 2);
    const struct {
        std::string text;
        std::size_t lines;
        std::string failure;
    } rows[] = {
        {current, 45294, ""},
        {std::string(1'000'000, '\r'), 1'000'000, ""},
        {std::string(1'000'001, '\r'), 0, " has more than 1,000,000 lines"},
        {std::string((std::size_t{64} << 20) + 1, 'x'), 0, " is larger than 64 MB"},
    };
    for (const auto& row : rows) {
        WriteBytes(path, row.text);
        auto lines = ReadGameLines(path, MameMapBounds);
        if (row.failure.empty()) {
            ASSERT_TRUE(lines.ok()) << lines.failure().description;
            EXPECT_EQ(lines.value().size(), row.lines);
        } else {
            ASSERT_FALSE(lines.ok());
            EXPECT_EQ(lines.failure().code, ErrorCode::Overflow);
            EXPECT_EQ(lines.failure().description, "Overflow: " + path + row.failure);
        }
    }
    WriteBytes(path, current);
    auto lines = ReadGameLines(path, MameMapBounds);
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(lines.value()[45293], "g45293 \"Game 45293\"");
}

TEST(GameList, RomNameIsTheLeadingAsciiLettersAndDigits) {
    const std::pair<std::string, std::string> rows[] = {
        {"abc_def Some game", "abc"},
        {"abc123", "abc123"},
        {"Pacman\t\"Pac-Man\"", "Pacman"},
        {" pacman", ""},
        {"", ""},
        {"zZ09az.zip", "zZ09az"},
        {"ab\xe9"
         "cd",
         "ab"},
        {"\xc3\xa9t\xc3\xa9", ""},
        {"x\r\ny", "x"},
        {"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_x",
         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
        {"0123456789abcdef", "0123456789abcdef"},
        {"0123456789abcdef\xe9", "0123456789abcdef"},
        {"0123456789abcde@[`{/:", "0123456789abcde"},
    };
    for (const auto& [line, rom] : rows) {
        EXPECT_EQ(ExtractRomName(line), rom) << line;
    }
}

TEST(GameList, EnsureMapFileCreatesOnlyWhenNothingHasTheName) {
    TempFolder folder;
    ASSERT_TRUE(EnsureMapFile(folder / "new.map").ok());
    EXPECT_TRUE(Exists(folder / "new.map"));
    EXPECT_EQ(ReadBytes(folder / "new.map"), "");

    WriteBytes(folder / "old.map", "pacman\r\n");
    ASSERT_TRUE(EnsureMapFile(folder / "old.map").ok());
    EXPECT_EQ(ReadBytes(folder / "old.map"), "pacman\r\n");

    std::filesystem::create_directory(folder / "dir.map");
    ASSERT_TRUE(EnsureMapFile(folder / "dir.map").ok());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.map"));

    EXPECT_EQ(EnsureMapFile(folder / "no/x.map").failure().code, ErrorCode::PathNotFound);
    EXPECT_EQ(EnsureMapFile(folder / "old.map/x.map").failure().code, ErrorCode::PathNotFound);
}

TEST(GameList, WriteListFilesKeepsOrderAndDuplicates) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "config");
    const std::vector<std::string> entries{"zaxxon \"Zaxxon\"", "abc_def x", " lead",  "",
                                           "zaxxon \"Zaxxon\"", "galaga\tx", "trail  "};
    ASSERT_TRUE(WriteListFiles(folder.path(), "A_B", entries).ok());
    EXPECT_EQ(ReadBytes(ListFilePath(folder.path(), "A_B", ".map")),
              "zaxxon \"Zaxxon\"\r\nabc_def x\r\n lead\r\n\r\nzaxxon \"Zaxxon\"\r\ngalaga\tx\r\n"
              "trail  \r\n");
    EXPECT_EQ(ReadBytes(ListFilePath(folder.path(), "A_B", ".rom")),
              "zaxxon\r\nabc\r\n\r\n\r\nzaxxon\r\ngalaga\r\ntrail\r\n");

    ASSERT_TRUE(WriteListFiles(folder.path(), "A_B", {}).ok());
    EXPECT_EQ(ReadBytes(ListFilePath(folder.path(), "A_B", ".map")), "");
    EXPECT_EQ(ReadBytes(ListFilePath(folder.path(), "A_B", ".rom")), "");
}

// Fails the first write into a file whose name holds the given text.
class FailingWriteIo : public FileIo {
public:
    explicit FailingWriteIo(std::string name) : name_(std::move(name)) {}
    OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
        const OsError error = FileIo::Open(path, mode, file);
        if (error == OsError::None && path.find(name_) != std::string::npos) {
            doomed_ = file;
        }
        return error;
    }
    OsError Write(FileHandle file, const char* data, std::size_t size,
                  std::size_t& written) const override {
        if (file == doomed_) {
            doomed_ = NoFile;
            return OsError::Io;
        }
        return FileIo::Write(file, data, size, written);
    }

private:
    std::string name_;
    mutable FileHandle doomed_ = NoFile;
};

// Line k of the map and line k of the rom file name the same game, so neither file is replaced
// unless both new ones are complete.
TEST(GameList, WriteListFilesKeepsMapAndRomAPair) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "config");
    const std::string rom = ListFilePath(folder.path(), "A", ".rom");
    const std::string map = ListFilePath(folder.path(), "A", ".map");
    const std::vector<std::string> entries{"pacman"};

    std::filesystem::create_directory(map);
    WriteBytes(rom, "old\r\n");
    EXPECT_EQ(WriteListFiles(folder.path(), "A", entries).failure().code,
              ErrorCode::PathFileAccessError);
    EXPECT_EQ(ReadBytes(rom), "old\r\n");

    std::filesystem::remove(map);
    std::filesystem::remove(rom);
    std::filesystem::create_directory(rom);
    EXPECT_EQ(WriteListFiles(folder.path(), "A", entries).failure().code,
              ErrorCode::PathFileAccessError);
    EXPECT_FALSE(Exists(map));

    std::filesystem::remove(rom);
    WriteBytes(map, "galaga\r\n");
    WriteBytes(rom, "galaga\r\n");
    for (const char* failing : {".kbfavA.map.new", ".kbfavA.rom.new"}) {
        SCOPED_TRACE(failing);
        EXPECT_EQ(
            WriteListFiles(folder.path(), "A", entries, FailingWriteIo(failing)).failure().code,
            ErrorCode::DeviceIoError);
        EXPECT_EQ(ReadBytes(map), "galaga\r\n");
        EXPECT_EQ(ReadBytes(rom), "galaga\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "config"),
                                std::filesystem::directory_iterator()),
                  2);
    }
}

} // namespace
} // namespace fav
