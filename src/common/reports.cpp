#include "common/reports.h"

#include "platform/folders.h"
#include "platform/text_files.h"

#include <QFileInfo>

bool appendReport(const QString& reportFile, const QString& record) {
    // The report folder may have been removed by hand; the record still belongs somewhere.
    const QString folder = QFileInfo(reportFile).absolutePath();
    if (!platform::DoesFileExist(folder) && !platform::MakeDirPath(folder)) return false;
    return platform::appendText(reportFile, record);
}
