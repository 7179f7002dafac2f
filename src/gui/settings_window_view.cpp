#include "gui/settings_window_view.h"

#include "forms/app.h"
#include "settings/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
// A frame holding one bound text box in a row of its own.
QGroupBox* oneFieldPanel(Binder& binder, forms::Frame& frame, QWidget* field) {
    auto* panel = new QGroupBox;
    auto* layout = new QHBoxLayout(panel);
    layout->addWidget(field);
    layout->addStretch();
    binder.bind(frame, panel);
    return panel;
}
} // namespace

SettingsWindowView::SettingsWindowView(App& app, Form4& model) : View(app, model), model_(model) {
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    // Narrow margins: at 150 % on a 768-pixel screen every pixel of height counts.
    outer->setContentsMargins(4, 4, 4, 4);
    QWidget* main = mainPanel();
    outer->addWidget(main);
    outer->addWidget(evaluationPanel());
    confirmationPanel(main);
    // Fields named by no caption of their own; a tool tip in the window's language
    // describes the rest.
    binder().speak({
        {&model.Combo1, "Число вопросов", "Number of questions"},
        {&model.Text4, "Ширина картинки", "Picture width"},
        {&model.Text1, "Высота картинки", "Picture height"},
        // Its caption is written in Cyrillic letters, which an English voice spells out.
        {&model.Command1, nullptr, "OK"},
    });
    binder().bind(model.Timer1);
    binder().bindWindow(model, this);
}

void SettingsWindowView::confirmationPanel(QWidget* over) {
    // Shown over the main panel when no passing score is set, as a panel on top of it
    // rather than beside it, so the window keeps its size.
    Binder& b = binder();
    auto* panel = new QGroupBox(over);
    auto* layout = new QVBoxLayout(panel);
    auto* question = new QLabel;
    question->setWordWrap(true);
    b.bind(model_.Label20, question);
    layout->addWidget(question);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    addButton(b, buttons, model_.Command7);
    addButton(b, buttons, model_.Command8);
    layout->addLayout(buttons);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(255, 244, 214));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    panel->setMaximumWidth(420);
    b.bind(model_.Frame12, panel);
    b.follow(model_.Frame12, [panel, over] {
        panel->adjustSize();
        panel->move((over->width() - panel->width()) / 2, (over->height() - panel->height()) / 3);
        panel->raise();
    });
}

QWidget* SettingsWindowView::mainPanel() {
    // Two columns, so that the whole set-up fits a small screen at a large scale: the
    // numbers, the password and the picture on the left, the timers and the folders on
    // the right.
    Binder& b = binder();
    auto* panel = new QGroupBox;
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(12);

    auto* counts = new QHBoxLayout;
    auto* tickets = lineEdit(80);
    b.bind(model_.Text3, tickets);
    counts->addWidget(oneFieldPanel(b, model_.Frame2, tickets));
    auto* questions = new QComboBox;
    questions->setFixedWidth(80);
    b.bind(model_.Combo1, questions);
    counts->addWidget(oneFieldPanel(b, model_.Frame5, questions));
    auto* left = new QVBoxLayout;
    left->addLayout(counts);
    left->addWidget(scorePanel());
    auto* password = lineEdit(160);
    b.bind(model_.Text12, password);
    auto* passwordPanel = oneFieldPanel(b, model_.Frame10, password);
    auto* enter = new QLabel;
    b.bind(model_.Label32, enter);
    static_cast<QHBoxLayout*>(passwordPanel->layout())->insertWidget(0, enter);
    left->addWidget(passwordPanel);
    left->addWidget(picturePanel());
    left->addStretch();
    grid->addLayout(left, 0, 0);

    auto* right = new QVBoxLayout;
    right->addWidget(timersPanel());
    right->addWidget(folderPanel());
    auto* editor = new QGroupBox;
    auto* editorLayout = new QHBoxLayout(editor);
    auto* edit = new QLabel;
    b.bind(model_.Label8, edit);
    editorLayout->addWidget(edit);
    b.bind(model_.Frame7, editor);
    right->addWidget(editor);
    // The teacher's exam switches, where the right column has room to spare.
    for (forms::CheckBox* model : {&model_.Check4, &model_.Check5}) {
        auto* box = new QCheckBox;
        b.bind(*model, box);
        right->addWidget(box);
    }
    right->addStretch();
    grid->addLayout(right, 0, 1);

    auto* save = new QCheckBox;
    b.bind(model_.Check3, save);
    grid->addWidget(save, 1, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    addButton(b, buttons, model_.Command3);
    addButton(b, buttons, model_.classView);
    addButton(b, buttons, model_.Command10);
    addButton(b, buttons, model_.Command6)->setDefault(true);
    grid->addLayout(buttons, 1, 1);
    b.bind(model_.Frame3, panel);
    return panel;
}

QWidget* SettingsWindowView::scorePanel() {
    Binder& b = binder();
    auto* panel = new QGroupBox;
    auto* layout = new QGridLayout(panel);
    auto* scoreLabel = new QLabel;
    auto* score = lineEdit(80);
    auto* adjust = new QLabel;
    b.bind(model_.Label2, scoreLabel);
    b.bind(model_.Text5, score);
    b.bind(model_.Label6, adjust);
    layout->addWidget(scoreLabel, 0, 0);
    layout->addWidget(score, 0, 1);
    layout->addWidget(adjust, 1, 0, 1, 2);
    b.bind(model_.Frame6, panel);
    return panel;
}

QWidget* SettingsWindowView::timersPanel() {
    Binder& b = binder();
    auto* panel = new QGroupBox;
    auto* layout = new QGridLayout(panel);
    auto* ticketTimer = new QCheckBox;
    auto* questionTimer = new QCheckBox;
    auto* minutesLabel = new QLabel;
    auto* minutes = lineEdit(60);
    auto* status = new QLabel;
    auto* clockHeading = new QLabel;
    auto* time = new QLabel;
    auto* date = new QLabel;
    b.bind(model_.Check1, ticketTimer);
    b.bind(model_.Check2, questionTimer);
    b.bind(model_.Label11, minutesLabel);
    b.bind(model_.Text2, minutes);
    b.nameAfter(model_.Label11, minutes);
    b.bind(model_.Label13, status);
    b.bind(model_.Label10, clockHeading);
    b.bind(model_.Label35, time);
    b.bind(model_.Label36, date);
    status->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    layout->addWidget(ticketTimer, 0, 0, 1, 2);
    layout->addWidget(questionTimer, 1, 0, 1, 2);
    layout->addWidget(minutesLabel, 2, 0);
    layout->addWidget(minutes, 2, 1, Qt::AlignLeft);
    layout->addWidget(status, 3, 0, 1, 2);
    auto* clock = new QHBoxLayout;
    clock->addWidget(clockHeading);
    clock->addWidget(time);
    clock->addSpacing(16);
    clock->addWidget(date);
    clock->addStretch();
    layout->addLayout(clock, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    b.bind(model_.Frame1, panel);
    return panel;
}

QWidget* SettingsWindowView::picturePanel() {
    Binder& b = binder();
    auto* panel = new QGroupBox;
    auto* layout = new QGridLayout(panel);
    auto* fixed = new QRadioButton;
    auto* real = new QRadioButton;
    auto* width = lineEdit(60);
    auto* by = new QLabel;
    auto* height = lineEdit(60);
    auto* unit = new QLabel;
    b.bind(model_.Option1, fixed);
    b.bind(model_.Option2, real);
    b.bind(model_.Text4, width);
    b.bind(model_.Label14, by);
    b.bind(model_.Text1, height);
    b.bind(model_.Label12, unit);
    layout->addWidget(fixed, 0, 0, 1, 5);
    layout->addWidget(width, 1, 0);
    layout->addWidget(by, 1, 1);
    layout->addWidget(height, 1, 2);
    layout->addWidget(unit, 1, 3);
    layout->setColumnStretch(4, 1);
    layout->addWidget(real, 2, 0, 1, 5);
    b.bind(model_.Frame8, panel);
    return panel;
}

QWidget* SettingsWindowView::folderPanel() {
    Binder& b = binder();
    auto* panel = new QGroupBox;
    auto* layout = new QGridLayout(panel);
    auto* chosen = new QLabel;
    auto* path = lineEdit();
    path->setMinimumWidth(300);
    auto* choose = new QLabel;
    b.bind(model_.Label19, chosen);
    b.bind(model_.Text6, path);
    b.bind(model_.Label18, choose);
    // The check sits beside the caption over the path, so the panel keeps its width.
    auto* check = new QPushButton;
    b.bind(model_.Command12, check);
    layout->addWidget(chosen, 0, 0);
    layout->addWidget(check, 0, 1, Qt::AlignRight);
    layout->addWidget(path, 1, 0, 1, 2);
    layout->addWidget(choose, 2, 0, 1, 2);
    // The application folder the program works in: each user, a lab's shared folder and a
    // portable copy have their own. The whole path is in the tool tip.
    auto* home = new QLabel;
    const QString folder = QDir::toNativeSeparators(app().folder());
    home->setToolTip(folder);
    home->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(home, 3, 0, 1, 2);
    b.follow(model_.Label17, [this, home, folder] {
        home->setText(model_.say(settings_window_texts::text("applicationFolder"))
                          .arg(home->fontMetrics().elidedText(folder, Qt::ElideMiddle, 300)));
    });
    b.bind(model_.Frame11, panel);
    return panel;
}

void SettingsWindowView::skipWhileLocked(forms::TextBox& model, QWidget* field) {
    // Tab goes from field to field of the questions in use, not through the blackened ones.
    binder().follow(model, [&model, field] {
        field->setFocusPolicy(model.locked() ? Qt::NoFocus : Qt::StrongFocus);
    });
}

QWidget* SettingsWindowView::evaluationPanel() {
    Binder& b = binder();
    auto* panel = new QGroupBox;
    auto* layout = new QVBoxLayout(panel);
    auto* heading = new QLabel;
    b.bind(model_.Label4, heading);
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
        b.bind(model_.txt(i), field);
        skipWhileLocked(model_.txt(i), field);
        // Named by the number above it, as a screen reader cannot see the column.
        field->setAccessibleName(number->text());
        fields->addWidget(number, row, column);
        fields->addWidget(field, row + 1, column);
    }
    layout->addLayout(fields);
    auto* legend = new QHBoxLayout;
    auto* bad = new QLabel;
    auto* good = new QLabel;
    b.bind(model_.Label1, bad);
    b.bind(model_.Label7, good);
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
    b.bind(model_.Label3, countLabel);
    b.bind(model_.txtV, count);
    b.bind(model_.Label5, scoreLabel);
    b.bind(model_.txtZ, score);
    skipWhileLocked(model_.txtZ, score);
    b.nameAfter(model_.Label3, count);
    b.nameAfter(model_.Label5, score);
    numbers->addWidget(countLabel, 0, 0);
    numbers->addWidget(count, 0, 1, Qt::AlignLeft);
    numbers->addWidget(scoreLabel, 1, 0);
    numbers->addWidget(score, 1, 1, Qt::AlignLeft);
    numbers->setColumnStretch(2, 1);
    layout->addLayout(numbers);
    auto* buttons = new QHBoxLayout;
    addButton(b, buttons, model_.Command11);
    buttons->addStretch();
    addButton(b, buttons, model_.Command1);
    addButton(b, buttons, model_.Command9);
    layout->addLayout(buttons);
    b.bind(model_.Frame4, panel);
    return panel;
}

} // namespace gui
