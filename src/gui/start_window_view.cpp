#include "gui/start_window_view.h"

#include "shell/start_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {

namespace {

// The emblem of the header: a ticket with a tick, drawn so it needs no image file.
QPixmap emblem(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card(size * 0.08, size * 0.18, size * 0.84, size * 0.64);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), size * 0.05));
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    painter.drawRoundedRect(card, size * 0.08, size * 0.08);
    QPainterPath tick;
    tick.moveTo(size * 0.30, size * 0.50);
    tick.lineTo(size * 0.45, size * 0.64);
    tick.lineTo(size * 0.72, size * 0.34);
    painter.setPen(
        QPen(QColor(0x2e, 0x8b, 0x3a), size * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    return pixmap;
}

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

StartWindowView::StartWindowView(App& app, Form1& model) : View(app, model) {
    useReadableFont(10.5);
    const QFont base = font();

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 12);
    root->setSpacing(0);

    // Header: emblem, product and exam title, the language links.
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
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(16, 10, 16, 10);
    headerLayout->setSpacing(12);
    auto* picture = new QLabel(header);
    picture->setPixmap(emblem(48));
    headerLayout->addWidget(picture, 0, Qt::AlignVCenter);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto* product = new QLabel(model.caption(), header);
    product->setFont(scaled(base, 0.95, false));
    titles->addWidget(product);
    auto* examTitle = new QLabel(header);
    examTitle->setFont(scaled(base, 1.6, true));
    examTitle->setWordWrap(true);
    examTitle->setMinimumWidth(360);
    titles->addWidget(examTitle);
    headerLayout->addLayout(titles, 1);

    auto* decorationLeft = new QLabel(header);
    auto* decorationRight = new QLabel(header);
    headerLayout->addWidget(decorationLeft);
    headerLayout->addWidget(decorationRight);

    auto* languages = new QHBoxLayout;
    languages->setSpacing(8);
    auto* russian = new QLabel(header);
    auto* slash = new QLabel(QStringLiteral("|"), header);
    auto* english = new QLabel(header);
    languages->addWidget(russian);
    languages->addWidget(slash);
    languages->addWidget(english);
    auto* languageColumn = new QVBoxLayout;
    languageColumn->addLayout(languages);
    languageColumn->addStretch(1);
    headerLayout->addLayout(languageColumn);
    root->addWidget(header);
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

    auto* modePanel = new QGroupBox(this);
    auto* modeLayout = new QVBoxLayout(modePanel);
    modeLayout->setSpacing(8);
    auto* examMode = new QRadioButton(modePanel);
    auto* testMode = new QRadioButton(modePanel);
    auto* noMode = new QRadioButton(modePanel);
    auto* modeExit = button(modePanel, 110);
    modeLayout->addWidget(examMode);
    modeLayout->addWidget(testMode);
    modeLayout->addWidget(noMode);
    modeLayout->addStretch(1);
    modeLayout->addWidget(modeExit, 0, Qt::AlignLeft);
    modePanel->setMinimumWidth(190);
    body->addWidget(modePanel, 0);

    auto* column = new QVBoxLayout;
    column->setSpacing(12);
    body->addLayout(column, 1);

    // Name panel.
    auto* namePanel = new QGroupBox(this);
    auto* nameLayout = new QGridLayout(namePanel);
    nameLayout->setHorizontalSpacing(8);
    nameLayout->setVerticalSpacing(8);
    auto* name = new QLineEdit(namePanel);
    auto* data1 = new QLineEdit(namePanel);
    auto* data2 = new QLineEdit(namePanel);
    auto* data3 = new QLineEdit(namePanel);
    name->setMinimumWidth(320);
    name->setFont(scaled(base, 1.15, false));
    nameLayout->addWidget(marker(QStringLiteral("*"), namePanel, true), 0, 0);
    nameLayout->addWidget(name, 0, 1, 1, 2);
    int row = 1;
    for (QLineEdit* field : {data1, data2, data3}) {
        nameLayout->addWidget(marker(QString::number(row), namePanel), row, 0);
        nameLayout->addWidget(field, row, 1, 1, 2);
        ++row;
    }
    auto* noteRow = new QHBoxLayout;
    noteRow->setSpacing(4);
    noteRow->addWidget(marker(QStringLiteral("*"), namePanel, true));
    auto* mandatoryNote = new QLabel(namePanel);
    mandatoryNote->setFont(scaled(base, 0.9, false));
    noteRow->addWidget(mandatoryNote);
    noteRow->addStretch(1);
    nameLayout->addLayout(noteRow, row, 1);
    auto* confirm = button(namePanel, 110);
    confirm->setDefault(true);
    nameLayout->addWidget(confirm, row, 2, Qt::AlignRight);
    auto* nameBack = new QLabel(namePanel);
    nameLayout->addWidget(nameBack, row + 1, 1, 1, 2, Qt::AlignLeft);
    nameLayout->setColumnStretch(1, 1);
    column->addWidget(namePanel);

    // Ticket panel.
    auto* ticketPanel = new QGroupBox(this);
    auto* ticketLayout = new QGridLayout(ticketPanel);
    ticketLayout->setHorizontalSpacing(12);
    ticketLayout->setVerticalSpacing(10);
    auto* draw = button(ticketPanel, 180);
    draw->setMinimumHeight(40);
    draw->setFont(scaled(base, 1.1, true));
    auto* chosen = new QLabel(ticketPanel);
    chosen->setFont(scaled(base, 2.0, true));
    chosen->setMinimumWidth(120);
    chosen->setAlignment(Qt::AlignCenter);
    chosen->setFrameShape(QFrame::StyledPanel);
    chosen->setMinimumHeight(52);
    ticketLayout->addWidget(draw, 0, 0);
    ticketLayout->addWidget(chosen, 0, 1, 2, 1);
    auto* reset = new QLabel(ticketPanel);
    ticketLayout->addWidget(reset, 1, 0, Qt::AlignLeft | Qt::AlignTop);

    auto* manualRow = new QHBoxLayout;
    manualRow->setSpacing(10);
    auto* manual = new QCheckBox(ticketPanel);
    auto* number = new QLineEdit(ticketPanel);
    number->setMaximumWidth(110);
    number->setFont(scaled(base, 1.15, true));
    manualRow->addWidget(manual, 1);
    manualRow->addWidget(number);
    ticketLayout->addLayout(manualRow, 2, 0, 1, 2);

    auto* open = button(ticketPanel, 180);
    open->setMinimumHeight(40);
    open->setFont(scaled(base, 1.1, true));
    ticketLayout->addWidget(open, 3, 0, 1, 2, Qt::AlignRight);
    auto* ticketBack = new QLabel(ticketPanel);
    ticketLayout->addWidget(ticketBack, 4, 0, 1, 2, Qt::AlignLeft);
    ticketLayout->setColumnStretch(0, 1);
    column->addWidget(ticketPanel);

    // Settings access.
    auto* settingsPanel = new QGroupBox(this);
    auto* settingsLayout = new QHBoxLayout(settingsPanel);
    settingsLayout->setSpacing(10);
    auto* prompt = new QLabel(settingsPanel);
    auto* password = new QLineEdit(settingsPanel);
    password->setEchoMode(QLineEdit::Password);
    password->setMinimumWidth(140);
    auto* settings = button(settingsPanel, 120);
    settingsLayout->addWidget(prompt);
    settingsLayout->addWidget(password, 1);
    settingsLayout->addWidget(settings);
    column->addWidget(settingsPanel);
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

    setMinimumWidth(720);

    Binder& b = binder();
    b.bind(model.Label8, examTitle);
    b.bind(model.Image1, decorationLeft);
    b.bind(model.Image2, decorationRight);
    b.bind(model.Label13, russian);
    b.bind(model.Label7, english);

    b.bind(model.Frame3, modePanel);
    b.bind(model.Option1, examMode);
    b.bind(model.Option2, testMode);
    b.bind(model.Option3, noMode);
    b.bind(model.Command4, modeExit);

    b.bind(model.Frame9, namePanel);
    b.bind(model.Text9, name);
    b.bind(model.Text10, data1);
    b.bind(model.Text11, data2);
    b.bind(model.Text13, data3);
    b.bind(model.Label31, mandatoryNote);
    b.bind(model.Command14, confirm);
    b.bind(model.Label6, nameBack);

    b.bind(model.Frame1, ticketPanel);
    b.bind(model.Command1, draw);
    b.bind(model.Check1, manual);
    b.bind(model.Text1, number);
    b.bind(model.Label1, chosen);
    b.bind(model.Label2, reset);
    b.bind(model.Command3, open);
    b.bind(model.Label9, ticketBack);

    b.bind(model.Frame2, settingsPanel);
    b.bind(model.Label3, prompt);
    b.bind(model.Text2, password);
    b.bind(model.Command15, settings);

    b.bind(model.Command10, help);
    b.bind(model.Command2, exit);
    b.bind(model.Timer1);
    // Last: binding the window may show it, and it should appear with its texts in place.
    b.bindWindow(model, this);
}

} // namespace gui
