#include "platform/application_folder.h"

#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Every file below the folder with its bytes, by relative path.
std::map<QString, QByteArray> filesBelow(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = bytesOf(path);
    }
    return files;
}

// A small installed sample: settings, an exam file and an empty report folder kept by
// its placeholder.
QString makeSample(const QTemporaryDir& dir) {
    const QString sample = dir.filePath("share/proveron/data");
    putBytes(sample + "/test.ini", "[test]\r\nre=rus\r\n");
    putBytes(sample + "/b/exam/lzm.lzm", "\xcc\xe0\xf2\xe5\xec\xe0\xf2\xe8\xea\xe0\r\n");
    putBytes(sample + "/s/.keep", "");
    return sample;
}

// Gives the folder back to its owner after a test made it read-only.
void reopen(const QString& folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(ApplicationFolder, ChoiceFollowsCommandLineThenEnvironmentThenProgramThenUser) {
    QTemporaryDir dir;
    const QString program = dir.filePath("bin");
    const QString user = dir.filePath("home/.local/share/proveron");
    QDir().mkpath(program);

    // A program folder without settings is an installed program: the user's folder.
    FolderChoice choice = chooseApplicationFolder({}, {}, program, user);
    EXPECT_EQ(choice.source, FolderSource::UserData);
    EXPECT_EQ(choice.folder, user);

    // With its settings it is a build tree or a portable copy, and trailing separators go.
    putBytes(program + "/test.ini", "");
    choice = chooseApplicationFolder({}, {}, program + "/", user);
    EXPECT_EQ(choice.source, FolderSource::ProgramFolder);
    EXPECT_EQ(choice.folder, program);

    choice = chooseApplicationFolder({}, dir.filePath("shared/"), program, user);
    EXPECT_EQ(choice.source, FolderSource::Environment);
    EXPECT_EQ(choice.folder, dir.filePath("shared"));

    // The command line beats the environment; a relative name is the current folder's.
    choice = chooseApplicationFolder(QStringLiteral("lab/../exams"), dir.filePath("shared"),
                                     program, user);
    EXPECT_EQ(choice.source, FolderSource::CommandLine);
    EXPECT_EQ(choice.folder, QDir::current().absoluteFilePath(QStringLiteral("exams")));

    // Nothing was made or written while choosing.
    EXPECT_FALSE(QFileInfo::exists(user));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("shared")));
}

TEST(ApplicationFolder, ProgramFolderThatCannotBeWrittenLeavesItToTheUserFolder) {
    QTemporaryDir dir;
    const QString program = dir.filePath("bin");
    putBytes(program + "/test.ini", "[test]\r\n");
    makeReadOnlyFolder(dir.path(), program);
    FolderChoice choice;
    bool writable = true;
    {
        AsUnprivilegedUser user;
        choice = chooseApplicationFolder({}, {}, program, dir.filePath("user"));
        writable = canWriteInFolder(program);
    }
    reopen(program);
    EXPECT_FALSE(writable);
    EXPECT_EQ(choice.source, FolderSource::UserData);
    EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"test.ini"});
}

TEST(ApplicationFolder, UserFolderIsFilledOnceAndNeverOverwritten) {
    QTemporaryDir dir;
    const QString sample = makeSample(dir);
    const FolderChoice choice{dir.filePath("home/.local/share/proveron"), FolderSource::UserData};

    FolderReadiness ready = prepareApplicationFolder(choice, sample);
    EXPECT_EQ(ready.problem, FolderProblem::None);
    std::map<QString, QByteArray> expected = filesBelow(sample);
    expected.erase("s/.keep");
    EXPECT_EQ(filesBelow(choice.folder), expected);
    EXPECT_TRUE(QFileInfo(choice.folder + "/s").isDir());

    // The user's own changes stay: a changed setting, a removed sample exam, a report.
    putBytes(choice.folder + "/test.ini", "[test]\r\nre=eng\r\n");
    QDir(choice.folder + "/b/exam").removeRecursively();
    putBytes(choice.folder + "/s/oth.txt", "record\r\n");
    ready = prepareApplicationFolder(choice, sample);
    EXPECT_EQ(ready.problem, FolderProblem::None);
    EXPECT_EQ(bytesOf(choice.folder + "/test.ini"), QByteArray("[test]\r\nre=eng\r\n"));
    EXPECT_FALSE(QFileInfo::exists(choice.folder + "/b/exam"));
    EXPECT_EQ(bytesOf(choice.folder + "/s/oth.txt"), QByteArray("record\r\n"));

    // Without its settings the folder is filled again, copying only what is missing.
    QFile::remove(choice.folder + "/test.ini");
    putBytes(choice.folder + "/b/exam/lzm.lzm", "mine\r\n");
    EXPECT_EQ(prepareApplicationFolder(choice, sample).problem, FolderProblem::None);
    EXPECT_EQ(bytesOf(choice.folder + "/b/exam/lzm.lzm"), QByteArray("mine\r\n"));
    EXPECT_EQ(bytesOf(choice.folder + "/test.ini"), bytesOf(sample + "/test.ini"));
}

TEST(ApplicationFolder, BundledDataSeedsAWorkingFolder) {
    QTemporaryDir dir;
    const FolderChoice choice{dir.filePath("user"), FolderSource::UserData};
    ASSERT_EQ(prepareApplicationFolder(choice, PROVERON_DATA_DIR).problem, FolderProblem::None);
    std::map<QString, QByteArray> expected = filesBelow(PROVERON_DATA_DIR);
    expected.erase("s/.keep");
    EXPECT_EQ(filesBelow(choice.folder), expected);
}

TEST(ApplicationFolder, InterruptedFillingIsFinishedOnTheNextStart) {
    QTemporaryDir dir;
    const QString sample = makeSample(dir);
    const QString user = dir.filePath("user");
    // A file where the exam folder belongs stops the copy before the settings are made.
    putBytes(user + "/b", "in the way");
    const FolderChoice choice{user, FolderSource::UserData};
    FolderReadiness ready = prepareApplicationFolder(choice, sample);
    EXPECT_EQ(ready.problem, FolderProblem::CopyFailed);
    EXPECT_EQ(ready.path, user + "/b");
    EXPECT_FALSE(QFileInfo::exists(user + "/test.ini"));
    EXPECT_EQ(bytesOf(user + "/b"), QByteArray("in the way"));

    QFile::remove(user + "/b");
    EXPECT_EQ(prepareApplicationFolder(choice, sample).problem, FolderProblem::None);
    EXPECT_EQ(bytesOf(user + "/b/exam/lzm.lzm"), bytesOf(sample + "/b/exam/lzm.lzm"));
    EXPECT_TRUE(QFileInfo::exists(user + "/test.ini"));
}

TEST(ApplicationFolder, UserFolderProblems) {
    QTemporaryDir dir;
    const FolderChoice fresh{dir.filePath("user"), FolderSource::UserData};
    FolderReadiness ready = prepareApplicationFolder(fresh, dir.filePath("no/such/data"));
    EXPECT_EQ(ready.problem, FolderProblem::NoSampleData);
    EXPECT_EQ(ready.path, dir.filePath("no/such/data"));

    // No user data folder at all (no home): nothing is made in the current folder.
    ready = prepareApplicationFolder(chooseApplicationFolder({}, {}, dir.filePath("bin"), {}),
                                     dir.filePath("no/such/data"));
    EXPECT_EQ(ready.problem, FolderProblem::CannotCreate);

    const QString sample = makeSample(dir);
    const QString locked = dir.filePath("locked");
    QDir().mkdir(locked);
    makeReadOnlyFolder(dir.path(), locked);
    {
        AsUnprivilegedUser user;
        ready = prepareApplicationFolder({locked + "/proveron", FolderSource::UserData}, sample);
    }
    reopen(locked);
    EXPECT_EQ(ready.problem, FolderProblem::CannotCreate);
    EXPECT_EQ(ready.path, locked + "/proveron");
}

TEST(ApplicationFolder, NamedFolderMustExistAndBeWritableAndOnlyAnEmptyOneIsFilled) {
    QTemporaryDir dir;
    const QString sample = makeSample(dir);
    const auto named = [](const QString& folder) {
        return FolderChoice{folder, FolderSource::CommandLine};
    };

    FolderReadiness ready = prepareApplicationFolder(named(dir.filePath("missing")), sample);
    EXPECT_EQ(ready.problem, FolderProblem::Missing);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));

    putBytes(dir.filePath("plain"), "x");
    EXPECT_EQ(prepareApplicationFolder(named(dir.filePath("plain")), sample).problem,
              FolderProblem::NotAFolder);

    const QString locked = dir.filePath("locked");
    putBytes(locked + "/test.ini", "[test]\r\n");
    makeReadOnlyFolder(dir.path(), locked);
    {
        AsUnprivilegedUser user;
        ready = prepareApplicationFolder({locked, FolderSource::Environment}, sample);
    }
    reopen(locked);
    EXPECT_EQ(ready.problem, FolderProblem::ReadOnly);
    EXPECT_EQ(ready.path, locked);

    // A new shared folder gets the sample set-up.
    const QString shared = dir.filePath("shared");
    QDir().mkdir(shared);
    EXPECT_EQ(prepareApplicationFolder(named(shared), sample).problem, FolderProblem::None);
    EXPECT_EQ(bytesOf(shared + "/test.ini"), bytesOf(sample + "/test.ini"));

    // A folder that holds anything at all is used as it is.
    const QString other = dir.filePath("other");
    putBytes(other + "/notes.txt", "mine");
    EXPECT_EQ(prepareApplicationFolder(named(other), sample).problem, FolderProblem::None);
    EXPECT_EQ(filesBelow(other).size(), 1u);
}

TEST(ApplicationFolder, ProblemTextsNameTheFolderInBothLanguages) {
    for (FolderProblem problem :
         {FolderProblem::Missing, FolderProblem::NotAFolder, FolderProblem::CannotCreate,
          FolderProblem::ReadOnly, FolderProblem::NoSampleData, FolderProblem::CopyFailed}) {
        const QString text = folderProblemText({problem, QStringLiteral("/srv/Экзамены 50%")});
        EXPECT_EQ(text.count(QStringLiteral("/srv/Экзамены 50%")), 2) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("папк"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("folder"))) << text.toStdString();
    }
    EXPECT_EQ(folderProblemText({}), QString());
    EXPECT_TRUE(
        folderChoiceText({QStringLiteral("/home/u/.local/share/proveron"), FolderSource::UserData})
            .startsWith(QStringLiteral("/home/u/.local/share/proveron\n")));
}
