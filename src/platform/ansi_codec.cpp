#include "platform/ansi_codec.h"

#include <array>
#include <cstdint>

namespace platform {

namespace {

// Bytes 0x80..0xBF of Windows-1251. Our own table so that the result never depends on
// which converters the Qt build on a given machine carries.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98 (0x98 is unused)
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

constexpr char16_t decodeByte(std::uint8_t byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) // А..я in alphabet order
        return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    return kUpperHalf[byte - 0x80];
}

constexpr char kUnmappable = '?';

char encodeUnit(char16_t unit) {
    if (unit < 0x80) return static_cast<char>(unit);
    if (unit >= 0x0410 && unit <= 0x044F) return static_cast<char>(0xC0 + (unit - 0x0410));
    // U+FFFD stands for "no character" and must not turn back into the unused byte.
    if (unit == 0xFFFD) return kUnmappable;
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == unit) return static_cast<char>(0x80 + i);
    }
    return kUnmappable;
}

} // namespace

QByteArray toAnsi(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    const QChar* units = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar unit = units[i];
        // A character outside the BMP is one character and becomes one '?'.
        if (unit.isHighSurrogate() && i + 1 < size && units[i + 1].isLowSurrogate()) {
            bytes.append(kUnmappable);
            ++i;
            continue;
        }
        bytes.append(encodeUnit(unit.unicode()));
    }
    return bytes;
}

QString fromAnsi(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    const char* in = bytes.constData();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(decodeByte(static_cast<std::uint8_t>(in[i])));
    return text;
}

} // namespace platform
