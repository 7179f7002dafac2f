// The windows a student or a teacher waits for, drawn with the real fonts (offscreen), and
// the import of a question bank, each beside a floor measured in the same run: the least
// file work the action needs and, for a window, a bare Qt widget of the same content drawn.
// Registered in proveron-benchmarks (actions.cpp holds the goal table and main).

#include "fixtures.h"

#include "exam_content/ticket_editor.h"
#include "exam_taking/exam_report.h"
#include "exam_taking/results_window.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "settings/settings_window.h"
#include "teacher_tools/bank_import.h"
#include "tester/tester_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

using bench::Data;
using bench::Program;
using bench::readAll;

// Draws what the program has shown, and lets go of the views of windows it closed.
void draw() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The results window.

// The exam report a results window appends to, holding `records` records already.
void writeReport(const Data& data, int records) {
    QDir().mkpath(data.folder() + QStringLiteral("/s"));
    platform::writeBytesAtomically(data.folder() + QStringLiteral("/s/oth.txt"),
                                   bench::reportOf(records));
}

// A student's result of five questions, as the ticket window leaves it in the results
// window, which shows it.
void showResult(App& app) {
    app.window<Form1>().Text9.setText(QStringLiteral("Иванов Иван"));
    Form5& results = app.window<Form5>();
    results.Label2.setCaption(QStringLiteral("Билет № b1"));
    for (int n = 1; n <= 5; ++n) {
        results.l(n).setCaption(questionLinePrefix(QStringLiteral("rus"), n) +
                                QString::number(n == 5 ? 2 : 5));
        results.q(n).setCaption(QStringLiteral("Вопрос %1?").arg(n));
    }
    results.Label3.setCaption(QStringLiteral("Зачет"));
    results.fillFromTicketWindow();
}

// The results window shown with a student's result and drawn, then closed, which appends
// the record to the exam report of `records` records.
void ResultsWindow(benchmark::State& state) {
    Data data(10, 5, 1024);
    writeReport(data, int(state.range(0)));
    Program program(data);
    program.start();
    const gui::ViewManager views(program.app, gui::programWindows());
    const qint64 before = QFileInfo(data.folder() + QStringLiteral("/s/oth.txt")).size();
    for (auto _ : state) {
        program.app.userEvent([&] { showResult(program.app); });
        draw();
        program.app.userEvent([&] { program.app.window<Form5>().Command2.press(); });
        draw();
    }
    if (QFileInfo(data.folder() + QStringLiteral("/s/oth.txt")).size() <= before)
        state.SkipWithError("the results window appended nothing");
}

// The same record the window appends.
QByteArray resultRecord() {
    ExamReport report;
    report.language = QStringLiteral("rus");
    report.date = QStringLiteral("07.12.2026");
    report.time = QStringLiteral("9:00:00");
    report.nameLine = QStringLiteral("Ф.И.О  Иванов Иван");
    report.ticketCaption = QStringLiteral("Билет № b1");
    for (int n = 1; n <= 5; ++n)
        report.questionLines[std::size_t(n - 1)] =
            questionLinePrefix(report.language, n) + QString::number(n == 5 ? 2 : 5);
    report.verdict = QStringLiteral("Зачет");
    return platform::toAnsi(report.record());
}

// A bare dialog of the results window's texts and buttons, shown, drawn and deleted.
void bareResultsDialog() {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Ф.И.О  Иванов Иван")));
    layout->addWidget(new QLabel(QStringLiteral("Билет № b1")));
    auto* lines = new QGroupBox;
    auto* linesLayout = new QVBoxLayout(lines);
    for (int n = 1; n <= 5; ++n)
        linesLayout->addWidget(new QLabel(questionLinePrefix(QStringLiteral("rus"), n) +
                                          QString::number(n == 5 ? 2 : 5)));
    layout->addWidget(lines);
    layout->addWidget(new QLabel(QStringLiteral("Зачет")));
    layout->addWidget(new QLabel(QStringLiteral("07.12.2026 9:00:00")));
    layout->addWidget(new QCheckBox(QStringLiteral("Показывать вопросы")));
    layout->addWidget(new QCheckBox(QStringLiteral("Сохранить в отчет")));
    layout->addWidget(new QPushButton(QStringLiteral("Закрыть")));
    dialog.show();
    QApplication::processEvents();
}

// Its floor: the record appended to the report with one sync, and a bare dialog drawn.
void RawResultsWindow(benchmark::State& state) {
    Data data(10, 5, 1024);
    writeReport(data, int(state.range(0)));
    const QByteArray path = QFile::encodeName(data.folder() + QStringLiteral("/s/oth.txt"));
    const QByteArray record = resultRecord();
    for (auto _ : state) {
        const int file = ::open(path.constData(), O_WRONLY | O_APPEND);
        if (file < 0 || ::write(file, record.constData(), std::size_t(record.size())) < 0 ||
            ::fsync(file) != 0)
            state.SkipWithError("the record was not appended");
        if (file >= 0) ::close(file);
        bareResultsDialog();
    }
}

// The test window.

// An application folder holding the test "Тест" of `questions` questions of five answers.
class TestData {
public:
    explicit TestData(int questions) {
        const QString folder = dir_.filePath(QStringLiteral("t/Тест"));
        QDir().mkpath(folder);
        QString definition = QStringLiteral("[v]\r\nt=Тест\r\nt1=%1\r\nt2=%2\r\nt3=%3\r\n")
                                 .arg(questions)
                                 .arg(2 * questions)
                                 .arg(3 * questions);
        for (int n = 1; n <= questions; ++n) {
            definition += QStringLiteral("[%1]\r\n").arg(n);
            for (int k = 1; k <= 5; ++k)
                definition += QStringLiteral("q%1=%2\r\n").arg(k).arg(answer(n, k));
            for (int k = 1; k <= 5; ++k)
                definition += QStringLiteral("b%1=%1\r\n").arg(k);
            platform::writeWholeFile(questionFile(n), QStringLiteral("Вопрос %1?\r\n").arg(n));
        }
        platform::writeWholeFile(definitionFile(), definition);
        for (int c = 1; c <= 3; ++c)
            platform::writeWholeFile(folder + QStringLiteral("/v%1.txt").arg(c),
                                     QStringLiteral("Вывод %1\r\n").arg(c));
        platform::writeBytesAtomically(dir_.filePath(QStringLiteral("test.ini")),
                                       "[test]\r\nre=rus\r\ntime=1\r\n");
    }
    static QString answer(int question, int k) {
        return QStringLiteral("Ответ %1 на вопрос %2").arg(k).arg(question);
    }
    QString folder() const { return dir_.path(); }
    QString definitionFile() const { return dir_.filePath(QStringLiteral("t/Тест/Тест.tst")); }
    QString questionFile(int n) const {
        return dir_.filePath(QStringLiteral("t/Тест/vt%1.txt").arg(n));
    }

private:
    QTemporaryDir dir_;
};

// The test window with the test chosen, on its first question.
Form6& chooseTest(Program& program, const TestData& test) {
    program.app.userEvent([&] { program.app.window<Form1>().Option2.click(); });
    Form6& tester = program.app.window<Form6>();
    program.desktop.fileDialogAnswers.push_back(test.definitionFile());
    program.app.userEvent([&] { tester.Command5.press(); });
    draw();
    return tester;
}

// A test of `questions` questions answered a question at a time, each answer going on to
// the next question drawn. Before the last question the test starts again, untimed.
void TestAnswerDrawn(benchmark::State& state) {
    const int questions = int(state.range(0));
    const TestData test(questions);
    Program program(test.folder());
    program.start();
    const gui::ViewManager views(program.app, gui::programWindows());
    Form6& tester = chooseTest(program, test);
    int question = 1;
    for (auto _ : state) {
        if (question == questions) {
            state.PauseTiming();
            program.app.userEvent([&] { tester.Command3.press(); });
            draw();
            question = 1;
            state.ResumeTiming();
        }
        program.app.userEvent([&] { tester.Option(1 + question % 5).click(); });
        draw();
        ++question;
    }
    if (!tester.txtV.text().startsWith(QStringLiteral("Вопрос %1?").arg(question)))
        state.SkipWithError("the test did not go on to the next question");
}

// Its floor: the test file and the question's text read, and a bare list of its five
// answers refilled and drawn.
void RawTestAnswerDrawn(benchmark::State& state) {
    const int questions = int(state.range(0));
    const TestData test(questions);
    QListWidget list;
    list.setUniformItemSizes(true);
    list.resize(600, 300);
    list.show();
    int question = 1;
    for (auto _ : state) {
        question = question % questions + 1;
        benchmark::DoNotOptimize(readAll(test.definitionFile()));
        benchmark::DoNotOptimize(readAll(test.questionFile(question)));
        list.clear();
        for (int k = 1; k <= 5; ++k)
            list.addItem(TestData::answer(question, k));
        QApplication::processEvents();
    }
}

// The ticket editor.

// The ticket editor opened from the settings window on the exam, its editing panel shown.
Form7& openTicketEditor(Program& program, const Data& data) {
    App& app = program.app;
    Form1& start = app.window<Form1>();
    app.userEvent([&] {
        start.Option1.click();
        start.Text9.setText(QStringLiteral("Учитель"));
        start.Command14.press();
        start.Command15.press();
    });
    app.userEvent([&] { app.window<Form4>().Label8.click(); });
    Form7& editor = app.window<Form7>();
    app.userEvent([&] { editor.Command8.press(); });
    app.userEvent([&] { editor.Dir1.setPath(data.examFolder()); });
    app.userEvent([&] { editor.Command6.press(); });
    draw();
    return editor;
}

// Tickets 1 and 2 opened in turn: the ticket number typed, then its first question chosen,
// each drawn.
void TicketEditorTicketDrawn(benchmark::State& state) {
    const Data data(int(state.range(0)), int(state.range(1)), 1024);
    Program program(data);
    program.start();
    const gui::ViewManager views(program.app, gui::programWindows());
    Form7& editor = openTicketEditor(program, data);
    bool first = false;
    for (auto _ : state) {
        program.app.userEvent(
            [&] { editor.Text6.setText(first ? QStringLiteral("1") : QStringLiteral("2")); });
        draw();
        program.app.userEvent([&] { editor.Combo1.choose(0); });
        draw();
        first = !first;
    }
    if (!editor.Frame1.visible() || editor.Text1.text().isEmpty())
        state.SkipWithError("the ticket editor showed no question");
}

// Questions 1 and 2 of ticket 1 chosen in turn, each drawn.
void TicketEditorQuestionDrawn(benchmark::State& state) {
    const Data data(int(state.range(0)), int(state.range(1)), 1024);
    Program program(data);
    program.start();
    const gui::ViewManager views(program.app, gui::programWindows());
    Form7& editor = openTicketEditor(program, data);
    program.app.userEvent([&] { editor.Text6.setText(QStringLiteral("1")); });
    bool first = false;
    for (auto _ : state) {
        program.app.userEvent([&] { editor.Combo1.choose(first ? 0 : 1); });
        draw();
        first = !first;
    }
    if (!editor.Frame1.visible() || editor.Text1.text().isEmpty())
        state.SkipWithError("the ticket editor showed no question");
}

// The import.

// An Aiken bank of `questions` questions of four answers, in the application folder.
QString writeAikenBank(const QString& folder, int questions) {
    QString text;
    for (int n = 1; n <= questions; ++n)
        text += QStringLiteral("Сколько будет %1 + 1?\r\nA. %1\r\nB. %2\r\nC. %3\r\nD. %4\r\n"
                               "ANSWER: B\r\n\r\n")
                    .arg(n)
                    .arg(n + 1)
                    .arg(n + 2)
                    .arg(n + 3);
    const QString path = folder + QStringLiteral("/bank.txt");
    platform::writeWholeFile(path, text);
    return path;
}

// A bank of `questions` questions imported into a new exam of five questions a ticket, as
// the ticket editor's import does it; the exam is removed again, untimed.
void ImportExam(benchmark::State& state) {
    const int questions = int(state.range(0));
    const Data data(10, 5, 1024);
    const QString bank = writeAikenBank(data.folder(), questions);
    Program program(data);
    const teacher_tools::Wording say(QStringLiteral("rus"));
    int round = 0;
    for (auto _ : state) {
        teacher_tools::ImportResult result;
        const QString name = QStringLiteral("Импорт%1").arg(++round);
        program.app.userEvent([&] {
            result = teacher_tools::importExam(program.app, teacher_tools::BankFormat::Aiken, bank,
                                               name, {5, std::nullopt}, say);
        });
        state.PauseTiming();
        if (result.questions != questions) state.SkipWithError("the bank was not imported whole");
        QDir(result.folder).removeRecursively();
        state.ResumeTiming();
    }
}

// Files made beside their places, each written and synced once, then renamed into place.
bool writeSynced(const QStringList& paths, const QList<QByteArray>& contents) {
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QByteArray temporary = QFile::encodeName(paths.at(i)) + ".tmp";
        const QByteArray& bytes = contents.at(i);
        const int file = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (file < 0) return false;
        const bool written =
            ::write(file, bytes.constData(), std::size_t(bytes.size())) == bytes.size() &&
            ::fsync(file) == 0;
        if (::close(file) != 0 || !written) return false;
    }
    for (const QString& path : paths) {
        const QByteArray target = QFile::encodeName(path);
        const QByteArray temporary = target + ".tmp";
        if (::rename(temporary.constData(), target.constData()) != 0) return false;
    }
    return true;
}

// Its floor: the bank read, the exam folder and its marker made, and for every question
// its three files written as above, as the importer writes them, in ticket folders of five.
void RawImportExam(benchmark::State& state) {
    const int questions = int(state.range(0));
    const Data data(10, 5, 1024);
    const QString bank = writeAikenBank(data.folder(), questions);
    const QList<QByteArray> texts{"Сколько будет 1 + 1?\r\n", "A. 1\r\nB. 2\r\nC. 3\r\nD. 4\r\n",
                                  "B. 2\r\n"};
    int round = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readAll(bank));
        const QString exam = data.folder() + QStringLiteral("/b/raw%1").arg(++round);
        bool written =
            QDir().mkpath(exam) && writeSynced({exam + QStringLiteral("/lzm.lzm")}, {"raw\r\n"});
        for (int i = 0; i < questions && written; ++i) {
            const QString ticket = exam + QStringLiteral("/b%1/").arg(i / 5 + 1);
            const QString n = QString::number(i % 5 + 1);
            if (i % 5 == 0) written = QDir().mkdir(ticket);
            written =
                written && writeSynced({ticket + QStringLiteral("q") + n + QStringLiteral(".txt"),
                                        ticket + QStringLiteral("v") + n + QStringLiteral(".txt"),
                                        ticket + QStringLiteral("o") + n + QStringLiteral(".txt")},
                                       texts);
        }
        state.PauseTiming();
        if (!written) state.SkipWithError("the question files were not written");
        QDir(exam).removeRecursively();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(ResultsWindow)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawResultsWindow)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(TestAnswerDrawn)->Arg(10)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawTestAnswerDrawn)->Arg(10)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(TicketEditorTicketDrawn)->Args({10, 5})->Args({10000, 5})->Unit(benchmark::kMillisecond);
BENCHMARK(TicketEditorQuestionDrawn)
    ->Args({10, 5})
    ->Args({10000, 5})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ImportExam)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawImportExam)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);
