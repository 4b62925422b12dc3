#include "core/textfile/files.h"

#include "core/errors/os_error.h"
#include "core/textfile/lines.h"

#include <optional>

namespace fav {

namespace {

// Closes the file when it goes out of scope, unless it was closed on purpose.
class OpenFile {
public:
    OpenFile(const FileIo& io, FileHandle file) : io_(io), file_(file) {}
    ~OpenFile() {
        if (file_ != NoFile) {
            (void)io_.Close(file_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    FileHandle get() const { return file_; }
    OsError Close() {
        const FileHandle file = file_;
        file_ = NoFile;
        return io_.Close(file);
    }

private:
    const FileIo& io_;
    FileHandle file_;
};

// The file a write to `path` should replace: the target of a symbolic link, else the path.
std::string ReplacementTarget(const FileIo& io, const std::string& path) {
    FileInfo info;
    if (io.PathInfo(path, Links::NotFollowed, info) == OsError::None &&
        info.type == FileType::Link) {
        std::string resolved;
        if (io.RealPath(path, resolved) == OsError::None) {
            return resolved;
        }
    }
    return path;
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

Result<std::string> ReadWholeFile(const std::string& path, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    FileHandle handle = NoFile;
    if (const OsError error = io.Open(path, OpenMode::Read, handle); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    OpenFile file(io, handle);

    FileInfo info;
    if (const OsError error = io.Info(file.get(), info); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    // A folder, a pipe or a device is no text file; a pipe would never end.
    if (info.type != FileType::Regular) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    if (info.size > MaxFileSize) {
        return MakeFailure(ErrorCode::OutOfMemory, path);
    }
    // One byte more than the file holds, so that the end is seen without growing the buffer.
    std::string content;
    content.resize(static_cast<std::size_t>(info.size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            // The file grew while it was read.
            if (content.size() > MaxFileSize) {
                return MakeFailure(ErrorCode::OutOfMemory, path);
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

Status ReplaceFile(const std::string& path, std::string_view content, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    const std::string target = ReplacementTarget(io, path);
    FileInfo old;
    const bool existed = io.PathInfo(target, Links::Followed, old) == OsError::None;
    if (existed && old.type == FileType::Folder) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }

    const std::string stem = FolderOfPath(target) + "/." + NameOfPath(target) + ".new";
    std::string temporary;
    FileHandle handle = NoFile;
    OsError opened = OsError::Exists;
    for (int attempt = 0; attempt < 100 && opened == OsError::Exists; ++attempt) {
        temporary = stem + std::to_string(io.ProcessId()) + "-" + std::to_string(attempt);
        opened = io.Open(temporary, OpenMode::CreateNew, handle);
    }
    if (opened != OsError::None) {
        return FailureFromOs(opened, path);
    }
    OpenFile file(io, handle);

    auto abandon = [&](const Failure& failure) -> Status {
        if (file.get() != NoFile) {
            (void)file.Close();
        }
        (void)io.Unlink(temporary);
        return failure;
    };
    if (auto written = WriteAll(io, file.get(), content, path); !written) {
        return abandon(written.failure());
    }
    if (existed) {
        if (const OsError error = io.KeepAttributes(target, file.get()); error != OsError::None) {
            return abandon(FailureFromOs(error, path));
        }
    }
    if (const OsError error = io.Sync(file.get()); error != OsError::None) {
        return abandon(FailureFromOs(error, path));
    }
    if (const OsError error = file.Close(); error != OsError::None) {
        return abandon(FailureFromOs(error, path));
    }
    if (const OsError error = io.Rename(temporary, target); error != OsError::None) {
        return abandon(FailureFromOs(error, path));
    }
    return {};
}

Status ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines,
                        const FileIo& io) {
    return ReplaceFile(path, JoinLines(lines), io);
}

Status AppendToFile(const std::string& path, std::string_view content, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    if (IsFolder(path, io)) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    FileHandle handle = NoFile;
    if (const OsError error = io.Open(path, OpenMode::Append, handle); error != OsError::None) {
        return FailureFromOs(error, path);
    }
    OpenFile file(io, handle);
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
    const std::string name = NameOfPath(path);
    if (name.empty() || name.front() == '.') {
        return false;
    }
    FileInfo info;
    return io.PathInfo(path, Links::Followed, info) == OsError::None &&
           info.type == FileType::Regular;
}

bool IsFolder(const std::string& path, const FileIo& io) {
    FileInfo info;
    return !path.empty() && io.PathInfo(path, Links::Followed, info) == OsError::None &&
           info.type == FileType::Folder;
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
    const std::string prefix = folder + "/";
    for (const auto& name : names) {
        if (name.front() != '.' && IsOrdinaryFile(prefix + name, io)) {
            return true;
        }
    }
    return false;
}

} // namespace fav
