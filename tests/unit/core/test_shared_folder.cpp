// A shared folder every student can write: nothing is written through a link or into a
// special file, a lock no copy holds is cleared or named, appends never go unlocked,
// killed saves leave nothing behind for long, a question's files are saved whole or not at
// all, exam names are refused for what is wrong with them, and big files neither exhaust
// memory nor get loaded.

#include "common/file_messages.h"
#include "common/reports.h"
#include "exam_content/exam_writer.h"
#include "exam_content/ticket_editor.h"
#include "platform/ansi_codec.h"
#include "platform/application_folder.h"
#include "platform/file_lock.h"
#include "platform/profile_file.h"
#include "platform/text_encoding.h"
#include "platform/text_files.h"
#include "teacher_tools/journal.h"
#include "test_support.h"
#include "tester/questionnaire_files.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using namespace std::chrono_literals;

namespace {

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

void makeLink(const QString& target, const QString& link) {
    QDir().mkpath(QFileInfo(link).path());
    ASSERT_EQ(::symlink(encoded(target).constData(), encoded(link).constData()), 0);
}

void makeFifo(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_EQ(::mkfifo(encoded(path).constData(), 0666), 0);
}

void age(const QString& path, int seconds) {
    const qint64 when = QDateTime::currentSecsSinceEpoch() - seconds;
    const struct timeval times[2] = {{when, 0}, {when, 0}};
    ::utimes(encoded(path).constData(), times);
}

// Runs `work` and says whether it came back within 5 s; a read blocked on the FIFO is then
// let go by opening its other end, so the test ends either way.
template <typename Work> bool returnsAtOnce(const QString& fifo, Work work) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(5s) == std::future_status::ready) return true;
    const int other = ::open(encoded(fifo).constData(), O_RDWR | O_NONBLOCK);
    done.wait();
    ::close(other);
    return false;
}

} // namespace

TEST(SharedFolder, NothingIsWrittenThroughALinkOrIntoASpecialFile) {
    QTemporaryDir dir;
    const QString app = dir.filePath("app");
    const QString victim = dir.filePath("home/.bashrc");
    putBytes(victim, "safe\n");
    setApplicationFolderRoot(app);
    // A student's links: the report, the settings file and a question file to another
    // user's file, and the report folder of a second lab to another user's home.
    makeLink(victim, app + "/s/oth.txt");
    makeLink(victim, app + "/test.ini");
    makeLink(victim, app + "/b/e/b1/q1.txt");
    makeLink(dir.filePath("home"), app + "/s2");

    const WriteResult appended = appendReport(app + "/s/oth.txt", "Иванов\r\n");
    EXPECT_EQ(appended.kind(), WriteResult::NotPlain);
    EXPECT_EQ(appended.file(), app + "/s/oth.txt");
    EXPECT_TRUE(writeFailureNote(appended, "eng").contains(app + "/s/oth.txt"));
    EXPECT_EQ(writeProfileStrings(app + "/test.ini", "test", {{"re", "eng"}}).kind(),
              WriteResult::NotPlain);
    EXPECT_FALSE(writeWholeFile(app + "/b/e/b1/q1.txt", "question"));
    EXPECT_EQ(appendReport(app + "/s2/oth.txt", "x\r\n").kind(), WriteResult::NotPlain);
    EXPECT_EQ(bytesOf(victim), "safe\n");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("home/oth.txt")));
    EXPECT_TRUE(QFileInfo(app + "/b/e/b1/q1.txt").isSymLink()) << "the link itself stays";

    // FIFOs in the place of the report and the settings file: refused at once, never read.
    const QString fifoReport = app + "/s3/oth.txt";
    const QString fifoIni = app + "/t/A/A.tst";
    makeFifo(fifoReport);
    makeFifo(fifoIni);
    EXPECT_TRUE(returnsAtOnce(fifoReport, [&] {
        EXPECT_EQ(appendReport(fifoReport, "x\r\n").kind(), WriteResult::NotPlain);
    }));
    EXPECT_TRUE(returnsAtOnce(fifoReport, [&] { EXPECT_FALSE(readWholeFile(fifoReport)); }));
    EXPECT_TRUE(returnsAtOnce(fifoIni, [&] { EXPECT_FALSE(readProfileFile(fifoIni)); }));
    EXPECT_TRUE(returnsAtOnce(fifoIni, [&] {
        EXPECT_EQ(writeProfileStrings(fifoIni, "v", {{"t", "x"}}).kind(), WriteResult::NotPlain);
    }));
    EXPECT_TRUE(returnsAtOnce(fifoReport, [&] {
        EXPECT_FALSE(teacher_tools::readJournalFile(fifoReport,
                                                    teacher_tools::Wording(QStringLiteral("eng"))));
    }));
    EXPECT_TRUE(returnsAtOnce(fifoReport, [&] { EXPECT_FALSE(readBytes(fifoReport)); }));
    setApplicationFolderRoot({});
}

TEST(SharedFolder, StuckLocksAreClearedWhenSafeAndNamedWhenNot) {
    QTemporaryDir dir;
    const QString report = dir.filePath("oth.txt");
    const QString lock = lockFilePath(report);
    QElapsedTimer timer;
    timer.start();
    // A dangling link, an empty folder, a 0-byte file and a garbage owner left by a copy
    // killed while it took the lock: nobody holds any of them, and each goes at once.
    makeLink(dir.filePath("gone"), lock);
    EXPECT_TRUE(appendText(report, "1\r\n", 300ms));
    ASSERT_TRUE(QDir().mkpath(lock));
    EXPECT_TRUE(appendText(report, "2\r\n", 300ms));
    putBytes(lock, "");
    EXPECT_TRUE(appendText(report, "3\r\n", 300ms));
    QDir().mkpath(lock);
    putBytes(lock + "/owner", "\x01\x02garbage");
    EXPECT_TRUE(writeProfileStrings(report + ".ini", "s", {{"k", "v"}}, 300ms));
    EXPECT_TRUE(appendText(report, "4\r\n", 300ms));
    EXPECT_LT(timer.elapsed(), 1000) << "no wait for an age rule";
    EXPECT_EQ(bytesOf(report), "1\r\n2\r\n3\r\n4\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"oth.txt", "oth.txt.ini"}))
        << "nothing stays behind";

    // A dead copy's lock that belongs to another account, in a folder with the sticky bit
    // (every student may add files, none may remove another's): named, not "busy".
    const QString sticky = dir.filePath("s");
    ::chmod(encoded(dir.path()).constData(), 0755);
    QDir().mkpath(sticky + "/oth.txt.lock");
    putBytes(sticky + "/oth.txt.lock/owner", "");
    ::chmod(encoded(sticky + "/oth.txt.lock/owner").constData(), 0600);
    putBytes(sticky + "/oth.txt", "");
    ::chmod(encoded(sticky).constData(), 01777);
    ::chmod(encoded(sticky + "/oth.txt").constData(), 0666);
    WriteResult stuck = WriteResult::Written;
    {
        AsUnprivilegedUser student;
        if (::geteuid() != 65534) GTEST_SKIP() << "needs root to play two accounts";
        stuck = appendReport(sticky + "/oth.txt", "x\r\n");
    }
    EXPECT_EQ(stuck.kind(), WriteResult::StuckLock);
    EXPECT_EQ(stuck.file(), sticky + "/oth.txt.lock");
    EXPECT_EQ(writeFailureNote(stuck, "rus"),
              "\nБлокировку «" + sticky +
                  "/oth.txt.lock» оставила копия программы, которой уже нет, а эта копия "
                  "удалить её не может. Удалите её вручную.");
    EXPECT_EQ(bytesOf(sticky + "/oth.txt"), "");
}

TEST(SharedFolder, AppendsNeverGoUnlocked) {
    // The report folder takes no new files, so no lock file can be made: the report itself
    // is locked, and a copy holding it keeps the others out.
    QTemporaryDir dir;
    const QString folder = dir.filePath("s");
    const QString report = folder + "/oth.txt";
    putBytes(report, "old\r\n");
    ::chmod(encoded(report).constData(), 0666);
    makeReadOnlyFolder(dir.path(), folder);
    const int held = ::open(encoded(report).constData(), O_RDWR);
    ASSERT_TRUE(lockWholeFile(held, 0ms));
    WriteResult whileHeld = WriteResult::Written;
    WriteResult afterwards = WriteResult::Failed;
    {
        AsUnprivilegedUser student;
        whileHeld = appendText(report, "one\r\n", 200ms);
        std::thread([held] {
            std::this_thread::sleep_for(100ms);
            ::close(held);
        }).detach();
        afterwards = appendText(report, "two\r\n", 3000ms);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(whileHeld.busy());
    EXPECT_TRUE(afterwards);
    EXPECT_EQ(bytesOf(report), "old\r\ntwo\r\n");
}

TEST(SharedFolder, KilledSavesLeaveNothingBehindForLong) {
    QTemporaryDir dir;
    const QString app = dir.filePath("app");
    putBytes(app + "/test.ini", "[test]\r\n");
    // What copies killed while saving left: a settings temporary, a ticket file's, a lock
    // being taken and one let go; and the same made a moment ago by a copy still at work.
    const QStringList stale{
        "test.ini.pvr-0123456789abcdef.tmp", "b/e/b1/q1.txt.pvr-00000000000000aa.tmp",
        "s/oth.txt.lock.pvr-00000000000000bb.lck", "s/oth.txt.lock.pvr-00000000000000cc.old"};
    for (const QString& name : stale) {
        if (name.endsWith(".tmp"))
            putBytes(app + "/" + name, "half");
        else
            QDir().mkpath(app + "/" + name);
        age(app + "/" + name, 3600);
    }
    putBytes(app + "/test.ini.pvr-0000000000000fff.tmp", "a save at work");
    putBytes(app + "/test.ini.bak", "the teacher's");
    putBytes(app + "/b/e/b1/q1.txt.0123456789abcdef.tmp", "not ours");
    const FolderReadiness ready = prepareApplicationFolder({app, FolderSource::CommandLine}, {});
    setApplicationFolderRoot({});
    EXPECT_EQ(ready.problem, FolderProblem::None);
    for (const QString& name : stale)
        EXPECT_FALSE(QFileInfo::exists(app + "/" + name)) << name.toStdString();
    EXPECT_TRUE(QFileInfo::exists(app + "/test.ini.pvr-0000000000000fff.tmp"));
    EXPECT_TRUE(QFileInfo::exists(app + "/test.ini.bak"));
    EXPECT_TRUE(QFileInfo::exists(app + "/b/e/b1/q1.txt.0123456789abcdef.tmp"));
}

TEST(SharedFolder, AQuestionsFilesAreSavedAllOrNothing) {
    AppFixture f;
    const QString ticket = f.app.path("b/e/b1");
    ASSERT_TRUE(exam_writer::writeQuestion(ticket, 1, {"old q", "old v", "old o"}));
    // The answer file cannot be replaced (a folder of that name): the question and its
    // variants keep their old text.
    QFile::remove(ticket + "/o1.txt");
    QDir().mkpath(ticket + "/o1.txt");
    EXPECT_EQ(exam_writer::writeQuestion(ticket, 1, {"new q", "new v", "new o"}).file(),
              ticket + "/o1.txt");
    EXPECT_EQ(bytesOf(ticket + "/q1.txt"), "old q\r\n");
    EXPECT_EQ(bytesOf(ticket + "/v1.txt"), "old v\r\n");
    EXPECT_EQ(QDir(ticket).entryList(QDir::Files), QStringList({"q1.txt", "v1.txt"}));

    // The test editor: a question's text and its answers in the test file, on a disk with
    // room for the text but not for the test file.
    QTemporaryDir disk;
    SmallDisk small(disk.path(), 64);
    if (!small.mounted()) GTEST_SKIP() << small.whyNot().toStdString();
    const QString test = disk.path() + "/A";
    putBytes(test + "/A.tst", "[v]\r\nt=A\r\n[1]\r\nq1=" + QByteArray(30000, 'a') + "\r\n");
    putBytes(test + "/vt1.txt", "old\r\n");
    small.fill(8);
    questionnaire_files::Question question;
    question.answers[0] = QString(20000, QLatin1Char('b'));
    const WriteResult saved = questionnaire_files::writeQuestionAndText(
        test + "/A.tst", "1", question, test + "/vt1.txt", "new");
    small.release();
    EXPECT_FALSE(saved);
    EXPECT_EQ(bytesOf(test + "/vt1.txt"), "old\r\n");
    EXPECT_TRUE(bytesOf(test + "/A.tst").contains("q1=aaa"));
    EXPECT_EQ(QDir(test).entryList(QDir::Files), QStringList({"A.tst", "vt1.txt"}));
}

TEST(SharedFolder, ExamNamesAreRefusedForWhatIsWrongWithThem) {
    AppFixture f;
    writeProfileString(f.app.settingsFile(), "test", "time", "1");
    writeProfileString(f.app.settingsFile(), "test", "re", "eng");
    Form7& editor = f.app.window<Form7>();
    auto refusal = [&](const QString& name) {
        f.app.userEvent([&] {
            editor.Command9.press();
            editor.Text9.setText(name);
            editor.Command5.press();
        });
        const QString text = f.desktop.messages.empty() ? "" : f.desktop.messages.back().text;
        f.desktop.messages.clear();
        return text;
    };
    const QString device = "Windows keeps this name for a device";
    for (const char* name : {"CON", "conin$", "CONOUT$", "lpt1.txt", "COM9", "Nul .doc"})
        EXPECT_TRUE(refusal(name).contains(device)) << name;
    EXPECT_TRUE(refusal("x.").contains("may not end in a blank or a dot"));
    EXPECT_TRUE(refusal("a:b").contains("may not hold"));
    const QString tooLong = "the name is too long for the file system";
    EXPECT_TRUE(refusal(QString(256, 'x')).contains(tooLong));
    EXPECT_TRUE(refusal(QString(128, QChar(0x0416))).contains(tooLong)) << "256 bytes on the disk";
    EXPECT_EQ(refusal("CONSOLE"), "") << "only the device names themselves";
    EXPECT_EQ(examNameRefusal(NameProblem::BadEnd, "x ", "rus"),
              "Такое имя папки экзамена нельзя использовать: «x »: имя не может кончаться "
              "пробелом или точкой.");
}

TEST(SharedFolder, BigFilesAreReadAPieceAtATimeOrRefused) {
    QTemporaryDir dir;
    // A settings file over 16 MB is refused with a message, not loaded.
    const QString ini = dir.filePath("test.ini");
    putBytes(ini, "[test]\r\nre=rus\r\n");
    ASSERT_TRUE(QFile::resize(ini, kLargestSettingsFile + 1));
    const WriteResult stored = writeProfileStrings(ini, "test", {{"re", "eng"}});
    EXPECT_EQ(stored.kind(), WriteResult::TooLarge);
    EXPECT_EQ(writeFailureNote(stored, "eng"),
              "\nThe file \"" + ini + "\" is larger than 16 MB: the program does not read it.");
    EXPECT_FALSE(readProfileFile(ini));
    EXPECT_EQ(QFileInfo(ini).size(), kLargestSettingsFile + 1);

    // The journal reads the report a piece at a time and finds what a whole read finds,
    // records across the pieces' borders included.
    const QString report = dir.filePath("oth.txt");
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes += toAnsi(QStringLiteral("Дата: 15.01.2026 Время: 10:%1:00\r\r\n"
                                       "Ф.И.О ,  Данные  Студент %2\r\r\nБилет № b1\r\r\n"
                                       "Вопрос 1 Оценка 5\r\r\n=====\r\r\n")
                            .arg(i % 60, 2, 10, QLatin1Char('0'))
                            .arg(i));
    }
    putBytes(report, bytes);
    const teacher_tools::Wording say(QStringLiteral("rus"));
    const std::optional<teacher_tools::Journal> streamed =
        teacher_tools::readJournalFile(report, say);
    const teacher_tools::Journal whole = teacher_tools::readJournal(bytes, say);
    ASSERT_TRUE(streamed);
    ASSERT_EQ(streamed->rows.size(), 3000u);
    EXPECT_EQ(streamed->rows.size(), whole.rows.size());
    EXPECT_EQ(streamed->rows.back().name, whole.rows.back().name);
    EXPECT_EQ(streamed->rows.back().line, whole.rows.back().line);
    EXPECT_EQ(streamed->problems.size(), whole.problems.size());
}
