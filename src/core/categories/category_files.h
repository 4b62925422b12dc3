#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace fav {

// MAME's category files, which owners keep for MAME's own menus: folder lists (the
// "category.ini" family, e.g. "Working Arcade Clean.ini", "players.ini") and catver.ini. They are
// only read, to offer the games pane's filters.

// A set of ROM names, looked up by a part of a line without copying it.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept {
        return std::hash<std::string_view>{}(name);
    }
};
using RomNames = std::unordered_set<std::string, NameHash, std::equal_to<>>;

// One filter: a folder list's section or a top-level genre of catver.ini, and the ROM names it
// holds.
struct CategoryFilter {
    std::string label; // "Working Arcade Clean", "players: 2 Players", "Shooter"
    RomNames roms;
};

// A file larger than this is no category file of a realistic size: it is skipped.
inline constexpr std::size_t MaxCategoryFileBytes = std::size_t{16} << 20;

// What one file gave: its filters, and what was skipped, a line each for the log.
struct CategoryRead {
    std::vector<CategoryFilter> filters;
    RomNames mature; // catver.ini's ROMs marked " * Mature *"
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

// The ROM name a filter looks for in a game line: its first word.
std::string_view FilterRomName(std::string_view line);

// Which of the lines a filter shows, by index and in order: those whose ROM name it holds (every
// line without a filter), less those `hidden` holds.
template <typename Lines>
std::vector<std::size_t> ShownGames(const Lines& lines, const CategoryFilter* filter,
                                    const RomNames& hidden) {
    std::vector<std::size_t> shown;
    shown.reserve(filter != nullptr ? filter->roms.size() : lines.size());
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string_view rom = FilterRomName(lines[index]);
        if ((filter == nullptr || filter->roms.contains(rom)) &&
            (hidden.empty() || !hidden.contains(rom))) {
            shown.push_back(index);
        }
    }
    return shown;
}

// The .ini files in each of the folders named, in name order; a missing folder has none.
std::vector<std::string> FindCategoryFiles(const std::vector<std::string>& folders);

} // namespace fav
