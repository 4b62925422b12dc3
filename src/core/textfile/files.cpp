#include "core/textfile/files.h"

#include "core/errors/os_error.h"
#include "core/textfile/lines.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace fav {

namespace {

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The file a write to `path` should replace: the target of a symbolic link, else the path.
std::string ReplacementTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
        if (resolved) {
            return resolved.get();
        }
    }
    return path;
}

Status WriteAll(const FileIo& io, int fd, std::string_view content, const std::string& path) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = io.Write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailureFromErrno(errno, path);
        }
        if (written == 0) {
            return MakeFailure(ErrorCode::DiskFull, path);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
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

Result<std::string> ReadWholeFile(const std::string& path) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return FailureFromErrno(errno, path);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return FailureFromErrno(errno, path);
    }
    if (S_ISDIR(info.st_mode)) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    if (static_cast<std::size_t>(info.st_size) > MaxFileSize) {
        return MakeFailure(ErrorCode::OutOfMemory, path);
    }
    // One byte more than the file holds, so that the end is seen without growing the buffer.
    std::string content;
    content.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            // The file grew while it was read.
            if (content.size() > MaxFileSize) {
                return MakeFailure(ErrorCode::OutOfMemory, path);
            }
            content.resize(content.size() + 65536);
        }
        const ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailureFromErrno(errno, path);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return content;
}

Result<std::vector<std::string>> ReadLines(const std::string& path) {
    auto content = ReadWholeFile(path);
    if (!content) {
        return content.failure();
    }
    return SplitLines(content.value());
}

Status ReplaceFile(const std::string& path, std::string_view content, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    const std::string target = ReplacementTarget(path);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode)) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }

    const std::string folder = FolderOf(target);
    const std::string stem = folder + "/." + NameOf(target) + ".new";
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = stem + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = io.Open(temporary, O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return FailureFromErrno(errno, path);
    }

    auto abandon = [&](const Failure& failure) -> Status {
        io.Unlink(temporary);
        return failure;
    };
    if (auto written = WriteAll(io, fd, content, path); !written) {
        io.Close(fd);
        return abandon(written.failure());
    }
    if (existed) {
        // Best effort: only root may give the file back to another owner, and a file owned by
        // someone else may refuse the change of mode. The owner goes first, as it clears set-id
        // bits.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // The new file keeps our ownership.
        }
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    if (io.Sync(fd) != 0) {
        const int error = errno;
        io.Close(fd);
        return abandon(FailureFromErrno(error, path));
    }
    if (io.Close(fd) != 0) {
        return abandon(FailureFromErrno(errno, path));
    }
    if (io.Rename(temporary, target) != 0) {
        return abandon(FailureFromErrno(errno, path));
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
    if (IsFolder(path)) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    const int fd = io.Open(path, O_WRONLY | O_APPEND | O_CREAT, 0666);
    if (fd < 0) {
        return FailureFromErrno(errno, path);
    }
    auto written = WriteAll(io, fd, content, path);
    if (!written) {
        io.Close(fd);
        return written;
    }
    if (io.Close(fd) != 0) {
        return FailureFromErrno(errno, path);
    }
    return {};
}

Status DeleteFileIfPresent(const std::string& path, const FileIo& io) {
    if (auto bad = CheckPathName(path)) {
        return *bad;
    }
    if (IsFolder(path)) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    if (io.Unlink(path) != 0 && errno != ENOENT) {
        return FailureFromErrno(errno, path);
    }
    return {};
}

bool IsOrdinaryFile(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    const std::string name = NameOf(path);
    if (name.empty() || name.front() == '.') {
        return false;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Result<bool> FolderHasOrdinaryFile(const std::string& folder) {
    if (auto bad = CheckPathName(folder)) {
        return *bad;
    }
    struct DirCloser {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return false;
        }
        return FailureFromErrno(errno, folder);
    }
    const std::string prefix = folder + "/";
    for (;;) {
        // readdir reports a failed listing only through errno, which the stat below may set.
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        if (entry->d_name[0] == '.') {
            continue;
        }
        if (IsOrdinaryFile(prefix + entry->d_name)) {
            return true;
        }
    }
    if (errno != 0) {
        return FailureFromErrno(errno, folder);
    }
    return false;
}

} // namespace fav
