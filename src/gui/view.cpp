#include "gui/view.h"

#include "forms/app.h"

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
    event->ignore();
    if (!model_.closable()) return;
    binder_.userEvent([this] { app_.unload(model_); });
}

ViewManager::ViewManager(App& app) : app_(app) {
    app_.windowLoaded.push_back([this](forms::Window& window) {
        if (auto view = createView(app_, window)) {
            view->setVisible(window.visible());
            views_.push_back(view.release());
        }
    });
    app_.windowUnloading.push_back([this](forms::Window& window) {
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
    });
}

ViewManager::~ViewManager() {
    for (View* view : views_) {
        view->detach();
        delete view;
    }
}

} // namespace gui
