#include "gui/journal_view.h"

#include "gui/qt_dialogs.h"
#include "platform/text_encoding.h"
#include "platform/text_files.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace gui {

namespace {

using teacher_tools::JournalRow;
using teacher_tools::kFirstQuestionColumn;

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

} // namespace

JournalTable::JournalTable(const QByteArray& report, const QString& language,
                           QChar decimalSeparator, QWidget* parent)
    : QWidget(parent), say_(language), separator_(decimalSeparator),
      journal_(teacher_tools::readJournal(report, say_)) {
    questions_ = teacher_tools::questionColumns(journal_.rows);
    model_ = new QStandardItemModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    fillModel();

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* filterLabel = new QLabel(say_("Фильтр:", "Filter:"), this);
    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(
        say_("имя, билет, дата, итог...", "name, ticket, date, verdict..."));
    filter_->setClearButtonEnabled(true);
    filterLabel->setBuddy(filter_);
    auto* save = new QPushButton(say_("Сохранить CSV", "Save CSV"), this);
    top->addWidget(filterLabel);
    top->addWidget(filter_, 1);
    top->addWidget(save);
    layout->addLayout(top);

    auto* table = new QTableView(this);
    table->setAccessibleName(say_("Записи отчета", "Report records"));
    table->setModel(proxy_);
    table->setSortingEnabled(true);
    table->sortByColumn(model_->columnCount() - 1, Qt::AscendingOrder); // in the report's order
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->resizeColumnsToContents();
    layout->addWidget(table, 1);
    count_ = new QLabel(this);
    layout->addWidget(count_);
    layout->addWidget(problemList());
    showCount();

    connect(filter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { setFilter(text); });
    connect(save, &QPushButton::clicked, this, [this] { chooseCsvFile(); });
}

void JournalTable::fillModel() {
    const QStringList headings = teacher_tools::journalHeadings(questions_, say_);
    model_->setColumnCount(int(headings.size()));
    model_->setHorizontalHeaderLabels(headings);
    for (const JournalRow& row : journal_.rows) {
        QList<QStandardItem*> items;
        const QStringList cells = teacher_tools::journalCells(row, questions_, separator_);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QStandardItem(cells.at(column));
            item->setData(sortKey(row, column, questions_, cells.at(column)), Qt::UserRole);
            if (column >= kFirstQuestionColumn) item->setTextAlignment(Qt::AlignCenter);
            items.append(item);
        }
        model_->appendRow(items);
    }
}

QWidget* JournalTable::problemList() {
    auto* list = new QListWidget(this);
    for (const teacher_tools::JournalProblem& problem : journal_.problems) {
        list->addItem(say_("Строка %1: %2", "Line %1: %2").arg(problem.line).arg(problem.message));
    }
    list->setMaximumHeight(list->fontMetrics().height() * 4);
    list->setVisible(!journal_.problems.empty());
    return list;
}

void JournalTable::setFilter(const QString& text) {
    if (filter_->text() != text) filter_->setText(text);
    proxy_->setFilterFixedString(text);
    showCount();
}

int JournalTable::shownRows() const { return proxy_->rowCount(); }

void JournalTable::showCount() {
    QString text = say_("Записей: %1 из %2.", "Records: %1 of %2.").arg(shownRows()).arg(allRows());
    if (!journal_.problems.empty()) {
        text += QLatin1Char(' ') + say_("Замечаний к отчёту: %1 (ниже).", "Remarks on the report: "
                                                                          "%1 (below).")
                                       .arg(journal_.problems.size());
    }
    count_->setText(text);
}

bool JournalTable::saveCsv(const QString& path) const {
    std::vector<JournalRow> shown;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        const int source = proxy_->mapToSource(proxy_->index(r, 0)).row();
        shown.push_back(journal_.rows[std::size_t(source)]);
    }
    const QString csv = teacher_tools::journalCsv(shown, say_, separator_);
    return platform::writeBytesAtomically(path, platform::toUtf8WithBom(csv));
}

void JournalTable::chooseCsvFile() {
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(QStringLiteral("oth.csv"));
    const QString path = QFileDialog::getSaveFileName(this, say_("Сохранить CSV", "Save CSV"),
                                                      start, QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (saveCsv(path)) {
        count_->setText(count_->text() + QLatin1Char(' ') +
                        say_("Сохранено: %1", "Saved: %1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    tellWriteFailed(this, say_, path);
}

void tellWriteFailed(QWidget* parent, const teacher_tools::Wording& say, const QString& path) {
    showMessageBox(parent, QStringLiteral("Проверон"),
                   say("Не удалось записать «%1». Проверьте, что в эту папку можно писать и на "
                       "диске есть место.",
                       "Could not write \"%1\". Check that this folder may be written to and that "
                       "the disk has room.")
                       .arg(QDir::toNativeSeparators(path)));
}

} // namespace gui
