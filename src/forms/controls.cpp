#include "forms/controls.h"

#include "forms/window.h"

#include <QRegularExpression>
#include <algorithm>

namespace forms {

namespace {
QString boolText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
} // namespace

Control::Control(Window& window, ControlName name, ControlKind kind)
    : window_(window), name_(std::move(name.text)), kind_(kind) {
    // Entry fields are drawn like the window's content, everything else like a button.
    const bool entry = kind == ControlKind::TextBox || kind == ControlKind::ListBox ||
                       kind == ControlKind::ComboBox || kind == ControlKind::Shape;
    foreColor_ = entry ? colors::WindowText : colors::ButtonText;
    backColor_ = entry ? colors::WindowBackground : colors::ButtonFace;
    window.registerControl(this);
}

Control::~Control() = default;

void Control::setVisible(bool visible) { update(visible_, visible); }

void Control::setEnabled(bool enabled) { update(enabled_, enabled); }

void Control::setForeColor(Color color) { update(foreColor_, color); }

void Control::setBackColor(Color color) { update(backColor_, color); }

void Control::setToolTip(const QString& toolTip) { update(toolTip_, toolTip); }

void Control::setBold(bool bold) { update(bold_, bold); }

std::optional<QString> Placed::geometryProperty(const QString& name) const {
    if (name == QLatin1String("left")) return QString::number(geometry_.left);
    if (name == QLatin1String("top")) return QString::number(geometry_.top);
    if (name == QLatin1String("width")) return QString::number(geometry_.width);
    if (name == QLatin1String("height")) return QString::number(geometry_.height);
    return std::nullopt;
}

void Control::move(int left, int top) { move(left, top, width(), height()); }

void Control::move(int left, int top, int width, int height) {
    setGeometry(Geometry{left, top, width, height});
}

bool Control::usable() const {
    for (const Control* c = this; c; c = c->container()) {
        if (!c->visible() || !c->enabled()) return false;
    }
    return window_.visible();
}

std::optional<QString> Control::property(const QString& name) const {
    if (name == QLatin1String("visible")) return boolText(visible_);
    if (name == QLatin1String("enabled")) return boolText(enabled_);
    if (name == QLatin1String("forecolor")) return colorText(foreColor_);
    if (name == QLatin1String("backcolor")) return colorText(backColor_);
    if (name == QLatin1String("tooltip")) return toolTip_;
    if (name == QLatin1String("bold")) return boolText(bold_);
    return geometryProperty(name);
}

void Control::assign(QString& field, const QString& value, const Handler& handler) {
    if (update(field, value)) run(handler);
}

void TextBox::assignAndRun(const QString& text) {
    update(text_, text);
    run(onChange);
}

void TextBox::setLocked(bool locked) { update(locked_, locked); }

bool TextBox::type(const QString& text) {
    setText(text);
    return true;
}

bool Label::click() {
    if (!onClick) return false;
    run(onClick);
    return true;
}

std::optional<QString> TextBox::property(const QString& name) const {
    if (name == QLatin1String("text")) return text_;
    if (name == QLatin1String("locked")) return boolText(locked_);
    return Control::property(name);
}

std::optional<QString> Label::property(const QString& name) const {
    if (name == QLatin1String("caption") || name == QLatin1String("text")) return caption_;
    return Control::property(name);
}

void CheckBox::setCaption(const QString& caption) { update(caption_, caption); }

void CheckBox::setValue(int value) {
    if (update(value_, value)) run(onClick);
}

std::optional<QString> CheckBox::property(const QString& name) const {
    if (name == QLatin1String("caption")) return caption_;
    if (name == QLatin1String("value")) return QString::number(value_);
    return Control::property(name);
}

void OptionButton::setCaption(const QString& caption) { update(caption_, caption); }

void OptionButton::setValue(bool value) {
    if (value_ == value) return;
    if (value) {
        for (Control* other : window().controls()) {
            if (other != this && other->kind() == ControlKind::OptionButton &&
                other->container() == container()) {
                auto* option = static_cast<OptionButton*>(other);
                if (option->value_) {
                    option->value_ = false;
                    option->changed();
                }
            }
        }
    }
    value_ = value;
    changed();
    if (value) run(onClick);
}

std::optional<QString> OptionButton::property(const QString& name) const {
    if (name == QLatin1String("caption")) return caption_;
    if (name == QLatin1String("value")) return boolText(value_);
    return Control::property(name);
}

void CommandButton::setCaption(const QString& caption) { update(caption_, caption); }

std::optional<QString> CommandButton::property(const QString& name) const {
    if (name == QLatin1String("caption")) return caption_;
    return Control::property(name);
}

void Frame::setCaption(const QString& caption) { update(caption_, caption); }

std::optional<QString> Frame::property(const QString& name) const {
    if (name == QLatin1String("caption")) return caption_;
    return Control::property(name);
}

QString ListBox::item(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : QString();
}

void ListBox::addItem(const QString& item) {
    items_.append(item);
    itemsChanged(true);
}

void ListBox::setItems(const QStringList& items) {
    if (items_ == items && listIndex_ == -1) return;
    items_ = items;
    listIndex_ = -1;
    itemsChanged(false);
}

void ListBox::clear() {
    if (items_.isEmpty() && listIndex_ == -1) return;
    items_.clear();
    listIndex_ = -1;
    itemsChanged(false);
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= items_.size()) index = -1;
    if (update(listIndex_, index)) run(onClick);
}

namespace {
// "list(3)" -> 3
std::optional<int> listEntryIndex(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^list\\((\\d+)\\)$"));
    auto match = pattern.match(name);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt();
}

std::optional<QString> listProperty(const QString& name, const QStringList& items, int index) {
    if (name == QLatin1String("listcount")) return QString::number(items.size());
    if (name == QLatin1String("listindex")) return QString::number(index);
    if (auto entry = listEntryIndex(name)) {
        return *entry < items.size() ? items.at(*entry) : QString();
    }
    return std::nullopt;
}
} // namespace

std::optional<QString> ListBox::property(const QString& name) const {
    if (name == QLatin1String("text")) return selectedText();
    if (auto value = listProperty(name, items_, listIndex_)) return value;
    return Control::property(name);
}

void ComboBox::addItem(const QString& item) {
    items_.append(item);
    changed();
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= items_.size()) index = -1;
    if (!update(listIndex_, index)) return;
    if (index >= 0) setText(items_.at(index));
    run(onClick);
}

std::optional<QString> ComboBox::property(const QString& name) const {
    if (name == QLatin1String("text")) return text_;
    if (auto value = listProperty(name, items_, listIndex_)) return value;
    return Control::property(name);
}

void Image::setPicture(const QImage& picture) {
    picture_ = picture;
    if (!stretch_) {
        move(left(), top(), picture.width() * kTwipsPerPixel, picture.height() * kTwipsPerPixel);
    }
    changed();
}

void Image::setStretch(bool stretch) {
    if (stretch_ == stretch) return;
    stretch_ = stretch;
    if (!stretch_) {
        move(left(), top(), picture_.width() * kTwipsPerPixel, picture_.height() * kTwipsPerPixel);
    }
    changed();
}

std::optional<QString> Image::property(const QString& name) const {
    if (name == QLatin1String("stretch")) return boolText(stretch_);
    if (name == QLatin1String("picture")) {
        if (picture_.isNull()) return QString();
        return QStringLiteral("%1x%2").arg(picture_.width()).arg(picture_.height());
    }
    return Control::property(name);
}

void Timer::setInterval(int milliseconds) { update(interval_, milliseconds); }

std::optional<QString> Timer::property(const QString& name) const {
    if (name == QLatin1String("interval")) return QString::number(interval_);
    return Control::property(name);
}

std::optional<QString> FolderList::property(const QString& name) const {
    if (name == QLatin1String("path")) return path_;
    return Control::property(name);
}

void DriveList::setDrives(const std::vector<Drive>& drives) {
    if (drives_ == drives) return;
    drives_ = drives;
    changed();
}

std::optional<QString> DriveList::property(const QString& name) const {
    if (name == QLatin1String("drive") || name == QLatin1String("path")) return drive_;
    QStringList paths;
    for (const Drive& drive : drives_)
        paths << drive.path;
    if (auto value = listProperty(name, paths, int(paths.indexOf(drive_)))) return value;
    return Control::property(name);
}

} // namespace forms
