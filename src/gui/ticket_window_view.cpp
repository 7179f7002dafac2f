#include "gui/ticket_window_view.h"

#include "exam_taking/ticket_window.h"

namespace gui {

TicketWindowView::TicketWindowView(App& app, Form2& model) : View(app, model) {
    binder().bindWindow(model, this);
}

} // namespace gui
