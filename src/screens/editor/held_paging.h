#pragma once

#include <cstdint>

namespace fav {

// The editor's two Player 1 action buttons: which of them are down, and the page moves a held
// button repeats by itself. X repeats no modifier key, so the repeat is the program's own on
// every system; the system's repeats are never passed in, so no page moves twice per step.
//
// Times are milliseconds from any fixed origin. A held button repeats first after FirstRepeatMs,
// then every RepeatMs, and every RepeatsPerDoubling repeats each repeat moves twice as many pages,
// up to MostPagesPerRepeat: a few pages at a time can still be aimed, and a held button crosses a
// current MAME's whole list of 45,294 entries in about twelve seconds.
class HeldPaging {
public:
    enum class Button { PageDown, PageUp };

    static constexpr int FirstRepeatMs = 400;
    static constexpr int RepeatMs = 50;
    static constexpr int RepeatsPerDoubling = 40;
    static constexpr int MostPagesPerRepeat = 16;

    enum class Pressed {
        // The button moves one page now and, while it stays down, keeps repeating.
        Alone,
        // The other button is down too: nothing repeats until a button is pressed again.
        Both,
    };
    // A fresh press of a button.
    Pressed Press(Button button, std::int64_t now);
    // A button went up; the repeat stops when it was that button's.
    void Release(Button button);
    // The window no longer has the keyboard: every button counts as up.
    void ReleaseAll();
    // Ends the repeat while the buttons stay down.
    void StopRepeat() { repeating_ = false; }

    bool IsDown(Button button) const { return down_[Index(button)]; }
    bool Repeating() const { return repeating_; }
    // The button that repeats; meaningful only while Repeating().
    Button RepeatingButton() const { return button_; }

    // The pages the repeat has moved from the last call until now; a late call catches up, so the
    // pace holds on a slow screen.
    int Tick(std::int64_t now);
    // Milliseconds from now until the next repeat is due (0 when it already is), or -1 when
    // nothing repeats.
    std::int64_t UntilNext(std::int64_t now) const;

    // How many pages the repeat with the given number (1 for the first) moves.
    static int PagesOfRepeat(std::int64_t repeat);

private:
    static int Index(Button button) { return button == Button::PageDown ? 0 : 1; }
    std::int64_t DueTime(std::int64_t repeat) const;

    bool down_[2] = {false, false};
    bool repeating_ = false;
    Button button_ = Button::PageDown;
    std::int64_t pressedAt_ = 0;
    std::int64_t repeatsDone_ = 0;
};

} // namespace fav
