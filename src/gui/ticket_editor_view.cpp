#include "gui/ticket_editor_view.h"

#include "exam_content/ticket_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <tuple>

namespace gui {

namespace {

// The folder panel's picture: a ticket sheet with written lines and a pencil, drawn so it
// needs no image file.
QPixmap editorPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF sheet(size * 0.14, size * 0.08, size * 0.58, size * 0.80);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), size * 0.035));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(sheet, size * 0.05, size * 0.05);
    painter.setPen(QPen(QColor(0x7a, 0x9c, 0xc6), size * 0.03, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 5; ++line) {
        const qreal y = size * (0.24 + 0.11 * line);
        painter.drawLine(QPointF(size * 0.24, y), QPointF(size * (line == 4 ? 0.44 : 0.62), y));
    }
    painter.translate(size * 0.70, size * 0.62);
    painter.rotate(40);
    painter.setPen(QPen(QColor(0x5a, 0x3d, 0x12), size * 0.02));
    painter.setBrush(QColor(0xf2, 0xb1, 0x34));
    painter.drawRect(QRectF(-size * 0.05, -size * 0.40, size * 0.10, size * 0.40));
    QPolygonF tip;
    tip << QPointF(-size * 0.05, 0) << QPointF(size * 0.05, 0) << QPointF(0, size * 0.12);
    painter.setBrush(QColor(0xf5, 0xde, 0xb3));
    painter.drawPolygon(tip);
    return pixmap;
}

// Bold by style sheet: the binder sets the font's weight from the model, which keeps
// these labels regular.
QLabel* boldLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return label;
}

// A titled frame around one field and its sample, kept tight so the three fit on a
// small screen.
QGroupBox* fieldBox(QWidget* parent, QWidget* field, QLayout* sample) {
    auto* box = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);
    field->setParent(box);
    layout->addWidget(field, 1);
    layout->addLayout(sample);
    return box;
}

// The filled-in samples beside the fields: what to write, not something to edit.
QLabel* sampleLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setStyleSheet(QStringLiteral("color: #555555; font-style: italic;"));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* button(Binder& binder, forms::CommandButton& model, QWidget* parent) {
    auto* widget = new QPushButton(parent);
    widget->setMinimumHeight(30);
    binder.bind(model, widget);
    return widget;
}

} // namespace

TicketEditorView::TicketEditorView(App& app, Form7& model) : View(app, model), model_(model) {
    auto* root = new QVBoxLayout(this);
    // The window takes the size of the panel on show.
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(folderPanel());
    root->addWidget(editingPanel());
    binder().bindWindow(model, this);
}

void TicketEditorView::focusWhenShown(forms::Frame& frame, QWidget* first) {
    // Focus follows the flow: a panel the model brings up starts at its first field, and
    // the window takes the keyboard back from the button that hid itself.
    auto shown = std::make_shared<bool>(frame.visible());
    binder().follow(frame, [this, &frame, first, shown] {
        if (frame.visible() && !*shown && isVisible()) {
            activateWindow();
            first->setFocus(Qt::OtherFocusReason);
        }
        *shown = frame.visible();
    });
}

// Folder panel.

QWidget* TicketEditorView::folderPanel() {
    auto* panel = new QGroupBox(this);
    auto* layout = new QVBoxLayout(panel);

    auto* picture = new QWidget(panel);
    auto* pictureLayout = new QVBoxLayout(picture);
    auto* drawing = new QLabel(picture);
    drawing->setPixmap(editorPicture(120));
    drawing->setAlignment(Qt::AlignCenter);
    auto* product = boldLabel(picture);
    product->setText(model_.caption());
    product->setAlignment(Qt::AlignCenter);
    pictureLayout->addWidget(drawing);
    pictureLayout->addWidget(product);
    binder().bind(model_.Frame9, picture);
    layout->addWidget(picture);

    auto* buttons = new QWidget(panel);
    auto* buttonsLayout = new QVBoxLayout(buttons);
    buttonsLayout->setContentsMargins(0, 0, 0, 0);
    QPushButton* create = nullptr;
    for (forms::CommandButton* command : {&model_.Command9, &model_.Command8, &model_.Command15,
                                          &model_.Command20, &model_.Command12}) {
        QPushButton* widget = button(binder(), *command, buttons);
        if (!create) create = widget;
        buttonsLayout->addWidget(widget);
    }
    binder().bind(model_.Frame10, buttons);
    focusWhenShown(model_.Frame10, create);
    layout->addWidget(buttons);

    layout->addWidget(createPanel(panel));
    layout->addWidget(choosePanel(panel));
    layout->addWidget(importPanel(panel));
    panel->setMinimumWidth(320);
    binder().bind(model_.Frame6, panel);
    return panel;
}

QWidget* TicketEditorView::createPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(panel);
    auto* prompt = new QLabel(panel);
    auto* name = new QLineEdit(panel);
    name->setMaxLength(255);
    binder().bind(model_.Label23, prompt);
    binder().bind(model_.Text9, name);
    layout->addWidget(prompt);
    layout->addWidget(name);
    auto* row = new QHBoxLayout;
    auto* create = button(binder(), model_.Command5, panel);
    row->addWidget(create);
    row->addWidget(button(binder(), model_.Command13, panel));
    layout->addLayout(row);
    // Enter in the name field creates the folder, as the OK button does.
    connect(name, &QLineEdit::returnPressed, create, &QPushButton::click);
    binder().bind(model_.Frame5, panel);
    focusWhenShown(model_.Frame5, name);
    return panel;
}

QWidget* TicketEditorView::choosePanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(panel);
    auto* folders = new QListWidget(panel);
    folders->setMinimumSize(300, 220);
    binder().bind(model_.Dir1, folders);
    binder().speak({{&model_.Dir1, "Папки", "Folders"}});
    layout->addWidget(folders);
    auto* row = new QHBoxLayout;
    for (forms::CommandButton* command : {&model_.Command6, &model_.Command16}) {
        QPushButton* widget = button(binder(), *command, panel);
        // "OK" and "Проверить" take the folder chosen in the list, opened or not, as a
        // file dialog does.
        connect(widget, &QPushButton::pressed, this, [this, folders] {
            const QListWidgetItem* chosen = folders->currentItem();
            const QString path = chosen ? chosen->data(Qt::UserRole).toString() : QString();
            if (!path.isEmpty() && path != model_.Dir1.path())
                binder().userEvent([this, path] { model_.Dir1.setPath(path); });
        });
        row->addWidget(widget);
    }
    row->addWidget(button(binder(), model_.Command14, panel));
    layout->addLayout(row);
    binder().bind(model_.Frame7, panel);
    focusWhenShown(model_.Frame7, folders);
    return panel;
}

QWidget* TicketEditorView::importPanel(QWidget* parent) {
    Binder& b = binder();
    auto* panel = new QGroupBox(parent);
    auto* layout = new QGridLayout(panel);
    auto* fileLabel = new QLabel(panel);
    auto* file = new QLineEdit(panel);
    file->setMinimumWidth(220);
    b.bind(model_.Label24, fileLabel);
    b.bind(model_.Text13, file);
    b.nameAfter(model_.Label24, file);
    layout->addWidget(fileLabel, 0, 0, 1, 2);
    layout->addWidget(file, 1, 0);
    layout->addWidget(button(b, model_.Command17, panel), 1, 1);

    auto* format = new QGroupBox(panel);
    auto* formatRow = new QHBoxLayout(format);
    for (forms::OptionButton* option : {&model_.Option1, &model_.Option2, &model_.Option3}) {
        auto* radio = new QRadioButton(format);
        b.bind(*option, radio);
        formatRow->addWidget(radio);
    }
    formatRow->addStretch(1);
    b.bind(model_.Frame12, format);
    layout->addWidget(format, 2, 0, 1, 2);

    // Name, questions per ticket and the shuffle's number, each a label over its field.
    int row = 3;
    for (const auto& [label, field, width] : {std::tuple{&model_.Label25, &model_.Text14, 0},
                                              {&model_.Label26, &model_.Text15, 60},
                                              {&model_.Label27, &model_.Text16, 100}}) {
        auto* caption = new QLabel(panel);
        auto* edit = new QLineEdit(panel);
        if (width > 0) edit->setFixedWidth(width);
        b.bind(*label, caption);
        b.bind(*field, edit);
        b.nameAfter(*label, edit);
        layout->addWidget(caption, row++, 0, 1, 2);
        layout->addWidget(edit, row++, 0, 1, 2, Qt::AlignLeft);
        if (width == 0) edit->setMinimumWidth(220);
    }
    auto* commands = new QHBoxLayout;
    commands->addWidget(button(b, model_.Command18, panel));
    commands->addWidget(button(b, model_.Command19, panel));
    layout->addLayout(commands, row, 0, 1, 2);
    b.bind(model_.Frame11, panel);
    focusWhenShown(model_.Frame11, file);
    return panel;
}

// Editing panel.

QWidget* TicketEditorView::editingPanel() {
    auto* panel = new QGroupBox(this);
    auto* layout = new QVBoxLayout(panel);
    auto* header = boldLabel(panel);
    header->setWordWrap(true);
    header->setMaximumWidth(820);
    binder().bind(model_.Label22, header);
    layout->addWidget(header);
    layout->addLayout(numberRows(panel));

    // The texts and the picture scroll; the numbers above and the commands below stay in
    // sight on a small screen.
    auto* scroll = new QScrollArea(panel);
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes from field to field, not to the frame
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Every column fits the width; only the height may need scrolling.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(scroll);
    auto* contentLayout = new QHBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(textFields(content), 1);
    contentLayout->addWidget(picturePanel(content));
    scroll->setWidget(content);
    scroll->setFixedWidth(840);
    scroll->setMaximumHeight(290);
    layout->addWidget(scroll);

    layout->addLayout(commandRow(panel));
    // Notes that need no answer ("Билет № 7 не создан") stay here instead of a message.
    auto* status = new QLabel(panel);
    status->setMinimumHeight(status->fontMetrics().height());
    binder().bind(model_.Label28, status);
    layout->addWidget(status);
    binder().bind(model_.Frame1, panel);
    focusWhenShown(model_.Frame1, ticket_);
    return panel;
}

QLayout* TicketEditorView::numberRows(QWidget* parent) {
    auto* row = new QHBoxLayout;
    auto* ticketLabel = new QLabel(parent);
    auto* ticket = new QLineEdit(parent);
    ticket_ = ticket;
    ticket->setFixedWidth(ticket->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    auto* ticketStatus = boldLabel(parent);
    auto* questionLabel = new QLabel(parent);
    auto* question = new QComboBox(parent);
    question->setMaxVisibleItems(20);
    question->setFixedWidth(ticket->width() + 24);
    auto* questionStatus = boldLabel(parent);
    binder().bind(model_.Label6, ticketLabel);
    binder().bind(model_.Text6, ticket);
    binder().bind(model_.Label9, ticketStatus);
    binder().bind(model_.Label7, questionLabel);
    binder().bind(model_.Combo1, question);
    // Only the list's numbers can be typed, so Enter never adds an entry of its own.
    question->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[1-9]|1[0-9]|20")), question));
    binder().bind(model_.Label10, questionStatus);
    binder().nameAfter(model_.Label6, ticket);
    binder().nameAfter(model_.Label7, question);
    // Room for the longer status line of each, so the row does not shift as they change.
    const int statusWidth = ticketStatus->fontMetrics().horizontalAdvance(
        QStringLiteral("Ticket № 999 already created"));
    ticketStatus->setMinimumWidth(statusWidth);
    questionStatus->setMinimumWidth(statusWidth);
    row->addWidget(ticketLabel);
    row->addWidget(ticket);
    row->addWidget(ticketStatus);
    row->addSpacing(12);
    row->addWidget(questionLabel);
    row->addWidget(question);
    row->addWidget(questionStatus);
    row->addStretch(1);
    return row;
}

QWidget* TicketEditorView::textFields(QWidget* parent) {
    auto* fields = new QWidget(parent);
    auto* layout = new QVBoxLayout(fields);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* question = new QPlainTextEdit(fields);
    auto* variants = new QPlainTextEdit(fields);
    question->setFixedHeight(66);
    variants->setFixedHeight(84);
    for (QPlainTextEdit* edit : {question, variants}) {
        edit->setTabChangesFocus(true);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setMinimumWidth(300);
    }
    auto* answer = new QLineEdit(fields);
    answer_ = answer;

    auto* sampleHeading = boldLabel(fields);
    auto* sampleQuestion = sampleLabel(fields);
    auto* questionSample = new QVBoxLayout;
    questionSample->addWidget(sampleHeading);
    questionSample->addWidget(sampleQuestion);
    questionSample->addStretch(1);
    auto* sampleVariants = sampleLabel(fields);
    auto* variantsSample = new QVBoxLayout;
    variantsSample->addWidget(sampleVariants);
    auto* sampleAnswer = sampleLabel(fields);
    auto* answerSample = new QVBoxLayout;
    answerSample->addWidget(sampleAnswer);
    // Unwrapped, wide enough for the sample question: a wrapped label would make the
    // scrolled area trade height for width.
    const int sampleWidth =
        sampleQuestion->fontMetrics().horizontalAdvance(model_.Label1.caption()) + 16;
    for (QLabel* sample : {sampleHeading, sampleQuestion, sampleVariants, sampleAnswer})
        sample->setFixedWidth(std::max(160, sampleWidth));

    auto* questionBox = fieldBox(fields, question, questionSample);
    auto* variantsBox = fieldBox(fields, variants, variantsSample);
    auto* answerBox = fieldBox(fields, answer, answerSample);
    binder().bind(model_.Text1, question);
    binder().bind(model_.Text2, variants);
    binder().bind(model_.Text3, answer);
    binder().bind(model_.Frame2, questionBox);
    binder().bind(model_.Frame3, variantsBox);
    binder().bind(model_.Frame4, answerBox);
    binder().bind(model_.Label4, sampleHeading);
    binder().bind(model_.Label1, sampleQuestion);
    binder().bind(model_.Label2, sampleVariants);
    binder().bind(model_.Label3, sampleAnswer);
    layout->addWidget(questionBox);
    layout->addWidget(variantsBox);
    layout->addWidget(answerBox);
    layout->addStretch(1);
    return fields;
}

QWidget* TicketEditorView::picturePanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    for (forms::Label* link : {&model_.Label5, &model_.Label14, &model_.Label18, &model_.Label19}) {
        auto* label = new QLabel(panel);
        binder().bind(*link, label);
        layout->addWidget(label);
    }
    auto* sizeHeading = boldLabel(panel);
    binder().bind(model_.Label11, sizeHeading);
    layout->addWidget(sizeHeading);
    auto* sizes = new QHBoxLayout;
    for (forms::Label* line : {&model_.Label12, &model_.Label13}) {
        auto* label = new QLabel(panel);
        binder().bind(*line, label);
        sizes->addWidget(label);
    }
    sizes->addStretch(1);
    layout->addLayout(sizes);

    // The picture at its real size; a large one scrolls in its frame.
    auto* frame = new QScrollArea(panel);
    frame->setFocusPolicy(Qt::NoFocus);
    frame->setFixedSize(240, 140);
    frame->setAlignment(Qt::AlignCenter);
    auto* picture = new QLabel(frame);
    binder().bind(model_.Image1, picture);
    frame->setWidget(picture);
    layout->addWidget(frame);
    layout->addStretch(1);
    return panel;
}

QLayout* TicketEditorView::commandRow(QWidget* parent) {
    auto* row = new QHBoxLayout;
    auto* save = button(binder(), model_.Command2, parent);
    // Enter in the last field saves the question.
    connect(answer_, &QLineEdit::returnPressed, save, &QPushButton::click);
    row->addWidget(save);
    QPushButton* newTicket = button(binder(), model_.Command1, parent);
    // The number offered for the new ticket is ready to be kept or typed over.
    connect(newTicket, &QPushButton::clicked, this, [this] {
        ticket_->setFocus(Qt::OtherFocusReason);
        ticket_->selectAll();
    });
    row->addWidget(newTicket);
    row->addStretch(1);
    row->addWidget(button(binder(), model_.Command10, parent));
    row->addWidget(button(binder(), model_.Command7, parent));
    row->addWidget(button(binder(), model_.Command4, parent));
    return row;
}

} // namespace gui
