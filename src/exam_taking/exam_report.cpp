#include "exam_taking/exam_report.h"

#include "forms/captions.h"
#include "platform/folders.h"
#include "platform/text_files.h"

#include <QFileInfo>
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

bool appendExamReport(const QString& reportFile, const ExamReport& report) {
    // The report folder may have been removed by hand; the record still belongs somewhere.
    const QString folder = QFileInfo(reportFile).absolutePath();
    if (!platform::DoesFileExist(folder) && !platform::MakeDirPath(folder)) return false;
    return platform::appendText(reportFile, report.record());
}
