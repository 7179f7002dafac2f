#include "gui/ticket_window_view.h"

#include "exam_taking/ticket_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {

namespace {

QLabel* heading(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TicketWindowView::TicketWindowView(App& app, Form2& model) : View(app, model), model_(model) {
    auto* root = new QVBoxLayout(this);

    // Exam title and ticket caption on one line, so the questions get the height.
    auto* titles = new QHBoxLayout;
    auto* title = heading(this);
    title->setWordWrap(true);
    binder().bind(model.Label27, title);
    auto* ticket = heading(this);
    binder().bind(model.Label17, ticket);
    titles->addWidget(title, 1);
    titles->addWidget(ticket);
    root->addLayout(titles);

    auto* body = new QHBoxLayout;
    root->addLayout(body, 1);
    body->addWidget(questionButtons(), 0, Qt::AlignTop);
    body->addLayout(questionPanel(), 1);

    binder().nameAfter(model.Label12, widgetOf(model.Text3));
    binder().nameAfter(model.Label13, widgetOf(model.List1));
    binder().speak({{&model.Text2, "Выбранный ответ", "Chosen answer"},
                    {&model.Image1, "Рисунок к вопросу", "Picture of the question"}});
    std::vector<Spoken> questions;
    for (int n = 1; n <= 20; ++n)
        questions.push_back(
            {&model.Option(n), nullptr, nullptr, "Перейти к вопросу", "Go to the question"});
    binder().speak(questions);
    binder().bind(model.Timer2);
    binder().bind(model.Timer3);
    // Enter sends the chosen answer.
    setDefaultButtons({&model.Command4});
    // Sized before the window is bound: binding may show it, and showing fits it to the
    // screen, which a later resize would undo.
    resize(model.width() / forms::kTwipsPerPixel, model.height() / forms::kTwipsPerPixel);
    binder().bindWindow(model, this);
}

QWidget* TicketWindowView::questionButtons() {
    // The twenty question buttons, numbered, each with its coloured mark.
    auto* questions = new QGroupBox(this);
    auto* grid = new QGridLayout(questions);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int n = 1; n <= 20; ++n) {
        const int row = (n - 1) % 10;
        const int column = (n - 1) / 10 * 2;
        auto* mark = new QFrame(questions);
        mark->setFrameShape(QFrame::Box);
        mark->setFixedSize(14, 14);
        // The question's number is the button's caption: clicking it selects the question.
        auto* button = new QRadioButton(questions);
        grid->addWidget(mark, row, column);
        grid->addWidget(button, row, column + 1);
        binder().bind(model_.Shape(n), mark);
        binder().bind(model_.Option(n), button);
    }
    grid->setRowStretch(10, 1);
    binder().bind(model_.Frame2, questions);
    return questions;
}

QLayout* TicketWindowView::questionPanel() {
    // The current question, its answers, the commands, the countdown and the verdict.
    auto* right = new QVBoxLayout;
    auto* questionHeading = heading(this);
    binder().bind(model_.Label12, questionHeading);
    auto* question = new QPlainTextEdit(this);
    question->setMinimumSize(300, 60);
    binder().bind(model_.Text3, question);
    // The question's picture beside its text, small; the viewer shows it large.
    auto* picture = new QLabel(this);
    binder().bind(model_.Image1, picture, QSize(220, 160));
    auto* questionRow = new QHBoxLayout;
    questionRow->addWidget(question, 1);
    questionRow->addWidget(picture, 0, Qt::AlignTop);
    right->addWidget(questionHeading);
    right->addLayout(questionRow, 2);

    auto* answersHeading = heading(this);
    binder().bind(model_.Label13, answersHeading);
    auto* answers = new QListWidget(this);
    answers->setMinimumHeight(70);
    answers->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    answers->setTextElideMode(Qt::ElideNone);
    answers->setWordWrap(false);
    binder().bind(model_.List1, answers);
    right->addWidget(answersHeading);
    right->addWidget(answers, 2);

    auto* chosen = new QLineEdit(this);
    binder().bind(model_.Text2, chosen);
    right->addWidget(chosen);

    auto* commands = new QHBoxLayout;
    auto* check = new QPushButton(this);
    auto* grade = new QPushButton(this);
    auto* close = new QPushButton(this);
    binder().bind(model_.Command4, check);
    binder().bind(model_.Command1, grade);
    binder().bind(model_.Command2, close);
    commands->addWidget(check);
    commands->addWidget(grade);
    commands->addStretch(1);
    commands->addWidget(close);
    right->addLayout(commands);

    auto* status = new QHBoxLayout;
    auto* timeHeading = new QLabel(this);
    auto* seconds = new QLabel(this);
    seconds->setMinimumWidth(seconds->fontMetrics().horizontalAdvance(QStringLiteral("-32768")));
    binder().bind(model_.Label14, timeHeading);
    binder().bind(model_.Label28, seconds);
    auto* verdict = new QLabel(this);
    QFont verdictFont = verdict->font();
    verdictFont.setPointSizeF(verdictFont.pointSizeF() * 1.4);
    verdict->setFont(verdictFont);
    binder().bind(model_.Label5, verdict);
    status->addWidget(timeHeading);
    status->addWidget(seconds);
    status->addStretch(1);
    status->addWidget(verdict);
    right->addLayout(status);
    return right;
}

} // namespace gui
