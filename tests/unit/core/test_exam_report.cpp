#include "exam_taking/exam_report.h"

#include "platform/ansi_codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A Russian exam of three questions, 5, 2, 5, passed.
ExamReport russianExam() {
    ExamReport report;
    report.language = "rus";
    report.date = "15.01.2026";
    report.time = "9:00:00";
    report.nameLine = QStringLiteral("Ф.И.О ,  Данные  Иванов");
    report.ticketCaption = QStringLiteral("Билет № b1");
    report.questionLines[0] = QStringLiteral("Первый вопрос, оценка  5");
    report.questionLines[1] = QStringLiteral("Второй вопрос, оценка  2");
    report.questionLines[2] = QStringLiteral("Третий вопрос, оценка  5");
    report.verdict = QStringLiteral("Зачет");
    return report;
}

const QString kSeventeenSeparators = QString("; ").repeated(17);

} // namespace

TEST(ExamReport, RussianRecordLineByLine) {
    EXPECT_EQ(russianExam().record(),
              QStringLiteral("Дата: 15.01.2026 Время: 9:00:00\r\r\n"
                             "Ф.И.О ,  Данные  Иванов\r\r\n"
                             "Билет № b1\r\r\n"
                             "Первый вопрос, оценка  5; Второй вопрос, оценка  2; "
                             "Третий вопрос, оценка  5") +
                  kSeventeenSeparators +
                  QStringLiteral("\r\r\n"
                                 "Зачет\r\r\n"
                                 "==================\r\r\n"
                                 "\r\n\r\n"));
}

TEST(ExamReport, DateLineFollowsTheLanguage) {
    ExamReport report = russianExam();
    report.language = "eng";
    report.date = "1/15/2026";
    report.time = "9:00:00 AM";
    // No blank before "Time: ": the report has always been written so.
    EXPECT_TRUE(report.record().startsWith("Date: 1/15/2026Time: 9:00:00 AM\r\r\nФ.И.О"));

    for (const char* other : {"", "RUS", "deu"}) {
        report.language = other;
        EXPECT_TRUE(report.record().startsWith(QStringLiteral("Ф.И.О ,  Данные  Иванов\r\r\n")))
            << other;
    }
}

TEST(ExamReport, AdditionalDataNeedsTheFirstField) {
    ExamReport report = russianExam();
    report.language = "eng";
    report.data1 = QStringLiteral("10А");
    report.data2 = "";
    report.data3 = QStringLiteral("физика");
    const QString withData = report.record();
    EXPECT_TRUE(withData.endsWith(QStringLiteral("Зачет\r\r\n"
                                                 "Дополнительные сведения: 10А  физика\r\r\n"
                                                 "==================\r\r\n\r\n\r\n")));

    report.data1.clear();
    report.data2 = QStringLiteral("школа 5");
    EXPECT_FALSE(report.record().contains(QStringLiteral("Дополнительные")));
}

TEST(ExamReport, EmptyVerdictAndNoAnswersKeepEveryLine) {
    ExamReport report = russianExam();
    report.questionLines = {};
    report.verdict.clear();
    EXPECT_TRUE(report.record().endsWith(QStringLiteral("Билет № b1\r\r\n") +
                                         QString("; ").repeated(19) +
                                         QStringLiteral("\r\r\n\r\r\n==================\r\r\n"
                                                        "\r\n\r\n")));
}

TEST(ExamReport, AppendWritesAnsiRecordsInClosingOrder) {
    QTemporaryDir dir;
    // The report folder is missing: it is made.
    const QString path = dir.filePath("s/oth.txt");
    ExamReport first = russianExam();
    ExamReport second = russianExam();
    second.nameLine = QStringLiteral("Ф.И.О ,  Данные  Петров");
    ASSERT_TRUE(appendExamReport(path, first));
    ASSERT_TRUE(appendExamReport(path, second));

    const QByteArray bytes = bytesOf(path);
    EXPECT_EQ(bytes, platform::toAnsi(first.record() + second.record()));
    // "Дата: " in Windows-1251, and the ends of a record's last lines.
    EXPECT_TRUE(bytes.startsWith("\xC4\xE0\xF2\xE0: 15.01.2026"));
    EXPECT_TRUE(bytes.endsWith("=\r\r\n\r\n\r\n"));
    EXPECT_EQ(bytes.count("\r\r\n"), 2 * 6);
}

TEST(ExamReport, AppendThatCannotWriteSaysSo) {
    QTemporaryDir dir;
    // A file where the report's folder should be: nobody, root included, can write there.
    QFile blocker(dir.filePath("s"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(appendExamReport(dir.filePath("s/oth.txt"), russianExam()));
    EXPECT_EQ(bytesOf(dir.filePath("s")), QByteArray());

    // The report's own name taken by a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir("report"));
    EXPECT_FALSE(appendExamReport(dir.filePath("report"), russianExam()));
}
