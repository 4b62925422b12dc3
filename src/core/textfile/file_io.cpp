#include "core/textfile/file_io.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace fav {

int FileIo::Open(const std::string& path, int flags, mode_t mode) const {
    return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

ssize_t FileIo::Write(int fd, const char* data, size_t size) const {
    return ::write(fd, data, size);
}

int FileIo::Sync(int fd) const {
    return ::fsync(fd);
}

int FileIo::Close(int fd) const {
    return ::close(fd);
}

int FileIo::Rename(const std::string& from, const std::string& to) const {
    return std::rename(from.c_str(), to.c_str());
}

int FileIo::Unlink(const std::string& path) const {
    return ::unlink(path.c_str());
}

const FileIo& SystemFileIo() {
    static const FileIo system;
    return system;
}

} // namespace fav
