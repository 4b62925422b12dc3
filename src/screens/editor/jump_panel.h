#pragma once

#include <string>
#include <string_view>

namespace fav {

class SortedPane;

// The editor's jump panel without its window: a grid of 36 keys, the key the cursor stands on,
// and the prefix typed so far. The window shows it and selects the entry it names.
class JumpPanel {
public:
    static constexpr int Rows = 4;
    static constexpr int MaxPrefix = 8;

    // The keys of a row, left to right; rows are of different lengths.
    static std::string_view RowKeys(int row);

    enum class Direction { Left, Up, Right, Down };

    // The state every opening starts from: an empty prefix and the cursor on A.
    void Open();

    // Moves the cursor one key; it stops at the grid's edges. A row shorter than the column the
    // cursor comes from takes it to its last key.
    void Move(Direction direction);
    int row() const { return row_; }
    int column() const { return column_; }
    char Key() const { return RowKeys(row_)[static_cast<std::size_t>(column_)]; }

    // Adds the key under the cursor to the prefix. False when the prefix is full.
    bool Type();
    // Removes the prefix's last character. False when it is empty.
    bool RemoveLast();
    const std::string& prefix() const { return prefix_; }

    // The row of the pane to select for a prefix: the first entry that begins with it ignoring
    // letter case, else the first that sorts after it, else the last entry. NoSelection (-1) on
    // an empty pane.
    static int Target(const SortedPane& pane, std::string_view prefix);

private:
    int row_ = 0;
    int column_ = 0;
    std::string prefix_;
};

} // namespace fav
