#pragma once

#include <QFont>
#include <QPalette>

namespace fav {

// The look every window shares, chosen for a cabinet screen seen from a distance.

// The face the layouts were drawn for: a sans-serif of Arial's widths at 8.25 points, so the
// texts fit their design boxes. A metric twin is taken where Arial itself is missing, and a
// condensed face as the last resort.
QFont DesignFont();

// Light grey windows with black text; disabled controls clearly greyed but still legible.
QPalette CabinetPalette();

// The width in pixels of the single-line border that marks the selected item.
inline constexpr int SelectionBorderWidth = 3;

} // namespace fav
