#include "app/arcade_key.h"

#include <QKeyEvent>

namespace fav {

int ArcadeKeyFromQt(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? 96 + (qtKey - Qt::Key_0) : 48 + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 65 + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
    case Qt::Key_Left:
        return ArcadeKey::Left;
    case Qt::Key_Up:
        return ArcadeKey::Up;
    case Qt::Key_Right:
        return ArcadeKey::Right;
    case Qt::Key_Down:
        return ArcadeKey::Down;
    case Qt::Key_Escape:
        return ArcadeKey::Escape;
    case Qt::Key_Control:
        return ArcadeKey::Ctrl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return ArcadeKey::Alt;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

int ArcadeKeyFromQt(const QKeyEvent& event) {
#ifdef Q_OS_WIN
    // Windows says which virtual key it was; keys made up by the program itself carry none.
    if (const quint32 native = event.nativeVirtualKey(); native > 0 && native < 256) {
        return static_cast<int>(native);
    }
#endif
    return ArcadeKeyFromQt(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

QtKey QtKeyFromArcadeKey(int arcadeKey) {
    switch (arcadeKey) {
    case ArcadeKey::Left:
        return {Qt::Key_Left, Qt::NoModifier, {}};
    case ArcadeKey::Up:
        return {Qt::Key_Up, Qt::NoModifier, {}};
    case ArcadeKey::Right:
        return {Qt::Key_Right, Qt::NoModifier, {}};
    case ArcadeKey::Down:
        return {Qt::Key_Down, Qt::NoModifier, {}};
    case ArcadeKey::Player1Start:
        return {Qt::Key_1, Qt::NoModifier, QStringLiteral("1")};
    case ArcadeKey::Escape:
        return {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")};
    case ArcadeKey::Ctrl:
        return {Qt::Key_Control, Qt::ControlModifier, {}};
    case ArcadeKey::Alt:
        return {Qt::Key_Alt, Qt::AltModifier, {}};
    default:
        return {};
    }
}

} // namespace fav
