// The settings file as the windows use it: a save is one replacement of the file that
// keeps what another copy wrote meanwhile, and a file that cannot be read is said to be so
// and opens nothing with an empty password.

#include "platform/profile_file.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "test_support.h"

#include <QDir>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Counts what happens to the entries of a folder, by name.
class FolderWatch {
public:
    explicit FolderWatch(const QString& folder) : handle_(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(handle_, QFile::encodeName(folder).constData(),
                          IN_OPEN | IN_MOVED_TO | IN_CREATE);
    }
    ~FolderWatch() { ::close(handle_); }
    // (event, name) pairs seen so far: "open test.ini", "create test.ini.Ab12Cd", ...
    QStringList events() {
        QStringList seen;
        alignas(inotify_event) char buffer[65536];
        for (ssize_t got; (got = ::read(handle_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const QString name = QFile::decodeName(event->len ? event->name : "");
                if (event->mask & IN_OPEN) seen << "open " + name;
                if (event->mask & IN_CREATE) seen << "create " + name;
                if (event->mask & IN_MOVED_TO) seen << "replace " + name;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return seen;
    }

private:
    int handle_;
};

Form4& openSettings(AppFixture& f) {
    f.app.window<Form1>().hide();
    Form4& settings = f.app.window<Form4>();
    settings.show();
    return settings;
}

} // namespace

TEST(SettingsSave, NineKeysInOneReplacementKeepingWhatAnotherCopyWrote) {
    AppFixture f;
    const QString ini = f.folder.path() + "/test.ini";
    // Hand-made: a comment, a lone CR, blanks; the language switch of another copy will
    // add "re" while this window is open.
    putBytes(ini, "; school 5\r\n[test]\rtime = 3\rball=4\r\n\r\n[reg]\r\nreg=1\r\n");
    Form4& settings = openSettings(f);
    settings.Text3.setText("12");
    settings.Check3.setValue(1);
    ASSERT_TRUE(platform::writeProfileString(ini, "test", "re", "eng"));

    FolderWatch watch(f.folder.path());
    settings.Command6.press();
    const QStringList events = watch.events();
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(bytesOf(ini),
              "; school 5\r\n[test]\rtime=3\rball=4\r\nre=eng\r\nbilet=12\r\nvopros=\r\n"
              "pass=\r\nl=\r\nh=\r\nk=2\r\nz=\r\n\r\n[reg]\r\nreg=1\r\n");
    EXPECT_EQ(events.filter(QRegularExpression("^replace test.ini$")).size(), 1) << "one replace";
    EXPECT_EQ(events.filter(QRegularExpression("^open test.ini$")).size(), 1) << "one read";
    EXPECT_EQ(events.filter(QRegularExpression("^create test.ini.")).size(), 2)
        << "one lock file, one new file: " << events.join(", ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(ini + ".lock"));
}

TEST(SettingsSave, AnUnreadableFileIsReportedAndOpensNothingWithAnEmptyPassword) {
    AppFixture f;
    const QString ini = f.folder.path() + "/test.ini";
    putBytes(ini, "[test]\r\nre=rus\r\ntime=1\r\npass=secret\r\n");
    // Readable by its owner only, and the program runs as someone else.
    QFile::setPermissions(f.folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ExeGroup | QFile::ExeOther);
    QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);
    {
        AsUnprivilegedUser user;
        Form1& start = f.app.window<Form1>();
        ASSERT_FALSE(f.desktop.messages.empty());
        EXPECT_EQ(f.desktop.messages.front().text,
                  "Не удалось прочитать файл настроек:\n" + ini +
                      "\nНастройка закрыта, пока файл не будет исправлен.\n\n"
                      "Could not read the settings file:\n" +
                      ini + "\nThe settings stay closed until the file is fixed.");
        f.desktop.messages.clear();

        // Every key read as empty, the password too; an empty entry must not open the
        // settings, nor the manual ticket entry.
        EXPECT_EQ(start.Text12.text(), "");
        start.Text2.setText("");
        start.Command15.press();
        EXPECT_FALSE(f.app.window<Form4>().visible());
        start.Check1.setValue(1);
        EXPECT_FALSE(start.Check1.checked());

        // A save that reaches the file anyway (the folder chooser leads to the window)
        // does not put a file of nine keys in place of the one it could not read.
        Form4& settings = openSettings(f);
        settings.Text5.setText("3");
        settings.Check3.setValue(1);
        settings.Command6.press();
        ASSERT_FALSE(f.desktop.messages.empty());
        EXPECT_EQ(f.desktop.messages.back().text,
                  QStringLiteral("Не удалось сохранить настройки в файл:\n") + ini +
                      QStringLiteral("\nСистема сообщает: ") +
                      QString::fromLocal8Bit(std::strerror(EACCES)));
        EXPECT_TRUE(settings.visible());
        f.desktop.messages.clear();
    }
    EXPECT_EQ(bytesOf(ini), "[test]\r\nre=rus\r\ntime=1\r\npass=secret\r\n");

    // A folder in the file's place is no settings file either; a missing file is no error.
    AppFixture g;
    QDir(g.folder.path()).mkdir("test.ini");
    g.app.window<Form1>();
    EXPECT_TRUE(g.desktop.messages.front().text.startsWith("Не удалось прочитать файл настроек"));
    AppFixture h;
    h.app.window<Form1>();
    for (const auto& message : h.desktop.messages)
        EXPECT_FALSE(message.text.contains("файл настроек"));
}
