// The class view's ground: the status file each computer writes, the writer that must never
// hold the student up, and the board that judges the rows the teacher sees.

#include "common/class_status.h"
#include "teacher_tools/class_board.h"
#include "teacher_tools/class_monitor.h"

#include "platform/ansi_codec.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace class_status;
using class_board::Board;
using class_board::Condition;

namespace {

Status someStatus() {
    Status status;
    status.computer = "pc07";
    status.user = "ivanov";
    status.student = "Иванов Пётр";
    status.data = "8А";
    status.mode = Mode::Exam;
    status.subject = "Физика";
    status.ticket = "3";
    status.question = 2;
    status.questions = 5;
    status.answered = 1;
    status.secondsLeft = 754;
    status.state = State::Answering;
    status.written = QDateTime(QDate(2026, 12, 8), QTime(10, 15, 3));
    return status;
}

QString statusPath(const QString& app, const QString& computer) {
    return QDir(app).filePath(kFolder + '/' + fileNameFor(computer));
}

void putStatus(const QString& app, const QString& file, const Status& status) {
    ASSERT_TRUE(putBytes(QDir(app).filePath(kFolder + '/' + file), format(status)));
}

} // namespace

TEST(ClassStatus, FileHoldsWhatWasToldAndNothingThatCouldHarmAReader) {
    Status status = someStatus();
    const QByteArray bytes = format(status);
    EXPECT_EQ(bytes.size(), kFileSize);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    ASSERT_TRUE(parse(bytes).has_value());
    EXPECT_EQ(*parse(bytes), status);

    // A name typed with a line break and a terminal escape: one line, no control character.
    status.student = QString("Пётр\r\nstate=saved\x1b[2J") + QString(500, QChar(u'Ж'));
    const std::optional<Status> read = parse(format(status));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->state, State::Answering);
    EXPECT_FALSE(read->student.contains('\x1b'));
    EXPECT_FALSE(read->student.contains('\n'));
    EXPECT_TRUE(read->student.startsWith("Пётр  state=saved [2J"));
    EXPECT_LE(read->student.toUtf8().size(), 240);
}

TEST(ClassStatus, TornOrForeignFilesAreNoStatus) {
    Status older = someStatus();
    Status newer = older;
    newer.state = State::Saved;
    newer.student = "Сидоров";
    // A reader that caught a rewrite half-way sees the new beginning over the old end.
    const QByteArray torn = format(newer).left(120) + format(older).mid(120);
    EXPECT_FALSE(parse(torn).has_value());
    EXPECT_FALSE(parse(QByteArray()).has_value());
    EXPECT_FALSE(parse(QByteArray(10000, '\0')).has_value());
    EXPECT_FALSE(parse("proveron-status 1\r\nstate=saved\r\nend\r\n").has_value());
    // Hand-made but sealed: unknown keys are passed over, a missing state is unknown, numbers
    // out of range are dropped.
    const std::optional<Status> odd =
        parse(seal("colour=red\r\nquestion=99999999999\r\nleft=-5\r\nmode=car\r\n"));
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->state, State::Unknown);
    EXPECT_EQ(odd->question, 0);
    EXPECT_EQ(odd->secondsLeft, -1);
    EXPECT_EQ(odd->mode, Mode::None);
}

TEST(ClassStatus, FileNamesStayInTheFolder) {
    EXPECT_EQ(fileNameFor("PC-07"), "pc-07.sts");
    EXPECT_EQ(fileNameFor("../../etc/passwd"), "______etc_passwd.sts");
    EXPECT_EQ(fileNameFor("pc07.school.local"), "pc07_school_local.sts");
    EXPECT_EQ(fileNameFor(".hidden"), "_hidden.sts");
    EXPECT_EQ(fileNameFor(""), "computer.sts");
    EXPECT_EQ(fileNameFor("Класс 7"), "класс_7.sts");
    EXPECT_LE(fileNameFor(QString(300, 'a')).size(), 64);
}

TEST(ClassStatus, WriterWritesInTheBackgroundAndNeverFollowsWhatAStudentPlanted) {
    QTemporaryDir app;
    ASSERT_TRUE(QDir(app.path()).mkpath("s"));
    {
        Writer writer;
        writer.start(app.path(), "pc07");
        Status status = someStatus();
        writer.publish(status);
        status.state = State::Saved;
        writer.publish(status);
        ASSERT_TRUE(writer.settle(5000));
        const std::optional<Status> read = parse(bytesOf(statusPath(app.path(), "pc07")));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->state, State::Saved); // the newest wins
        EXPECT_EQ(writer.failed(), 0);
    }

    // A link under the status file's name is never written through; a FIFO does not hold
    // the writer.
    const QString secret = QDir(app.path()).filePath("secret.txt");
    ASSERT_TRUE(putBytes(secret, "teacher's notes"));
    ASSERT_TRUE(QFile::link(secret, statusPath(app.path(), "pc08")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(statusPath(app.path(), "pc09")).constData(), 0666), 0);
    for (const char* computer : {"pc08", "pc09"}) {
        Writer writer;
        writer.start(app.path(), computer);
        writer.publish(someStatus());
        ASSERT_TRUE(writer.settle(5000)) << computer;
        EXPECT_EQ(writer.failed(), 1) << computer;
    }
    EXPECT_EQ(bytesOf(secret), "teacher's notes");

    // No report folder: nothing is made and nothing is said.
    QTemporaryDir bare;
    Writer writer;
    writer.start(bare.path(), "pc07");
    writer.publish(someStatus());
    ASSERT_TRUE(writer.settle(5000));
    EXPECT_EQ(writer.failed(), 1);
    EXPECT_FALSE(QFileInfo::exists(QDir(bare.path()).filePath("s")));
}

TEST(ClassStatus, AppTellsFromItsStart) {
    AppFixture fixture;
    ASSERT_TRUE(QDir(fixture.folder.path()).mkpath("s"));
    fixture.app.startTellingClass("pc01", "student");
    ASSERT_TRUE(fixture.app.settleClassStatus(5000));
    const QString file = statusPath(fixture.folder.path(), "pc01");
    ASSERT_TRUE(parse(bytesOf(file)).has_value());
    EXPECT_EQ(parse(bytesOf(file))->state, State::Idle);
    EXPECT_EQ(parse(bytesOf(file))->user, "student");
}

TEST(ClassBoard, ProblemsComeFirstAndEachStateReadsAsItIs) {
    QTemporaryDir app;
    const QString folder = app.path();
    ASSERT_TRUE(QDir(folder).mkpath("s/class"));
    const QDateTime now(QDate(2026, 12, 8), QTime(10, 20));

    Status answering = someStatus();
    putStatus(folder, "pc02.sts", answering);

    Status notSaved = someStatus();
    notSaved.computer = "pc10";
    notSaved.state = State::NotSaved;
    notSaved.grade = "4,5";
    notSaved.verdict = "Зачет";
    notSaved.passed = true;
    notSaved.reason = "Нет места на устройстве";
    putStatus(folder, "pc10.sts", notSaved);

    Status saved = someStatus();
    saved.computer = "pc03";
    saved.state = State::Saved;
    saved.verdict = "Не зачет";
    saved.dateLine = "Дата: 08.12.2026 Время: 10:01:00";
    saved.nameLine = "Ф.И.О ,  Данные  Иванов Пётр";
    putStatus(folder, "pc03.sts", saved);
    Status lost = saved;
    lost.computer = "pc04";
    lost.nameLine = "Ф.И.О ,  Данные  Кто-то Другой";
    putStatus(folder, "pc04.sts", lost);
    // The report is Windows-1251.
    {
        QFile report(QDir(folder).filePath("s/oth.txt"));
        ASSERT_TRUE(report.open(QIODevice::WriteOnly | QIODevice::Truncate));
        report.write(platform::toAnsi("Дата: 08.12.2026 Время: 10:01:00\r\r\nФ.И.О ,  Данные  "
                                      "Иванов Пётр\r\r\nБилет № b3\r\r\n"));
    }

    // Another computer's name in a file of its own: shown as such, in its own row.
    Status claims = someStatus();
    claims.computer = "pc02";
    claims.mode = Mode::Test;
    claims.state = State::Concluded;
    putStatus(folder, "pc99.sts", claims);
    ASSERT_TRUE(putBytes(QDir(folder).filePath("s/class/pc05.sts"), "\x1b[2J garbage"));
    ASSERT_TRUE(putBytes(QDir(folder).filePath("s/class/notes.txt"), "not a status"));

    Board board(folder);
    board.refresh(now);
    QStringList order;
    for (const class_board::Row& row : board.rows())
        order << row.computer;
    // The saved result missing from the report is not told at once: a share may be late.
    EXPECT_EQ(order, QStringList({"pc10", "pc05", "pc02", "pc03", "pc04", "pc99"}));
    EXPECT_EQ(board.rows()[0].condition, Condition::NotSaved);
    EXPECT_EQ(board.rows()[1].condition, Condition::Unreadable);
    EXPECT_EQ(board.rows()[5].condition, Condition::TestDone);
    EXPECT_EQ(board.rows()[5].claimedName, "pc02");
    EXPECT_EQ(board.rows()[2].claimedName, "pc07"); // someStatus() names pc07

    const class_board::Cells cells = Board::cells(board.rows()[0], "rus");
    EXPECT_EQ(cells.state, "РЕЗУЛЬТАТ НЕ СОХРАНЁН: 4,5, Зачет — Нет места на устройстве");
    EXPECT_EQ(cells.student, "Иванов Пётр, 8А");
    const class_board::Cells running = Board::cells(board.rows()[2], "eng");
    EXPECT_EQ(running.progress, "2 of 5, 1 answered");
    EXPECT_EQ(running.timeLeft, "12:34");
    EXPECT_EQ(running.computer, "pc02 (calls itself \"pc07\")");

    // Later: silence and the missing record show; the record that is there does not.
    board.refresh(now.addSecs(class_board::kSilentAfterSeconds));
    order.clear();
    for (const class_board::Row& row : board.rows())
        order << row.computer + ':' + QString::number(int(row.condition));
    EXPECT_EQ(order.first(), "pc10:" + QString::number(int(Condition::NotSaved)));
    EXPECT_TRUE(order.contains("pc04:" + QString::number(int(Condition::MissingFromReport))));
    EXPECT_TRUE(order.contains("pc02:" + QString::number(int(Condition::Silent))));
    EXPECT_TRUE(order.contains("pc03:" + QString::number(int(Condition::Failed))));
    const class_board::Counts counts = board.counts();
    EXPECT_EQ(counts.problems, 4);
    EXPECT_EQ(counts.inProgress, 1);
    EXPECT_EQ(counts.finished, 4);
    EXPECT_EQ(counts.passed, 1);
    EXPECT_EQ(counts.failed, 2);

    // A computer heard again is no longer silent.
    answering.answered = 2;
    putStatus(folder, "pc02.sts", answering);
    board.refresh(now.addSecs(class_board::kSilentAfterSeconds + 3));
    for (const class_board::Row& row : board.rows()) {
        if (row.computer == "pc02") {
            EXPECT_EQ(row.condition, Condition::Answering);
        }
    }

    // The console table says the same.
    const QString table = teacher_tools::classTable(board, "rus");
    EXPECT_TRUE(table.startsWith("Отвечают: 1"));
    EXPECT_TRUE(table.contains("НЕТ В ОТЧЁТЕ"));
    EXPECT_FALSE(table.contains('\x1b'));

    // A day on, every row is from an earlier class.
    board.refresh(now.addDays(2));
    for (const class_board::Row& row : board.rows())
        EXPECT_EQ(row.condition, row.status ? Condition::Earlier : Condition::Unreadable);
    EXPECT_EQ(board.counts().earlier, 5);
}

TEST(ClassBoard, ReadsOnlyWhatChangedAndArchivesOnlyTheFinished) {
    QTemporaryDir app;
    const QString folder = app.path();
    ASSERT_TRUE(QDir(folder).mkpath("s/class"));
    const QDateTime now(QDate(2026, 12, 8), QTime(10, 20));
    for (int i = 1; i <= 30; ++i) {
        Status status = someStatus();
        status.computer = QString("pc%1").arg(i);
        status.state = i <= 10 ? State::Closed : State::Answering;
        putStatus(folder, fileNameFor(status.computer), status);
    }
    Board board(folder);
    board.refresh(now);
    ASSERT_EQ(board.rows().size(), 30u);
    const int first = board.lastOperations();
    board.refresh(now.addSecs(3));
    // The listing, the share's clock and the report, and a look at each file: none read.
    EXPECT_LE(board.lastOperations(), first - 30);
    EXPECT_EQ(board.counts().finished, 10);

    const Board::Archived archived = board.archiveFinished(now);
    ASSERT_TRUE(archived.done);
    EXPECT_EQ(archived.moved, 10);
    EXPECT_EQ(archived.folder, "s/class/old/2026-12-08_102000");
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath(archived.folder + "/pc1.sts")));
    board.refresh(now.addSecs(6));
    EXPECT_EQ(board.rows().size(), 20u);
    EXPECT_EQ(board.counts().inProgress, 20);
}
