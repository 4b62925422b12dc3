#pragma once

#include "core/backups/list_versions.h"
#include "core/errors/result.h"
#include "core/os/file_io.h"
#include "core/textfile/files.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// How much of a game list file is read; one line or byte more is an overflow.
struct GameListBounds {
    std::size_t maxLines;
    std::size_t maxBytes;
};

// A list's own map file holds at most this many lines: the launcher counts a list's games in a
// 16-bit number, so the editor never writes more and never reads a larger one.
inline constexpr int MaxGameLines = 32767;
inline constexpr GameListBounds ListFileBounds{MaxGameLines, MaxFileSize};

// mame.map is read whole, whatever MAME lists (45,294 machines in 0.251). The bounds only refuse
// a file that is no game list at all, long before it could fill the memory.
inline constexpr GameListBounds MameMapBounds{1'000'000, std::size_t{64} << 20};

// The lines of a game list file, as the bytes read, without their line ends.
class GameLines {
public:
    GameLines() = default;
    explicit GameLines(std::string bytes);

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t index) const {
        return std::string_view(bytes_).substr(spans_[index].offset, spans_[index].length);
    }

private:
    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::string bytes_;
    std::vector<Span> spans_;
    friend Result<GameLines> ReadGameLines(const std::string& path, const GameListBounds& bounds);
};

// Reads mame.map or a list's map file. A file beyond the bounds fails with Overflow (6), its
// description naming the bound.
Result<GameLines> ReadGameLines(const std::string& path,
                                const GameListBounds& bounds = ListFileBounds);

// The ROM name: the longest run of ASCII letters and digits at the start of the line.
std::string_view ExtractRomName(std::string_view line);

// Creates the map file empty when no file of its name exists.
Status EnsureMapFile(const std::string& mapPath, const FileIo& io = SystemFileIo());

// Rewrites the list's map file with the entries and its rom file with their ROM names, under the
// launcher's lock. Both new files are written and flushed, and the pair recorded in the journal,
// before either replaces its old file, so a kill never leaves them apart after the next start.
// With a program folder in `keeping`, the files as they were are first kept as a version (see
// KeepVersionBeforeSave); when that fails nothing is replaced.
Status WriteListFiles(const std::string& launcherDir, const std::string& key,
                      std::span<const std::string> entries, const FileIo& io = SystemFileIo(),
                      const Journal& journal = {}, const VersionKeeping& keeping = {});

} // namespace fav
