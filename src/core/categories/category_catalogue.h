#pragma once

#include "core/categories/category_files.h"
#include "core/errors/result.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fav {

// Every filter the category files of some folders offer, in the order the filter panel lists
// them: the folder lists' sections, file by file, then catver.ini's genres in name order.
struct CategoryCatalogue {
    std::vector<CategoryFilter> filters;
    RomNames mature;
    // One line a file or part of a file that was skipped, for the log.
    std::vector<std::string> problems;

    // The filter of that label, or nullptr.
    const CategoryFilter* Find(const std::string& label) const;
};

// The folder named "folders" (any letter case) in each of the given folders.
std::vector<std::string> CategoryFolders(const std::vector<std::string>& besideFolders);

// Reads the .ini files of the folders. A folder named twice is read once; a filter whose label
// an earlier file already gave (catver.ini in both folders) is left out as one problem.
CategoryCatalogue ReadCategoryCatalogue(const std::vector<std::string>& folders);

// How many game lines each filter holds, all of them and without the hidden ones.
struct FilterCount {
    std::size_t all = 0;
    std::size_t shown = 0;
};

// The ROM names of game lines, sorted, with a name as often as its lines: counting a filter's
// games is then a look-up per name it holds, not a pass over every line per filter.
class GameRoms {
public:
    template <typename Lines> explicit GameRoms(const Lines& lines) {
        roms_.reserve(lines.size());
        for (std::size_t index = 0; index < lines.size(); ++index) {
            roms_.push_back(FilterRomName(lines[index]));
        }
        Sort();
    }
    FilterCount Count(const RomNames& roms, const RomNames& hidden) const;

private:
    void Sort();
    std::vector<std::string_view> roms_;
};

// The choice the games pane was last shown with, kept beside the program in FilterChoiceFileName
// so it survives a restart. An empty label is every game.
struct FilterChoice {
    std::string label;
    bool hideMature = false;
    bool operator==(const FilterChoice&) const = default;
};
inline constexpr const char* FilterChoiceFileName = "gamefilter.txt";

// The stored choice; every game when none is stored.
Result<FilterChoice> ReadFilterChoice(const std::string& programDir);
// Replaces the stored choice safely.
Status StoreFilterChoice(const std::string& programDir, const FilterChoice& choice);

} // namespace fav
