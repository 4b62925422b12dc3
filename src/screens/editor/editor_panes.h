#pragma once

#include "screens/editor/sorted_pane.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace fav {

enum class Pane { Games, Favourites };

// The editor's two panes and which of them is active: the games of mame.map on the left, the
// games of the list being edited on the right.
class EditorPanes {
public:
    SortedPane& games() { return games_; }
    const SortedPane& games() const { return games_; }
    // Entries are added and removed through Add and Remove only, which keep the marks right.
    SortedPane& favourites() { return favourites_; }
    const SortedPane& favourites() const { return favourites_; }
    SortedPane& pane(Pane which) { return which == Pane::Games ? games_ : favourites_; }

    void FillGames(GameLines lines);
    void FillFavourites(GameLines lines);
    // Selects the first entry of each pane that has entries.
    void SelectFirstEntries();

    Pane active() const { return active_; }
    void Switch();

    // Copies the selected game into the favourites. False when nothing is selected or the
    // favourites hold as many lines as a map file may (MaxGameLines).
    bool Add();
    // The shown games not yet in the favourites, each line once, in the games pane's order.
    std::vector<std::string_view> ShownNotListed() const;
    // Adds ShownNotListed to the favourites, as many as the favourites have room for
    // (MaxGameLines). Returns how many were added.
    int AddShown();
    // Removes the selected favourite. False when nothing is selected.
    bool Remove();
    void PageDown() { pane(active_).PageDown(); }
    void PageUp() { pane(active_).PageUp(); }

    // True when the line stands in the favourites pane, byte for byte.
    bool InFavourites(std::string_view line) const { return counts_.count(line) > 0; }

private:
    // A game's mark changes when its first copy arrives or its last copy leaves.
    void MarkChanged(std::string_view line);

    SortedPane games_;
    SortedPane favourites_;
    // How many times each line stands in the favourites pane; the views point into its entries,
    // which it keeps until it is filled again.
    std::unordered_map<std::string_view, int> counts_;
    Pane active_ = Pane::Games;
};

} // namespace fav
