#pragma once
// The ticket window on screen: the question buttons with their marks on the left, the
// question, the answers, the commands, the countdown and the verdict on the right.

#include "gui/view.h"

class Form2;

namespace gui {

class TicketWindowView : public View {
public:
    TicketWindowView(App& app, Form2& model);

private:
    QWidget* questionButtons();
    QLayout* questionPanel();

    Form2& model_;
};

} // namespace gui
