#include "core/input/arcade_keys.h"
#include "core/input/pad_keys.h"

#include <gtest/gtest.h>

namespace fav {
namespace {

using ArcadeKey::Ctrl, ArcadeKey::Down, ArcadeKey::Escape, ArcadeKey::Left, ArcadeKey::Right,
    ArcadeKey::Up;
constexpr int Start = ArcadeKey::Player1Start;

using Changes = PadKeys::Changes;

TEST(PadKeysTest, AKeyIsDownWhileAnyInputOfAnyControllerHoldsIt) {
    PadKeys keys;
    EXPECT_EQ(keys.Digital(1, 9, Start, true, 0), (Changes{{Start, true}}));
    // The d-pad and the stick of a second controller hold it too: no second press.
    EXPECT_EQ(keys.Digital(2, 9, Start, true, 0), Changes{});
    EXPECT_EQ(keys.Digital(1, 9, Start, true, 0), Changes{}) << "a press told twice";
    EXPECT_EQ(keys.Digital(1, 9, Start, false, 0), Changes{});
    EXPECT_TRUE(keys.IsDown(Start));
    EXPECT_EQ(keys.Digital(2, 9, Start, false, 0), (Changes{{Start, false}}));
    EXPECT_EQ(keys.Digital(2, 9, Start, false, 0), Changes{}) << "a release told twice";
    EXPECT_FALSE(keys.IsDown(Start));
    EXPECT_EQ(keys.Digital(1, 3, 0, true, 0), Changes{}) << "an input that stands for no key";
}

TEST(PadKeysTest, AHatTurnedToAnotherSideLetsTheFirstGo) {
    PadKeys keys;
    keys.Digital(1, 100, Up, true, 0);
    EXPECT_EQ(keys.Digital(1, 100, Right, true, 0), (Changes{{Up, false}, {Right, true}}));
    EXPECT_EQ(keys.Digital(1, 100, 0, false, 0), (Changes{{Right, false}}));
}

struct AxisStep {
    int value;
    Changes changes;
};

TEST(PadKeysTest, AnAxisPressesPastItsDeadZoneAndLetsGoOnlyNearTheCentre) {
    PadKeys keys;
    const std::vector<AxisStep> steps = {
        {8000, {}},
        {15999, {}},
        {16000, {{Down, true}}},
        {12000, {}}, // between release and press: still held
        {10001, {}},
        {9999, {{Down, false}}},
        {12000, {}}, // not yet pressed again
        {-16000, {{Up, true}}},
        {32767, {{Up, false}, {Down, true}}}, // straight across
        {-32768, {{Down, false}, {Up, true}}},
        {0, {{Up, false}}},
    };
    for (const AxisStep& step : steps) {
        EXPECT_EQ(keys.Axis(1, 1, step.value, Up, Down, 0), step.changes)
            << "axis at " << step.value;
    }
}

TEST(PadKeysTest, UnpluggingLetsGoOfEverythingTheControllerHeld) {
    PadKeys keys;
    keys.Axis(1, 200, -30000, Left, Right, 0);
    keys.Digital(1, 0, Ctrl, true, 0);
    keys.Digital(2, 5, Ctrl, true, 0);
    keys.Digital(2, 9, Start, true, 0);
    EXPECT_EQ(keys.Detach(1), (Changes{{Left, false}}));
    EXPECT_FALSE(keys.IsDown(Left));
    EXPECT_TRUE(keys.IsDown(Ctrl)) << "still held by the other controller";
    EXPECT_FALSE(keys.NextRepeat().has_value());
    // Plugged in again with the stick at rest: nothing stays pressed from before.
    EXPECT_EQ(keys.Axis(1, 200, 0, Left, Right, 0), Changes{});
    EXPECT_EQ(keys.ReleaseAll(), (Changes{{Ctrl, false}, {Start, false}}));
    EXPECT_FALSE(keys.IsDown(Ctrl));
}

TEST(PadKeysTest, AHeldDirectionRepeatsAfterADelayThenSteadily) {
    PadKeys keys;
    keys.Digital(1, 100, Down, true, 1000);
    keys.Digital(1, 9, Escape, true, 1000);
    EXPECT_EQ(keys.NextRepeat(), 1400);
    EXPECT_TRUE(keys.DueRepeats(1399).empty());
    EXPECT_EQ(keys.DueRepeats(1400), std::vector<int>{Down}) << "Escape never repeats";
    EXPECT_EQ(keys.NextRepeat(), 1480);
    EXPECT_TRUE(keys.DueRepeats(1479).empty());
    EXPECT_EQ(keys.DueRepeats(1480), std::vector<int>{Down});
    // A poll that comes late repeats once, and goes on from then.
    EXPECT_EQ(keys.DueRepeats(2000), std::vector<int>{Down});
    EXPECT_TRUE(keys.DueRepeats(2000).empty());
    keys.Digital(1, 100, Down, false, 2010);
    EXPECT_FALSE(keys.NextRepeat().has_value());
    // Pressed again: the delay starts afresh.
    keys.Digital(1, 100, Down, true, 3000);
    EXPECT_TRUE(keys.DueRepeats(3100).empty());
}

} // namespace
} // namespace fav
