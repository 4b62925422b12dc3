#pragma once

#include "core/launcher/game_list.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fav {

// How far one page move goes.
inline constexpr int PageStep = 27;

// Alphabetical order ignoring the case of ASCII letters; every other byte compares by its value.
bool CaseInsensitiveLess(std::string_view a, std::string_view b);

// Told about every change of a pane's entries, before and after it happens, so a view over the
// pane can follow.
class PaneListener {
public:
    virtual void AboutToReset() = 0;
    virtual void Reset() = 0;
    virtual void AboutToInsert(int row) = 0;
    virtual void Inserted() = 0;
    virtual void AboutToRemove(int row) = 0;
    virtual void Removed() = 0;
    // Something shown beside the rows (not the entries themselves) changed.
    virtual void DecorationChanged(int first, int last) = 0;

protected:
    ~PaneListener() = default;
};

// One pane of the editor: game lines kept as the bytes read, in case-insensitive order with equal
// lines side by side in the order they arrived, and the selected entry or none.
class SortedPane {
public:
    static constexpr int NoSelection = -1;

    void SetListener(PaneListener* listener) { listener_ = listener; }

    // Replaces the entries with the lines, sorted once. Nothing is selected afterwards.
    void Fill(GameLines lines);
    // Shows only the filled entries `keep` takes (all of them without it), in the same order; the
    // others stay for the next call. Nothing is selected afterwards. For a pane that takes no
    // insertions or removals, as the games pane.
    void ShowOnly(const std::function<bool(std::string_view)>& keep);
    // Every filled entry, shown or not, in order.
    const std::vector<std::string_view>& FilledEntries() const {
        return filled_.empty() ? entries_ : filled_;
    }

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    std::string_view operator[](int row) const { return entries_[static_cast<std::size_t>(row)]; }
    // The entries in order, as the bytes to write back.
    std::vector<std::string> Lines() const;

    int selected() const { return selected_; }
    // A row of the pane, or NoSelection.
    void Select(int row);

    // Adds a copy of the line after the entries equal to it, so that adding lines one by one gives
    // the same order as sorting them. The entry that was selected stays selected. Returns the row.
    int Insert(std::string_view line);
    // Inserts copies of the lines as Insert would one by one, in one pass however many they are.
    void InsertMany(const std::vector<std::string_view>& lines);
    // Removes the selected entry and selects the one now in its place, or the new last one.
    // Returns the row removed, or NoSelection when nothing was selected.
    int RemoveSelected();

    // Moves the selection a page on, stopping at the last entry; from no selection the page ends
    // at row PageStep - 1. Nothing happens on an empty pane.
    void PageDown();
    // Moves the selection a page back, stopping at the first entry.
    void PageUp();

    // The first row whose entry does not sort before the text; size() when every entry does.
    int LowerBound(std::string_view text) const;
    // The rows [first, last) whose entries equal the line ignoring case.
    std::pair<int, int> EqualRange(std::string_view line) const;
    void NotifyDecorationChanged(int first, int last);

private:
    // Kept for the whole life of the pane: entries_ views into them. Deques never move what they
    // hold, so the views stay valid as more is added.
    std::deque<GameLines> files_;
    std::deque<std::string> added_;
    std::vector<std::string_view> entries_;
    // Every filled entry, once some are not shown.
    std::vector<std::string_view> filled_;
    int selected_ = NoSelection;
    PaneListener* listener_ = nullptr;
};

} // namespace fav
