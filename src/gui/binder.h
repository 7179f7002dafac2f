#pragma once
// Keeps Qt widgets and model controls in step. A model change redraws the widget; a user
// edit or click calls the model's setter (or press()) inside App::userEvent. Nothing here
// decides anything the model decides.

#include "forms/controls.h"
#include "forms/window.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <functional>
#include <vector>

class App;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTreeView;
class QPushButton;
class QRadioButton;
class QWidget;

namespace gui {

// What a screen reader says of a control beyond its caption, in both languages: a name
// where the control shows none (a field without a label beside it, a list, a picture, a
// button drawn with a sign) and a description where the caption alone is unclear and
// no tool tip says more. A null name reads the caption in that language; without a
// description of its own the tool tip is read, which follows the language too.
struct Spoken {
    const forms::Control* control;
    const char* nameRu;
    const char* nameEn;
    const char* descriptionRu = nullptr;
    const char* descriptionEn = nullptr;
};

class Binder : public QObject {
public:
    Binder(App& app, QObject* parent = nullptr);
    ~Binder() override;

    // Stops following the model (its window is being unloaded).
    void detach();

    // Takes the user's text per keystroke, or when editing finishes for a text box that
    // commits on finish.
    void bind(forms::TextBox& model, QLineEdit* widget);
    // A multi-line text, CR LF in the model and plain line feeds on screen. Editable, it
    // is lossless: what the user types comes back exactly. Locked (read-only), a file's
    // final line end is left out of the drawing rather than shown as an empty last line.
    void bind(forms::TextBox& model, QPlainTextEdit* widget);
    // A label; when the model has a click handler the label acts as a link.
    void bind(forms::Label& model, QLabel* widget);
    void bind(forms::CheckBox& model, QCheckBox* widget);
    void bind(forms::OptionButton& model, QRadioButton* widget);
    void bind(forms::CommandButton& model, QPushButton* widget);
    void bind(forms::Frame& model, QWidget* widget);
    void bind(forms::ListBox& model, QListWidget* widget);
    void bind(forms::ComboBox& model, QComboBox* widget);
    // A picture; with `fitInto`, a larger picture is drawn scaled down to fit it.
    void bind(forms::Image& model, QLabel* widget, QSize fitInto = QSize());
    // A coloured mark: the widget is painted with the model's back colour.
    void bind(forms::Shape& model, QWidget* widget);
    // A folder browser: the folders from the root down to the model's path, then the
    // folders inside it. A double-click or Enter on an entry moves the model there.
    void bind(forms::FolderList& model, QListWidget* widget);
    // The drives and volumes by their readable names; picking one moves the model there.
    void bind(forms::DriveList& model, QComboBox* widget);
    // A real timer that follows the model's enabled state and interval.
    void bind(forms::Timer& model);
    // Caption, visibility, stay-on-top, and a title bar without a close button while the
    // model has no Close command. (Views place their windows on the screen.)
    void bindWindow(forms::Window& model, QWidget* widget);

    // Screen reader texts for controls, in the interface language and following its
    // switches; a view keeps them in one table.
    void speak(const std::vector<Spoken>& rows);
    // The same for a widget of the view's own that draws no control (a scrolling area).
    void speak(QWidget* widget, const char* nameRu, const char* nameEn);
    // A field a screen reader names after the label beside it, its caption followed; both
    // bound already.
    void nameAfter(forms::Label& label, QWidget* field);
    // A field of a table, named after its row's head and its column's.
    void nameAfter(forms::Label& row, forms::Label& column, QWidget* field);

    // Enter in `field` presses `button` (when the user can use it), with the field's text
    // handed over first also when `text` commits on finish.
    void pressOnEnter(QLineEdit* field, forms::TextBox& text, forms::CommandButton& button);
    // The widget bound to a control, or null.
    QWidget* widgetOf(const forms::Control& control) const;

    // Runs a user action on the model, then ends the program if the model asked for it.
    void userEvent(const std::function<void()>& action);

    // Runs `redraw` now and on every change of the control (or window) until detach(),
    // for what a view draws beyond the bindings above.
    void follow(forms::Observable& model, std::function<void()> redraw);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Connects a widget's signal to an action of ours, remembered so detach() can cut it.
    template <class Sender, class Signal, class Action>
    void on(Sender* sender, Signal signal, Action action) {
        senders_.emplace_back(sender);
        connect(sender, signal, this, std::move(action));
    }
    void common(forms::Control& model, QWidget* widget);
    void hoverable(forms::Control& model, QWidget* widget);
    // A widget that acts on a mouse click (a link label, a clickable picture).
    void clickable(forms::Control& model, QWidget* widget);
    // The screen reader texts of `model`'s row, if it has one, in the current language.
    void spoken(const forms::Control& model, QWidget* widget) const;
    void followLanguage();

    using Actions = std::vector<std::pair<QObject*, std::function<bool()>>>;

    App& app_;
    std::vector<std::pair<forms::Observable*, int>> subscriptions_;
    Actions hoverActions_;
    Actions clickActions_;
    Actions keyActions_;   // Space and Enter
    Actions enterActions_; // Enter alone
    std::vector<std::pair<const forms::Control*, QWidget*>> widgets_;
    std::vector<QPointer<QObject>> senders_;
    std::vector<Spoken> spoken_;
    std::vector<std::pair<QPointer<QWidget>, Spoken>> spokenWidgets_;
    QString language_;
    int languageSubscription_ = 0;
};

// The property that marks a label the binder made a link.
inline constexpr char kLinkProperty[] = "proveronLink";

// Paints a widget's text and background with model colours.
void applyColors(QWidget* widget, forms::Color fore, forms::Color back, bool paintBack);

// Open modal message boxes; timers hold their ticks while one is open.
int& modalDepth();

} // namespace gui
