#include "core/os/errno_posix.h"
#include "core/os/file_io.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fav {

namespace {

int Descriptor(FileHandle file) {
    return static_cast<int>(file);
}

FileType TypeOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileType::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileType::Folder;
    }
    if (S_ISLNK(mode)) {
        return FileType::Link;
    }
    return FileType::Other;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

OsError LastError(const std::string& path = {}) {
    return OsErrorFromErrno(errno, path);
}

} // namespace

OsError OsErrorFromErrno(int error, const std::string& path) {
    switch (error) {
    case 0:
        return OsError::None;
    case ENOENT:
        return IsFolder(FolderOfPath(path)) ? OsError::FileNotFound : OsError::PathNotFound;
    case ENOTDIR:
        return OsError::PathNotFound;
    case EEXIST:
        return OsError::Exists;
    case ENAMETOOLONG:
    case EINVAL:
        return OsError::BadName;
    case EIO:
        return OsError::Io;
    case ENOSPC:
    case EDQUOT:
        return OsError::Full;
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return OsError::Unavailable;
    case EACCES:
    case EPERM:
    case EROFS:
        return OsError::Denied;
    case ELOOP:
        return OsError::Link;
    case EISDIR:
        return OsError::NotFile;
    default:
        return OsError::Other;
    }
}

OsError FileIo::Open(const std::string& path, OpenMode mode, FileHandle& file) const {
    // Non-blocking opens: a pipe in place of a file must never stop the program. The flag does
    // nothing to regular files.
    int flags = O_CLOEXEC | O_NONBLOCK;
    switch (mode) {
    case OpenMode::Read:
        flags |= O_RDONLY;
        break;
    case OpenMode::CreateNew:
        flags |= O_WRONLY | O_CREAT | O_EXCL;
        break;
    case OpenMode::Overwrite:
        flags |= O_WRONLY | O_NOFOLLOW;
        break;
    case OpenMode::Append:
        flags |= O_WRONLY | O_APPEND | O_CREAT;
        break;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        file = NoFile;
        return LastError(path);
    }
    file = fd;
    return OsError::None;
}

OsError FileIo::Read(FileHandle file, char* data, std::size_t size, std::size_t& got) const {
    got = 0;
    ssize_t count;
    do {
        count = ::read(Descriptor(file), data, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        return LastError();
    }
    got = static_cast<std::size_t>(count);
    return OsError::None;
}

OsError FileIo::Write(FileHandle file, const char* data, std::size_t size,
                      std::size_t& written) const {
    written = 0;
    ssize_t count;
    do {
        count = ::write(Descriptor(file), data, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        return LastError();
    }
    written = static_cast<std::size_t>(count);
    return OsError::None;
}

OsError FileIo::Sync(FileHandle file) const {
    int result;
    do {
        result = ::fsync(Descriptor(file));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? OsError::None : LastError();
}

OsError FileIo::Close(FileHandle file) const {
    // On Linux the descriptor is gone even when close is interrupted.
    if (::close(Descriptor(file)) != 0 && errno != EINTR) {
        return LastError();
    }
    return OsError::None;
}

OsError FileIo::Info(FileHandle file, FileInfo& info) const {
    struct stat status {};
    if (::fstat(Descriptor(file), &status) != 0) {
        info = {};
        return LastError();
    }
    info.type = TypeOf(status.st_mode);
    info.size = static_cast<std::uint64_t>(status.st_size);
    return OsError::None;
}

OsError FileIo::KeepAttributes(const std::string& original, FileHandle file) const {
    struct stat old {};
    if (::stat(original.c_str(), &old) != 0) {
        return LastError(original);
    }
    const int fd = Descriptor(file);
    // Only root may give a file away; a member of the file's group may still give it the group.
    // The owner goes before the mode, since a change of owner clears set-id bits.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // The copy keeps the user's group: nothing better is allowed.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        return LastError();
    }
    return OsError::None;
}

OsError FileIo::PathInfo(const std::string& path, Links links, FileInfo& info) const {
    struct stat status {};
    const int result =
        links == Links::Followed ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
    if (result != 0) {
        info = {};
        return LastError(path);
    }
    info.type = TypeOf(status.st_mode);
    info.size = static_cast<std::uint64_t>(status.st_size);
    const std::string name = NameOfPath(path);
    info.hidden = !name.empty() && name.front() == '.';
    return OsError::None;
}

OsError FileIo::MayWrite(const std::string& path) const {
    // The effective ids decide, as they do for open.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return LastError(path);
    }
    return OsError::None;
}

OsError FileIo::RealPath(const std::string& path, std::string& resolved) const {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real) {
        return LastError(path);
    }
    resolved = real.get();
    return OsError::None;
}

OsError FileIo::Rename(const std::string& from, const std::string& to) const {
    return ::rename(from.c_str(), to.c_str()) == 0 ? OsError::None : LastError(to);
}

OsError FileIo::Unlink(const std::string& path) const {
    return ::unlink(path.c_str()) == 0 ? OsError::None : LastError(path);
}

OsError FileIo::Reserve(FileHandle file, std::uint64_t size) const {
    if (size == 0) {
        return OsError::None;
    }
#if defined(__linux__)
    int result;
    do {
        result = ::fallocate(Descriptor(file), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno != EOPNOTSUPP && errno != ENOSYS) {
        return LastError();
    }
#else
    (void)file;
#endif
    return OsError::None;
}

OsError FileIo::Truncate(FileHandle file, std::uint64_t size) const {
    int result;
    do {
        result = ::ftruncate(Descriptor(file), static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? OsError::None : LastError();
}

OsError FileIo::LockFolder(const std::string& folder, FileHandle& lock) const {
    lock = NoFile;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return LastError(folder);
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? OsError::Busy : OsErrorFromErrno(error, folder);
    }
    lock = fd;
    return OsError::None;
}

void FileIo::UnlockFolder(FileHandle lock) const {
    if (lock != NoFile) {
        ::close(Descriptor(lock));
    }
}

OsError FileIo::SyncFolder(const std::string& folder) const {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return LastError(folder);
    }
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // Some file systems cannot flush a folder and say so; nothing more can be done there.
    const int error = result == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno;
    ::close(fd);
    return OsErrorFromErrno(error, folder);
}

OsError FileIo::ListFolder(const std::string& folder, std::vector<std::string>& names) const {
    names.clear();
    struct DirCloser {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return LastError(folder);
    }
    for (;;) {
        // readdir reports a failed listing only through errno.
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return errno == 0 ? OsError::None : LastError(folder);
}

OsError FileIo::MakeFolder(const std::string& folder) const {
    return ::mkdir(folder.c_str(), 0777) == 0 ? OsError::None : LastError(folder);
}

std::uint32_t FileIo::ProcessId() const {
    return static_cast<std::uint32_t>(::getpid());
}

bool FileIo::ProcessAlive(std::uint32_t id) const {
    if (id == 0 || id > static_cast<std::uint32_t>(INT32_MAX)) {
        return false;
    }
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

const FileIo& SystemFileIo() {
    static const FileIo system;
    return system;
}

} // namespace fav
