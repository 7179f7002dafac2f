#include "gui/class_window_view.h"

#include "teacher_tools/class_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace gui {

namespace {

using class_board::Condition;

using class_board::kStateColumn;

// Problems in red, finished in green or amber, an earlier class in grey; the words of the
// state column say the same for those who cannot tell the colours apart.
QColor backgroundOf(Condition condition) {
    if (class_board::isProblem(condition)) return QColor(0xf8, 0xd0, 0xd0);
    switch (condition) {
    case Condition::Passed:
        return QColor(0xd4, 0xf0, 0xd4);
    case Condition::Failed:
        return QColor(0xfb, 0xe8, 0xc0);
    case Condition::TestDone:
        return QColor(0xdd, 0xe8, 0xf8);
    default:
        return {};
    }
}

} // namespace

ClassWindowView::ClassWindowView(App& app, Form11& model) : View(app, model), model_(model) {
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(this);
    summary->setStyleSheet(QStringLiteral("font-weight: bold;"));
    binder().bind(model.summary, summary);
    layout->addWidget(summary);

    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(true);
    table_->setMinimumSize(480, 200);
    layout->addWidget(table_, 1);

    auto* note = new QLabel(this);
    note->setWordWrap(true);
    binder().bind(model.note, note);
    layout->addWidget(note);

    auto* panel = new QWidget(this);
    auto* panelRow = new QHBoxLayout(panel);
    panelRow->setContentsMargins(0, 0, 0, 0);
    auto* prompt = new QLabel(panel);
    binder().bind(model.passwordPrompt, prompt);
    QLineEdit* password = passwordField(panel, model.password, model.confirmClear);
    binder().nameAfter(model.passwordPrompt, password);
    panelRow->addWidget(prompt);
    panelRow->addWidget(password, 1);
    for (forms::CommandButton* command : {&model.confirmClear, &model.cancelClear}) {
        auto* button = new QPushButton(panel);
        button->setAutoDefault(true);
        binder().bind(*command, button);
        panelRow->addWidget(button);
    }
    binder().bind(model.passwordPanel, panel);
    layout->addWidget(panel);

    auto* buttons = new QHBoxLayout;
    for (forms::CommandButton* command : {&model.refreshNow, &model.clear}) {
        auto* button = new QPushButton(this);
        button->setAutoDefault(true);
        binder().bind(*command, button);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* close = new QPushButton(this);
    close->setAutoDefault(true);
    binder().bind(model.closeWindow, close);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    binder().bind(model.refreshTimer);
    binder().speak(table_, "Компьютеры класса", "The computers of the class");
    setDefaultButtons({&model.confirmClear, &model.refreshNow});
    setEscapeButton(&model.closeWindow);
    binder().follow(model.rows, [this] { redrawTable(); });
    binder().bindWindow(model, this);
    // Room for the nine columns where the screen has it; the window is made to fit a
    // smaller screen when it opens.
    resize(1180, 560);
    table_->setFocus();
}

void ClassWindowView::redrawTable() {
    const QString language = model_.rowLanguage();
    const std::vector<class_board::Row>& rows = model_.board().rows();
    // The row chosen stays chosen while the rows move about.
    QString chosen;
    if (const QTableWidgetItem* item = table_->item(table_->currentRow(), 0))
        chosen = item->data(Qt::UserRole).toString();
    const QStringList headings = class_board::Board::headings(language);
    table_->setColumnCount(int(headings.size()));
    table_->setHorizontalHeaderLabels(headings);
    table_->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const class_board::Row& row = rows[std::size_t(r)];
        const class_board::Cells cells = class_board::Board::cells(row, language);
        const QStringList texts = cells.inOrder();
        const QColor background = backgroundOf(row.condition);
        for (int c = 0; c < int(texts.size()); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (background.isValid()) item->setBackground(background);
            if (row.condition == Condition::Earlier) item->setForeground(QColor(0x70, 0x70, 0x70));
            if (class_board::isProblem(row.condition) && c == kStateColumn) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            // A screen reader reads the whole row with each cell's heading.
            item->setData(Qt::AccessibleTextRole,
                          QString(headings.value(c) + QStringLiteral(": ") + texts[c]));
            if (c == 0) item->setData(Qt::UserRole, row.file);
            if (c == kStateColumn) item->setToolTip(texts[c]);
            if (c == texts.size() - 1) item->setToolTip(cells.written);
            table_->setItem(r, c, item);
        }
        if (row.file == chosen) table_->setCurrentCell(r, 0);
    }
    // Every column as wide as it needs but the state, which wraps in a column of its own
    // width: the state reads whole on a small screen too, beside the student's name.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kStateColumn, QHeaderView::Interactive);
    const int stateWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34;
    header->resizeSection(kStateColumn, stateWidth);
    table_->resizeRowsToContents();
}

} // namespace gui
