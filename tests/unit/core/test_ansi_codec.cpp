#include "platform/ansi_codec.h"

#include <gtest/gtest.h>

using platform::fromAnsi;
using platform::toAnsi;

TEST(AnsiCodec, EveryDefinedByteRoundTrips) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != 0x98) all.append(static_cast<char>(byte));
    }
    const QString text = fromAnsi(all);
    EXPECT_EQ(text.size(), all.size());
    EXPECT_EQ(toAnsi(text), all);
    EXPECT_FALSE(text.contains(QChar(0xFFFD)));
}

TEST(AnsiCodec, CyrillicAndTypography) {
    const QString text = QStringLiteral("Ёлка, ёж — «№ 5» – АЯая€…");
    const QByteArray bytes = toAnsi(text);
    EXPECT_EQ(bytes, QByteArray("\xA8\xEB\xEA\xE0, \xB8\xE6 \x97 \xAB\xB9 5\xBB \x96 "
                                "\xC0\xDF\xE0\xFF\x88\x85"));
    EXPECT_EQ(fromAnsi(bytes), text);
}

TEST(AnsiCodec, UnmappableAndUndefined) {
    // One '?' per character, also for a character outside the BMP (two UTF-16 units).
    EXPECT_EQ(toAnsi(QStringLiteral("a中😀b")), QByteArray("a??b"));
    EXPECT_EQ(toAnsi(QString(QChar(0xD800)) + QLatin1Char('x')), QByteArray("?x"));
    EXPECT_EQ(toAnsi(QString(QChar(0xFFFD))), QByteArray("?"));
    EXPECT_EQ(fromAnsi(QByteArray("\x98", 1)), QString(QChar(0xFFFD)));
    EXPECT_EQ(fromAnsi(QByteArray("a\0b", 3)), QString::fromUtf16(u"a\0b", 3));
}
