#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

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
