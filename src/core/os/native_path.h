#pragma once

#include "core/os/file_io.h"

#include <string>
#include <string_view>

// How this system writes paths, beside FileIo in the system layer. On Windows paths are
// "c:\folder\name", drives are letters and either slash separates; on POSIX there is one root "/".

namespace fav {

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
// The default folder, the root of the system drive.
inline constexpr const char* SystemRoot = "c:\\";
// What would take a name out of its folder: a separator, or a drive's or a stream's colon.
inline constexpr std::string_view NotInFileName = "\\/:";
// A folder tree leaves out hidden and system folders, as the system's own does.
inline constexpr bool FolderTreeShowsHidden = false;
#else
inline constexpr char PathSeparator = '/';
inline constexpr const char* SystemRoot = "/";
inline constexpr std::string_view NotInFileName = "/";
// Every folder, dot-folders too: a launcher often lives in a Wine prefix (~/.wine/drive_c/...).
inline constexpr bool FolderTreeShowsHidden = true;
#endif

// `folder` + the separator + `name`, with no check for a separator already there.
std::string JoinPath(const std::string& folder, std::string_view name);

// The root an absolute path starts from ("c:\" with its letter in lower case, or "/"); empty
// for a path that is not absolute.
std::string RootOfPath(std::string_view path);

bool IsAbsolutePath(std::string_view path);

// An absolute folder path as a folder picker reports it: its root, then its parts joined by the
// separator, empty parts and "." left out, ".." taken back, no trailing separator except for the
// root itself. A path that is not absolute is returned unchanged.
std::string NormaliseFolder(const std::string& path);

#ifdef _WIN32
// A path as the system takes it: its bytes as UTF-8, or in the system's code page where they are
// not UTF-8, as the launcher's own files are.
std::wstring WidePath(const std::string& path);
#endif

} // namespace fav
