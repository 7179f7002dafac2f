#pragma once
// Base of the views: a top-level widget drawing one model window through a Binder.

#include "gui/binder.h"

#include <QWidget>
#include <memory>

class App;

class QLineEdit;

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
    // The widget drawing `control`, or null: how a test finds what a user would click.
    QWidget* widgetOf(const forms::Control& control) const { return binder_.widgetOf(control); }

protected:
    Binder& binder() { return binder_; }
    // Every view reads at least this large, whatever the desktop's default.
    void useReadableFont(qreal pointSize);
    // The buttons Enter presses, in order: the first one the user can use at the time (so
    // each step of the window has its default). A focused button is pressed by Enter
    // itself.
    void setDefaultButtons(std::vector<forms::CommandButton*> buttons) {
        defaultButtons_ = std::move(buttons);
    }
    // The button Escape presses: only windows that are looked at and closed (the picture,
    // the findings), never one of an exam.
    void setEscapeButton(forms::CommandButton* button) { escapeButton_ = button; }
    // A password field bound to `entry`, its characters hidden; Enter in it presses `go`.
    QLineEdit* passwordField(QWidget* parent, forms::TextBox& entry, forms::CommandButton& go);
    // A place for the panel of `frame`, built by `build` when the frame is first shown:
    // a window that opens with panels hidden costs only what it shows.
    QWidget* lazyPanel(forms::Frame& frame, std::function<QWidget*()> build);
    // The window manager's close is a request the model answers.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Opens the window on the screen that holds the active window: where the model placed
    // it, or in the middle; never larger than the free area, so that its title bar and
    // buttons are always on the screen.
    void fitToScreen();
    // A window that grew past the screen's edge moves back just enough; one that fits
    // stays where it is.
    void keepOnScreen();
    void followPlace();
    void followFocus();

    App& app_;
    forms::Window& model_;
    Binder binder_;
    QPoint appliedPlace_{-1, -1}; // the model's place last applied, in twips
    int appliedFocus_ = 0;        // the model's focus requests followed so far
    std::vector<forms::CommandButton*> defaultButtons_;
    forms::CommandButton* escapeButton_ = nullptr;
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
    void createView(forms::Window& window);

    App& app_;
    const WindowTable& windows_;
    std::vector<View*> views_;
    // Hidden windows whose view waits for their first showing, with the subscription
    // that waits: a window that is never shown costs no widgets.
    std::vector<std::pair<forms::Window*, int>> waiting_;
    int loadedSubscription_ = 0;
    int unloadingSubscription_ = 0;
};

} // namespace gui
