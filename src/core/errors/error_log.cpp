#include "core/errors/error_log.h"

#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "core/textfile/lines.h"

namespace fav {

std::string ErrorLogLine(const std::string& dateTime, const Failure& failure) {
    std::string line = dateTime + " Favorizer encounted error# " + std::to_string(failure.code) +
                       " ---" + failure.description;
    // One error, one line: a line break inside the text would start a bogus entry.
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

Status AppendErrorLog(const std::string& programDir, const std::string& dateTime,
                      const Failure& failure) {
    const std::string path = JoinPath(programDir, ErrorLogFileName);
    FileInfo info;
    const bool exists = SystemFileIo().PathInfo(path, Links::Followed, info) == OsError::None;
    // Something that is not a file (a folder, a pipe) must not be written through or replaced.
    if (exists && info.type != FileType::Regular) {
        return MakeFailure(ErrorCode::PathFileAccessError, path);
    }
    // The first line goes with the first entry, in one append: a log created on a full disk, and
    // so left empty, still gets it with its next entry. Appending rather than replacing:
    // whatever happens, nothing already logged is lost.
    std::string text;
    if (!exists || info.size == 0) {
        text = ErrorLogFirstLine;
        text += LineEnd;
    }
    text += ErrorLogLine(dateTime, failure);
    text += LineEnd;
    return AppendToFile(path, text);
}

bool ErrorLogHolds(const std::string& programDir, const Failure& failure) {
    const std::string path = JoinPath(programDir, ErrorLogFileName);
    if (!IsOrdinaryFile(path)) {
        return false;
    }
    const auto text = ReadWholeFile(path);
    if (!text) {
        return false;
    }
    // Every line but the date and time, which comes first.
    const std::string entry = ErrorLogLine({}, failure);
    bool held = false;
    ForEachLine(text.value(), [&](std::string_view line) { held = held || line.ends_with(entry); });
    return held;
}

} // namespace fav
