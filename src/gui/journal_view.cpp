#include "gui/journal_view.h"

#include "gui/journal_view_texts.h"
#include "gui/qt_dialogs.h"
#include "platform/text_encoding.h"
#include "platform/text_files.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

namespace gui {

namespace {

using teacher_tools::JournalRow;
using teacher_tools::kFirstQuestionColumn;

constexpr int kMeasuredRows = 100;

// The text case-folded a character at a time as QChar folds it, the digits, dates and
// Latin letters most of a report is without a look-up: a year of records is millions of
// characters to fold at the filter's first keystroke.
QString folded(QString text) {
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            if (unit >= u'A' && unit <= u'Z') units[i] = char16_t(unit + (u'a' - u'A'));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size &&
                   QChar::isLowSurrogate(units[i + 1])) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, units[i + 1]));
            units[i] = QChar::highSurrogate(folded);
            units[++i] = QChar::lowSurrogate(folded);
        } else {
            units[i] = char16_t(QChar::toCaseFolded(char32_t(unit)));
        }
    }
    return text;
}

// What a column sorts by: days and times as such, numbers as numbers, texts without
// regard to case.
QVariant sortKey(const JournalRow& row, int column, int questions, const QString& text) {
    if (column == 0) return row.day ? row.day->toString(Qt::ISODate) : QString();
    if (column == 1) return qlonglong(row.clock ? row.clock->msecsSinceStartOfDay() : -1);
    const int afterQuestions = column - kFirstQuestionColumn - questions;
    if (column >= kFirstQuestionColumn && afterQuestions < 0) {
        const auto value = Decimal::parse(text);
        return qlonglong(value ? value->units() : -1);
    }
    if (afterQuestions == 0) return qlonglong(row.answered);
    if (afterQuestions == 1) return qlonglong(row.average ? row.average->units() : -1);
    if (afterQuestions == 3) return qlonglong(row.line);
    return text.toCaseFolded();
}

// The records as a table: each cell made when a view asks for it, never stored, so a
// year of reports costs its records and no more.
class JournalModel : public QAbstractTableModel {
public:
    JournalModel(const teacher_tools::Journal& journal, int questions, QStringList headings,
                 QChar separator, QObject* parent)
        : QAbstractTableModel(parent), journal_(journal), questions_(questions),
          headings_(std::move(headings)), separator_(separator) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(journal_.rows.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(headings_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::TextAlignmentRole)
            return index.column() >= kFirstQuestionColumn ? QVariant(int(Qt::AlignCenter))
                                                          : QVariant();
        if (role != Qt::DisplayRole && role != Qt::UserRole) return {};
        const JournalRow& row = journal_.rows[std::size_t(index.row())];
        const QString text = cell(row, index.column());
        return role == Qt::UserRole ? sortKey(row, index.column(), questions_, text) : text;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        // The whole heading as a tip too: a narrowed column shows only its start.
        if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::ToolTipRole) &&
            section >= 0 && section < headings_.size())
            return headings_.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const JournalRow& rowAt(int r) const { return journal_.rows[std::size_t(r)]; }
    // One cell of journalCells() without making the others.
    QString cell(const JournalRow& row, int column) const {
        const int afterQuestions = column - kFirstQuestionColumn - questions_;
        switch (column) {
        case 0:
            return row.date;
        case 1:
            return row.time;
        case 2:
            return row.name;
        case 3:
            return row.data.trimmed();
        case 4:
            return row.ticket;
        default:
            break;
        }
        if (afterQuestions > 3) return {};
        if (afterQuestions < 0) return row.evaluations[std::size_t(column - kFirstQuestionColumn)];
        if (afterQuestions == 0) return QString::number(row.answered);
        if (afterQuestions == 1) return row.average ? averageText(*row.average) : QString();
        if (afterQuestions == 2) return row.verdict;
        return QString::number(row.line);
    }
    // Every row's cells one after another, folded, for the filter: kCellEnd after each
    // cell but the last, kRowEnd after each row. One string for all: a year of records
    // would otherwise be a hundred thousand strings to make.
    QString searchTexts() const {
        qsizetype size = 0;
        for (const JournalRow& row : journal_.rows)
            size += row.name.size() + row.data.size() + 8 * headings_.size();
        QString texts;
        texts.reserve(size);
        const int answered = kFirstQuestionColumn + questions_;
        for (const JournalRow& row : journal_.rows) {
            for (int column = 0; column < headings_.size(); ++column) {
                if (column > 0) texts += kCellEnd;
                if (column == answered || column == answered + 3)
                    appendNumber(texts, column == answered ? row.answered : row.line);
                else
                    texts += cell(row, column);
            }
            texts += kRowEnd;
        }
        return folded(std::move(texts));
    }
    static constexpr QChar kCellEnd = QChar(0x1F), kRowEnd = QChar(0x1E);

private:
    // A class's averages are a few dozen values: each written once.
    QString averageText(Decimal average) const {
        auto found = averageTexts_.constFind(average.units());
        if (found == averageTexts_.cend())
            found = averageTexts_.insert(average.units(), average.toText(separator_));
        return *found;
    }
    static void appendNumber(QString& text, int number) {
        char digits[16];
        const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        text += QLatin1String(digits, end);
    }

    const teacher_tools::Journal& journal_;
    int questions_;
    QStringList headings_;
    QChar separator_;
    mutable QHash<qint64, QString> averageTexts_;
};

// The rows shown: a filter over every column's text, made once for all the records and
// searched per keystroke, and a sort on keys made once per column.
class JournalRows : public QSortFilterProxyModel {
public:
    explicit JournalRows(JournalModel* model, QObject* parent)
        : QSortFilterProxyModel(parent), model_(model) {
        setSourceModel(model);
    }
    // The records are in the report's order: from no order, that order by line is no sort.
    void sort(int column, Qt::SortOrder order) override {
        if (sortColumn() < 0 && column == model_->columnCount({}) - 1 &&
            order == Qt::AscendingOrder)
            return;
        QSortFilterProxyModel::sort(column, order);
    }
    void setNeedle(const QString& text) {
        needle_ = folded(text);
        if (!needle_.isEmpty()) findNeedle();
        // The rows made again, not the changes told a range at a time: a keystroke can
        // hide or show tens of thousands of ranges of rows, each a signal a view follows.
        invalidate();
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex&) const override {
        return needle_.isEmpty() || found_[std::size_t(sourceRow)];
    }
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        if (keysColumn_ != left.column()) {
            keysColumn_ = left.column();
            keys_.clear();
            const int rows = model_->rowCount({});
            keys_.reserve(std::size_t(rows));
            for (int r = 0; r < rows; ++r) {
                const QVariant key = model_->data(model_->index(r, keysColumn_), Qt::UserRole);
                if (key.typeId() == QMetaType::LongLong)
                    keys_.push_back({key.toLongLong(), {}});
                else
                    keys_.push_back({0, key.toString()});
            }
        }
        const Key& a = keys_[std::size_t(left.row())];
        const Key& b = keys_[std::size_t(right.row())];
        return a.number != b.number ? a.number < b.number : a.text < b.text;
    }

private:
    struct Key {
        qlonglong number = 0;
        QString text;
    };
    // The rows whose text holds the needle, found in one search of all the texts.
    void findNeedle() {
        if (texts_.isNull()) {
            texts_ = model_->searchTexts();
            // Found after folding, which may change a text's length.
            ends_.reserve(std::size_t(model_->rowCount({})));
            for (qsizetype end = texts_.indexOf(JournalModel::kRowEnd); end >= 0;
                 end = texts_.indexOf(JournalModel::kRowEnd, end + 1))
                ends_.push_back(end);
        }
        found_.assign(ends_.size(), false);
        if (needle_.contains(JournalModel::kRowEnd)) return;
        for (qsizetype at = texts_.indexOf(needle_); at >= 0;) {
            const auto row = std::upper_bound(ends_.begin(), ends_.end(), at) - ends_.begin();
            found_[std::size_t(row)] = true;
            at = texts_.indexOf(needle_, ends_[std::size_t(row)] + 1);
        }
    }

    JournalModel* model_;
    QString needle_;
    QString texts_;
    std::vector<qsizetype> ends_;
    std::vector<bool> found_;
    mutable int keysColumn_ = -1;
    mutable std::vector<Key> keys_;
};

} // namespace

JournalTable::JournalTable(const QByteArray& report, const QString& language,
                           QChar decimalSeparator, QWidget* parent)
    : QWidget(parent), say_(language), separator_(decimalSeparator), report_(report) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* filterLabel = new QLabel(say_(journal_view_texts::text("filter")), this);
    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(say_(journal_view_texts::text("nameTicketDateVerdict")));
    filter_->setClearButtonEnabled(true);
    filterLabel->setBuddy(filter_);
    auto* save = new QPushButton(say_(journal_view_texts::text("saveCsv")), this);
    top->addWidget(filterLabel);
    top->addWidget(filter_, 1);
    top->addWidget(save);
    layout->addLayout(top);

    table_ = new QTableView(this);
    table_->setAccessibleName(say_(journal_view_texts::text("reportRecords")));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    layout->addWidget(table_, 1);
    count_ = new QLabel(this);
    layout->addWidget(count_);
    problems_ = new QListWidget(this);
    problems_->setMaximumHeight(problems_->fontMetrics().height() * 4);
    problems_->hide();
    layout->addWidget(problems_);

    connect(filter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { setFilter(text); });
    connect(save, &QPushButton::clicked, this, [this] { chooseCsvFile(); });
}

// The report is read into records when the table is first shown or asked about: the
// viewer opens on its text without waiting for a year of records.
void JournalTable::load() {
    if (proxy_) return;
    journal_ = teacher_tools::readJournal(report_, say_);
    report_ = QByteArray();
    questions_ = teacher_tools::questionColumns(journal_.rows);
    model_ = new JournalModel(journal_, questions_,
                              teacher_tools::journalHeadings(questions_, say_), separator_, this);
    proxy_ = new JournalRows(static_cast<JournalModel*>(model_), this);
    table_->setModel(proxy_);
    // In the report's order, which the records already are in: nothing to sort.
    table_->horizontalHeader()->setSortIndicator(model_->columnCount() - 1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    arrangeColumns(table_);
    fillProblemList();
    showCount();
}

void JournalTable::showEvent(QShowEvent* event) {
    load();
    QWidget::showEvent(event);
}

// The result columns (answered, average, verdict) are shown right after the ticket, before
// the questions, and the free texts are kept narrow, so that the viewer shows every
// student's result at its first size however many questions there are. The CSV keeps the
// report's order.
void JournalTable::arrangeColumns(QTableView* table) {
    table->setWordWrap(false); // a narrowed name ends in "..." on its one line
    QHeaderView* header = table->horizontalHeader();
    // The widths of a sample of rows: the records of a year are written alike, and
    // measuring a thousand rows' texts per column would hold up the first rows shown.
    header->setResizeContentsPrecision(kMeasuredRows);
    table->resizeColumnsToContents();
    header->setTextElideMode(Qt::ElideRight);
    const int widest = table->fontMetrics().horizontalAdvance(QString(12, QLatin1Char('x')));
    for (int column : {2, 3})
        header->resizeSection(column, std::min(header->sectionSize(column), widest));
    const int answered = kFirstQuestionColumn + questions_;
    for (int i = 0; i < 3; ++i)
        header->moveSection(header->visualIndex(answered + i), kFirstQuestionColumn + i);
}

void JournalTable::fillProblemList() {
    for (const teacher_tools::JournalProblem& problem : journal_.problems) {
        problems_->addItem(
            say_(journal_view_texts::text("line")).arg(problem.line).arg(problem.message));
    }
    problems_->setVisible(!journal_.problems.empty());
}

void JournalTable::setFilter(const QString& text) {
    load();
    // The field's change comes back here: the rows are filtered once.
    if (filter_->text() != text) return filter_->setText(text);
    static_cast<JournalRows*>(proxy_)->setNeedle(text);
    showCount();
}

int JournalTable::shownRows() {
    load();
    return proxy_->rowCount();
}

int JournalTable::allRows() {
    load();
    return int(journal_.rows.size());
}

QSortFilterProxyModel* JournalTable::rows() {
    load();
    return proxy_;
}

const teacher_tools::Journal& JournalTable::journal() {
    load();
    return journal_;
}

void JournalTable::showCount() {
    QString text = say_(journal_view_texts::text("records")).arg(shownRows()).arg(allRows());
    if (!journal_.problems.empty()) {
        text +=
            QLatin1Char(' ') +
            say_(journal_view_texts::text("remarksOnReportBelow")).arg(journal_.problems.size());
    }
    count_->setText(text);
}

bool JournalTable::saveCsv(const QString& path) {
    load();
    std::vector<JournalRow> shown;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        const int source = proxy_->mapToSource(proxy_->index(r, 0)).row();
        shown.push_back(journal_.rows[std::size_t(source)]);
    }
    const QString csv = teacher_tools::journalCsv(shown, say_, separator_);
    return platform::writeBytesAtomically(path, platform::toUtf8WithBom(csv));
}

QString JournalTable::csvStartPath() const {
    const QString folder = csvFolder_.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : csvFolder_;
    return QDir(folder).filePath(QStringLiteral("oth.csv"));
}

void JournalTable::chooseCsvFile() {
    const QString path =
        QFileDialog::getSaveFileName(this, say_(journal_view_texts::text("saveCsv")),
                                     csvStartPath(), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (saveCsv(path)) {
        count_->setText(
            count_->text() + QLatin1Char(' ') +
            say_(journal_view_texts::text("saved")).arg(QDir::toNativeSeparators(path)));
        return;
    }
    tellWriteFailed(this, say_, path);
}

void tellWriteFailed(QWidget* parent, const teacher_tools::Wording& say, const QString& path) {
    showMessageBox(
        parent, QStringLiteral("Проверон"),
        say(journal_view_texts::text("couldNotWriteCheck")).arg(QDir::toNativeSeparators(path)));
}

} // namespace gui
