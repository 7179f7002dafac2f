#pragma once
// What the unit tests share: an App on a fresh temporary application folder with the
// scripted desktop services, file helpers, a file device that fails on demand, and a
// way to see a read-only folder refuse a write even when the suite runs as root.

#include "forms/app.h"
#include "platform/fake_services.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

#include <set>
#include <utility>
#include <vector>

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

// Runs a teacher's command (check, import, ...) as a terminal in the application folder
// would: the folder is the current one meanwhile. The exit status; what it printed.
int runCommandIn(const QString& folder, const QStringList& arguments, QString& out, QString& err);

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

// A small disk (tmpfs) mounted on `folder` for as long as this lives, to see what a full
// disk does. Mounting needs root, as the suite has in CI; where it is refused, mounted()
// is false and the test skips with whyNot().
class SmallDisk {
public:
    SmallDisk(const QString& folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString whyNot() const { return whyNot_; }
    // Takes the room that is left, all but `spareKilobytes` (whole 4 KiB pages).
    void fill(int spareKilobytes = 0);
    // Gives back what fill() took.
    void release();

private:
    QString folder_;
    bool mounted_ = false;
    QString whyNot_;
};

// Copies of the program sharing files, played by tests/unit/support/file_worker.cpp: each
// list of arguments starts one copy, all at once; the answer is each copy's output lines
// ("ID N saved", "ID N failed", "ID N busy").
std::vector<QStringList> runWorkers(const QString& worker, const std::vector<QStringList>& copies,
                                    int timeoutMs = 600000);

// What the copies' appends left in a report.
struct WorkerReport {
    std::set<std::pair<int, int>> records; // (copy, record) found whole
    int duplicates = 0;                    // records found more than once
    QStringList damaged;                   // lines that are not one whole record
};
WorkerReport readWorkerReport(const QString& path);

// Records a copy reported saved that the report lacks, and records it reported failed that
// the report holds anyway: both must be empty.
QStringList lostOrGhostRecords(const std::vector<QStringList>& outputs, const WorkerReport& report);
