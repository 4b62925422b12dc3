#include "app/display_text.h"

#include <QStringDecoder>

namespace fav {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; five of those bytes are unassigned and
// are shown as themselves.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The first MaxDisplayBytes bytes, not ending inside a UTF-8 sequence.
std::string_view ShownPart(std::string_view bytes) {
    std::size_t end = MaxDisplayBytes;
    for (int back = 0;
         back < 3 && end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80; ++back) {
        --end;
    }
    return bytes.substr(0, end);
}

QString Decode(std::string_view bytes) {
    if (IsAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    text.clear();
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(Cp1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

} // namespace

QString DisplayText(std::string_view bytes) {
    if (bytes.size() <= MaxDisplayBytes) {
        return Decode(bytes);
    }
    return Decode(ShownPart(bytes)) + QChar(0x2026);
}

} // namespace fav
