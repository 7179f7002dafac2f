#include "teacher_tools/command_line.h"

#include "common/settings_file.h"
#include "forms/app.h"
#include "platform/system_services.h"
#include "platform/text_encoding.h"
#include "platform/text_files.h"
#include "teacher_tools/bank_export.h"
#include "teacher_tools/bank_import.h"
#include "teacher_tools/class_monitor.h"
#include "teacher_tools/command_line_texts.h"
#include "teacher_tools/folder_check.h"
#include "teacher_tools/journal.h"
#include "teacher_tools/lab_check.h"
#include "teacher_tools/statistics.h"
#include "teacher_tools/terminal_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <map>

namespace teacher_tools {

namespace {

constexpr int kDone = 0;
constexpr int kFindings = 1;
constexpr int kUsage = 2;

const QString kCheck = QStringLiteral("check");
const QString kImport = QStringLiteral("import");
const QString kExport = QStringLiteral("export");
const QString kJournal = QStringLiteral("journal");
const QString kStats = QStringLiteral("stats");
const QString kMonitor = QStringLiteral("monitor");

// The desktop as a command line has it: messages go to the error stream, no dialog ever
// opens, nothing is shown.
class ConsoleDesktop final : public platform::Dialogs,
                             public platform::Shell,
                             public platform::Clipboard,
                             public platform::RandomSource,
                             public platform::Screen {
public:
    explicit ConsoleDesktop(QTextStream& err) : err_(err) {}
    void showMessage(const platform::Message& message) override {
        err_ << message.title << ": " << message.text << Qt::endl;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    void open(const QString&) override {}
    void setText(const QString& text) override { clipboard_ = text; }
    QString text() override { return clipboard_; }
    void seedFromClock() override {}
    double next() override { return 0.0; }
    QSize sizePixels() override { return {1024, 768}; }
    int textWidthPixels(const QString& text) override { return 7 * int(text.size()); }

private:
    QTextStream& err_;
    QString clipboard_;
};

struct Arguments {
    QStringList positional;
    std::map<QString, QString> values; // "--csv" -> "file.csv"
    QStringList flags;                 // "--json"
    QString error;                     // what is wrong with them
    bool has(const char* option) const { return values.count(QString::fromLatin1(option)) != 0; }
    QString value(const char* option) const {
        const auto found = values.find(QString::fromLatin1(option));
        return found == values.end() ? QString() : found->second;
    }
    bool flag(const char* option) const { return flags.contains(QString::fromLatin1(option)); }
};

Arguments parse(const QStringList& arguments, const QStringList& valueOptions,
                const QStringList& flagOptions, const Wording& say) {
    Arguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("--")) {
            parsed.positional.append(argument);
        } else if (flagOptions.contains(argument)) {
            parsed.flags.append(argument);
        } else if (!valueOptions.contains(argument)) {
            parsed.error = say(command_line_texts::text("unknownOption")).arg(argument);
        } else if (i + 1 >= arguments.size()) {
            parsed.error = say(command_line_texts::text("needsValue")).arg(argument);
        } else {
            parsed.values[argument] = arguments.at(++i);
        }
    }
    return parsed;
}

QString usage(const Wording& say) { return say(command_line_texts::text("usage")); }

// A path as the user would type it here: relative to the current folder when inside it.
QString shown(const QString& path) {
    const QString relative = QDir::current().relativeFilePath(path);
    return QDir::toNativeSeparators(relative.startsWith(QLatin1String("..")) ? path : relative);
}

// The context of one command.
struct Command {
    App& app;
    const Wording& say;
    QTextStream& out;
    QTextStream& err;

    int usageError(const QString& message) const {
        err << message << Qt::endl << usage(say);
        return kUsage;
    }
};

// Names and texts from the folder checked reach the terminal escaped: a student's folder
// name cannot move the cursor or forge a line.
void printFindings(const Command& command, const Findings& findings) {
    for (const Finding& finding : findings) {
        command.out << forTerminal(shown(finding.path)) << ": " << forTerminal(finding.message)
                    << Qt::endl;
    }
}

void printJson(const Command& command, const CheckRun& run) {
    QJsonArray checked, findings;
    for (const CheckTarget& target : run.checked) {
        checked.append(
            QJsonObject{{QStringLiteral("folder"), QDir::toNativeSeparators(target.folder)},
                        {QStringLiteral("kind"), target.kind == CheckTarget::Kind::Exam
                                                     ? QStringLiteral("exam")
                                                     : QStringLiteral("test")}});
    }
    for (const Finding& finding : run.findings) {
        findings.append(
            QJsonObject{{QStringLiteral("path"), QDir::toNativeSeparators(finding.path)},
                        {QStringLiteral("code"), finding.code},
                        {QStringLiteral("message"), finding.message},
                        {QStringLiteral("convertible"), finding.convertible}});
    }
    const QJsonObject document{{QStringLiteral("checked"), checked},
                               {QStringLiteral("findings"), findings},
                               {QStringLiteral("clean"), run.findings.empty()}};
    command.out << jsonForTerminal(
        QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
}

std::vector<CheckTarget> targetsToCheck(const Command& command, const QString& given,
                                        const ExamInUse& inUse) {
    if (!given.isEmpty()) return checkTargets(given);
    std::vector<CheckTarget> targets = checkTargets(command.app.folder());
    // The exam in use may lie outside the application folder.
    const QString inUseFolder = QDir::cleanPath(inUse.folder);
    if (inUseFolder.isEmpty() || !QFileInfo(inUseFolder).isDir()) return targets;
    for (const CheckTarget& target : targets) {
        if (QDir::cleanPath(QFileInfo(target.folder).absoluteFilePath()) == inUseFolder)
            return targets;
    }
    targets.push_back({inUseFolder, CheckTarget::Kind::Exam});
    return targets;
}

void convert(const Command& command, CheckRun& run, const std::vector<CheckTarget>& targets,
             const ExamInUse& inUse, const QString& root) {
    const ConversionReport report = convertFiles(
        run.findings, root, backupStamp(command.app.services().clock.now()), command.say);
    for (const QString& path : report.converted) {
        command.err << command.say(command_line_texts::text("convertedWindows"))
                           .arg(forTerminal(shown(path)))
                    << Qt::endl;
    }
    for (const QString& folder : report.backupFolders) {
        command.err << command.say(command_line_texts::text("oldFilesAreKept"))
                           .arg(forTerminal(shown(folder)))
                    << Qt::endl;
    }
    run = checkTargetsOf(command.app, targets, inUse, command.say);
    run.findings.insert(run.findings.end(), report.problems.begin(), report.problems.end());
}

// The exam folder the settings name, when it is not there: the start window then has no
// ticket to draw. Only a check of the whole application folder looks at the settings.
std::optional<Finding> missingExamInUse(const Command& command, const QString& given,
                                        const ExamInUse& inUse) {
    if (!given.isEmpty() || inUse.folder.isEmpty() || QFileInfo(inUse.folder).isDir())
        return std::nullopt;
    Finding finding;
    finding.path = inUse.folder;
    finding.code = QStringLiteral("exam-folder-missing");
    finding.message = command.say(command_line_texts::text("examFolderSettingsName"));
    return finding;
}

// A folder named on the command line: a relative one is taken in the application folder
// when it is there ("b/Физика"), else from the current folder.
QString folderArgument(const Command& command, const QString& given) {
    if (QFileInfo(given).isRelative()) {
        const QString inApplication = QDir(command.app.folder()).filePath(given);
        if (QFileInfo(inApplication).isDir()) return QDir::cleanPath(inApplication);
    }
    return QFileInfo(given).absoluteFilePath();
}

int runCheck(const Command& command, const QStringList& arguments) {
    const Wording& say = command.say;
    const Arguments args =
        parse(arguments, {}, {QStringLiteral("--json"), QStringLiteral("--convert")}, say);
    if (!args.error.isEmpty()) return command.usageError(args.error);
    if (args.positional.size() > 1)
        return command.usageError(say(command_line_texts::text("giveOneFolder")));
    const QString given = args.positional.isEmpty()
                              ? QString()
                              : folderArgument(command, args.positional.constFirst());
    if (!given.isEmpty() && !QFileInfo(given).isDir())
        return command.usageError(say(command_line_texts::text("thereNoFolder")).arg(given));
    const ExamInUse inUse = examInUseFromSettings(command.app);
    const std::vector<CheckTarget> targets = targetsToCheck(command, given, inUse);
    const std::optional<Finding> missing = missingExamInUse(command, given, inUse);
    if (targets.empty() && !missing) {
        return command.usageError(
            say(command_line_texts::text("holdsNoExamNo"))
                .arg(QDir::toNativeSeparators(given.isEmpty() ? command.app.folder() : given)));
    }
    CheckRun run = checkTargetsOf(command.app, targets, inUse, say);
    // Conversions stay inside the folder named, or the application folder.
    if (args.flag("--convert"))
        convert(command, run, targets, inUse, given.isEmpty() ? command.app.folder() : given);
    if (missing) run.findings.insert(run.findings.begin(), *missing);
    if (args.flag("--json")) {
        printJson(command, run);
    } else {
        printFindings(command, run.findings);
        int exams = 0;
        for (const CheckTarget& target : run.checked)
            exams += target.kind == CheckTarget::Kind::Exam ? 1 : 0;
        command.err << say(command_line_texts::text("checkedExamsTestsFindings"))
                           .arg(exams)
                           .arg(int(run.checked.size()) - exams)
                           .arg(run.findings.size())
                    << Qt::endl;
    }
    return run.findings.empty() ? kDone : kFindings;
}

// The import's choices, or the usage error they make.
struct ImportRequest {
    BankFormat format = BankFormat::Aiken;
    QString file, exam, test;
    bool toExam = true; // an exam, or else a test
    ExamImportOptions options;
    QString error;
};

ImportRequest importRequest(const Command& command, const Arguments& args) {
    const Wording& say = command.say;
    ImportRequest request;
    const QString format = args.positional.value(0);
    const std::map<QString, BankFormat> formats{{QStringLiteral("aiken"), BankFormat::Aiken},
                                                {QStringLiteral("gift"), BankFormat::Gift},
                                                {QStringLiteral("xml"), BankFormat::MoodleXml}};
    if (args.positional.size() != 2 || formats.count(format) == 0) {
        request.error = say(command_line_texts::text("giveFormatAikenGift"));
        return request;
    }
    request.format = formats.at(format);
    request.file = QFileInfo(args.positional.at(1)).absoluteFilePath();
    request.exam = args.value("--exam");
    request.test = args.value("--test");
    request.toExam = !args.has("--test");
    if (args.has("--exam") == args.has("--test")) {
        request.error = say(command_line_texts::text("giveEitherExamName"));
    } else if (args.has("--test") && (request.format == BankFormat::Aiken ||
                                      args.has("--per-ticket") || args.has("--shuffle"))) {
        request.error = say(command_line_texts::text("testMadeFromGift"));
    }
    const QString perTicket = args.has("--per-ticket")
                                  ? args.value("--per-ticket")
                                  : readSetting(command.app, settings_keys::kQuestions);
    request.options.perTicket = wholeNumber(perTicket, 1, 20).value_or(5);
    if (args.has("--per-ticket") && !wholeNumber(perTicket, 1, 20)) {
        request.error = say(command_line_texts::text("perTicketQuestionsPer"));
    }
    if (args.has("--shuffle")) {
        const std::optional<int> seed = wholeNumber(args.value("--shuffle"), 0, 2147483647);
        if (seed)
            request.options.seed = std::uint32_t(*seed);
        else
            request.error = say(command_line_texts::text("shuffleWholeNumberFrom"));
    }
    return request;
}

void printNotes(const Command& command, const QString& file, const std::vector<BankNote>& notes,
                const QString& lead) {
    for (const BankNote& note : notes) {
        command.out << shown(file) << ':' << note.line << ": " << lead << note.text << Qt::endl;
    }
}

// The importer's own short last ticket is said once, and is no finding.
void sayShortTicket(const Command& command, CheckRun& run, int questions, int perTicket) {
    const auto found =
        std::find_if(run.findings.begin(), run.findings.end(), [](const Finding& finding) {
            return finding.code == QLatin1String("ticket-short");
        });
    if (found == run.findings.end() || questions % perTicket == 0) return;
    run.findings.erase(found);
    command.err << command.say(command_line_texts::text("lastTicketShorterQuestions"))
                       .arg(questions % perTicket)
                       .arg(perTicket)
                << Qt::endl;
}

int runImport(const Command& command, const QStringList& arguments) {
    const Wording& say = command.say;
    const Arguments args = parse(arguments,
                                 {QStringLiteral("--exam"), QStringLiteral("--test"),
                                  QStringLiteral("--per-ticket"), QStringLiteral("--shuffle")},
                                 {}, say);
    if (!args.error.isEmpty()) return command.usageError(args.error);
    const ImportRequest request = importRequest(command, args);
    if (!request.error.isEmpty()) return command.usageError(request.error);
    const bool exam = request.toExam;
    const ImportResult result =
        exam ? importExam(command.app, request.format, request.file, request.exam, request.options,
                          say)
             : importTest(command.app, request.format, request.file, request.test, say);
    printNotes(command, request.file, result.skipped,
               say(command_line_texts::text("questionSkipped")));
    printNotes(command, request.file, result.notes, QString());
    if (!result.made()) {
        command.err << result.error << Qt::endl;
        return kUsage;
    }
    command.err << (exam ? say(command_line_texts::text("examQuestionsTickets"))
                               .arg(shown(result.folder))
                               .arg(result.questions)
                               .arg(result.tickets)
                         : say(command_line_texts::text("testQuestions"))
                               .arg(shown(result.folder))
                               .arg(result.questions))
                << Qt::endl;
    CheckRun run = checkTargetsOf(
        command.app, {{result.folder, exam ? CheckTarget::Kind::Exam : CheckTarget::Kind::Test}},
        {}, say);
    if (exam) sayShortTicket(command, run, result.questions, request.options.perTicket);
    printFindings(command, run.findings);
    const bool clean = result.skipped.empty() && result.notes.empty() && run.findings.empty();
    return clean ? kDone : kFindings;
}

int runExport(const Command& command, const QStringList& arguments) {
    const Wording& say = command.say;
    const Arguments args = parse(arguments, {}, {}, say);
    if (!args.error.isEmpty()) return command.usageError(args.error);
    const QString format = args.positional.value(0);
    if (args.positional.size() < 2 || args.positional.size() > 3 ||
        (format != QLatin1String("gift") && format != QLatin1String("xml"))) {
        return command.usageError(say(command_line_texts::text("giveFormatGiftOr")));
    }
    const QString folder = QDir::cleanPath(QFileInfo(args.positional.at(1)).absoluteFilePath());
    const QString file = QFileInfo(args.positional.value(2, QFileInfo(folder).fileName() +
                                                                QLatin1Char('.') + format))
                             .absoluteFilePath();
    const ExportResult result = exportBank(
        command.app, folder,
        format == QLatin1String("xml") ? ExportFormat::MoodleXml : ExportFormat::Gift, file, say);
    for (const BankNote& note : result.notes) {
        command.out << shown(folder) << ": "
                    << say(command_line_texts::text("ticket")).arg(note.line) << note.text
                    << Qt::endl;
    }
    if (!result.done()) {
        command.err << result.error << Qt::endl;
        return kUsage;
    }
    QStringList written;
    for (const QString& path : result.written)
        written.append(shown(path));
    command.err << say(command_line_texts::text("questionsWritten"))
                       .arg(result.questions)
                       .arg(written.join(QStringLiteral(", ")))
                << Qt::endl;
    return result.notes.empty() ? kDone : kFindings;
}

// A row's cells are made twice (its widths, then its line) rather than all kept: a year of
// reports would hold millions of them.
void printTable(const Command& command, const std::vector<JournalRow>& rows) {
    const int questions = questionColumns(rows);
    const QChar separator = command.app.locale().decimalSeparator();
    const QStringList headings = journalHeadings(questions, command.say);
    std::vector<qsizetype> widths;
    widenColumns(widths, headings);
    for (const JournalRow& row : rows)
        widenColumns(widths, journalCells(row, questions, separator));
    command.out << alignedLine(headings, widths);
    for (const JournalRow& row : rows)
        command.out << alignedLine(journalCells(row, questions, separator), widths);
}

// --from and --to into `limits`; the usage error, if any.
QString readPeriod(const Arguments& args, const Wording& say, std::optional<QDate> (&limits)[2]) {
    const char* const options[2] = {"--from", "--to"};
    for (int i = 0; i < 2; ++i) {
        if (!args.has(options[i])) continue;
        limits[i] = parseDate(args.value(options[i]));
        if (!limits[i]) {
            return say(command_line_texts::text("dateLike")).arg(QString::fromLatin1(options[i]));
        }
    }
    return {};
}

int runJournal(const Command& command, const QStringList& arguments) {
    const Wording& say = command.say;
    const Arguments args =
        parse(arguments,
              {QStringLiteral("--csv"), QStringLiteral("--from"), QStringLiteral("--to")}, {}, say);
    if (!args.error.isEmpty()) return command.usageError(args.error);
    if (!args.positional.isEmpty())
        return command.usageError(
            say(command_line_texts::text("unexpectedArgument")).arg(args.positional.constFirst()));
    std::optional<QDate> limits[2];
    if (const QString error = readPeriod(args, say, limits); !error.isEmpty())
        return command.usageError(error);
    const QString report = command.app.path(QStringLiteral("s/oth.txt"));
    std::optional<Journal> read = readJournalFile(report, say);
    if (!read) {
        command.err << say(command_line_texts::text("reportMissingOrCannot")).arg(shown(report))
                    << Qt::endl;
        return kFindings;
    }
    const Journal journal =
        limits[0] || limits[1] ? filterJournal(*read, limits[0], limits[1], say) : std::move(*read);
    for (const JournalProblem& problem : journal.problems)
        command.err << shown(report) << ':' << problem.line << ": " << problem.message << Qt::endl;
    if (!args.has("--csv")) {
        printTable(command, journal.rows);
        return kDone;
    }
    const QString csv = QFileInfo(args.value("--csv")).absoluteFilePath();
    const QString text = journalCsv(journal.rows, say, command.app.locale().decimalSeparator());
    if (!platform::writeBytesAtomically(csv, platform::toUtf8WithBom(text))) {
        command.err << say(command_line_texts::text("couldNotWrite")).arg(shown(csv)) << Qt::endl;
        return kFindings;
    }
    command.err << say(command_line_texts::text("recordsTable")).arg(journal.rows.size())
                << Qt::endl;
    return kDone;
}

void printProblems(const Command& command, const QString& report,
                   const std::vector<JournalProblem>& problems) {
    for (const JournalProblem& problem : problems)
        command.err << shown(report) << ':' << problem.line << ": " << problem.message << Qt::endl;
}

int runStats(const Command& command, const QStringList& arguments) {
    const Wording& say = command.say;
    const Arguments args = parse(arguments,
                                 {QStringLiteral("--csv"), QStringLiteral("--from"),
                                  QStringLiteral("--to"), QStringLiteral("--group")},
                                 {QStringLiteral("--json")}, say);
    if (!args.error.isEmpty()) return command.usageError(args.error);
    if (!args.positional.isEmpty())
        return command.usageError(
            say(command_line_texts::text("unexpectedArgument")).arg(args.positional.constFirst()));
    StatisticsFilter filter;
    std::optional<QDate> limits[2];
    if (const QString error = readPeriod(args, say, limits); !error.isEmpty())
        return command.usageError(error);
    filter.from = limits[0];
    filter.to = limits[1];
    filter.group = args.value("--group");
    const QString examReport = command.app.path(QStringLiteral("s/oth.txt"));
    const QString testReport = command.app.path(QStringLiteral("s/lzm.txt"));
    const std::optional<QByteArray> exams = platform::readBytes(examReport);
    const std::optional<QByteArray> tests = platform::readBytes(testReport);
    if (!exams && !tests) {
        command.err << say(command_line_texts::text("reportsAreMissingOr"))
                           .arg(shown(examReport), shown(testReport))
                    << Qt::endl;
        return kFindings;
    }
    ClassStatistics statistics =
        analyseJournal(readJournal(exams.value_or(QByteArray()), say), filter, say);
    addQuestionTexts(statistics, examInUseFromSettings(command.app).folder);
    const TestReportStatistics testStatistics =
        readTestReport(tests.value_or(QByteArray()), filter.from, filter.to, say);
    printProblems(command, examReport, statistics.problems);
    printProblems(command, testReport, testStatistics.problems);
    command.err << say(command_line_texts::text("recordsLeftOutTest"))
                       .arg(statistics.records)
                       .arg(droppedRecords(statistics.problems) +
                            droppedRecords(testStatistics.problems))
                       .arg(testStatistics.runs)
                << Qt::endl;
    const std::vector<StatisticsTable> tables =
        statisticsTables(statistics, testStatistics, say, command.app.locale().decimalSeparator());
    if (args.has("--csv")) {
        const QString csv = QFileInfo(args.value("--csv")).absoluteFilePath();
        if (!platform::writeBytesAtomically(csv, platform::toUtf8WithBom(statisticsCsv(tables)))) {
            command.err << say(command_line_texts::text("couldNotWrite")).arg(shown(csv))
                        << Qt::endl;
            return kFindings;
        }
    }
    if (args.flag("--json")) {
        command.out << QString::fromUtf8(QJsonDocument(statisticsJson(statistics, testStatistics))
                                             .toJson(QJsonDocument::Indented));
    } else if (!args.has("--csv")) {
        for (const StatisticsTable& table : tables) {
            std::vector<QStringList> rows{table.headings};
            rows.insert(rows.end(), table.rows.begin(), table.rows.end());
            command.out << table.title << Qt::endl << alignedText(rows) << Qt::endl;
        }
    }
    return kDone;
}

} // namespace

bool isCommand(int argc, char** argv) {
    // The application folder may be named before the command as well as after it.
    int first = 1;
    while (first + 1 < argc && std::strcmp(argv[first], "--folder") == 0)
        first += 2;
    if (first >= argc) return false;
    for (const char* command :
         {"check", "import", "export", "journal", "stats", "lab", "monitor"}) {
        if (std::strcmp(argv[first], command) == 0) return true;
    }
    return false;
}

int runCommand(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runArguments(QCoreApplication::arguments().mid(1),
                        QCoreApplication::applicationDirPath(), out, err);
}

int runArguments(const QStringList& arguments, const QString& applicationFolder, QTextStream& out,
                 QTextStream& err) {
    QStringList rest;
    QString folder = applicationFolder;
    bool folderMissing = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) != QLatin1String("--folder")) {
            rest.append(arguments.at(i));
        } else if (i + 1 < arguments.size()) {
            folder = QDir::cleanPath(QFileInfo(arguments.at(++i)).absoluteFilePath());
        } else {
            folderMissing = true;
        }
    }
    ConsoleDesktop desktop(err);
    platform::SystemClock clock;
    App app(folder, platform::Services{desktop, desktop, desktop, clock, desktop, desktop,
                                       platform::UserLocale::system()});
    const Wording say(app.language());
    const Command command{app, say, out, err};
    if (folderMissing)
        return command.usageError(say(command_line_texts::text("folderNeedsFolder")));
    if (!QFileInfo(folder).isDir()) {
        return command.usageError(say(command_line_texts::text("thereNoApplicationFolder"))
                                      .arg(QDir::toNativeSeparators(folder)));
    }
    const QString name = rest.isEmpty() ? QString() : rest.takeFirst();
    if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
        out << usage(say);
        return kDone;
    }
    if (name == kCheck) return runCheck(command, rest);
    if (name == kImport) return runImport(command, rest);
    if (name == kExport) return runExport(command, rest);
    if (name == kJournal) return runJournal(command, rest);
    if (name == kStats) return runStats(command, rest);
    if (name == QLatin1String("lab"))
        return runLab(app, app.services().clock.now(), rest, out, err);
    if (name == kMonitor) {
        const bool watch = rest.removeAll(QStringLiteral("--watch")) > 0;
        if (!rest.isEmpty())
            return command.usageError(
                say(command_line_texts::text("unknownCommand")).arg(rest.first()));
        return runMonitor(folder, watch, app.language(), out);
    }
    return command.usageError(say(command_line_texts::text("unknownCommand")).arg(name));
}

} // namespace teacher_tools
