#include "gui/view.h"

#include "common/settings_file.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "gui/view_texts.h"
#include "gui/window_table.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

namespace gui {

namespace {
// A label that acts as a link (the binder marks it) is a link to a screen reader: read
// with its text, and pressed like one.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {
        addControllingSignal(QStringLiteral("linkActivated(QString)"));
    }
    QString text(QAccessible::Text kind) const override {
        const QString own = QAccessibleWidget::text(kind);
        if (kind != QAccessible::Name || !own.isEmpty()) return own;
        return static_cast<QLabel*>(widget())->text();
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) return QAccessibleWidget::doAction(action);
        // The binder works a link on Space, as the keyboard does.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(widget(), &press);
    }
};

// To a screen reader a plain top-level widget is a "filler"; a view is a window, so its
// title is announced when it comes up.
QAccessibleInterface* viewAccessible(const QString& /*className*/, QObject* object) {
    if (auto* view = dynamic_cast<View*>(object))
        return new QAccessibleWidget(view, QAccessible::Window);
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(kLinkProperty).toBool()) return new LinkAccessible(label);
    return nullptr;
}
} // namespace

View::View(App& app, forms::Window& model)
    : QWidget(nullptr), app_(app), model_(model), binder_(app, this) {
    static const bool accessibleViews = (QAccessible::installFactory(viewAccessible), true);
    (void)accessibleViews;
    setAttribute(Qt::WA_DeleteOnClose, false);
    useReadableFont(10);
    binder_.follow(model_, [this] {
        followPlace();
        followFocus();
    });
}

namespace {
QScreen* homeScreen(const QWidget* self) {
    // The window the user works in (the start window, as a rule) tells which screen.
    const QWidget* active = QApplication::activeWindow();
    if (active && active != self && active->screen()) return active->screen();
    return QGuiApplication::primaryScreen();
}
} // namespace

QLineEdit* View::passwordField(QWidget* parent, forms::TextBox& entry, forms::CommandButton& go) {
    auto* field = new QLineEdit(parent);
    field->setEchoMode(QLineEdit::Password);
    binder_.bind(entry, field);
    binder_.pressOnEnter(field, entry, go);
    return field;
}

QWidget* View::lazyPanel(forms::Frame& frame, std::function<QWidget*()> build) {
    auto* place = new QWidget(this);
    auto* layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    binder_.follow(frame, [&frame, place, layout, build = std::move(build)]() mutable {
        if (frame.visible() && build) {
            layout->addWidget(build());
            build = nullptr;
        }
        place->setVisible(frame.visible());
    });
    return place;
}

void View::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitToScreen();
    followFocus();
    // The window manager's frame is known only once the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) fitToScreen();
    });
}

void View::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible()) keepOnScreen();
}

void View::keepOnScreen() {
    if (windowState().testFlag(Qt::WindowFullScreen) || !screen()) return;
    const QRect area = screen()->availableGeometry();
    const QRect outer = frameGeometry();
    QPoint corner = outer.topLeft();
    corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - outer.width())));
    corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - outer.height())));
    if (corner != outer.topLeft()) move(corner);
}

void View::followFocus() {
    if (model_.focusRequests() == appliedFocus_ || !model_.focusRequest()) return;
    if (QWidget* widget = binder_.widgetOf(*model_.focusRequest())) {
        appliedFocus_ = model_.focusRequests();
        // The flow goes on in this window: it comes to the front if another one is there.
        if (isVisible() && !isActiveWindow()) {
            raise();
            activateWindow();
        }
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void View::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_Escape && escapeButton_ && escapeButton_->usable()) {
        binder_.userEvent([button = escapeButton_] { button->press(); });
        return;
    }
    if (!enter) {
        // Escape, among others, does nothing here: it never ends an exam.
        QWidget::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) {
        button->animateClick();
        return;
    }
    for (forms::CommandButton* button : defaultButtons_) {
        if (button->usable()) {
            binder_.userEvent([button] { button->press(); });
            return;
        }
    }
}

void View::followPlace() {
    const QPoint place(model_.left(), model_.top());
    if (isVisible() && model_.placed() && place != appliedPlace_) fitToScreen();
}

void View::fitToScreen() {
    if (windowState().testFlag(Qt::WindowFullScreen)) return;
    QScreen* screen = homeScreen(this);
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QMargins frame(frameGeometry().left() - geometry().left(),
                   geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    const bool framed = !frame.isNull();
    if (!framed) {
        // Not yet framed: a title bar and thin borders, as window managers draw them.
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        frame = QMargins(4, std::max(title, 24) + 4, 4, 4);
    }
    const QSize room(area.width() - frame.left() - frame.right(),
                     area.height() - frame.top() - frame.bottom());
    if (width() > room.width() || height() > room.height())
        resize(size().boundedTo(room).expandedTo(minimumSize()));
    const QSize outer(width() + frame.left() + frame.right(),
                      height() + frame.top() + frame.bottom());
    QPoint corner = model_.placed() ? area.topLeft() + QPoint(model_.left(), model_.top()) /
                                                           forms::kTwipsPerPixel
                                    : area.center() - QPoint(outer.width() / 2, outer.height() / 2);
    // Title bar and buttons on the screen: the right and bottom edges first, then the
    // left and top, which matter most.
    corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - outer.width())));
    corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - outer.height())));
    if (framed) {
        move(corner);
    } else {
        // Before the window manager has framed the window, a move places its contents, and
        // the title bar would go above them, off the top of the screen: the contents go
        // below the frame we expect instead.
        setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
    }
    appliedPlace_ = QPoint(model_.left(), model_.top());
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
    const bool closable = model_.closable();
    binder_.userEvent([this] { model_.closeRequested(); });
    if (!closable) {
        // Some window managers draw a close button whatever the window asks for; the user
        // learns why it does nothing.
        const QString text = model_.say(view_texts::text("closesWithButtons"));
        QToolTip::showText(mapToGlobal(QPoint(width() / 2, 0)), text, this);
    }
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
    for (const auto& [window, id] : waiting_)
        window->unsubscribe(id);
    for (View* view : views_) {
        view->detach();
        delete view;
    }
}

void ViewManager::windowLoaded(forms::Window& window) {
    if (window.visible()) {
        createView(window);
        return;
    }
    const int id = window.subscribe([this, &window] {
        if (!window.visible()) return;
        for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
            if (it->first == &window) {
                window.unsubscribe(it->second);
                waiting_.erase(it);
                break;
            }
        }
        createView(window);
    });
    waiting_.emplace_back(&window, id);
}

void ViewManager::createView(forms::Window& window) {
    if (auto view = windows_.createView(app_, window)) {
        view->setVisible(window.visible());
        views_.push_back(view.release());
    }
}

void ViewManager::windowUnloading(forms::Window& window) {
    for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
        if (it->first == &window) {
            window.unsubscribe(it->second);
            waiting_.erase(it);
            break;
        }
    }
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
