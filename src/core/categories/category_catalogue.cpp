#include "core/categories/category_catalogue.h"

#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "core/textfile/names.h"

#include <algorithm>
#include <set>

namespace fav {

namespace {

constexpr std::string_view FilterLine = "filter=";
constexpr std::string_view HideMatureLine = "hide mature=";

std::string FilterChoicePath(const std::string& programDir) {
    return JoinPath(programDir, FilterChoiceFileName);
}

} // namespace

const CategoryFilter* CategoryCatalogue::Find(const std::string& label) const {
    const auto found = std::find_if(filters.begin(), filters.end(),
                                    [&label](const CategoryFilter& f) { return f.label == label; });
    return found == filters.end() ? nullptr : &*found;
}

std::vector<std::string> CategoryFolders(const std::vector<std::string>& besideFolders) {
    std::vector<std::string> folders;
    for (const std::string& beside : besideFolders) {
        std::string folder = PathInFolder(beside, "folders");
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

CategoryCatalogue ReadCategoryCatalogue(const std::vector<std::string>& folders) {
    CategoryCatalogue catalogue;
    std::vector<CategoryFilter> genres;
    std::set<std::string, std::less<>> labels;
    for (const std::string& path : FindCategoryFiles(folders)) {
        CategoryRead read = ReadCategoryFile(path);
        for (std::string& problem : read.problems) {
            catalogue.problems.push_back(std::move(problem));
        }
        for (CategoryFilter& filter : read.filters) {
            if (!labels.insert(filter.label).second) {
                catalogue.problems.push_back(path + ": \"" + filter.label +
                                             "\" is already given by another file, skipped");
                continue;
            }
            (read.genres ? genres : catalogue.filters).push_back(std::move(filter));
        }
        for (const std::string& rom : read.mature.names()) {
            catalogue.mature.Add(rom);
        }
    }
    catalogue.mature.Finish();
    std::sort(genres.begin(), genres.end(),
              [](const CategoryFilter& a, const CategoryFilter& b) { return a.label < b.label; });
    std::move(genres.begin(), genres.end(), std::back_inserter(catalogue.filters));
    return catalogue;
}

void GameRoms::Sort() {
    std::sort(roms_.begin(), roms_.end());
}

FilterCount GameRoms::Count(const RomNames& roms, const RomNames& hidden) const {
    FilterCount count;
    for (const std::string& rom : roms.names()) {
        const auto [first, last] = std::equal_range(roms_.begin(), roms_.end(), rom);
        const auto lines = static_cast<std::size_t>(last - first);
        count.all += lines;
        if (lines > 0 && !hidden.contains(rom)) {
            count.shown += lines;
        }
    }
    return count;
}

Result<FilterChoice> ReadFilterChoice(const std::string& programDir) {
    FilterChoice choice;
    const std::string path = FilterChoicePath(programDir);
    if (!IsOrdinaryFile(path)) {
        return choice;
    }
    auto lines = ReadLines(path);
    if (!lines) {
        return lines.failure();
    }
    for (const std::string& line : lines.value()) {
        if (line.starts_with(FilterLine)) {
            choice.label = line.substr(FilterLine.size());
        } else if (line.starts_with(HideMatureLine)) {
            choice.hideMature = line.substr(HideMatureLine.size()) == "yes";
        }
    }
    return choice;
}

Status StoreFilterChoice(const std::string& programDir, const FilterChoice& choice) {
    // A label from a file name that holds a line break cannot be kept as a line: every game then.
    const bool keepable = choice.label.find_first_of("\r\n") == std::string::npos;
    return ReplaceFileLines(FilterChoicePath(programDir),
                            {std::string(FilterLine) + (keepable ? choice.label : std::string()),
                             std::string(HideMatureLine) + (choice.hideMature ? "yes" : "no")});
}

} // namespace fav
