#pragma once
// The operating-system services the windows use besides files, each behind a small
// interface: the real ones talk to Qt, the fake ones (fake_services.h) answer tests and
// the scenario runner.

#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QString>
#include <vector>

namespace platform {

struct Message {
    QString text;
    QString title;
    bool informationIcon = false;
};

// Modal message boxes with an OK button only, and the open-file dialog.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void showMessage(const Message& message) = 0;
    // `filter` is a Qt name filter ("Bitmaps (*.bmp)"). Empty text when cancelled.
    virtual QString openFile(const QString& title, const QString& filter,
                             const QString& startFolder) = 0;
};

// Opens a document with the program the desktop associates with it.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const QString& path) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

// Pseudo-random numbers in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};

// What a model needs to know of the screen.
class Screen {
public:
    virtual ~Screen() = default;
    virtual QSize sizePixels() = 0;
    // Width in pixels of `text` in the windows' font.
    virtual int textWidthPixels(const QString& text) = 0;
};

// A drive or mounted volume a user can browse: its root folder and a name to show.
struct Volume {
    QString root;
    QString name;
    bool ready = true; // false for a drive without a medium
    friend bool operator==(const Volume&, const Volume&) = default;
};

// The file-system roots and mounted volumes (removable media, network shares).
class Volumes {
public:
    virtual ~Volumes() = default;
    // Listed afresh on every call: media come and go.
    virtual std::vector<Volume> list() = 0;
};

// The machine's own volumes (system_services.cpp).
Volumes& systemVolumes();

// The user's number, date and time formats.
class UserLocale {
public:
    UserLocale(QLocale locale, QChar decimalSeparator, QString shortDate, QString shortTime,
               QString longTime);
    static UserLocale system();
    static UserLocale russian();
    static UserLocale english();

    QChar decimalSeparator() const { return decimalSeparator_; }
    QString shortDate(const QDate& date) const;
    QString shortTime(const QTime& time) const;
    // Without a time-zone name.
    QString longTime(const QTime& time) const;

private:
    QLocale locale_;
    QChar decimalSeparator_;
    QString shortDateFormat_, shortTimeFormat_, longTimeFormat_;
};

// Everything a window may ask of the outside world, handed to App.
struct Services {
    Dialogs& dialogs;
    Shell& shell;
    Clipboard& clipboard;
    Clock& clock;
    RandomSource& random;
    Screen& screen;
    UserLocale locale;
    Volumes& volumes = systemVolumes();
};

} // namespace platform
