#include "exam_taking/exam_report.h"

#include "common/reports.h"
#include "forms/captions.h"

#include <QStringList>

namespace {
// A report line is its text, a CR and a CR LF.
const QString kLineEnd = QStringLiteral("\r\r\n");
} // namespace

QString ExamReport::record() const {
    QString text;
    auto line = [&text](const QString& content) { text += content + kLineEnd; };

    if (language == forms::kRussian) {
        line(QStringLiteral("Дата: ") + date + QStringLiteral(" Время: ") + time);
    } else if (language == forms::kEnglish) {
        line(QStringLiteral("Date: ") + date + QStringLiteral("Time: ") + time);
    }
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
