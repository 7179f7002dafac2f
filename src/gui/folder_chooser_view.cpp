#include "gui/folder_chooser_view.h"

#include "exam_content/folder_chooser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

namespace {

// A command button that Enter presses as well as Space, once it has the focus.
QPushButton* button(QWidget* parent, int minimumWidth) {
    auto* widget = new QPushButton(parent);
    widget->setMinimumWidth(minimumWidth);
    widget->setMinimumHeight(30);
    widget->setAutoDefault(true);
    return widget;
}

QLineEdit* shownText(QWidget* parent, int width = 0) {
    auto* edit = new QLineEdit(parent);
    if (width > 0) edit->setFixedWidth(width);
    return edit;
}

} // namespace

FolderChooserView::FolderChooserView(App& app, Form9& model) : View(app, model), model_(model) {
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* frame = new QGroupBox(this);
    binder().bind(model.Frame11, frame);
    outer->addWidget(frame);
    auto* column = new QVBoxLayout(frame);
    auto* panes = new QHBoxLayout;
    panes->setSpacing(12);
    column->addLayout(panes);
    // The browser takes the width the commands below leave it.
    panes->addWidget(browser(frame), 1, Qt::AlignTop);
    panes->addWidget(countQuestion(frame), 0, Qt::AlignTop);

    auto* commands = new QHBoxLayout;
    auto* back = new QLabel(frame);
    binder().bind(model.Label8, back);
    commands->addWidget(back);
    commands->addStretch(1);
    auto* accept = button(frame, 110);
    auto* close = button(frame, 110);
    binder().bind(model.Command1, accept);
    binder().bind(model.Command2, close);
    commands->addWidget(accept);
    commands->addWidget(close);
    column->addLayout(commands);

    // The way through with the keyboard: drive, folders, path, then the commands, then
    // the question when it is asked.
    auto* drives = findChild<QComboBox*>();
    auto* folders = findChild<QListWidget*>();
    setTabOrder(drives, folders);
    setTabOrder(folders, accept);
    setTabOrder(accept, close);
    folders->setFocus();

    binder().bindWindow(model, this);
}

QWidget* FolderChooserView::browser(QWidget* parent) {
    auto* pane = new QWidget(parent);
    pane->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* drives = new QComboBox(pane);
    binder().bind(model_.Drive1, drives);
    layout->addWidget(drives);

    auto* folders = new QListWidget(pane);
    folders->setMinimumHeight(230);
    binder().bind(model_.Dir1, folders);
    layout->addWidget(folders);

    QLineEdit* path = shownText(pane);
    path->setFocusPolicy(Qt::ClickFocus);
    binder().bind(model_.Text1, path);
    layout->addWidget(path);

    // The status line reads as a line of text, in the model's warning colour.
    QLineEdit* status = shownText(pane);
    status->setFrame(false);
    status->setFocusPolicy(Qt::NoFocus);
    QFont bold = status->font();
    bold.setBold(true);
    status->setFont(bold);
    // Its room is kept while it is hidden, so the window does not change size under the
    // mouse as the check comes and goes.
    QSizePolicy keep = status->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    status->setSizePolicy(keep);
    binder().bind(model_.Text4, status);
    layout->addWidget(status);
    binder().speak({{&model_.Drive1, nullptr, nullptr, "Диск", "Drive"},
                    {&model_.Dir1, "Папки", "Folders"},
                    {&model_.Text1, "Выбранная папка", "Chosen folder"}});
    return pane;
}

QWidget* FolderChooserView::countQuestion(QWidget* parent) {
    Binder& b = binder();
    auto* panel = new QGroupBox(parent);
    panel->setMaximumWidth(420);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(255, 244, 214));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel);

    auto* question = new QLabel(panel);
    question->setWordWrap(true);
    b.bind(model_.Label1, question);
    layout->addWidget(question);

    // Two by two: the counts set and the counts found, for tickets and questions.
    auto* table = new QGridLayout;
    table->setHorizontalSpacing(10);
    const std::pair<forms::Label*, std::pair<int, int>> heads[] = {{&model_.Label2, {0, 1}},
                                                                   {&model_.Label3, {0, 2}},
                                                                   {&model_.Label5, {1, 0}},
                                                                   {&model_.Label6, {2, 0}}};
    for (const auto& [head, place] : heads) {
        auto* label = new QLabel(panel);
        b.bind(*head, label);
        table->addWidget(label, place.first, place.second);
    }
    const std::pair<forms::TextBox*, std::pair<int, int>> counts[] = {{&model_.Text6, {1, 1}},
                                                                      {&model_.Text2, {1, 2}},
                                                                      {&model_.Text7, {2, 1}},
                                                                      {&model_.Text8, {2, 2}}};
    // Wide enough for the longest count there is, a fraction of fifteen digits.
    const int countWidth =
        panel->fontMetrics().horizontalAdvance(QStringLiteral("10,3333333333333")) + 16;
    for (const auto& [count, place] : counts) {
        QLineEdit* edit = shownText(panel, countWidth);
        edit->setFocusPolicy(Qt::ClickFocus);
        b.bind(*count, edit);
        table->addWidget(edit, place.first, place.second);
        b.nameAfter(place.first == 1 ? model_.Label5 : model_.Label6,
                    place.second == 1 ? model_.Label2 : model_.Label3, edit);
    }
    layout->addLayout(table);

    auto* answers = new QHBoxLayout;
    answers->addStretch(1);
    auto* yes = button(panel, 80);
    auto* no = button(panel, 80);
    b.bind(model_.Command4, yes);
    b.bind(model_.Command5, no);
    answers->addWidget(yes);
    answers->addWidget(no);
    layout->addLayout(answers);
    b.bind(model_.Frame1, panel);

    // The question takes the keyboard when it appears.
    b.follow(model_.Frame1, [this, yes, shown = false]() mutable {
        if (model_.Frame1.visible() && !shown) yes->setFocus();
        shown = model_.Frame1.visible();
    });
    return panel;
}

} // namespace gui
