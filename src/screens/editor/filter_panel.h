#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fav {

// The editor's filter panel without its window: the lines it offers, the line the cursor stands
// on, and whether mature games are to be hidden. The window shows it and applies a choice.
class FilterPanel {
public:
    // Lines a page moves; the window shows this many at once.
    static constexpr int PageRows = 12;

    enum class Kind { AllGames, Filter, HideMature, AddShown };
    struct Line {
        Kind kind;
        int filter = -1; // the catalogue's filter, for Kind::Filter
    };

    // The lines for `filters` filters: every game, each filter, the mature line when mature games
    // are known, and adding every shown game. The cursor starts on the filter in use (-1: every
    // game).
    void Open(int filters, bool matureKnown, int inUse, bool hideMature);

    int size() const { return static_cast<int>(lines_.size()); }
    const Line& line(int row) const { return lines_[static_cast<std::size_t>(row)]; }
    int cursor() const { return cursor_; }
    // The first row shown: the page that holds the cursor.
    int top() const { return top_; }

    // Moves the cursor by `rows`, round from one end to the other, so the last lines are as near
    // as the first.
    void Move(int rows);
    void Page(int pages) { Move(pages * PageRows); }

    bool hideMature() const { return hideMature_; }
    void ToggleMature() { hideMature_ = !hideMature_; }

private:
    std::vector<Line> lines_;
    int cursor_ = 0;
    int top_ = 0;
    bool hideMature_ = false;
};

} // namespace fav
