#include "gui/statistics_view.h"

#include "gui/journal_view.h"
#include "gui/statistics_view_texts.h"
#include "platform/text_files.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace gui {

namespace {

const QColor kWarning(200, 55, 55);
const QColor kGuide(230, 150, 40);
const QColor kFlaggedRow(255, 228, 225);

// A scale for counts: whole numbers at each of its four steps.
double countsTop(const std::vector<double>& values) {
    double largest = 1.0;
    for (double value : values)
        largest = std::max(largest, value);
    return 4.0 * std::ceil(largest / 4.0);
}

QTableView* tableOf(QAbstractItemModel* model, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace

Chart::Chart(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void Chart::setData(const Data& data) {
    data_ = data;
    update();
}

QSize Chart::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 50, fontMetrics().height() * 12};
}

QSize Chart::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 24, fontMetrics().height() * 7};
}

void Chart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw(painter, rect());
}

QImage Chart::image() const {
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(palette().color(QPalette::Base));
    QPainter painter(&image);
    draw(painter, rect());
    return image;
}

bool Chart::savePng(const QString& path) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image().save(&buffer, "PNG")) return false;
    return platform::writeBytesAtomically(path, bytes);
}

void Chart::draw(QPainter& painter, const QRect& area) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setFont(font());
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(area.adjusted(0, line / 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     data_.title);
    if (data_.values.empty()) {
        painter.drawText(area, Qt::AlignCenter, data_.empty);
        return;
    }
    const int left = metrics.horizontalAdvance(QStringLiteral("0000")) + line / 2;
    const QRect plot = area.adjusted(left, line * 2, -line, -line * 2);
    if (plot.width() < 10 || plot.height() < 10) return;
    const double top = data_.top ? *data_.top : countsTop(data_.values);
    drawScale(painter, plot, top);
    drawValues(painter, plot, top);
    drawLabels(painter, plot);
}

void Chart::drawScale(QPainter& painter, const QRect& plot, double top) const {
    const QFontMetrics metrics = fontMetrics();
    const QColor grid = palette().color(QPalette::Mid);
    for (int step = 0; step <= 4; ++step) {
        const double value = top * step / 4;
        const int y = plot.bottom() - int(std::lround(plot.height() * step / 4.0));
        painter.setPen(QPen(grid, 0));
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(palette().color(QPalette::Text));
        const QString text = QString::number(value, 'g', 4);
        painter.drawText(QRect(0, y - metrics.height() / 2, plot.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter.drawText(
        QRect(0, plot.top() - metrics.height() * 3 / 2, plot.left() + 40, metrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, data_.unit);
    painter.setPen(QPen(kGuide, 0, Qt::DashLine));
    for (double guide : data_.guides) {
        const int y = plot.bottom() - int(std::lround(plot.height() * guide / top));
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
}

void Chart::drawValues(QPainter& painter, const QRect& plot, double top) const {
    const int count = int(data_.values.size());
    const double slot = double(plot.width()) / count;
    auto pointAt = [&](int i) {
        const double height =
            plot.height() * std::clamp(data_.values[std::size_t(i)] / top, 0.0, 1.0);
        return QPointF(plot.left() + slot * (i + 0.5), plot.bottom() - height);
    };
    const QColor normal = palette().color(QPalette::Highlight);
    if (data_.kind == Kind::Line) {
        painter.setPen(QPen(normal, 2));
        for (int i = 1; i < count; ++i)
            painter.drawLine(pointAt(i - 1), pointAt(i));
        painter.setBrush(normal);
        for (int i = 0; i < count; ++i)
            painter.drawEllipse(pointAt(i), 3, 3);
        return;
    }
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const bool marked = std::size_t(i) < data_.marked.size() && data_.marked[std::size_t(i)];
        painter.setBrush(marked ? kWarning : normal);
        const QPointF top_ = pointAt(i);
        painter.drawRect(
            QRectF(top_.x() - slot * 0.35, top_.y(), slot * 0.7, plot.bottom() - top_.y()));
    }
}

void Chart::drawLabels(QPainter& painter, const QRect& plot) const {
    const QFontMetrics metrics = fontMetrics();
    const int count = int(data_.labels.size());
    if (count == 0) return;
    const double slot = double(plot.width()) / count;
    int widest = 1;
    for (const QString& label : data_.labels)
        widest = std::max(widest, metrics.horizontalAdvance(label) + metrics.averageCharWidth());
    // Every label where there is room, else every second, third, ...
    const int every = std::max(1, int(std::ceil(widest / slot)));
    painter.setPen(palette().color(QPalette::Text));
    for (int i = 0; i < count; i += every) {
        const QRectF box(plot.left() + slot * i + slot / 2 - widest / 2.0, plot.bottom() + 4,
                         widest, metrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, data_.labels.at(i));
    }
}

StatisticsView::StatisticsView(const teacher_tools::Journal& journal, const QByteArray& testReport,
                               const QString& examFolder, const QString& language,
                               QChar decimalSeparator, QWidget* parent)
    : QWidget(parent), say_(language), separator_(decimalSeparator), journal_(journal),
      testReport_(testReport), examFolder_(examFolder) {
    for (const teacher_tools::JournalRow& row : journal_.rows) {
        if (!row.day) continue;
        if (!firstDay_ || *row.day < *firstDay_) firstDay_ = row.day;
        if (!lastDay_ || *row.day > *lastDay_) lastDay_ = row.day;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filterRow());
    auto* pages = new QTabWidget(this);
    pages->addTab(itemsPage(), say_(statistics_view_texts::text("questions")));
    pages->addTab(gradesPage(), say_(statistics_view_texts::text("grades")));
    pages->addTab(testsPage(), say_(statistics_view_texts::text("tests")));
    // A screen reader names the pages and their tables after the tabs.
    pages->setAccessibleName(say_(statistics_view_texts::text("statistics")));
    for (int page = 0; page < pages->count(); ++page) {
        for (QTableView* table : pages->widget(page)->findChildren<QTableView*>())
            table->setAccessibleName(pages->tabText(page));
        if (auto* table = qobject_cast<QTableView*>(pages->widget(page)))
            table->setAccessibleName(pages->tabText(page));
    }
    layout->addWidget(pages, 1);
    count_ = new QLabel(this);
    count_->setWordWrap(true);
    layout->addWidget(count_);
    problems_ = new QListWidget(this);
    problems_->setMaximumHeight(problems_->fontMetrics().height() * 4);
    layout->addWidget(problems_);
    refresh();
}

QWidget* StatisticsView::filterRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    group_ = new QComboBox(row);
    group_->addItem(say_(statistics_view_texts::text("all")), QString());
    // Every group of the report, whatever the period.
    const teacher_tools::ClassStatistics all = teacher_tools::analyseJournal(journal_, {}, say_);
    for (const QString& group : all.groups)
        group_->addItem(group, group);
    from_ = new QDateEdit(row);
    to_ = new QDateEdit(row);
    for (QDateEdit* edit : {from_, to_}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(say_(statistics_view_texts::text("dateFormat")));
        edit->setEnabled(firstDay_.has_value());
        if (firstDay_) edit->setDateRange(*firstDay_, *lastDay_);
    }
    if (firstDay_) {
        from_->setDate(*firstDay_);
        to_->setDate(*lastDay_);
    }
    auto* groupLabel = new QLabel(say_(statistics_view_texts::text("group")), row);
    groupLabel->setBuddy(group_);
    auto* fromLabel = new QLabel(say_(statistics_view_texts::text("from")), row);
    fromLabel->setBuddy(from_);
    auto* toLabel = new QLabel(say_(statistics_view_texts::text("text")), row);
    toLabel->setBuddy(to_);
    layout->addWidget(groupLabel);
    layout->addWidget(group_);
    layout->addSpacing(fontMetrics().averageCharWidth() * 2);
    layout->addWidget(fromLabel);
    layout->addWidget(from_);
    layout->addWidget(toLabel);
    layout->addWidget(to_);
    layout->addStretch(1);
    connect(group_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(from_, &QDateEdit::dateChanged, this, [this] { refresh(); });
    connect(to_, &QDateEdit::dateChanged, this, [this] { refresh(); });
    return row;
}

QWidget* StatisticsView::chartPanel(Chart* chart, const QString& file) {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart, 1);
    auto* save = new QPushButton(say_(statistics_view_texts::text("savePng")), panel);
    layout->addWidget(save, 0, Qt::AlignRight);
    connect(save, &QPushButton::clicked, this, [this, chart, file] { saveChart(chart, file); });
    return panel;
}

QWidget* StatisticsView::itemsPage() {
    itemModel_ = new QStandardItemModel(this);
    itemProxy_ = new QSortFilterProxyModel(this);
    itemProxy_->setSourceModel(itemModel_);
    itemProxy_->setSortRole(Qt::UserRole);
    auto* table = tableOf(itemProxy_, this);
    table->setSortingEnabled(true);
    table->sortByColumn(0, Qt::AscendingOrder); // tickets in their order, b2 before b10
    facility_ = new Chart(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table);
    splitter->addWidget(chartPanel(facility_, QStringLiteral("facility.png")));
    return splitter;
}

QWidget* StatisticsView::gradesPage() {
    auto* page = new QSplitter(Qt::Vertical, this);
    auto* charts = new QWidget(page);
    auto* layout = new QHBoxLayout(charts);
    layout->setContentsMargins(0, 0, 0, 0);
    histogram_ = new Chart(charts);
    passRate_ = new Chart(charts);
    layout->addWidget(chartPanel(histogram_, QStringLiteral("averages.png")));
    layout->addWidget(chartPanel(passRate_, QStringLiteral("pass-rate.png")));
    page->addWidget(charts);
    groupModel_ = new QStandardItemModel(this);
    page->addWidget(tableOf(groupModel_, page));
    return page;
}

QWidget* StatisticsView::testsPage() {
    testModel_ = new QStandardItemModel(this);
    return tableOf(testModel_, this);
}

void StatisticsView::setGroup(const QString& group) {
    group_->setCurrentIndex(std::max(0, group_->findData(group)));
}

int StatisticsView::itemRows() const { return itemProxy_->rowCount(); }

void StatisticsView::refresh() {
    teacher_tools::StatisticsFilter filter;
    filter.group = group_->currentData().toString();
    // The whole span is no choice of dates: undated records stay in then.
    if (firstDay_ && from_->date() != *firstDay_) filter.from = from_->date();
    if (lastDay_ && to_->date() != *lastDay_) filter.to = to_->date();
    statistics_ = teacher_tools::analyseJournal(journal_, filter, say_);
    teacher_tools::addQuestionTexts(statistics_, examFolder_);
    const teacher_tools::TestReportStatistics tests =
        teacher_tools::readTestReport(testReport_, filter.from, filter.to, say_);
    const std::vector<teacher_tools::StatisticsTable> tables =
        teacher_tools::statisticsTables(statistics_, tests, say_, separator_);
    fillItems();
    fillTable(groupModel_, tables.at(3));
    fillTable(testModel_, tables.at(4));
    fillCharts();
    for (QTableView* table : findChildren<QTableView*>())
        table->resizeColumnsToContents();

    problems_->clear();
    for (const teacher_tools::JournalProblem& problem : statistics_.problems) {
        problems_->addItem(
            say_(statistics_view_texts::text("othTxtLine")).arg(problem.line).arg(problem.message));
    }
    for (const teacher_tools::JournalProblem& problem : tests.problems) {
        problems_->addItem(
            say_(statistics_view_texts::text("lzmTxtLine")).arg(problem.line).arg(problem.message));
    }
    problems_->setVisible(problems_->count() > 0);
    count_->setText(say_(statistics_view_texts::text("recordsLeftOutTest"))
                        .arg(statistics_.records)
                        .arg(teacher_tools::droppedRecords(statistics_.problems) +
                             teacher_tools::droppedRecords(tests.problems))
                        .arg(tests.runs));
}

void StatisticsView::fillItems() {
    itemModel_->clear();
    itemModel_->setHorizontalHeaderLabels(teacher_tools::itemHeadings(say_));
    for (const teacher_tools::ItemStatistics& item : statistics_.items) {
        const QStringList cells = teacher_tools::itemCells(item, say_, separator_);
        QList<QStandardItem*> row;
        for (int column = 0; column < cells.size(); ++column) {
            auto* cell = new QStandardItem(cells.at(column));
            QVariant key = cells.at(column).toCaseFolded();
            if (column >= 1 && column <= 3) key = cells.at(column).toInt();
            if (column == 4) key = item.attempts ? item.facility() : -1.0;
            if (column == 5) key = item.discrimination.value_or(-2.0);
            cell->setData(key, Qt::UserRole);
            if (item.flagged()) cell->setBackground(kFlaggedRow);
            if (!item.text.isEmpty()) cell->setToolTip(item.text);
            row.append(cell);
        }
        // The ticket column sorts as the statistics order tickets: b2 before b10.
        row.front()->setData(itemModel_->rowCount(), Qt::UserRole);
        itemModel_->appendRow(row);
    }
}

void StatisticsView::fillTable(QStandardItemModel* model,
                               const teacher_tools::StatisticsTable& table) {
    model->clear();
    model->setHorizontalHeaderLabels(table.headings);
    for (const QStringList& cells : table.rows) {
        QList<QStandardItem*> row;
        for (const QString& cell : cells)
            row.append(new QStandardItem(cell));
        model->appendRow(row);
    }
}

void StatisticsView::fillCharts() {
    Chart::Data facility{
        .title = say_(statistics_view_texts::text("facilityQuestions")),
        .unit = QStringLiteral("%"),
        .top = 100.0,
        .guides = {teacher_tools::kHardFacility * 100, teacher_tools::kEasyFacility * 100},
        .empty = say_(statistics_view_texts::text("noEvaluationsQuestions"))};
    for (const teacher_tools::ItemStatistics& item : statistics_.items) {
        facility.labels.append(item.ticket + QLatin1Char('/') + QString::number(item.question));
        facility.values.push_back(item.facility() * 100);
        facility.marked.push_back(item.flagged());
    }
    facility_->setData(facility);

    Chart::Data histogram{.title = say_(statistics_view_texts::text("ticketAverages")),
                          .unit = say_(statistics_view_texts::text("records")),
                          .empty = say_(statistics_view_texts::text("noRecords"))};
    for (int bin = 0; bin < teacher_tools::kHistogramBins; ++bin) {
        histogram.labels.append(teacher_tools::binLabel(bin, separator_));
        histogram.values.push_back(statistics_.histogram[std::size_t(bin)]);
    }
    if (statistics_.overall.averaged == 0) histogram.values.clear();
    histogram_->setData(histogram);

    Chart::Data passRate{.title = say_(statistics_view_texts::text("deliveredByDay")),
                         .unit = QStringLiteral("%"),
                         .top = 100.0,
                         .empty = say_(statistics_view_texts::text("noDatedRecordsWith")),
                         .kind = Chart::Kind::Line};
    for (const auto& [day, counts] : statistics_.byDay) {
        if (!day.isValid() || !counts.passRate()) continue;
        passRate.labels.append(day.toString(say_(statistics_view_texts::text("dayFormat"))));
        passRate.values.push_back(*counts.passRate() * 100);
    }
    passRate_->setData(passRate);
}

void StatisticsView::saveChart(const Chart* chart, const QString& file) {
    const QString start =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(file);
    const QString path = QFileDialog::getSaveFileName(
        this, say_(statistics_view_texts::text("savePng2")), start, QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) return;
    if (chart->savePng(path)) {
        count_->setText(
            count_->text() + QLatin1Char(' ') +
            say_(statistics_view_texts::text("saved")).arg(QDir::toNativeSeparators(path)));
        return;
    }
    tellWriteFailed(this, say_, path);
}

} // namespace gui
