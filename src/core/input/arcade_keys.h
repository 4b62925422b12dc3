#pragma once

namespace fav {

// The cabinet's keys by number (Windows virtual-key numbers), as the windows, the keyboard grid
// and the game controllers all name them.
namespace ArcadeKey {
inline constexpr int Escape = 27;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Player1Start = 49;
inline constexpr int Ctrl = 17;
inline constexpr int Alt = 18;
} // namespace ArcadeKey

} // namespace fav
