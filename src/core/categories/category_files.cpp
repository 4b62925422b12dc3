#include "core/categories/category_files.h"

#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "core/textfile/lines.h"
#include "core/textfile/names.h"

#include <algorithm>
#include <map>
#include <optional>

namespace fav {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// MAME's short names: letters, digits and underscores, 16 at most.
bool IsRomName(std::string_view name) {
    return !name.empty() && name.size() <= 16 &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_';
           });
}

// "2_Players" as shown: underscores read as spaces.
std::string Shown(std::string_view name) {
    std::string shown(name);
    std::replace(shown.begin(), shown.end(), '_', ' ');
    return shown;
}

bool HasIniEnding(std::string_view name) {
    return name.size() > 4 && SameNameIgnoringCase(name.substr(name.size() - 4), ".ini");
}

// A file's name without its folder and its ".ini".
std::string Stem(std::string_view fileName) {
    const auto slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        fileName.remove_prefix(slash + 1);
    }
    if (HasIniEnding(fileName)) {
        fileName.remove_suffix(4);
    }
    return std::string(fileName);
}

// catver.ini's genre for a category: what stands before the first " / ", without the mark.
std::string_view Genre(std::string_view category) {
    const auto mark = category.find("* Mature *");
    if (mark != std::string_view::npos) {
        category = category.substr(0, mark);
    }
    const auto slash = category.find(" / ");
    return Trimmed(slash == std::string_view::npos ? category : category.substr(0, slash));
}

} // namespace

RomNames::RomNames(std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        Add(name);
    }
    Finish();
}

void RomNames::Finish() {
    // MAME's files list their names in order: then there is nothing to sort.
    if (!std::is_sorted(names_.begin(), names_.end())) {
        std::sort(names_.begin(), names_.end());
    }
    names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
}

bool RomNames::contains(std::string_view name) const {
    const auto found =
        std::lower_bound(names_.begin(), names_.end(), name,
                         [](const std::string& a, std::string_view b) { return a < b; });
    return found != names_.end() && *found == name;
}

CategoryRead ParseCategoryFile(std::string_view fileName, std::string_view text) {
    const std::string stem = Stem(fileName);
    CategoryRead read;
    if (text.find('\0') != std::string_view::npos) {
        read.problems.push_back(stem + ": not a category file (binary)");
        return read;
    }
    std::optional<std::string> section;
    // What the lines of the current section are: names of a folder list's section, catver.ini's
    // categories, or lines to pass over.
    enum class Holds { Names, Categories, Nothing } holds = Holds::Nothing;
    bool catver = false;
    bool anySection = false;
    int badLines = 0;
    std::vector<CategoryFilter> sections;
    std::map<std::string, std::size_t, std::less<>> genres;

    ForEachLine(text, [&](std::string_view raw) {
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line.starts_with(";;")) {
            return;
        }
        if (line.front() == '[' && line.back() == ']') {
            anySection = true;
            section = std::string(Trimmed(line.substr(1, line.size() - 2)));
            holds = Holds::Nothing;
            if (SameNameIgnoringCase(*section, "Category")) {
                catver = true;
                holds = Holds::Categories;
            } else if (!catver && !SameNameIgnoringCase(*section, "FOLDER_SETTINGS")) {
                const bool root = SameNameIgnoringCase(*section, "ROOT_FOLDER");
                sections.push_back({root ? stem : stem + ": " + Shown(*section), {}});
                holds = Holds::Names;
            }
            return;
        }
        if (!section) {
            ++badLines;
            return;
        }
        if (holds == Holds::Categories) {
            const auto equals = line.find('=');
            const std::string_view rom =
                Trimmed(line.substr(0, equals == std::string_view::npos ? 0 : equals));
            const std::string_view category =
                equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
            const std::string_view genre = Genre(category);
            if (!IsRomName(rom) || genre.empty()) {
                ++badLines;
                return;
            }
            auto found = genres.find(genre);
            if (found == genres.end()) {
                found = genres.emplace(std::string(genre), read.filters.size()).first;
                read.filters.push_back({std::string(genre), {}});
            }
            read.filters[found->second].roms.Add(rom);
            if (category.find("* Mature *") != std::string_view::npos) {
                read.mature.Add(rom);
            }
            return;
        }
        if (holds == Holds::Nothing) {
            return; // catver.ini's other sections, and a folder list's settings
        }
        if (!IsRomName(line)) {
            ++badLines;
            return;
        }
        sections.back().roms.Add(line);
    });

    if (!anySection) {
        read.problems.push_back(stem + ": not a category file (no sections)");
        read.filters.clear();
        return read;
    }
    read.genres = catver;
    if (!catver) {
        for (CategoryFilter& filter : sections) {
            if (filter.roms.empty()) {
                read.problems.push_back(filter.label + ": no names, skipped");
            } else {
                read.filters.push_back(std::move(filter));
            }
        }
    }
    for (CategoryFilter& filter : read.filters) {
        filter.roms.Finish();
    }
    read.mature.Finish();
    if (badLines > 0) {
        read.problems.push_back(stem + ": " + std::to_string(badLines) +
                                (badLines == 1 ? " line that is" : " lines that are") +
                                " not a name, skipped");
    }
    return read;
}

std::string_view FilterRomName(std::string_view line) {
    return line.substr(0, std::min(line.find_first_of(" \t\""), line.size()));
}

CategoryRead ReadCategoryFile(const std::string& path) {
    auto text = ReadWholeFile(path, SystemFileIo(),
                              SizeLimit{MaxCategoryFileBytes, ErrorCode::Overflow, "over 16 MB"});
    if (!text) {
        CategoryRead read;
        read.problems.push_back(Stem(path) + ": " + text.failure().description);
        return read;
    }
    return ParseCategoryFile(path, text.value());
}

std::vector<std::string> FindCategoryFiles(const std::vector<std::string>& folders) {
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        std::vector<std::string> names;
        if (SystemFileIo().ListFolder(folder, names) != OsError::None) {
            continue;
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::string path = JoinPath(folder, name);
            if (HasIniEnding(name) && IsOrdinaryFile(path)) {
                files.push_back(path);
            }
        }
    }
    return files;
}

} // namespace fav
