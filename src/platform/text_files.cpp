#include "platform/text_files.h"

#include "platform/ansi_codec.h"
#include "platform/folders.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

namespace {

std::optional<QByteArray> readBytes(const QString& path) {
    // QFile opens a folder on some systems and then reads nothing; that is not a file.
    if (path.isEmpty() || QFileInfo(path).isDir()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QString> readWholeFile(const QString& path) {
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes) return std::nullopt;
    return fromAnsi(*bytes);
}

std::optional<QStringList> readLines(const QString& path) {
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes) return std::nullopt;
    QStringList lines;
    const qsizetype size = bytes->size();
    qsizetype begin = 0;
    while (begin < size) {
        qsizetype end = bytes->indexOf('\n', begin);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0) end = size;
        qsizetype contentEnd = end;
        if (contentEnd > begin && bytes->at(contentEnd - 1) == '\r') --contentEnd;
        lines.append(fromAnsi(bytes->mid(begin, contentEnd - begin)));
        begin = next;
    }
    return lines;
}

QString withoutFinalLineEnd(const QString& text) {
    if (text.endsWith(QLatin1String("\r\n"))) return text.chopped(2);
    if (text.endsWith(QLatin1Char('\n'))) return text.chopped(1);
    return text;
}

bool writeBytesAtomically(const QString& path, const QByteArray& bytes) {
    forgetListings();
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    QSaveFile file(path);
    // Writing straight into the target would lose the old file on a failure half-way.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeWholeFile(const QString& path, const QString& text) {
    return writeBytesAtomically(path, toAnsi(text) + QByteArrayLiteral("\r\n"));
}

bool appendText(const QString& path, const QString& text) {
    forgetListings();
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    const QByteArray bytes = toAnsi(text);
    QFile file(path);
    // Unbuffered: the record goes to the system in one write, so two copies of the program
    // appending to one report never interleave inside a record.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return false;
    const qint64 oldSize = file.size();
    if (bytes.isEmpty()) return true;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // A disk that filled up half-way must not leave half a record behind.
        file.resize(oldSize);
        return false;
    }
    return true;
}

} // namespace platform
