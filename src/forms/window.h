#pragma once
// A headless window: its caption, place and state, and the controls it owns.

#include "common/language.h"
#include "forms/controls.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class App;

namespace forms {

class Window : public Placed {
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
    // Placing the window (either form of move) takes its position over from the screen's
    // default; resize() changes the size alone.
    void move(int left, int top);
    void move(int left, int top, int width, int height);
    void resize(int width, int height);
    void setWidth(int width) { resize(width, height()); }
    // True once the window was placed: its left and top count. Otherwise the front end
    // opens it in the middle of the screen.
    bool placed() const { return placed_; }
    // False once the window's Close command is removed.
    bool closable() const { return closable_; }
    void setClosable(bool closable);
    bool topmost() const { return topmost_; }
    void setTopmost(bool topmost);
    // Where the keyboard focus goes next, as the flow of the window has it (the name field
    // for a new student, the answers when a question opens). Asking again moves it again.
    void requestFocus(Control& control);
    Control* focusRequest() const { return focusRequest_; }
    int focusRequests() const { return focusRequests_; }

    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(const QString& name) const;
    void registerControl(Control* control) { controls_.push_back(control); }

    std::optional<QString> property(const QString& name) const;

    // The interface language the window speaks: the one it took at its load, kept in the
    // hidden label that mirrors it where the window has one, else the program's.
    virtual QString language() const;
    // A message or tool tip in that language.
    QString say(const texts::Text& text) const { return texts::say(language(), text); }
    // True for the names property() answers.
    static bool knownProperty(const QString& name);

protected:
    // Puts each control into `frame`.
    static void place(Frame& frame, std::initializer_list<Control*> members);
    void keepLanguageIn(const Label& label) { languageLabel_ = &label; }

private:
    App& app_;
    QString name_;
    QString caption_;
    bool visible_ = false;
    bool closable_ = true;
    bool topmost_ = false;
    bool placed_ = false;
    Control* focusRequest_ = nullptr;
    int focusRequests_ = 0;
    std::vector<Control*> controls_;
    const Label* languageLabel_ = nullptr;
};

} // namespace forms
