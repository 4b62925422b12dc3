#pragma once

#include <QString>
#include <string_view>

namespace fav {

// At most this many bytes of a text are shown; a longer one is cut there and ends with "…".
// No window shows more of a line than this, and laying out megabytes of text for a list row or
// a label takes seconds.
inline constexpr std::size_t MaxDisplayBytes = 1024;

// Bytes from the launcher's files as text to show: UTF-8 where the bytes are valid UTF-8,
// otherwise byte for byte as Windows-1252. The bytes themselves are never re-encoded.
QString DisplayText(std::string_view bytes);

} // namespace fav
