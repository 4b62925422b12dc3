#pragma once

#include <string>
#include <sys/types.h>

namespace fav {

// The system calls through which files are written. Each returns what the system call returns
// and leaves errno set on failure. Tests derive from it to make one step fail.
class FileIo {
public:
    virtual ~FileIo() = default;
    virtual int Open(const std::string& path, int flags, mode_t mode) const;
    virtual ssize_t Write(int fd, const char* data, size_t size) const;
    virtual int Sync(int fd) const;
    virtual int Close(int fd) const;
    virtual int Rename(const std::string& from, const std::string& to) const;
    virtual int Unlink(const std::string& path) const;
};

// The real system calls.
const FileIo& SystemFileIo();

} // namespace fav
