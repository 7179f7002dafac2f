#include "exam_taking/exam_report.h"

#include "common/language.h"
#include "common/reports.h"

#include <QStringList>

namespace {
// A report line is its text, a CR and a CR LF.
const QString kLineEnd = QStringLiteral("\r\r\n");

const char* const kOrdinalsRussian[20] = {
    "Первый вопрос, оценка  ",         "Второй вопрос, оценка  ",
    "Третий вопрос, оценка  ",         "Четвертый вопрос, оценка  ",
    "Пятый вопрос, оценка  ",          "Шестой вопрос, оценка  ",
    "Седьмой вопрос, оценка  ",        "Восьмой вопрос, оценка  ",
    "Девятый вопрос, оценка  ",        "Десятый вопрос, оценка  ",
    "Одинадцатый вопрос, оценка  ",    "Двенадцатый вопрос, оценка  ",
    "Тринадцатый вопрос, оценка  ",    "Четырнадцатый вопрос, оценка  ",
    "Пятнадцатый вопрос, оценка  ",    "Шестьнадцатый вопрос, оценка  ",
    "Семьнадцатый вопрос, оценка  ",   "Восемьнадцатый вопрос, оценка  ",
    "Девятьнадцатый вопрос, оценка  ", "Дватцатый вопрос, оценка  ",
};
} // namespace

QString questionLinePrefix(const QString& language, int n) {
    if (n < 1 || n > 20) return {};
    return texts::byLanguage(language, QString::fromUtf8(kOrdinalsRussian[n - 1]),
                             QStringLiteral("%1 question, evaluation  ").arg(n))
        .value_or(QString());
}

QString ExamReport::dateLine() const {
    const auto dated = texts::byLanguage(language, "Дата: %1 Время: %2", "Date: %1Time: %2");
    return dated ? dated->arg(date, time) : QString();
}

QString ExamReport::record() const {
    QString text;
    auto line = [&text](const QString& content) { text += content + kLineEnd; };

    // Any other language leaves the date line out.
    if (const QString dated = dateLine(); !dated.isEmpty()) line(dated);
    line(nameLine);
    line(ticketCaption);
    line(QStringList(questionLines.begin(), questionLines.end()).join(QStringLiteral("; ")));
    line(verdict);
    if (!data1.isEmpty()) {
        line(QStringLiteral("Дополнительные сведения: ") + data1 + QLatin1Char(' ') + data2 +
             QLatin1Char(' ') + data3);
    }
    line(QStringLiteral("=================="));
    text += QStringLiteral("\r\n\r\n");
    return text;
}

platform::WriteResult appendExamReport(const QString& reportFile, const ExamReport& report) {
    return appendReport(reportFile, report.record());
}
