#include "test_support.h"

#include "platform/profile_file.h"
#include "platform/text_files.h"

#include <QDir>
#include <QFileInfo>
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
