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
    if (!IsOrdinaryFile(path)) {
        // Something that is not a file (a folder, a pipe) must not be written through or replaced.
        FileInfo info;
        if (SystemFileIo().PathInfo(path, Links::Followed, info) == OsError::None) {
            return MakeFailure(ErrorCode::PathFileAccessError, path);
        }
        std::string first = ErrorLogFirstLine;
        first += LineEnd;
        // Appending rather than replacing: whatever happens, nothing already logged is lost.
        if (auto created = AppendToFile(path, first); !created) {
            return created;
        }
    }
    std::string line = ErrorLogLine(dateTime, failure);
    line += LineEnd;
    return AppendToFile(path, line);
}

} // namespace fav
