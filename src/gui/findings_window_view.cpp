#include "gui/findings_window_view.h"

#include "teacher_tools/findings_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

FindingsWindowView::FindingsWindowView(App& app, Form10& model) : View(app, model) {
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(this);
    heading->setWordWrap(true);
    heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    binder().bind(model.Label1, heading);
    layout->addWidget(heading);

    // Findings are long sentences: they wrap rather than scroll sideways.
    auto* list = new QListWidget(this);
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumSize(560, 200);
    list->setAlternatingRowColors(true);
    list->setSpacing(2);
    binder().bind(model.List1, list);
    layout->addWidget(list, 1);
    // A double-click on a line opens its file as the button does; Enter on the line chosen
    // presses the button, the window's default.
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, &model, list](QListWidgetItem* item) {
                const int row = list->row(item);
                binder().userEvent([&model, row] {
                    model.List1.setListIndex(row);
                    model.Command2.press();
                });
            });
    setDefaultButtons({&model.Command2});
    setEscapeButton(&model.Command4);

    auto* summary = new QLabel(this);
    summary->setWordWrap(true);
    binder().bind(model.Label2, summary);
    layout->addWidget(summary);

    auto* buttons = new QHBoxLayout;
    for (forms::CommandButton* command : {&model.Command1, &model.Command2, &model.Command3}) {
        auto* button = new QPushButton(this);
        button->setAutoDefault(true);
        binder().bind(*command, button);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* close = new QPushButton(this);
    close->setAutoDefault(true);
    binder().bind(model.Command4, close);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    list->setFocus();
    binder().speak({{&model.List1, "Замечания", "Findings"}});
    binder().bindWindow(model, this);
}

} // namespace gui
