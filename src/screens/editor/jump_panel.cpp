#include "screens/editor/jump_panel.h"

#include "screens/editor/sorted_pane.h"

#include <algorithm>
#include <array>

namespace fav {

namespace {

constexpr std::array<std::string_view, JumpPanel::Rows> Keys = {"ABCDEFGHI", "JKLMNOPQR",
                                                                "STUVWXYZ", "0123456789"};

int LastColumn(int row) {
    return static_cast<int>(Keys[static_cast<std::size_t>(row)].size()) - 1;
}

} // namespace

std::string_view JumpPanel::RowKeys(int row) {
    return row >= 0 && row < Rows ? Keys[static_cast<std::size_t>(row)] : std::string_view();
}

void JumpPanel::Open() {
    row_ = 0;
    column_ = 0;
    prefix_.clear();
}

void JumpPanel::Move(Direction direction) {
    switch (direction) {
    case Direction::Left:
        column_ = std::max(column_ - 1, 0);
        break;
    case Direction::Right:
        column_ = std::min(column_ + 1, LastColumn(row_));
        break;
    case Direction::Up:
        row_ = std::max(row_ - 1, 0);
        break;
    case Direction::Down:
        row_ = std::min(row_ + 1, Rows - 1);
        break;
    }
    column_ = std::min(column_, LastColumn(row_));
}

bool JumpPanel::Type() {
    if (static_cast<int>(prefix_.size()) >= MaxPrefix) {
        return false;
    }
    prefix_ += Key();
    return true;
}

bool JumpPanel::RemoveLast() {
    if (prefix_.empty()) {
        return false;
    }
    prefix_.pop_back();
    return true;
}

int JumpPanel::Target(const SortedPane& pane, std::string_view prefix) {
    if (pane.empty()) {
        return SortedPane::NoSelection;
    }
    // In the pane's order every entry that begins with the prefix sorts right after the prefix
    // itself, so the first entry not before it is the one asked for.
    return std::min(pane.LowerBound(prefix), pane.size() - 1);
}

} // namespace fav
