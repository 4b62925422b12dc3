#include "core/launcher/game_list.h"

#include "core/errors/os_error.h"
#include "core/launcher/list_files.h"
#include "core/textfile/files.h"
#include "core/textfile/lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>

namespace fav {

namespace {

constexpr std::size_t MaxSpanBytes = std::numeric_limits<std::uint32_t>::max();
static_assert(MaxFileSize <= MaxSpanBytes, "a file that may be read must fit the line spans");

// Cuts `bytes` into lines exactly as ForEachLine does, calling add(offset, length) for each, and
// stops with false when more than `limit` lines are found.
template <typename Add> bool SplitSpans(std::string_view bytes, std::size_t limit, Add&& add) {
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* cursor = begin;
    std::size_t count = 0;
    while (cursor < end) {
        if (count == limit) {
            return false;
        }
        ++count;
        const auto* cr = static_cast<const char*>(std::memchr(cursor, '\r', end - cursor));
        const char* const lineEnd = cr == nullptr ? end : cr;
        add(static_cast<std::uint32_t>(cursor - begin),
            static_cast<std::uint32_t>(lineEnd - cursor));
        if (cr == nullptr) {
            break;
        }
        cursor = cr + 1;
        if (cursor < end && *cursor == '\n') {
            ++cursor;
        }
    }
    return true;
}

// Lines of a typical game list run to a few dozen bytes; reserving from that guess saves most
// regrowth without holding much more than needed.
std::size_t ExpectedLines(std::size_t bytes) {
    return std::min<std::size_t>(bytes / 40 + 16, MaxGameLines);
}

bool IsAsciiAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

GameLines::GameLines(std::string bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() > MaxSpanBytes) {
        bytes_.resize(MaxSpanBytes);
    }
    SplitSpans(bytes_, std::numeric_limits<std::size_t>::max(),
               [this](std::uint32_t offset, std::uint32_t length) {
                   spans_.push_back(Span{offset, length});
               });
}

Result<GameLines> ReadGameLines(const std::string& path) {
    auto content = ReadWholeFile(path);
    if (!content) {
        return content.failure();
    }
    GameLines lines;
    lines.bytes_ = std::move(content).value();
    lines.spans_.reserve(ExpectedLines(lines.bytes_.size()));
    const bool fits =
        SplitSpans(lines.bytes_, MaxGameLines,
                   [&spans = lines.spans_](std::uint32_t offset, std::uint32_t length) {
                       spans.push_back({offset, length});
                   });
    if (!fits) {
        return MakeFailure(ErrorCode::Overflow, path);
    }
    return lines;
}

std::string_view ExtractRomName(std::string_view line) {
    const auto end = std::find_if_not(line.begin(), line.end(), IsAsciiAlphanumeric);
    return line.substr(0, static_cast<std::size_t>(end - line.begin()));
}

Status EnsureMapFile(const std::string& mapPath, const FileIo& io) {
    if (auto bad = CheckPathName(mapPath)) {
        return *bad;
    }
    // O_EXCL makes the test and the creation one step: whatever holds the name (a file, a
    // folder, even a dangling link) is left alone.
    const int fd = io.Open(mapPath, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        if (errno == EEXIST) {
            return {};
        }
        return FailureFromErrno(errno, mapPath);
    }
    if (io.Close(fd) != 0) {
        return FailureFromErrno(errno, mapPath);
    }
    return {};
}

Status WriteListFiles(const std::string& launcherDir, const std::string& key,
                      std::span<const std::string> entries, const FileIo& io) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }

    std::size_t mapSize = 0;
    for (const auto& entry : entries) {
        mapSize += entry.size() + LineEnd.size();
    }
    std::string map;
    map.reserve(mapSize);
    for (const auto& entry : entries) {
        map += entry;
        map += LineEnd;
    }
    if (auto written = ReplaceFile(ListFilePath(launcherDir, key, ".map"), map, io); !written) {
        return written;
    }

    std::string rom;
    rom.reserve(mapSize);
    for (const auto& entry : entries) {
        rom += ExtractRomName(entry);
        rom += LineEnd;
    }
    return ReplaceFile(ListFilePath(launcherDir, key, ".rom"), rom, io);
}

} // namespace fav
