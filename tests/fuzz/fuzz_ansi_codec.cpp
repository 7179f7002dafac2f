// The Windows-1251 codec both ways. Bytes read and written again come back as they were
// (the one unused byte 0x98 becomes '?'); text written and read again keeps every
// character Windows-1251 has and puts one '?' for each it lacks.

#include "fuzz_entry.h"

#include "platform/ansi_codec.h"

using namespace platform;

extern "C" int PROVERON_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString decoded = fromAnsi(bytes);
    fuzzCheck(decoded.size() == bytes.size(), "a byte did not become one character");
    QByteArray expected = bytes;
    expected.replace('\x98', '?');
    fuzzCheck(toAnsi(decoded) == expected, "bytes do not survive a read and a write");

    // The same input as UTF-16 text, surrogates and all.
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QByteArray encoded = toAnsi(text);
    const QString back = fromAnsi(encoded);
    qsizetype at = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++at) {
        fuzzCheck(at < back.size(), "a character was dropped");
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) ++i;
        const bool kept = !pair && back[at] == text[i] && text[i] != QChar(0xFFFD);
        fuzzCheck(kept || back[at] == QLatin1Char('?'), "a character became another one");
    }
    fuzzCheck(at == back.size(), "characters were added");
    return 0;
}
