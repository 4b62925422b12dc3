#pragma once

#include <QString>
#include <string_view>

namespace fav {

// Bytes from the launcher's files as text to show: UTF-8 where the bytes are valid UTF-8,
// otherwise byte for byte as Windows-1252. The bytes themselves are never re-encoded.
QString DisplayText(std::string_view bytes);

} // namespace fav
