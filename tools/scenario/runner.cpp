#include "runner.h"

#include "script.h"

#include "forms/app.h"
#include "forms/window.h"
#include "gui/view.h"
#include "platform/ansi_codec.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"
#include "shell/start_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

namespace scenario {

namespace {

// Ends a scenario file: a check that did not hold (Fail) or a line that cannot be carried
// out at all (Error).
struct Stop {
    Outcome outcome;
    QString what;
};

[[noreturn]] void fail(const QString& what) { throw Stop{Outcome::Fail, what}; }
[[noreturn]] void error(const QString& what) { throw Stop{Outcome::Error, what}; }

QString quote(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"))
        .replace(QLatin1String("\""), QLatin1String("\\\""))
        .replace(QLatin1String("\r"), QLatin1String("\\r"))
        .replace(QLatin1String("\n"), QLatin1String("\\n"))
        .replace(QLatin1String("\t"), QLatin1String("\\t"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

class Session {
public:
    Session(const QString& folder, const QString& snapshots)
        : folder_(QDir::cleanPath(folder)), snapshots_(snapshots),
          app_(folder_, platform::Services{desktop_, desktop_, desktop_, desktop_, desktop_,
                                           desktop_, platform::UserLocale::russian()}) {}

    void run(const Command& command);
    void finish();

private:
    QString text(const Command& command, int index) const;
    QString filePath(const QString& relative) const;
    forms::Window* loadedWindow(const QString& name, bool mustExist);
    forms::Control& control(const QString& reference);
    forms::Control& usableControl(const QString& reference);
    void action(const std::function<void()>& event) { app_.userEvent(event); }
    void expect(const QString& reference, const QString& wanted);
    QByteArray hex(const Command& command, int first) const;
    void snapshot(const QString& name);

    QString folder_;
    QString snapshots_;
    platform::FakeDesktop desktop_;
    App app_;
};

QString Session::text(const Command& command, int index) const {
    const Word& word = command.args.at(std::size_t(index));
    if (!word.quoted) return word.text;
    QString value = word.text;
    value.replace(QLatin1String("$APP"), folder_);
    return value;
}

QString Session::filePath(const QString& relative) const {
    return QDir::cleanPath(QDir(folder_).filePath(relative));
}

forms::Window* Session::loadedWindow(const QString& name, bool mustExist) {
    if (!App::windowNames().contains(name)) error(QStringLiteral("unknown window %1").arg(name));
    forms::Window* window = app_.loadedWindow(name);
    if (!window && mustExist) {
        // Creating it would run its load, which the user cannot do; only tell which.
        if (!App::windowBuilt(name)) {
            error(QStringLiteral("window %1 is not built yet").arg(name));
        }
        fail(QStringLiteral("%1 is not loaded").arg(name));
    }
    return window;
}

forms::Control& Session::control(const QString& reference) {
    const QStringList parts = reference.split(QLatin1Char('.'));
    if (parts.size() != 2 || parts.at(1).isEmpty()) {
        error(QStringLiteral("%1 is not a control (FormN.Control)").arg(reference));
    }
    forms::Window* window = loadedWindow(parts.at(0), true);
    forms::Control* found = window->control(parts.at(1));
    if (!found) error(QStringLiteral("%1 has no control %2").arg(parts.at(0), parts.at(1)));
    return *found;
}

forms::Control& Session::usableControl(const QString& reference) {
    forms::Control& found = control(reference);
    if (!found.usable()) {
        fail(QStringLiteral("%1 cannot be used: it, its frame or its window is hidden or "
                            "disabled")
                 .arg(reference));
    }
    return found;
}

void Session::expect(const QString& reference, const QString& wanted) {
    const QStringList parts = reference.split(QLatin1Char('.'));
    std::optional<QString> found;
    if (parts.size() == 2) {
        forms::Window* window = loadedWindow(parts.at(0), false);
        const QString& property = parts.at(1);
        if (!window) {
            if (property == "loaded" || property == "visible") {
                found = QStringLiteral("false");
            } else if (forms::Window::knownProperty(property)) {
                fail(QStringLiteral("%1 is not loaded").arg(parts.at(0)));
            }
        } else {
            found = window->property(property);
        }
        if (!found) error(QStringLiteral("windows have no property %1").arg(property));
    } else if (parts.size() == 3) {
        forms::Control& target = control(parts.at(0) + QLatin1Char('.') + parts.at(1));
        found = target.property(parts.at(2));
        if (!found) {
            error(QStringLiteral("%1.%2 has no property %3")
                      .arg(parts.at(0), parts.at(1), parts.at(2)));
        }
    } else {
        error(QStringLiteral("%1 is neither FormN.PROP nor FormN.Control.PROP").arg(reference));
    }
    if (*found != wanted) {
        fail(QStringLiteral("expected %1 to be %2, found %3")
                 .arg(reference, quote(wanted), quote(*found)));
    }
}

QByteArray Session::hex(const Command& command, int first) const {
    QString digits;
    for (std::size_t i = std::size_t(first); i < command.args.size(); ++i)
        digits += command.args[i].text;
    digits.remove(QRegularExpression(QStringLiteral("\\s")));
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]*$"));
    if (digits.size() % 2 != 0 || !hexDigits.match(digits).hasMatch()) {
        error(QStringLiteral("not a sequence of hex bytes"));
    }
    return QByteArray::fromHex(digits.toLatin1());
}

void Session::snapshot(const QString& name) {
    if (snapshots_.isEmpty()) return;
    QDir().mkpath(snapshots_);
    for (forms::Window* window : app_.loadedWindows()) {
        if (!window->visible()) continue;
        std::unique_ptr<gui::View> view = gui::createView(app_, *window);
        if (!view) continue;
        view->setAttribute(Qt::WA_DontShowOnScreen, true);
        view->show();
        view->adjustSize();
        const QString file =
            QDir(snapshots_).filePath(name + QLatin1Char('-') + window->name() + ".png");
        if (!view->grab().save(file)) fail(QStringLiteral("could not write %1").arg(file));
        view->detach();
    }
}

void Session::run(const Command& command) {
    const QString& name = command.name;
    auto arg = [&](int index) { return text(command, index); };
    auto count = [&] { return int(command.args.size()); };

    if (name == "folder") {
        if (!QDir().mkpath(filePath(arg(0)))) error(QStringLiteral("cannot create the folder"));
    } else if (name == "file" || name == "bytes") {
        const QString path = filePath(arg(0));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            error(QStringLiteral("cannot write %1").arg(arg(0)));
        file.write(name == "file" ? platform::toAnsi(arg(1)) : hex(command, 1));
    } else if (name == "bitmap") {
        bool okW = false, okH = false;
        const int w = arg(1).toInt(&okW), h = arg(2).toInt(&okH);
        if (!okW || !okH || w <= 0 || h <= 0 || w > 10000 || h > 10000)
            error(QStringLiteral("bad bitmap size"));
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, qRgb(60 + (x * 150) / w, 90 + (y * 120) / h, 170));
        }
        const QString path = filePath(arg(0));
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!image.save(path, "BMP")) error(QStringLiteral("cannot write %1").arg(arg(0)));
    } else if (name == "remove") {
        const QString path = filePath(arg(0));
        QFileInfo info(path);
        if (info.isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    } else if (name == "ini") {
        if (!platform::writeProfileString(app_.settingsFile(), arg(0), arg(1), arg(2))) {
            error(QStringLiteral("cannot write test.ini"));
        }
    } else if (name == "clock") {
        const QDateTime time = QDateTime::fromString(arg(0), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!time.isValid()) error(QStringLiteral("clock wants \"YYYY-MM-DD HH:MM:SS\""));
        desktop_.currentTime = time;
    } else if (name == "locale") {
        if (arg(0) == "ru")
            app_.services().locale = platform::UserLocale::russian();
        else if (arg(0) == "en")
            app_.services().locale = platform::UserLocale::english();
        else
            error(QStringLiteral("locale is ru or en"));
    } else if (name == "random") {
        for (int i = 0; i < count(); ++i) {
            bool ok = false;
            const double value = arg(i).toDouble(&ok);
            if (!ok || value < 0.0 || value >= 1.0)
                error(QStringLiteral("random values lie in [0, 1)"));
            desktop_.randomValues.push_back(value);
        }
    } else if (name == "dialog") {
        const QString answer = arg(0);
        desktop_.fileDialogAnswers.push_back(
            answer.isEmpty() || QDir::isAbsolutePath(answer) ? answer : filePath(answer));
    } else if (name == "start") {
        action([this] { app_.form1().show(); });
    } else if (name == "type") {
        forms::Control& target = usableControl(arg(0));
        const QString value = arg(1);
        if (target.kind() == forms::ControlKind::TextBox) {
            action([&target, value] { static_cast<forms::TextBox&>(target).setText(value); });
        } else if (target.kind() == forms::ControlKind::ComboBox) {
            action([&target, value] { static_cast<forms::ComboBox&>(target).setText(value); });
        } else {
            error(QStringLiteral("%1 is not a text box").arg(arg(0)));
        }
    } else if (name == "click") {
        forms::Control& target = usableControl(arg(0));
        switch (target.kind()) {
        case forms::ControlKind::CommandButton:
            action([&target] { static_cast<forms::CommandButton&>(target).press(); });
            break;
        case forms::ControlKind::Label:
            action([&target] { static_cast<forms::Label&>(target).click(); });
            break;
        case forms::ControlKind::OptionButton:
            action([&target] { static_cast<forms::OptionButton&>(target).click(); });
            break;
        case forms::ControlKind::CheckBox:
            action([&target] { static_cast<forms::CheckBox&>(target).click(); });
            break;
        case forms::ControlKind::Image:
            action([&target] { static_cast<forms::Image&>(target).click(); });
            break;
        default:
            error(QStringLiteral("%1 cannot be clicked").arg(arg(0)));
        }
    } else if (name == "choose") {
        forms::Control& target = usableControl(arg(0));
        bool ok = false;
        const int index = arg(1).toInt(&ok);
        if (!ok || index < 0) error(QStringLiteral("choose wants an index from 0"));
        if (target.kind() == forms::ControlKind::ListBox) {
            auto& list = static_cast<forms::ListBox&>(target);
            if (index >= list.listCount())
                fail(QStringLiteral("%1 has no entry %2").arg(arg(0)).arg(index));
            action([&list, index] { list.setListIndex(index); });
        } else if (target.kind() == forms::ControlKind::ComboBox) {
            auto& combo = static_cast<forms::ComboBox&>(target);
            if (index >= combo.items().size())
                fail(QStringLiteral("%1 has no entry %2").arg(arg(0)).arg(index));
            action([&combo, index] { combo.setListIndex(index); });
        } else {
            error(QStringLiteral("%1 is not a list").arg(arg(0)));
        }
    } else if (name == "folderlist") {
        forms::Control& target = usableControl(arg(0));
        const QString path = arg(1);
        if (target.kind() == forms::ControlKind::FolderList) {
            action([&target, path] { static_cast<forms::FolderList&>(target).setPath(path); });
        } else if (target.kind() == forms::ControlKind::DriveList) {
            action([&target, path] { static_cast<forms::DriveList&>(target).setDrive(path); });
        } else {
            error(QStringLiteral("%1 is not a folder list").arg(arg(0)));
        }
    } else if (name == "hover") {
        forms::Control& target = usableControl(arg(0));
        action([&target] { target.hover(); });
    } else if (name == "tick") {
        int ticks = 1;
        if (count() == 2) {
            bool ok = false;
            ticks = arg(1).toInt(&ok);
            if (!ok || ticks < 1) error(QStringLiteral("tick wants a count from 1"));
        }
        if (control(arg(0)).kind() != forms::ControlKind::Timer)
            error(QStringLiteral("%1 is not a timer").arg(arg(0)));
        for (int i = 0; i < ticks; ++i) {
            // The window may be gone after a tick; look the timer up afresh each time.
            const QString windowName = arg(0).section(QLatin1Char('.'), 0, 0);
            if (!app_.loadedWindow(windowName)) break;
            auto& timer = static_cast<forms::Timer&>(control(arg(0)));
            if (!timer.enabled()) break;
            action([&timer] { timer.tick(); });
        }
    } else if (name == "expect") {
        expect(arg(0), arg(1));
    } else if (name == "message" || name == "message-like") {
        if (desktop_.messages.empty())
            fail(QStringLiteral("expected a message box %1, none was shown").arg(quote(arg(0))));
        const platform::Message shown = desktop_.messages.front();
        desktop_.messages.pop_front();
        if (name == "message") {
            if (shown.text != arg(0))
                fail(QStringLiteral("expected the message %1, found %2")
                         .arg(quote(arg(0)), quote(shown.text)));
            if (count() == 2 && shown.title != arg(1)) {
                fail(QStringLiteral("expected the message title %1, found %2")
                         .arg(quote(arg(1)), quote(shown.title)));
            }
        } else {
            const QRegularExpression pattern(QRegularExpression::anchoredPattern(arg(0)));
            if (!pattern.isValid())
                error(QStringLiteral("bad regular expression: %1").arg(pattern.errorString()));
            if (!pattern.match(shown.text).hasMatch()) {
                fail(QStringLiteral("expected a message like %1, found %2")
                         .arg(quote(arg(0)), quote(shown.text)));
            }
        }
    } else if (name == "nomessage") {
        if (!desktop_.messages.empty())
            fail(QStringLiteral("expected no message box, found %1")
                     .arg(quote(desktop_.messages.front().text)));
    } else if (name == "shell") {
        if (desktop_.shellRequests.empty())
            fail(QStringLiteral("expected a shell request for %1, none was made")
                     .arg(quote(arg(0))));
        const QString requested = desktop_.shellRequests.front();
        desktop_.shellRequests.pop_front();
        const QString wanted = QDir::isAbsolutePath(arg(0)) ? arg(0) : filePath(arg(0));
        if (QDir::cleanPath(requested) != QDir::cleanPath(wanted)) {
            fail(QStringLiteral("expected a shell request for %1, found %2")
                     .arg(quote(wanted), quote(requested)));
        }
    } else if (name == "clipboard") {
        if (desktop_.clipboardText != arg(0))
            fail(QStringLiteral("expected the clipboard to hold %1, found %2")
                     .arg(quote(arg(0)), quote(desktop_.clipboardText)));
    } else if (name == "expect-file" || name == "contains" || name == "expect-bytes") {
        QFile file(filePath(arg(0)));
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("expected the file %1, there is none").arg(arg(0)));
        const QByteArray bytes = file.readAll();
        if (name == "expect-bytes") {
            const QByteArray wanted = hex(command, 1);
            if (bytes != wanted) {
                fail(QStringLiteral("expected %1 to hold bytes %2, found %3")
                         .arg(arg(0), QString::fromLatin1(wanted.toHex(' ')),
                              QString::fromLatin1(bytes.toHex(' '))));
            }
        } else {
            const QString decoded = platform::fromAnsi(bytes);
            if (name == "expect-file" && decoded != arg(1)) {
                fail(QStringLiteral("expected %1 to hold %2, found %3")
                         .arg(arg(0), quote(arg(1)), quote(decoded)));
            }
            if (name == "contains" && !decoded.contains(arg(1))) {
                fail(QStringLiteral("expected %1 to contain %2, found %3")
                         .arg(arg(0), quote(arg(1)), quote(decoded)));
            }
        }
    } else if (name == "nofile") {
        if (QFileInfo::exists(filePath(arg(0))))
            fail(QStringLiteral("expected no file at %1, there is one").arg(arg(0)));
    } else if (name == "expect-ini") {
        const QString found = platform::readProfileString(app_.settingsFile(), arg(0), arg(1));
        if (found != arg(2)) {
            fail(QStringLiteral("expected test.ini [%1] %2 to be %3, found %4")
                     .arg(arg(0), arg(1), quote(arg(2)), quote(found)));
        }
    } else if (name == "ended") {
        if (!app_.ended()) fail(QStringLiteral("expected the program to have ended, it runs"));
    } else if (name == "snapshot") {
        snapshot(arg(0));
    } else {
        error(QStringLiteral("unknown command \"%1\"").arg(name));
    }
}

void Session::finish() {
    if (!desktop_.messages.empty()) {
        fail(
            QStringLiteral("unchecked message box: %1").arg(quote(desktop_.messages.front().text)));
    }
    if (!desktop_.shellRequests.empty()) {
        fail(QStringLiteral("unchecked shell request: %1")
                 .arg(quote(desktop_.shellRequests.front())));
    }
}

} // namespace

Result runFile(const QString& path, const QString& snapshotsFolder) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Outcome::Error, 0, QStringLiteral("cannot read the file")};
    const Script script = parseScript(QString::fromUtf8(file.readAll()));
    if (script.error) return {Outcome::Error, script.error->line, script.error->what};

    QTemporaryDir folder;
    if (!folder.isValid())
        return {Outcome::Error, 0, QStringLiteral("cannot make an application folder")};
    for (const char* sub : {"b", "s", "t", "help"})
        QDir(folder.path()).mkpath(QString::fromLatin1(sub));

    Session session(folder.path(), snapshotsFolder);
    int line = 0;
    try {
        for (const Command& command : script.commands) {
            line = command.line;
            session.run(command);
        }
        session.finish();
    } catch (const Stop& stop) {
        return {stop.outcome, line, stop.what};
    }
    return {};
}

} // namespace scenario
