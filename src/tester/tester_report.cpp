#include "tester/tester_report.h"

#include "common/reports.h"

namespace tester_report {

namespace {

const QString kSeparator = QStringLiteral("==================");

// A marked line: its text, a CR, then the line end CR LF.
QString marked(const QString& text) { return text + QStringLiteral("\r\r\n"); }

} // namespace

QString headerBlock(const QString& testName, const QString& time, const QString& date) {
    return marked(kSeparator) + marked(QStringLiteral("ТЕСТ: ") + testName) +
           marked(time + QLatin1Char(' ') + date) + marked(kSeparator) + marked(kSeparator);
}

QString answerLine(const QString& question, const QString& answer, const QString& points) {
    return question + QLatin1Char(' ') + answer + QStringLiteral(" - ") + points +
           QStringLiteral("\r\n");
}

QString resultBlock(const Result& result) {
    // One blank after "=" on the first conclusion line, two on the others: readers of
    // existing reports rely on the lines as they have always been.
    return marked(kSeparator) +
           marked(QStringLiteral("Общее количество балов теста: ") + result.total) +
           marked(result.selected) + marked(kSeparator) + marked(kSeparator) +
           marked(QStringLiteral("ВЫВОД №1: ") + result.conclusions[0] + QStringLiteral(" = до ") +
                  result.thresholds[0]) +
           marked(kSeparator) +
           marked(QStringLiteral("ВЫВОД №2: ") + result.conclusions[1] + QStringLiteral(" =  до ") +
                  result.thresholds[1]) +
           marked(kSeparator) +
           marked(QStringLiteral("ВЫВОД №3: ") + result.conclusions[2] + QStringLiteral(" =  до ") +
                  result.thresholds[2]) +
           marked(kSeparator) + QStringLiteral("\r\n\r\n");
}

platform::WriteResult append(const QString& reportFile, const QString& record) {
    return appendReport(reportFile, record);
}

} // namespace tester_report
