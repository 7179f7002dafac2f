#pragma once
// The windows of a program, each registered once: its name, how App creates it, how the
// front end draws it. The scenario runner and the view manager find windows here.

#include "forms/app.h"
#include "forms/window.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace gui {

class View;

struct WindowEntry {
    QString name;
    // Creates (and loads) the window, or finds it; null for a window not built yet.
    std::function<forms::Window&(App&)> window;
    std::function<std::unique_ptr<View>(App&, forms::Window&)> view;

    bool built() const { return bool(window); }
};

// The entry of window W drawn by view V.
template <class W, class V> WindowEntry windowEntry() {
    return {QString::fromLatin1(W::kName),
            [](App& app) -> forms::Window& { return app.window<W>(); },
            [](App& app, forms::Window& model) -> std::unique_ptr<View> {
                return std::make_unique<V>(app, static_cast<W&>(model));
            }};
}

// A window the program will have, named so that scenarios driving it are told it is not
// built yet.
inline WindowEntry plannedWindow(const char* name) { return {QString::fromLatin1(name), {}, {}}; }

class WindowTable {
public:
    // The first window is the one the program starts with.
    explicit WindowTable(std::vector<WindowEntry> windows) : windows_(std::move(windows)) {}

    const WindowEntry* find(const QString& name) const;
    // The view of a loaded window; null for a window this table does not draw.
    std::unique_ptr<View> createView(App& app, forms::Window& window) const;
    // Starts the program: the start window loads and shows.
    void start(App& app) const;

private:
    std::vector<WindowEntry> windows_;
};

// Проверон's own windows.
const WindowTable& programWindows();

} // namespace gui
