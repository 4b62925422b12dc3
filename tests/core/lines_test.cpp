#include "core/textfile/lines.h"

#include <gtest/gtest.h>

namespace fav {
namespace {

TEST(Lines, EndAtCrLfCrOrEndOfText) {
    const std::vector<std::string> expected{"a", "b", "c\nd", "", "e"};
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\r\ne"), expected);
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("x\r\n"), std::vector<std::string>{"x"});
    EXPECT_EQ(SplitLines("\r\n"), std::vector<std::string>{""});
}

TEST(Lines, EdgesOfTheText) {
    EXPECT_EQ(SplitLines("\r"), std::vector<std::string>{""});
    EXPECT_EQ(SplitLines("\r\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines("\n"), std::vector<std::string>{"\n"});
    EXPECT_EQ(SplitLines("a\n\r\n"), std::vector<std::string>{"a\n"});
    EXPECT_EQ(SplitLines(std::string("\0\xff\r", 3)),
              std::vector<std::string>{std::string("\0\xff", 2)});
}

TEST(Lines, JoinEndsEveryLineAndSplitsBack) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({""}), "\r\n");
    const std::vector<std::string> lines{"a", "", "b\nc", " d "};
    EXPECT_EQ(JoinLines(lines), "a\r\n\r\nb\nc\r\n d \r\n");
    EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

} // namespace
} // namespace fav
