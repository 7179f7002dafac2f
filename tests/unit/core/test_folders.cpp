#include "platform/folders.h"
#include "platform/read_cache.h"
#include "platform/text_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(Folders, NamesThatLeaveTheFolderAreRefused) {
    QTemporaryDir dir;
    touch(dir.filePath("a.txt"));
    for (const QString& bad :
         {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../a.txt"),
          QStringLiteral("x/a.txt"), QStringLiteral("x\\a.txt"), QStringLiteral("/etc")}) {
        EXPECT_FALSE(isPlainName(bad)) << bad.toStdString();
        EXPECT_EQ(lookUpName(dir.path(), bad), QString()) << bad.toStdString();
        EXPECT_EQ(childPath(dir.path(), bad), QString()) << bad.toStdString();
    }
    EXPECT_TRUE(isPlainName(QStringLiteral("...")));
    EXPECT_TRUE(isPlainName(QStringLiteral(".hidden")));
}

TEST(Folders, LookUpIgnoresCaseAndReturnsTheStoredName) {
    QTemporaryDir dir;
    touch(dir.filePath("Q1.TXT"));
    touch(dir.filePath(QStringLiteral("Вопрос.Txt")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Билет 1")));
    EXPECT_EQ(lookUpName(dir.path(), "q1.txt"), "Q1.TXT");
    EXPECT_EQ(lookUpName(dir.path(), QStringLiteral("ВОПРОС.TXT")), QStringLiteral("Вопрос.Txt"));
    EXPECT_EQ(lookUpName(dir.path(), QStringLiteral("билет 1")), QStringLiteral("Билет 1"));
    EXPECT_EQ(lookUpName(dir.path(), "q2.txt"), QString());
    EXPECT_EQ(lookUpName(dir.filePath("missing"), "q1.txt"), QString());

    EXPECT_EQ(childPath(dir.path(), "q1.TxT"), dir.filePath("Q1.TXT"));
    EXPECT_EQ(childPath(dir.path(), "new.txt"), dir.filePath("new.txt"));
}

TEST(Folders, ExactSpellingWinsOverCaseFoldedOne) {
    QTemporaryDir dir;
    touch(dir.filePath("Note.txt"));
    touch(dir.filePath("NOTE.TXT"));
    touch(dir.filePath("note.txt"));
    EXPECT_EQ(lookUpName(dir.path(), "note.txt"), "note.txt");
    EXPECT_EQ(lookUpName(dir.path(), "NOTE.TXT"), "NOTE.TXT");
    const QString folded = lookUpName(dir.path(), "nOtE.txt");
    EXPECT_EQ(folded.compare("note.txt", Qt::CaseInsensitive), 0);
}

TEST(Folders, ListingAndCreating) {
    QTemporaryDir dir;
    EXPECT_TRUE(MakeDirPath(dir.filePath("b/deep/er")));
    EXPECT_TRUE(MakeDirPath(dir.filePath("b/deep/er"))); // already there
    touch(dir.filePath("C.txt"));
    touch(dir.filePath("a.txt"));
    touch(dir.filePath("b/deep/er/x.bmp"));
    EXPECT_EQ(GetFolders(dir.path()), QStringList({"a.txt", "b", "C.txt"}));
    // What a desktop or Windows leaves in a folder is no entry a listing counts.
    QTemporaryDir copied;
    for (const char* name : {".directory", ".DS_Store", "Desktop.ini", "Thumbs.db", "b1"})
        touch(copied.filePath(name));
    EXPECT_EQ(GetFolders(copied.path()), QStringList({"b1"}));
    EXPECT_EQ(GetFolders(dir.filePath("missing")), QStringList());

    EXPECT_TRUE(DoesFileExist(dir.filePath("b")));
    EXPECT_TRUE(DoesFileExist(dir.filePath("a.txt")));
    EXPECT_FALSE(DoesFileExist(dir.filePath("z.txt")));
    EXPECT_FALSE(DoesFileExist(QString()));
    EXPECT_FALSE(MakeDirPath(dir.filePath("a.txt/sub")));

    // Folders only: links to folders count, links to files and dangling ones do not, and
    // hidden folders are folders too.
    ASSERT_TRUE(MakeDirPath(dir.filePath(".hidden")));
    for (const auto& [target, link] : {std::pair{"b", "to-b"}, {"a.txt", "to-a"}, {"gone", "dead"}})
        ASSERT_EQ(::symlink(target, QFile::encodeName(dir.filePath(link)).constData()), 0);
    QStringList folders = entryNames(dir.path(), Entries::FoldersOnly);
    folders.sort();
    EXPECT_EQ(folders, QStringList({".hidden", "b", "to-b"}));
    EXPECT_EQ(entryNames(dir.path()).size(), 7);
    EXPECT_EQ(entryNames(dir.filePath("missing")), QStringList());
}

// Within one event a folder this program made is known empty, and a folder its parent's
// listing lacks holds nothing; neither may hide what the event writes afterwards.
TEST(Folders, AnEventKnowsTheFoldersItMakesAndStillSeesItsWrites) {
    QTemporaryDir dir;
    touch(dir.filePath("a.txt"));
    const ReadCacheScope event;
    listForLookUps(dir.path());
    const QString made = dir.filePath("b11");
    EXPECT_EQ(lookUpName(made, "q1.txt"), QString());
    ASSERT_TRUE(MakeDirPath(made));
    EXPECT_EQ(lookUpName(made, "q1.txt"), QString());
    ASSERT_TRUE(replaceWholeFile(made + "/q1.txt", "x"));
    EXPECT_EQ(lookUpName(made, "Q1.TXT"), "q1.txt");
    EXPECT_EQ(lookUpName(dir.path(), "B11"), "b11");

    // A folder claimed in a parent just made: the parent's listing learns of it.
    const QString parent = dir.filePath("t");
    ASSERT_TRUE(MakeDirPath(parent));
    ASSERT_TRUE(MakeNewDir(parent + "/Test"));
    EXPECT_EQ(lookUpName(parent, "test"), "Test");
    EXPECT_FALSE(MakeNewDir(parent + "/Test")) << "taken meanwhile";
    ASSERT_TRUE(replaceWholeFile(parent + "/Test/vt1.txt", "x"));
    EXPECT_EQ(lookUpName(parent + "/Test", "vt1.txt"), "vt1.txt");
    EXPECT_FALSE(MakeDirPath(dir.filePath("a.txt"))) << "a file in the way";
    EXPECT_TRUE(MakeDirPath(dir.filePath("deep/er/still"))) << "parents made too";
}

TEST(Folders, ARewriteKeepsTheFilesPermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath("q1.txt");
    for (const mode_t mode : {mode_t(0600), mode_t(0644), mode_t(0664), mode_t(0666)}) {
        ASSERT_TRUE(replaceWholeFile(path, "old"));
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        ASSERT_TRUE(replaceWholeFile(path, "new"));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
    }
}

TEST(Folders, NewNamesStayWhereTheyAreMadeAndOpenOnWindows) {
    for (const QString& name : {QStringLiteral("Физика"), QStringLiteral("Anketa 2"),
                                QStringLiteral("a.b"), QString(200, QLatin1Char('x'))}) {
        EXPECT_TRUE(isSafeNewName(name)) << name.toStdString();
    }
    for (const QString& name :
         {QString(), QStringLiteral("   "), QStringLiteral(".."), QStringLiteral("../t"),
          QStringLiteral("a/b"), QStringLiteral("a\\b"), QStringLiteral("C:"),
          QStringLiteral("what?"), QStringLiteral("a*"), QStringLiteral("\"q\""),
          QStringLiteral("name."), QStringLiteral("name "), QStringLiteral("con"),
          QStringLiteral("LPT1.txt"), QStringLiteral("tab\there"), QString(256, 'x')}) {
        EXPECT_FALSE(isSafeNewName(name)) << name.toStdString();
    }
}
