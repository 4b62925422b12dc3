#pragma once

#include "core/errors/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace fav {

// The controllers taught on the program's own screen, kept beside favorize.cfg in the mapping-line
// format of SDL's game-controller layer (the format of the gamecontrollerdb.txt files owners
// know): "GUID,name,control:input,...", one line a controller, lines starting with "#" ignored.
inline constexpr const char* ControllerMappingsFileName = "controllers.txt";

std::string ControllerMappingsPath(const std::string& programDir);

// The lines of the file that have a mapping's shape, and those that do not (to be logged, then
// left alone). A missing file holds none.
struct ControllerMappings {
    std::vector<std::string> lines;
    std::vector<std::string> broken;
};
Result<ControllerMappings> ReadControllerMappings(const std::string& programDir);

// The controller a mapping line is for: its first field.
std::string_view MappingGuid(std::string_view line);

// What one of the cabinet's controls was taught: "b3" a button, "h0.1" a hat's direction,
// "-a1" or "+a0" one side of an axis; the control is SDL's name for it ("dpup", "start", ...).
struct TaughtInput {
    std::string control;
    std::string input;
};
// The mapping line for a controller. A comma in its name would end the field, so it goes.
std::string MakeMappingLine(std::string_view guid, std::string_view name,
                            const std::vector<TaughtInput>& inputs);

// Keeps the line in the file, in place of the line for the same controller or after the others,
// with the file replaced safely; every other line stays as it was.
Status StoreControllerMapping(const std::string& programDir, const std::string& line);

} // namespace fav
