#include "test_support.h"

#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "teacher_tools/command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/mount.h>
#include <unistd.h>

void writeExam(const QString& appFolder, int questions) {
    const QString ticket = appFolder + QStringLiteral("/b/exam/b1/");
    QDir().mkpath(ticket);
    platform::writeWholeFile(appFolder + QStringLiteral("/b/exam/lzm.lzm"),
                             QStringLiteral("Экзамен"));
    for (int n = 1; n <= questions; ++n) {
        const QString number = QString::number(n);
        platform::writeWholeFile(ticket + QStringLiteral("q") + number + QStringLiteral(".txt"),
                                 QStringLiteral("Вопрос ") + number + QStringLiteral("?"));
        platform::writeWholeFile(ticket + QStringLiteral("v") + number + QStringLiteral(".txt"),
                                 QStringLiteral("да\r\nнет"));
        platform::writeWholeFile(ticket + QStringLiteral("o") + number + QStringLiteral(".txt"),
                                 QStringLiteral("да"));
    }
    const QString ini = appFolder + QStringLiteral("/test.ini");
    const std::pair<const char*, QString> keys[] = {
        {"re", QStringLiteral("rus")},  {"time", QStringLiteral("1")},
        {"bilet", QStringLiteral("1")}, {"vopros", QString::number(questions)},
        {"ball", QStringLiteral("3")},  {"z", appFolder + QStringLiteral("/b/exam")}};
    for (const auto& [key, value] : keys)
        platform::writeProfileString(ini, QStringLiteral("test"), QString::fromLatin1(key), value);
}

bool putBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

qint64 FailingDevice::writeData(const char* data, qint64 size) {
    const qint64 room = capacity_ - written_.size();
    if (room <= 0) return -1;
    const qint64 taken = std::min(room, size);
    written_.append(data, taken);
    return taken;
}

AsUnprivilegedUser::AsUnprivilegedUser() : dropped_(geteuid() == 0 && seteuid(65534) == 0) {}

AsUnprivilegedUser::~AsUnprivilegedUser() {
    if (dropped_ && seteuid(0) != 0) std::abort();
}

void makeReadOnlyFolder(const QString& parent, const QString& folder) {
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(parent, open);
    QFile::setPermissions(folder, open & ~QFile::WriteOwner);
}

SmallDisk::SmallDisk(const QString& folder, int kilobytes) : folder_(folder) {
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    mounted_ = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                       options.constData()) == 0;
    if (!mounted_)
        whyNot_ = QStringLiteral("cannot mount a small disk here (%1); run the suite as root "
                                 "to see a full disk")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

void SmallDisk::fill(int spareKilobytes) {
    const QByteArray filler = QFile::encodeName(folder_ + QStringLiteral("/.filler"));
    const int handle = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (handle < 0) return;
    const QByteArray page(4096, 'f');
    while (::write(handle, page.constData(), std::size_t(page.size())) > 0) {
    }
    const off_t size = ::lseek(handle, 0, SEEK_END);
    const off_t spare = off_t((spareKilobytes + 3) / 4) * 4096;
    if (spare > 0 && ::ftruncate(handle, size > spare ? size - spare : 0) != 0) std::abort();
    ::close(handle);
}

void SmallDisk::release() { QFile::remove(folder_ + QStringLiteral("/.filler")); }

std::vector<QStringList> runWorkers(const QString& worker, const std::vector<QStringList>& copies,
                                    int timeoutMs) {
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QStringList& arguments : copies) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(worker, arguments);
    }
    std::vector<QStringList> outputs;
    for (auto& process : processes) {
        process->waitForFinished(timeoutMs);
        const QString output = QString::fromLocal8Bit(process->readAllStandardOutput());
        outputs.push_back(output.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    }
    return outputs;
}

WorkerReport readWorkerReport(const QString& path) {
    WorkerReport report;
    static const QRegularExpression whole(QStringLiteral("^(\\d+):(\\d+):(\\d+):([a-z]+)$"));
    for (const QByteArray& line : bytesOf(path).split('\n')) {
        if (line.isEmpty()) continue;
        const bool ended = line.endsWith('\r');
        const auto match = whole.match(QString::fromLatin1(ended ? line.chopped(1) : line));
        const int copy = match.hasMatch() ? match.captured(1).toInt() : -1;
        const QString letters = match.captured(4);
        const int size = match.captured(3).toInt();
        if (!ended || !match.hasMatch() ||
            letters != QString(size, QLatin1Char(char('a' + copy % 26)))) {
            report.damaged << QString::fromLatin1(line.left(40));
            continue;
        }
        if (!report.records.insert({copy, match.captured(2).toInt()}).second) ++report.duplicates;
    }
    return report;
}

QStringList lostOrGhostRecords(const std::vector<QStringList>& outputs,
                               const WorkerReport& report) {
    QStringList wrong;
    for (const QStringList& output : outputs) {
        for (const QString& line : output) {
            const QStringList words = line.split(QLatin1Char(' '));
            if (words.size() != 3) {
                wrong << QStringLiteral("unexpected output: ") + line;
                continue;
            }
            const bool found = report.records.count({words[0].toInt(), words[1].toInt()}) > 0;
            if (found != (words[2] == QLatin1String("saved"))) wrong << line;
        }
    }
    return wrong;
}

int runCommandIn(const QString& folder, const QStringList& arguments, QString& out, QString& err) {
    out.clear();
    err.clear();
    QTextStream outStream(&out), errStream(&err);
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    const int status = teacher_tools::runArguments(arguments, folder, outStream, errStream);
    QDir::setCurrent(before);
    return status;
}
