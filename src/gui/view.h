#pragma once
// Base of the views: a top-level widget drawing one model window through a Binder.

#include "gui/binder.h"

#include <QWidget>
#include <memory>

class App;

namespace gui {

class WindowTable;

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
    // The window manager's close is a request the model answers.
    void closeEvent(QCloseEvent* event) override;

private:
    App& app_;
    forms::Window& model_;
    Binder binder_;
};

// Creates and discards views as App loads and unloads windows.
class ViewManager {
public:
    ViewManager(App& app, const WindowTable& windows);
    ~ViewManager();
    ViewManager(const ViewManager&) = delete;
    ViewManager& operator=(const ViewManager&) = delete;

private:
    void windowLoaded(forms::Window& window);
    void windowUnloading(forms::Window& window);

    App& app_;
    const WindowTable& windows_;
    std::vector<View*> views_;
    int loadedSubscription_ = 0;
    int unloadingSubscription_ = 0;
};

} // namespace gui
