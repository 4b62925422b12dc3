#pragma once

namespace fav {

// The cabinet's keys by number (Windows virtual-key numbers), as the windows, the keyboard grid
// and the game controllers all name them.
namespace ArcadeKey {
// The joystick, whose keys repeat while held.
inline constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
// Player 1 Start, game exit and the two action buttons.
inline constexpr int Player1Start = 49, Escape = 27, Ctrl = 17, Alt = 18;
} // namespace ArcadeKey

} // namespace fav
