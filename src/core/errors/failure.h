#pragma once

#include <cstddef>
#include <string>

namespace fav {

// Run-time error numbers. The numbers are fixed: the error screen and the settings file rules
// depend on them.
namespace ErrorCode {
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIoError = 57;
inline constexpr int DiskFull = 61;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
} // namespace ErrorCode

// A failure: the error number and a one-line description.
struct Failure {
    int code = 0;
    std::string description;

    bool operator==(const Failure&) const = default;
};

// The standard wording for a code ("File not found"), or "Application-defined error".
std::string StandardDescription(int code);

// At most this many bytes of a failure's subject are kept in its description.
inline constexpr std::size_t MaxFailureSubject = 4096;

// A failure with the standard wording, followed by ": " and the subject (a path) when given.
// Control characters in the subject are replaced so the description stays on one line, and a
// subject longer than MaxFailureSubject is cut there and followed by "...".
Failure MakeFailure(int code, const std::string& subject = {});

} // namespace fav
