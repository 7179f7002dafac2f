// The teacher's commands as a terminal runs them: what they print, what they write and
// the exit status (0 done and clean, 1 findings, 2 a usage error or a refused import).

#include "teacher_tools/command_line.h"

#include "platform/ansi_codec.h"
#include "platform/profile_file.h"
#include "platform/services.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// An application folder with a settings file and the exam "b/exam" of one ticket of two
// questions, the exam folder in use.
struct Folder {
    Folder() {
        writeExam(dir.path(), 2);
        setting("bilet", "1");
    }
    QString at(const QString& relative) const { return dir.path() + '/' + relative; }
    void setting(const char* key, const QString& value) {
        platform::writeProfileString(at("test.ini"), "test", QString::fromLatin1(key), value);
    }
    // Runs the command in the application folder as its current folder.
    int run(const QStringList& arguments) { return runCommandIn(dir.path(), arguments, out, err); }
    QTemporaryDir dir;
    QString out, err;
};

} // namespace

TEST(CommandLine, CheckPrintsOneFindingALineAndExitsByWhatItFound) {
    Folder folder;
    EXPECT_EQ(folder.run({"check"}), 0);
    EXPECT_EQ(folder.out, "");
    EXPECT_EQ(folder.err, "Проверено экзаменов: 1, тестов: 0. Замечаний: 0.\n");

    putBytes(folder.at("b/exam/b1/o2.txt"), platform::toAnsi("Да\r\n"));
    folder.setting("bilet", "2"); // the settings ask for a ticket more
    EXPECT_EQ(folder.run({"check"}), 1);
    EXPECT_EQ(folder.out.split('\n'),
              (QStringList{"b/exam/b2: Нет билета 2 (папки «b2»): вытянувший его ученик не "
                           "сможет его открыть.",
                           "b/exam/b1/o2.txt: Правильный ответ «Да» не совпадает ни с одной "
                           "строкой вариантов: на вопрос 2 билета 1 нельзя ответить верно. "
                           "Похоже на вариант 1 «да»: отличаются заглавные и строчные буквы.",
                           ""}));
    // Checked as one of the exams in "b", the exam in use is still held to the settings.
    EXPECT_EQ(folder.run({"check", folder.at("b")}), 1);
    EXPECT_EQ(folder.out.count('\n'), 2);
    folder.setting("z", "");
    EXPECT_EQ(folder.run({"check", folder.at("b")}), 1);
    EXPECT_EQ(folder.out.count('\n'), 1); // held to its ticket 1, it needs no ticket 2
    // An exam folder in use that is gone is a finding of the whole folder's check.
    folder.setting("z", folder.at("moved/exam"));
    EXPECT_EQ(folder.run({"check"}), 1);
    EXPECT_TRUE(folder.out.startsWith("moved/exam: Папки экзамена, которую называют настройки"))
        << folder.out.toStdString();
    folder.setting("z", folder.at("b/exam"));

    folder.setting("re", "eng");
    EXPECT_EQ(folder.run({"check", "--json", "b/exam"}), 1);
    const QJsonObject json = QJsonDocument::fromJson(folder.out.toUtf8()).object();
    EXPECT_FALSE(json["clean"].toBool());
    EXPECT_EQ(json["checked"].toArray().at(0)["kind"].toString(), "exam");
    const QJsonArray findings = json["findings"].toArray();
    ASSERT_EQ(findings.size(), 2);
    EXPECT_EQ(findings.at(1)["code"].toString(), "answer-not-a-variant");
    EXPECT_EQ(findings.at(1)["path"].toString(),
              QDir::toNativeSeparators(folder.at("b/exam/b1/o2.txt")));
    EXPECT_TRUE(findings.at(1)["message"].toString().startsWith("The correct answer \"Да\""));
}

TEST(CommandLine, CheckConvertsOnRequestAndRefusesWhatItCannotCheck) {
    Folder folder;
    putBytes(folder.at("b/exam/b1/q1.txt"), QStringLiteral("Вопрос?\r\n").toUtf8());
    EXPECT_EQ(folder.run({"check", "--convert", "--folder", folder.dir.path()}), 0);
    EXPECT_EQ(bytesOf(folder.at("b/exam/b1/q1.txt")), platform::toAnsi("Вопрос?\r\n"));
    EXPECT_TRUE(folder.err.startsWith("Перекодирован в Windows-1251: b/exam/b1/q1.txt\n"
                                      "Прежние файлы сохранены в b/exam.backup-"))
        << folder.err.toStdString();

    EXPECT_EQ(folder.run({"check", "s"}), 2);
    EXPECT_TRUE(folder.err.startsWith("Нет папки"));
    QDir().mkpath(folder.at("s"));
    EXPECT_EQ(folder.run({"check", "s"}), 2);
    EXPECT_TRUE(folder.err.contains("нет ни экзамена, ни теста"));
    EXPECT_EQ(folder.run({"check", "--fast"}), 2);
    EXPECT_TRUE(folder.err.startsWith("Неизвестный параметр --fast.\nИспользование:"));
    EXPECT_EQ(folder.run({"check", "b", "t"}), 2);
    EXPECT_EQ(folder.run({"check", "--folder"}), 2);
    EXPECT_EQ(folder.run({"check", "--folder", folder.at("нет")}), 2);
    EXPECT_EQ(folder.run({"grade"}), 2);
    EXPECT_EQ(folder.run({"journal", "--help"}), 0);
    EXPECT_TRUE(folder.out.startsWith("Использование:"));

    char program[] = "proveron", check[] = "check", other[] = "--check";
    char* withCommand[] = {program, check, nullptr};
    char* without[] = {program, other, nullptr};
    EXPECT_TRUE(teacher_tools::isCommand(2, withCommand));
    EXPECT_FALSE(teacher_tools::isCommand(2, without));
    EXPECT_FALSE(teacher_tools::isCommand(1, withCommand));
    // The folder may come before the command.
    char folderOption[] = "--folder", somewhere[] = "/srv/exams";
    char* folderFirst[] = {program, folderOption, somewhere, check, nullptr};
    char* folderOnly[] = {program, folderOption, check, nullptr};
    EXPECT_TRUE(teacher_tools::isCommand(4, folderFirst));
    EXPECT_FALSE(teacher_tools::isCommand(3, folderOnly)) << "a folder named check";

    // A relative folder is taken in the application folder, wherever the terminal is.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    QTextStream outStream(&folder.out), errStream(&folder.err);
    folder.out.clear();
    EXPECT_EQ(teacher_tools::runArguments({"check", "--folder", folder.dir.path(), "b/exam"},
                                          QString(), outStream, errStream),
              0)
        << folder.err.toStdString();
    QDir::setCurrent(before);
}

TEST(CommandLine, ImportNamesSkippedQuestionsChecksTheResultAndOverwritesNothing) {
    Folder folder;
    putBytes(folder.at("bank.txt"),
             QStringLiteral("Один?\nA. да\nB. нет\nANSWER: A\n\nДва?\nA. да\nB. нет\n").toUtf8());
    EXPECT_EQ(folder.run({"import", "aiken", "bank.txt", "--exam", "Новый"}), 1);
    EXPECT_EQ(folder.out,
              "bank.txt:6: вопрос пропущен: нет строки ANSWER с буквой верного ответа\n");
    EXPECT_EQ(folder.err, "Экзамен b/Новый. Вопросов: 1, билетов: 1.\n");
    EXPECT_TRUE(QFile::exists(folder.at("b/Новый/b1/o1.txt")));

    EXPECT_EQ(folder.run({"import", "aiken", "bank.txt", "--exam", "Новый"}), 2);
    EXPECT_TRUE(folder.err.contains("уже есть"));

    // Tickets as long as the settings ask for, unless --per-ticket says otherwise; the
    // importer's own short last ticket is said once, and is no finding.
    putBytes(folder.at("bank.gift"),
             QByteArray("::1:: A? {=a ~b}\n\n::2:: B? {=a ~b}\n\n::3:: C? {=a ~b}\n"));
    EXPECT_EQ(folder.run({"import", "gift", "bank.gift", "--exam", "Три", "--shuffle", "4"}), 0);
    EXPECT_EQ(folder.err, "Экзамен b/Три. Вопросов: 3, билетов: 2.\n"
                          "Последний билет короче: в нём 1 из 2 вопросов.\n");
    EXPECT_EQ(folder.out, "");
    putBytes(folder.at("bank.xml"), QByteArray("<?xml version=\"1.0\"?><quiz><question "
                                               "type=\"truefalse\"><questiontext><text>Да?</text>"
                                               "</questiontext><answer fraction=\"100\"><text>"
                                               "true</text></answer></question></quiz>"));
    EXPECT_EQ(folder.run({"import", "xml", "bank.xml", "--exam", "Икс"}), 0);
    EXPECT_EQ(folder.run({"export", "gift", "b/Икс"}), 0);
    EXPECT_EQ(bytesOf(folder.at("Икс.gift")),
              "// Икс\r\n\r\n$CATEGORY: $course$/Икс/b1\r\n\r\n::b1-q1::Да? {\r\n\t=Верно\r\n"
              "\t~Неверно\r\n}\r\n");
    EXPECT_EQ(folder.run({"export", "xml", "b/Икс", "out/икс.xml"}), 2);
    EXPECT_TRUE(folder.err.startsWith("Не удалось записать"));
    EXPECT_EQ(folder.run({"import", "gift", "bank.gift", "--exam", "Весь", "--per-ticket", "3"}),
              0);
    EXPECT_EQ(folder.run({"import", "gift", "bank.gift", "--test", "Тест"}), 0);
    EXPECT_TRUE(QFile::exists(folder.at("t/Тест/Тест.tst")));

    for (const QStringList& wrong :
         {QStringList{"import", "aiken", "bank.txt", "--test", "Т"},
          QStringList{"import", "gift", "bank.gift", "--test", "Т", "--per-ticket", "2"},
          QStringList{"import", "gift", "bank.gift"},
          QStringList{"import", "gift", "bank.gift", "--exam", "A", "--test", "B"},
          QStringList{"import", "moodle", "bank.gift", "--exam", "A"},
          QStringList{"import", "gift", "bank.gift", "--exam", "A", "--per-ticket", "21"},
          QStringList{"import", "gift", "bank.gift", "--exam", "A", "--shuffle", "-1"},
          QStringList{"import", "aiken", "bank.txt", "--test", "Т"}, QStringList{"export", "gift"},
          QStringList{"export", "csv", "b/Икс"}, QStringList{"export", "xml", "bank.gift"}}) {
        EXPECT_EQ(folder.run(wrong), 2) << wrong.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.at("b/A")));
}

TEST(CommandLine, JournalPrintsTheTableAndWritesCsvForSpreadsheets) {
    Folder folder;
    EXPECT_EQ(folder.run({"journal"}), 1);
    EXPECT_TRUE(folder.err.startsWith("Отчёта «s/oth.txt» нет"));

    const QString record = QStringLiteral(
        "Дата: %1 Время: 9:00:00\r\r\nФ.И.О ,  Данные  %2\r\r\nБилет № b1\r\r\n"
        "Первый вопрос, оценка  5; Второй вопрос, оценка  2; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; "
        "\r\r\nЗачет\r\r\n==================\r\r\n\r\n\r\n");
    putBytes(folder.at("s/oth.txt"), platform::toAnsi(record.arg("15.01.2026", "Иванов") +
                                                      record.arg("20.01.2026", "Петров") +
                                                      "Дата: 21.01.2026 Время: 9:00:00\r\r\n"));
    EXPECT_EQ(folder.run({"journal"}), 0);
    EXPECT_EQ(folder.err,
              "s/oth.txt:17: Запись неполна (нет имени, билета или оценок) и пропущена.\n");
    const QStringList lines = folder.out.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(
        lines[0].startsWith("Дата        Время    Ф.И.О.  Дополнительные сведения  Билет  1  2  "
                            "Ответов  Средний балл  Итог   Строка"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("15.01.2026  9:00:00  Иванов"));
    // Numbers in the user's locale, as everywhere else.
    const QString average = "3" + QString(platform::UserLocale::system().decimalSeparator()) + "5";
    EXPECT_TRUE(lines[1].contains(
        QRegularExpression("b1 +5 +2 +2 +" + QRegularExpression::escape(average) + " +Зачет +1$")))
        << lines[1].toStdString();

    EXPECT_EQ(folder.run({"journal", "--from", "2026-01-16", "--csv", "out.csv"}), 0);
    EXPECT_EQ(bytesOf(folder.at("out.csv")),
              QByteArray("\xEF\xBB\xBF") +
                  QStringLiteral("Дата;Дата ISO;Время;Ф.И.О.;Дополнительные сведения;Билет;1;2;"
                                 "Ответов;Средний балл;Итог;Строка\r\n"
                                 "20.01.2026;2026-01-20;9:00:00;Петров;;b1;5;2;2;%1;Зачет;9\r\n")
                      .arg(average)
                      .toUtf8());
    EXPECT_EQ(folder.run({"journal", "--to", "вчера"}), 2);
    EXPECT_EQ(folder.run({"journal", "--csv", folder.at("нет/out.csv")}), 1);
    EXPECT_TRUE(folder.err.contains("Не удалось записать"));
}
