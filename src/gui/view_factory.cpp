// One view class per window; this is where a model window finds its view.

#include "gui/picture_viewer_view.h"
#include "gui/results_window_view.h"
#include "gui/settings_window_view.h"
#include "gui/start_window_view.h"
#include "gui/ticket_window_view.h"
#include "gui/view.h"

#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"

namespace gui {

std::unique_ptr<View> createView(App& app, forms::Window& model) {
    const QString& name = model.name();
    if (name == "Form1") return std::make_unique<StartWindowView>(app, static_cast<Form1&>(model));
    if (name == "Form2") return std::make_unique<TicketWindowView>(app, static_cast<Form2&>(model));
    if (name == "Form3") {
        return std::make_unique<PictureViewerView>(app, static_cast<Form3&>(model));
    }
    if (name == "Form4") {
        return std::make_unique<SettingsWindowView>(app, static_cast<Form4&>(model));
    }
    if (name == "Form5") {
        return std::make_unique<ResultsWindowView>(app, static_cast<Form5&>(model));
    }
    return nullptr;
}

} // namespace gui
