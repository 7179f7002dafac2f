// Files shared by the copies of the program in a lab: report appends and settings stores
// take turns under a lock file, a record is never torn or fused, a lock left behind by a
// copy that died is taken over, and one that is held too long is reported.

#include "common/file_messages.h"
#include "common/reports.h"
#include "platform/file_lock.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <sys/time.h>

using namespace platform;
using namespace std::chrono_literals;

namespace {
const QString kWorker = QStringLiteral(PROVERON_FILE_WORKER);

// A lock as a copy of the program leaves it, `ageSeconds` old.
void putLock(const QString& lock, const QByteArray& owner, int ageSeconds) {
    removeEntry(lock);
    ASSERT_TRUE(QDir().mkpath(lock));
    ASSERT_TRUE(putBytes(lock + "/owner", owner));
    const qint64 when = QDateTime::currentSecsSinceEpoch() - ageSeconds;
    const struct timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(lock).constData(), times), 0);
}
} // namespace

TEST(SharedFiles, ARecordNeverJoinsATornOne) {
    QTemporaryDir dir;
    const QString report = dir.filePath("s/oth.txt");
    // A copy killed half-way through its record left this tail.
    putBytes(report, "one\r\r\n\r\n\r\nДата: 15.0");
    ASSERT_TRUE(appendReport(report, "two\r\r\n"));
    EXPECT_EQ(bytesOf(report), "one\r\r\n\r\n\r\nДата: 15.0\r\ntwo\r\r\n");
    // A torn line that ended in its first CR is closed the same way.
    putBytes(report, "one\r");
    ASSERT_TRUE(appendReport(report, "two\r\n"));
    EXPECT_EQ(bytesOf(report), "one\r\r\ntwo\r\n");
    // A whole file gets nothing added; nor does a new one.
    ASSERT_TRUE(appendReport(report, "three\r\n"));
    EXPECT_EQ(bytesOf(report), "one\r\r\ntwo\r\nthree\r\n");
    ASSERT_TRUE(appendReport(dir.filePath("s/lzm.txt"), "first"));
    EXPECT_EQ(bytesOf(dir.filePath("s/lzm.txt")), "first");
    EXPECT_EQ(QDir(dir.filePath("s")).entryList(QDir::Files), QStringList({"lzm.txt", "oth.txt"}))
        << "no lock file stays behind";
}

TEST(SharedFiles, ALockHeldTooLongIsReportedAndChangesNothing) {
    QTemporaryDir dir;
    const QString report = dir.filePath("oth.txt");
    const QString ini = dir.filePath("test.ini");
    putBytes(report, "old\r\n");
    putBytes(ini, "[test]\r\npass=old\r\n");
    auto reportLock = std::make_unique<FileLock>(report, 0ms);
    const FileLock iniLock(ini, 0ms);
    ASSERT_TRUE(reportLock->held() && iniLock.held());

    const WriteResult appended = appendText(report, "new\r\n", 200ms);
    EXPECT_TRUE(appended.busy());
    const WriteResult stored = writeProfileStrings(ini, "test", {{"pass", "new"}}, 200ms);
    EXPECT_TRUE(stored.busy());
    EXPECT_EQ(bytesOf(report), "old\r\n");
    EXPECT_EQ(bytesOf(ini), "[test]\r\npass=old\r\n");
    EXPECT_EQ(writeFailureNote(appended, "rus"),
              QStringLiteral("\nФайл занят другой копией программы."));
    EXPECT_EQ(writeFailureNote(stored, "eng"),
              "\nAnother copy of the program is writing this file.");
    EXPECT_EQ(writeFailureNote(WriteResult::Failed, "eng"), "");

    // Let go within the wait: the writer goes on.
    reportLock.reset();
    EXPECT_TRUE(appendText(report, "new\r\n", 200ms));
    EXPECT_EQ(bytesOf(report), "old\r\nnew\r\n");
}

TEST(SharedFiles, ALockLeftByACopyThatDiedIsTakenOver) {
    QTemporaryDir dir;
    const QString report = dir.filePath("oth.txt");
    // A copy on this computer killed while it held the lock: seen at once by its process id.
    QProcess holder;
    holder.start(kWorker, {"hold", report});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readAllStandardOutput(), "held\n");
    EXPECT_TRUE(appendText(report, "x\r\n", 100ms).busy()) << "a live holder keeps it";
    const qint64 holderPid = holder.processId();
    holder.kill();
    holder.waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(lockFilePath(report)));
    EXPECT_TRUE(appendText(report, "after a kill\r\n", 2000ms));

    // On a share, where another computer may hold it: a lock naming this computer whose
    // process is gone is taken over at once...
    markSharedFileSystem(dir.path());
    const QString lock = lockFilePath(report);
    const QByteArray here = QSysInfo::machineHostName().toUtf8() + '\n' +
                            bytesOf("/proc/sys/kernel/random/boot_id").trimmed() + '\n';
    putLock(lock, "proveron-lock\n" + here + QByteArray::number(holderPid) + "\n1\n", 0);
    EXPECT_TRUE(appendText(report, "after a kill there\r\n", 300ms));
    // ...one of another computer that was switched off once it is older than a write could
    // take, by the share's own clock...
    putLock(lock, "proveron-lock\nanother-computer\nboot\n4242\n1\n", 60);
    EXPECT_TRUE(appendText(report, "after a switch-off\r\n", 2000ms));
    EXPECT_EQ(bytesOf(report), "after a kill\r\nafter a kill there\r\nafter a switch-off\r\n");
    // ...and the same lock when fresh is a copy still at work there.
    putLock(lock, "proveron-lock\nanother-computer\nboot\n4242\n1\n", 0);
    EXPECT_TRUE(writeProfileStrings(dir.filePath("oth.txt"), "s", {{"k", "v"}}, 300ms).busy());
}

TEST(SharedFiles, AReportInAFolderThatTakesNoNewFilesIsStillAppendedTo) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("s");
    putBytes(folder + "/oth.txt", "old\r\n");
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                          QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QFile::setPermissions(folder + "/oth.txt", everyone);
    makeReadOnlyFolder(dir.path(), folder);
    WriteResult appended = WriteResult::Failed;
    {
        AsUnprivilegedUser user;
        appended = appendReport(folder + "/oth.txt", "new\r\n");
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(appended) << "no copy can hold a lock there, so none is needed";
    EXPECT_EQ(bytesOf(folder + "/oth.txt"), "old\r\nnew\r\n");
}

TEST(SharedFiles, CopiesAppendingToAFullDiskLoseNoRecordReportedSaved) {
    QTemporaryDir dir;
    SmallDisk disk(dir.path(), 128);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    const QString report = dir.path() + "/oth.txt";
    // Six copies of 200 records each, short ones and long ones: far more than 128 KiB
    // holds. Once it is full, a short record still fits in the room left on the report's
    // last page while a long one fails and is cut back: the cut must not take the short one.
    std::vector<QStringList> copies;
    for (int id = 1; id <= 6; ++id) {
        const int size = id % 2 == 1 ? 40 * id : 1500 * id;
        copies.push_back({"append", report, QString::number(id), "200", QString::number(size)});
    }
    const auto outputs = runWorkers(kWorker, copies);
    const WorkerReport written = readWorkerReport(report);

    EXPECT_EQ(lostOrGhostRecords(outputs, written), QStringList());
    EXPECT_EQ(written.damaged, QStringList());
    EXPECT_EQ(written.duplicates, 0);
    EXPECT_GT(written.records.size(), 20u) << "the disk took some";
    EXPECT_LT(written.records.size(), 1200u) << "and refused others";
}

TEST(SharedFiles, CopiesStoringSettingsKeepEachOthersKeys) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("test.ini");
    putBytes(ini, "; hand-made\r\n[test]\rre=rus\r");
    std::vector<QStringList> copies;
    for (int id = 1; id <= 4; ++id)
        copies.push_back({"store", ini, QString::number(id), "20"});
    const auto outputs = runWorkers(kWorker, copies);
    for (const QStringList& output : outputs) {
        ASSERT_EQ(output.size(), 20);
        for (const QString& line : output) {
            const QStringList words = line.split(' ');
            ASSERT_EQ(words.value(2), "saved") << line.toStdString();
            EXPECT_EQ(readProfileString(ini, "test", "k" + words[0] + "_" + words[1]), words[1]);
        }
        EXPECT_EQ(readProfileString(ini, "test", "c" + output[0].section(' ', 0, 0)), "20");
    }
    EXPECT_EQ(readProfileString(ini, "test", "re"), "rus");
    EXPECT_TRUE(bytesOf(ini).startsWith("; hand-made\r\n[test]\rre=rus\r"));
}
