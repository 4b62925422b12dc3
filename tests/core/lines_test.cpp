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

} // namespace
} // namespace fav
