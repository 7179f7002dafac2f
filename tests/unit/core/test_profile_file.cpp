#include "platform/profile_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "test_support.h"

#include <unistd.h>

using namespace platform;

TEST(ProfileFile, LookupToleratesHandMadeFiles) {
    const QByteArray ini = "\xEF\xBB\xBF[Main]\n"
                           "; Key=commented out\n"
                           "  Key   =   spaced value  \n"
                           "Key=second, ignored\n"
                           "no equals sign here\n"
                           "Path=C:\\a=b;c\r\n"
                           "Empty=\n"
                           "[\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8]\r\n" // [Настройки]
                           "\xC8\xEC\xFF=\xDF\xF1\xFF\r\n"              // Имя=Яся
                           "[main]\n"
                           "Other=duplicate section, ignored\n"
                           "[Last]\n"
                           "Tail=no line end";
    EXPECT_EQ(profileLookup(ini, "main", "KEY"), "spaced value");
    EXPECT_EQ(profileLookup(ini, "Main", "path"), "C:\\a=b;c");
    EXPECT_EQ(profileLookup(ini, "Main", "Empty"), "");
    EXPECT_EQ(profileLookup(ini, "Main", "Other"), "");
    EXPECT_EQ(profileLookup(ini, "Main", "no equals sign here"), "");
    EXPECT_EQ(profileLookup(ini, QStringLiteral("НАСТРОЙКИ"), QStringLiteral("имя")),
              QStringLiteral("Яся"));
    EXPECT_EQ(profileLookup(ini, "Last", "Tail"), "no line end");
    EXPECT_EQ(profileLookup(ini, "Missing", "Key"), "");
    EXPECT_EQ(profileLookup("", "Main", "Key"), "");
}

TEST(ProfileFile, StoreChangesOnlyWhatItMust) {
    const QByteArray ini = "; top\r\n"
                           "[A]\r\n"
                           "x = 1 \r\n"
                           "X=dup\n"
                           "y=2\r\n"
                           "\r\n"
                           "\r\n"
                           "[Empty]\n"
                           "[B]\n"
                           "z=3";
    // Replaced in place, the name spelt as it stands in the file; the LF-only line end of
    // the next line and everything else stay.
    EXPECT_EQ(profileStore(ini, "a", "X", "9"),
              QByteArray("; top\r\n[A]\r\nx=9\r\nX=dup\ny=2\r\n\r\n\r\n[Empty]\n[B]\nz=3"));
    EXPECT_EQ(profileStore("[test]\r\nBILET=4\r\n", "test", "bilet", "9"),
              QByteArray("[test]\r\nBILET=9\r\n"));
    // A new key goes after the last entry, before the blank lines that part the sections.
    EXPECT_EQ(profileStore(ini, "A", "New", " v "),
              QByteArray("; top\r\n[A]\r\nx = 1 \r\nX=dup\ny=2\r\nNew= v \r\n\r\n\r\n"
                         "[Empty]\n[B]\nz=3"));
    EXPECT_EQ(profileStore(ini, "empty", "k", "v"),
              QByteArray("; top\r\n[A]\r\nx = 1 \r\nX=dup\ny=2\r\n\r\n\r\n"
                         "[Empty]\nk=v\r\n[B]\nz=3"));
    // The last line had no end: it gets one, and nothing else changes.
    EXPECT_EQ(profileStore(ini, "B", "w", "4"), ini + "\r\nw=4\r\n");
    EXPECT_EQ(profileStore(ini, "C", "k", "v"), ini + "\r\n[C]\r\nk=v\r\n");
    EXPECT_EQ(profileStore("", "C", "k", "v"), QByteArray("[C]\r\nk=v\r\n"));
    EXPECT_EQ(profileStore("\xEF\xBB\xBF", "C", "k", "v"),
              QByteArray("\xEF\xBB\xBF[C]\r\nk=v\r\n"));
    EXPECT_EQ(profileStore("[C]\r\nk=v\r\n", "C", "k", "v"), QByteArray("[C]\r\nk=v\r\n"));
}

TEST(ProfileFile, StoredValuesReadBackExactly) {
    QByteArray ini;
    const QString tricky = QStringLiteral("\"quoted\" ; Ёлка=№5 [x]");
    ini = profileStore(ini, QStringLiteral("Раздел"), "a", tricky);
    ini = profileStore(ini, QStringLiteral("Раздел"), "b", "line\r\nbreak");
    ini = profileStore(ini, QStringLiteral("раздел"), "A", "again");
    EXPECT_EQ(profileLookup(ini, QStringLiteral("РАЗДЕЛ"), "a"), "again");
    EXPECT_EQ(profileLookup(ini, QStringLiteral("Раздел"), "b"), "line  break");
    ini = profileStore(ini, "S", "k", tricky);
    EXPECT_EQ(profileLookup(ini, "s", "K"), tricky);
    EXPECT_EQ(profileLookup(ini, "S", "x"), "");
}

TEST(ProfileFile, FileIsCreatedReadAndCut) {
    QTemporaryDir dir;
    const QString file = dir.filePath("test.ini");
    EXPECT_EQ(readProfileString(file, "S", "k"), "");
    ASSERT_TRUE(writeProfileString(file, "S", "k", QString(300, QLatin1Char('w'))));
    EXPECT_EQ(readProfileString(file, "s", "K"), QString(255, QLatin1Char('w')));
    ASSERT_TRUE(writeProfileString(file, "S", "j", QStringLiteral("Да")));
    EXPECT_EQ(bytesOf(file), "[S]\r\nk=" + QByteArray(300, 'w') + "\r\nj=\xC4\xE0\r\n");
    EXPECT_EQ(readProfileString(dir.path(), "S", "k"), "");
    EXPECT_FALSE(writeProfileString(dir.path(), "S", "k", "v"));
    EXPECT_FALSE(writeProfileString(dir.filePath("no/such.ini"), "S", "k", "v"));
}

TEST(ProfileFile, ReadOnlyFolderKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    const QString file = locked + "/settings.ini";
    putBytes(file, "[S]\r\nk=old\r\n");
    makeReadOnlyFolder(dir.path(), locked);
    bool written = true;
    {
        AsUnprivilegedUser user;
        written = writeProfileString(file, "S", "k", "new");
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(file), QByteArray("[S]\r\nk=old\r\n"));
}

TEST(ProfileFile, HostileContentStaysLinear) {
    QElapsedTimer timer;
    timer.start();

    // Random bytes: NULs, lone CRs, stray brackets. Nothing may crash, and a stored value
    // must read back.
    QByteArray noise(1 << 20, '\0');
    QRandomGenerator random(1251);
    for (char& c : noise)
        c = static_cast<char>(random.bounded(256));
    const QByteArray stored = profileStore(noise, "Zz", "k", "v");
    EXPECT_TRUE(stored.startsWith(noise));
    EXPECT_EQ(profileLookup(stored, "Zz", "k"), "v");

    // 50 MB of lines without '=' (a search for '=' running past the line end would be
    // quadratic), then one line of 1 MB.
    QByteArray big;
    big.reserve(51 << 20);
    big += "[S]\r\n";
    while (big.size() < (50 << 20))
        big += "just some text without an equals sign at all\r\n";
    big += "k=" + QByteArray(1 << 20, 'x') + "\r\n";
    EXPECT_EQ(profileLookup(big, "S", "k").size(), 1 << 20);
    const QByteArray changed = profileStore(big, "S", "k", "short");
    EXPECT_EQ(changed.size(), big.size() - (1 << 20) + 5);
    EXPECT_EQ(profileLookup(changed, "s", "K"), "short");

    QTemporaryDir dir;
    const QString file = dir.filePath("big.ini");
    putBytes(file, big);
    EXPECT_EQ(readProfileString(file, "S", "k"), QString(255, QLatin1Char('x')));
    EXPECT_LT(timer.elapsed(), 30000);
}
