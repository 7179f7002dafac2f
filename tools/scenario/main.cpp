// proveron-scenario: replays scenario files against the program's windows.
//   proveron-scenario [--snapshots DIR] FILE.scn [FILE.scn ...]

#include "runner.h"

#include "gui/window_table.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    // Snapshots draw the real views offscreen; nothing is ever shown on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream out(stdout);

    QString snapshots;
    QStringList files;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--snapshots") && i + 1 < args.size()) {
            snapshots = args.at(++i);
        } else {
            files << args.at(i);
        }
    }
    if (files.isEmpty()) {
        out << "usage: proveron-scenario [--snapshots DIR] FILE.scn [FILE.scn ...]\n";
        return 2;
    }

    int passed = 0, failed = 0;
    bool anyError = false;
    for (const QString& file : files) {
        const scenario::Result result = scenario::runFile(file, snapshots, gui::programWindows());
        switch (result.outcome) {
        case scenario::Outcome::Pass:
            ++passed;
            out << "PASS " << file << "\n";
            break;
        case scenario::Outcome::Fail:
            ++failed;
            out << "FAIL " << file << ":" << result.line << ": " << result.what << "\n";
            break;
        case scenario::Outcome::Error:
            ++failed;
            anyError = true;
            out << "ERROR " << file << ":" << result.line << ": " << result.what << "\n";
            break;
        }
        out.flush();
    }
    out << passed << " passed, " << failed << " failed\n";
    return anyError ? 2 : (failed > 0 ? 1 : 0);
}
