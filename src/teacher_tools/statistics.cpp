#include "teacher_tools/statistics.h"

#include "common/settings_file.h"
#include "exam_content/exam_folder.h"
#include "platform/profile_file.h"
#include "platform/text_encoding.h"
#include "teacher_tools/statistics_texts.h"

#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <map>

namespace teacher_tools {

namespace {

// "b2" before "b10": the text before the trailing digits, then their number.
bool ticketLess(const QString& a, const QString& b) {
    auto split = [](const QString& name) {
        qsizetype digits = name.size();
        while (digits > 0 && name.at(digits - 1).isDigit())
            --digits;
        return std::make_pair(name.left(digits), name.mid(digits).toLongLong());
    };
    const auto left = split(a), right = split(b);
    if (left != right) return left < right;
    return a < b;
}

// The sums a Pearson correlation needs, kept whole so they are exact.
struct Sums {
    long long n = 0, x = 0, y = 0, xy = 0, xx = 0, yy = 0;
    void add(int dx, int dy) {
        ++n;
        x += dx;
        y += dy;
        xy += dx * dy;
        xx += dx * dx;
        yy += dy * dy;
    }
    // Nothing when either side does not vary: every attempt right, or all wrong.
    std::optional<double> correlation() const {
        const double spreadX = double(n * xx - x * x), spreadY = double(n * yy - y * y);
        if (spreadX <= 0 || spreadY <= 0) return std::nullopt;
        return double(n * xy - x * y) / std::sqrt(spreadX * spreadY);
    }
};

// A record's questions: 1 right, 0 wrong, -1 unanswered.
using Results = std::array<signed char, kQuestionSlots>;

Results resultsOf(const JournalRow& row, int& last) {
    Results results;
    results.fill(-1);
    for (int q = 0; q < kQuestionSlots; ++q) {
        const QString& evaluation = row.evaluations[std::size_t(q)];
        if (evaluation.isEmpty()) continue;
        // Written "5" or "2"; a hand-edited "5,0" is a 5 all the same.
        const bool right =
            evaluation == QLatin1String("5") ||
            (evaluation != QLatin1String("2") && Decimal::parse(evaluation) == Decimal::fromInt(5));
        results[std::size_t(q)] = right ? 1 : 0;
        last = std::max(last, q + 1);
    }
    return results;
}

void analyseTicket(const QString& ticket, const std::vector<const JournalRow*>& rows,
                   std::vector<ItemStatistics>& items) {
    int questions = 0;
    std::vector<Results> results;
    std::vector<int> rightCounts;
    for (const JournalRow* row : rows) {
        results.push_back(resultsOf(*row, questions));
        int right = 0;
        for (signed char result : results.back())
            right += result == 1 ? 1 : 0;
        rightCounts.push_back(right);
    }
    const bool discriminate = int(rows.size()) >= kDiscriminationRecords;
    for (int q = 0; q < questions; ++q) {
        ItemStatistics item;
        item.ticket = ticket;
        item.question = q + 1;
        item.records = int(rows.size());
        Sums sums;
        for (std::size_t r = 0; r < results.size(); ++r) {
            const int result = results[r][std::size_t(q)];
            if (result < 0) continue;
            ++item.attempts;
            item.right += result;
            sums.add(result, rightCounts[r] - result);
        }
        if (discriminate) item.discrimination = sums.correlation();
        items.push_back(item);
    }
}

std::optional<double> share(long long part, long long whole) {
    if (whole <= 0) return std::nullopt;
    return double(part) / double(whole);
}

} // namespace

QString groupOf(const JournalRow& row) {
    return row.data.trimmed().section(QLatin1Char(' '), 0, 0);
}

Verdict verdictOf(const QString& text) {
    const QString verdict = text.trimmed();
    if (verdict.isEmpty()) return Verdict::None;
    if (verdict == QStringLiteral("Зачет") || verdict == QLatin1String("Delivered"))
        return Verdict::Passed;
    if (verdict == QStringLiteral("Не зачет") || verdict == QLatin1String("Not deliver"))
        return Verdict::Failed;
    if (verdict == QStringLiteral("Не зачет по времени") ||
        verdict == QLatin1String("Not deliver on time"))
        return Verdict::TimedOut;
    return Verdict::Other;
}

void VerdictCounts::add(const JournalRow& row) {
    ++records;
    switch (verdictOf(row.verdict)) {
    case Verdict::Passed:
        ++passed;
        break;
    case Verdict::Failed:
        ++failed;
        break;
    case Verdict::TimedOut:
        ++timedOut;
        break;
    case Verdict::None:
        ++none;
        break;
    case Verdict::Other:
        ++other;
        break;
    }
    if (row.average) {
        averageUnits += row.average->units();
        ++averaged;
    }
}

std::optional<double> VerdictCounts::passRate() const { return share(passed, withVerdict()); }
std::optional<double> VerdictCounts::timeOutRate() const { return share(timedOut, withVerdict()); }
std::optional<double> VerdictCounts::meanAverage() const {
    if (averaged == 0) return std::nullopt;
    return double(averageUnits) / double(averaged) / double(Decimal::kScale);
}

int histogramBin(Decimal average) {
    const long long half = Decimal::kScale / 2;
    const long long bin = (average.units() - 2 * Decimal::kScale) / half;
    return int(std::clamp<long long>(bin, 0, kHistogramBins - 1));
}

ClassStatistics analyseJournal(const Journal& journal, const StatisticsFilter& filter,
                               const Wording& say) {
    ClassStatistics statistics;
    // Without a period every row is kept: no copy of a report of many thousands of records.
    const bool limited = filter.from || filter.to;
    const Journal kept = limited ? filterJournal(journal, filter.from, filter.to, say) : Journal();
    const Journal& period = limited ? kept : journal;
    statistics.problems = period.problems;
    QHash<QString, std::vector<const JournalRow*>> tickets;
    std::map<QDate, VerdictCounts> days;
    std::map<QString, VerdictCounts> groups;
    VerdictCounts undated;
    QSet<QString> groupNames;
    for (const JournalRow& row : period.rows) {
        const QString group = groupOf(row);
        if (!group.isEmpty()) groupNames.insert(group);
        if (!filter.group.isEmpty() && group.compare(filter.group, Qt::CaseInsensitive) != 0)
            continue;
        ++statistics.records;
        if (row.answered == 0) {
            statistics.problems.push_back(
                {row.line, say(statistics_texts::text("recordHoldsNoEvaluation")), false});
        }
        tickets[row.ticket].push_back(&row);
        statistics.overall.add(row);
        (row.day ? days[*row.day] : undated).add(row);
        groups[group].add(row);
        if (row.average) ++statistics.histogram[std::size_t(histogramBin(*row.average))];
    }
    QStringList names = tickets.keys();
    std::sort(names.begin(), names.end(), ticketLess);
    for (const QString& ticket : names)
        analyseTicket(ticket, *tickets.constFind(ticket), statistics.items);
    statistics.byDay.assign(days.begin(), days.end());
    if (undated.records > 0) statistics.byDay.emplace_back(QDate(), undated);
    statistics.byGroup.assign(groups.begin(), groups.end());
    std::stable_sort(
        statistics.problems.begin(), statistics.problems.end(),
        [](const JournalProblem& a, const JournalProblem& b) { return a.line < b.line; });
    statistics.groups = QStringList(groupNames.begin(), groupNames.end());
    statistics.groups.sort(Qt::CaseInsensitive);
    return statistics;
}

void addQuestionTexts(ClassStatistics& statistics, const QString& examFolder) {
    if (examFolder.isEmpty() || !QFileInfo(examFolder).isDir()) return;
    QString ticket, folder;
    for (ItemStatistics& item : statistics.items) {
        if (item.ticket != ticket) {
            ticket = item.ticket;
            const QString entry = exam_folder::lookUpEntry(examFolder, ticket);
            folder = entry.isEmpty() ? QString() : exam_folder::ticketFolderPath(examFolder, entry);
        }
        if (folder.isEmpty()) continue;
        if (const auto text = exam_folder::readQuestionText(folder, item.question))
            item.text = text->simplified();
    }
}

QString examFolderInUse(const QString& applicationFolder) {
    const QString stored =
        platform::readProfileString(QDir(applicationFolder).filePath(QStringLiteral("test.ini")),
                                    settings_keys::kSection, settings_keys::kExamFolder);
    return stored.isEmpty() ? QString() : exam_folder::resolveExamFolder(applicationFolder, stored);
}

namespace {

const QString kTestPrefix = QStringLiteral("ТЕСТ: ");
const QString kTotalPrefix = QStringLiteral("Общее количество балов теста: ");
const QString kConclusionPrefix = QStringLiteral("ВЫВОД №");

bool isSeparatorLine(const QString& line) {
    return line.startsWith(QLatin1String("===")) &&
           line.trimmed().count(QLatin1Char('=')) == line.trimmed().size();
}

// The test report read block by block: a header names the test (and dates the runs after
// it), a result block is one run with the conclusion it reached.
class TestReportReader {
public:
    TestReportReader(std::optional<QDate> from, std::optional<QDate> to, const Wording& say)
        : from_(from), to_(to), say_(say) {}
    TestReportStatistics read(const QString& text);

private:
    struct Run {
        int line = 0;
        QString selected;
        std::array<QString, 3> conclusions{};
        int found = 0;
    };
    // The text of the lines from `at` up to the next separator, joined; `at` is left on it.
    QString block(qsizetype& at) const;
    void conclusion(const QString& text);
    void finish();
    void problem(int line, const QString& message, bool dropped = false) {
        result_.problems.push_back({line, message, dropped});
    }

    std::optional<QDate> from_, to_;
    const Wording& say_;
    QStringList lines_;
    QString test_;
    bool headed_ = false;
    std::optional<QDate> day_;
    std::optional<Run> run_;
    std::map<QString, std::map<std::pair<int, QString>, int>> counts_;
    TestReportStatistics result_;
};

QString TestReportReader::block(qsizetype& at) const {
    QStringList parts;
    for (; at < lines_.size() && !isSeparatorLine(lines_.at(at)); ++at)
        parts.append(lines_.at(at));
    return parts.join(QLatin1Char(' ')).simplified();
}

TestReportStatistics TestReportReader::read(const QString& text) {
    lines_ = text.split(QLatin1Char('\n'));
    for (QString& line : lines_) {
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    for (qsizetype at = 0; at < lines_.size(); ++at) {
        const QString& line = lines_.at(at);
        if (line.startsWith(kTestPrefix)) {
            finish();
            test_ = line.mid(kTestPrefix.size()).trimmed();
            headed_ = true;
            const QString stamp = lines_.value(at + 1).trimmed();
            day_ = parseDate(stamp.section(QLatin1Char(' '), -1));
        } else if (line.startsWith(kTotalPrefix)) {
            finish();
            run_ = Run{int(at) + 1, {}, {}, 0};
            ++at;
            run_->selected = block(at);
        } else if (line.startsWith(kConclusionPrefix) && run_) {
            conclusion(block(at));
        }
    }
    finish();
    for (auto& [test, conclusions] : counts_) {
        TestStatistics statistics{test, 0, {}};
        for (const auto& [key, runs] : conclusions) {
            statistics.conclusions.push_back({key.first, key.second, runs});
            statistics.runs += runs;
        }
        result_.runs += statistics.runs;
        result_.tests.push_back(statistics);
    }
    return result_;
}

void TestReportReader::conclusion(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^ВЫВОД №([123]):\\s*(.*?)\\s*=\\s*до"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return;
    const int number = match.captured(1).toInt();
    run_->conclusions[std::size_t(number - 1)] = match.captured(2);
    run_->found = std::max(run_->found, number);
    if (number == 3) finish();
}

void TestReportReader::finish() {
    if (!run_) return;
    const Run run = *run_;
    run_.reset();
    if (!headed_) {
        problem(run.line, say_(statistics_texts::text("testResultWithoutHeader")));
    }
    if (run.found < 3) {
        problem(run.line, say_(statistics_texts::text("testResultCutShort")));
    }
    if ((from_ || to_) && !day_) {
        problem(run.line, say_(statistics_texts::text("testResultSDate")), true);
        return;
    }
    if ((from_ && *day_ < *from_) || (to_ && *day_ > *to_)) return;
    int number = 0;
    for (int n = 3; n >= 1; --n) {
        if (!run.selected.isEmpty() && run.conclusions[std::size_t(n - 1)] == run.selected)
            number = n;
    }
    ++counts_[test_][{number, run.selected}];
}

} // namespace

TestReportStatistics readTestReport(const QByteArray& bytes, std::optional<QDate> from,
                                    std::optional<QDate> to, const Wording& say) {
    return TestReportReader(from, to, say).read(platform::decodeDetected(bytes));
}

namespace {

// A figure rounded to `places` decimals for a table; Decimal writes it.
QString decimalText(double value, int places, QChar decimalSeparator) {
    const double scale = std::pow(10.0, places);
    const auto rounded = Decimal::fromDouble(std::round(value * scale) / scale);
    return rounded ? rounded->toText(decimalSeparator) : QString();
}

QString optionalPercent(std::optional<double> share, QChar decimalSeparator) {
    return share ? percentText(*share, decimalSeparator) : QString();
}

QStringList verdictHeadings(const QString& first, const Wording& say) {
    return {first,
            say(statistics_texts::text("records")),
            say(statistics_texts::text("delivered")),
            say(statistics_texts::text("notDeliver")),
            say(statistics_texts::text("notDeliverOnTime")),
            say(statistics_texts::text("noVerdict")),
            say(statistics_texts::text("otherVerdict")),
            say(statistics_texts::text("delivered2")),
            say(statistics_texts::text("outTime")),
            say(statistics_texts::text("meanAverage"))};
}

QStringList verdictCells(const QString& label, const VerdictCounts& counts, QChar separator) {
    const auto mean = counts.meanAverage();
    return {label,
            QString::number(counts.records),
            QString::number(counts.passed),
            QString::number(counts.failed),
            QString::number(counts.timedOut),
            QString::number(counts.none),
            QString::number(counts.other),
            optionalPercent(counts.passRate(), separator),
            optionalPercent(counts.timeOutRate(), separator),
            mean ? decimalText(*mean, 2, separator) : QString()};
}

StatisticsTable testsTable(const TestReportStatistics& tests, const Wording& say, QChar separator) {
    StatisticsTable table{
        say(statistics_texts::text("testConclusionsSLzm")),
        {say(statistics_texts::text("test")), say(statistics_texts::text("runs")),
         say(statistics_texts::text("conclusion")), say(statistics_texts::text("conclusion2")),
         say(statistics_texts::text("times")), say(statistics_texts::text("share"))},
        {}};
    for (const TestStatistics& test : tests.tests) {
        for (const ConclusionCount& conclusion : test.conclusions) {
            table.rows.push_back(
                {test.test, QString::number(test.runs),
                 conclusion.number ? QString::number(conclusion.number) : QString(),
                 conclusion.text, QString::number(conclusion.runs),
                 percentText(double(conclusion.runs) / test.runs, separator)});
        }
    }
    return table;
}

} // namespace

QString percentText(double share, QChar decimalSeparator) {
    return decimalText(share * 100.0, 1, decimalSeparator);
}

QStringList itemHeadings(const Wording& say) {
    return {say(statistics_texts::text("ticket")),   say(statistics_texts::text("question")),
            say(statistics_texts::text("attempts")), say(statistics_texts::text("right")),
            say(statistics_texts::text("facility")), say(statistics_texts::text("discrimination")),
            say(statistics_texts::text("mark")),     say(statistics_texts::text("questionText"))};
}

QStringList itemCells(const ItemStatistics& item, const Wording& say, QChar decimalSeparator) {
    QStringList marks;
    if (item.tooHard()) marks.append(say(statistics_texts::text("tooHard")));
    if (item.tooEasy()) marks.append(say(statistics_texts::text("tooEasy")));
    if (item.negative()) marks.append(say(statistics_texts::text("discrimination2")));
    return {item.ticket,
            QString::number(item.question),
            QString::number(item.attempts),
            QString::number(item.right),
            item.attempts ? percentText(item.facility(), decimalSeparator) : QString(),
            optionalPercent(item.discrimination, decimalSeparator),
            marks.join(QStringLiteral(", ")),
            item.text};
}

QString binLabel(int bin, QChar decimalSeparator) {
    const auto bound = [decimalSeparator](int half) {
        return Decimal::fromUnits(2 * Decimal::kScale + half * Decimal::kScale / 2)
            .toText(decimalSeparator);
    };
    return bound(bin) + QStringLiteral("–") + bound(bin + 1);
}

QString dayLabel(const QDate& day, const Wording& say) {
    return day.isValid() ? day.toString(Qt::ISODate) : say(statistics_texts::text("noDate"));
}

std::vector<StatisticsTable> statisticsTables(const ClassStatistics& statistics,
                                              const TestReportStatistics& tests, const Wording& say,
                                              QChar separator) {
    std::vector<StatisticsTable> tables;
    StatisticsTable items{say(statistics_texts::text("questions")), itemHeadings(say), {}};
    for (const ItemStatistics& item : statistics.items)
        items.rows.push_back(itemCells(item, say, separator));
    tables.push_back(items);

    StatisticsTable averages{
        say(statistics_texts::text("ticketAverages")),
        {say(statistics_texts::text("average")), say(statistics_texts::text("records"))},
        {}};
    for (int bin = 0; bin < kHistogramBins; ++bin) {
        averages.rows.push_back(
            {binLabel(bin, separator), QString::number(statistics.histogram[std::size_t(bin)])});
    }
    tables.push_back(averages);

    const QString all = say(statistics_texts::text("all"));
    StatisticsTable days{say(statistics_texts::text("verdictsByDay")),
                         verdictHeadings(say(statistics_texts::text("day")), say),
                         {}};
    for (const auto& [day, counts] : statistics.byDay)
        days.rows.push_back(verdictCells(dayLabel(day, say), counts, separator));
    days.rows.push_back(verdictCells(all, statistics.overall, separator));
    tables.push_back(days);

    StatisticsTable groups{say(statistics_texts::text("verdictsByGroupAdditional")),
                           verdictHeadings(say(statistics_texts::text("group")), say),
                           {}};
    for (const auto& [group, counts] : statistics.byGroup) {
        const QString label = group.isEmpty() ? say(statistics_texts::text("noData")) : group;
        groups.rows.push_back(verdictCells(label, counts, separator));
    }
    groups.rows.push_back(verdictCells(all, statistics.overall, separator));
    tables.push_back(groups);
    tables.push_back(testsTable(tests, say, separator));
    return tables;
}

QString statisticsCsv(const std::vector<StatisticsTable>& tables) {
    QString csv;
    for (const StatisticsTable& table : tables) {
        if (!csv.isEmpty()) csv += QStringLiteral("\r\n");
        csv += csvRow({table.title}) + csvRow(table.headings);
        for (const QStringList& row : table.rows)
            csv += csvRow(row);
    }
    return csv;
}

void widenColumns(std::vector<qsizetype>& widths, const QStringList& cells) {
    widths.resize(std::max(widths.size(), std::size_t(cells.size())), 0);
    for (qsizetype i = 0; i < cells.size(); ++i)
        widths[std::size_t(i)] = std::max(widths[std::size_t(i)], cells.at(i).size());
}

QString alignedLine(const QStringList& cells, const std::vector<qsizetype>& widths) {
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i)
        line += cells.at(i).leftJustified(widths[std::size_t(i)] + 2);
    return line.trimmed() + QLatin1Char('\n');
}

QString alignedText(const std::vector<QStringList>& rows) {
    std::vector<qsizetype> widths;
    for (const QStringList& cells : rows)
        widenColumns(widths, cells);
    QString text;
    for (const QStringList& cells : rows)
        text += alignedLine(cells, widths);
    return text;
}

namespace {

QJsonValue optionalNumber(std::optional<double> value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonArray problemsJson(const std::vector<JournalProblem>& problems) {
    QJsonArray array;
    for (const JournalProblem& problem : problems) {
        array.append(QJsonObject{{QStringLiteral("line"), problem.line},
                                 {QStringLiteral("message"), problem.message},
                                 {QStringLiteral("dropped"), problem.dropped}});
    }
    return array;
}

QJsonObject countsJson(const VerdictCounts& counts) {
    return {{QStringLiteral("records"), counts.records},
            {QStringLiteral("passed"), counts.passed},
            {QStringLiteral("failed"), counts.failed},
            {QStringLiteral("timedOut"), counts.timedOut},
            {QStringLiteral("noVerdict"), counts.none},
            {QStringLiteral("otherVerdict"), counts.other},
            {QStringLiteral("passRate"), optionalNumber(counts.passRate())},
            {QStringLiteral("timeOutRate"), optionalNumber(counts.timeOutRate())},
            {QStringLiteral("meanAverage"), optionalNumber(counts.meanAverage())}};
}

QJsonArray itemsJson(const std::vector<ItemStatistics>& items) {
    QJsonArray array;
    for (const ItemStatistics& item : items) {
        QJsonArray marks;
        if (item.tooHard()) marks.append(QStringLiteral("too-hard"));
        if (item.tooEasy()) marks.append(QStringLiteral("too-easy"));
        if (item.negative()) marks.append(QStringLiteral("negative-discrimination"));
        array.append(
            QJsonObject{{QStringLiteral("ticket"), item.ticket},
                        {QStringLiteral("question"), item.question},
                        {QStringLiteral("records"), item.records},
                        {QStringLiteral("attempts"), item.attempts},
                        {QStringLiteral("right"), item.right},
                        {QStringLiteral("facility"),
                         item.attempts ? QJsonValue(item.facility()) : QJsonValue()},
                        {QStringLiteral("discrimination"), optionalNumber(item.discrimination)},
                        {QStringLiteral("marks"), marks},
                        {QStringLiteral("text"), item.text}});
    }
    return array;
}

QJsonArray testsJson(const TestReportStatistics& tests) {
    QJsonArray array;
    for (const TestStatistics& test : tests.tests) {
        QJsonArray conclusions;
        for (const ConclusionCount& conclusion : test.conclusions) {
            conclusions.append(QJsonObject{{QStringLiteral("number"), conclusion.number},
                                           {QStringLiteral("text"), conclusion.text},
                                           {QStringLiteral("runs"), conclusion.runs}});
        }
        array.append(QJsonObject{{QStringLiteral("test"), test.test},
                                 {QStringLiteral("runs"), test.runs},
                                 {QStringLiteral("conclusions"), conclusions}});
    }
    return array;
}

} // namespace

QJsonObject statisticsJson(const ClassStatistics& statistics, const TestReportStatistics& tests) {
    QJsonArray histogram, days, groups;
    for (int bin = 0; bin < kHistogramBins; ++bin) {
        histogram.append(
            QJsonObject{{QStringLiteral("from"), 2.0 + bin * 0.5},
                        {QStringLiteral("to"), 2.5 + bin * 0.5},
                        {QStringLiteral("records"), statistics.histogram[std::size_t(bin)]}});
    }
    for (const auto& [day, counts] : statistics.byDay) {
        QJsonObject entry = countsJson(counts);
        entry.insert(QStringLiteral("day"), day.isValid() ? QJsonValue(day.toString(Qt::ISODate))
                                                          : QJsonValue(QJsonValue::Null));
        days.append(entry);
    }
    for (const auto& [group, counts] : statistics.byGroup) {
        QJsonObject entry = countsJson(counts);
        entry.insert(QStringLiteral("group"), group);
        groups.append(entry);
    }
    return {{QStringLiteral("records"), statistics.records},
            {QStringLiteral("problems"), problemsJson(statistics.problems)},
            {QStringLiteral("items"), itemsJson(statistics.items)},
            {QStringLiteral("histogram"), histogram},
            {QStringLiteral("overall"), countsJson(statistics.overall)},
            {QStringLiteral("byDay"), days},
            {QStringLiteral("byGroup"), groups},
            {QStringLiteral("tests"), testsJson(tests)},
            {QStringLiteral("testRuns"), tests.runs},
            {QStringLiteral("testProblems"), problemsJson(tests.problems)}};
}

} // namespace teacher_tools
