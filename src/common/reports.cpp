#include "common/reports.h"

#include "platform/folders.h"

#include <QFileInfo>

platform::WriteResult appendReport(const QString& reportFile, const QString& record) {
    const platform::WriteResult written = platform::appendText(reportFile, record);
    // The report folder may have been removed by hand; the record still belongs somewhere.
    // Looked for only then: on a share each look is a round trip.
    const QString folder = QFileInfo(reportFile).absolutePath();
    if (written || QFileInfo::exists(folder)) return written;
    if (!platform::MakeDirPath(folder)) return platform::WriteResult::Failed;
    return platform::appendText(reportFile, record);
}
