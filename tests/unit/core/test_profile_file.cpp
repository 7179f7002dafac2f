#include "platform/profile_file.h"
#include "platform/read_cache.h"

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
    const QByteArray ini = "[Main]\n"
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
    // Behind a UTF-8 byte order mark the same file is UTF-8, names and values alike.
    const QByteArray utf8 = "\xEF\xBB\xBF" + QStringLiteral("[Настройки]\r\nИмя=Яся\r\n").toUtf8();
    EXPECT_EQ(profileLookup(utf8, QStringLiteral("НАСТРОЙКИ"), QStringLiteral("имя")),
              QStringLiteral("Яся"));
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
    EXPECT_EQ(profileStore(ini, "A", "New", "v"),
              QByteArray("; top\r\n[A]\r\nx = 1 \r\nX=dup\ny=2\r\nNew=v\r\n\r\n\r\n"
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
    ini = *profileStore(ini, QStringLiteral("Раздел"), "a", tricky);
    ini = *profileStore(ini, QStringLiteral("Раздел"), "b", "line\r\nbreak");
    ini = *profileStore(ini, QStringLiteral("раздел"), "A", "again");
    EXPECT_EQ(profileLookup(ini, QStringLiteral("РАЗДЕЛ"), "a"), "again");
    EXPECT_EQ(profileLookup(ini, QStringLiteral("Раздел"), "b"), "line  break");
    ini = *profileStore(ini, "S", "k", tricky);
    EXPECT_EQ(profileLookup(ini, "s", "K"), tricky);
    EXPECT_EQ(profileLookup(ini, "S", "x"), "");

    // The reader takes blanks and one pair of quotes off a value; a value that would lose
    // them is written in quotes (a password " 12" must still open the settings), and only
    // such a value.
    const QString values[] = {" v ",
                              "\tpass",
                              "end ",
                              "\"q\"",
                              "'s'",
                              "\"",
                              "''",
                              "\"open",
                              "a\"b\"",
                              "'mixed\"",
                              QStringLiteral("Пароль")};
    QByteArray many;
    for (const QString& value : values) {
        many = *profileStore(many, "S", "k", value);
        EXPECT_EQ(profileLookup(many, "S", "k"), value);
    }
    EXPECT_EQ(*profileStore("", "S", "k", " v "), QByteArray("[S]\r\nk=\" v \"\r\n"));
    EXPECT_EQ(*profileStore("", "S", "k", "'s'"), QByteArray("[S]\r\nk=\"'s'\"\r\n"));
    EXPECT_EQ(*profileStore("", "S", "k", "a\"b\""), QByteArray("[S]\r\nk=a\"b\"\r\n"));
}

TEST(ProfileFile, HandEditedFilesReadAsWindowsReadsThem) {
    // Lone CRs (an old Mac editor, a file cut and pasted), tabs, quotes, comments.
    const QByteArray ini = "[test\r"
                           "pass=abc\r"
                           "\t re \t=\t eng \t\r\n"
                           "; z=commented\n"
                           "z=\"C:\\Экзамены\\ \"\n"
                           "q='single'\r"
                           "odd=\"left'\r"
                           "[next]\rk=1";
    EXPECT_EQ(profileLookup(ini, "test", "pass"), "abc") << "the CR is no part of the value";
    EXPECT_EQ(profileLookup(ini, "test", "re"), "eng");
    EXPECT_EQ(profileLookup(ini, "test", "q"), "single");
    EXPECT_EQ(profileLookup(ini, "test", "odd"), "\"left'");
    EXPECT_EQ(profileLookup(ini, "next", "k"), "1");

    // A UTF-8 file (its byte order mark says so) holds UTF-8 values, and gets them.
    const QByteArray utf8 = "\xEF\xBB\xBF[test]\r\nz=" + QStringLiteral("Физика").toUtf8() + "\r\n";
    EXPECT_EQ(profileLookup(utf8, "TEST", "Z"), QStringLiteral("Физика"));
    const QByteArray stored = *profileStore(utf8, "test", "pass", QStringLiteral("ключ"));
    EXPECT_EQ(stored, utf8 + "pass=" + QStringLiteral("ключ").toUtf8() + "\r\n");

    // A file saved as "Unicode" stays UTF-16, its lines as they were.
    const auto utf16 = [](const QString& text) {
        QByteArray bytes("\xFF\xFE");
        for (QChar c : text) {
            bytes += char(c.unicode() & 0xFF);
            bytes += char(c.unicode() >> 8);
        }
        return bytes;
    };
    const QByteArray unicode = utf16(QStringLiteral("[test]\r\npass=пароль\r\n"));
    EXPECT_EQ(profileLookup(unicode, "test", "pass"), QStringLiteral("пароль"));
    EXPECT_EQ(profileStore(unicode, "test", "re", "eng"),
              utf16(QStringLiteral("[test]\r\npass=пароль\r\nre=eng\r\n")));
    EXPECT_FALSE(profileStore(unicode + 'x', "test", "re", "eng")) << "odd bytes: not touched";
}

TEST(ProfileFile, AStoreNeverGluesALineToALoneCr) {
    // The header ends in a lone CR: the new key is a line of its own and reads back.
    const QByteArray header = *profileStore("[test\r", "test", "bilet", "3");
    EXPECT_EQ(header, QByteArray("[test\rbilet=3\r\n"));
    EXPECT_EQ(profileLookup(header, "test", "bilet"), "3");
    // Replaced in place, the lone CR kept; a new key after it; a new section after it.
    const QByteArray ini = "[test]\rpass=abc\r";
    EXPECT_EQ(profileStore(ini, "test", "pass", "xyz"), QByteArray("[test]\rpass=xyz\r"));
    EXPECT_EQ(profileStore(ini, "test", "re", "rus"), QByteArray("[test]\rpass=abc\rre=rus\r\n"));
    EXPECT_EQ(profileStore(ini, "reg", "reg", "1"),
              QByteArray("[test]\rpass=abc\r[reg]\r\nreg=1\r\n"));
    const QByteArray twice =
        *profileStore(*profileStore(ini, "test", "re", "eng"), "test", "k", "1");
    EXPECT_EQ(profileLookup(twice, "test", "pass"), "abc");
    EXPECT_EQ(profileLookup(twice, "test", "re"), "eng");
    EXPECT_EQ(profileLookup(twice, "test", "k"), "1");
}

TEST(ProfileFile, SeveralKeysInOneStoreAndNamesThatCouldNotBeFoundAgain) {
    // Keys new to the file come in the order given; keys already there stay where they are.
    const QList<ProfileEntry> entries = {{"bilet", "3"}, {"vopros", "5"}, {"BALL", "3,8"}};
    EXPECT_EQ(profileStore("[test]\r\nre=rus\r\nball=4\r\n", "test", entries),
              QByteArray("[test]\r\nre=rus\r\nball=3,8\r\nbilet=3\r\nvopros=5\r\n"));
    EXPECT_EQ(profileStore("", "test", entries),
              QByteArray("[test]\r\nbilet=3\r\nvopros=5\r\nBALL=3,8\r\n"));

    for (const char* key : {"", "  ", "a=b", ";c", "[d", "x\ny", "x\rx"})
        EXPECT_FALSE(profileStore("[S]\r\n", "S", key, "v")) << key;
    for (const char* section : {"", "s]x", "a\nb"})
        EXPECT_FALSE(profileStore("", section, "k", "v")) << section;
    // One bad key spoils the whole store, so a save is never half done.
    EXPECT_FALSE(profileStore("", "S", QList<ProfileEntry>{{"a", "1"}, {"b=c", "2"}}));
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
    const QByteArray stored = *profileStore(noise, "Zz", "k", "v");
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
    const QByteArray changed = *profileStore(big, "S", "k", "short");
    EXPECT_EQ(changed.size(), big.size() - (1 << 20) + 5);
    EXPECT_EQ(profileLookup(changed, "s", "K"), "short");

    QTemporaryDir dir;
    const QString file = dir.filePath("big.ini");
    putBytes(file, big);
    EXPECT_EQ(readProfileString(file, "S", "k"), "") << "a file over 16 MB is not read at all";
    EXPECT_LT(timer.elapsed(), 30000);
}

TEST(ReadCache, AFileIsReadOncePerEventUntilItIsWritten) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("test.ini");
    putBytes(ini, "[test]\r\nre=rus\r\ntime=1\r\n");
    int reads = 0;
    auto read = [&]() -> std::optional<QByteArray> {
        ++reads;
        return readProfileFile(ini);
    };
    cachedFile(ini, read);
    cachedFile(ini, read);
    EXPECT_EQ(reads, 2) << "nothing is kept outside a user event";
    {
        const ReadCacheScope event;
        reads = 0;
        for (int i = 0; i < 5; ++i)
            cachedFile(ini, read);
        EXPECT_EQ(reads, 1);
        ASSERT_TRUE(writeProfileString(ini, "test", "time", "5"));
        EXPECT_EQ(readProfileString(ini, "test", "time"), "5") << "a write forgets";
        putBytes(ini, "[test]\r\ntime=77\r\n");
        EXPECT_EQ(readProfileString(ini, "test", "time"), "5")
            << "within an event the file is not looked at again";
    }
    const ReadCacheScope next;
    EXPECT_EQ(readProfileString(ini, "test", "time"), "77") << "another program wrote";
}

TEST(ProfileFile, StoringSeveralKeysAtOnceEqualsStoringThemOneByOne) {
    const QList<ProfileEntry> entries{{"bilet", "9"}, {"NEW", "x"}, {"time", " 5 "},
                                      {"other", "y"}, {"new", "z"}, {"vopros", ""}};
    for (const QByteArray& content :
         {QByteArray(), QByteArray("[test]\r\nBILET=4\r\ntime=1\r\n\r\n[notes]\r\na=1\r\n"),
          QByteArray("[test]\rbilet=4\r[x]\rq=1"), QByteArray("; only a comment"),
          QByteArray("[other]\nk=v\n[test]\nvopros=3"), QByteArray("\xEF\xBB\xBF[test]\r\n")}) {
        std::optional<QByteArray> oneByOne = content;
        for (const ProfileEntry& entry : entries)
            oneByOne = profileStore(*oneByOne, "test", entry.key, entry.value);
        EXPECT_EQ(profileStore(content, "test", entries), oneByOne) << content.toStdString();
    }
}

// A settings file of megabytes is answered from its top where the first section of the
// name asked for begins and ends there; anything else reads the whole file, with the same
// answers as a whole read gives.
TEST(ProfileFile, ABigFileIsAnsweredFromItsTopWhereItCanBe) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("test.ini");
    QByteArray bytes = "[test]\r\nre=eng\r\nz=\"C:\\exams\"\r\n[notes]\r\n";
    for (int i = 0; bytes.size() < 60000; ++i)
        bytes += "note" + QByteArray::number(i) + "=a teacher's remark\r\n";
    // A value across the first 64 KB, then the rest far below.
    bytes += "[long]\r\nv=" + QByteArray(10000, 'x') + "\r\n";
    for (int i = 0; bytes.size() < 300000; ++i)
        bytes += "more" + QByteArray::number(i) + "=another remark\r\n";
    bytes += "[late]\r\nkey=value\r\n[test]\r\nre=rus\r\nlater=1\r\n";
    ASSERT_TRUE(putBytes(ini, bytes));
    {
        const ReadCacheScope event;
        EXPECT_EQ(readProfileString(ini, "test", "re"), "eng");
        EXPECT_EQ(readProfileString(ini, "TEST", "z"), "C:\\exams");
        EXPECT_EQ(readProfileString(ini, "test", "later"), "") << "the first [test] counts";
        EXPECT_EQ(readProfileString(ini, "notes", "note3"), "a teacher's remark");
        EXPECT_FALSE(keptFile(ini)) << "nothing but the top read";
        EXPECT_EQ(readProfileString(ini, "long", "v"), QString(255, 'x')) << "read whole";
        EXPECT_EQ(readProfileString(ini, "late", "key"), "value");
        EXPECT_EQ(readProfileString(ini, "missing", "key"), "");
        EXPECT_TRUE(keptFile(ini));
    }
    // Outside an event, and in UTF-16, the same answers.
    EXPECT_EQ(readProfileString(ini, "test", "re"), "eng");
    EXPECT_EQ(readProfileString(ini, "late", "key"), "value");
    const QString wide = dir.filePath("wide.ini");
    const QString text = QString::fromLatin1(bytes);
    ASSERT_TRUE(putBytes(
        wide, QByteArray("\xFF\xFE") +
                  QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)));
    EXPECT_EQ(readProfileString(wide, "test", "re"), "eng");
    EXPECT_EQ(readProfileString(wide, "late", "key"), "value");

    // Readable: a missing file (empty), not a folder nor a file over 16 MB.
    EXPECT_TRUE(isProfileFileReadable(ini));
    EXPECT_TRUE(isProfileFileReadable(dir.filePath("none.ini")));
    EXPECT_FALSE(isProfileFileReadable(dir.path()));
    const QString huge = dir.filePath("huge.ini");
    ASSERT_TRUE(putBytes(huge, "[test]\r\nre=eng\r\n"));
    ASSERT_EQ(::truncate(QFile::encodeName(huge).constData(), 17 << 20), 0);
    EXPECT_FALSE(isProfileFileReadable(huge));
    EXPECT_FALSE(readProfileValue(huge, "test", "re"));
}
