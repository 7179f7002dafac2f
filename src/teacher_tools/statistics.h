#pragma once
// Class statistics from the two reports: which questions a class fails (item analysis of
// the exam report "s/oth.txt", read through the journal), how the ticket averages spread,
// how many passed by day and by group, and how often each conclusion of a test was
// reached (the test report "s/lzm.txt"). The tables here are the ones the command line
// prints, the CSV holds and the report viewer's "Статистика" tab shows.
//
// Item analysis follows the usual quiz statistics: the facility of a question is the share
// of its attempts answered right; its discrimination index is the correlation (Pearson, so
// point-biserial for a right/wrong result) between the question's result and the result
// of the rest of the ticket, the number of the ticket's other questions answered right.
// It is worked out only for tickets with at least kDiscriminationRecords records. A
// question left unanswered is no attempt of it; in the rest of the ticket it counts as
// not right.

#include "teacher_tools/journal.h"

#include <QDate>
#include <QJsonObject>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace teacher_tools {

inline constexpr int kDiscriminationRecords = 5;
inline constexpr double kHardFacility = 0.30; // below: hardly anyone answers it right
inline constexpr double kEasyFacility = 0.95; // above: it tells nobody apart

struct StatisticsFilter {
    std::optional<QDate> from, to;
    QString group; // additional data 1; empty: every record
};

// Additional data 1 of a record: the first word of its additional data ("8А").
QString groupOf(const JournalRow& row);

struct ItemStatistics {
    QString ticket; // "b3"
    int question = 0;
    int records = 0;                      // records of the ticket
    int attempts = 0;                     // of them, the ones that answered the question
    int right = 0;                        // evaluated 5
    std::optional<double> discrimination; // -1 .. 1
    QString text; // the question's text in the exam folder in use, when it has it

    double facility() const { return attempts == 0 ? 0.0 : double(right) / attempts; }
    bool tooHard() const { return attempts > 0 && facility() < kHardFacility; }
    bool tooEasy() const { return attempts > 0 && facility() > kEasyFacility; }
    bool negative() const { return discrimination && *discrimination < 0; }
    bool flagged() const { return tooHard() || tooEasy() || negative(); }
};

enum class Verdict { Passed, Failed, TimedOut, None, Other };
// The verdict line of a record in either language.
Verdict verdictOf(const QString& text);

struct VerdictCounts {
    int records = 0;
    int passed = 0, failed = 0, timedOut = 0, none = 0, other = 0;
    long long averageUnits = 0; // the sum of the ticket averages (Decimal units)
    int averaged = 0;           // records with an average

    void add(const JournalRow& row);
    int withVerdict() const { return records - none; }
    std::optional<double> passRate() const;
    std::optional<double> timeOutRate() const;
    std::optional<double> meanAverage() const;
};

// Ticket averages in halves from 2 to 5: 2–2.5, 2.5–3, ..., 4.5–5 (5 itself in the last).
inline constexpr int kHistogramBins = 6;
int histogramBin(Decimal average);

struct ConclusionCount {
    int number = 0; // 1 .. 3 as the result block numbers it; 0 when none matches
    QString text;
    int runs = 0;
};

struct TestStatistics {
    QString test; // the name of its header
    int runs = 0;
    std::vector<ConclusionCount> conclusions; // by number, then text
};

struct TestReportStatistics {
    std::vector<TestStatistics> tests; // by name
    std::vector<JournalProblem> problems;
    int runs = 0;
};

struct ClassStatistics {
    int records = 0; // the records analysed: in the period and the group
    // What the journal could not read whole, or left out (JournalProblem::dropped).
    std::vector<JournalProblem> problems;
    std::vector<ItemStatistics> items; // by ticket (b2 before b10), then question
    std::array<int, kHistogramBins> histogram{};
    VerdictCounts overall;
    std::vector<std::pair<QDate, VerdictCounts>> byDay;     // by day; undated last (null date)
    std::vector<std::pair<QString, VerdictCounts>> byGroup; // by additional data 1
    QStringList groups; // every value of additional data 1 in the period
};

// The journal's rows in the filter's period and group, analysed.
ClassStatistics analyseJournal(const Journal& journal, const StatisticsFilter& filter,
                               const Wording& say);
// Fills in each item's text from the exam folder (nothing when it lacks the ticket or
// the question).
void addQuestionTexts(ClassStatistics& statistics, const QString& examFolder);
// The exam folder in use as the settings file of the application folder names it.
QString examFolderInUse(const QString& applicationFolder);

// The test report: its result blocks counted by test and conclusion, those outside the
// period left out. Runs that cannot be dated while a period is chosen are named and
// left out; result blocks without a header or cut short are named and counted.
TestReportStatistics readTestReport(const QByteArray& bytes, std::optional<QDate> from,
                                    std::optional<QDate> to, const Wording& say);

// A table as the command line prints it, the CSV holds it and the window shows it.
struct StatisticsTable {
    QString title;
    QStringList headings;
    std::vector<QStringList> rows;
};

// The facility (0 .. 1) and the discrimination (-1 .. 1) as percentages with one decimal
// ("66,7"), as quiz statistics show them.
QString percentText(double share, QChar decimalSeparator);
QStringList itemHeadings(const Wording& say);
QStringList itemCells(const ItemStatistics& item, const Wording& say, QChar decimalSeparator);
// The label of a histogram bin: "2–2,5".
QString binLabel(int bin, QChar decimalSeparator);
QString dayLabel(const QDate& day, const Wording& say);

// Items, averages, verdicts overall, by day and by group, test conclusions.
std::vector<StatisticsTable> statisticsTables(const ClassStatistics& statistics,
                                              const TestReportStatistics& tests, const Wording& say,
                                              QChar decimalSeparator);
// The tables one after another, each under its title, an empty row between them.
QString statisticsCsv(const std::vector<StatisticsTable>& tables);
// The rows padded into columns, for a console.
QString alignedText(const std::vector<QStringList>& rows);
// The same a row at a time: the widths widened by every row first, then each row's line.
void widenColumns(std::vector<qsizetype>& widths, const QStringList& cells);
QString alignedLine(const QStringList& cells, const std::vector<qsizetype>& widths);
QJsonObject statisticsJson(const ClassStatistics& statistics, const TestReportStatistics& tests);

} // namespace teacher_tools
