#include "common/documents.h"

#include "forms/app.h"
#include "platform/folders.h"

QString helpDocument(const App& app) {
    // The compiled help is what teachers know; on this platform the HTML help stands in
    // for it when only that is there.
    const QString folder = app.path(QStringLiteral("help"));
    const QString chm = QStringLiteral("help.chm");
    const QString html = QStringLiteral("help.html");
    if (platform::lookUpName(folder, chm).isEmpty() &&
        !platform::lookUpName(folder, html).isEmpty()) {
        return platform::childPath(folder, html);
    }
    return platform::childPath(folder, chm);
}

void openHelp(App& app) { app.services().shell.open(helpDocument(app)); }
