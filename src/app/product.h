#pragma once

namespace fav {

// The product title with its version, the caption of the setup window and the menu.
inline constexpr const char* ProductTitle = "Favorizer " FAVORIZER_VERSION;

} // namespace fav
