// A student's copy of the program in the middle of a ticket, for the lab test of a share
// that goes away (tests/lab/share_gone.sh). It runs the program's own windows (no screen)
// on the application folder given, takes a ticket, answers question 1 and says "answered";
// then it waits for a line on its input before each step, so that the script can take the
// share away and bring it back between them:
//
//   "next"    opens question 2, then closes the results window (saving the record)
//   "retry"   presses "Закрыть" of the results window again
//
// It prints each message box as "message: TEXT" (line breaks as \n), the results window as
// "results: LINE1 | VERDICT", and after each close "saved" or "not saved".
//
//   proveron_ticket_driver FOLDER

#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "platform/fake_services.h"
#include "shell/start_window.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void tellMessages(platform::FakeDesktop& desktop) {
    while (!desktop.messages.empty()) {
        QString text = desktop.messages.front().text;
        desktop.messages.pop_front();
        say(QStringLiteral("message: ") + text.replace(QLatin1Char('\n'), QStringLiteral("\\n")));
    }
}

bool waitFor(const char* word) {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == word) return true;
    }
    return false;
}

void closeResults(App& app, platform::FakeDesktop& desktop) {
    Form5* results = app.loaded<Form5>();
    if (!results) {
        say(QStringLiteral("no results window"));
        return;
    }
    app.userEvent([&] { results->Command2.click(); });
    tellMessages(desktop);
    say(app.loaded<Form5>() ? QStringLiteral("not saved") : QStringLiteral("saved"));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    if (argc != 2) return 2;
    platform::FakeDesktop desktop;
    App app(QString::fromLocal8Bit(argv[1]),
            platform::Services{desktop, desktop, desktop, desktop, desktop, desktop,
                               platform::UserLocale::russian(), desktop});
    Form1& start = app.window<Form1>();
    app.userEvent([&] { start.Option1.click(); });
    app.userEvent([&] { start.Text9.type(QStringLiteral("Студент")); });
    app.userEvent([&] { start.Command14.click(); });
    desktop.randomValues.push_back(0);
    app.userEvent([&] { start.Command1.click(); });
    app.userEvent([&] { start.Timer1.tick(); });
    app.userEvent([&] { start.Command3.click(); });
    Form2* ticket = app.loaded<Form2>();
    if (!ticket) {
        tellMessages(desktop);
        say(QStringLiteral("no ticket"));
        return 1;
    }
    if (Form3* viewer = app.loaded<Form3>()) app.userEvent([&] { viewer->Timer1.tick(); });
    app.userEvent([&] { ticket->List1.choose(0); });
    app.userEvent([&] { ticket->Command4.click(); });
    tellMessages(desktop);
    say(QStringLiteral("answered"));

    if (!waitFor("next")) return 1;
    app.userEvent([&] { ticket->Option(2).click(); });
    tellMessages(desktop);
    if (Form5* results = app.loaded<Form5>(); results && results->visible()) {
        say(QStringLiteral("results: ") + results->l(1).caption() + QStringLiteral(" | ") +
            results->Label3.caption());
    }
    closeResults(app, desktop);

    while (app.loaded<Form5>()) {
        if (!waitFor("retry")) return 1;
        closeResults(app, desktop);
    }
    return 0;
}
