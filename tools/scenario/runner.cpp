#include "runner.h"

#include "script.h"

#include "common/class_status.h"
#include "forms/app.h"
#include "forms/window.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "platform/ansi_codec.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"

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

class Session {
public:
    Session(const QString& folder, const QString& snapshots, const gui::WindowTable& windows)
        : folder_(QDir::cleanPath(folder)), snapshots_(snapshots), windows_(windows),
          app_(folder_, platform::Services{desktop_, desktop_, desktop_, desktop_, desktop_,
                                           desktop_, platform::UserLocale::russian(), desktop_}) {}

    void run(const Command& command);
    void finish();

    // Set-up.
    void makeFolder();
    void writeFile();
    void writeBitmap();
    void remove();
    void storeIni();
    void setClock();
    void setLocale();
    void queueRandom();
    void queueDialog();
    // Actions.
    void start();
    void type();
    void click();
    void choose();
    void browse();
    void hover();
    void tick();
    // Checks.
    void expect();
    void message();
    void noMessage();
    void shell();
    void clipboard();
    void fileContent();
    void noFile();
    void expectIni();
    void ended();
    void snapshot();
    // Another computer's status for the class window.
    void writeStatus();

private:
    QString arg(int index) const;
    int count() const { return int(command_->args.size()); }
    // A path of the scenario's application folder; a path that leaves it is an error.
    QString filePath(const QString& relative) const;
    forms::Window* loadedWindow(const QString& name, bool mustExist);
    forms::Control& control(const QString& reference);
    forms::Control& usableControl(const QString& reference);
    void action(const std::function<void()>& event) {
        app_.userEvent(event);
        // What the step told the class is on the disk before the next line looks.
        app_.settleClassStatus(5000);
    }
    std::optional<QString> windowProperty(const QString& window, const QString& property);
    QByteArray hex(int first) const;

    QString folder_;
    QString snapshots_;
    const gui::WindowTable& windows_;
    platform::FakeDesktop desktop_;
    App app_;
    const Command* command_ = nullptr;
};

using Step = void (Session::*)();

// What carries out each command of the language; the switch names every Verb (the
// compiler warns of a missing one), so the parser's list and this one cannot part.
Step stepOf(Verb verb) {
    switch (verb) {
    case Verb::Folder:
        return &Session::makeFolder;
    case Verb::File:
    case Verb::Bytes:
        return &Session::writeFile;
    case Verb::Bitmap:
        return &Session::writeBitmap;
    case Verb::Remove:
        return &Session::remove;
    case Verb::Ini:
        return &Session::storeIni;
    case Verb::Clock:
        return &Session::setClock;
    case Verb::Locale:
        return &Session::setLocale;
    case Verb::Random:
        return &Session::queueRandom;
    case Verb::Dialog:
        return &Session::queueDialog;
    case Verb::Start:
        return &Session::start;
    case Verb::Type:
        return &Session::type;
    case Verb::Click:
        return &Session::click;
    case Verb::Choose:
        return &Session::choose;
    case Verb::FolderList:
        return &Session::browse;
    case Verb::Hover:
        return &Session::hover;
    case Verb::Tick:
        return &Session::tick;
    case Verb::Expect:
        return &Session::expect;
    case Verb::Message:
    case Verb::MessageLike:
        return &Session::message;
    case Verb::NoMessage:
        return &Session::noMessage;
    case Verb::Shell:
        return &Session::shell;
    case Verb::Clipboard:
        return &Session::clipboard;
    case Verb::ExpectFile:
    case Verb::ExpectBytes:
    case Verb::Contains:
        return &Session::fileContent;
    case Verb::NoFile:
        return &Session::noFile;
    case Verb::ExpectIni:
        return &Session::expectIni;
    case Verb::Ended:
        return &Session::ended;
    case Verb::Snapshot:
        return &Session::snapshot;
    case Verb::Status:
        return &Session::writeStatus;
    }
    return nullptr;
}

QString Session::arg(int index) const {
    const Word& word = command_->args.at(std::size_t(index));
    if (!word.quoted) return word.text;
    QString value = word.text;
    value.replace(QLatin1String("$APP"), folder_);
    return value;
}

namespace {
bool isInside(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}
} // namespace

QString Session::filePath(const QString& relative) const {
    const QString path = QDir::cleanPath(QDir(folder_).filePath(relative));
    if (!isInside(path, folder_))
        error(QStringLiteral("%1 leaves the application folder").arg(relative));
    return path;
}

forms::Window* Session::loadedWindow(const QString& name, bool mustExist) {
    const gui::WindowEntry* entry = windows_.find(name);
    if (!entry) error(QStringLiteral("unknown window %1").arg(name));
    forms::Window* window = app_.loadedWindow(name);
    if (!window && mustExist) {
        // Creating it would run its load, which the user cannot do; only tell which.
        if (!entry->built()) error(QStringLiteral("window %1 is not built yet").arg(name));
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

QByteArray Session::hex(int first) const {
    QString digits;
    for (int i = first; i < count(); ++i)
        digits += command_->args[std::size_t(i)].text;
    digits.remove(QRegularExpression(QStringLiteral("\\s")));
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]*$"));
    if (digits.size() % 2 != 0 || !hexDigits.match(digits).hasMatch()) {
        error(QStringLiteral("not a sequence of hex bytes"));
    }
    return QByteArray::fromHex(digits.toLatin1());
}

void Session::run(const Command& command) {
    const Step step = stepOf(command.verb);
    if (!step) error(QStringLiteral("unknown command \"%1\"").arg(command.name));
    command_ = &command;
    (this->*step)();
}

// Set-up.

void Session::makeFolder() {
    if (!QDir().mkpath(filePath(arg(0)))) error(QStringLiteral("cannot create the folder"));
}

void Session::writeFile() {
    const bool text = command_->name == QLatin1String("file");
    const QString path = filePath(arg(0));
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = text ? platform::toAnsi(arg(1)) : hex(1);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        error(QStringLiteral("cannot write %1").arg(arg(0)));
}

void Session::writeBitmap() {
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
}

void Session::remove() {
    const QString path = filePath(arg(0));
    if (path == folder_) error(QStringLiteral("remove would take the whole application folder"));
    const QFileInfo entry(path);
    // A link is removed itself, never what it points to.
    const bool removed =
        entry.isDir() && !entry.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
    if (!removed && (entry.exists() || entry.isSymLink()))
        error(QStringLiteral("cannot remove %1").arg(arg(0)));
}

void Session::storeIni() {
    if (!platform::writeProfileString(app_.settingsFile(), arg(0), arg(1), arg(2)))
        error(QStringLiteral("cannot write test.ini"));
}

void Session::setClock() {
    const QDateTime time = QDateTime::fromString(arg(0), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!time.isValid()) error(QStringLiteral("clock wants \"YYYY-MM-DD HH:MM:SS\""));
    desktop_.currentTime = time;
}

void Session::setLocale() {
    if (arg(0) == QLatin1String("ru"))
        app_.services().locale = platform::UserLocale::russian();
    else if (arg(0) == QLatin1String("en"))
        app_.services().locale = platform::UserLocale::english();
    else
        error(QStringLiteral("locale is ru or en"));
}

void Session::queueRandom() {
    for (int i = 0; i < count(); ++i) {
        bool ok = false;
        const double value = arg(i).toDouble(&ok);
        if (!ok || value < 0.0 || value >= 1.0)
            error(QStringLiteral("random values lie in [0, 1)"));
        desktop_.randomValues.push_back(value);
    }
}

void Session::queueDialog() {
    const QString answer = arg(0);
    desktop_.fileDialogAnswers.push_back(
        answer.isEmpty() || QDir::isAbsolutePath(answer) ? answer : filePath(answer));
}

// Actions.

void Session::start() {
    // The scenario's copy of the program is the computer "scenario".
    app_.startTellingClass(QStringLiteral("scenario"), QStringLiteral("student"));
    action([this] { windows_.start(app_); });
}

void Session::type() {
    forms::Control& target = usableControl(arg(0));
    const QString value = arg(1);
    bool typed = true;
    action([&] { typed = target.type(value); });
    if (!typed) error(QStringLiteral("%1 is not a text box").arg(arg(0)));
}

void Session::click() {
    forms::Control& target = usableControl(arg(0));
    bool clicked = true;
    action([&] { clicked = target.click(); });
    if (!clicked) error(QStringLiteral("%1 cannot be clicked").arg(arg(0)));
}

void Session::choose() {
    forms::Control& target = usableControl(arg(0));
    bool ok = false;
    const int index = arg(1).toInt(&ok);
    if (!ok || index < 0) error(QStringLiteral("choose wants an index from 0"));
    if (target.entryCount() < 0) error(QStringLiteral("%1 is not a list").arg(arg(0)));
    if (index >= target.entryCount())
        fail(QStringLiteral("%1 has no entry %2").arg(arg(0)).arg(index));
    action([&target, index] { target.choose(index); });
}

void Session::browse() {
    forms::Control& target = usableControl(arg(0));
    // Like every path of the language, a relative one lies in the application folder.
    const QString path =
        arg(1).isEmpty() || QDir::isAbsolutePath(arg(1)) ? arg(1) : filePath(arg(1));
    bool moved = true;
    action([&] { moved = target.browse(path); });
    if (!moved) error(QStringLiteral("%1 is not a folder list").arg(arg(0)));
}

void Session::hover() {
    forms::Control& target = usableControl(arg(0));
    action([&target] { target.hover(); });
}

void Session::tick() {
    int ticks = 1;
    if (count() == 2) {
        bool ok = false;
        ticks = arg(1).toInt(&ok);
        if (!ok || ticks < 1) error(QStringLiteral("tick wants a count from 1"));
    }
    if (control(arg(0)).kind() != forms::ControlKind::Timer)
        error(QStringLiteral("%1 is not a timer").arg(arg(0)));
    const QString windowName = arg(0).section(QLatin1Char('.'), 0, 0);
    for (int i = 0; i < ticks; ++i) {
        // The window may be gone after a tick; look the timer up afresh each time.
        if (!app_.loadedWindow(windowName)) break;
        auto& timer = static_cast<forms::Timer&>(control(arg(0)));
        if (!timer.enabled()) break;
        // A tick comes when its interval has passed, so the scenario's clock moves on by
        // that much first: what counts time by the clock sees the same time as the ticks.
        desktop_.currentTime = desktop_.currentTime.addMSecs(timer.interval());
        action([&timer] { timer.tick(); });
    }
}

// Checks.

std::optional<QString> Session::windowProperty(const QString& name, const QString& property) {
    forms::Window* window = loadedWindow(name, false);
    if (window) return window->property(property);
    if (property == QLatin1String("loaded") || property == QLatin1String("visible"))
        return QStringLiteral("false");
    if (forms::Window::knownProperty(property)) fail(QStringLiteral("%1 is not loaded").arg(name));
    return std::nullopt;
}

void Session::expect() {
    const QString reference = arg(0);
    const QStringList parts = reference.split(QLatin1Char('.'));
    std::optional<QString> found;
    if (parts.size() == 2) {
        found = windowProperty(parts.at(0), parts.at(1));
        if (!found) error(QStringLiteral("windows have no property %1").arg(parts.at(1)));
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
    if (*found != arg(1)) {
        fail(QStringLiteral("expected %1 to be %2, found %3")
                 .arg(reference, quoted(arg(1)), quoted(*found)));
    }
}

void Session::message() {
    if (desktop_.messages.empty())
        fail(QStringLiteral("expected a message box %1, none was shown").arg(quoted(arg(0))));
    const platform::Message shown = desktop_.messages.front();
    desktop_.messages.pop_front();
    if (command_->name == QLatin1String("message-like")) {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(arg(0)));
        if (!pattern.isValid())
            error(QStringLiteral("bad regular expression: %1").arg(pattern.errorString()));
        if (!pattern.match(shown.text).hasMatch()) {
            fail(QStringLiteral("expected a message like %1, found %2")
                     .arg(quoted(arg(0)), quoted(shown.text)));
        }
        return;
    }
    if (shown.text != arg(0))
        fail(QStringLiteral("expected the message %1, found %2")
                 .arg(quoted(arg(0)), quoted(shown.text)));
    if (count() == 2 && shown.title != arg(1)) {
        fail(QStringLiteral("expected the message title %1, found %2")
                 .arg(quoted(arg(1)), quoted(shown.title)));
    }
}

void Session::noMessage() {
    if (!desktop_.messages.empty())
        fail(QStringLiteral("expected no message box, found %1")
                 .arg(quoted(desktop_.messages.front().text)));
}

void Session::shell() {
    if (desktop_.shellRequests.empty())
        fail(QStringLiteral("expected a shell request for %1, none was made").arg(quoted(arg(0))));
    const QString requested = desktop_.shellRequests.front();
    desktop_.shellRequests.pop_front();
    const QString wanted = QDir::isAbsolutePath(arg(0)) ? arg(0) : filePath(arg(0));
    if (QDir::cleanPath(requested) != QDir::cleanPath(wanted)) {
        fail(QStringLiteral("expected a shell request for %1, found %2")
                 .arg(quoted(wanted), quoted(requested)));
    }
}

void Session::clipboard() {
    if (desktop_.clipboardText != arg(0))
        fail(QStringLiteral("expected the clipboard to hold %1, found %2")
                 .arg(quoted(arg(0)), quoted(desktop_.clipboardText)));
}

void Session::fileContent() {
    QFile file(filePath(arg(0)));
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("expected the file %1, there is none").arg(arg(0)));
    const QByteArray bytes = file.readAll();
    if (command_->name == QLatin1String("expect-bytes")) {
        const QByteArray wanted = hex(1);
        if (bytes != wanted) {
            fail(QStringLiteral("expected %1 to hold bytes %2, found %3")
                     .arg(arg(0), QString::fromLatin1(wanted.toHex(' ')),
                          QString::fromLatin1(bytes.toHex(' '))));
        }
        return;
    }
    const QString decoded = platform::fromAnsi(bytes);
    if (command_->name == QLatin1String("expect-file") && decoded != arg(1)) {
        fail(QStringLiteral("expected %1 to hold %2, found %3")
                 .arg(arg(0), quoted(arg(1)), quoted(decoded)));
    }
    if (command_->name == QLatin1String("contains") && !decoded.contains(arg(1))) {
        fail(QStringLiteral("expected %1 to contain %2, found %3")
                 .arg(arg(0), quoted(arg(1)), quoted(decoded)));
    }
}

void Session::noFile() {
    if (QFileInfo::exists(filePath(arg(0))))
        fail(QStringLiteral("expected no file at %1, there is one").arg(arg(0)));
}

void Session::expectIni() {
    const QString found = platform::readProfileString(app_.settingsFile(), arg(0), arg(1));
    if (found != arg(2)) {
        fail(QStringLiteral("expected test.ini [%1] %2 to be %3, found %4")
                 .arg(arg(0), arg(1), quoted(arg(2)), quoted(found)));
    }
}

void Session::ended() {
    if (!app_.ended()) fail(QStringLiteral("expected the program to have ended, it runs"));
}

void Session::snapshot() {
    if (snapshots_.isEmpty()) return;
    QDir().mkpath(snapshots_);
    for (forms::Window* window : app_.loadedWindows()) {
        if (!window->visible()) continue;
        std::unique_ptr<gui::View> view = windows_.createView(app_, *window);
        if (!view) continue;
        view->setAttribute(Qt::WA_DontShowOnScreen, true);
        view->show();
        view->adjustSize();
        const QString file =
            QDir(snapshots_)
                .filePath(arg(0) + QLatin1Char('-') + window->name() + QStringLiteral(".png"));
        if (!view->grab().save(file)) fail(QStringLiteral("could not write %1").arg(file));
        view->detach();
    }
}

void Session::writeStatus() {
    QByteArray lines = "computer=" + arg(0).toUtf8() + "\r\n";
    const QStringList given = arg(1).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : given)
        lines += line.trimmed().toUtf8() + "\r\n";
    if (!arg(1).contains(QLatin1String("written=")))
        lines += "written=" + desktop_.currentTime.toString(Qt::ISODate).toUtf8() + "\r\n";
    const QString path =
        filePath(class_status::kFolder + QLatin1Char('/') + class_status::fileNameFor(arg(0)));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray bytes = class_status::seal(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        error(QStringLiteral("cannot write %1").arg(path));
}

void Session::finish() {
    if (!desktop_.messages.empty()) {
        fail(QStringLiteral("unchecked message box: %1")
                 .arg(quoted(desktop_.messages.front().text)));
    }
    if (!desktop_.shellRequests.empty()) {
        fail(QStringLiteral("unchecked shell request: %1")
                 .arg(quoted(desktop_.shellRequests.front())));
    }
}

CommandObserver& commandObserver() {
    static CommandObserver observer;
    return observer;
}

} // namespace

void setCommandObserver(CommandObserver observer) { commandObserver() = std::move(observer); }

Result runScript(const QString& text, const QString& snapshotsFolder,
                 const gui::WindowTable& windows) {
    const Script script = parseScript(text);
    if (script.error) return {Outcome::Error, script.error->line, script.error->what};

    QTemporaryDir folder;
    if (!folder.isValid())
        return {Outcome::Error, 0, QStringLiteral("cannot make an application folder")};
    for (const char* sub : {"b", "s", "t", "help"})
        QDir(folder.path()).mkpath(QString::fromLatin1(sub));

    Session session(folder.path(), snapshotsFolder, windows);
    int line = 0;
    try {
        for (const Command& command : script.commands) {
            line = command.line;
            if (commandObserver()) commandObserver()(line, false);
            session.run(command);
            if (commandObserver()) commandObserver()(line, true);
        }
        session.finish();
    } catch (const Stop& stop) {
        return {stop.outcome, line, stop.what};
    }
    return {};
}

Result runFile(const QString& path, const QString& snapshotsFolder,
               const gui::WindowTable& windows) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Outcome::Error, 0, QStringLiteral("cannot read the file")};
    return runScript(QString::fromUtf8(file.readAll()), snapshotsFolder, windows);
}

} // namespace scenario
