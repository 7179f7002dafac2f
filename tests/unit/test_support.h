#pragma once
// What several unit tests share: an App on a fresh temporary application folder with the
// scripted desktop services, and a widgets application for the views.

#include "forms/app.h"
#include "platform/fake_services.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <unistd.h>

struct AppFixture {
    QTemporaryDir folder;
    platform::FakeDesktop desktop;
    App app{folder.path(), platform::Services{desktop, desktop, desktop, desktop, desktop, desktop,
                                              platform::UserLocale::russian()}};
};

// The one QApplication of the test program, drawing offscreen.
inline QApplication* widgetsApplication() {
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "proveron_tests";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

// The first child widget of type W showing `text`.
template <class W> W* withText(QWidget& view, const QString& text) {
    for (W* widget : view.findChildren<W*>()) {
        if (widget->text() == text) return widget;
    }
    return nullptr;
}

inline void putBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Root writes anywhere; to see a read-only folder refuse a write, the test drops to an
// unprivileged user for as long as this lives.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() : dropped_(geteuid() == 0 && seteuid(65534) == 0) {}
    ~AsUnprivilegedUser() {
        if (dropped_) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

private:
    bool dropped_;
};

// A folder that everyone may enter and read but nobody (except root) may write into.
inline void makeReadOnlyFolder(const QString& parent, const QString& folder) {
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(parent, open);
    QFile::setPermissions(folder, open & ~QFile::WriteOwner);
}
