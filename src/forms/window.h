#pragma once
// A headless window: its caption, place and state, and the controls it owns.

#include "forms/controls.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class App;

namespace forms {

class Window : public Observable {
public:
    Window(App& app, const char* name);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    App& app() const { return app_; }
    const QString& name() const { return name_; }

    // Runs once, right after App created the window.
    virtual void load() {}
    // The window manager asks to close the window (its title-bar button, a shortcut).
    // A window without its Close command ignores that; any other is unloaded, unless it
    // overrides this.
    virtual void closeRequested();

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool visible() const { return visible_; }
    void show();
    void hide();
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void move(int left, int top);
    void move(int left, int top, int width, int height);
    void setWidth(int width) { move(left_, top_, width, height_); }
    // False once the window's Close command is removed.
    bool closable() const { return closable_; }
    void setClosable(bool closable);
    bool topmost() const { return topmost_; }
    void setTopmost(bool topmost);

    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(const QString& name) const;
    void registerControl(Control* control) { controls_.push_back(control); }

    std::optional<QString> property(const QString& name) const;
    // True for the names property() answers.
    static bool knownProperty(const QString& name);

protected:
    // Puts each control into `frame`.
    static void place(Frame& frame, std::initializer_list<Control*> members);

private:
    App& app_;
    QString name_;
    QString caption_;
    bool visible_ = false;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool closable_ = true;
    bool topmost_ = false;
    std::vector<Control*> controls_;
};

} // namespace forms
