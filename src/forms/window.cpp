#include "forms/window.h"

#include "forms/app.h"

#include <algorithm>

namespace forms {

namespace {
QString boolText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
} // namespace

Window::Window(App& app, const char* name) : app_(app), name_(QString::fromLatin1(name)) {}

Window::~Window() = default;

void Window::setCaption(const QString& caption) { update(caption_, caption); }

void Window::show() {
    if (visible_) return;
    visible_ = true;
    changed();
}

void Window::hide() {
    if (!visible_) return;
    visible_ = false;
    changed();
}

void Window::move(int left, int top) { move(left, top, width(), height()); }

void Window::move(int left, int top, int width, int height) {
    // The first placing counts even at the geometry the window already has.
    const bool first = !placed_;
    placed_ = true;
    if (!setGeometry(Geometry{left, top, width, height}) && first) changed();
}

void Window::resize(int width, int height) { setGeometry(Geometry{left(), top(), width, height}); }

void Window::requestFocus(Control& control) {
    focusRequest_ = &control;
    ++focusRequests_;
    changed();
}

void Window::closeRequested() {
    if (closable_) app_.unload(*this);
}

void Window::setClosable(bool closable) { update(closable_, closable); }

void Window::setTopmost(bool topmost) { update(topmost_, topmost); }

Control* Window::control(const QString& name) const {
    for (Control* c : controls_) {
        if (c->name().compare(name, Qt::CaseInsensitive) == 0) return c;
    }
    return nullptr;
}

std::optional<QString> Window::property(const QString& name) const {
    if (name == QLatin1String("loaded")) return boolText(true);
    if (name == QLatin1String("visible")) return boolText(visible_);
    if (name == QLatin1String("caption")) return caption_;
    if (name == QLatin1String("closable")) return boolText(closable_);
    if (name == QLatin1String("topmost")) return boolText(topmost_);
    if (name == QLatin1String("focus")) return focusRequest_ ? focusRequest_->name() : QString();
    return geometryProperty(name);
}

bool Window::knownProperty(const QString& name) {
    static const char* const names[] = {"loaded", "visible", "caption",  "left",    "top",
                                        "width",  "height",  "closable", "topmost", "focus"};
    return std::any_of(std::begin(names), std::end(names),
                       [&name](const char* known) { return name == QLatin1String(known); });
}

QString Window::language() const {
    return languageLabel_ ? languageLabel_->caption() : app_.language();
}

void Window::place(Frame& frame, std::initializer_list<Control*> members) {
    for (Control* member : members)
        member->setContainer(&frame);
}

} // namespace forms
