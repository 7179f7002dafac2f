#pragma once
// What the unit tests share: an App on a fresh temporary application folder with the
// scripted desktop services, file helpers, a file device that fails on demand, and a
// way to see a read-only folder refuse a write even when the suite runs as root.

#include "forms/app.h"
#include "platform/fake_services.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <ostream>

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

struct AppFixture {
    QTemporaryDir folder;
    platform::FakeDesktop desktop;
    App app{folder.path(), platform::Services{desktop, desktop, desktop, desktop, desktop, desktop,
                                              platform::UserLocale::russian(), desktop}};
};

// An application folder with a Russian test.ini and an exam "b/exam" of one ticket with
// `questions` questions (the right answer is always "да"), the ticket timer off, the
// passing score 3.
void writeExam(const QString& appFolder, int questions);

// Writes the file (creating its folder); false when it could not.
bool putBytes(const QString& path, const QByteArray& bytes);
// The file's bytes, or "<unreadable>".
QByteArray bytesOf(const QString& path);

// A device that accepts `capacity` bytes and then fails every write, as a full disk does.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : capacity_(capacity) {}
    const QByteArray& written() const { return written_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    qint64 capacity_;
    QByteArray written_;
};

// Root writes anywhere; to see a read-only folder refuse a write, the test drops to an
// unprivileged user for as long as this lives.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser();
    ~AsUnprivilegedUser();
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

private:
    bool dropped_;
};

// A folder that everyone may enter and read but nobody (except root) may write into.
void makeReadOnlyFolder(const QString& parent, const QString& folder);
