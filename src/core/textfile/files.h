#pragma once

#include "core/errors/result.h"
#include "core/os/file_io.h"

#include <string>
#include <string_view>
#include <vector>

namespace fav {

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t MaxFileSize = std::size_t{512} << 20;

// The whole file, byte for byte. A folder in place of the file is "Path/File access error".
Result<std::string> ReadWholeFile(const std::string& path, const FileIo& io = SystemFileIo());

// The lines of a text file (see ForEachLine).
Result<std::vector<std::string>> ReadLines(const std::string& path,
                                           const FileIo& io = SystemFileIo());

// Replaces the file's contents with `content` without ever leaving it shortened: the bytes go to
// a new file in the same folder, which is flushed and then renamed over the old one. The old
// file's permissions (and, where allowed, its owner) are kept, and a symbolic link is followed so
// that its target is replaced. On failure the old file is untouched and the new one removed.
Status ReplaceFile(const std::string& path, std::string_view content,
                   const FileIo& io = SystemFileIo());

// ReplaceFile with every line followed by CR LF.
Status ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines,
                        const FileIo& io = SystemFileIo());

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

// A name the system cannot take: empty, or with a NUL byte in it.
std::optional<Failure> CheckPathName(const std::string& path);

} // namespace fav
