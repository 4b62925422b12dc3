#pragma once

#include <cstdint>
#include <string>

namespace fav {

inline constexpr std::int16_t True = -1;
inline constexpr std::int16_t False = 0;

// The values the screens share for the whole run. Text is kept as the bytes it came from.
struct Module1 {
    std::string LauncherDir;
    std::string MameCfgDir;
    std::string MameMapDir;
    std::string CurrentListName;
    std::string NewListDescription;
    std::int16_t FullscreenFlag = 0;
    std::int16_t SetupRequested = False;
};

} // namespace fav
