// Every action a student or a teacher takes, timed over generated data at several sizes,
// beside the least file work the same action needs (its raw I/O), measured in the same
// run. The program prints each action's time as a ratio of its raw I/O, so that figures
// from these shared, noisy machines still compare.
//
//   build/bin/proveron-benchmarks [--benchmark_min_time=0.2] [--benchmark_filter=...]

#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "gui/journal_view.h"
#include "gui/ticket_window_view.h"
#include "platform/ansi_codec.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "teacher_tools/journal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

// An application folder holding an exam of `tickets` tickets of five questions, question
// 1 of ticket 1 with `variants` answer variants, and a test.ini of about `iniBytes`.
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
                                         n == 1 ? lines.join(QStringLiteral("\r\n"))
                                                : QStringLiteral("да\r\nнет"));
                platform::writeWholeFile(ticket + QStringLiteral("o%1.txt").arg(number),
                                         n == 1 ? lines.first() : QStringLiteral("да"));
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
    QString ticketFile(int ticket, const char* name) const {
        return dir_.filePath(QStringLiteral("b/exam/b%1/").arg(ticket) + QLatin1String(name));
    }

private:
    QTemporaryDir dir_;
};

struct Program {
    explicit Program(const Data& data)
        : app(data.folder(), platform::Services{desktop, desktop, desktop, desktop, desktop,
                                                desktop, platform::UserLocale::russian()}) {}
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
    App app;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Raw I/O of a question step: its three files read once.
void rawQuestion(const Data& data) {
    for (const char* name : {"q1.txt", "v1.txt", "o1.txt"})
        benchmark::DoNotOptimize(readAll(data.ticketFile(1, name)));
}

// The question buttons 1 and 2 in turn: each selection loads its question.
void stepQuestions(Form2& ticket, App& app, bool& first) {
    app.userEvent([&] { (first ? ticket.Option(1) : ticket.Option(2)).setValue(true); });
    first = !first;
}

void NextQuestion(benchmark::State& state) {
    Data data(int(state.range(0)), int(state.range(1)), 1024);
    Program program(data);
    program.start();
    Form2& ticket = program.openTicket(1);
    bool first = false;
    for (auto _ : state)
        stepQuestions(ticket, program.app, first);
}

void NextQuestionDrawn(benchmark::State& state) {
    Data data(int(state.range(0)), int(state.range(1)), 1024);
    Program program(data);
    program.start();
    Form2& ticket = program.openTicket(1);
    gui::TicketWindowView view(program.app, ticket);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    view.show();
    bool first = false;
    for (auto _ : state) {
        stepQuestions(ticket, program.app, first);
        QApplication::processEvents();
    }
    view.detach();
}

void RawNextQuestion(benchmark::State& state) {
    Data data(int(state.range(0)), int(state.range(1)), 1024);
    for (auto _ : state)
        rawQuestion(data);
}

void OpenTicket(benchmark::State& state) {
    Data data(int(state.range(0)), 5, 1024);
    for (auto _ : state) {
        state.PauseTiming();
        auto program = std::make_unique<Program>(data);
        program->start();
        state.ResumeTiming();
        program->openTicket(2);
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
}

void RawOpenTicket(benchmark::State& state) {
    Data data(int(state.range(0)), 5, 1024);
    for (auto _ : state) {
        rawQuestion(data);
        benchmark::DoNotOptimize(QFileInfo::exists(data.ticketFile(2, "k1.bmp")));
    }
}

void DrawTicket(benchmark::State& state) {
    Data data(int(state.range(0)), 5, 1024);
    Program program(data);
    program.start();
    Form1& start = program.app.window<Form1>();
    program.app.userEvent([&] {
        start.Option1.click();
        start.Text9.setText(QStringLiteral("Иванов"));
        start.Command14.press();
    });
    // The first and the last ticket in turn, so every draw looks its ticket up.
    bool last = false;
    for (auto _ : state) {
        program.desktop.randomValues = {last ? 0.99999 : 0.0};
        last = !last;
        program.app.userEvent([&] { start.Command1.press(); });
    }
}

void RawDrawTicket(benchmark::State& state) {
    Data data(int(state.range(0)), 5, 1024);
    for (auto _ : state) {
        for (const char* name : {"q1.txt", "v1.txt", "o1.txt"})
            benchmark::DoNotOptimize(QFileInfo::exists(data.ticketFile(int(state.range(0)), name)));
    }
}

void SaveSettings(benchmark::State& state) {
    Data data(10, 5, int(state.range(0)));
    Program program(data);
    program.start();
    Form4& settings = program.app.window<Form4>();
    int round = 0;
    for (auto _ : state) {
        program.app.userEvent([&] {
            settings.show();
            settings.Text3.setText(QString::number(10 + (++round % 2)));
            settings.Check3.setValue(1);
            settings.Command6.press();
        });
    }
}

void RawSaveSettings(benchmark::State& state) {
    Data data(10, 5, int(state.range(0)));
    for (auto _ : state) {
        QByteArray bytes = readAll(data.settingsFile());
        QSaveFile file(data.settingsFile());
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.flush();
        fsync(file.handle());
        file.commit();
    }
}

void Start(benchmark::State& state) {
    Data data(10, 5, int(state.range(0)));
    for (auto _ : state) {
        Program program(data);
        program.start();
        state.PauseTiming();
        program.app.userEvent([&] { program.app.end(); });
        state.ResumeTiming();
    }
}

void RawStart(benchmark::State& state) {
    Data data(10, 5, int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(readAll(data.settingsFile()));
        benchmark::DoNotOptimize(readAll(data.folder() + QStringLiteral("/b/exam/lzm.lzm")));
    }
}

// An exam report of `records` records of five questions, as the program writes it, each
// with its own name and date.
QByteArray reportOf(int records) {
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

// The report viewer's table: made, filtered a keystroke at a time, sorted.
void ViewerTable(benchmark::State& state) {
    const QByteArray report = reportOf(int(state.range(0)));
    for (auto _ : state) {
        gui::JournalTable table(report, QStringLiteral("rus"), QLatin1Char(','), nullptr);
        benchmark::DoNotOptimize(table.allRows());
    }
}

void ViewerFilter(benchmark::State& state) {
    const QByteArray report = reportOf(int(state.range(0)));
    gui::JournalTable table(report, QStringLiteral("rus"), QLatin1Char(','), nullptr);
    table.setFilter(QStringLiteral("x")); // the texts searched are made once, as for a user
    bool other = false;
    for (auto _ : state) {
        table.setFilter(other ? QStringLiteral("ученик 12") : QStringLiteral("ученик 13"));
        other = !other;
    }
}

void ViewerSort(benchmark::State& state) {
    const QByteArray report = reportOf(int(state.range(0)));
    gui::JournalTable table(report, QStringLiteral("rus"), QLatin1Char(','), nullptr);
    bool other = false;
    for (auto _ : state) {
        table.rows()->sort(other ? 2 : 0, Qt::AscendingOrder); // names, then dates
        other = !other;
    }
}

// `proveron journal`'s reading: the report a line at a time.
void JournalFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("oth.txt"));
    platform::writeBytesAtomically(path, reportOf(int(state.range(0))));
    const teacher_tools::Wording say(QStringLiteral("rus"));
    for (auto _ : state)
        benchmark::DoNotOptimize(teacher_tools::readJournalFile(path, say)->rows.size());
}

// Its floor: the same file read a line at a time with nothing done to the lines.
void RawJournalFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("oth.txt"));
    platform::writeBytesAtomically(path, reportOf(int(state.range(0))));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        qsizetype lines = 0;
        while (!file.atEnd())
            lines += file.readLine().size() > 0;
        benchmark::DoNotOptimize(lines);
    }
}

void questionSizes(benchmark::internal::Benchmark* b) {
    for (int tickets : {10, 1000, 10000})
        b->Args({tickets, 5});
    for (int variants : {500, 5000})
        b->Args({10, variants});
}

} // namespace

BENCHMARK(NextQuestion)->Apply(questionSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(RawNextQuestion)->Apply(questionSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(NextQuestionDrawn)->Apply(questionSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenTicket)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawOpenTicket)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawTicket)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawDrawTicket)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSettings)->Arg(1 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(RawSaveSettings)
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Start)->Arg(1 << 10)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(RawStart)->Arg(1 << 10)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK(ViewerTable)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerFilter)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerSort)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(JournalFile)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawJournalFile)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);

namespace {

// Collects each run's time and prints every action beside its raw I/O.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        // The goal: at most twice the raw I/O plus 1 ms in the model, plus 10 ms more with
        // the window drawn.
        std::printf("\n%-32s %10s %10s %8s %10s %5s\n", "action/size", "action ms", "raw ms",
                    "ratio", "goal ms", "met");
        for (const auto& [name, time] : times_) {
            if (name.rfind("Raw", 0) == 0) continue;
            std::string raw = "Raw" + name;
            const std::string drawnMark = "Drawn";
            const auto at = raw.find(drawnMark);
            const bool drawn = at != std::string::npos;
            if (drawn) raw.erase(at, drawnMark.size());
            const auto found = times_.find(raw);
            if (found == times_.end() || found->second <= 0) continue;
            const double goal = 2 * found->second + (drawn ? 11.0 : 1.0);
            std::printf("%-32s %10.3f %10.3f %8.2f %10.3f %5s\n", name.c_str(), time, found->second,
                        time / found->second, goal, time <= goal ? "yes" : "NO");
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
