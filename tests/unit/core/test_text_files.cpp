#include "platform/file_access.h"
#include "platform/pictures.h"
#include "platform/text_files.h"

#include <QImage>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "test_support.h"

#include <unistd.h>

using namespace platform;

TEST(TextFiles, ReadKeepsEveryByte) {
    QTemporaryDir dir;
    const QString path = dir.filePath("q.txt");
    putBytes(path, "\xC2\xEE\xEF\xF0\xEE\xF1\r\n\r\nx\r\n");
    EXPECT_EQ(readWholeFile(path), QStringLiteral("Вопрос\r\n\r\nx\r\n"));
    EXPECT_FALSE(readWholeFile(dir.filePath("missing.txt")).has_value());
    EXPECT_FALSE(readWholeFile(dir.path()).has_value());
    EXPECT_FALSE(readLines(dir.path()).has_value());
}

// The buffer is sized by what the open saw; the file is still read to its end when it grew
// or shrank since, and the limit still holds.
TEST(TextFiles, AWholeReadFollowsTheFileNotItsSizeAtTheOpen) {
    QTemporaryDir dir;
    const QString path = dir.filePath("test.ini");
    auto put = [&](const QByteArray& bytes, QIODevice::OpenMode mode) {
        QFile file(path);
        ASSERT_TRUE(file.open(mode));
        ASSERT_EQ(file.write(bytes), bytes.size());
    };
    put("", QIODevice::WriteOnly);
    EXPECT_EQ(readAllFrom(openForReading(path)), QByteArray());
    put(QByteArray(100, 'a'), QIODevice::WriteOnly);
    {
        const FileHandle opened = openForReading(path);
        EXPECT_EQ(opened.sizeWhenOpened(), 100);
        put(QByteArray(200000, 'b'), QIODevice::Append);
        EXPECT_EQ(readAllFrom(opened), QByteArray(100, 'a') + QByteArray(200000, 'b'));
    }
    {
        const FileHandle opened = openForReading(path);
        put("short", QIODevice::WriteOnly);
        EXPECT_EQ(readAllFrom(opened), "short");
    }
    bool tooLarge = false;
    EXPECT_EQ(readAllFrom(openForReading(path), 5, &tooLarge), "short");
    EXPECT_FALSE(tooLarge);
    EXPECT_FALSE(readAllFrom(openForReading(path), 4, &tooLarge));
    EXPECT_TRUE(tooLarge);
    FileHandle moved;
    moved = openForReading(path);
    EXPECT_EQ(moved.sizeWhenOpened(), 5) << "the size moves with the handle";
}

TEST(TextFiles, LinesSplitOnCrLfAndLoneLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath("l.txt");
    putBytes(path, "a\r\n\r\nb\nc\rd\n\nlast");
    EXPECT_EQ(readLines(path), QStringList({"a", "", "b", QStringLiteral("c\rd"), "", "last"}));
    putBytes(path, "one\r\n");
    EXPECT_EQ(readLines(path), QStringList({"one"}));
    putBytes(path, "\r\n");
    EXPECT_EQ(readLines(path), QStringList({""}));
    putBytes(path, "");
    EXPECT_EQ(readLines(path), QStringList());
}

TEST(TextFiles, WholeFileWriteIsAnsiWithCrLfAndLeavesNoTemporaries) {
    QTemporaryDir dir;
    const QString path = dir.filePath("w.txt");
    putBytes(path, "old content that is longer than the new one");
    ASSERT_TRUE(writeWholeFile(path, QStringLiteral("Ёж\r\n№1")));
    EXPECT_EQ(bytesOf(path), QByteArray("\xA8\xE6\r\n\xB9"
                                        "1\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"w.txt"}));
    EXPECT_FALSE(writeWholeFile(dir.path(), "x"));
}

TEST(TextFiles, AppendAddsExactlyTheText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.txt");
    ASSERT_TRUE(appendText(path, QStringLiteral("Иванов\r\n")));
    ASSERT_TRUE(appendText(path, "5"));
    ASSERT_TRUE(appendText(path, ""));
    EXPECT_EQ(bytesOf(path), QByteArray("\xC8\xE2\xE0\xED\xEE\xE2\r\n"
                                        "5"));
    EXPECT_FALSE(appendText(dir.path(), "x"));
    EXPECT_FALSE(appendText(dir.filePath("no/such/folder.txt"), "x"));
}

TEST(TextFiles, FailedWritesKeepTheOldFile) {
    QTemporaryDir dir;
    // A regular file where a folder should be: no one, not even root, can write below it.
    putBytes(dir.filePath("plain"), "keep");
    EXPECT_FALSE(writeBytesAtomically(dir.filePath("plain/x.txt"), "new"));
    EXPECT_EQ(bytesOf(dir.filePath("plain")), QByteArray("keep"));

    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    const QString path = locked + "/exam.txt";
    putBytes(path, "old");
    makeReadOnlyFolder(dir.path(), locked);
    bool written = true;
    {
        AsUnprivilegedUser user;
        written = writeWholeFile(path, "new");
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(path), QByteArray("old"));
}

TEST(Pictures, BitmapsAreWrittenAsBmpAndReadBackAlike) {
    QTemporaryDir dir;
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    picture.setPixel(6, 4, qRgb(250, 0, 0));
    const QString path = dir.filePath("k1.bmp");
    ASSERT_TRUE(platform::writeBitmap(path, picture));
    EXPECT_TRUE(bytesOf(path).startsWith("BM"));
    const QImage back(path, "BMP");
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixel(6, 4), picture.pixel(6, 4));

    putBytes(dir.filePath("plain"), "keep");
    EXPECT_FALSE(platform::writeBitmap(dir.filePath("plain/k1.bmp"), picture));
    EXPECT_FALSE(platform::writeBitmap(path, QImage())) << "an empty picture is no bitmap";
    EXPECT_TRUE(bytesOf(path).startsWith("BM"));
}

TEST(TextFiles, AFieldDropsExactlyOneFinalLineEnd) {
    EXPECT_EQ(withoutFinalLineEnd("a\r\nb\r\n"), "a\r\nb");
    EXPECT_EQ(withoutFinalLineEnd("a\r\n\r\n"), "a\r\n");
    EXPECT_EQ(withoutFinalLineEnd("unix\n"), "unix");
    EXPECT_EQ(withoutFinalLineEnd("none"), "none");
    EXPECT_EQ(withoutFinalLineEnd(""), "");
}
