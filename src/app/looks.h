#pragma once

#include <QFont>
#include <QPalette>
#include <array>

namespace fav {

// The look every window shares, chosen for a cabinet screen seen from a distance.

// The face the layouts were drawn for, at 8.25 points: Liberation Sans, which has Arial's widths,
// so the texts fit their design boxes. It is built into the program and loaded on the first call,
// so every cabinet shows the same layout whatever fonts it has.
QFont DesignFont();

// The family name of the face built into the program, and its files among the program's
// resources.
inline constexpr const char* ProgramFaceFamily = "Liberation Sans";
inline constexpr std::array<const char*, 2> ProgramFaceFiles = {":/face/LiberationSans-Regular.ttf",
                                                                ":/face/LiberationSans-Bold.ttf"};

// Light grey windows with black text; disabled controls clearly greyed but still legible.
QPalette CabinetPalette();

// The width in pixels of the single-line border that marks the selected item.
inline constexpr int SelectionBorderWidth = 3;

} // namespace fav
