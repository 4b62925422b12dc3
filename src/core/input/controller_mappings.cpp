#include "core/input/controller_mappings.h"

#include "core/os/native_path.h"
#include "core/textfile/files.h"

#include <algorithm>
#include <cctype>

namespace fav {

namespace {

bool IsComment(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

// A GUID of 32 hexadecimal digits, a name, and at least one "control:input" field.
bool HasMappingShape(std::string_view line) {
    const std::string_view guid = MappingGuid(line);
    if (guid.size() != 32 || !std::all_of(guid.begin(), guid.end(),
                                          [](unsigned char c) { return std::isxdigit(c) != 0; })) {
        return false;
    }
    const auto nameEnd = line.find(',', guid.size() + 1);
    return nameEnd != std::string_view::npos && line.find(':', nameEnd) != std::string_view::npos;
}

} // namespace

std::string ControllerMappingsPath(const std::string& programDir) {
    return JoinPath(programDir, ControllerMappingsFileName);
}

std::string_view MappingGuid(std::string_view line) {
    return line.substr(0, line.find(','));
}

Result<ControllerMappings> ReadControllerMappings(const std::string& programDir) {
    const std::string path = ControllerMappingsPath(programDir);
    ControllerMappings mappings;
    if (!IsOrdinaryFile(path)) {
        return mappings;
    }
    auto lines = ReadLines(path);
    if (!lines) {
        return lines.failure();
    }
    for (std::string& line : lines.value()) {
        if (IsComment(line)) {
            continue;
        }
        (HasMappingShape(line) ? mappings.lines : mappings.broken).push_back(std::move(line));
    }
    return mappings;
}

std::string MakeMappingLine(std::string_view guid, std::string_view name,
                            const std::vector<TaughtInput>& inputs) {
    std::string line(guid);
    line += ',';
    for (const char c : name) {
        line += c == ',' ? ' ' : c;
    }
    line += ',';
    for (const TaughtInput& taught : inputs) {
        line += taught.control + ':' + taught.input + ',';
    }
    return line;
}

Status StoreControllerMapping(const std::string& programDir, const std::string& line) {
    const std::string path = ControllerMappingsPath(programDir);
    std::vector<std::string> lines;
    if (IsOrdinaryFile(path)) {
        auto read = ReadLines(path);
        if (!read) {
            return read.failure();
        }
        lines = std::move(read).value();
    }
    const std::string_view guid = MappingGuid(line);
    const auto same = std::find_if(lines.begin(), lines.end(), [guid](const std::string& kept) {
        return !IsComment(kept) && MappingGuid(kept) == guid;
    });
    if (same != lines.end()) {
        *same = line;
    } else {
        lines.push_back(line);
    }
    return ReplaceFileLines(path, lines);
}

} // namespace fav
