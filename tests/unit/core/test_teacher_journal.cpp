// The results journal reads the exam report back: the records the scenarios write, records
// torn or edited by hand, a large report read whole, dates and the CSV a spreadsheet opens.

#include "teacher_tools/journal.h"

#include "exam_taking/exam_report.h"
#include "platform/ansi_codec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using teacher_tools::Journal;
using teacher_tools::JournalRow;

const teacher_tools::Wording kRussian("rus");

// The reports the scenarios check byte for byte, by scenario.
std::map<QString, QByteArray> scenarioReports() {
    std::map<QString, QByteArray> reports;
    const QDir scenarios(QStringLiteral(PROVERON_DATA_DIR "/../tests/scenarios"));
    for (const QString& name : scenarios.entryList({QStringLiteral("*.scn")}, QDir::Files)) {
        QFile file(scenarios.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            static const QString command = QStringLiteral("expect-bytes s/oth.txt ");
            if (!line.startsWith(command)) continue;
            QString digits = line.mid(command.size());
            digits.remove(QRegularExpression(QStringLiteral("\\s")));
            reports[QFileInfo(name).completeBaseName()] = QByteArray::fromHex(digits.toLatin1());
        }
    }
    return reports;
}

QString evaluations(const JournalRow& row) {
    QStringList answered;
    for (const QString& evaluation : row.evaluations) {
        if (!evaluation.isEmpty()) answered.append(evaluation);
    }
    return answered.join(' ');
}

Journal parse(const QString& text) { return teacher_tools::parseJournal(text, kRussian); }

const QString kRecord = QStringLiteral(
    "Дата: 15.01.2026 Время: 9:00:00\r\r\nФ.И.О ,  Данные  Иванов\r\r\nБилет № b1\r\r\n"
    "Первый вопрос, оценка  5; Второй вопрос, оценка  2; Третий вопрос, оценка  5; ; ; ; ; ; ; ; "
    "; ; ; ; ; ; ; ; ; \r\r\nЗачет\r\r\n==================\r\r\n\r\n\r\n");

} // namespace

TEST(Journal, ReadsEveryRecordTheScenariosWriteAsTheyWroteIt) {
    struct Expected {
        const char* scenario;
        const char *date, *time, *name, *data, *evaluations, *average, *verdict;
    };
    const Expected expected[] = {
        {"results_report_russian", "15.01.2026", "9:00:00", "Иванов", "", "5 2 5", "4", "Зачет"},
        {"results_report_folder", "15.01.2026", "9:00:00", "Иванов", "", "5 2 5", "4", "Зачет"},
        {"results_report_english", "1/15/2026", "9:00:00 AM", "Smith", "10A School 5 Physics",
         "5 2 5", "4", "Delivered"},
        {"results_no_verdict", "15.01.2026", "9:00:00", "Иванов", "", "5 5 2", "4", ""},
        {"results_two_exams", "15.01.2026", "10:30:05", "Петров", "", "2 2 2", "2", "Не зачет"},
    };
    const std::map<QString, QByteArray> reports = scenarioReports();
    ASSERT_GE(reports.size(), std::size(expected));
    for (const auto& [scenario, bytes] : reports) {
        SCOPED_TRACE(scenario.toStdString());
        const Journal journal = teacher_tools::readJournal(bytes, kRussian);
        EXPECT_TRUE(journal.problems.empty()) << journal.problems.front().message.toStdString();
        EXPECT_EQ(journal.rows.size(), std::size_t(bytes.count("==================")));
        for (const JournalRow& row : journal.rows) {
            EXPECT_EQ(row.ticket, "b1");
            EXPECT_EQ(row.day, QDate(2026, 1, 15));
            EXPECT_TRUE(row.clock.has_value());
        }
    }
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.scenario);
        const Journal journal = teacher_tools::readJournal(reports.at(e.scenario), kRussian);
        const JournalRow& row = journal.rows.back();
        EXPECT_EQ(row.date, QString::fromUtf8(e.date));
        EXPECT_EQ(row.time, QString::fromUtf8(e.time));
        EXPECT_EQ(row.name, QString::fromUtf8(e.name));
        EXPECT_EQ(row.data, QString::fromUtf8(e.data));
        EXPECT_EQ(evaluations(row), QString::fromUtf8(e.evaluations));
        EXPECT_EQ(row.average->toText(','), QString::fromUtf8(e.average));
        EXPECT_EQ(row.verdict, QString::fromUtf8(e.verdict));
    }
    const Journal two = teacher_tools::readJournal(reports.at("results_two_exams"), kRussian);
    EXPECT_EQ(two.rows.front().data, "10А  физика");
    EXPECT_EQ(two.rows.front().line, 1);
    EXPECT_EQ(two.rows.back().line, 10);
}

TEST(Journal, TornAndEditedRecordsAreReportedAndTheRestIsRead) {
    // A record without its date line (an interface language other than the two), a record
    // edited by hand, a record cut short and followed by a whole one, and a torn end.
    QString noDate = kRecord;
    noDate.remove(QStringLiteral("Дата: 15.01.2026 Время: 9:00:00\r\r\n"));
    QString edited = kRecord;
    edited.replace(QStringLiteral("Второй вопрос, оценка  2"), QStringLiteral("Второй: 5"));
    edited.replace(QStringLiteral("Ф.И.О ,  Данные  "), QString());
    const QString cut =
        QStringLiteral("Дата: 16.01.2026 Время: 8:00:00\r\r\nФ.И.О ,  Данные  Сидоров\r\r\n");
    const QString tornEnd = kRecord.left(kRecord.indexOf(QStringLiteral("Зачет")));
    const Journal journal = parse(noDate + edited + cut + kRecord + tornEnd);

    ASSERT_EQ(journal.rows.size(), 4u);
    EXPECT_EQ(journal.rows[0].date, "");
    EXPECT_EQ(journal.rows[0].name, "Иванов");
    EXPECT_EQ(journal.rows[1].name, "Иванов");
    EXPECT_EQ(evaluations(journal.rows[1]), "5 5 5");
    EXPECT_EQ(journal.rows[1].average->toText(','), "5");
    EXPECT_EQ(journal.rows[2].day, QDate(2026, 1, 15));
    EXPECT_EQ(journal.rows[3].verdict, "");
    std::vector<int> lines;
    for (const auto& problem : journal.problems)
        lines.push_back(problem.line);
    // Eight lines a record: the edited name and evaluation (the record at line 8), the cut
    // record (line 16), the torn end (line 26).
    EXPECT_EQ(lines, (std::vector<int>{9, 11, 16, 26}));
    EXPECT_TRUE(journal.problems[2].message.contains(QStringLiteral("неполна")));
    EXPECT_TRUE(journal.problems[3].message.contains(QStringLiteral("не закончена")));

    // Nothing but text: nothing read, and no failure.
    EXPECT_TRUE(parse(QStringLiteral("просто текст\r\n")).rows.empty());
    EXPECT_TRUE(parse(QString()).problems.empty());
}

TEST(Journal, ReportsSavedInUtf8AndDatesOfBothLocales) {
    const Journal fromUtf8 = teacher_tools::readJournal(kRecord.toUtf8(), kRussian);
    ASSERT_EQ(fromUtf8.rows.size(), 1u);
    EXPECT_EQ(fromUtf8.rows[0].name, "Иванов");

    EXPECT_EQ(teacher_tools::parseDate("15.01.2026"), QDate(2026, 1, 15));
    EXPECT_EQ(teacher_tools::parseDate("5.1.2026"), QDate(2026, 1, 5));
    EXPECT_EQ(teacher_tools::parseDate("1/15/2026"), QDate(2026, 1, 15));
    EXPECT_EQ(teacher_tools::parseDate("15/1/2026"), QDate(2026, 1, 15));
    EXPECT_EQ(teacher_tools::parseDate("2026-01-15"), QDate(2026, 1, 15));
    EXPECT_EQ(teacher_tools::parseDate("15.01.26"), QDate(2026, 1, 15));
    // What other locales write: the C locale, US English with a two-digit year.
    EXPECT_EQ(teacher_tools::parseDate("7 Dec 2026"), QDate(2026, 12, 7));
    EXPECT_EQ(teacher_tools::parseDate("12/7/26"), QDate(2026, 12, 7));
    EXPECT_EQ(teacher_tools::parseDate("2026/12/7"), QDate(2026, 12, 7));
    EXPECT_FALSE(teacher_tools::parseDate("вчера"));

    QString three = kRecord;
    three += QString(kRecord).replace(QStringLiteral("15.01.2026"), QStringLiteral("20.01.2026"));
    three += QString(kRecord).replace(QStringLiteral("15.01.2026"), QStringLiteral("когда-то"));
    const Journal all = parse(three);
    const Journal late =
        teacher_tools::filterJournal(all, QDate(2026, 1, 16), std::nullopt, kRussian);
    ASSERT_EQ(late.rows.size(), 1u);
    EXPECT_EQ(late.rows[0].date, "20.01.2026");
    EXPECT_EQ(late.problems.size(), 1u); // the date that does not read
    EXPECT_EQ(
        teacher_tools::filterJournal(all, std::nullopt, QDate(2026, 1, 15), kRussian).rows.size(),
        1u);
    EXPECT_EQ(teacher_tools::filterJournal(all, std::nullopt, std::nullopt, kRussian).rows.size(),
              3u);
}

TEST(Journal, CsvHasTheColumnsAndQuotesWhatNeedsIt) {
    QString record = kRecord;
    record.replace(QStringLiteral("Иванов"), QStringLiteral("Иванов; \"Ваня\""));
    record.replace(QStringLiteral("Зачет\r\r\n"),
                   QStringLiteral("Зачет\r\r\nДополнительные сведения: 10А  \r\r\n"));
    const Journal journal = parse(record);
    EXPECT_EQ(teacher_tools::journalCsv(journal.rows, kRussian, ','),
              QStringLiteral("Дата;Дата ISO;Время;Ф.И.О.;Дополнительные сведения;Билет;1;2;3;"
                             "Ответов;Средний балл;Итог;Строка\r\n"
                             "15.01.2026;2026-01-15;9:00:00;\"Иванов; \"\"Ваня\"\"\";10А;b1;5;2;5;"
                             "3;4;Зачет;1\r\n"));
    // The ISO date is there whatever locale wrote the record, and empty when none reads.
    for (const auto& [written, iso] :
         {std::pair{"7 Dec 2026", "2026-12-07"}, std::pair{"12/7/26", "2026-12-07"},
          std::pair{"вчера", ""}}) {
        QString other = kRecord;
        other.replace(QStringLiteral("15.01.2026"), QString::fromUtf8(written));
        const QString csv = teacher_tools::journalCsv(parse(other).rows, kRussian, ',');
        EXPECT_EQ(csv.section(QStringLiteral("\r\n"), 1, 1).section(';', 1, 1), iso) << written;
    }
    // What a spreadsheet would run as a formula stays a text; numbers stay numbers.
    EXPECT_EQ(teacher_tools::csvRow(
                  {"=HYPERLINK(\"x\")", "+7 999", "-", "@SUM(1)", "\tx", "-0,25", "+3", "Иванов"}),
              "\"'=HYPERLINK(\"\"x\"\")\";'+7 999;'-;'@SUM(1);'\tx;-0,25;+3;Иванов\r\n");
    record.replace(QStringLiteral("Третий вопрос, оценка  5"),
                   QStringLiteral("Третий вопрос, оценка  2"));
    const auto row = parse(record).rows.at(0);
    EXPECT_EQ(row.average->toText(','), "3");
    EXPECT_EQ(teacher_tools::journalCells(row, 3, '.').at(9), "3");
    const Journal english = teacher_tools::parseJournal(kRecord, teacher_tools::Wording("eng"));
    EXPECT_TRUE(
        teacher_tools::journalCsv(english.rows, teacher_tools::Wording("eng"), '.')
            .startsWith(QStringLiteral("Date;Date ISO;Time;Name;Additional data;Ticket;1;2;3;")));
}

TEST(Journal, ALargeReportReadsAsItsRecordsReadAloneFromBytesTextAndFile) {
    // Over a megabyte, so that records straddle the blocks the bytes are decoded in, and
    // more distinct evaluations lines than the reader remembers: records with their data,
    // without a date, with an evaluation edited by hand, cut short.
    const QStringList marks{"2", "3", "4", "5"};
    QString text;
    std::vector<std::pair<int, QString>> records; // first line, text
    int lines = 0, cut = 0, edited = 0;
    for (int r = 0; r < 4500; ++r) {
        // A record cut short before one without a date would be read as one with it.
        const bool cutShort = r % 13 == 6 && r % 11 != 4;
        QString scores;
        for (int q = 0, digits = r % 4300; q < 7; ++q, digits /= 4)
            scores += questionLinePrefix("rus", q + 1) + marks[digits % 4] + "; ";
        if (r % 7 == 3 && !cutShort) scores.replace(questionLinePrefix("rus", 2), "Второй: ");
        QString record =
            (r % 11 == 5 ? QString() : "Дата: 15.01.2026 Время: 9:00:00\r\r\n") +
            QString("Ф.И.О ,  Данные  Ученик %1\r\r\nБилет № b%2\r\r\n").arg(r).arg(r % 30) +
            scores + "; ; ; ; ; ; ; ; ; ; ; ; \r\r\nЗачет\r\r\n" +
            (r % 3 ? QString() : "Дополнительные сведения: 10А\r\r\n") +
            "==================\r\r\n\r\n\r\n";
        if (cutShort) record = record.left(record.indexOf("Билет"));
        cut += cutShort ? 1 : 0;
        edited += r % 7 == 3 && !cutShort ? 1 : 0;
        records.emplace_back(lines + 1, record);
        lines += int(record.count('\n'));
        text += record;
    }
    const QByteArray ansi = platform::toAnsi(text);
    ASSERT_GT(ansi.size(), 1 << 20);
    QTemporaryDir dir;
    QFile file(dir.filePath("oth.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(ansi) == ansi.size());
    file.close();
    const Journal read[] = {teacher_tools::readJournal(ansi, kRussian),
                            teacher_tools::readJournal(text.toUtf8(), kRussian), parse(text),
                            *teacher_tools::readJournalFile(file.fileName(), kRussian)};

    Journal alone;
    for (const auto& [first, record] : records) {
        Journal one = parse(record);
        for (JournalRow& row : one.rows)
            row.line += first - 1;
        for (auto& problem : one.problems)
            problem.line += first - 1;
        alone.rows.insert(alone.rows.end(), one.rows.begin(), one.rows.end());
        alone.problems.insert(alone.problems.end(), one.problems.begin(), one.problems.end());
    }
    ASSERT_EQ(alone.rows.size(), std::size_t(4500 - cut));
    EXPECT_EQ(alone.problems.size(), std::size_t(edited + cut));
    const auto rowText = [](const JournalRow& row) {
        return QStringList{QString::number(row.line),
                           row.date,
                           row.time,
                           row.day ? row.day->toString() : "-",
                           row.name,
                           row.data,
                           row.ticket,
                           evaluations(row),
                           QString::number(row.answered),
                           row.average ? row.average->toText(',') : "-",
                           row.verdict}
            .join('|')
            .toStdString();
    };
    for (const Journal& journal : read) {
        ASSERT_EQ(journal.rows.size(), alone.rows.size());
        for (std::size_t i = 0; i < alone.rows.size(); ++i)
            ASSERT_EQ(rowText(journal.rows[i]), rowText(alone.rows[i])) << i;
        ASSERT_EQ(journal.problems.size(), alone.problems.size());
        for (std::size_t i = 0; i < alone.problems.size(); ++i) {
            EXPECT_EQ(journal.problems[i].line, alone.problems[i].line);
            EXPECT_EQ(journal.problems[i].message, alone.problems[i].message);
            EXPECT_EQ(journal.problems[i].dropped, alone.problems[i].dropped);
        }
    }
}
