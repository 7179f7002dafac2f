#include "gui/binder.h"

#include "common/settings_file.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "gui/view.h"
#include "platform/folders.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace gui {

int& modalDepth() {
    static int depth = 0;
    return depth;
}

void applyColors(QWidget* widget, forms::Color fore, forms::Color back, bool paintBack) {
    QPalette palette = widget->palette();
    const QColor foreColor = forms::toQColor(fore);
    // The disabled group keeps the style's greyed text, so a disabled control looks it.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, foreColor);
        palette.setColor(group, QPalette::Text, foreColor);
        palette.setColor(group, QPalette::ButtonText, foreColor);
    }
    if (paintBack) {
        const QColor backColor = forms::toQColor(back);
        palette.setColor(QPalette::Window, backColor);
        palette.setColor(QPalette::Base, backColor);
        palette.setColor(QPalette::Button, backColor);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(paintBack && !forms::isSystemColor(back));
}

Binder::Binder(App& app, QObject* parent) : QObject(parent), app_(app) {}

Binder::~Binder() { detach(); }

void Binder::detach() {
    for (const auto& [model, id] : subscriptions_)
        model->unsubscribe(id);
    subscriptions_.clear();
    // A view is deleted later than its model: nothing it holds may reach the model after
    // this, neither a widget's signal nor a timer's tick.
    for (const QPointer<QObject>& sender : senders_) {
        if (!sender) continue;
        if (auto* timer = qobject_cast<QTimer*>(sender.data())) timer->stop();
        sender->disconnect(this);
    }
    senders_.clear();
    if (languageSubscription_) app_.languageSwitched.unsubscribe(languageSubscription_);
    languageSubscription_ = 0;
    spoken_.clear();
    spokenWidgets_.clear();
    hoverActions_.clear();
    clickActions_.clear();
    keyActions_.clear();
    enterActions_.clear();
    widgets_.clear();
}

void Binder::userEvent(const std::function<void()>& action) {
    app_.userEvent(action);
    if (!app_.ended()) return;
    // A document opened on the way out (the closing note in the report viewer) stays
    // until its own window is closed; the windows of the program are gone already.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !dynamic_cast<View*>(window)) {
            QGuiApplication::setQuitOnLastWindowClosed(true);
            return;
        }
    }
    QCoreApplication::quit();
}

void Binder::follow(forms::Observable& model, std::function<void()> redraw) {
    redraw();
    subscriptions_.emplace_back(&model, model.subscribe(std::move(redraw)));
}

void Binder::common(forms::Control& model, QWidget* widget) {
    if (!widgetOf(model)) widgets_.emplace_back(&model, widget);
    // A widget bound before it has its parent would become a window of its own if shown;
    // it shows with its parent instead. Hiding is remembered across the reparenting.
    if (!widget->isWindow() || !model.visible()) widget->setVisible(model.visible());
    widget->setEnabled(model.enabled());
    widget->setToolTip(model.toolTip());
    spoken(model, widget);
    QFont font = widget->font();
    if (font.bold() != model.bold()) {
        font.setBold(model.bold());
        widget->setFont(font);
    }
}

void Binder::hoverable(forms::Control& model, QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    hoverActions_.emplace_back(widget, [this, &model] {
        if (model.usable()) userEvent([&model] { model.hover(); });
        return true;
    });
}

void Binder::clickable(forms::Control& model, QWidget* widget) {
    widget->installEventFilter(this);
    auto click = [this, &model] {
        if (model.usable()) userEvent([&model] { model.click(); });
        return true;
    };
    clickActions_.emplace_back(widget, click);
    // Reachable with Tab and worked with Space or Enter, like a button.
    widget->setFocusPolicy(Qt::StrongFocus);
    keyActions_.emplace_back(widget, click);
}

namespace {
bool isActivationKey(const QEvent* event, bool spaceToo) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || (spaceToo && key == Qt::Key_Space);
}

// Runs the action registered for `watched`; true when there was one.
bool runFor(const std::vector<std::pair<QObject*, std::function<bool()>>>& actions,
            QObject* watched) {
    for (const auto& [object, action] : actions) {
        if (object == watched) {
            auto run = action; // the action may change the list
            return run();
        }
    }
    return false;
}
} // namespace

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        runFor(hoverActions_, watched);
        break;
    case QEvent::MouseButtonRelease:
        if (runFor(clickActions_, watched)) return true;
        break;
    case QEvent::KeyPress:
        if (isActivationKey(event, true) && runFor(keyActions_, watched)) return true;
        if (isActivationKey(event, false) && runFor(enterActions_, watched)) return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

namespace {
// An editable drop-down list has a text field of its own that takes the keyboard: it is
// named with the list.
void setSpokenName(QWidget* widget, const QString& name) {
    widget->setAccessibleName(name);
    auto* list = qobject_cast<QComboBox*>(widget);
    if (list && list->lineEdit()) list->lineEdit()->setAccessibleName(name);
}
} // namespace

void Binder::followLanguage() {
    if (languageSubscription_) return;
    language_ = app_.language();
    languageSubscription_ = app_.languageSwitched.subscribe([this](const QString& language) {
        language_ = language;
        for (const Spoken& row : spoken_) {
            if (QWidget* widget = widgetOf(*row.control)) spoken(*row.control, widget);
        }
        for (const auto& [widget, row] : spokenWidgets_) {
            if (widget) setSpokenName(widget, forms::say(language_, row.nameRu, row.nameEn));
        }
    });
}

void Binder::speak(const std::vector<Spoken>& rows) {
    followLanguage();
    spoken_.insert(spoken_.end(), rows.begin(), rows.end());
    for (const Spoken& row : rows) {
        if (QWidget* widget = widgetOf(*row.control)) spoken(*row.control, widget);
    }
}

void Binder::speak(QWidget* widget, const char* nameRu, const char* nameEn) {
    followLanguage();
    spokenWidgets_.emplace_back(widget, Spoken{nullptr, nameRu, nameEn});
    setSpokenName(widget, forms::say(language_, nameRu, nameEn));
}

void Binder::spoken(const forms::Control& model, QWidget* widget) const {
    for (const Spoken& row : spoken_) {
        if (row.control != &model) continue;
        // A language without a name of its own reads the caption (a null name).
        if (row.nameRu || row.nameEn)
            setSpokenName(widget, forms::say(language_, row.nameRu, row.nameEn));
        if (row.descriptionRu || row.descriptionEn) {
            widget->setAccessibleDescription(
                forms::say(language_, row.descriptionRu, row.descriptionEn));
        }
        return;
    }
}

namespace {
QString spokenCaption(const forms::Label& label) {
    QString name = label.caption().trimmed();
    // A heading's closing colon is not read out.
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name;
}
} // namespace

void Binder::nameAfter(forms::Label& label, QWidget* field) {
    follow(label, [this, &label, field] {
        setSpokenName(field, spokenCaption(label));
        // A drop-down list is named by its entry on this desktop; the label reaches a
        // screen reader as its "labelled by" instead (a sibling label only).
        auto* shown = qobject_cast<QLabel*>(widgetOf(label));
        if (shown && qobject_cast<QComboBox*>(field)) shown->setBuddy(field);
    });
}

void Binder::nameAfter(forms::Label& row, forms::Label& column, QWidget* field) {
    auto name = [&row, &column, field] {
        setSpokenName(field, spokenCaption(row) + QStringLiteral(", ") + spokenCaption(column));
    };
    follow(row, name);
    follow(column, name);
}

void Binder::pressOnEnter(QLineEdit* field, forms::TextBox& text, forms::CommandButton& button) {
    field->installEventFilter(this);
    enterActions_.emplace_back(field, [this, field, &text, &button] {
        if (!button.usable()) return true;
        // The key never reaches the field, so a text that commits on finish is handed
        // over here, before the button acts on it.
        const QString typed = field->text();
        userEvent([&text, &button, typed] {
            if (text.commitOnFinish() && text.text() != typed) text.setText(typed);
            if (button.usable()) button.press();
        });
        return true;
    });
}

QWidget* Binder::widgetOf(const forms::Control& control) const {
    for (const auto& [model, widget] : widgets_) {
        if (model == &control) return widget;
    }
    return nullptr;
}

void Binder::bind(forms::TextBox& model, QLineEdit* widget) {
    follow(model, [&model, widget, this] {
        if (widget->text() != model.text()) widget->setText(model.text());
        widget->setReadOnly(model.locked());
        applyColors(widget, model.foreColor(), model.backColor(), true);
        widget->setAutoFillBackground(false);
        common(model, widget);
    });
    if (model.commitOnFinish()) {
        on(widget, &QLineEdit::editingFinished, [this, &model, widget] {
            const QString text = widget->text();
            if (text != model.text()) userEvent([&model, text] { model.setText(text); });
        });
    } else {
        on(widget, &QLineEdit::textEdited, [this, &model](const QString& text) {
            userEvent([&model, text] { model.setText(text); });
        });
    }
}

void Binder::bind(forms::TextBox& model, QPlainTextEdit* widget) {
    follow(model, [&model, widget, this] {
        QString text = model.text();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (model.locked() && text.endsWith(QLatin1Char('\n'))) text.chop(1);
        if (widget->toPlainText() != text) {
            QSignalBlocker block(widget);
            widget->setPlainText(text);
        }
        widget->setReadOnly(model.locked());
        applyColors(widget, model.foreColor(), model.backColor(), true);
        common(model, widget);
    });
    on(widget, &QPlainTextEdit::textChanged, [this, &model, widget] {
        if (model.locked()) return;
        QString text = widget->toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        if (text != model.text()) userEvent([&model, text] { model.setText(text); });
    });
}

void Binder::bind(forms::Label& model, QLabel* widget) {
    widget->setTextFormat(Qt::PlainText);
    const bool link = model.isLink();
    if (link) {
        widget->setCursor(Qt::PointingHandCursor);
        widget->setProperty(kLinkProperty, true);
        // What a screen reader was told of the label before it became a link is made anew.
        if (QAccessible::isActive()) {
            QAccessibleInterface* told = QAccessible::queryAccessibleInterface(widget);
            if (told && told->role() != QAccessible::Link)
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(told));
        }
        QFont font = widget->font();
        font.setUnderline(true);
        widget->setFont(font);
        // A focused link shows it; the transparent border keeps the layout still.
        widget->setStyleSheet(QStringLiteral("QLabel { border: 1px solid transparent; }"
                                             "QLabel:focus { border: 1px dotted palette(text); }"));
        clickable(model, widget);
    }
    follow(model, [&model, widget, this, link] {
        // A caption read from a file ends in its line end; drawn, that would be an empty
        // last line.
        QString caption = model.caption();
        if (caption.endsWith(QLatin1String("\r\n")))
            caption.chop(2);
        else if (caption.endsWith(QLatin1Char('\n')))
            caption.chop(1);
        if (widget->text() != caption) widget->setText(caption);
        const forms::Color fore = link && model.foreColor() == forms::colors::ButtonText
                                      ? forms::colors::Blue
                                      : model.foreColor();
        applyColors(widget, fore, model.backColor(), !forms::isSystemColor(model.backColor()));
        common(model, widget);
    });
    if (model.onMouseMove) hoverable(model, widget);
}

void Binder::bind(forms::CheckBox& model, QCheckBox* widget) {
    follow(model, [&model, widget, this] {
        widget->setText(model.caption());
        widget->setChecked(model.checked());
        common(model, widget);
    });
    on(widget, &QCheckBox::clicked, [this, &model, widget] {
        userEvent([&model] { model.click(); });
        // The model may refuse the change (a wrong password, say).
        if (!app_.ended()) widget->setChecked(model.checked());
    });
}

void Binder::bind(forms::OptionButton& model, QRadioButton* widget) {
    widget->setAutoExclusive(false);
    follow(model, [&model, widget, this] {
        widget->setText(model.caption());
        widget->setChecked(model.value());
        applyColors(widget, model.foreColor(), model.backColor(),
                    !forms::isSystemColor(model.backColor()));
        common(model, widget);
    });
    on(widget, &QRadioButton::clicked, [this, &model, widget] {
        userEvent([&model] { model.click(); });
        if (!app_.ended()) widget->setChecked(model.value());
    });
}

void Binder::bind(forms::CommandButton& model, QPushButton* widget) {
    follow(model, [&model, widget, this] {
        widget->setText(model.caption());
        common(model, widget);
    });
    on(widget, &QPushButton::clicked, [this, &model] { userEvent([&model] { model.press(); }); });
}

void Binder::bind(forms::Frame& model, QWidget* widget) {
    follow(model, [&model, widget, this] {
        if (auto* box = qobject_cast<QGroupBox*>(widget)) box->setTitle(model.caption());
        common(model, widget);
    });
    if (model.onMouseMove) hoverable(model, widget);
}

void Binder::bind(forms::ListBox& model, QListWidget* widget) {
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Entries are single lines: their height is measured once, not once per entry.
    widget->setUniformItemSizes(true);
    auto revision = std::make_shared<int>(-1);
    follow(model, [&model, widget, revision, this] {
        QSignalBlocker block(widget);
        // Only what changed: an append adds the new entries, anything else refills; a
        // change of colour or selection touches no entry. So a long list fills in linear
        // time however it is filled.
        if (*revision != model.itemsRevision()) {
            const bool appendedOnly =
                model.lastChangeAppended() && *revision == model.itemsRevision() - 1;
            if (!appendedOnly) widget->clear();
            // One insertion for all new entries: the view lays its rows out once.
            widget->addItems(model.items().mid(widget->count()));
            *revision = model.itemsRevision();
        }
        if (model.listIndex() < 0) {
            widget->clearSelection();
        } else {
            widget->setCurrentRow(model.listIndex());
        }
        applyColors(widget, model.foreColor(), model.backColor(), true);
        widget->setAutoFillBackground(false);
        common(model, widget);
    });
    // Only an explicit choice chooses: a click, or Space or Enter on the entry the arrow
    // keys moved to. Tabbing into the list or moving through it chooses nothing.
    on(widget, &QListWidget::itemClicked, [this, &model, widget](QListWidgetItem* item) {
        const int row = widget->row(item);
        if (row >= 0 && model.usable()) userEvent([&model, row] { model.setListIndex(row); });
    });
    widget->installEventFilter(this);
    keyActions_.emplace_back(widget, [this, &model, widget] {
        const int row = widget->currentRow();
        // Enter on the entry already chosen goes on to the window's default button.
        if (row < 0 || row == model.listIndex() || !model.usable()) return false;
        userEvent([&model, row] { model.setListIndex(row); });
        return true;
    });
}

void Binder::bind(forms::ComboBox& model, QComboBox* widget) {
    widget->setEditable(true);
    follow(model, [&model, widget, this] {
        QSignalBlocker block(widget);
        QStringList shown;
        for (int i = 0; i < widget->count(); ++i)
            shown << widget->itemText(i);
        if (shown != model.items()) {
            widget->clear();
            widget->addItems(model.items());
        }
        if (widget->currentText() != model.text()) widget->setEditText(model.text());
        common(model, widget);
    });
    on(widget->lineEdit(), &QLineEdit::textEdited,
       [this, &model](const QString& text) { userEvent([&model, text] { model.setText(text); }); });
    on(widget, &QComboBox::activated,
       [this, &model](int index) { userEvent([&model, index] { model.setListIndex(index); }); });
}

void Binder::bind(forms::Image& model, QLabel* widget, QSize fitInto) {
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    follow(model, [&model, widget, fitInto, this] {
        if (model.picture().isNull()) {
            widget->clear();
            widget->setFixedSize(0, 0);
        } else {
            QPixmap pixmap = QPixmap::fromImage(model.picture());
            if (model.stretch()) {
                pixmap = pixmap.scaled(model.width() / forms::kTwipsPerPixel,
                                       model.height() / forms::kTwipsPerPixel,
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            }
            if (fitInto.isValid() &&
                (pixmap.width() > fitInto.width() || pixmap.height() > fitInto.height())) {
                pixmap = pixmap.scaled(fitInto, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            }
            widget->setPixmap(pixmap);
            widget->setFixedSize(pixmap.size());
        }
        common(model, widget);
    });
    if (model.onClick) clickable(model, widget);
}

void Binder::bind(forms::Shape& model, QWidget* widget) {
    follow(model, [&model, widget, this] {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, forms::toQColor(model.backColor()));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
        common(model, widget);
    });
}

namespace {

// The folders inside `folder` in the order a person reads them ("биология" beside
// "Биология", not after every capital): each name's collation key made once, where a
// locale-aware sort would compare through the collator some 130,000 times for 10,000.
QStringList foldersInReadingOrder(const QString& folder) {
    const QStringList names = platform::entryNames(folder, platform::Entries::FoldersOnly);
    // Lower case first, then the locale's order: a collator told to ignore case leaves the
    // capitals first where the locale has no rules of its own (the "C" locale).
    const QCollator collator;
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(std::size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        keys.emplace_back(collator.sortKey(names[i].toLower()), i);
    std::sort(keys.begin(), keys.end(), [&names](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : names[a.second] < names[b.second];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto& key : keys)
        sorted.append(names[key.second]);
    return sorted;
}

} // namespace

void Binder::bind(forms::FolderList& model, QListWidget* widget) {
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    // Rows of one line and one icon: measured once, not once per folder.
    widget->setUniformItemSizes(true);
    follow(model, [&model, widget, this] {
        QSignalBlocker block(widget);
        widget->clear();
        // The way down from the root, each level indented further, then the folders inside
        // the one shown.
        QStringList chain;
        for (QDir level(model.path()); !model.path().isEmpty();) {
            chain.prepend(level.absolutePath());
            if (!level.cdUp()) break;
        }
        const QDir shown(model.path());
        const QStringList children =
            model.path().isEmpty() ? QStringList() : foldersInReadingOrder(model.path());
        QStringList rows;
        rows.reserve(chain.size() + children.size());
        for (qsizetype depth = 0; depth < chain.size(); ++depth) {
            const QString name = QDir(chain[depth]).dirName();
            rows.append(QString(depth * 3, QLatin1Char(' ')) +
                        (name.isEmpty() ? chain[depth] : name));
        }
        const QString indent(chain.size() * 3, QLatin1Char(' '));
        for (const QString& child : children)
            rows.append(indent + child);
        // All rows in one insertion; their icons and paths then set without a change signal
        // per row (the list is drawn once, afterwards).
        widget->addItems(rows);
        {
            const QSignalBlocker quiet(widget->model());
            const QIcon closed = widget->style()->standardIcon(QStyle::SP_DirClosedIcon);
            const QIcon open = widget->style()->standardIcon(QStyle::SP_DirOpenIcon);
            for (qsizetype row = 0; row < rows.size(); ++row) {
                const bool onTheWay = row < chain.size();
                QListWidgetItem* item = widget->item(int(row));
                item->setIcon(onTheWay ? open : closed);
                item->setData(
                    Qt::UserRole,
                    QDir::toNativeSeparators(
                        onTheWay ? chain[row] : shown.filePath(children[row - chain.size()])));
            }
        }
        if (!chain.isEmpty()) widget->setCurrentRow(int(chain.size() - 1));
        widget->viewport()->update();
        common(model, widget);
    });
    auto go = [this, &model](QListWidgetItem* item) {
        const QString path = item->data(Qt::UserRole).toString();
        if (path != model.path() && model.usable())
            userEvent([&model, path] { model.setPath(path); });
    };
    // A double-click or Enter opens a folder; a click only chooses the row, so the second
    // click of a double-click never lands in a folder the first one opened.
    on(widget, &QListWidget::itemActivated, go);
}

void Binder::bind(forms::DriveList& model, QComboBox* widget) {
    widget->setEditable(false);
    follow(model, [&model, widget, this] {
        QSignalBlocker block(widget);
        widget->clear();
        int current = -1;
        for (const forms::DriveList::Drive& drive : model.drives()) {
            if (drive.path == model.drive()) current = widget->count();
            widget->addItem(drive.label, drive.path);
        }
        widget->setCurrentIndex(current);
        common(model, widget);
    });
    on(widget, &QComboBox::activated, [this, &model, widget](int index) {
        const QString path = widget->itemData(index).toString();
        if (model.usable()) userEvent([&model, path] { model.setDrive(path); });
    });
}

void Binder::bind(forms::Timer& model) {
    auto* timer = new QTimer(this);
    follow(model, [&model, timer] {
        const bool run = model.enabled() && model.interval() > 0;
        if (run && (!timer->isActive() || timer->interval() != model.interval())) {
            timer->start(model.interval());
        } else if (!run && timer->isActive()) {
            timer->stop();
        }
    });
    on(timer, &QTimer::timeout, [this, &model] {
        // Ticks come between user events, never inside a modal message.
        if (modalDepth() > 0) return;
        userEvent([&model] { model.tick(); });
    });
}

void Binder::bindWindow(forms::Window& model, QWidget* widget) {
    // The flags last set: Qt reports them with bits of its own added, and setting flags
    // hides and re-shows a window, so comparing with windowFlags() would flash the window
    // and take the keyboard from it at every move.
    auto applied = std::make_shared<std::optional<Qt::WindowFlags>>();
    auto redraw = [&model, widget, applied] {
        widget->setWindowTitle(model.caption());
        // A window left only through its own buttons shows no close button at all, rather
        // than one that does nothing.
        Qt::WindowFlags flags = Qt::Window;
        if (!model.closable()) {
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint;
        }
        if (model.topmost()) flags |= Qt::WindowStaysOnTopHint;
        if (*applied != flags) {
            widget->setWindowFlags(flags);
            *applied = flags;
        }
        if (widget->isVisible() != model.visible()) widget->setVisible(model.visible());
    };
    redraw();
    subscriptions_.emplace_back(&model, model.subscribe(redraw));
}

} // namespace gui
