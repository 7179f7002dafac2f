#include "common/reports.h"

#include "platform/folders.h"

#include <QFileInfo>

platform::WriteResult appendReport(const QString& reportFile, const QString& record) {
    // The report folder may have been removed by hand; the record still belongs somewhere.
    const QString folder = QFileInfo(reportFile).absolutePath();
    if (!platform::DoesFileExist(folder) && !platform::MakeDirPath(folder))
        return platform::WriteResult::Failed;
    return platform::appendText(reportFile, record);
}
