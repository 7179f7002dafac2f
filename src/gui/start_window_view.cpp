#include "gui/start_window_view.h"

#include "shell/start_window.h"

namespace gui {

StartWindowView::StartWindowView(App& app, Form1& model) : View(app, model) {
    binder().bindWindow(model, this);
}

} // namespace gui
