#pragma once
// Base of the views: a top-level widget drawing one model window through a Binder.

#include "gui/binder.h"

#include <QWidget>
#include <memory>

class App;

namespace gui {

class View : public QWidget {
public:
    View(App& app, forms::Window& model);
    ~View() override;

    forms::Window& model() const { return model_; }
    App& app() const { return app_; }
    // The model is going away: stop following it.
    void detach() { binder_.detach(); }

protected:
    Binder& binder() { return binder_; }
    // Every view reads at least this large, whatever the desktop's default.
    void useReadableFont(qreal pointSize);
    // The window manager's close: ignored while the model has no Close command, else the
    // model window is unloaded.
    void closeEvent(QCloseEvent* event) override;

private:
    App& app_;
    forms::Window& model_;
    Binder binder_;
};

// The view of a model window; null for a window without a view yet.
std::unique_ptr<View> createView(App& app, forms::Window& model);

// Creates and discards views as App loads and unloads windows.
class ViewManager {
public:
    explicit ViewManager(App& app);
    ~ViewManager();

private:
    App& app_;
    std::vector<View*> views_;
};

} // namespace gui
