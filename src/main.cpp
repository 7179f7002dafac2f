// Проверон: an examiner and a tester in one program.
//   proveron [--folder DIR]      (or PROVERON_FOLDER in the environment)
// The application folder (settings, exams, tests, reports) is chosen and made ready
// before any window opens; see platform/application_folder.h.

#include "common/class_status.h"
#include "common/settings_file.h"
#include "forms/app.h"
#include "gui/icon.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_shell.h"
#include "gui/qt_translations.h"
#include "gui/startup_report.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "platform/application_folder.h"
#include "platform/read_cache.h"
#include "platform/system_services.h"
#include "teacher_tools/command_line.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>
#include <cstring>
#include <memory>
#include <optional>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// --help and --version only print, so they must work on a console without a display:
// they get an application without a window system.
std::unique_ptr<QCoreApplication> createApplication(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* textOnly : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], textOnly) == 0)
                return std::make_unique<QCoreApplication>(argc, argv);
        }
    }
    return std::make_unique<QApplication>(argc, argv);
}

// The folder the program would use, from the command line, the environment and where
// the program lies. Choosing changes nothing on disk.
platform::FolderChoice chooseFolder(const QCommandLineParser& parser) {
    return platform::chooseApplicationFolder(
        parser.value(QStringLiteral("folder")), qEnvironmentVariable("PROVERON_FOLDER"),
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString sampleData() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QString::fromUtf8(PROVERON_SAMPLE_DATA));
}

// Reads the command line. Answers --help and --version (and a command line it cannot
// read) itself and gives the exit code; otherwise nothing, and `folder` is the choice.
std::optional<int> readCommandLine(platform::FolderChoice& folder) {
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption({QStringLiteral("folder"),
                      QStringLiteral("Use DIR as the application folder (settings, exams, tests, "
                                     "reports). Папка программы."),
                      QStringLiteral("DIR")});
    QTextStream out(stdout);
    if (!parser.parse(QCoreApplication::arguments())) {
        QTextStream(stderr) << parser.errorText() << "\n";
        return 1;
    }
    if (!parser.positionalArguments().isEmpty()) {
        QTextStream(stderr) << "Unexpected argument " << parser.positionalArguments().first()
                            << " (a folder is named with --folder)\n";
        return 1;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << " " << QCoreApplication::applicationVersion()
            << "\n";
        return 0;
    }
    folder = chooseFolder(parser);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        parser.setApplicationDescription(
            QStringLiteral("Проверон: экзамены по билетам и тесты / exams by tickets and tests.\n"
                           "PROVERON_FOLDER in the environment names the folder when --folder "
                           "does not.\n\nThe teacher's tools, without a window (each with "
                           "--help):\n  proveron [--folder DIR] check|import|export|journal|"
                           "stats|lab ...\n\nApplication folder: ") +
            platform::folderChoiceText(folder));
        out << parser.helpText();
        return 0;
    }
    return std::nullopt;
}

// Makes the chosen folder ready, or says why it cannot be used.
bool prepareFolder(const platform::FolderChoice& folder) {
    const platform::FolderReadiness ready =
        platform::prepareApplicationFolder(folder, sampleData());
    if (ready.problem == platform::FolderProblem::None) return true;
    const QString text = platform::folderProblemText(ready);
    QTextStream(stderr) << text << "\n";
    gui::showMessageBox(nullptr, QStringLiteral("Проверон"), text, QMessageBox::Critical);
    return false;
}

int runProgram(const QString& folder) {
    // Start-up is one event to the user: its files are read once for all of it (a settings
    // file of megabytes would otherwise be read again by the first window).
    std::optional<platform::ReadCacheScope> startUp(std::in_place);
    gui::QtDialogs dialogs;
    App* running = nullptr;
    gui::QtShell shell([&running] { return running ? running->language() : QString(); });
    platform::SystemClipboard clipboard;
    platform::SystemClock clock;
    platform::SystemRandom random;
    platform::SystemScreen screen;
    App app(folder, platform::Services{dialogs, shell, clipboard, clock, random, screen,
                                       platform::UserLocale::system()});
    running = &app;
    gui::QtTranslations translations(app);
    gui::ViewManager views(app, gui::programWindows());

    app.startTellingClass(class_status::thisComputer(), class_status::thisUser());
    app.userEvent([&app] { gui::programWindows().start(app); });
    startUp.reset();
    if (app.ended()) return 0;
    // While a student is at work the class window hears from this computer now and then,
    // so that a long think is not taken for a computer that froze.
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&app] {
        if (class_status::isAtWork(app.classStatus().state)) app.tellClass();
    });
    heartbeat.start(30000);
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // Buffers of a megabyte and more (a settings file of megabytes, a year of reports) go
    // back to the system when freed. Otherwise glibc raises its threshold after the first
    // one is freed and keeps every later one resident for the life of the process: a 10 MB
    // test.ini read at start-up would hold 25 MB the start window never needs.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    // "proveron check|import|journal ...": the teacher's tools, without a window.
    if (teacher_tools::isCommand(argc, argv)) return teacher_tools::runCommand(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("proveron"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROVERON_VERSION));
    const std::unique_ptr<QCoreApplication> application = createApplication(argc, argv);

    platform::FolderChoice folder;
    if (const std::optional<int> answered = readCommandLine(folder)) return *answered;
    if (!dynamic_cast<QApplication*>(application.get())) {
        // Only a folder named like an option ("--folder --help") gets here.
        QTextStream(stderr) << "proveron: a folder cannot be named " << folder.folder << "\n";
        return 1;
    }

    QApplication::setApplicationDisplayName(QStringLiteral("Проверон"));
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.proveron.proveron"));
    QApplication::setWindowIcon(gui::applicationIcon());
    startup_report::watchWhenAsked();
    // Windows hide and show one another; the program ends only through its exit buttons.
    QApplication::setQuitOnLastWindowClosed(false);

    if (!prepareFolder(folder)) return 1;
    return runProgram(folder.folder);
}
