// A lab's shared folder that students can write, against the teacher's tools:
// - a student's hostile folder: "check --convert" writes and copies nothing outside the folder
//   it was asked to check, follows no link, and no control character reaches the terminal;
//   "lab check" changes nothing either;
// - what "lab check" finds: files students could change, a readable password, locks and by
//   whom, another computer with this one's name, stale temporaries, a clock that is off;
// - the settings password as a salted hash.

#include "common/password.h"
#include "platform/ansi_codec.h"
#include "platform/contained_folder.h"
#include "platform/profile_file.h"
#include "teacher_tools/folder_check.h"
#include "teacher_tools/lab_check.h"
#include "teacher_tools/terminal_text.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <map>
#include <sys/stat.h>

#include "test_support.h"

namespace {

// Every entry below `root` (links not followed): a file with its bytes, a folder, a link
// with its target.
std::map<QString, QByteArray> snapshot(const QString& root) {
    std::map<QString, QByteArray> entries;
    QDirIterator each(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (each.hasNext()) {
        const QString path = each.next();
        const QFileInfo info(path);
        const QString name = QDir(root).relativeFilePath(path);
        if (info.isSymLink())
            entries[name] = "-> " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            entries[name + '/'] = {};
        else
            entries[name] = bytesOf(path);
    }
    return entries;
}

// A character a terminal would act on: what a student's names must never get through.
bool holdsTerminalControls(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\n') || (u >= 0x7F && u <= 0x9F) || (u >= 0x202A && u <= 0x202E))
            return true;
    }
    return false;
}

void setModified(const QString& path, const QDateTime& time) {
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = time.toSecsSinceEpoch();
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

void setting(const QString& app, const char* key, const QString& value) {
    platform::writeProfileString(app + "/test.ini", "test", QString::fromLatin1(key), value);
}

// An exam folder of one ticket whose question text is UTF-8, so that "--convert" has work.
void utf8Exam(const QString& folder, const char* question) {
    putBytes(folder + "/lzm.lzm", platform::toAnsi("Экзамен\r\n"));
    putBytes(folder + "/b1/q1.txt", QByteArray(question));
    putBytes(folder + "/b1/v1.txt", platform::toAnsi("да\r\nнет\r\n"));
    putBytes(folder + "/b1/o1.txt", platform::toAnsi("да\r\n"));
}

QStringList codesOf(const teacher_tools::Findings& findings) {
    QStringList codes;
    for (const auto& finding : findings)
        codes.append(finding.code);
    return codes;
}

const teacher_tools::Wording kSay{"rus"};

} // namespace

TEST(HostileFolder, NothingLeavesTheFolderCheckedAndNoControlCharacterReachesTheTerminal) {
    QTemporaryDir top;
    const QString app = top.path() + "/app";
    const QString outside = top.path() + "/outside";
    writeExam(app, 3);
    // The teacher's own things, out of the students' reach.
    putBytes(top.path() + "/private/notes.txt", "Личные заметки учителя\n");
    utf8Exam(outside + "/notes", "Чужой вопрос?\n");
    utf8Exam(outside + "/linked", "Вопрос за ссылкой?\n");
    QDir().mkpath(outside + "/trap");
    QDir().mkpath(outside + "/victim");
    putBytes(outside + "/victim/owner", "not a lock\n");

    // The exam in use named outside the application folder.
    setting(app, "z", "../outside/notes");
    // A question file linked to the teacher's private file, one in UTF-8 to convert.
    QFile::remove(app + "/b/exam/b1/q2.txt");
    ASSERT_TRUE(QFile::link(top.path() + "/private/notes.txt", app + "/b/exam/b1/q2.txt"));
    putBytes(app + "/b/exam/b1/q3.txt", "Вопрос 3?\n");
    // An exam in b that is a link to a folder outside.
    ASSERT_TRUE(QFile::link(outside + "/linked", app + "/b/linked"));
    // An exam whose name clears the screen, sets the title and forges a line, C1 CSI too.
    const QString forged = QString::fromUtf8("\x1b]0;pwned\x07\x1b[2J\u009b1m\u202e\nforged: fine");
    utf8Exam(app + "/b/" + forged, "Вопрос?\n");
    // The backup's names for the next seconds, planted as links to a folder outside.
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 30; ++second) {
        const QString stamp = teacher_tools::backupStamp(now.addSecs(second));
        QFile::link(outside + "/trap", app + "/b/exam.backup-" + stamp);
        QFile::link(outside + "/trap", app + "/b/" + forged + ".backup-" + stamp);
    }
    // A lock that is a link to a folder holding a file named "owner".
    QDir().mkpath(app + "/s");
    ASSERT_TRUE(QFile::link(outside + "/victim", app + "/s/oth.txt.lock"));

    const auto outsideBefore = snapshot(outside);
    const auto privateBefore = snapshot(top.path() + "/private");
    QString out, err;
    EXPECT_EQ(runCommandIn(app, {"check", "--convert"}, out, err), 1);
    const QString convertOut = out, convertErr = err;
    EXPECT_EQ(runCommandIn(app, {"check", "--json"}, out, err), 1);
    const QString json = out;
    EXPECT_EQ(runCommandIn(app, {"lab", "check"}, out, err), 1);
    const QString labOut = out, labErr = err;

    // Nothing outside was written, converted or removed.
    EXPECT_EQ(snapshot(outside), outsideBefore);
    EXPECT_EQ(snapshot(top.path() + "/private"), privateBefore);
    // Inside, the legitimate conversion was done, its original kept in a folder of its own
    // beside the exam (not through a planted link), and nothing of the private file copied.
    EXPECT_EQ(bytesOf(app + "/b/exam/b1/q3.txt"), platform::toAnsi("Вопрос 3?\n"));
    EXPECT_TRUE(QFileInfo(app + "/b/exam/b1/q2.txt").isSymLink());
    EXPECT_EQ(bytesOf(app + "/b/" + forged + "/b1/q1.txt"), platform::toAnsi("Вопрос?\n"));
    int backups = 0;
    for (const auto& [path, bytes] : snapshot(app)) {
        EXPECT_FALSE(bytes.contains("Личные заметки")) << path.toStdString();
        if (path.startsWith("b/exam.backup-") && path.endsWith("/b1/q3.txt")) {
            ++backups;
            EXPECT_EQ(bytes, "Вопрос 3?\n");
            EXPECT_FALSE(QFileInfo(app + '/' + path.section('/', 0, 1)).isSymLink());
        }
    }
    EXPECT_EQ(backups, 1);
    // Each refusal is said.
    EXPECT_TRUE(convertOut.contains("b/exam/b1/q2.txt: Файл не перекодирован и не скопирован"));
    EXPECT_TRUE(convertOut.contains("b/linked/b1/q1.txt: Файл не перекодирован и не скопирован"));
    EXPECT_TRUE(convertOut.contains("notes/b1/q1.txt: Файл не перекодирован: его папка лежит вне "
                                    "проверяемой папки"));
    EXPECT_TRUE(labOut.contains("s/oth.txt.lock: Это не замок программы"));

    // The name reaches the terminal escaped, on its own line.
    for (const QString& text : {convertOut, convertErr, json, labOut, labErr})
        EXPECT_FALSE(holdsTerminalControls(text)) << text.toStdString();
    // The conversion of the forged exam's question names it.
    EXPECT_TRUE(convertErr.contains(
        "b/\\x1B]0;pwned\\x07\\x1B[2J\\x9B1m\\u202E\\x0Aforged: fine/b1/q1.txt"))
        << convertErr.toStdString();
    EXPECT_FALSE(convertErr.contains("\nforged"));
    EXPECT_TRUE(json.contains("\\u001b]0;pwned\\u0007\\u001b[2J\\u009B1m\\u202E\\nforged"))
        << json.toStdString();
}

TEST(HostileFolder, AFolderOnTheWayThatTurnsIntoALinkIsNeverFollowed) {
    QTemporaryDir top;
    putBytes(top.path() + "/exam/b1/q1.txt", "inside\n");
    putBytes(top.path() + "/elsewhere/b1/q1.txt", "outside\n");
    const platform::ContainedFolder folder(top.path() + "/exam");
    ASSERT_TRUE(folder.isOpen());
    EXPECT_EQ(folder.read("b1/q1.txt").value_or(""), "inside\n");
    EXPECT_FALSE(folder.read("../elsewhere/b1/q1.txt"));

    // b1 swapped for a link: reading and writing through it are refused, nothing is made there.
    QDir(top.path() + "/exam/b1").removeRecursively();
    ASSERT_TRUE(QFile::link(top.path() + "/elsewhere/b1", top.path() + "/exam/b1"));
    bool notPlain = false;
    EXPECT_FALSE(folder.read("b1/q1.txt", &notPlain));
    EXPECT_TRUE(notPlain);
    const platform::WriteResult written = folder.write("b1/q1.txt", "new\n");
    EXPECT_EQ(written.kind(), platform::WriteResult::NotPlain);
    EXPECT_FALSE(folder.makeFolders("b1/sub"));
    EXPECT_FALSE(folder.makeNewFolder("b1"));
    EXPECT_EQ(bytesOf(top.path() + "/elsewhere/b1/q1.txt"), "outside\n");
    EXPECT_EQ(QDir(top.path() + "/elsewhere/b1").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"q1.txt"});

    // A file that is a link is replaced by the write, its target untouched.
    ASSERT_TRUE(QFile::link(top.path() + "/elsewhere/b1/q1.txt", top.path() + "/exam/q9.txt"));
    EXPECT_TRUE(folder.write("q9.txt", "mine\n"));
    EXPECT_EQ(bytesOf(top.path() + "/exam/q9.txt"), "mine\n");
    EXPECT_FALSE(QFileInfo(top.path() + "/exam/q9.txt").isSymLink());
    EXPECT_EQ(bytesOf(top.path() + "/elsewhere/b1/q1.txt"), "outside\n");

    EXPECT_EQ(teacher_tools::forTerminal("a\tb\x1b"), "a\\x09b\\x1B");
    EXPECT_EQ(teacher_tools::forTerminal("Экзамен № 1"), "Экзамен № 1");
}

TEST(LabCheck, TellsWhatStudentsCouldChangeThePasswordLocksAndTemporaries) {
    QTemporaryDir top;
    const QString app = top.path();
    writeExam(app, 2);
    setting(app, "pass", "Пароль");
    QDir().mkpath(app + "/s");
    putBytes(app + "/s/oth.txt", "");
    ::chmod(QFile::encodeName(app + "/s").constData(), 0777);
    ::chmod(QFile::encodeName(app + "/b/exam").constData(), 0777);
    ::chmod(QFile::encodeName(app + "/test.ini").constData(), 0666);
    const QDateTime now = QDateTime::currentDateTime();
    // Left over by another computer five minutes ago.
    putBytes(app + "/s/oth.txt.lock/owner", "proveron-lock\npc-other\nboot-other\n4242\n99\n");
    setModified(app + "/s/oth.txt.lock/owner", now.addSecs(-300));
    // A save broken off twenty minutes ago.
    putBytes(app + "/b/exam/b1/q1.txt.pvr-00000000000000aa.tmp", "half");
    setModified(app + "/b/exam/b1/q1.txt.pvr-00000000000000aa.tmp", now.addSecs(-1200));

    QString out, err;
    EXPECT_EQ(runCommandIn(app, {"lab", "check"}, out, err), 1);
    EXPECT_EQ(out.split('\n'),
              (QStringList{"test.ini: Пароль хранится открытым текстом (ключ pass), а этот файл "
                           "читает каждый, кто запускает программу. Сохраните его как хэш: "
                           "proveron lab password.",
                           "b/exam: Ученики могут добавлять, удалять и переименовывать файлы в "
                           "этой папке (запись разрешена группе или всем). Ученикам нужна запись "
                           "только в папку s.",
                           "b/exam/b1/q1.txt.pvr-00000000000000aa.tmp: Остался временный файл "
                           "программы (сохранение или замок прервались 20 мин назад). Его уберет "
                           "следующий запуск программы; его можно и удалить.",
                           "s: Ученики могут удалить или переименовать отчеты в этой папке: "
                           "поставьте на нее бит sticky (chmod +t), тогда удалять и "
                           "переименовывать файл может только его владелец.",
                           "s/oth.txt.lock: Замок оставлен: компьютер pc-other, процесс 4242, с " +
                               now.addSecs(-300).toString("HH:mm:ss") +
                               " (5 мин назад). Программа снимет его сама; если он появляется "
                               "снова, на компьютере pc-other что-то держит его.",
                           "test.ini: Ученики могут изменить этот файл (запись разрешена группе "
                           "или всем). Ученикам нужна запись только в папку s и в отчеты.",
                           ""}))
        << out.toStdString();
    EXPECT_TRUE(err.startsWith("Часы общей папки ")) << err.toStdString();

    // Set right: nothing to say, and nothing was changed by looking.
    ::chmod(QFile::encodeName(app + "/s").constData(), 01777);
    ::chmod(QFile::encodeName(app + "/b/exam").constData(), 0755);
    ::chmod(QFile::encodeName(app + "/test.ini").constData(), 0644);
    QDir(app + "/s/oth.txt.lock").removeRecursively();
    QFile::remove(app + "/b/exam/b1/q1.txt.pvr-00000000000000aa.tmp");
    setting(app, "pass", password::hashed("Пароль", 1000));
    const auto before = snapshot(app);
    EXPECT_EQ(runCommandIn(app, {"lab", "check"}, out, err), 0) << out.toStdString();
    EXPECT_EQ(out, "");
    EXPECT_EQ(snapshot(app), before);
}

TEST(LabCheck, TellsAClockThatIsOffAndAnotherComputerWithThisOnesName) {
    QTemporaryDir top;
    const QString app = top.path();
    writeExam(app, 1);
    setting(app, "pass", password::hashed("x", 1000));
    QDir().mkpath(app + "/s");
    const QDateTime now = QDateTime::currentDateTime();
    // A lock being let go by a computer named like this one, since this one started; one of
    // this computer's own boot; one from before this computer started.
    putBytes(app + "/s/oth.txt.lock.pvr-00000000000000bb.old/owner",
             "proveron-lock\npc3\nboot-clone\n77\n1\n");
    putBytes(app + "/s/oth.txt.lock.pvr-00000000000000cc.old/owner",
             "proveron-lock\npc3\nboot-here\n78\n1\n");
    putBytes(app + "/s/lzm.txt.lock.pvr-00000000000000dd.old/owner",
             "proveron-lock\npc3\nboot-earlier\n79\n1\n");
    setModified(app + "/s/lzm.txt.lock.pvr-00000000000000dd.old/owner", now.addSecs(-7200));

    teacher_tools::ThisComputer here;
    here.name = "pc3";
    here.boot = "boot-here";
    here.started = now.addSecs(-3600);
    // This computer's clock ten minutes behind the share's.
    here.now = now.addSecs(-600);
    const teacher_tools::LabReport report = teacher_tools::checkLab(app, here, kSay);
    EXPECT_EQ(codesOf(report.findings), (QStringList{"clock-off", "same-computer-name"}));
    ASSERT_TRUE(report.shareAheadSeconds);
    EXPECT_NEAR(double(*report.shareAheadSeconds), 600.0, 5.0);
    EXPECT_EQ(report.findings[0].message,
              "Часы этого компьютера расходятся с часами общей папки на 10 мин: время в записях "
              "отчета с этого компьютера будет неверным. Сверьте часы (NTP).");
    EXPECT_TRUE(report.findings[1].path.endsWith("00000000000000bb.old"));
    EXPECT_TRUE(report.findings[1].message.startsWith(
        "Другой компьютер с именем этого (pc3) взял здесь замок в "));
}

TEST(Password, LabPasswordStoresAHashOfWhatIsTyped) {
    QTemporaryDir top;
    const QString app = top.path();
    writeExam(app, 1);
    setting(app, "pass", "старый");
    // The password comes on the standard input, as from a pipe.
    const QString typed = app + "/typed";
    putBytes(typed, "Новый пароль\n");
    ASSERT_TRUE(std::freopen(QFile::encodeName(typed).constData(), "r", stdin));
    QString out, err;
    const int status = runCommandIn(app, {"lab", "password"}, out, err);
    std::freopen("/dev/null", "r", stdin);
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(err.startsWith("Пароль записан в ")) << err.toStdString();
    const QString stored = platform::readProfileString(app + "/test.ini", "test", "pass");
    EXPECT_TRUE(password::isHashed(stored)) << stored.toStdString();
    EXPECT_TRUE(password::matches("Новый пароль", stored));
    // The other keys are as they were.
    EXPECT_EQ(platform::readProfileString(app + "/test.ini", "test", "vopros"), "1");

    // Nothing typed: nothing stored.
    putBytes(typed, "\n");
    ASSERT_TRUE(std::freopen(QFile::encodeName(typed).constData(), "r", stdin));
    EXPECT_EQ(runCommandIn(app, {"lab", "password"}, out, err), 1);
    std::freopen("/dev/null", "r", stdin);
    EXPECT_EQ(platform::readProfileString(app + "/test.ini", "test", "pass"), stored);
    EXPECT_EQ(runCommandIn(app, {"lab", "passwd"}, out, err), 2);
    EXPECT_TRUE(err.startsWith("Неизвестная команда «lab passwd».\nИспользование:"));
}

TEST(Password, AHashOpensWithThePasswordAloneAndAnythingElseIsPlainText) {
    // PBKDF2-HMAC-SHA256 as published: "password", salt "salt", 4096 rounds.
    const QString published =
        "pbkdf2-sha256$4096$" + QString::fromLatin1(QByteArray("salt").toBase64()) + '$' +
        QString::fromLatin1(
            QByteArray::fromHex("c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a")
                .toBase64());
    EXPECT_TRUE(password::isHashed(published));
    EXPECT_TRUE(password::matches("password", published));
    EXPECT_FALSE(password::matches("Password", published));
    EXPECT_FALSE(password::matches(published, published));

    const QString made = password::hashed("Пароль 1", 2000);
    EXPECT_TRUE(made.startsWith("pbkdf2-sha256$2000$"));
    EXPECT_LT(made.size(), 255); // what a settings value holds
    EXPECT_TRUE(password::matches("Пароль 1", made));
    EXPECT_FALSE(password::matches("Пароль", made));
    EXPECT_NE(password::hashed("Пароль 1", 2000), made); // salted

    // Not a whole hash of ours: compared as the text it is, the empty password too.
    const QStringList plainTexts{
        "pbkdf2-sha256$", "pbkdf2-sha256$0$c2FsdA==$AAAA",
        QString("pbkdf2-sha256$99999999999$c2FsdA==$") + published.section('$', 3),
        QString("pbkdf2-sha256$1000$***$") + published.section('$', 3), QString()};
    for (const QString& plain : plainTexts) {
        EXPECT_FALSE(password::isHashed(plain)) << plain.toStdString();
        EXPECT_TRUE(password::matches(plain, plain));
    }
}
