// Every action a student or a teacher takes, timed over generated data at several sizes,
// beside a floor measured in the same run: the least file work the same action needs
// (its raw I/O) and, for a window drawn, a bare Qt list of the same rows drawn. The
// program prints each action's time as a ratio of its floor, so that figures from these
// shared, noisy machines still compare. Text is measured with the real fonts of the
// platform (offscreen), not a fixed width per character.
//
//   build-release/bin/proveron-benchmarks [--benchmark_min_time=0.2] [--benchmark_filter=...]
//   build-release/bin/proveron-benchmarks --write-report FOLDER RECORDS  (FOLDER/s/oth.txt)

#include "fixtures.h"

#include "exam_content/folder_chooser.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "gui/folder_chooser_view.h"
#include "gui/journal_view.h"
#include "gui/qt_shell.h"
#include "gui/ticket_window_view.h"
#include "platform/ansi_codec.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"
#include "platform/system_services.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "teacher_tools/journal.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

using bench::Data;
using bench::Program;
using bench::readAll;
using bench::reportOf;

// Raw I/O of a question step: the three files of the question stepped to, read once.
void rawQuestion(const Data& data, bool first) {
    static const char* const files[2][3] = {{"q1.txt", "v1.txt", "o1.txt"},
                                            {"q2.txt", "v2.txt", "o2.txt"}};
    for (const char* name : files[first ? 0 : 1])
        benchmark::DoNotOptimize(readAll(data.ticketFile(1, name)));
}

// The question buttons 1 and 2 in turn: each selection loads its question, both the same
// size.
void stepQuestions(Form2& ticket, App& app, bool& first) {
    app.userEvent([&] { (first ? ticket.Option(1) : ticket.Option(2)).setValue(true); });
    first = !first;
}

// The variants of the question stepped to, as their file holds them.
QStringList variantsOf(const Data& data, bool first) {
    return QString::fromUtf8(readAll(data.ticketFile(1, first ? "v1.txt" : "v2.txt")))
        .split(QStringLiteral("\r\n"));
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

// Two folders of `folders` folders each, for the folder lists.
struct FolderPair {
    explicit FolderPair(int folders) {
        for (const char* side : {"a", "b"})
            for (int f = 1; f <= folders; ++f)
                QDir().mkpath(
                    dir.filePath(QStringLiteral("%1/Папка %2").arg(QLatin1String(side)).arg(f)));
    }
    QString side(bool first) const { return dir.filePath(QLatin1String(first ? "a" : "b")); }
    QTemporaryDir dir;
};

// The exam folder chooser's folder list moved between the two folders and drawn.
void FolderListDrawn(benchmark::State& state) {
    const FolderPair folders(int(state.range(0)));
    Data data(10, 5, 1024);
    Program program(data);
    program.start();
    Form9& chooser = program.app.window<Form9>();
    program.app.userEvent([&] { chooser.show(); });
    gui::FolderChooserView view(program.app, chooser);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    view.show();
    bool first = false;
    for (auto _ : state) {
        program.app.userEvent([&] { chooser.Dir1.setPath(folders.side(first)); });
        QApplication::processEvents();
        first = !first;
    }
    view.detach();
}

// Its floor: the folder listed and a bare list of its folders (one height for all rows)
// refilled and drawn.
void RawFolderListDrawn(benchmark::State& state) {
    const FolderPair folders(int(state.range(0)));
    QListWidget list;
    list.setUniformItemSizes(true);
    list.setAttribute(Qt::WA_DontShowOnScreen, true);
    list.resize(300, 300);
    list.show();
    bool first = false;
    for (auto _ : state) {
        list.clear();
        list.addItems(QDir(folders.side(first)).entryList(QDir::Dirs | QDir::NoDotAndDotDot));
        QApplication::processEvents();
        first = !first;
    }
}

void RawNextQuestion(benchmark::State& state) {
    Data data(int(state.range(0)), int(state.range(1)), 1024);
    bool first = false;
    for (auto _ : state) {
        rawQuestion(data, first);
        first = !first;
    }
}

// The floor of a question drawn: its files read and a bare list of its variants (one
// height for all rows) refilled and drawn.
void RawNextQuestionDrawn(benchmark::State& state) {
    Data data(int(state.range(0)), int(state.range(1)), 1024);
    QListWidget list;
    list.setUniformItemSizes(true);
    list.setAttribute(Qt::WA_DontShowOnScreen, true);
    list.resize(600, 300);
    list.show();
    bool first = false;
    for (auto _ : state) {
        rawQuestion(data, first);
        list.clear();
        list.addItems(variantsOf(data, first));
        QApplication::processEvents();
        first = !first;
    }
}

// Ticket 2 opened by a student of a program started afresh each time (untimed).
void openTicketsTimed(benchmark::State& state, const Data& data) {
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

void OpenTicket(benchmark::State& state) {
    openTicketsTimed(state, Data(int(state.range(0)), 5, 1024));
}

// The same with a settings file of the size given: with 10 MB of notes below the program's
// section, against 1 KB in the same run. The keys it reads all lie in the file's first lines.
void OpenTicketWithSettings(benchmark::State& state) {
    openTicketsTimed(state, Data(10, 5, int(state.range(0))));
}

void RawOpenTicket(benchmark::State& state) {
    Data data(int(state.range(0)), 5, 1024);
    for (auto _ : state) {
        rawQuestion(data, true);
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
        file.commit(); // its one sync
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

// The process's peak resident memory is counted from here on.
void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// The peak resident memory of the process since resetPeakMemory(), in MB.
double peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// An application folder whose exam report has `records` records.
struct ReportFolder {
    explicit ReportFolder(int records) {
        QDir().mkpath(dir.filePath(QStringLiteral("s")));
        platform::writeBytesAtomically(path(), reportOf(records));
    }
    QString path() const { return dir.filePath(QStringLiteral("s/oth.txt")); }
    QTemporaryDir dir;
};

QDialog* shownViewer() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// The report viewer opened and its first rows drawn (its text, scrolled to the newest
// records), then, with `table`, its table tab shown and drawn too; closed untimed.
void viewReport(benchmark::State& state, bool table) {
    const ReportFolder folder(int(state.range(0)));
    gui::QtShell shell([] { return QStringLiteral("rus"); });
    resetPeakMemory();
    for (auto _ : state) {
        shell.open(folder.path());
        QDialog* viewer = shownViewer();
        QApplication::processEvents();
        if (table && viewer) {
            viewer->findChild<QTabWidget*>()->setCurrentIndex(1);
            QApplication::processEvents();
        }
        state.PauseTiming();
        if (viewer) viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMemoryMb();
}

void ViewerOpen(benchmark::State& state) { viewReport(state, false); }
void ViewerTableShown(benchmark::State& state) { viewReport(state, true); }

// Their floor: the report read and its lines counted.
void RawViewerOpen(benchmark::State& state) {
    const ReportFolder folder(int(state.range(0)));
    resetPeakMemory();
    for (auto _ : state) {
        const QByteArray bytes = readAll(folder.path());
        benchmark::DoNotOptimize(bytes.count('\n'));
    }
    state.counters["peak_MB"] = peakMemoryMb();
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
    benchmark::DoNotOptimize(table.allRows()); // read into records, as when first shown
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
    resetPeakMemory();
    for (auto _ : state)
        benchmark::DoNotOptimize(teacher_tools::readJournalFile(path, say)->rows.size());
    state.counters["peak_MB"] = peakMemoryMb();
}

// Its floor: the same file read a line at a time with nothing done to the lines.
void RawJournalFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("oth.txt"));
    platform::writeBytesAtomically(path, reportOf(int(state.range(0))));
    resetPeakMemory();
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        qsizetype lines = 0;
        while (!file.atEnd())
            lines += file.readLine().size() > 0;
        benchmark::DoNotOptimize(lines);
    }
    state.counters["peak_MB"] = peakMemoryMb();
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
BENCHMARK(RawNextQuestionDrawn)->Apply(questionSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(FolderListDrawn)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawFolderListDrawn)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenTicket)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenTicketWithSettings)->Arg(1 << 10)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
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

BENCHMARK(ViewerOpen)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerTableShown)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawViewerOpen)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerTable)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerFilter)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerSort)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(JournalFile)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawJournalFile)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);

namespace {

// Each action's floor, measured in the same run, and its goal: a ratio to the floor, or
// a time where a user waits for the action whatever its floor.
struct Goal {
    const char* action;
    const char* floor;
    double ratio = 0; // the action takes at most this many times its floor
    double ms = 0;    // or at most this long
};

const Goal kGoals[] = {
    {"NextQuestion", "RawNextQuestion", 0, 0}, // the goal is the drawn step
    {"NextQuestionDrawn", "RawNextQuestionDrawn", 2, 5},
    {"FolderListDrawn", "RawFolderListDrawn", 2, 15},
    {"OpenTicket", "RawOpenTicket", 0, 0},
    {"DrawTicket", "RawDrawTicket", 0, 0},
    {"SaveSettings", "RawSaveSettings", 1.5, 0},
    {"Start", "RawStart", 0, 0}, // models only: start-up is benchmarks/startup.sh's
    {"ViewerOpen", "RawViewerOpen", 0, 300},
    {"ViewerTableShown", "RawViewerOpen", 0, 0},
    {"ViewerTable", "RawViewerOpen", 0, 0},
    {"ViewerFilter", "RawViewerOpen", 0, 50},
    {"ViewerSort", "RawViewerOpen", 0, 200},
    {"JournalFile", "RawJournalFile", 0, 500},
    // windows.cpp: the editor's floor is the question step's (its files and a list drawn).
    {"ResultsWindow", "RawResultsWindow", 2, 0},
    {"TestAnswerDrawn", "RawTestAnswerDrawn", 2, 5},
    {"TicketEditorTicketDrawn", "RawNextQuestionDrawn", 2, 5},
    {"TicketEditorQuestionDrawn", "RawNextQuestionDrawn", 2, 5},
    {"ImportExam", "RawImportExam", 1.5, 0},
};

// Collects each run's time and prints every action beside its floor.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            cpu_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        // On a loaded machine the processor time's ratio is the steadier of the two.
        std::printf("\n%-32s %10s %10s %8s %9s %14s %5s\n", "action/size", "action ms", "floor ms",
                    "ratio", "cpu ratio", "goal", "met");
        for (const auto& [name, time] : times_) {
            // With --benchmark_repetitions, the mean and the median have a ratio; a spread
            // has none.
            if (name.ends_with("_stddev") || name.ends_with("_cv")) continue;
            const std::string action = name.substr(0, name.find('/'));
            const std::string size = name.substr(action.size());
            const Goal* goal = nullptr;
            for (const Goal& g : kGoals)
                if (action == g.action) goal = &g;
            if (!goal) continue;
            // The viewer's floors are measured at its sizes; the sizes of the others match.
            const auto found = times_.find(goal->floor + size);
            if (found == times_.end() || found->second <= 0) continue;
            const double ratio = time / found->second;
            char text[32] = "-";
            bool met = true;
            if (goal->ratio > 0 && goal->ms > 0) {
                std::snprintf(text, sizeof text, "<=%.1fx or %.0fms", goal->ratio, goal->ms);
                met = ratio <= goal->ratio || time <= goal->ms;
            } else if (goal->ratio > 0) {
                std::snprintf(text, sizeof text, "<=%.1fx", goal->ratio);
                met = ratio <= goal->ratio;
            } else if (goal->ms > 0) {
                std::snprintf(text, sizeof text, "<=%.0fms", goal->ms);
                met = time <= goal->ms;
            }
            const double floorCpu = cpu_[goal->floor + size];
            std::printf("%-32s %10.3f %10.3f %8.2f %9.2f %14s %5s\n", name.c_str(), time,
                        found->second, ratio, floorCpu > 0 ? cpu_[name] / floorCpu : 0.0, text,
                        met ? "yes" : "NO");
        }
    }

private:
    std::map<std::string, double> times_;
    std::map<std::string, double> cpu_;
};

// --write-report FOLDER RECORDS: an application folder with an exam report of that many
// records, for `proveron journal --folder FOLDER` (benchmarks/journal.sh).
bool writeReport(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--write-report"));
    if (at < 0 || at + 2 >= arguments.size()) return false;
    const QString folder = arguments.at(at + 1);
    QDir().mkpath(folder + QStringLiteral("/s"));
    platform::writeBytesAtomically(folder + QStringLiteral("/s/oth.txt"),
                                   reportOf(arguments.at(at + 2).toInt()));
    return true;
}

// The offscreen platform says, for every real window shown, that it cannot do what a
// window manager does (raise, size hints); the output keeps to the figures.
QtMessageHandler platformMessages = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (platformMessages) platformMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platformMessages = qInstallMessageHandler(quietPlatform);
    QApplication application(argc, argv);
    if (writeReport(QCoreApplication::arguments())) return 0;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
