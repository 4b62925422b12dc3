#include "app/arcade_key.h"
#include "app/key_gate.h"

#include <gtest/gtest.h>

namespace fav {
namespace {

// What the window system sends for a held key, as the gate sees it.
TEST(KeyGate, HeldKeysPassOnce) {
    constexpr int Start = 10, Down = 116; // the window system's key numbers
    KeyGate gate;
    EXPECT_TRUE(gate.Press(Start, ArcadeKey::Player1Start, false, 1000));
    EXPECT_TRUE(gate.IsDown(ArcadeKey::Player1Start));
    // A repeat the toolkit did not pair up: release and press at one time.
    EXPECT_TRUE(gate.Release(Start, false, 1660));
    EXPECT_FALSE(gate.Press(Start, ArcadeKey::Player1Start, false, 1660));
    EXPECT_FALSE(gate.Press(Start, ArcadeKey::Player1Start, true, 1700));
    // The same release passed on to a parent counts once.
    EXPECT_TRUE(gate.Release(Start, false, 1800));
    EXPECT_FALSE(gate.Release(Start, false, 1800));
    EXPECT_FALSE(gate.IsDown(ArcadeKey::Player1Start));
    EXPECT_TRUE(gate.Press(Start, ArcadeKey::Player1Start, false, 1900));

    // The joystick repeats, until a screen comes while it is held.
    EXPECT_TRUE(gate.Press(Down, ArcadeKey::Down, false, 2000));
    EXPECT_TRUE(gate.Press(Down, ArcadeKey::Down, true, 2700));
    gate.ScreenAppeared();
    EXPECT_FALSE(gate.Press(Down, ArcadeKey::Down, true, 2740));
    EXPECT_TRUE(gate.Release(Down, false, 2800));
    EXPECT_TRUE(gate.Press(Down, ArcadeKey::Down, false, 2900));

    // A repeat of a key pressed before the program was there to see it.
    KeyGate late;
    EXPECT_FALSE(late.Press(Down, ArcadeKey::Down, true, 100));
    EXPECT_TRUE(late.Release(Down, false, 200));
    EXPECT_TRUE(late.Press(Down, ArcadeKey::Down, false, 300));
}

} // namespace
} // namespace fav
