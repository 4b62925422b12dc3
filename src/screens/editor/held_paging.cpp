#include "screens/editor/held_paging.h"

#include <algorithm>

namespace fav {

HeldPaging::Pressed HeldPaging::Press(Button button, std::int64_t now) {
    down_[Index(button)] = true;
    const Button other = button == Button::PageDown ? Button::PageUp : Button::PageDown;
    if (IsDown(other)) {
        repeating_ = false;
        return Pressed::Both;
    }
    repeating_ = true;
    button_ = button;
    pressedAt_ = now;
    repeatsDone_ = 0;
    return Pressed::Alone;
}

void HeldPaging::Release(Button button) {
    down_[Index(button)] = false;
    if (repeating_ && button_ == button) {
        repeating_ = false;
    }
}

void HeldPaging::ReleaseAll() {
    down_[0] = down_[1] = false;
    repeating_ = false;
}

int HeldPaging::PagesOfRepeat(std::int64_t repeat) {
    const std::int64_t doublings = std::max<std::int64_t>(repeat - 1, 0) / RepeatsPerDoubling;
    int pages = 1;
    for (std::int64_t i = 0; i < doublings && pages < MostPagesPerRepeat; ++i) {
        pages *= 2;
    }
    return std::min(pages, MostPagesPerRepeat);
}

std::int64_t HeldPaging::DueTime(std::int64_t repeat) const {
    return pressedAt_ + FirstRepeatMs + (repeat - 1) * RepeatMs;
}

int HeldPaging::Tick(std::int64_t now) {
    if (!repeating_ || now < DueTime(repeatsDone_ + 1)) {
        return 0;
    }
    const std::int64_t due = (now - pressedAt_ - FirstRepeatMs) / RepeatMs + 1;
    // Every pane ends within a few thousand pages, so a window that was held up for long skips
    // the repeats beyond that rather than counting them one by one.
    constexpr int MostPagesAtOnce = 4096;
    int pages = 0;
    while (repeatsDone_ < due && pages < MostPagesAtOnce) {
        ++repeatsDone_;
        pages += PagesOfRepeat(repeatsDone_);
    }
    repeatsDone_ = due;
    return pages;
}

std::int64_t HeldPaging::UntilNext(std::int64_t now) const {
    if (!repeating_) {
        return -1;
    }
    return std::max<std::int64_t>(DueTime(repeatsDone_ + 1) - now, 0);
}

} // namespace fav
