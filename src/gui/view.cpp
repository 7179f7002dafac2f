#include "gui/view.h"

#include "forms/app.h"
#include "gui/window_table.h"

#include <QCloseEvent>

namespace gui {

View::View(App& app, forms::Window& model)
    : QWidget(nullptr), app_(app), model_(model), binder_(app, this) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    useReadableFont(10);
}

void View::useReadableFont(qreal pointSize) {
    QFont base = font();
    if (base.pointSizeF() < pointSize) base.setPointSizeF(pointSize);
    setFont(base);
}

View::~View() { binder_.detach(); }

void View::closeEvent(QCloseEvent* event) {
    // The model decides; if it unloads itself, the view goes with it.
    event->ignore();
    binder_.userEvent([this] { model_.closeRequested(); });
}

ViewManager::ViewManager(App& app, const WindowTable& windows) : app_(app), windows_(windows) {
    loadedSubscription_ =
        app_.windowLoaded.subscribe([this](forms::Window& window) { windowLoaded(window); });
    unloadingSubscription_ =
        app_.windowUnloading.subscribe([this](forms::Window& window) { windowUnloading(window); });
}

ViewManager::~ViewManager() {
    app_.windowLoaded.unsubscribe(loadedSubscription_);
    app_.windowUnloading.unsubscribe(unloadingSubscription_);
    for (View* view : views_) {
        view->detach();
        delete view;
    }
}

void ViewManager::windowLoaded(forms::Window& window) {
    if (auto view = windows_.createView(app_, window)) {
        view->setVisible(window.visible());
        views_.push_back(view.release());
    }
}

void ViewManager::windowUnloading(forms::Window& window) {
    for (auto it = views_.begin(); it != views_.end(); ++it) {
        if (&(*it)->model() == &window) {
            View* view = *it;
            views_.erase(it);
            view->detach();
            view->hide();
            view->deleteLater();
            break;
        }
    }
}

} // namespace gui
