#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The one place where the core meets the operating system. Everything the core does with files,
// folders and processes goes through FileIo; its methods are implemented once per system
// (file_io_posix.cpp, file_io_windows.cpp), chosen when the program is built. Paths are UTF-8.

namespace fav {

// An open file: a descriptor on POSIX, a handle on Windows.
using FileHandle = std::intptr_t;
inline constexpr FileHandle NoFile = -1;

#ifdef _WIN32
inline constexpr std::string_view PathSeparators = "\\/";
#else
inline constexpr std::string_view PathSeparators = "/";
#endif

// The longest name one folder entry may have, in bytes (the smallest limit of the file systems a
// cabinet uses).
inline constexpr std::size_t MaxFileNameLength = 255;

// What stopped a call, sorted as finely as the program's error codes and its own decisions need.
enum class OsError : std::uint8_t {
    None,
    FileNotFound, // the name is missing from a folder that exists
    PathNotFound, // a folder on the way is missing, or is not a folder
    Exists,       // the name is taken (creating a new file)
    BadName,      // a name the system cannot take: too long, or invalid
    Io,           // the device failed
    Full,         // no space, or over quota
    Unavailable,  // the device is not there or not ready
    Denied,       // permissions, or a read-only file system
    Link,         // a symbolic link where none may be followed
    NotFile,      // a folder or a special file where a file is expected
    Busy,         // another process holds the lock
    Other,
};

enum class FileType : std::uint8_t { Missing, Regular, Folder, Link, Other };

struct FileInfo {
    FileType type = FileType::Missing;
    std::uint64_t size = 0;
    // Kept out of the user's sight: on Windows the hidden or system attribute, on POSIX a name
    // that starts with ".".
    bool hidden = false;
};

enum class OpenMode : std::uint8_t {
    // An existing file, for reading. Never waits: a pipe opens at once (and is then refused by
    // its type).
    Read,
    // A new file for writing, made readable and writable by everyone the user's defaults allow.
    // Any entry of that name, even a dangling link, makes it fail with Exists.
    CreateNew,
    // An existing file for writing from its start; what it held stays until written over (see
    // Truncate). A link is not followed (Link).
    Overwrite,
    // For writing at the end, created when missing. Never waits on a pipe.
    Append,
};

enum class Links : std::uint8_t { Followed, NotFollowed };

// Every method returns OsError::None on success. Tests derive from this class to make one step
// fail, calling the base class for the steps that should really happen.
class FileIo {
public:
    virtual ~FileIo() = default;

    virtual OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const;
    // Reads up to `size` bytes; `got` is 0 at the end of the file.
    virtual OsError Read(FileHandle file, char* data, std::size_t size, std::size_t& got) const;
    // Writes up to `size` bytes; `written` may be less.
    virtual OsError Write(FileHandle file, const char* data, std::size_t size,
                          std::size_t& written) const;
    // Flushes the file's contents to the device.
    virtual OsError Sync(FileHandle file) const;
    virtual OsError Close(FileHandle file) const;
    virtual OsError Info(FileHandle file, FileInfo& info) const;
    // Makes sure the device holds room for `size` bytes of the file without changing its length
    // or contents; None where the file system cannot tell in advance.
    virtual OsError Reserve(FileHandle file, std::uint64_t size) const;
    // Cuts the file, or lengthens it with zeros, to `size` bytes.
    virtual OsError Truncate(FileHandle file, std::uint64_t size) const;
    // Gives `file` the attributes of the file at `original`: its owner where the user may, else
    // its group where the user may, and always its permissions.
    virtual OsError KeepAttributes(const std::string& original, FileHandle file) const;

    // The type of what the path names. A missing path is FileType::Missing with the error that
    // says why (FileNotFound or PathNotFound).
    virtual OsError PathInfo(const std::string& path, Links links, FileInfo& info) const;
    // None when the user may open the existing file for writing (as root, whatever root may).
    virtual OsError MayWrite(const std::string& path) const;
    // The absolute path with every link and "." or ".." resolved; fails for a dangling link.
    virtual OsError RealPath(const std::string& path, std::string& resolved) const;
    // Renames `from` to `to` in one step, replacing whatever `to` held.
    virtual OsError Rename(const std::string& from, const std::string& to) const;
    virtual OsError Unlink(const std::string& path) const;
    // Flushes the folder's entries, so a rename in it survives a power cut.
    virtual OsError SyncFolder(const std::string& folder) const;
    // The names in the folder, without "." and "..", in no particular order.
    virtual OsError ListFolder(const std::string& folder, std::vector<std::string>& names) const;
    // Creates the folder, its parent being there already; Exists when anything has that name.
    virtual OsError MakeFolder(const std::string& folder) const;

    // Takes, without waiting, a lock on the folder that every process on the machine respects and
    // that is freed when its holder ends, however it ends; Busy while another holds it. Nothing
    // is written into the folder. Freed with UnlockFolder.
    virtual OsError LockFolder(const std::string& folder, FileHandle& lock) const;
    virtual void UnlockFolder(FileHandle lock) const;

    virtual std::uint32_t ProcessId() const;
    // False only when no process of that id runs.
    virtual bool ProcessAlive(std::uint32_t id) const;
};

// The real system.
const FileIo& SystemFileIo();

// The folder part of a path ("." when it has none) and its last name.
std::string FolderOfPath(const std::string& path);
std::string NameOfPath(const std::string& path);

} // namespace fav
