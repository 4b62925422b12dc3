#pragma once

#include "core/input/arcade_keys.h"

#include <QString>
#include <Qt>

class QKeyEvent;

namespace fav {

// The key's number in ArcadeKey's numbering (Windows virtual-key numbers), 0 for a key it lacks.
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
