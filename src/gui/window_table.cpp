#include "gui/window_table.h"

#include "gui/view.h"

namespace gui {

const WindowEntry* WindowTable::find(const QString& name) const {
    for (const WindowEntry& entry : windows_) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::unique_ptr<View> WindowTable::createView(App& app, forms::Window& window) const {
    const WindowEntry* entry = find(window.name());
    if (!entry || !entry->view) return nullptr;
    return entry->view(app, window);
}

void WindowTable::start(App& app) const { windows_.front().window(app).show(); }

} // namespace gui
