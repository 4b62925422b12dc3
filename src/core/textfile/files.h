#pragma once

#include "core/errors/result.h"
#include "core/os/file_io.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t MaxFileSize = std::size_t{512} << 20;

// How large a file ReadWholeFile takes: a larger one is refused with `code`, and `reason`, when
// given, follows the path in the description.
struct SizeLimit {
    std::size_t maxBytes = MaxFileSize;
    int code = ErrorCode::OutOfMemory;
    std::string_view reason;
};

// The whole file, byte for byte. A folder in place of the file is "Path/File access error".
Result<std::string> ReadWholeFile(const std::string& path, const FileIo& io = SystemFileIo(),
                                  const SizeLimit& limit = {});

// The lines of a text file (see ForEachLine).
Result<std::vector<std::string>> ReadLines(const std::string& path,
                                           const FileIo& io = SystemFileIo());

// A safe replacement's temporary file is named "." + the file's name + ".new" + the process id +
// "-" + a number below 100; this many bytes longer than the file's name at most.
inline constexpr std::size_t TemporaryNameExtra = 1 + 4 + 10 + 1 + 2;

// Where a replaced file's symbolic link may lead: an empty root lets it lead anywhere (a file the
// user chose); otherwise its target must lie within the root or within the folder that holds the
// link, or the replacement is refused.
struct LinkRoot {
    std::string folder;
};

// The program's own folder, where a write that cannot be made in one step is recorded before
// it begins (see FinishInterruptedWrites). Empty: nothing is recorded.
struct Journal {
    std::string folder;
};

// A replacement whose new contents are written and flushed but not yet in place. Commit puts
// them in place and flushes the folder; one dropped before that leaves the old file as it was and
// removes the temporary file. When the folder takes no new file but the file itself may be
// written, the contents are written into the file itself at Commit (see WriteInPlace), and
// flushed; only CommitTogether records that first, so a kill cannot tear the file.
class PendingReplace {
public:
    PendingReplace(PendingReplace&& other) noexcept;
    PendingReplace& operator=(PendingReplace&&) = delete;
    ~PendingReplace();

    Status Commit();

private:
    friend Status CommitTogether(std::span<PendingReplace* const> pending, const Journal& journal);

    PendingReplace(const FileIo& io, std::string path, std::string target);
    friend Result<PendingReplace> PrepareReplace(const std::string& path, std::string_view content,
                                                 const FileIo& io, const LinkRoot& linkRoot);

    const FileIo* io_;
    std::string path_;
    std::string target_;
    std::string temporary_;
    std::string inPlaceContent_;
    bool inPlace_ = false;
    bool settled_ = false;
};

// Checks that `path` may be replaced and returns the file to replace: the target of a symbolic
// link, else the path. Refused with "Path/File access error", before anything is written: a
// folder or a special file in its place, an existing file the user may not write, a link leading
// outside `linkRoot`. A missing file is fine where its folder exists.
Result<std::string> CheckReplaceable(const std::string& path, const FileIo& io = SystemFileIo(),
                                     const LinkRoot& linkRoot = {});

// Writes the new contents beside the file (see PendingReplace), first removing the temporary
// files of runs that died while replacing the same file.
Result<PendingReplace> PrepareReplace(const std::string& path, std::string_view content,
                                      const FileIo& io = SystemFileIo(),
                                      const LinkRoot& linkRoot = {});

// Commits the replacements so that a kill at any moment leaves every file old or new by the next
// start: with more than one, or with one written in place, the steps are first recorded in the
// journal. A replacement that fails stops the rest; those before it stay committed.
Status CommitTogether(std::span<PendingReplace* const> pending, const Journal& journal);

// Writes `content` into the existing file itself, for a folder that takes no new file. The room
// is made sure of first, and a failure while writing puts the old contents back.
Status WriteInPlace(const std::string& target, std::string_view content, const FileIo& io,
                    const std::string& path);

// Finishes the writes a killed run recorded in the journal of `folder`, then removes it: the
// steps are redone from the new contents kept beside the journal, so every file they touch ends
// new. Call it at start-up, before any of those files is read.
Status FinishInterruptedWrites(const std::string& folder, const FileIo& io = SystemFileIo());

// Removes the temporary files of dead runs from the folder: only names this program makes.
void RemoveDeadTemporaryFiles(const std::string& folder, const FileIo& io = SystemFileIo());

// The journal's name in the program's folder.
inline constexpr std::string_view JournalName = "favorizer.journal";

// Replaces the file's contents with `content` without ever leaving it shortened: PrepareReplace,
// then CommitTogether. The old file's mode, and its owner where allowed or else its group, are
// kept. On failure the old file is untouched and the new one removed.
Status ReplaceFile(const std::string& path, std::string_view content,
                   const FileIo& io = SystemFileIo(), const LinkRoot& linkRoot = {},
                   const Journal& journal = {});

// ReplaceFile with every line followed by CR LF.
Status ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines,
                        const FileIo& io = SystemFileIo(), const LinkRoot& linkRoot = {},
                        const Journal& journal = {});

// Appends to the end of the file, creating it when missing.
Status AppendToFile(const std::string& path, std::string_view content,
                    const FileIo& io = SystemFileIo());

// Deletes the file; a file that is already gone is not a failure.
Status DeleteFileIfPresent(const std::string& path, const FileIo& io = SystemFileIo());

// A regular file (symbolic links followed) whose name does not start with ".".
bool IsOrdinaryFile(const std::string& path, const FileIo& io = SystemFileIo());

// True when the folder holds at least one ordinary file. A folder that does not exist (or a
// path through a file) holds none; other failures to list it are failures.
Result<bool> FolderHasOrdinaryFile(const std::string& folder, const FileIo& io = SystemFileIo());

bool IsFolder(const std::string& path, const FileIo& io = SystemFileIo());

// The names of the folders in `folder` a folder tree shows (links to folders too, hidden ones as
// FolderTreeShowsHidden says), in no particular order; none when it cannot be listed.
std::vector<std::string> SubfolderNames(const std::string& folder,
                                        const FileIo& io = SystemFileIo());

// A name the system cannot take: empty, or with a NUL byte in it.
std::optional<Failure> CheckPathName(const std::string& path);

} // namespace fav
