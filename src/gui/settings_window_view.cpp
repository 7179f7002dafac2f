#include "gui/settings_window_view.h"

#include "settings/settings_window.h"

namespace gui {

SettingsWindowView::SettingsWindowView(App& app, Form4& model) : View(app, model) {
    binder().bindWindow(model, this);
}

} // namespace gui
