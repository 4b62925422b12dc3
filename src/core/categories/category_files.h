#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace fav {

// MAME's category files, which owners keep for MAME's own menus: folder lists (the
// "category.ini" family, e.g. "Working Arcade Clean.ini", "players.ini") and catver.ini. They are
// only read, to offer the games pane's filters.

// One filter: a folder list's section or a top-level genre of catver.ini, and the ROM names it
// holds.
struct CategoryFilter {
    std::string label; // "Working Arcade Clean", "players: 2 Players", "Shooter"
    std::unordered_set<std::string> roms;
};

// A file larger than this is no category file of a realistic size: it is skipped.
inline constexpr std::size_t MaxCategoryFileBytes = std::size_t{16} << 20;

// What one file gave: its filters, and what was skipped, a line each for the log.
struct CategoryRead {
    std::vector<CategoryFilter> filters;
    std::unordered_set<std::string> mature; // catver.ini's ROMs marked " * Mature *"
    std::vector<std::string> problems;
};

// Reads a folder list or catver.ini from its text. `fileName` names it in labels and problems.
// A folder list: an optional [FOLDER_SETTINGS] section, skipped, then sections each followed by
// one ROM name a line; ";;" lines are comments. Its [ROOT_FOLDER] is labelled by the file's name,
// another section by the file's name and the section's ("players: 2 Players"). catver.ini: its
// [Category] section of "rom=Genre / Sub-genre" lines gives one filter a top-level genre; its
// other sections are ignored. A line that is no name and a section without names are skipped;
// a file that is neither is skipped whole. Each is one problem.
CategoryRead ParseCategoryFile(std::string_view fileName, std::string_view text);

// Reads the file at `path` (see ParseCategoryFile); one too large, unreadable or binary is
// skipped with one problem.
CategoryRead ReadCategoryFile(const std::string& path);

// The .ini files in each of the folders named, in name order; a missing folder has none.
std::vector<std::string> FindCategoryFiles(const std::vector<std::string>& folders);

} // namespace fav
