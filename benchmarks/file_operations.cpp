// File operations per action: each action a student or a teacher takes, played as the
// scenario runner plays it, with the calls into the file system counted by
// file_ops_shim.c (loaded with LD_PRELOAD). On a network share every one of them is a
// round trip to the server, so their number, not the local time, is what a lab waits for.
//
//   LD_PRELOAD=build/lib/libproveron_file_ops.so build/bin/proveron-file-operations [--check]
//
// Prints each action's operations and syncs beside the least the action needs, and its
// time (with PROVERON_FILE_DELAY_US=2000 every operation costs 2 ms, as on a slow share)
// beside its floor measured in the same run: the least operations made and synced on the
// same disk through the same shim. --repeat N plays each action N times and takes the
// median time.
// --check fails when an action takes more operations or syncs than its bound: counts are
// not noisy, so ctest asserts them.

#include "gui/window_table.h"
#include "platform/read_cache.h"
#include "runner.h"
#include "teacher_tools/command_line.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

struct Counts {
    long operations = 0;
    long syncs = 0;
    long data = 0;
};

Counts countsNow() {
    using Reader = Counts (*)();
    static const auto reader = reinterpret_cast<Reader>(dlsym(RTLD_DEFAULT, "proveron_file_ops"));
    return reader ? reader() : Counts{-1, -1, -1};
}

Counts operator-(const Counts& a, const Counts& b) {
    return {a.operations - b.operations, a.syncs - b.syncs, a.data - b.data};
}

struct Action {
    const char* name;
    QString script; // the set-up, then the action: the last command is what is counted
    // the least operations the action needs; a student's step includes the one open of
    // this computer's status file for the class window
    int least;
    int leastSyncs; // and syncs
    // The least with the protections of shared files counted too: the rest of the lock
    // protocol (6 operations more than the taking and letting go in `least`) and the
    // regular-file stat before each file opened.
    int leastProtected;
    int bound;      // at most this many operations (what the action takes now: none may
    int boundSyncs; // grow unnoticed) and syncs, or --check fails
};

// Three tickets of three questions (ticket 1 with a picture named but missing) and 7 more
// empty ticket folders, in an exam the settings name.
QString examSetUp() {
    QString script =
        QStringLiteral("ini test re \"rus\"\nini test time \"1\"\nini test bilet \"10\"\n"
                       "ini test vopros \"3\"\nini test ball \"3\"\nini test z \"$APP/b/exam\"\n"
                       "file b/exam/lzm.lzm \"Физика\\r\\n\"\n");
    for (int ticket = 1; ticket <= 10; ++ticket) {
        const QString folder = QStringLiteral("b/exam/b%1/").arg(ticket);
        if (ticket > 3) {
            script += QStringLiteral("folder %1\n").arg(folder);
            continue;
        }
        for (int question = 1; question <= 3; ++question) {
            const QString n = QString::number(question);
            script += QStringLiteral("file %1q%2.txt \"Вопрос %2?\\r\\n\"\n").arg(folder, n);
            script += QStringLiteral("file %1v%2.txt \"да\\r\\nнет\\r\\n\"\n").arg(folder, n);
            script += QStringLiteral("file %1o%2.txt \"да\\r\\n\"\n").arg(folder, n);
        }
    }
    return script;
}

QString studentAtStart() {
    return examSetUp() + QStringLiteral("start\nclick Form1.Option1\ntype Form1.Text9 \"Иванов\"\n"
                                        "click Form1.Command14\nclick Form1.Check1\n"
                                        "type Form1.Text1 \"2\"\n");
}

QString ticketOpen() { return studentAtStart() + QStringLiteral("click Form1.Command3\n"); }

// A test of three questions in t/Анкета.
QString testSetUp() {
    QString tst = QStringLiteral("[v]\\r\\nt=Анкета\\r\\nt1=2\\r\\nt2=4\\r\\nt3=6\\r\\n");
    QString script = QStringLiteral("ini test re \"rus\"\nini test time \"1\"\n");
    for (int n = 1; n <= 3; ++n) {
        tst += QStringLiteral("[%1]\\r\\nq1=Да\\r\\nq2=Нет\\r\\nb1=1\\r\\nb2=2\\r\\n").arg(n);
        script += QStringLiteral("file t/Анкета/vt%1.txt \"Вопрос %1?\\r\\n\"\n").arg(n);
        script += QStringLiteral("file t/Анкета/v%1.txt \"Итог %1\\r\\n\"\n").arg(n);
    }
    return script +
           QStringLiteral("file t/Анкета/Анкета.tst \"%1\"\nstart\nclick Form1.Option2\n").arg(tst);
}

QString testChosen() {
    return testSetUp() + QStringLiteral("dialog \"t/Анкета/Анкета.tst\"\nclick Form6.Command5\n"
                                        "message-like \".*\"\n");
}

QString ticketEditorOpen() {
    return examSetUp() + QStringLiteral("start\nclick Form1.Option1\ntype Form1.Text9 \"Учитель\"\n"
                                        "click Form1.Command14\nclick Form1.Command15\n"
                                        "click Form4.Label8\nclick Form7.Command8\n"
                                        "folderlist Form7.Dir1 \"$APP/b/exam\"\n"
                                        "click Form7.Command6\n");
}

std::vector<Action> actions() {
    return {
        {"open ticket", ticketOpen(), 9, 0, 9, 11, 0},
        {"next question",
         ticketOpen() + QStringLiteral("choose Form2.List1 0\nclick Form2.Command4\n"
                                       "click Form2.Option2\n"),
         6, 0, 6, 8, 0},
        {"test answer", testChosen() + QStringLiteral("click Form6.Option1\n"), 5, 0, 5, 7, 0},
        {"test answer with report",
         testChosen() + QStringLiteral("click Form6.Check1\nclick Form6.Option1\n"), 8, 1, 17, 21,
         1},
        {"choose a test",
         testSetUp() + QStringLiteral("dialog \"t/Анкета/Анкета.tst\"\n"
                                      "click Form6.Command5\n"),
         13, 0, 13, 17, 0},
        {"save settings",
         examSetUp() +
             QStringLiteral("start\nclick Form1.Option1\ntype Form1.Text9 \"Учитель\"\n"
                            "click Form1.Command14\nclick Form1.Command15\n"
                            "type Form4.Text3 \"2\"\nclick Form4.Check3\nclick Form4.Command6\n"),
         8, 1, 17, 18, 1},
        {"report append",
         ticketOpen() + QStringLiteral("choose Form2.List1 0\nclick Form2.Command4\n"
                                       "click Form2.Option2\nchoose Form2.List1 0\n"
                                       "click Form2.Command4\nclick Form2.Option3\n"
                                       "choose Form2.List1 0\nclick Form2.Command4\n"
                                       "message-like \".*\"\nclick Form2.Command2\n"
                                       "click Form5.Command2\n"),
         6, 1, 13, 16, 1},
        {"test editor save",
         testSetUp() +
             QStringLiteral("click Form6.Command6\ndialog \"t/Анкета/Анкета.tst\"\n"
                            "click Form6.Command13\n"
                            "type Form6.txtV \"Вопрос 1 снова?\"\nclick Form6.Command4\n"),
         10, 2, 19, 27, 2},
        {"new ticket in the ticket editor",
         ticketEditorOpen() + QStringLiteral("type Form7.Text6 \"11\"\n"
                                             "choose Form7.Combo1 0\n"
                                             "type Form7.Text1 \"Столица?\"\n"
                                             "type Form7.Text2 \"Париж\\r\\nРим\"\n"
                                             "type Form7.Text3 \"Париж\"\nclick Form7.Command2\n"),
         12, 3, 15, 17, 3},
    };
}

// Operations and syncs of 10 imported questions (today's count: none may grow unnoticed).
// The least per question is 16 and 3: its three files made, synced and renamed, a ticket
// folder per five questions, and the check of the new exam that follows the import (each
// file opened and asked what it is); 19 with the look that refuses a link or a FIFO in the
// place of each file written.
constexpr long kImportBound = 188;
constexpr long kImportSyncsBound = 30;
constexpr int kImportLeast = 16;
constexpr int kImportLeastProtected = 19;

// Operations of `proveron export` per question: its three files opened (the listing of its
// ticket says which exist, and that they are plain files), and its picture when it has one;
// each ticket's listing shared by its questions.
constexpr double kExportBound = 4;
constexpr double kExportPicturesBound = 4.5;

struct Measured {
    Counts counts;
    double ms = 0;
    QString failure;
};

// Runs the script, counting what its last command costs.
Measured measure(const QString& script) {
    int lastLine = 0;
    for (const QString& line : script.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty()) ++lastLine;
    Measured measured;
    Counts before;
    QElapsedTimer timer;
    scenario::setCommandObserver([&](int line, bool done) {
        if (line != lastLine) return;
        // Marks for `strace -e trace=%file,%desc`, to see which calls an action makes.
        if (qEnvironmentVariableIsSet("PROVERON_MARK_ACTIONS"))
            (void)::access(done ? "/proveron-action-end" : "/proveron-action-begin", F_OK);
        if (!done) {
            before = countsNow();
            timer.start();
        } else {
            measured.ms = double(timer.nsecsElapsed()) / 1e6;
            measured.counts = countsNow() - before;
        }
    });
    const scenario::Result result = scenario::runScript(
        script + QStringLiteral("message-like \".*\"\n"), {}, gui::programWindows());
    scenario::setCommandObserver({});
    // The closing message-like is there for actions that end in a message; a result
    // failing on it alone is no failure of the action.
    if (result.outcome != scenario::Outcome::Pass && result.line <= lastLine)
        measured.failure = QStringLiteral("line %1: %2").arg(result.line).arg(result.what);
    return measured;
}

// An exam of `tickets` tickets of three questions in the application folder, each
// question with a picture when `pictures`.
void writeCountedExam(const QString& app, int tickets, bool pictures) {
    const QString exam = app + QStringLiteral("/b/exam");
    QDir().mkpath(exam);
    auto put = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    put(exam + QStringLiteral("/lzm.lzm"), "exam\r\n");
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int t = 1; t <= tickets; ++t) {
        const QString folder = exam + QStringLiteral("/b%1/").arg(t);
        QDir().mkpath(folder);
        for (int q = 1; q <= 3; ++q) {
            put(folder + QStringLiteral("q%1.txt").arg(q), "Question?\r\n");
            put(folder + QStringLiteral("v%1.txt").arg(q), "yes\r\nno\r\n");
            put(folder + QStringLiteral("o%1.txt").arg(q), "yes\r\n");
            if (pictures) picture.save(folder + QStringLiteral("k%1.bmp").arg(q), "BMP");
        }
    }
}

// A teacher's command run in the application folder, counted whole.
Measured measureCommand(const QString& app, const QStringList& arguments) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QString before = QDir::currentPath();
    QDir::setCurrent(app);
    Measured measured;
    if (qEnvironmentVariableIsSet("PROVERON_MARK_ACTIONS"))
        (void)::access("/proveron-action-begin", F_OK);
    const Counts start = countsNow();
    QElapsedTimer timer;
    timer.start();
    const int status = teacher_tools::runArguments(arguments, app, outStream, errStream);
    measured.ms = double(timer.nsecsElapsed()) / 1e6;
    measured.counts = countsNow() - start;
    if (qEnvironmentVariableIsSet("PROVERON_MARK_ACTIONS"))
        (void)::access("/proveron-action-end", F_OK);
    QDir::setCurrent(before);
    if (status != 0)
        measured.failure =
            QStringLiteral("%1: %2 %3").arg(arguments.join(QLatin1Char(' ')), out, err);
    return measured;
}

// `proveron check` of an exam of `tickets` tickets of three questions.
Measured measureCheck(int tickets) {
    QTemporaryDir app;
    writeCountedExam(app.path(), tickets, false);
    return measureCommand(app.path(), {QStringLiteral("check"), QStringLiteral("b/exam")});
}

// `proveron export` of an exam of `tickets` tickets of three questions.
Measured measureExport(int tickets, bool pictures, const char* format) {
    QTemporaryDir app;
    writeCountedExam(app.path(), tickets, pictures);
    return measureCommand(app.path(), {QStringLiteral("export"), QLatin1String(format),
                                       QStringLiteral("b/exam"), QStringLiteral("exam.bank")});
}

// The ticket editor's import of an Aiken bank of `questions` questions into a new exam of
// five questions a ticket: the import is the last command.
QString importScript(int questions) {
    QString bank;
    for (int n = 1; n <= questions; ++n)
        bank += QStringLiteral("Сколько будет %1 + 1?\\r\\nA. %1\\r\\nB. %2\\r\\n"
                               "ANSWER: B\\r\\n\\r\\n")
                    .arg(n)
                    .arg(n + 1);
    return QStringLiteral("ini test re \"rus\"\nini test time \"1\"\nini test vopros \"5\"\n"
                          "file import/bank.txt \"%1\"\nstart\nclick Form1.Option1\n"
                          "type Form1.Text9 \"Учитель\"\nclick Form1.Command14\n"
                          "click Form1.Command15\nclick Form4.Label8\nclick Form7.Command15\n"
                          "dialog \"import/bank.txt\"\nclick Form7.Command17\n"
                          "click Form7.Command18\n")
        .arg(bank);
}

// The floor of an action's time: `operations` calls, `syncs` of them fsyncs of a small
// file, the rest looks at it, on the disk the actions use and through the same shim.
double floorMs(int operations, int syncs) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("floor")));
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly) || file.write("x") != 1 || !file.flush()) return 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = syncs; i < operations; ++i)
        (void)::access(path.constData(), F_OK);
    for (int i = 0; i < syncs; ++i)
        (void)::fsync(file.handle());
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool check = QCoreApplication::arguments().contains(QStringLiteral("--check"));
    if (countsNow().operations < 0) {
        std::printf("file_ops_shim is not loaded (LD_PRELOAD): nothing to count\n");
        return check ? 1 : 0;
    }
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype repeatAt = arguments.indexOf(QStringLiteral("--repeat"));
    const int repeat = repeatAt >= 0 ? std::max(1, arguments.value(repeatAt + 1).toInt()) : 1;
    bool failed = false;
    std::printf("%-34s %6s %6s %6s %6s %6s %6s %6s %6s %9s %9s %6s\n", "action", "ops", "least",
                "ratio", "+lock", "ratio", "syncs", "least", "data", "ms", "floor ms", "ratio");
    for (const Action& action : actions()) {
        Measured m = measure(action.script);
        std::vector<double> times{m.ms}, floors{floorMs(action.least, action.leastSyncs)};
        for (int i = 1; i < repeat; ++i) {
            times.push_back(measure(action.script).ms);
            floors.push_back(floorMs(action.least, action.leastSyncs));
        }
        m.ms = median(times);
        const double floor = median(floors);
        const bool over = m.counts.operations > action.bound || m.counts.syncs > action.boundSyncs;
        std::printf("%-34s %6ld %6d %6.2f %6d %6.2f %6ld %6d %6ld %9.3f %9.3f %6.2f%s\n",
                    action.name, m.counts.operations, action.least,
                    double(m.counts.operations) / action.least, action.leastProtected,
                    double(m.counts.operations) / action.leastProtected, m.counts.syncs,
                    action.leastSyncs, m.counts.data, m.ms, floor, floor > 0 ? m.ms / floor : 0,
                    over ? "  OVER BOUND" : "");
        if (!m.failure.isEmpty())
            std::printf("  the action did not run as written: %s\n", qPrintable(m.failure));
        failed = failed || over || !m.failure.isEmpty();
    }
    // Per file: the difference between 20 and 10 tickets, over the 90 files added.
    const Measured ten = measureCheck(10), twenty = measureCheck(20);
    const double perFile = double((twenty.counts - ten.counts).operations) / 90;
    const bool over = perFile > 3;
    std::printf("%-34s %6.2f %6d %6.2f %6d %6.2f %6s %6s %6s %9.3f%s\n", "check, per file", perFile,
                2, perFile / 2, 2, perFile / 2, "-", "-", "-", (twenty.ms - ten.ms) / 90,
                over ? "  OVER BOUND" : "");
    for (const Measured* m : {&ten, &twenty})
        if (!m->failure.isEmpty()) std::printf("  %s\n", qPrintable(m->failure));
    failed = failed || over || !ten.failure.isEmpty() || !twenty.failure.isEmpty();
    // Per imported question: the difference between banks of 20 and 10 questions, over 10.
    const Measured small = measure(importScript(10)), large = measure(importScript(20));
    const Counts added = large.counts - small.counts;
    const double perQuestion = double(added.operations) / 10;
    const bool importOver = added.operations > kImportBound || added.syncs > kImportSyncsBound;
    std::printf("%-34s %6.1f %6d %6.2f %6d %6.2f %6.1f %6d %6.1f %9.3f%s\n", "import, per question",
                perQuestion, kImportLeast, perQuestion / kImportLeast, kImportLeastProtected,
                perQuestion / kImportLeastProtected, double(added.syncs) / 10, 3,
                double(added.data) / 10, (large.ms - small.ms) / 10,
                importOver ? "  OVER BOUND" : "");
    for (const Measured* m : {&small, &large})
        if (!m->failure.isEmpty()) std::printf("  import: %s\n", qPrintable(m->failure));
    failed = failed || importOver || !small.failure.isEmpty() || !large.failure.isEmpty();
    // Per exported question: the difference between 20 and 10 tickets, over the 30 added.
    for (const auto& [name, pictures, format, least, bound] :
         {std::tuple{"export gift, per question", false, "gift", 3.33, kExportBound},
          {"export xml, per question", false, "xml", 3.33, kExportBound},
          {"export xml, pictures, per question", true, "xml", 4.33, kExportPicturesBound}}) {
        const Measured few = measureExport(10, pictures, format);
        const Measured more = measureExport(20, pictures, format);
        const Counts diff = more.counts - few.counts;
        const double perExported = double(diff.operations) / 30;
        const bool exportOver = perExported > bound || diff.syncs != 0;
        std::printf("%-34s %6.2f %6.2f %6.2f %6.2f %6.2f %6ld %6d %6.1f %9.3f%s\n", name,
                    perExported, least, perExported / least, least, perExported / least, diff.syncs,
                    0, double(diff.data) / 30, (more.ms - few.ms) / 30,
                    exportOver ? "  OVER BOUND" : "");
        for (const Measured* m : {&few, &more})
            if (!m->failure.isEmpty()) std::printf("  export: %s\n", qPrintable(m->failure));
        failed = failed || exportOver || !few.failure.isEmpty() || !more.failure.isEmpty();
    }
    return check && failed ? 1 : 0;
}
