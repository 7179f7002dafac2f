#include "teacher_tools/journal.h"

#include "common/grading.h"
#include "common/language.h"
#include "exam_taking/exam_report.h"
#include "platform/ansi_codec.h"
#include "platform/text_encoding.h"
#include "teacher_tools/journal_texts.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>

namespace teacher_tools {

namespace {

// The name panel's captions, which begin every name line, and the ticket captions.
const QString kNamePrefixes[] = {QStringLiteral("Ф.И.О ,  Данные  "),
                                 QStringLiteral("Surname a Name, additional data  ")};
const QString kTicketPrefixes[] = {QStringLiteral("Билет № "), QStringLiteral("Ticket № ")};
const QString kDataPrefix = QStringLiteral("Дополнительные сведения: ");

// A line of the report: a view of the text it was read from, or of its own copy once that
// text is gone.
struct Line {
    int number = 0;
    QStringView text;
    QString kept;
};

// A QString over the view's characters without copying them, to look a text up with.
QString borrowed(QStringView text) { return QString::fromRawData(text.data(), text.size()); }

// Each line of the text in turn, never all of them at once: a year of reports is large.
template <typename Visit> void forEachLineOf(QStringView text, int& number, Visit visit) {
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        // A text ending in a line end has no line after it.
        if (start == text.size() && text.endsWith(QLatin1Char('\n'))) break;
        qsizetype stop = end;
        while (stop > start && text.at(stop - 1) == QLatin1Char('\r'))
            --stop;
        visit(++number, text.mid(start, stop - start));
        start = end + 1;
    }
}

// Three or more "=" and nothing else but blanks around them.
bool isSeparator(QStringView line) {
    const QStringView equals = line.trimmed();
    return equals.size() >= 3 && equals.front() == QLatin1Char('=') &&
           equals.count(QLatin1Char('=')) == equals.size();
}

bool isDateLine(QStringView line) {
    return line.startsWith(QStringLiteral("Дата: ")) || line.startsWith(QLatin1String("Date: "));
}

std::optional<QTime> parseTime(const QString& text) {
    for (const char* format : {"H:mm:ss", "h:mm:ss AP", "h:mm:ss ap", "H:mm", "h:mm AP"}) {
        const QTime time = QTime::fromString(text.trimmed(), QString::fromLatin1(format));
        if (time.isValid()) return time;
    }
    return std::nullopt;
}

// The text after one of the prefixes, or nothing.
template <std::size_t N>
std::optional<QStringView> after(QStringView line, const QString (&prefixes)[N]) {
    for (const QString& prefix : prefixes) {
        if (line.startsWith(prefix)) return line.mid(prefix.size());
    }
    return std::nullopt;
}

// The question-line prefixes of both languages, trimmed, made once: a report of many
// thousands of records is read line by line against them.
const std::array<std::array<QString, kQuestionSlots>, 2>& questionPrefixes() {
    static const auto prefixes = [] {
        std::array<std::array<QString, kQuestionSlots>, 2> made;
        for (int n = 1; n <= kQuestionSlots; ++n) {
            made[0][std::size_t(n - 1)] = questionLinePrefix(texts::kRussian, n).trimmed();
            made[1][std::size_t(n - 1)] = questionLinePrefix(texts::kEnglish, n).trimmed();
        }
        return made;
    }();
    return prefixes;
}

// What an evaluations line says: the same line, written by every record with the same
// evaluations, says the same.
struct Scores {
    Evaluations evaluations;
    int answered = 0;
    std::optional<Decimal> average;
    QStringList problems;
};

// Evaluations lines remembered, at most: a class repeats a few hundred of them, and a
// report whose every line differs should not keep them all.
constexpr qsizetype kRememberedLines = 4096;

class JournalReader {
public:
    explicit JournalReader(const Wording& say) : say_(say) {}
    // The lines one at a time, then finish(): a report is never held whole. A view must
    // stay valid until keep() or finish().
    void feed(int number, QStringView text);
    void feed(int number, const QString& text);
    // Copies the lines of the record being read: the text they are views of goes.
    void keep();
    // Room for this many rows: they are not moved as they come, and room left over is
    // never touched, so it takes no memory.
    void expect(qsizetype rows) { journal_.rows.reserve(std::size_t(rows)); }
    Journal finish();

private:
    void record(bool finished);
    bool dateLine(QStringView line, JournalRow& row);
    void questions(const Line& line, JournalRow& row);
    Scores score(QStringView line);
    void problem(int line, const QString& message, bool dropped = false) {
        journal_.problems.push_back({line, message, dropped});
    }

    // One copy of each recurring text (a ticket, an evaluation, a verdict) that every row
    // holding it shares: a year of reports repeats a few dozen of them a million times.
    QString shared(QStringView text) {
        auto found = texts_.constFind(borrowed(text));
        if (found == texts_.cend()) found = texts_.insert(text.toString());
        return *found;
    }

    const Wording& say_;
    Journal journal_;
    // Dates and times read once each: records of one day share their date.
    QHash<QString, std::optional<QDate>> days_;
    QHash<QString, std::optional<QTime>> clocks_;
    // Evaluations lines, evaluations and their averages worked out once each: a class
    // repeats them.
    QHash<QString, Scores> scores_;
    QHash<QString, bool> numeric_;
    QHash<QString, std::optional<Decimal>> averages_;
    QSet<QString> texts_;
    std::vector<Line> current_;
};

void JournalReader::feed(int number, QStringView text) {
    if (current_.empty() && text.trimmed().isEmpty()) return;
    if (isSeparator(text)) {
        record(true);
        current_.clear();
        return;
    }
    // A date line inside a record starts the next one: the one before was cut short.
    if (!current_.empty() && isDateLine(text)) {
        record(false);
        current_.clear();
    }
    current_.push_back({number, text, {}});
}

void JournalReader::feed(int number, const QString& text) {
    feed(number, QStringView(text));
    // The view moves with its string: a QString's characters stay where they are.
    if (!current_.empty() && current_.back().number == number) {
        current_.back().kept = text;
        current_.back().text = current_.back().kept;
    }
}

void JournalReader::keep() {
    for (Line& line : current_) {
        if (line.kept.isNull()) {
            line.kept = line.text.toString();
            line.text = line.kept;
        }
    }
}

Journal JournalReader::finish() {
    if (!current_.empty()) record(false);
    current_.clear();
    return std::move(journal_);
}

bool JournalReader::dateLine(QStringView line, JournalRow& row) {
    // "Дата: DATE Время: TIME", "Date: DATETime: TIME"; the last time label counts.
    static const QString labels[2][2] = {{QStringLiteral("Дата: "), QStringLiteral(" Время: ")},
                                         {QStringLiteral("Date: "), QStringLiteral("Time: ")}};
    for (const auto& [dateLabel, timeLabel] : labels) {
        if (!line.startsWith(dateLabel)) continue;
        const qsizetype time = line.lastIndexOf(timeLabel);
        if (time < dateLabel.size()) continue;
        const QStringView date = line.mid(dateLabel.size(), time - dateLabel.size()).trimmed();
        const QStringView clockText = line.mid(time + timeLabel.size()).trimmed();
        auto day = days_.constFind(borrowed(date));
        if (day == days_.cend()) {
            const QString text = date.toString();
            day = days_.insert(text, parseDate(text));
        }
        auto clock = clocks_.constFind(borrowed(clockText));
        if (clock == clocks_.cend()) {
            const QString text = clockText.toString();
            clock = clocks_.insert(text, parseTime(text));
        }
        // The texts the hashes keep, shared by every record of that day and time.
        row.date = day.key();
        row.day = *day;
        row.time = clock.key();
        row.clock = *clock;
        return true;
    }
    return false;
}

void JournalReader::record(bool finished) {
    const std::vector<Line>& lines = current_;
    if (lines.empty()) return;
    JournalRow row;
    row.line = lines.front().number;
    std::size_t at = dateLine(lines.front().text, row) ? 1 : 0;
    if (lines.size() < at + 3) {
        problem(row.line, say_(journal_texts::text("recordIncompleteNoName")), true);
        return;
    }
    if (!finished) {
        problem(row.line, say_(journal_texts::text("recordDoesNotEnd")));
    }
    const Line& name = lines[at++];
    const std::optional<QStringView> student = after(name.text, kNamePrefixes);
    row.name = student.value_or(name.text).toString();
    if (!student) problem(name.number, say_(journal_texts::text("nameLineWasEdited")));
    const Line& ticket = lines[at++];
    const std::optional<QStringView> folder = after(ticket.text, kTicketPrefixes);
    row.ticket = shared(folder.value_or(ticket.text));
    if (!folder) {
        problem(ticket.number, say_(journal_texts::text("ticketLineWasEdited")));
    }
    questions(lines[at++], row);
    if (at < lines.size()) row.verdict = shared(lines[at++].text);
    if (at < lines.size() && lines[at].text.startsWith(kDataPrefix))
        row.data = lines[at++].text.mid(kDataPrefix.size()).toString();
    if (at < lines.size()) {
        problem(lines[at].number, say_(journal_texts::text("recordHasExtraLines")));
    }
    journal_.rows.push_back(std::move(row));
}

void JournalReader::questions(const Line& line, JournalRow& row) {
    const auto apply = [&](const Scores& scores) {
        for (const QString& message : scores.problems)
            problem(line.number, message);
        row.evaluations = scores.evaluations;
        row.answered = scores.answered;
        row.average = scores.average;
    };
    const auto known = scores_.constFind(borrowed(line.text));
    if (known != scores_.cend()) return apply(*known);
    const Scores scores = score(line.text);
    apply(scores);
    if (scores_.size() < kRememberedLines) scores_.insert(line.text.toString(), scores);
}

Scores JournalReader::score(QStringView line) {
    Scores scores;
    const QList<QStringView> parts = line.split(QLatin1Char(';'));
    if (parts.size() != kQuestionSlots) {
        scores.problems.append(
            say_(journal_texts::text("evaluationsLineHasParts")).arg(parts.size()));
    }
    QStringList answered;
    for (int n = 1; n <= std::min<int>(kQuestionSlots, int(parts.size())); ++n) {
        const QStringView part = parts.at(n - 1).trimmed();
        if (part.isEmpty()) continue;
        std::optional<QString> evaluation;
        for (const auto& prefixes : questionPrefixes()) {
            const QString& prefix = prefixes[std::size_t(n - 1)];
            if (part.startsWith(prefix)) evaluation = part.mid(prefix.size()).trimmed().toString();
        }
        if (!evaluation) {
            scores.problems.append(
                say_(journal_texts::text("evaluationQuestionWasEdited")).arg(n).arg(part));
            evaluation = part.toString().section(QLatin1Char(' '), -1);
        }
        auto numeric = numeric_.constFind(*evaluation);
        if (numeric == numeric_.cend())
            numeric = numeric_.insert(*evaluation, Decimal::isNumeric(*evaluation));
        if (!*numeric) {
            scores.problems.append(
                say_(journal_texts::text("evaluationQuestionNoNumber")).arg(n).arg(*evaluation));
            continue;
        }
        scores.evaluations.set(std::size_t(n - 1), shared(*evaluation));
        answered.append(*evaluation);
    }
    scores.answered = int(answered.size());
    const QString key = answered.join(QLatin1Char(';'));
    auto average = averages_.constFind(key);
    if (average == averages_.cend()) {
        std::optional<Decimal> worked;
        if (const auto sum = grading::sumEvaluations(answered); sum && scores.answered > 0)
            worked = grading::average(*sum, QString::number(scores.answered));
        average = averages_.insert(key, worked);
    }
    scores.average = *average;
    return scores;
}

} // namespace

int droppedRecords(const std::vector<JournalProblem>& problems) {
    return int(std::count_if(problems.begin(), problems.end(),
                             [](const JournalProblem& problem) { return problem.dropped; }));
}

Journal parseJournal(const QString& text, const Wording& say) {
    JournalReader reader(say);
    int number = 0;
    forEachLineOf(text, number, [&](int line, QStringView view) { reader.feed(line, view); });
    return reader.finish();
}

Journal readJournal(const QByteArray& bytes, const Wording& say) {
    const platform::TextEncoding encoding = platform::detectEncoding(bytes);
    if (encoding != platform::TextEncoding::Ansi && encoding != platform::TextEncoding::Utf8)
        return parseJournal(platform::decodeDetected(bytes), say);
    // A block of whole lines decoded at a time, its lines split as forEachLineOf splits
    // them: neither the report's whole text (twice its bytes) nor a string per line is made.
    constexpr qsizetype kBlock = 1 << 20;
    JournalReader reader(say);
    reader.expect(bytes.size() / 128); // a record as the program writes it is longer
    int number = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', std::min(start + kBlock, bytes.size() - 1));
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView block(bytes.constData() + start, end - start);
        const QString text = encoding == platform::TextEncoding::Utf8 ? QString::fromUtf8(block)
                                                                      : platform::fromAnsi(block);
        forEachLineOf(text, number, [&](int line, QStringView view) { reader.feed(line, view); });
        reader.keep();
        start = end;
    }
    return reader.finish();
}

std::optional<Journal> readJournalFile(const QString& path, const Wording& say) {
    JournalReader reader(say);
    int number = 0;
    if (!platform::forEachLine(path, [&](const QString& text) { reader.feed(++number, text); }))
        return std::nullopt;
    return reader.finish();
}

std::optional<QDate> parseDate(const QString& text) {
    const QString trimmed = text.trimmed();
    // Every short date the program can have written: Russian and German, English (US and
    // other), the C locale's "7 Dec 2026", with two- and four-digit years.
    for (const char* format : {"yyyy-MM-dd", "d.M.yyyy", "M/d/yyyy", "d/M/yyyy", "d.M.yy", "M/d/yy",
                               "d/M/yy", "d MMM yyyy", "d MMM yy", "yyyy/M/d"}) {
        QDate date = QDate::fromString(trimmed, QString::fromLatin1(format));
        if (!date.isValid()) continue;
        if (date.year() < 1950) date = date.addYears(100); // two-digit years are this century's
        return date;
    }
    return std::nullopt;
}

Journal filterJournal(const Journal& journal, std::optional<QDate> from, std::optional<QDate> to,
                      const Wording& say) {
    if (!from && !to) return journal;
    Journal kept;
    kept.problems = journal.problems;
    for (const JournalRow& row : journal.rows) {
        if (!row.day) {
            kept.problems.push_back(
                {row.line, say(journal_texts::text("recordSDateCannot")).arg(row.date), true});
            continue;
        }
        if ((from && *row.day < *from) || (to && *row.day > *to)) continue;
        kept.rows.push_back(row);
    }
    std::stable_sort(
        kept.problems.begin(), kept.problems.end(),
        [](const JournalProblem& a, const JournalProblem& b) { return a.line < b.line; });
    return kept;
}

int questionColumns(const std::vector<JournalRow>& rows) {
    int columns = 1;
    for (const JournalRow& row : rows) {
        for (int n = kQuestionSlots; n > columns; --n) {
            if (!row.evaluations[std::size_t(n - 1)].isEmpty()) columns = n;
        }
    }
    return columns;
}

QStringList journalHeadings(int questions, const Wording& say) {
    QStringList headings{say(journal_texts::text("date")), say(journal_texts::text("time")),
                         say(journal_texts::text("name")),
                         say(journal_texts::text("additionalData")),
                         say(journal_texts::text("ticket"))};
    for (int n = 1; n <= questions; ++n)
        headings.append(QString::number(n));
    headings << say(journal_texts::text("answered")) << say(journal_texts::text("average"))
             << say(journal_texts::text("verdict")) << say(journal_texts::text("line"));
    return headings;
}

QStringList journalCells(const JournalRow& row, int questions, QChar decimalSeparator) {
    QStringList cells{row.date, row.time, row.name, row.data.trimmed(), row.ticket};
    for (int n = 1; n <= questions; ++n)
        cells.append(row.evaluations[std::size_t(n - 1)]);
    cells << QString::number(row.answered)
          << (row.average ? row.average->toText(decimalSeparator) : QString()) << row.verdict
          << QString::number(row.line);
    return cells;
}

namespace {

// A text a spreadsheet would take for a formula (a student named "=HYPERLINK(...)") is
// kept a text by a leading apostrophe; numbers ("-0,25") stay numbers.
QString notAFormula(const QString& text) {
    if (text.isEmpty() || !QStringLiteral("=+-@\t\r").contains(text.front()) ||
        Decimal::parse(text))
        return text;
    return QLatin1Char('\'') + text;
}

QString csvField(const QString& cell) {
    static const QRegularExpression special(QStringLiteral("[;\"\r\n]|^\\s|\\s$"));
    const QString text = notAFormula(cell);
    if (!special.match(text).hasMatch()) return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString csvRow(const QStringList& cells) {
    QStringList fields;
    for (const QString& cell : cells)
        fields.append(csvField(cell));
    return fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

QString journalCsv(const std::vector<JournalRow>& rows, const Wording& say,
                   QChar decimalSeparator) {
    const int questions = questionColumns(rows);
    // Beside the date as the record writes it, the same date as ISO 8601, which every
    // spreadsheet reads as a date whatever its locale.
    QStringList headings = journalHeadings(questions, say);
    headings.insert(1, say(journal_texts::text("dateIso")));
    QString csv = csvRow(headings);
    for (const JournalRow& row : rows) {
        QStringList cells = journalCells(row, questions, decimalSeparator);
        cells.insert(1, row.day ? row.day->toString(Qt::ISODate) : QString());
        csv += csvRow(cells);
    }
    return csv;
}

} // namespace teacher_tools
