#include "gui/settings_window_view.h"

#include "settings/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {

namespace {
QLineEdit* lineEdit(int width = 0) {
    auto* edit = new QLineEdit;
    if (width > 0) edit->setFixedWidth(width);
    return edit;
}
// A push button for the model's button, added to a row.
QPushButton* addButton(Binder& binder, QHBoxLayout* row, forms::CommandButton& model) {
    auto* button = new QPushButton;
    binder.bind(model, button);
    row->addWidget(button);
    return button;
}
} // namespace

SettingsWindowView::SettingsWindowView(App& app, Form4& m) : View(app, m) {
    Binder& b = binder();
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // Confirmation panel: shown over the main panel when no passing score is set.
    auto* confirm = new QGroupBox;
    {
        auto* layout = new QVBoxLayout(confirm);
        auto* question = new QLabel;
        question->setWordWrap(true);
        b.bind(m.Label20, question);
        layout->addWidget(question);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        addButton(b, buttons, m.Command7);
        addButton(b, buttons, m.Command8);
        layout->addLayout(buttons);
        QPalette palette = confirm->palette();
        palette.setColor(QPalette::Window, QColor(255, 244, 214));
        confirm->setPalette(palette);
        confirm->setAutoFillBackground(true);
    }
    b.bind(m.Frame12, confirm);
    outer->addWidget(confirm);

    // Main panel.
    auto* main = new QGroupBox;
    auto* grid = new QGridLayout(main);
    grid->setHorizontalSpacing(12);
    {
        auto* tickets = new QGroupBox;
        auto* layout = new QHBoxLayout(tickets);
        auto* count = lineEdit(80);
        b.bind(m.Text3, count);
        layout->addWidget(count);
        layout->addStretch();
        b.bind(m.Frame2, tickets);
        grid->addWidget(tickets, 0, 0);

        auto* questions = new QGroupBox;
        auto* qLayout = new QHBoxLayout(questions);
        auto* combo = new QComboBox;
        combo->setFixedWidth(80);
        b.bind(m.Combo1, combo);
        qLayout->addWidget(combo);
        qLayout->addStretch();
        b.bind(m.Frame5, questions);
        grid->addWidget(questions, 0, 1);

        auto* evaluation = new QGroupBox;
        auto* eLayout = new QGridLayout(evaluation);
        auto* scoreLabel = new QLabel;
        auto* score = lineEdit(80);
        auto* adjust = new QLabel;
        b.bind(m.Label2, scoreLabel);
        b.bind(m.Text5, score);
        b.bind(m.Label6, adjust);
        eLayout->addWidget(scoreLabel, 0, 0);
        eLayout->addWidget(score, 0, 1);
        eLayout->addWidget(adjust, 1, 0, 1, 2);
        b.bind(m.Frame6, evaluation);
        grid->addWidget(evaluation, 1, 0);

        auto* password = new QGroupBox;
        auto* pLayout = new QHBoxLayout(password);
        auto* enter = new QLabel;
        auto* pass = lineEdit(160);
        b.bind(m.Label32, enter);
        b.bind(m.Text12, pass);
        pLayout->addWidget(enter);
        pLayout->addWidget(pass);
        pLayout->addStretch();
        b.bind(m.Frame10, password);
        grid->addWidget(password, 1, 1);

        auto* timers = new QGroupBox;
        auto* tLayout = new QGridLayout(timers);
        auto* ticketTimer = new QCheckBox;
        auto* questionTimer = new QCheckBox;
        auto* minutesLabel = new QLabel;
        auto* minutes = lineEdit(60);
        auto* status = new QLabel;
        auto* clockHeading = new QLabel;
        auto* time = new QLabel;
        auto* date = new QLabel;
        b.bind(m.Check1, ticketTimer);
        b.bind(m.Check2, questionTimer);
        b.bind(m.Label11, minutesLabel);
        b.bind(m.Text2, minutes);
        b.bind(m.Label13, status);
        b.bind(m.Label10, clockHeading);
        b.bind(m.Label35, time);
        b.bind(m.Label36, date);
        status->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
        tLayout->addWidget(ticketTimer, 0, 0, 1, 2);
        tLayout->addWidget(questionTimer, 1, 0, 1, 2);
        tLayout->addWidget(minutesLabel, 2, 0);
        tLayout->addWidget(minutes, 2, 1, Qt::AlignLeft);
        tLayout->addWidget(status, 3, 0, 1, 2);
        tLayout->addWidget(clockHeading, 0, 2);
        auto* clock = new QHBoxLayout;
        clock->addWidget(time);
        clock->addSpacing(16);
        clock->addWidget(date);
        tLayout->addLayout(clock, 1, 2);
        tLayout->setColumnStretch(2, 1);
        b.bind(m.Frame1, timers);
        grid->addWidget(timers, 2, 0, 1, 2);

        auto* picture = new QGroupBox;
        auto* picLayout = new QGridLayout(picture);
        auto* fixed = new QRadioButton;
        auto* real = new QRadioButton;
        auto* width = lineEdit(60);
        auto* by = new QLabel;
        auto* height = lineEdit(60);
        auto* unit = new QLabel;
        b.bind(m.Option1, fixed);
        b.bind(m.Option2, real);
        b.bind(m.Text4, width);
        b.bind(m.Label14, by);
        b.bind(m.Text1, height);
        b.bind(m.Label12, unit);
        picLayout->addWidget(fixed, 0, 0, 1, 5);
        picLayout->addWidget(width, 1, 0);
        picLayout->addWidget(by, 1, 1);
        picLayout->addWidget(height, 1, 2);
        picLayout->addWidget(unit, 1, 3);
        picLayout->setColumnStretch(4, 1);
        picLayout->addWidget(real, 2, 0, 1, 5);
        b.bind(m.Frame8, picture);
        grid->addWidget(picture, 3, 0, 1, 2);

        auto* folder = new QGroupBox;
        auto* fLayout = new QGridLayout(folder);
        auto* chosen = new QLabel;
        auto* path = lineEdit();
        path->setMinimumWidth(420);
        auto* choose = new QLabel;
        b.bind(m.Label19, chosen);
        b.bind(m.Text6, path);
        b.bind(m.Label18, choose);
        fLayout->addWidget(chosen, 0, 0);
        fLayout->addWidget(path, 0, 1);
        fLayout->addWidget(choose, 1, 0, 1, 2);
        b.bind(m.Frame11, folder);
        grid->addWidget(folder, 4, 0, 1, 2);

        auto* editor = new QGroupBox;
        auto* edLayout = new QHBoxLayout(editor);
        auto* edit = new QLabel;
        b.bind(m.Label8, edit);
        edLayout->addWidget(edit);
        b.bind(m.Frame7, editor);
        grid->addWidget(editor, 5, 0, 1, 2);

        auto* save = new QCheckBox;
        b.bind(m.Check3, save);
        grid->addWidget(save, 6, 0);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        addButton(b, buttons, m.Command3);
        addButton(b, buttons, m.Command10);
        addButton(b, buttons, m.Command6)->setDefault(true);
        grid->addLayout(buttons, 6, 1);
    }
    b.bind(m.Frame3, main);
    outer->addWidget(main);

    // Evaluation panel.
    auto* table = new QGroupBox;
    {
        auto* layout = new QVBoxLayout(table);
        auto* heading = new QLabel;
        b.bind(m.Label4, heading);
        QFont headingFont = heading->font();
        headingFont.setBold(true);
        heading->setFont(headingFont);
        layout->addWidget(heading);
        auto* fields = new QGridLayout;
        fields->setHorizontalSpacing(4);
        for (int i = 1; i <= 20; ++i) {
            const int row = (i - 1) / 10 * 2;
            const int column = (i - 1) % 10;
            auto* number = new QLabel(QString::number(i));
            number->setAlignment(Qt::AlignCenter);
            auto* field = lineEdit(40);
            field->setAlignment(Qt::AlignCenter);
            b.bind(m.txt(i), field);
            fields->addWidget(number, row, column);
            fields->addWidget(field, row + 1, column);
        }
        layout->addLayout(fields);
        auto* legend = new QHBoxLayout;
        auto* bad = new QLabel;
        auto* good = new QLabel;
        b.bind(m.Label1, bad);
        b.bind(m.Label7, good);
        legend->addWidget(bad);
        legend->addSpacing(24);
        legend->addWidget(good);
        legend->addStretch();
        layout->addLayout(legend);
        auto* numbers = new QGridLayout;
        auto* countLabel = new QLabel;
        auto* count = lineEdit(60);
        auto* scoreLabel = new QLabel;
        auto* score = lineEdit(90);
        score->setReadOnly(true);
        b.bind(m.Label3, countLabel);
        b.bind(m.txtV, count);
        b.bind(m.Label5, scoreLabel);
        b.bind(m.txtZ, score);
        numbers->addWidget(countLabel, 0, 0);
        numbers->addWidget(count, 0, 1, Qt::AlignLeft);
        numbers->addWidget(scoreLabel, 1, 0);
        numbers->addWidget(score, 1, 1, Qt::AlignLeft);
        numbers->setColumnStretch(2, 1);
        layout->addLayout(numbers);
        auto* buttons = new QHBoxLayout;
        addButton(b, buttons, m.Command11);
        buttons->addStretch();
        addButton(b, buttons, m.Command1);
        addButton(b, buttons, m.Command9);
        layout->addLayout(buttons);
    }
    b.bind(m.Frame4, table);
    outer->addWidget(table);

    b.bind(m.Timer1);
    b.bindWindow(m, this);
}

} // namespace gui
