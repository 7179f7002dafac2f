#pragma once

#include "gui/view.h"

class Form2;

namespace gui {

class TicketWindowView : public View {
public:
    TicketWindowView(App& app, Form2& model);
};

} // namespace gui
