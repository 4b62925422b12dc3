#include "core/input/controller_mappings.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fav {
namespace {

constexpr const char* Guid = "03000000790000000600000010010000";
constexpr const char* OtherGuid = "030000005e0400008e02000014010000";

TEST(ControllerMappingsTest, ATaughtControllerIsKeptOnALineOfItsOwnAcrossRestarts) {
    test::TempFolder program;
    const std::string first = MakeMappingLine(
        Guid, "Zero, Delay", {{"dpup", "h0.1"}, {"start", "b9"}, {"dpleft", "-a0"}});
    EXPECT_EQ(first, std::string(Guid) + ",Zero  Delay,dpup:h0.1,start:b9,dpleft:-a0,");
    ASSERT_TRUE(StoreControllerMapping(program.path(), first));
    const std::string other = MakeMappingLine(OtherGuid, "Pad", {{"a", "b0"}});
    ASSERT_TRUE(StoreControllerMapping(program.path(), other));
    // Taught again: its line is replaced where it stands.
    const std::string again = MakeMappingLine(Guid, "Zero Delay", {{"start", "b7"}});
    ASSERT_TRUE(StoreControllerMapping(program.path(), again));

    auto read = ReadControllerMappings(program.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().lines, (std::vector<std::string>{again, other}));
    EXPECT_TRUE(read.value().broken.empty());
    EXPECT_EQ(test::ReadBytes(ControllerMappingsPath(program.path())),
              again + "\r\n" + other + "\r\n");
}

TEST(ControllerMappingsTest, BrokenLinesAreToldApartAndKept) {
    test::TempFolder program;
    const std::string good = std::string(Guid) + ",Encoder,start:b9,";
    const std::vector<std::string> broken = {
        "not a mapping",
        "0300000079000000060000001001000,short guid,start:b9,",
        "0300000079000000060000001001000z,bad digit,start:b9,",
        std::string(Guid) + ",no fields",
    };
    std::string text = "# taught on the cabinet\r\n\r\n" + good + "\r\n";
    for (const std::string& line : broken) {
        text += line + "\n";
    }
    test::WriteBytes(ControllerMappingsPath(program.path()), text);

    auto read = ReadControllerMappings(program.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().lines, std::vector<std::string>{good});
    EXPECT_EQ(read.value().broken, broken);

    // Storing another controller leaves every line it does not own as it was.
    const std::string other = MakeMappingLine(OtherGuid, "Pad", {{"a", "b0"}});
    ASSERT_TRUE(StoreControllerMapping(program.path(), other));
    auto after = ReadControllerMappings(program.path());
    ASSERT_TRUE(after);
    EXPECT_EQ(after.value().broken, broken);
    EXPECT_EQ(after.value().lines, (std::vector<std::string>{good, other}));
}

TEST(ControllerMappingsTest, NoFileHoldsNoMappings) {
    test::TempFolder program;
    auto read = ReadControllerMappings(program.path());
    ASSERT_TRUE(read);
    EXPECT_TRUE(read.value().lines.empty());
    EXPECT_TRUE(read.value().broken.empty());
}

} // namespace
} // namespace fav
