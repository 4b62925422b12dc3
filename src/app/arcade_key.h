#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;

namespace fav {

// Key codes through which the cabinet's controls arrive.
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

// The key's number in the numbering above (Windows virtual-key numbers), 0 for a key it lacks.
// On Windows a key from the keyboard carries its own number, which is taken as it is.
int ArcadeKeyFromQt(const QKeyEvent& event);
int ArcadeKeyFromQt(int qtKey, bool keypad);

// The keyboard's key for a cabinet key: what a key event of it carries.
struct QtKey {
    int key = 0; // 0 for a code that is none of the cabinet's
    Qt::KeyboardModifiers modifier;
    QString text;
};
QtKey QtKeyFromArcadeKey(int arcadeKey);

} // namespace fav
