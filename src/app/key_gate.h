#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace fav {

// Decides which key presses act. A cabinet's buttons are held as often as they are tapped, so:
// - Player 1 Start and ESC act on a fresh press only; their auto-repeats are ignored;
// - a key already down when a screen appears does nothing there until it has been released, so a
//   press that opened a screen never acts inside it;
// - the joystick and the action buttons repeat while held, which is how lists scroll.
//
// A key is named twice: `key` tells one physical key from another (a press and its release share
// it), `arcadeKey` is its ArcadeKey code. Times are the window system's event times in ms; 0
// when unknown.
class KeyGate {
public:
    // True when the press acts. `autoRepeat` is what the toolkit says; a press at the very time
    // the same key was released is taken as a repeat too (the window system sends a held key as
    // release and press pairs, which the toolkit does not always pair up).
    bool Press(int key, int arcadeKey, bool autoRepeat, std::uint64_t time);
    // True when the last press was a repeat of a held key (told or found out).
    bool LastPressRepeated() const { return lastPressRepeated_; }
    // True when this ends a real press (not half of an auto-repeat pair).
    bool Release(int key, bool autoRepeat, std::uint64_t time);
    // A screen (or a message box) appeared: every key down now waits for its release.
    void ScreenAppeared();
    // True while the key, by its ArcadeKey code, is held down (pressed and not yet released).
    bool IsDown(int arcadeKey) const;

private:
    struct Held {
        int arcadeKey = 0;
        bool heldOver = false; // down when the current screen appeared
    };
    struct Released {
        int key = 0;
        std::uint64_t time = 0;
        Held held;
    };
    std::map<int, Held> down_;
    std::optional<Released> lastRelease_;
    bool lastPressRepeated_ = false;
};

} // namespace fav
