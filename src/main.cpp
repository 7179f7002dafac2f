// Проверон: an examiner and a tester in one program. The application folder (settings,
// exams, tests, reports) is the folder that holds the program.

#include "common/settings_file.h"
#include "forms/app.h"
#include "gui/icon.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_shell.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "platform/system_services.h"
#include "teacher_tools/command_line.h"

#include <QApplication>

int main(int argc, char** argv) {
    // "proveron check|import|journal ...": the teacher's tools, without a window.
    if (teacher_tools::isCommand(argc, argv)) return teacher_tools::runCommand(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("proveron"));
    QApplication::setApplicationDisplayName(QStringLiteral("Проверон"));
    QApplication::setApplicationVersion(QStringLiteral(PROVERON_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("proveron"));
    QApplication::setWindowIcon(gui::applicationIcon());
    // Windows hide and show one another; the program ends only through its exit buttons.
    QApplication::setQuitOnLastWindowClosed(false);

    gui::QtDialogs dialogs;
    App* running = nullptr;
    gui::QtShell shell([&running] { return running ? interfaceLanguage(*running) : QString(); });
    platform::SystemClipboard clipboard;
    platform::SystemClock clock;
    platform::SystemRandom random;
    platform::SystemScreen screen;
    App app(QCoreApplication::applicationDirPath(),
            platform::Services{dialogs, shell, clipboard, clock, random, screen,
                               platform::UserLocale::system()});
    running = &app;
    gui::ViewManager views(app, gui::programWindows());

    app.userEvent([&app] { gui::programWindows().start(app); });
    if (app.ended()) return 0;
    return application.exec();
}
