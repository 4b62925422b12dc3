#include "core/os/file_io.h"
#include "core/os/last_error_windows.h"
#include "core/os/native_path.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <windows.h>

// The Windows side of FileIo. Paths arrive as UTF-8 and cross into the system as UTF-16; bytes
// that are not UTF-8 are taken in the system's code page, as the launcher's own files are.

// Older MinGW headers lack these two.
#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif
#ifndef ERROR_STOPPED_ON_SYMLINK
#define ERROR_STOPPED_ON_SYMLINK 681L
#endif

namespace fav {

std::wstring WidePath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const int size = static_cast<int>(path.size());
    UINT codePage = CP_UTF8;
    int length =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = ::MultiByteToWideChar(codePage, 0, path.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, path.data(),
                          size, wide.data(), length);
    return wide;
}

namespace {

std::string Narrow(const wchar_t* text, std::size_t size) {
    if (size == 0) {
        return {};
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0,
                                             nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

bool HasOverlongName(std::wstring_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find_first_of(L"\\/", start), path.size());
        if (end - start > MaxFileNameLength) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

HANDLE Handle(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileHandle FromHandle(HANDLE handle) {
    return reinterpret_cast<FileHandle>(handle);
}

bool IsFolderPath(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

OsError LastError(const std::string& path = {}) {
    return OsErrorFromWindows(::GetLastError(), path);
}

// Attributes the copy takes over from the file it replaces. Read-only is left out: a read-only
// file is refused before it is replaced.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

OsError OsErrorFromWindows(unsigned long error, const std::string& path) {
    switch (error) {
    case ERROR_SUCCESS:
        return OsError::None;
    case ERROR_FILE_NOT_FOUND:
        return path.empty() || IsFolderPath(FolderOfPath(path)) ? OsError::FileNotFound
                                                                : OsError::PathNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return OsError::PathNotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return OsError::Exists;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER:
        return OsError::BadName;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return OsError::Io;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
    case ERROR_DISK_QUOTA_EXCEEDED:
        return OsError::Full;
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_UNIT:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNRECOGNIZED_VOLUME:
    case ERROR_NO_MEDIA_IN_DRIVE:
        return OsError::Unavailable;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_PRIVILEGE_NOT_HELD:
        return OsError::Denied;
    case ERROR_CANT_RESOLVE_FILENAME:
    case ERROR_STOPPED_ON_SYMLINK:
        return OsError::Link;
    default:
        return OsError::Other;
    }
}

OsError FileIo::Open(const std::string& path, OpenMode mode, FileHandle& file) const {
    file = NoFile;
    const std::wstring name = WidePath(path);
    DWORD access = GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case OpenMode::Read:
        access = GENERIC_READ;
        break;
    case OpenMode::CreateNew:
        disposition = CREATE_NEW;
        break;
    case OpenMode::Overwrite: {
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return OsError::Link;
        }
        break;
    }
    case OpenMode::Append:
        // Append-only access: every write lands at the end, whoever else writes the file.
        access = FILE_APPEND_DATA | SYNCHRONIZE;
        disposition = OPEN_ALWAYS;
        break;
    }
    const HANDLE handle = ::CreateFileW(name.c_str(), access, ShareAll, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // Windows refuses to open a folder as a file with "access denied"; say what it is.
        if (error == ERROR_ACCESS_DENIED && IsFolderPath(path)) {
            return OsError::NotFile;
        }
        return OsErrorFromWindows(error, path);
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK && mode != OpenMode::Read) {
        ::CloseHandle(handle);
        return OsError::NotFile;
    }
    file = FromHandle(handle);
    return OsError::None;
}

OsError FileIo::Read(FileHandle file, char* data, std::size_t size, std::size_t& got) const {
    got = 0;
    DWORD count = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(Handle(file), data, chunk, &count, nullptr)) {
        if (::GetLastError() == ERROR_BROKEN_PIPE) {
            return OsError::None;
        }
        return LastError();
    }
    got = count;
    return OsError::None;
}

OsError FileIo::Write(FileHandle file, const char* data, std::size_t size,
                      std::size_t& written) const {
    written = 0;
    DWORD count = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::WriteFile(Handle(file), data, chunk, &count, nullptr)) {
        return LastError();
    }
    written = count;
    return OsError::None;
}

OsError FileIo::Sync(FileHandle file) const {
    return ::FlushFileBuffers(Handle(file)) ? OsError::None : LastError();
}

OsError FileIo::Close(FileHandle file) const {
    return ::CloseHandle(Handle(file)) ? OsError::None : LastError();
}

OsError FileIo::Info(FileHandle file, FileInfo& info) const {
    info = {};
    if (::GetFileType(Handle(file)) != FILE_TYPE_DISK) {
        info.type = FileType::Other;
        return OsError::None;
    }
    BY_HANDLE_FILE_INFORMATION status{};
    if (!::GetFileInformationByHandle(Handle(file), &status)) {
        return LastError();
    }
    info.type = (status.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileType::Folder
                                                                          : FileType::Regular;
    info.size = (std::uint64_t{status.nFileSizeHigh} << 32) | status.nFileSizeLow;
    info.hidden = (status.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    return OsError::None;
}

OsError FileIo::KeepAttributes(const std::string& original, FileHandle file) const {
    const DWORD attributes = ::GetFileAttributesW(WidePath(original).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastError(original);
    }
    FILE_BASIC_INFO basic{};
    // Zero times leave the times alone; FILE_ATTRIBUTE_NORMAL stands for "no attributes".
    basic.FileAttributes =
        (attributes & KeptAttributes) != 0 ? (attributes & KeptAttributes) : FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(Handle(file), FileBasicInfo, &basic, sizeof basic)) {
        return LastError();
    }
    return OsError::None;
}

OsError FileIo::PathInfo(const std::string& path, Links links, FileInfo& info) const {
    info = {};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return LastError(path);
    }
    const DWORD attributes = data.dwFileAttributes;
    info.hidden = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && links == Links::NotFollowed) {
        info.type = FileType::Link;
        return OsError::None;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // What the link leads to decides.
        const HANDLE handle = ::CreateFileW(WidePath(path).c_str(), 0, ShareAll, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return LastError(path);
        }
        const OsError error = Info(FromHandle(handle), info);
        ::CloseHandle(handle);
        return error;
    }
    info.type = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileType::Folder : FileType::Regular;
    info.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return OsError::None;
}

OsError FileIo::MayWrite(const std::string& path) const {
    const std::wstring name = WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastError(path);
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return OsError::Denied;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return OsError::NotFile;
    }
    // The file's access list decides: ask for write access without changing anything.
    const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_WRITE, ShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastError(path);
    }
    ::CloseHandle(handle);
    return OsError::None;
}

OsError FileIo::RealPath(const std::string& path, std::string& resolved) const {
    const HANDLE handle = ::CreateFileW(WidePath(path).c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastError(path);
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD length =
        ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length);
        length =
            ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()), 0);
    }
    const DWORD error = length == 0 ? ::GetLastError() : ERROR_SUCCESS;
    ::CloseHandle(handle);
    if (error != ERROR_SUCCESS) {
        return OsErrorFromWindows(error, path);
    }
    final.resize(length);
    // "\\?\C:\x" is "C:\x"; "\\?\UNC\server\share" is "\\server\share".
    if (final.starts_with(L"\\\\?\\UNC\\")) {
        final = L"\\" + final.substr(7);
    } else if (final.starts_with(L"\\\\?\\")) {
        final = final.substr(4);
    }
    resolved = Narrow(final.data(), final.size());
    return OsError::None;
}

OsError FileIo::Rename(const std::string& from, const std::string& to) const {
    // Write-through: the call returns once the new name is on the disk.
    if (!::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return LastError(to);
    }
    return OsError::None;
}

OsError FileIo::Unlink(const std::string& path) const {
    return ::DeleteFileW(WidePath(path).c_str()) ? OsError::None : LastError(path);
}

OsError FileIo::Reserve(FileHandle file, std::uint64_t size) const {
    // Allocating space leaves the file's length, and so its contents, as they are.
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(Handle(file), FileAllocationInfo, &allocation,
                                      sizeof allocation)) {
        const DWORD error = ::GetLastError();
        return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED
                   ? OsError::None
                   : OsErrorFromWindows(error, {});
    }
    return OsError::None;
}

OsError FileIo::Truncate(FileHandle file, std::uint64_t size) const {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(Handle(file), FileEndOfFileInfo, &end, sizeof end)) {
        return OsErrorFromWindows(::GetLastError(), {});
    }
    return OsError::None;
}

OsError FileIo::LockFolder(const std::string& folder, FileHandle& lock) const {
    lock = NoFile;
    // A named mutex, so nothing is added to the folder: its name is made from the folder's full
    // path in one letter case, as Windows matches names. The system frees it when its holder
    // ends, however it ends.
    std::wstring full(MAX_PATH, L'\0');
    const std::wstring name = WidePath(folder);
    DWORD length =
        ::GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length =
            ::GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0) {
        return OsErrorFromWindows(::GetLastError(), folder);
    }
    full.resize(length);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) {
        full.pop_back();
    }
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : full) {
        hash = (hash ^ static_cast<std::uint16_t>(c == L'/' ? L'\\' : c)) * 1099511628211ull;
    }
    wchar_t mutexName[64];
    std::swprintf(mutexName, 64, L"Local\\favorizer-folder-%016llx",
                  static_cast<unsigned long long>(hash));
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName);
    if (mutex == nullptr) {
        return OsErrorFromWindows(::GetLastError(), folder);
    }
    const DWORD waited = ::WaitForSingleObject(mutex, 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(mutex);
        return OsError::Busy;
    }
    lock = FromHandle(mutex);
    return OsError::None;
}

void FileIo::UnlockFolder(FileHandle lock) const {
    if (lock != NoFile) {
        ::ReleaseMutex(Handle(lock));
        ::CloseHandle(Handle(lock));
    }
}

OsError FileIo::SyncFolder(const std::string& /*folder*/) const {
    // Renames are written through (see Rename); Windows offers no flush of a folder's entries.
    return OsError::None;
}

OsError FileIo::ListFolder(const std::string& folder, std::vector<std::string>& names) const {
    names.clear();
    std::wstring pattern = WidePath(folder);
    // No file system takes such a name; the system calls would merely say "not found".
    if (HasOverlongName(pattern)) {
        return OsError::BadName;
    }
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(WidePath(folder).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            // A file where the folder should be, as ENOTDIR is on POSIX.
            return OsError::PathNotFound;
        }
        if (error == ERROR_FILE_NOT_FOUND) {
            // An empty drive root has not even "." in it.
            return attributes != INVALID_FILE_ATTRIBUTES ? OsError::None : OsError::PathNotFound;
        }
        return OsErrorFromWindows(error, folder);
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(Narrow(name.data(), name.size()));
        }
    } while (::FindNextFileW(search, &entry));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    return error == ERROR_NO_MORE_FILES ? OsError::None : OsErrorFromWindows(error, folder);
}

OsError FileIo::MakeFolder(const std::string& folder) const {
    const std::wstring name = WidePath(folder);
    // No file system takes such a name; the system call would merely say "not found".
    if (HasOverlongName(name)) {
        return OsError::BadName;
    }
    return ::CreateDirectoryW(name.c_str(), nullptr) ? OsError::None : LastError(folder);
}

std::uint32_t FileIo::ProcessId() const {
    return ::GetCurrentProcessId();
}

bool FileIo::ProcessAlive(std::uint32_t id) const {
    if (id == 0) {
        return false;
    }
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) {
        // A process that runs but may not be looked at is still running.
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    const bool alive = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return alive;
}

const FileIo& SystemFileIo() {
    static const FileIo system;
    return system;
}

} // namespace fav
