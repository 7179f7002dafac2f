#include "gui/start_window_view.h"

#include "gui/icon.h"
#include "shell/start_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace gui {

namespace {

QFont scaled(QFont font, double factor, bool bold) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

QPushButton* button(QWidget* parent, int minimumWidth) {
    auto* widget = new QPushButton(parent);
    widget->setMinimumWidth(minimumWidth);
    widget->setMinimumHeight(32);
    return widget;
}

// A small marker in front of a field; language-neutral on purpose.
QLabel* marker(const QString& text, QWidget* parent, bool mandatory = false) {
    auto* label = new QLabel(text, parent);
    label->setMinimumWidth(16);
    if (mandatory) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(0xc0, 0x1c, 0x1c));
        label->setPalette(palette);
        label->setFont(scaled(label->font(), 1.0, true));
    }
    return label;
}

} // namespace

StartWindowView::StartWindowView(App& app, Form1& model) : View(app, model), model_(model) {
    useReadableFont(10.5);
    speakTable();
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 12);
    root->setSpacing(0);
    root->addWidget(header());
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    root->addWidget(rule);
    root->addSpacing(12);

    // Body: the mode panel beside the name, ticket and password panels.
    auto* body = new QHBoxLayout;
    body->setContentsMargins(16, 0, 16, 0);
    body->setSpacing(14);
    root->addLayout(body, 1);
    root->addSpacing(12);
    body->addWidget(modePanel(), 0);
    auto* column = new QVBoxLayout;
    column->setSpacing(12);
    body->addLayout(column, 1);
    column->addWidget(namePanel());
    // Hidden until the student's name is in: built when first shown.
    column->addWidget(lazyPanel(model.Frame1, [this] { return ticketPanel(); }));
    column->addWidget(lazyPanel(model.Frame2, [this] { return settingsPanel(); }));
    column->addStretch(1);

    // Footer: help and exit.
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(16, 0, 16, 0);
    auto* help = button(this, 110);
    auto* exit = button(this, 110);
    footer->addWidget(help);
    footer->addStretch(1);
    footer->addWidget(exit);
    root->addLayout(footer);
    binder().bind(model.Command10, help);
    binder().bind(model.Command2, exit);

    // The window is as large as its visible panels, each time it comes back.
    root->setSizeConstraint(QLayout::SetFixedSize);
    // Enter takes each step: the name, opening the drawn ticket, drawing one.
    setDefaultButtons({&model.Command14, &model.Command3, &model.Command1});
    binder().bind(model.Timer1);
    // Last: binding the window may show it, and it should appear with its texts in place.
    binder().bindWindow(model, this);
}

void StartWindowView::speakTable() {
    // The fields show only a marker; a tool tip in the window's language describes each.
    const Form1& m = model_;
    binder().speak({
        {&m.Text9, "Ф.И.О", "Surname and name"},
        {&m.Text10, "Данные 1", "Additional data 1"},
        {&m.Text11, "Данные 2", "Additional data 2"},
        {&m.Text13, "Данные 3", "Additional data 3"},
        {&m.Text1, "Номер билета", "Ticket number"},
        {&m.Label13, "Русский язык", "Russian"},
        {&m.Label7, "Английский язык", "English"},
    });
}

QWidget* StartWindowView::header() {
    // Emblem, product and exam title, the language links.
    auto* header = new QFrame(this);
    {
        // A palette brush rather than a style sheet, so the bound labels inside keep
        // the fonts and colours the binder gives them.
        QLinearGradient gradient(0, 0, 1, 0);
        gradient.setCoordinateMode(QGradient::ObjectMode);
        gradient.setColorAt(0, QColor(0xdc, 0xe8, 0xf7));
        gradient.setColorAt(1, QColor(0xf4, 0xf8, 0xfd));
        QPalette palette = header->palette();
        palette.setBrush(QPalette::Window, gradient);
        header->setPalette(palette);
        header->setAutoFillBackground(true);
    }
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(12);
    auto* picture = new QLabel(header);
    picture->setPixmap(emblem(48));
    layout->addWidget(picture, 0, Qt::AlignVCenter);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto* product = new QLabel(model_.caption(), header);
    titles->addWidget(product);
    auto* examTitle = new QLabel(header);
    examTitle->setFont(scaled(font(), 1.6, true));
    examTitle->setWordWrap(true);
    examTitle->setMinimumWidth(360);
    titles->addWidget(examTitle);
    layout->addLayout(titles, 1);

    auto* decorationLeft = new QLabel(header);
    auto* decorationRight = new QLabel(header);
    layout->addWidget(decorationLeft);
    layout->addWidget(decorationRight);

    auto* languages = new QHBoxLayout;
    languages->setSpacing(8);
    auto* russian = new QLabel(header);
    auto* english = new QLabel(header);
    languages->addWidget(russian);
    languages->addWidget(new QLabel(QStringLiteral("|"), header));
    languages->addWidget(english);
    auto* languageColumn = new QVBoxLayout;
    languageColumn->addLayout(languages);
    languageColumn->addStretch(1);
    layout->addLayout(languageColumn);

    Binder& b = binder();
    b.bind(model_.Label8, examTitle);
    b.bind(model_.Image1, decorationLeft);
    b.bind(model_.Image2, decorationRight);
    b.bind(model_.Label13, russian);
    b.bind(model_.Label7, english);
    return header;
}

QWidget* StartWindowView::modePanel() {
    auto* panel = new QGroupBox(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setSpacing(8);
    auto* examMode = new QRadioButton(panel);
    auto* testMode = new QRadioButton(panel);
    auto* noMode = new QRadioButton(panel);
    auto* exit = button(panel, 110);
    layout->addWidget(examMode);
    layout->addWidget(testMode);
    layout->addWidget(noMode);
    layout->addStretch(1);
    layout->addWidget(exit, 0, Qt::AlignLeft);
    panel->setMinimumWidth(190);

    Binder& b = binder();
    b.bind(model_.Frame3, panel);
    b.bind(model_.Option1, examMode);
    b.bind(model_.Option2, testMode);
    b.bind(model_.Option3, noMode);
    b.bind(model_.Command4, exit);
    return panel;
}

QWidget* StartWindowView::namePanel() {
    auto* panel = new QGroupBox(this);
    auto* layout = new QGridLayout(panel);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(8);
    auto* name = new QLineEdit(panel);
    name->setMinimumWidth(320);
    layout->addWidget(marker(QStringLiteral("*"), panel, true), 0, 0);
    layout->addWidget(name, 0, 1, 1, 2);
    binder().bind(model_.Text9, name);
    int row = 1;
    for (forms::TextBox* extra : {&model_.Text10, &model_.Text11, &model_.Text13}) {
        auto* field = new QLineEdit(panel);
        layout->addWidget(marker(QString::number(row), panel), row, 0);
        layout->addWidget(field, row, 1, 1, 2);
        binder().bind(*extra, field);
        ++row;
    }
    auto* noteRow = new QHBoxLayout;
    noteRow->setSpacing(4);
    noteRow->addWidget(marker(QStringLiteral("*"), panel, true));
    auto* mandatoryNote = new QLabel(panel);
    noteRow->addWidget(mandatoryNote);
    noteRow->addStretch(1);
    layout->addLayout(noteRow, row, 1);
    auto* confirm = button(panel, 110);
    confirm->setDefault(true);
    layout->addWidget(confirm, row, 2, Qt::AlignRight);
    auto* back = new QLabel(panel);
    layout->addWidget(back, row + 1, 1, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);

    Binder& b = binder();
    b.bind(model_.Frame9, panel);
    b.bind(model_.Label31, mandatoryNote);
    b.bind(model_.Command14, confirm);
    b.bind(model_.Label6, back);
    return panel;
}

QWidget* StartWindowView::ticketPanel() {
    auto* panel = new QGroupBox(this);
    auto* layout = new QGridLayout(panel);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(10);
    auto* draw = button(panel, 180);
    draw->setMinimumHeight(40);
    draw->setFont(scaled(font(), 1.1, true));
    auto* chosen = new QLabel(panel);
    chosen->setFont(scaled(font(), 2.0, true));
    chosen->setMinimumWidth(120);
    chosen->setAlignment(Qt::AlignCenter);
    chosen->setFrameShape(QFrame::StyledPanel);
    chosen->setMinimumHeight(52);
    layout->addWidget(draw, 0, 0);
    layout->addWidget(chosen, 0, 1, 2, 1);
    auto* reset = new QLabel(panel);
    layout->addWidget(reset, 1, 0, Qt::AlignLeft | Qt::AlignTop);

    auto* manualRow = new QHBoxLayout;
    manualRow->setSpacing(10);
    auto* manual = new QCheckBox(panel);
    auto* number = new QLineEdit(panel);
    number->setMaximumWidth(110);
    // "Вводятся только цифры": only digits can be typed (the model's rules stay as they are).
    number->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number));
    number->setFont(scaled(font(), 1.1, true));
    manualRow->addWidget(manual, 1);
    manualRow->addWidget(number);
    layout->addLayout(manualRow, 2, 0, 1, 2);

    auto* open = button(panel, 180);
    open->setMinimumHeight(40);
    open->setFont(scaled(font(), 1.1, true));
    layout->addWidget(open, 3, 0, 1, 2, Qt::AlignRight);
    auto* back = new QLabel(panel);
    layout->addWidget(back, 4, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(0, 1);

    Binder& b = binder();
    b.bind(model_.Frame1, panel);
    b.bind(model_.Command1, draw);
    b.bind(model_.Check1, manual);
    b.bind(model_.Text1, number);
    b.bind(model_.Label1, chosen);
    b.bind(model_.Label2, reset);
    b.bind(model_.Command3, open);
    b.bind(model_.Label9, back);
    return panel;
}

QWidget* StartWindowView::settingsPanel() {
    auto* panel = new QGroupBox(this);
    auto* layout = new QHBoxLayout(panel);
    layout->setSpacing(10);
    auto* prompt = new QLabel(panel);
    // Made in the order Tab follows: the password, then its button.
    QLineEdit* password = passwordField(panel, model_.Text2, model_.Command15);
    password->setMinimumWidth(140);
    auto* settings = button(panel, 120);
    layout->addWidget(prompt);
    layout->addWidget(password, 1);
    layout->addWidget(settings);

    Binder& b = binder();
    b.bind(model_.Frame2, panel);
    b.bind(model_.Label3, prompt);
    b.bind(model_.Command15, settings);
    b.nameAfter(model_.Label3, password);
    return panel;
}

} // namespace gui
