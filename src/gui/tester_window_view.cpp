#include "gui/tester_window_view.h"

#include "tester/tester_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace gui {

namespace {

int pixels(int twips) { return twips / forms::kTwipsPerPixel; }

// What a screen reader calls the editor's answer fields, numbered as on the screen.
const std::pair<const char*, const char*> kAnswers[] = {{"Ответ 1", "Answer 1"},
                                                        {"Ответ 2", "Answer 2"},
                                                        {"Ответ 3", "Answer 3"},
                                                        {"Ответ 4", "Answer 4"},
                                                        {"Ответ 5", "Answer 5"}};
const std::pair<const char*, const char*> kPoints[] = {{"Баллы за ответ 1", "Points for answer 1"},
                                                       {"Баллы за ответ 2", "Points for answer 2"},
                                                       {"Баллы за ответ 3", "Points for answer 3"},
                                                       {"Баллы за ответ 4", "Points for answer 4"},
                                                       {"Баллы за ответ 5", "Points for answer 5"}};

QPushButton* button(QWidget* parent, int minimumWidth = 100) {
    auto* widget = new QPushButton(parent);
    widget->setMinimumWidth(minimumWidth);
    widget->setMinimumHeight(30);
    return widget;
}

QLabel* wrapped(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    return label;
}

QFont scaled(QFont font, double factor, bool bold) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

} // namespace

TesterWindowView::TesterWindowView(App& app, Form6& model) : View(app, model), model_(model) {
    useReadableFont(10.5);
    auto* root = new QVBoxLayout(this);
    root->setSpacing(6);
    root->addLayout(numberRow());

    // The content scrolls; the commands below it stay in view.
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll_);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 4, 0);
    // Panels that appear in answer to the user come first, where they are seen.
    column->addWidget(passwordPanel(content));
    column->addWidget(namePanel(content));
    column->addWidget(promptPanel(content));
    column->addWidget(conclusionPanel(content));
    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(questionPanel(content));
    left->addWidget(answerPanel(content));
    left->addStretch(1);
    body->addLayout(left, 3);
    body->addWidget(editorPanel(content), 2, Qt::AlignTop);
    column->addLayout(body, 1);
    scroll_->setWidget(content);
    binder().speak(scroll_, "Вопрос и ответы", "Question and answers");
    root->addWidget(scroll_, 1);
    root->addWidget(editorCommands());

    root->addLayout(commands());

    binder().bindWindow(model, this);
    binder().follow(model, [this] { followSize(); });
}

QLayout* TesterWindowView::numberRow() {
    auto* row = new QHBoxLayout;
    auto* before = new QLabel(this);
    auto* number = new QLineEdit(this);
    number->setMaximumWidth(64);
    auto* after = new QLabel(this);
    auto* next = button(this, 50);
    row->addWidget(before);
    row->addWidget(number);
    row->addWidget(after);
    row->addWidget(next);
    row->addStretch(1);
    // The path line shares the row; a long path is cut rather than widening the window.
    auto* path = new QLabel(this);
    path->setFont(scaled(font(), 0.85, false));
    path->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    path->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(path, 3);
    Binder& b = binder();
    b.bind(model_.Label2, before);
    b.bind(model_.Text1, number);
    b.bind(model_.Label14, after);
    b.bind(model_.Command1, next);
    b.bind(model_.Label16, path);
    b.nameAfter(model_.Label2, number);
    b.speak({{&model_.Command1, "Следующий вопрос", "Next question"}});
    return row;
}

QWidget* TesterWindowView::namePanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(panel);
    auto* prompt = new QLabel(panel);
    auto* name = new QLineEdit(panel);
    name->setMinimumWidth(300);
    auto* buttons = new QHBoxLayout;
    auto* create = button(panel, 130);
    auto* edit = button(panel, 160);
    auto* close = button(panel);
    buttons->addWidget(create);
    buttons->addWidget(edit);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* path = wrapped(panel);
    layout->addWidget(prompt);
    layout->addWidget(name);
    layout->addLayout(buttons);
    layout->addWidget(path);
    Binder& b = binder();
    b.bind(model_.Frame3, panel);
    b.bind(model_.Label9, prompt);
    b.bind(model_.Text2, name);
    // Enter in the name field creates the test, as the button does.
    b.pressOnEnter(name, model_.Text2, model_.Command11);
    b.bind(model_.Command11, create);
    b.bind(model_.Command13, edit);
    b.bind(model_.Command12, close);
    b.bind(model_.Label15, path);
    return panel;
}

QWidget* TesterWindowView::conclusionPanel(QWidget* parent) {
    // At the top of the content, so the end of the test shows without scrolling.
    auto* panel = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(panel);
    auto* conclusion = wrapped(panel);
    conclusion->setFont(scaled(font(), 1.15, true));
    conclusion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* close = button(panel, 36);
    close->setMaximumWidth(40);
    layout->addWidget(conclusion, 1);
    layout->addWidget(close, 0, Qt::AlignTop);
    Binder& b = binder();
    b.bind(model_.Frame6, panel);
    b.bind(model_.Label11, conclusion);
    b.bind(model_.Command15, close);
    return panel;
}

QWidget* TesterWindowView::questionPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(panel);
    auto* question = new QPlainTextEdit(panel);
    // Four lines: a question rarely needs more, and the answers stay in view.
    question->setFixedHeight(question->fontMetrics().lineSpacing() * 4 + 14);
    question->setTabChangesFocus(true);
    layout->addWidget(question);
    binder().bind(model_.Frame1, panel);
    binder().bind(model_.txtV, question);
    // A question's number put in by the editor ("2.") is typed on after, not before.
    binder().follow(model_.txtV, [this, question] {
        static const QRegularExpression numbered(QStringLiteral("^[0-9]+\\.$"));
        if (!model_.txtV.locked() && numbered.match(model_.txtV.text()).hasMatch())
            question->moveCursor(QTextCursor::End);
    });
    return panel;
}

QWidget* TesterWindowView::answerPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(answerChoices(panel));
    layout->addWidget(answerFields(panel));
    binder().bind(model_.Frame2, panel);
    return panel;
}

QWidget* TesterWindowView::answerChoices(QWidget* parent) {
    auto* choices = new QWidget(parent);
    auto* layout = new QGridLayout(choices);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(6);
    for (int k = 1; k <= 5; ++k) {
        auto* option = new QRadioButton(choices);
        auto* text = wrapped(choices);
        text->setCursor(Qt::PointingHandCursor);
        text->installEventFilter(this);
        layout->addWidget(option, k - 1, 0, Qt::AlignTop);
        layout->addWidget(text, k - 1, 1);
        answerTexts_.emplace_back(text, option);
        forms::OptionButton& model = model_.Option(k);
        binder().bind(model, option);
        // The button takes no text of its own: long answers wrap beside it instead.
        binder().speak({{&model, nullptr, nullptr, "Ответ", "Answer"}});
        binder().follow(model, [&model, option, text] {
            option->setText(QString());
            // A screen reader reads the answer as the button's name (or, while there is
            // none, what the button is).
            option->setAccessibleName(model.caption().isEmpty() ? option->accessibleDescription()
                                                                : model.caption());
            text->setText(model.caption());
            text->setEnabled(model.enabled());
        });
    }
    layout->setColumnStretch(1, 1);
    binder().bind(model_.Frame7, choices);
    return choices;
}

QWidget* TesterWindowView::answerFields(QWidget* parent) {
    // The editor's answers: each text with its points beside it.
    auto* fields = new QWidget(parent);
    auto* layout = new QGridLayout(fields);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* pointsHeading = new QLabel(fields);
    layout->addWidget(pointsHeading, 0, 2);
    std::vector<QWidget*> pointCells;
    for (int k = 1; k <= 5; ++k) {
        auto* answer = new QLineEdit(fields);
        // The binder shows and hides the field itself; its cell follows the points panel.
        auto* cell = new QWidget(fields);
        auto* cellLayout = new QHBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        auto* point = new QLineEdit(cell);
        point->setMaximumWidth(80);
        cellLayout->addWidget(point);
        layout->addWidget(new QLabel(QString::number(k), fields), k, 0);
        layout->addWidget(answer, k, 1);
        layout->addWidget(cell, k, 2);
        binder().bind(model_.txtq(k), answer);
        binder().bind(model_.txtb(k), point);
        binder().speak({{&model_.txtq(k), kAnswers[k - 1].first, kAnswers[k - 1].second},
                        {&model_.txtb(k), kPoints[k - 1].first, kPoints[k - 1].second}});
        pointCells.push_back(cell);
    }
    layout->setColumnStretch(1, 1);
    // The points panel is a column of this grid: its caption heads the column, and it
    // shows and hides the fields together.
    binder().follow(model_.Frame5, [this, pointsHeading, pointCells] {
        pointsHeading->setText(model_.Frame5.caption());
        pointsHeading->setVisible(model_.Frame5.visible());
        for (QWidget* cell : pointCells)
            cell->setVisible(model_.Frame5.visible());
    });
    binder().follow(model_.Frame4, [this, fields] { fields->setVisible(model_.Frame4.visible()); });
    return fields;
}

QWidget* TesterWindowView::promptPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(panel);
    auto* number = new QLineEdit(panel);
    number->setMaximumWidth(90);
    auto* accept = button(panel, 70);
    auto* close = button(panel);
    layout->addWidget(number);
    layout->addWidget(accept);
    layout->addStretch(1);
    layout->addWidget(close);
    Binder& b = binder();
    b.bind(model_.Frame8, panel);
    b.bind(model_.Text11, number);
    b.pressOnEnter(number, model_.Text11, model_.Command14);
    b.bind(model_.Command14, accept);
    b.bind(model_.Command16, close);
    // The prompt comes up after a save, wherever the content is scrolled: it is brought
    // into view (its field takes the keyboard through the model's focus request).
    b.follow(model_.Frame8, [this, panel, shown = false]() mutable {
        if (model_.Frame8.visible() && !shown) {
            QTimer::singleShot(0, panel, [this, panel] { scroll_->ensureWidgetVisible(panel); });
        }
        shown = model_.Frame8.visible();
    });
    return panel;
}

QWidget* TesterWindowView::passwordPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(panel);
    auto* prompt = new QLabel(panel);
    QLineEdit* password = passwordField(panel, model_.Text13, model_.Command19);
    password->setMinimumWidth(160);
    auto* accept = button(panel, 70);
    auto* close = button(panel);
    layout->addWidget(prompt);
    layout->addWidget(password, 1);
    layout->addWidget(accept);
    layout->addWidget(close);
    Binder& b = binder();
    b.bind(model_.Frame9, panel);
    b.bind(model_.Label18, prompt);
    b.bind(model_.Command19, accept);
    b.bind(model_.Command20, close);
    return panel;
}

QWidget* TesterWindowView::editorPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QGridLayout(panel);
    struct Row {
        forms::Label& heading;
        forms::TextBox& conclusion;
        forms::Label& thresholdHeading;
        forms::TextBox& threshold;
    };
    const Row rows[] = {{model_.Label3, model_.Text5, model_.Label6, model_.Text8},
                        {model_.Label4, model_.Text7, model_.Label7, model_.Text9},
                        {model_.Label5, model_.Text6, model_.Label8, model_.Text10}};
    int line = 0;
    for (const Row& row : rows) {
        auto* heading = new QLabel(panel);
        heading->setFont(scaled(font(), 1.0, true));
        auto* thresholdHeading = new QLabel(panel);
        auto* threshold = new QLineEdit(panel);
        threshold->setMaximumWidth(80);
        auto* conclusion = new QPlainTextEdit(panel);
        conclusion->setFixedHeight(conclusion->fontMetrics().lineSpacing() * 2 + 14);
        conclusion->setTabChangesFocus(true);
        layout->addWidget(heading, line, 0);
        layout->addWidget(thresholdHeading, line, 1, Qt::AlignRight);
        layout->addWidget(threshold, line, 2);
        layout->addWidget(conclusion, line + 1, 0, 1, 3);
        binder().bind(row.heading, heading);
        binder().bind(row.thresholdHeading, thresholdHeading);
        binder().bind(row.threshold, threshold);
        binder().bind(row.conclusion, conclusion);
        binder().nameAfter(row.heading, conclusion);
        binder().nameAfter(row.thresholdHeading, threshold);
        line += 2;
    }
    layout->setColumnStretch(0, 1);
    binder().bind(model_.Frame4, panel);
    return panel;
}

QWidget* TesterWindowView::editorCommands() {
    // The editor's commands belong to its panel but stay in view below the content.
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* saveQuestion = button(bar, 150);
    auto* saveConclusions = button(bar, 150);
    auto* help = button(bar);
    auto* close = button(bar);
    layout->addWidget(saveQuestion);
    layout->addWidget(saveConclusions);
    layout->addStretch(1);
    layout->addWidget(help);
    layout->addWidget(close);
    Binder& b = binder();
    b.bind(model_.Frame4, bar);
    b.bind(model_.Command4, saveQuestion);
    b.bind(model_.Command9, saveConclusions);
    b.bind(model_.Command17, help);
    b.bind(model_.Command8, close);
    return bar;
}

QLayout* TesterWindowView::commands() {
    auto* layout = new QGridLayout;
    auto* choose = button(this, 140);
    auto* reset = button(this);
    auto* report = new QCheckBox(this);
    auto* openReport = button(this);
    auto* back = new QLabel(this);
    auto* editor = button(this, 140);
    auto* help = button(this);
    auto* exit = button(this);
    layout->addWidget(choose, 0, 0);
    layout->addWidget(reset, 0, 1);
    layout->addWidget(report, 0, 2);
    layout->addWidget(openReport, 0, 3);
    layout->addWidget(back, 1, 0, Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(editor, 1, 1);
    layout->addWidget(help, 1, 2);
    layout->addWidget(exit, 1, 3);
    layout->setColumnStretch(2, 1);
    Binder& b = binder();
    b.bind(model_.Command5, choose);
    b.bind(model_.Command3, reset);
    b.bind(model_.Check1, report);
    b.bind(model_.Command18, openReport);
    b.bind(model_.Label13, back);
    b.bind(model_.Command6, editor);
    b.bind(model_.Command10, help);
    b.bind(model_.Command2, exit);
    return layout;
}

QSize TesterWindowView::sizeHint() const {
    QSize size(pixels(model_.width()), pixels(model_.height()));
    if (model_.Frame4.visible() && layout() && scroll_->widget()) {
        // The editor's five answers and three conclusions are taller than the taking
        // window: it grows as far as the screen lets it rather than cut them off.
        const int content = scroll_->widget()->sizeHint().height();
        const int around = layout()->sizeHint().height() - scroll_->sizeHint().height();
        size.setHeight(std::max(size.height(), content + around));
    }
    if (const QScreen* screen = QApplication::primaryScreen()) {
        // The title bar takes its share of the screen too.
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        size = size.boundedTo(screen->availableGeometry().size() - QSize(0, title));
    }
    return size;
}

void TesterWindowView::followSize() {
    // The editor widens the window and closing it narrows it again; in between the user
    // may size it as they like.
    if (model_.width() == shownWidth_) return;
    shownWidth_ = model_.width();
    // Not smaller either: the editor's two columns need the room.
    setMinimumSize(sizeHint());
    resize(sizeHint());
}

bool TesterWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (const auto& [text, option] : answerTexts_) {
            if (watched == text && option->isEnabled() && option->isVisible()) {
                option->click();
                return true;
            }
        }
    }
    return View::eventFilter(watched, event);
}

} // namespace gui
