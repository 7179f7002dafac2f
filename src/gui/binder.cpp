#include "gui/binder.h"

#include "forms/app.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

#include <memory>
#include <optional>

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
    hoverActions_.clear();
    clickActions_.clear();
}

void Binder::userEvent(const std::function<void()>& action) {
    app_.userEvent(action);
    if (app_.ended()) QCoreApplication::quit();
}

void Binder::follow(forms::Observable& model, std::function<void()> redraw) {
    redraw();
    subscriptions_.emplace_back(&model, model.subscribe(std::move(redraw)));
}

void Binder::common(forms::Control& model, QWidget* widget) {
    // A widget bound before it has its parent would become a window of its own if shown;
    // it shows with its parent instead. Hiding is remembered across the reparenting.
    if (!widget->isWindow() || !model.visible()) widget->setVisible(model.visible());
    widget->setEnabled(model.enabled());
    widget->setToolTip(model.toolTip());
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
    });
}

void Binder::clickable(forms::Control& model, QWidget* widget) {
    widget->installEventFilter(this);
    clickActions_.emplace_back(widget, [this, &model] {
        if (model.usable()) userEvent([&model] { model.click(); });
    });
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        for (auto& [object, action] : hoverActions_) {
            if (object == watched) {
                auto run = action;
                run();
                break;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        for (auto& [object, action] : clickActions_) {
            if (object == watched) {
                auto run = action;
                run();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
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
        connect(widget, &QLineEdit::editingFinished, this, [this, &model, widget] {
            const QString text = widget->text();
            if (text != model.text()) userEvent([&model, text] { model.setText(text); });
        });
    } else {
        connect(widget, &QLineEdit::textEdited, this, [this, &model](const QString& text) {
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
    connect(widget, &QPlainTextEdit::textChanged, this, [this, &model, widget] {
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
        QFont font = widget->font();
        font.setUnderline(true);
        widget->setFont(font);
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
    connect(widget, &QCheckBox::clicked, this, [this, &model, widget] {
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
    connect(widget, &QRadioButton::clicked, this, [this, &model, widget] {
        userEvent([&model] { model.click(); });
        if (!app_.ended()) widget->setChecked(model.value());
    });
}

void Binder::bind(forms::CommandButton& model, QPushButton* widget) {
    follow(model, [&model, widget, this] {
        widget->setText(model.caption());
        common(model, widget);
    });
    connect(widget, &QPushButton::clicked, this,
            [this, &model] { userEvent([&model] { model.press(); }); });
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
    follow(model, [&model, widget, this] {
        QSignalBlocker block(widget);
        QStringList shown;
        for (int i = 0; i < widget->count(); ++i)
            shown << widget->item(i)->text();
        if (shown != model.items()) {
            widget->clear();
            widget->addItems(model.items());
        }
        widget->setCurrentRow(model.listIndex());
        applyColors(widget, model.foreColor(), model.backColor(), true);
        widget->setAutoFillBackground(false);
        common(model, widget);
    });
    connect(widget, &QListWidget::currentRowChanged, this, [this, &model](int row) {
        if (row >= 0) userEvent([&model, row] { model.setListIndex(row); });
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
    connect(widget->lineEdit(), &QLineEdit::textEdited, this, [this, &model](const QString& text) {
        userEvent([&model, text] { model.setText(text); });
    });
    connect(widget, &QComboBox::activated, this, [this, &model](int index) {
        userEvent([&model, index] { model.setListIndex(index); });
    });
}

void Binder::bind(forms::Image& model, QLabel* widget) {
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    follow(model, [&model, widget, this] {
        if (model.picture().isNull()) {
            widget->clear();
        } else {
            QPixmap pixmap = QPixmap::fromImage(model.picture());
            if (model.stretch()) {
                pixmap = pixmap.scaled(model.width() / forms::kTwipsPerPixel,
                                       model.height() / forms::kTwipsPerPixel,
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

void Binder::bind(forms::FolderList& model, QListWidget* widget) {
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    follow(model, [&model, widget, this] {
        QSignalBlocker block(widget);
        widget->clear();
        const QIcon closed = widget->style()->standardIcon(QStyle::SP_DirClosedIcon);
        const QIcon open = widget->style()->standardIcon(QStyle::SP_DirOpenIcon);
        // The way down from the root, each level indented further...
        QStringList chain;
        for (QDir level(model.path()); !model.path().isEmpty();) {
            chain.prepend(level.absolutePath());
            if (!level.cdUp()) break;
        }
        int depth = 0;
        QListWidgetItem* current = nullptr;
        for (const QString& path : chain) {
            const QString name = QDir(path).dirName().isEmpty() ? path : QDir(path).dirName();
            current = new QListWidgetItem(open, QString(depth * 3, QLatin1Char(' ')) + name);
            current->setData(Qt::UserRole, QDir::toNativeSeparators(path));
            widget->addItem(current);
            ++depth;
        }
        // ...then the folders inside the one shown.
        const QDir shown(model.path());
        const QStringList children =
            model.path().isEmpty()
                ? QStringList()
                : shown.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString& child : children) {
            auto* item = new QListWidgetItem(closed, QString(depth * 3, QLatin1Char(' ')) + child);
            item->setData(Qt::UserRole, QDir::toNativeSeparators(shown.filePath(child)));
            widget->addItem(item);
        }
        if (current) widget->setCurrentItem(current);
        common(model, widget);
    });
    auto go = [this, &model](QListWidgetItem* item) {
        const QString path = item->data(Qt::UserRole).toString();
        if (path != model.path() && model.usable())
            userEvent([&model, path] { model.setPath(path); });
    };
    connect(widget, &QListWidget::itemClicked, this, go);
    connect(widget, &QListWidget::itemActivated, this, go);
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
    connect(widget, &QComboBox::activated, this, [this, &model, widget](int index) {
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
    connect(timer, &QTimer::timeout, this, [this, &model] {
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
        const QPoint place(model.left() / forms::kTwipsPerPixel,
                           model.top() / forms::kTwipsPerPixel);
        if (widget->pos() != place) widget->move(place);
        if (widget->isVisible() != model.visible()) widget->setVisible(model.visible());
    };
    redraw();
    subscriptions_.emplace_back(&model, model.subscribe(redraw));
}

} // namespace gui
