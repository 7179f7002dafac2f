#pragma once
// The controls of the headless windows. A control holds what a user sees of it (text,
// value, colours, position in twips, ...) and the handlers its window sets.
//
// The one rule every window relies on lives here and nowhere else: assigning a
// *different* text, caption, value or list selection runs the control's handler at once,
// nested inside the assignment; assigning the value it already has runs nothing.

#include "forms/colors.h"
#include "forms/signal.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace forms {

class Window;
class Frame;

enum class ControlKind {
    TextBox,
    Label,
    CheckBox,
    OptionButton,
    CommandButton,
    Frame,
    ListBox,
    ComboBox,
    Image,
    Shape,
    Timer,
    FolderList,
    DriveList,
};

inline constexpr int kTwipsPerPixel = 15;

using Handler = std::function<void()>;

// Views subscribe to redraw on every property change of a control or a window.
class Observable {
public:
    using Observer = std::function<void()>;
    int subscribe(Observer observer) { return observers_.subscribe(std::move(observer)); }
    void unsubscribe(int id) { observers_.unsubscribe(id); }

protected:
    void changed() { observers_.notify(); }
    // Stores a property and tells the views, when it actually changes; true if it did.
    template <class T> bool update(T& field, const T& value) {
        if (field == value) return false;
        field = value;
        changed();
        return true;
    }

private:
    Signal<> observers_;
};

// Position and size in twips.
struct Geometry {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Geometry&) const = default;
};

// What has a place on the screen, a control or a window: its geometry, told to the views.
class Placed : public Observable {
public:
    int left() const { return geometry_.left; }
    int top() const { return geometry_.top; }
    int width() const { return geometry_.width; }
    int height() const { return geometry_.height; }
    const Geometry& geometry() const { return geometry_; }

protected:
    // True when the geometry changed (and the views were told).
    bool setGeometry(const Geometry& geometry) { return update(geometry_, geometry); }
    // "left", "top", "width" or "height" as text; empty for any other name.
    std::optional<QString> geometryProperty(const QString& name) const;

private:
    Geometry geometry_;
};

// A control's name as its window declares it: a literal ("Text1"), or one built for a
// numbered family.
struct ControlName {
    ControlName(const char* name) : text(QString::fromLatin1(name)) {}
    ControlName(QString name) : text(std::move(name)) {}
    QString text;
};

class Control : public Placed {
public:
    Control(Window& window, ControlName name, ControlKind kind);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Window& window() const { return window_; }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    Color foreColor() const { return foreColor_; }
    void setForeColor(Color color);
    Color backColor() const { return backColor_; }
    void setBackColor(Color color);
    const QString& toolTip() const { return toolTip_; }
    void setToolTip(const QString& toolTip);
    bool bold() const { return bold_; }
    void setBold(bool bold);

    void move(int left, int top);
    void move(int left, int top, int width, int height);

    // The frame that contains the control, or none (the window itself).
    Frame* container() const { return container_; }
    void setContainer(Frame* frame) { container_ = frame; }

    // True when a user can reach the control: it, every frame around it and its window
    // are visible and enabled.
    bool usable() const;

    // Properties by name, as scenarios and diagnostics read them ("text", "visible",
    // "backcolor", "list(2)", ...). Empty optional for a property this kind lacks.
    virtual std::optional<QString> property(const QString& name) const;

    // Mouse movement over the control.
    Handler onMouseMove;
    void hover() { run(onMouseMove); }

    // What a user can do to a control, for the scenario runner and the front end; each
    // answers false where this kind of control does not take that action.
    virtual bool click() { return false; }
    virtual bool type(const QString& text) {
        (void)text;
        return false;
    }
    // Entries a user can choose from (list and combo boxes); -1 for other kinds.
    virtual int entryCount() const { return -1; }
    virtual bool choose(int index) {
        (void)index;
        return false;
    }
    // Moves a folder or drive list to `path`.
    virtual bool browse(const QString& path) {
        (void)path;
        return false;
    }
    // Sets what the control shows as its text: a caption, or the text of a text box.
    virtual void setDisplayedText(const QString& text) { (void)text; }

protected:
    // Runs a handler unless a HandlerBlocker holds this control.
    void run(const Handler& handler) const {
        if (handler && blocked_ == 0) handler();
    }
    // Stores `value` and, when it differs, notifies views and runs `handler`.
    void assign(QString& field, const QString& value, const Handler& handler);

private:
    Window& window_;
    QString name_;
    ControlKind kind_;
    bool visible_ = true;
    bool enabled_ = true;
    bool bold_ = false;
    Color foreColor_ = colors::WindowText;
    Color backColor_ = colors::WindowBackground;
    QString toolTip_;
    Frame* container_ = nullptr;
    int blocked_ = 0;
    friend class HandlerBlocker;
};

// The one exception to the change rule: while a blocker lives, the control's changes
// still happen and still redraw, but run none of its handlers. For a window changing
// its own control back without taking that as the user's action.
class HandlerBlocker {
public:
    explicit HandlerBlocker(Control& control) : control_(control) { ++control_.blocked_; }
    ~HandlerBlocker() { --control_.blocked_; }
    HandlerBlocker(const HandlerBlocker&) = delete;
    HandlerBlocker& operator=(const HandlerBlocker&) = delete;

private:
    Control& control_;
};

class TextBox : public Control {
public:
    TextBox(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::TextBox) {}
    const QString& text() const { return text_; }
    void setText(const QString& text) { assign(text_, text, onChange); }
    // Sets the text and runs the change handler even when the text is the same: for a
    // load that must apply its rule to whatever the field holds.
    void assignAndRun(const QString& text);
    bool locked() const { return locked_; }
    void setLocked(bool locked);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool multiLine) { multiLine_ = multiLine; }
    // A field whose change handler refuses partial input ("-" on the way to "-3") takes
    // the user's text when editing finishes (focus leaves, Enter), not per keystroke.
    bool commitOnFinish() const { return commitOnFinish_; }
    void setCommitOnFinish(bool commit) { commitOnFinish_ = commit; }
    std::optional<QString> property(const QString& name) const override;
    bool type(const QString& text) override;
    void setDisplayedText(const QString& text) override { setText(text); }

    Handler onChange;

private:
    QString text_;
    bool locked_ = false;
    bool multiLine_ = false;
    bool commitOnFinish_ = false;
};

class Label : public Control {
public:
    Label(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::Label) {}
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { assign(caption_, caption, onChange); }
    // A label is clickable only when it acts as a link.
    bool click() override;
    bool isLink() const { return bool(onClick); }
    std::optional<QString> property(const QString& name) const override;
    void setDisplayedText(const QString& text) override { setCaption(text); }

    Handler onChange;
    Handler onClick; // set for labels that act as links

private:
    QString caption_;
};

class CheckBox : public Control {
public:
    CheckBox(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::CheckBox) {}
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    int value() const { return value_; }
    bool checked() const { return value_ == 1; }
    // A changed value runs the click handler, as a user's click would.
    void setValue(int value);
    bool click() override {
        setValue(value_ == 1 ? 0 : 1);
        return true;
    }
    std::optional<QString> property(const QString& name) const override;
    void setDisplayedText(const QString& text) override { setCaption(text); }

    Handler onClick;

private:
    QString caption_;
    int value_ = 0;
};

// Option buttons with the same container form one group: selecting one deselects the
// others (without running their handlers).
class OptionButton : public Control {
public:
    OptionButton(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::OptionButton) {}
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool value() const { return value_; }
    // Switching on runs the click handler; switching off runs nothing.
    void setValue(bool value);
    bool click() override {
        setValue(true);
        return true;
    }
    std::optional<QString> property(const QString& name) const override;
    void setDisplayedText(const QString& text) override { setCaption(text); }

    Handler onClick;

private:
    QString caption_;
    bool value_ = false;
};

class CommandButton : public Control {
public:
    CommandButton(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::CommandButton) {}
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    void press() { run(onClick); }
    bool click() override {
        press();
        return true;
    }
    std::optional<QString> property(const QString& name) const override;
    void setDisplayedText(const QString& text) override { setCaption(text); }

    Handler onClick;

private:
    QString caption_;
};

class Frame : public Control {
public:
    Frame(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::Frame) {}
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    std::optional<QString> property(const QString& name) const override;
    void setDisplayedText(const QString& text) override { setCaption(text); }

private:
    QString caption_;
};

class ListBox : public Control {
public:
    ListBox(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::ListBox) {}
    const QStringList& items() const { return items_; }
    int listCount() const { return int(items_.size()); }
    QString item(int index) const;
    void addItem(const QString& item);
    // Replaces every entry in one step (one redraw, however long the list).
    void setItems(const QStringList& items);
    // Empties the list; the selection goes with it, without running the handler.
    void clear();
    int listIndex() const { return listIndex_; }
    // A changed selection runs the click handler.
    void setListIndex(int index);
    // Text of the selected entry, empty when none.
    QString selectedText() const { return item(listIndex_); }
    // Counts every change of the entries, so a view redraws only what changed: after a
    // change that only appended, the entries it already shows stay as they are.
    int itemsRevision() const { return itemsRevision_; }
    bool lastChangeAppended() const { return lastChangeAppended_; }
    std::optional<QString> property(const QString& name) const override;
    int entryCount() const override { return listCount(); }
    bool choose(int index) override {
        setListIndex(index);
        return true;
    }

    Handler onClick;

private:
    void itemsChanged(bool appended) {
        ++itemsRevision_;
        lastChangeAppended_ = appended;
        changed();
    }

    QStringList items_;
    int listIndex_ = -1;
    int itemsRevision_ = 0;
    bool lastChangeAppended_ = false;
};

// An editable combo box: a text plus a list to pick it from.
class ComboBox : public Control {
public:
    ComboBox(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::ComboBox) {}
    const QString& text() const { return text_; }
    void setText(const QString& text) { assign(text_, text, onChange); }
    const QStringList& items() const { return items_; }
    void addItem(const QString& item);
    int listIndex() const { return listIndex_; }
    // Picking an entry sets the text to it, then runs the click handler.
    void setListIndex(int index);
    std::optional<QString> property(const QString& name) const override;
    bool type(const QString& text) override {
        setText(text);
        return true;
    }
    int entryCount() const override { return int(items_.size()); }
    bool choose(int index) override {
        setListIndex(index);
        return true;
    }
    void setDisplayedText(const QString& text) override { setText(text); }

    Handler onChange;
    Handler onClick;

private:
    QString text_;
    QStringList items_;
    int listIndex_ = -1;
};

// A picture. Unstretched, it takes the picture's own size (pixels x 15 twips);
// stretched, the picture fills the size set.
class Image : public Control {
public:
    Image(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::Image) {}
    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    void clearPicture() { setPicture(QImage()); }
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);
    bool click() override {
        run(onClick);
        return true;
    }
    std::optional<QString> property(const QString& name) const override;

    Handler onClick;

private:
    QImage picture_;
    bool stretch_ = false;
};

class Shape : public Control {
public:
    Shape(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::Shape) {}
};

// Ticks only while enabled; the front end drives it with a real timer, tests with tick().
class Timer : public Control {
public:
    Timer(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::Timer) {}
    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    void tick() {
        if (enabled()) run(onTick);
    }
    std::optional<QString> property(const QString& name) const override;

    Handler onTick;

private:
    int interval_ = 0;
};

// A folder browser showing folders only; its path is the folder shown. Setting the path
// runs the change handler.
class FolderList : public Control {
public:
    FolderList(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::FolderList) {}
    const QString& path() const { return path_; }
    void setPath(const QString& path) { assign(path_, path, onChange); }
    std::optional<QString> property(const QString& name) const override;
    bool browse(const QString& path) override {
        setPath(path);
        return true;
    }

    Handler onChange;

private:
    QString path_;
};

// The drives and mounted volumes to browse: each a root path with a readable name.
class DriveList : public Control {
public:
    struct Drive {
        QString path;
        QString label;
        friend bool operator==(const Drive&, const Drive&) = default;
    };

    DriveList(Window& window, ControlName name)
        : Control(window, std::move(name), ControlKind::DriveList) {}
    const QString& drive() const { return drive_; }
    void setDrive(const QString& drive) { assign(drive_, drive, onChange); }
    const std::vector<Drive>& drives() const { return drives_; }
    void setDrives(const std::vector<Drive>& drives);
    std::optional<QString> property(const QString& name) const override;
    bool browse(const QString& path) override {
        setDrive(path);
        return true;
    }

    Handler onChange;

private:
    QString drive_;
    std::vector<Drive> drives_;
};

// A family of like controls named Prefix1 .. PrefixN ("txt1" .. "txt20"), 1-based.
template <class C, int N> class ControlArray {
public:
    ControlArray(Window& window, const char* prefix) {
        for (int i = 1; i <= N; ++i) {
            const QString name = QString::fromLatin1(prefix) + QString::number(i);
            items_.push_back(std::make_unique<C>(window, name));
        }
    }
    C& operator()(int n) { return *items_.at(std::size_t(n - 1)); }
    const C& operator()(int n) const { return *items_.at(std::size_t(n - 1)); }
    static constexpr int size() { return N; }

private:
    std::vector<std::unique_ptr<C>> items_;
};

} // namespace forms
