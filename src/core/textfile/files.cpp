#include "core/textfile/files.h"

#include "core/errors/os_error.h"
#include "core/os/native_path.h"
#include "core/textfile/lines.h"

#include <algorithm>
#include <optional>

namespace fav {

namespace {

// Closes the file when it goes out of scope, unless it was closed on purpose.
class OpenFile {
public:
    OpenFile(const FileIo& io, FileHandle file) : io_(io), file_(file) {}
    explicit OpenFile(const FileIo& io) : OpenFile(io, NoFile) {}
    ~OpenFile() {
        if (file_ != NoFile) {
            (void)io_.Close(file_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    FileHandle get() const { return file_; }
    void Own(FileHandle file) {
        if (file_ != NoFile) {
            (void)io_.Close(file_);
        }
        file_ = file;
    }
    OsError Close() {
        const FileHandle file = file_;
        file_ = NoFile;
        return io_.Close(file);
    }

private:
    const FileIo& io_;
    FileHandle file_;
};

// Opens `target` as `file` and tells what it is. Anything but a regular file is refused: a folder,
// a pipe or a device is no text file, and a pipe would never end. Failures name `path`.
Result<FileInfo> OpenRegularFile(const FileIo& io, const std::string& target, OpenMode mode,
                                 OpenFile& file, const std::string& path) {
    FileHandle handle = NoFile;
    if (const OsError error = io.Open(target, mode, handle); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    file.Own(handle);
    FileInfo info;
    if (const OsError error = io.Info(file.get(), info); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (info.type != FileType::Regular) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    return info;
}

Status WriteAll(const FileIo& io, FileHandle file, std::string_view content,
                const std::string& path) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        std::size_t written = 0;
        if (const OsError error = io.Write(file, data, left, written); error != OsError::None) {
            return FailureFromOs(error, path);
        }
        if (written == 0) {
            return MakeFailure(ErrorCode::DiskFull, path);
        }
        data += written;
        left -= written;
    }
    return {};
}

} // namespace

std::optional<Failure> CheckPathName(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return MakeFailure(ErrorCode::BadFileName, path);
    }
    return std::nullopt;
}

Result<std::string> ReadWholeFile(const std::string& path, const FileIo& io,
                                  const SizeLimit& limit) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    OpenFile file(io);
    auto opened = OpenRegularFile(io, path, OpenMode::Read, file, path);
    if (!opened) {
        return opened.failure();
    }
    const FileInfo& info = opened.value();
    const std::size_t maxBytes = std::min(limit.maxBytes, MaxFileSize);
    const auto tooLarge = [&] {
        Failure failure = MakeFailure(limit.code, path);
        failure.description += limit.reason;
        return failure;
    };
    if (info.size > maxBytes) {
        return tooLarge();
    }
    // One byte more than the file holds, so that the end is seen without growing the buffer.
    std::string content;
    content.resize(static_cast<std::size_t>(info.size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            // The file grew while it was read.
            if (content.size() > maxBytes) {
                return tooLarge();
            }
            content.resize(content.size() + 65536);
        }
        std::size_t got = 0;
        if (const OsError error =
                io.Read(file.get(), content.data() + filled, content.size() - filled, got);
            error != OsError::None) {
            return FailureFromOs(error, path);
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    content.resize(filled);
    return content;
}

Result<std::vector<std::string>> ReadLines(const std::string& path, const FileIo& io) {
    auto content = ReadWholeFile(path, io);
    if (!content) {
        return content.failure();
    }
    return SplitLines(content.value());
}

namespace {

bool IsWithin(const std::string& path, const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    if (folder.find_last_of(PathSeparators) == folder.size() - 1) {
        return path.size() > folder.size() && path.starts_with(folder);
    }
    return path.size() > folder.size() + 1 && path.starts_with(folder) &&
           PathSeparators.find(path[folder.size()]) != std::string_view::npos;
}

// Whether `name` is a temporary file this program made for `target` ("." + its name + ".new" +
// a process id + "-" + a number), and if so the process id.
std::optional<std::uint32_t> TemporaryOwner(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem)) {
        return std::nullopt;
    }
    name.remove_prefix(stem.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 10 || dash + 1 == name.size() ||
        name.size() - dash - 1 > 2) {
        return std::nullopt;
    }
    const auto digits = [](std::string_view text) {
        return text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(name.substr(0, dash)) || !digits(name.substr(dash + 1))) {
        return std::nullopt;
    }
    const std::uint64_t id = std::stoull(std::string(name.substr(0, dash)));
    if (id > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(id);
}

// A run killed while replacing the file left its temporary file behind. Only names this
// program makes are removed, and only when their process is gone (or is this one: nothing else
// of ours is replacing the file now).
void RemoveDeadTemporaries(const FileIo& io, const std::string& folder, const std::string& stem) {
    std::vector<std::string> names;
    if (io.ListFolder(folder, names) != OsError::None) {
        return;
    }
    const std::uint32_t self = io.ProcessId();
    for (const auto& name : names) {
        const auto owner = TemporaryOwner(name, stem);
        if (owner && (*owner == self || !io.ProcessAlive(*owner))) {
            (void)io.Unlink(JoinPath(folder, name));
        }
    }
}

// Puts `content` over the start of the open file and cuts it there.
Status Overwrite(const FileIo& io, const std::string& target, std::string_view content,
                 const std::string& path) {
    OpenFile file(io);
    if (auto opened = OpenRegularFile(io, target, OpenMode::Overwrite, file, path); !opened) {
        return opened.failure();
    }
    if (const OsError error = io.Reserve(file.get(), content.size()); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (auto written = WriteAll(io, file.get(), content, path); !written) {
        return written;
    }
    if (const OsError error = io.Truncate(file.get(), content.size()); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (const OsError error = io.Sync(file.get()); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (const OsError error = file.Close(); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    return {};
}

// Creates a new file in `folder` named as a temporary file for `name` ("." + name + ".new" +
// process id + "-" + a number below 100), leaving its path in `temporary`.
OsError CreateTemporary(const FileIo& io, const std::string& folder, const std::string& name,
                        std::string& temporary, FileHandle& handle) {
    const std::string prefix =
        JoinPath(folder, "." + name + ".new") + std::to_string(io.ProcessId()) + "-";
    OsError opened = OsError::Exists;
    for (int attempt = 0; attempt < 100 && opened == OsError::Exists; ++attempt) {
        temporary = prefix + std::to_string(attempt);
        opened = io.Open(temporary, OpenMode::CreateNew, handle);
    }
    return opened;
}

// A new file in `folder` named as a temporary file for `name`, holding `content`, flushed.
Result<std::string> WriteTemporary(const FileIo& io, const std::string& folder,
                                   const std::string& name, std::string_view content) {
    FileHandle handle = NoFile;
    std::string temporary;
    if (const OsError opened = CreateTemporary(io, folder, name, temporary, handle);
        opened != OsError::None) {
        return FailureFromOs(opened, temporary);
    }
    OpenFile file(io, handle);
    Status done = WriteAll(io, file.get(), content, temporary);
    if (done) {
        if (const OsError error = io.Sync(file.get()); error != OsError::None) {
            done = FailureFromOs(error, temporary);
        }
    }
    if (const OsError error = file.Close(); done && error != OsError::None) {
        done = FailureFromOs(error, temporary);
    }
    if (!done) {
        (void)io.Unlink(temporary);
        return done.failure();
    }
    return temporary;
}

// The journal: one line a step, "R" (rename the first path over the second) or "W" (write the
// first file's contents into the second in place), each path as its length, a space and its
// bytes; then "end". A journal without its end was being written when its run died, before any
// step began.
constexpr std::string_view JournalHeader = "favorizer journal 1\r\n";
constexpr std::string_view JournalEnd = "end\r\n";

struct JournalStep {
    char kind;
    std::string from;
    std::string to;
};

std::string JournalText(const std::vector<JournalStep>& steps) {
    std::string text(JournalHeader);
    for (const auto& step : steps) {
        text += step.kind;
        for (const std::string* path : {&step.from, &step.to}) {
            text += ' ' + std::to_string(path->size()) + ' ' + *path;
        }
        text += "\r\n";
    }
    text += JournalEnd;
    return text;
}

std::optional<std::vector<JournalStep>> ParseJournal(std::string_view text) {
    if (!text.starts_with(JournalHeader) || !text.ends_with(JournalEnd)) {
        return std::nullopt;
    }
    text.remove_prefix(JournalHeader.size());
    text.remove_suffix(JournalEnd.size());
    const auto path = [&text](std::string& out) {
        if (text.size() < 2 || text[0] != ' ') {
            return false;
        }
        text.remove_prefix(1);
        std::size_t length = 0;
        std::size_t digits = 0;
        while (digits < text.size() && digits < 6 && text[digits] >= '0' && text[digits] <= '9') {
            length = length * 10 + static_cast<std::size_t>(text[digits++] - '0');
        }
        if (digits == 0 || digits >= text.size() || text[digits] != ' ' ||
            text.size() - digits - 1 < length) {
            return false;
        }
        out.assign(text.substr(digits + 1, length));
        text.remove_prefix(digits + 1 + length);
        return true;
    };
    std::vector<JournalStep> steps;
    while (!text.empty()) {
        JournalStep step{text[0], {}, {}};
        text.remove_prefix(1);
        if ((step.kind != 'R' && step.kind != 'W') || !path(step.from) || !path(step.to) ||
            !text.starts_with("\r\n")) {
            return std::nullopt;
        }
        text.remove_prefix(2);
        steps.push_back(std::move(step));
    }
    return steps;
}

Status WriteJournal(const FileIo& io, const std::string& folder,
                    const std::vector<JournalStep>& steps) {
    const std::string path = JoinPath(folder, std::string(JournalName));
    (void)io.Unlink(path);
    FileHandle handle = NoFile;
    if (const OsError error = io.Open(path, OpenMode::CreateNew, handle); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    OpenFile file(io, handle);
    if (auto written = WriteAll(io, file.get(), JournalText(steps), path); !written) {
        return written;
    }
    if (const OsError error = io.Sync(file.get()); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (const OsError error = file.Close(); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (const OsError error = io.SyncFolder(folder); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    return {};
}

void ClearJournal(const FileIo& io, const std::string& folder) {
    (void)io.Unlink(JoinPath(folder, std::string(JournalName)));
    (void)io.SyncFolder(folder);
}

bool Exists(const FileIo& io, const std::string& path) {
    FileInfo info;
    return io.PathInfo(path, Links::NotFollowed, info) == OsError::None;
}

} // namespace

Result<std::string> CheckReplaceable(const std::string& path, const FileIo& io,
                                     const LinkRoot& linkRoot) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    std::string target = path;
    FileInfo entry;
    if (io.PathInfo(path, Links::NotFollowed, entry) == OsError::None &&
        entry.type == FileType::Link) {
        // A dangling link is itself replaced: nothing is written where it points.
        std::string resolved;
        if (io.RealPath(path, resolved) == OsError::None) {
            if (!linkRoot.folder.empty()) {
                std::string root;
                std::string linkFolder;
                const bool inside = (io.RealPath(linkRoot.folder, root) == OsError::None &&
                                     IsWithin(resolved, root)) ||
                                    (io.RealPath(FolderOfPath(path), linkFolder) == OsError::None &&
                                     IsWithin(resolved, linkFolder));
                if (!inside) {
                    return MakeFailure(ErrorCode::PathFileAccessError,
                                       path + " links outside " + linkRoot.folder);
                }
            }
            target = std::move(resolved);
        }
    }

    FileInfo info;
    const OsError error = io.PathInfo(target, Links::Followed, info);
    if (error == OsError::FileNotFound) {
        return target;
    }
    if (error != OsError::None) {
        return FailureFromOs(error, path);
    }
    // A folder, a pipe or a device is never replaced by a file.
    if (info.type != FileType::Regular) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    // Renaming needs only the folder's permission; the file's own is what the user set.
    if (io.MayWrite(target) != OsError::None) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    return target;
}

PendingReplace::PendingReplace(const FileIo& io, std::string path, std::string target)
    : io_(&io), path_(std::move(path)), target_(std::move(target)) {}

PendingReplace::PendingReplace(PendingReplace&& other) noexcept
    : io_(other.io_), path_(std::move(other.path_)), target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)), inPlaceContent_(std::move(other.inPlaceContent_)),
      inPlace_(other.inPlace_), settled_(other.settled_) {
    other.settled_ = true;
}

PendingReplace::~PendingReplace() {
    if (!settled_ && !inPlace_) {
        (void)io_->Unlink(temporary_);
    }
}

Status PendingReplace::Commit() {
    if (settled_) {
        return MakeFailure(ErrorCode::PathFileAccessError, path_);
    }
    settled_ = true;
    if (inPlace_) {
        return WriteInPlace(target_, inPlaceContent_, *io_, path_);
    }
    if (const OsError error = io_->Rename(temporary_, target_); error != OsError::None) {
        (void)io_->Unlink(temporary_);
        return FailureFromOs(error, path_);
    }
    // Until the folder is flushed, a power cut may bring the old file back.
    if (const OsError error = io_->SyncFolder(FolderOfPath(target_)); error != OsError::None) {
        return FailureFromOs(error, path_);
    }
    return {};
}

Result<PendingReplace> PrepareReplace(const std::string& path, std::string_view content,
                                      const FileIo& io, const LinkRoot& linkRoot) {
    auto checked = CheckReplaceable(path, io, linkRoot);
    if (!checked) {
        return checked.failure();
    }
    PendingReplace pending(io, path, std::move(checked).value());
    FileInfo old;
    const bool existed = io.PathInfo(pending.target_, Links::Followed, old) == OsError::None;

    const std::string folder = FolderOfPath(pending.target_);
    const std::string name = NameOfPath(pending.target_);
    RemoveDeadTemporaries(io, folder, "." + name + ".new");

    FileHandle handle = NoFile;
    const OsError opened = CreateTemporary(io, folder, name, pending.temporary_, handle);
    if (opened == OsError::Denied && existed) {
        // The folder takes no new file, but the file itself may be written.
        pending.inPlace_ = true;
        pending.inPlaceContent_ = content;
        return pending;
    }
    if (opened != OsError::None) {
        pending.settled_ = true;
        return FailureFromOs(opened, path);
    }
    OpenFile file(io, handle);
    if (auto written = WriteAll(io, file.get(), content, path); !written) {
        return written.failure();
    }
    if (existed) {
        if (const OsError error = io.KeepAttributes(pending.target_, file.get());
            error != OsError::None) {
            return FailureFromOs(error, path);
        }
    }
    if (const OsError error = io.Sync(file.get()); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    if (const OsError error = file.Close(); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    return pending;
}

Status WriteInPlace(const std::string& target, std::string_view content, const FileIo& io,
                    const std::string& path) {
    auto old = ReadWholeFile(target, io);
    if (!old) {
        return old.failure();
    }
    Status written = Overwrite(io, target, content, path);
    if (!written) {
        // A full disk or a failing device: the old contents fit where they were.
        (void)Overwrite(io, target, old.value(), path);
    }
    return written;
}

Status CommitTogether(std::span<PendingReplace* const> pending, const Journal& journal) {
    if (pending.empty()) {
        return {};
    }
    const FileIo& io = *pending.front()->io_;
    const bool anyInPlace = std::any_of(pending.begin(), pending.end(),
                                        [](const PendingReplace* one) { return one->inPlace_; });
    std::vector<std::string> kept;
    bool journaled = false;
    if (!journal.folder.empty() && (pending.size() > 1 || anyInPlace)) {
        std::vector<JournalStep> steps;
        Status recorded;
        for (PendingReplace* one : pending) {
            if (!one->inPlace_) {
                steps.push_back({'R', one->temporary_, one->target_});
                continue;
            }
            // The new contents wait in the program's folder until the file holds them.
            auto copy =
                WriteTemporary(io, journal.folder, NameOfPath(one->target_), one->inPlaceContent_);
            if (!copy) {
                recorded = copy.failure();
                break;
            }
            kept.push_back(copy.value());
            steps.push_back({'W', std::move(copy).value(), one->target_});
        }
        if (recorded) {
            recorded = WriteJournal(io, journal.folder, steps);
        }
        journaled = static_cast<bool>(recorded);
        if (!journaled) {
            for (const auto& copy : kept) {
                (void)io.Unlink(copy);
            }
            kept.clear();
            ClearJournal(io, journal.folder);
            // A program folder that takes no new file cannot keep a journal: the writes go on
            // as they would without one. Anything else is a failure, before anything changed.
            if (recorded.failure().code != ErrorCode::PermissionDenied) {
                return recorded;
            }
        }
    }
    Status done;
    for (PendingReplace* one : pending) {
        if (done = one->Commit(); !done) {
            break;
        }
    }
    if (journaled) {
        ClearJournal(io, journal.folder);
        for (const auto& copy : kept) {
            (void)io.Unlink(copy);
        }
    }
    return done;
}

Status FinishInterruptedWrites(const std::string& folder, const FileIo& io) {
    const std::string path = JoinPath(folder, std::string(JournalName));
    if (!Exists(io, path)) {
        return {};
    }
    auto text = ReadWholeFile(path, io);
    if (!text) {
        return text.failure();
    }
    const auto steps = ParseJournal(text.value());
    for (const JournalStep& step : steps.value_or(std::vector<JournalStep>{})) {
        if (!Exists(io, step.from)) {
            continue; // done before the run died
        }
        if (step.kind == 'R') {
            const OsError error = io.Rename(step.from, step.to);
            if (error == OsError::PathNotFound) {
                // The file's folder went away since: there is nothing left to finish.
                (void)io.Unlink(step.from);
                continue;
            }
            if (error != OsError::None) {
                return FailureFromOs(error, step.to);
            }
            (void)io.SyncFolder(FolderOfPath(step.to));
            continue;
        }
        auto content = ReadWholeFile(step.from, io);
        if (!content) {
            return content.failure();
        }
        if (Exists(io, step.to)) {
            if (auto written = WriteInPlace(step.to, content.value(), io, step.to); !written) {
                return written;
            }
        }
        (void)io.Unlink(step.from);
    }
    ClearJournal(io, folder);
    return {};
}

void RemoveDeadTemporaryFiles(const std::string& folder, const FileIo& io) {
    std::vector<std::string> names;
    if (io.ListFolder(folder, names) != OsError::None) {
        return;
    }
    for (const auto& name : names) {
        const auto marker = name.rfind(".new");
        if (name.size() < 2 || name[0] != '.' || marker == std::string::npos || marker < 2) {
            continue;
        }
        const std::string stem = name.substr(0, marker + 4);
        RemoveDeadTemporaries(io, folder, stem);
    }
}

Status ReplaceFile(const std::string& path, std::string_view content, const FileIo& io,
                   const LinkRoot& linkRoot, const Journal& journal) {
    auto pending = PrepareReplace(path, content, io, linkRoot);
    if (!pending) {
        return pending.failure();
    }
    PendingReplace* const one[] = {&pending.value()};
    return CommitTogether(one, journal);
}

Status ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines,
                        const FileIo& io, const LinkRoot& linkRoot, const Journal& journal) {
    return ReplaceFile(path, JoinLines(lines), io, linkRoot, journal);
}

Status AppendToFile(const std::string& path, std::string_view content, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    // Only a file is appended to: a folder, a pipe or a device is refused.
    FileInfo info;
    if (io.PathInfo(path, Links::Followed, info) == OsError::None &&
        info.type != FileType::Regular) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    FileHandle handle = NoFile;
    if (const OsError error = io.Open(path, OpenMode::Append, handle); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    OpenFile file(io, handle);
    if (io.Info(file.get(), info) == OsError::None && info.type != FileType::Regular) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    if (auto written = WriteAll(io, file.get(), content, path); !written) {
        return written;
    }
    if (const OsError error = file.Close(); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    return {};
}

Status DeleteFileIfPresent(const std::string& path, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    if (IsFolder(path, io)) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    const OsError error = io.Unlink(path);
    if (error == OsError::None || error == OsError::FileNotFound) {
        return {};
    }
    // A file under a missing folder is gone too; one under a file is a broken path.
    FileInfo folder;
    if (error == OsError::PathNotFound &&
        io.PathInfo(FolderOfPath(path), Links::Followed, folder) != OsError::None) {
        return {};
    }
    return FailureFromOs(error, path);
}

bool IsOrdinaryFile(const std::string& path, const FileIo& io) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    if (NameOfPath(path).empty()) {
        return false;
    }
    FileInfo info;
    return io.PathInfo(path, Links::Followed, info) == OsError::None &&
           info.type == FileType::Regular && !info.hidden;
}

bool IsFolder(const std::string& path, const FileIo& io) {
    FileInfo info;
    return !path.empty() && io.PathInfo(path, Links::Followed, info) == OsError::None &&
           info.type == FileType::Folder;
}

std::vector<std::string> SubfolderNames(const std::string& folder, const FileIo& io) {
    std::vector<std::string> names;
    if (io.ListFolder(folder, names) != OsError::None) {
        return {};
    }
    std::erase_if(names, [&](const std::string& name) {
        FileInfo info;
        return io.PathInfo(JoinPath(folder, name), Links::Followed, info) != OsError::None ||
               info.type != FileType::Folder || (info.hidden && !FolderTreeShowsHidden);
    });
    return names;
}

Result<bool> FolderHasOrdinaryFile(const std::string& folder, const FileIo& io) {
    if (auto bad = CheckPathName(folder)) {
        return *bad;
    }
    std::vector<std::string> names;
    if (const OsError error = io.ListFolder(folder, names); error != OsError::None) {
        if (error == OsError::FileNotFound || error == OsError::PathNotFound) {
            return false;
        }
        return FailureFromOs(error, folder);
    }
    for (const auto& name : names) {
        if (IsOrdinaryFile(JoinPath(folder, name), io)) {
            return true;
        }
    }
    return false;
}

} // namespace fav
