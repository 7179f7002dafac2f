#include "gui/results_window_view.h"

#include "exam_taking/results_window.h"

namespace gui {

ResultsWindowView::ResultsWindowView(App& app, Form5& model) : View(app, model) {
    binder().bindWindow(model, this);
}

} // namespace gui
