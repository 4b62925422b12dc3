#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// MAME's category files, which owners keep for MAME's own menus: folder lists (the
// "category.ini" family, e.g. "Working Arcade Clean.ini", "players.ini") and catver.ini. They are
// only read, to offer the games pane's filters.

// A set of ROM names: kept sorted, since a list of them is built once and then only looked up,
// and a sorted run of short strings is far cheaper to build than a hash table.
class RomNames {
public:
    RomNames() = default;
    RomNames(std::initializer_list<std::string_view> names);

    // Names are added in any order, then Finish sorts them; only then may they be looked up.
    void Add(std::string_view name) { names_.emplace_back(name); }
    void Finish();

    bool contains(std::string_view name) const;
    // In order, once finished.
    const std::vector<std::string>& names() const { return names_; }
    std::size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    bool operator==(const RomNames&) const = default;

private:
    std::vector<std::string> names_;
};

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
    bool genres = false; // catver.ini's: its filters are genres
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

// Whether a filter shows a game line: its ROM name is the filter's (any, without a filter) and
// not one of `hidden`.
inline bool FilterShows(const CategoryFilter* filter, const RomNames& hidden,
                        std::string_view line) {
    const std::string_view rom = FilterRomName(line);
    return (filter == nullptr || filter->roms.contains(rom)) &&
           (hidden.empty() || !hidden.contains(rom));
}

// Which of the lines a filter shows, by index and in order.
template <typename Lines>
std::vector<std::size_t> ShownGames(const Lines& lines, const CategoryFilter* filter,
                                    const RomNames& hidden) {
    std::vector<std::size_t> shown;
    shown.reserve(filter != nullptr ? filter->roms.size() : lines.size());
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (FilterShows(filter, hidden, lines[index])) {
            shown.push_back(index);
        }
    }
    return shown;
}

// The .ini files in each of the folders named, in name order; a missing folder has none.
std::vector<std::string> FindCategoryFiles(const std::vector<std::string>& folders);

} // namespace fav
