#include "platform/app_context.h"

#include <QDir>

namespace platform {

AppContext::AppContext(const QString& folder) : folder_(QDir::cleanPath(folder)) {}

QString AppContext::path(const QString& relative) const {
    return QDir::toNativeSeparators(QDir(folder_).filePath(relative));
}

} // namespace platform
