#pragma once
// What the benchmarks share: generated application folders and the program over them, with
// scripted dialogs but the real screen.

#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "platform/ansi_codec.h"
#include "platform/fake_services.h"
#include "platform/system_services.h"
#include "platform/text_files.h"
#include "shell/start_window.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace bench {

// An application folder holding an exam of `tickets` tickets of five questions, the
// questions of tickets 1 and 2 with `variants` answer variants each (every step the same
// size), and a test.ini of about `iniBytes`.
class Data {
public:
    Data(int tickets, int variants, int iniBytes) {
        const QString exam = dir_.filePath(QStringLiteral("b/exam"));
        QDir().mkpath(exam);
        platform::writeWholeFile(exam + QStringLiteral("/lzm.lzm"), QStringLiteral("Физика"));
        QStringList lines;
        for (int i = 1; i <= variants; ++i)
            lines << QStringLiteral("Вариант ответа номер %1").arg(i);
        for (int t = 1; t <= tickets; ++t) {
            const QString ticket = exam + QStringLiteral("/b%1/").arg(t);
            QDir().mkpath(ticket);
            if (t > 2) continue; // the others only need to be there
            for (int n = 1; n <= 5; ++n) {
                const QString number = QString::number(n);
                platform::writeWholeFile(ticket + QStringLiteral("q%1.txt").arg(number),
                                         QStringLiteral("Вопрос %1?").arg(number));
                platform::writeWholeFile(ticket + QStringLiteral("v%1.txt").arg(number),
                                         lines.join(QStringLiteral("\r\n")));
                platform::writeWholeFile(ticket + QStringLiteral("o%1.txt").arg(number),
                                         lines.first());
            }
        }
        QByteArray ini = "[test]\r\nre=rus\r\ntime=1\r\nbilet=" + QByteArray::number(tickets) +
                         "\r\nvopros=5\r\nball=3\r\nz=" + exam.toUtf8() + "\r\n[notes]\r\n";
        for (int i = 0; ini.size() < iniBytes; ++i)
            ini += "note" + QByteArray::number(i) + "=some teacher's remark\r\n";
        platform::writeBytesAtomically(settingsFile(), ini);
    }

    QString folder() const { return dir_.path(); }
    QString settingsFile() const { return dir_.filePath(QStringLiteral("test.ini")); }
    QString examFolder() const { return dir_.filePath(QStringLiteral("b/exam")); }
    QString ticketFile(int ticket, const char* name) const {
        return dir_.filePath(QStringLiteral("b/exam/b%1/").arg(ticket) + QLatin1String(name));
    }

private:
    QTemporaryDir dir_;
};

// The program with scripted dialogs but the real screen: its text widths are the fonts'.
struct Program {
    explicit Program(const Data& data) : Program(data.folder()) {}
    explicit Program(const QString& folder)
        : app(folder, platform::Services{desktop, desktop, desktop, desktop, desktop, screen,
                                         platform::UserLocale::russian()}) {}
    void start() {
        app.userEvent([this] { app.window<Form1>().show(); });
    }
    Form2& openTicket(int ticket) {
        Form1& start = app.window<Form1>();
        app.userEvent([&] {
            start.Option1.click();
            start.Text9.setText(QStringLiteral("Иванов"));
            start.Command14.press();
            start.Check1.click();
            start.Text1.setText(QString::number(ticket));
            start.Command3.press();
        });
        return *app.loaded<Form2>();
    }
    platform::FakeDesktop desktop;
    platform::SystemScreen screen;
    App app;
};

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// An exam report of `records` records of five questions, as the program writes it, each
// with its own name and date.
inline QByteArray reportOf(int records) {
    QByteArray bytes;
    bytes.reserve(qsizetype(records) * 450);
    for (int r = 0; r < records; ++r) {
        const QString record =
            QStringLiteral("Дата: %1.%2.2026 Время: 9:%3:00\r\r\nФ.И.О ,  Данные  Ученик %4\r\r\n"
                           "Билет № b%5\r\r\nПервый вопрос, оценка  5; Второй вопрос, оценка  "
                           "4; Третий вопрос, оценка  3; Четвертый вопрос, оценка  5; Пятый "
                           "вопрос, оценка  2; ; ; ; ; ; ; ; ; ; ; ; ; ; ; \r\r\nЗачет\r\r\n"
                           "==================\r\r\n\r\n\r\n")
                .arg(1 + r % 28)
                .arg(1 + r / 28 % 12)
                .arg(r % 60, 2, 10, QLatin1Char('0'))
                .arg(r)
                .arg(1 + r % 30);
        bytes += platform::toAnsi(record);
    }
    return bytes;
}

} // namespace bench
