#include "core/launcher/game_list.h"

#include "core/errors/os_error.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"
#include "core/textfile/lines.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fav {

namespace {

constexpr std::size_t MaxSpanBytes = std::numeric_limits<std::uint32_t>::max();
static_assert(MaxFileSize <= MaxSpanBytes, "a file that may be read must fit the line spans");

constexpr std::size_t BlockSize = 64;

// Bit i is set when block[i] ends a line: a CR, or a LF not right after a CR. `crBefore` is 1
// when the byte before the block is a CR, and is set for the next block.
[[gnu::always_inline]] inline std::uint64_t LineEnds(const char* block, std::uint64_t& crBefore) {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
#if defined(__SSE2__)
    const __m128i crs = _mm_set1_epi8('\r');
    const __m128i lfs = _mm_set1_epi8('\n');
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
        cr |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, crs)))}
              << (16 * part);
        lf |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lfs)))}
              << (16 * part);
    }
#else
    for (std::size_t i = 0; i < BlockSize; ++i) {
        cr |= std::uint64_t{block[i] == '\r'} << i;
        lf |= std::uint64_t{block[i] == '\n'} << i;
    }
#endif
    const std::uint64_t ends = cr | (lf & ~(cr << 1 | crBefore));
    crBefore = cr >> 63;
    return ends;
}

// Cuts `bytes` into lines exactly as ForEachLine does, into `spans`. Returns false when there are
// more than `limit` lines.
//
// A game list has tens of thousands of short lines, so the line ends are found 64 bytes at a time
// and the common block, with at most four of them, is handled without a branch per line. The
// first pass stores where each line ends in its span's length; the second turns those ends into
// offsets and lengths, stepping over the LF of a CR LF.
template <typename Span>
bool SplitSpans(const std::string& bytes, std::size_t limit, std::vector<Span>& spans) {
    const std::size_t size = bytes.size();
    const char* const data = bytes.data();
    spans.resize(std::min(size / 32, limit) + 1 + BlockSize);

    std::size_t count = 0;
    Span* out = spans.data();
    char tail[BlockSize];
    std::uint64_t crBefore = 0;
    for (std::size_t base = 0; base < size; base += BlockSize) {
        const char* block = data + base;
        if (size - base < BlockSize) {
            std::memset(tail, 0, BlockSize);
            std::memcpy(tail, block, size - base);
            block = tail;
        }
        std::uint64_t mask = LineEnds(block, crBefore);

        if (spans.size() < count + BlockSize) {
            spans.resize(spans.size() * 2);
            out = spans.data();
        }
        Span* const next = out + count;
        std::size_t found = 0;
        auto store = [&](std::size_t slot) {
            // Past the last bit the slot is written anyway and overwritten later, so the common
            // block takes no branch per line. The top bit keeps an empty mask branch-free too.
            const auto bit = std::countr_zero(mask | std::uint64_t{1} << 63);
            next[slot].length = static_cast<std::uint32_t>(base + bit);
            found += mask != 0;
            mask &= mask - 1;
        };
        store(0);
        store(1);
        store(2);
        store(3);
        for (; mask != 0; mask &= mask - 1) {
            next[found++].length = static_cast<std::uint32_t>(base + std::countr_zero(mask));
        }
        count += found;
        if (count > limit) {
            return false;
        }
    }

    std::uint32_t start = 0;
    for (Span* span = out; span != out + count; ++span) {
        const std::uint32_t end = span->length;
        *span = Span{start, end - start};
        // data[size] is the string's terminating NUL, so a CR at the very end reads no further.
        start = end + 1 + (data[end] == '\r' && data[end + 1] == '\n');
    }
    if (start < size) {
        if (count == limit) {
            return false;
        }
        spans[count++] = Span{start, static_cast<std::uint32_t>(size - start)};
    }
    spans.resize(count);
    if (spans.capacity() > 2 * count + BlockSize) {
        spans.shrink_to_fit();
    }
    return true;
}

// 32767 as "32,767".
std::string WithThousands(std::size_t number) {
    std::string digits = std::to_string(number);
    for (auto at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, ',');
    }
    return digits;
}

bool IsAsciiAlphanumeric(unsigned char c) {
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26 ||
           static_cast<unsigned char>(c - '0') < 10;
}

} // namespace

GameLines::GameLines(std::string bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() > MaxSpanBytes) {
        bytes_.resize(MaxSpanBytes);
    }
    SplitSpans(bytes_, std::numeric_limits<std::size_t>::max(), spans_);
}

Result<GameLines> ReadGameLines(const std::string& path, const GameListBounds& bounds) {
    // The bound is named in the failure: nothing else tells the owner why a file is refused.
    const std::string tooLarge = " is larger than " + WithThousands(bounds.maxBytes >> 20) + " MB";
    auto content = ReadWholeFile(path, SystemFileIo(),
                                 SizeLimit{bounds.maxBytes, ErrorCode::Overflow, tooLarge});
    if (!content) {
        return content.failure();
    }
    GameLines lines;
    lines.bytes_ = std::move(content).value();
    if (!SplitSpans(lines.bytes_, bounds.maxLines, lines.spans_)) {
        Failure failure = MakeFailure(ErrorCode::Overflow, path);
        failure.description += " has more than " + WithThousands(bounds.maxLines) + " lines";
        return failure;
    }
    return lines;
}

std::string_view ExtractRomName(std::string_view line) {
    std::size_t length = 0;
#if defined(__SSE2__)
    // Most names are found within the first 16 bytes of a line, tested at once.
    for (; length + 16 <= line.size(); length += 16) {
        const __m128i bytes =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + length));
        // Signed compares: bytes above 127 are negative and fall outside both ranges.
        const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                             _mm_cmplt_epi8(folded, _mm_set1_epi8('z' + 1)));
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                            _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)));
        const auto name = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(letter, digit)));
        if (name != 0xFFFF) {
            return line.substr(0, length + static_cast<std::size_t>(std::countr_one(name)));
        }
    }
#endif
    while (length < line.size() && IsAsciiAlphanumeric(static_cast<unsigned char>(line[length]))) {
        ++length;
    }
    return line.substr(0, length);
}

Status EnsureMapFile(const std::string& mapPath, const FileIo& io) {
    if (auto bad = CheckPathName(mapPath)) {
        return *bad;
    }
    // Creating only a new file makes the test and the creation one step: whatever holds the name
    // (a file, a folder, even a dangling link) is left alone.
    FileHandle file = NoFile;
    if (const OsError error = io.Open(mapPath, OpenMode::CreateNew, file); error != OsError::None) {
        if (error == OsError::Exists) {
            return {};
        }
        return FailureFromOs(error, mapPath);
    }
    if (const OsError error = io.Close(file); error != OsError::None) {
        return FailureFromOs(error, mapPath);
    }
    return {};
}

Status WriteListFiles(const std::string& launcherDir, const std::string& key,
                      std::span<const std::string> entries, const FileIo& io,
                      const Journal& journal, const VersionKeeping& keeping) {
    if (auto refused = CheckListKey(key)) {
        return *refused;
    }
    auto held = LockLauncher(launcherDir, io);
    if (!held) {
        return held.failure();
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
    std::string rom;
    rom.reserve(mapSize);
    for (const auto& entry : entries) {
        rom += ExtractRomName(entry);
        rom += LineEnd;
    }

    if (!keeping.programDir.empty()) {
        if (auto kept = KeepVersionBeforeSave(keeping, launcherDir, key, map, rom, io, journal);
            !kept) {
            return kept;
        }
    }

    // Line k of the map and line k of the rom file name the same game, so the two are replaced
    // as a pair: both are written and flushed before either is put in place, and with a journal a
    // run killed between the two is finished at the next start.
    const LinkRoot root{launcherDir};
    auto pendingMap = PrepareReplace(ListFilePath(launcherDir, key, ".map"), map, io, root);
    if (!pendingMap) {
        return pendingMap.failure();
    }
    auto pendingRom = PrepareReplace(ListFilePath(launcherDir, key, ".rom"), rom, io, root);
    if (!pendingRom) {
        return pendingRom.failure();
    }
    PendingReplace* const pair[] = {&pendingMap.value(), &pendingRom.value()};
    return CommitTogether(pair, journal);
}

} // namespace fav
