#include "screens/editor/editor_panes.h"

#include <algorithm>
#include <unordered_set>

namespace fav {

void EditorPanes::FillGames(GameLines lines) {
    games_.Fill(std::move(lines));
}

void EditorPanes::FillFavourites(GameLines lines) {
    counts_.clear();
    favourites_.Fill(std::move(lines));
    counts_.reserve(static_cast<std::size_t>(favourites_.size()));
    for (int row = 0; row < favourites_.size(); ++row) {
        ++counts_[favourites_[row]];
    }
    if (!counts_.empty()) {
        games_.NotifyDecorationChanged(0, games_.size() - 1);
    }
}

void EditorPanes::SelectFirstEntries() {
    if (!games_.empty()) {
        games_.Select(0);
    }
    if (!favourites_.empty()) {
        favourites_.Select(0);
    }
}

void EditorPanes::Switch() {
    active_ = active_ == Pane::Games ? Pane::Favourites : Pane::Games;
}

bool EditorPanes::Add() {
    // One more line and the list's map file could never be read back.
    if (games_.selected() == SortedPane::NoSelection || favourites_.size() >= MaxGameLines) {
        return false;
    }
    const int row = favourites_.Insert(games_[games_.selected()]);
    const std::string_view added = favourites_[row];
    if (++counts_[added] == 1) {
        MarkChanged(added);
    }
    return true;
}

std::vector<std::string_view> EditorPanes::ShownNotListed() const {
    std::vector<std::string_view> lines;
    std::unordered_set<std::string_view> taken;
    for (int row = 0; row < games_.size(); ++row) {
        const std::string_view line = games_[row];
        if (!InFavourites(line) && taken.insert(line).second) {
            lines.push_back(line);
        }
    }
    return lines;
}

int EditorPanes::AddShown() {
    std::vector<std::string_view> lines = ShownNotListed();
    const auto room = static_cast<std::size_t>(std::max(MaxGameLines - favourites_.size(), 0));
    lines.resize(std::min(lines.size(), room));
    if (lines.empty()) {
        return 0;
    }
    favourites_.InsertMany(lines);
    // The counts take views into the favourites' own copies, which outlive the games pane's.
    for (const std::string_view line : lines) {
        const auto [first, last] = favourites_.EqualRange(line);
        for (int row = first; row < last; ++row) {
            if (favourites_[row] == line) {
                ++counts_[favourites_[row]];
                break;
            }
        }
    }
    games_.NotifyDecorationChanged(0, games_.size() - 1);
    return static_cast<int>(lines.size());
}

bool EditorPanes::Remove() {
    const int row = favourites_.selected();
    if (row == SortedPane::NoSelection) {
        return false;
    }
    const auto counted = counts_.find(favourites_[row]);
    favourites_.RemoveSelected();
    if (counted != counts_.end() && --counted->second == 0) {
        const std::string_view line = counted->first;
        counts_.erase(counted);
        MarkChanged(line);
    }
    return true;
}

void EditorPanes::MarkChanged(std::string_view line) {
    const auto [first, last] = games_.EqualRange(line);
    games_.NotifyDecorationChanged(first, last - 1);
}

} // namespace fav
