#include "screens/editor/filter_panel.h"

#include <algorithm>

namespace fav {

void FilterPanel::Open(int filters, bool matureKnown, int inUse, bool hideMature) {
    lines_.clear();
    lines_.push_back({Kind::AllGames});
    for (int filter = 0; filter < filters; ++filter) {
        lines_.push_back({Kind::Filter, filter});
    }
    if (matureKnown) {
        lines_.push_back({Kind::HideMature});
    }
    lines_.push_back({Kind::AddShown});
    hideMature_ = hideMature;
    cursor_ = inUse >= 0 && inUse < filters ? inUse + 1 : 0;
    top_ = 0;
    Move(0);
}

void FilterPanel::Move(int rows) {
    const int count = size();
    cursor_ = ((cursor_ + rows) % count + count) % count;
    if (cursor_ < top_) {
        top_ = cursor_;
    } else if (cursor_ >= top_ + PageRows) {
        top_ = cursor_ - PageRows + 1;
    }
    top_ = std::clamp(top_, 0, std::max(count - PageRows, 0));
}

} // namespace fav
