#pragma once
// The results journal: the exam report "s/oth.txt" read back into a table, one row per
// record (date, time, name, additional data, ticket, the evaluation of every question,
// the average and the verdict). Records in either language, with or without a date line
// and additional data, are read; a record cut short or edited by hand is reported with
// its line and read as far as it goes, never stopping the rest.

#include "common/decimal.h"
#include "teacher_tools/findings.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <array>
#include <optional>
#include <vector>

namespace teacher_tools {

inline constexpr int kQuestionSlots = 20;

// The evaluations of questions 1 to 20 by index from 0 ("2", "5"; empty: not answered),
// held up to the last one recorded: a year of reports holds a million rows, most of
// their twenty slots empty. Rows with the same evaluations share them.
class Evaluations {
public:
    const QString& operator[](std::size_t question) const {
        static const QString none;
        return qsizetype(question) < given_.size() ? given_[qsizetype(question)] : none;
    }
    void set(std::size_t question, const QString& evaluation) {
        if (given_.size() <= qsizetype(question)) given_.resize(qsizetype(question) + 1);
        given_[qsizetype(question)] = evaluation;
    }
    // Up to the last one recorded.
    QStringList::const_iterator begin() const { return given_.begin(); }
    QStringList::const_iterator end() const { return given_.end(); }

private:
    QStringList given_;
};

struct JournalRow {
    int line = 0;             // the record's first line in the report
    QString date, time;       // as written; empty without a date line
    std::optional<QDate> day; // the date, when it reads as one
    std::optional<QTime> clock;
    QString name;   // the student's name
    QString data;   // the additional data, as one text
    QString ticket; // the ticket's folder name ("b3")
    Evaluations evaluations;
    int answered = 0;
    // The average of the evaluations recorded. A record does not say how many questions
    // the ticket had, so questions left unanswered are not in it.
    std::optional<Decimal> average;
    QString verdict;
};

struct JournalProblem {
    int line = 0;
    QString message;
    bool dropped = false; // the record at `line` is left out of the rows
};

struct Journal {
    std::vector<JournalRow> rows;
    std::vector<JournalProblem> problems;
};

// The records the problems say were left out (cut short, or without a readable date when
// dates are chosen).
int droppedRecords(const std::vector<JournalProblem>& problems);

// The report's text, its lines ending in CR CR LF, CR LF or LF.
Journal parseJournal(const QString& text, const Wording& say);
// The report's bytes: Windows-1251 as the program writes it, or UTF-8 after an editor
// saved it so.
Journal readJournal(const QByteArray& bytes, const Wording& say);
// The same read from the report file a line at a time: memory for the rows only, however
// large the report. Nothing when it cannot be read (missing, not a regular file).
std::optional<Journal> readJournalFile(const QString& path, const Wording& say);

// A date as the user's locale writes it ("15.01.2026", "1/15/2026") or "2026-01-15".
std::optional<QDate> parseDate(const QString& text);

// The rows from `from` to `to` (either may be missing); a row whose date cannot be read
// is left out, with a problem, once a limit is given.
Journal filterJournal(const Journal& journal, std::optional<QDate> from, std::optional<QDate> to,
                      const Wording& say);

// Columns of the table: date, time, name, additional data, ticket, the questions, then the
// number answered, the average, the verdict and the record's line.
inline constexpr int kFirstQuestionColumn = 5;

// The number of question columns a table of these rows needs: the last question answered
// in any of them, at least 1.
int questionColumns(const std::vector<JournalRow>& rows);
QStringList journalHeadings(int questions, const Wording& say);
QStringList journalCells(const JournalRow& row, int questions, QChar decimalSeparator);

// The table as CSV for spreadsheet programs in a Russian locale: ';' between fields,
// CR LF after each row, fields quoted when they must be. The date's column is followed by
// the same date in ISO 8601 ("2026-01-15"; empty when the date does not read).
QString journalCsv(const std::vector<JournalRow>& rows, const Wording& say, QChar decimalSeparator);
// One CSV row of that kind, its CR LF included.
QString csvRow(const QStringList& cells);

} // namespace teacher_tools
