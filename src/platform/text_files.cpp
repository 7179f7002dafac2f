#include "platform/text_files.h"

#include "platform/ansi_codec.h"
#include "platform/file_lock.h"
#include "platform/read_cache.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

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

// The written bytes are on the disk. A network file system or a full disk may report a
// failed write only here.
bool syncToDisk(QFileDevice& file) {
    if (!file.flush()) return false;
    const int handle = file.handle();
    if (handle < 0) return false;
#ifdef Q_OS_WIN
    return _commit(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

bool endsInLineEnd(QFile& file, qint64 size) {
    char last = 0;
    return file.seek(size - 1) && file.getChar(&last) && last == '\n';
}

// Undoes a failed append: the file goes back to `oldSize`, unless it has grown beyond what
// this append could have written, which would mean someone wrote after us.
void cutBack(QFile& file, qint64 oldSize, qint64 attempted) {
    if (file.size() <= oldSize + attempted) file.resize(oldSize);
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

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

bool writeBytesAtomically(const QString& path, const QByteArray& bytes) {
    forgetCachedReads();
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    QSaveFile file(path);
    // Writing straight into the target would lose the old file on a failure half-way.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a full disk fails the write itself: commit() does not look at a
    // failure that shows only when a buffer is flushed, and would put the empty temporary
    // file in the old one's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (!writeAll(file, bytes) || !syncToDisk(file) || file.error() != QFileDevice::NoError) {
        file.cancelWriting(); // the temporary file goes, the old file stays as it was
        return false;
    }
    return file.commit();
}

bool writeWholeFile(const QString& path, const QString& text) {
    return writeBytesAtomically(path, toAnsi(text) + QByteArrayLiteral("\r\n"));
}

WriteResult appendText(const QString& path, const QString& text,
                       std::chrono::milliseconds lockWait) {
    forgetCachedReads();
    if (path.isEmpty() || QFileInfo(path).isDir()) return WriteResult::Failed;
    const FileLock lock(path, lockWait);
    if (!lock.mayWrite()) return lock.busy() ? WriteResult::Busy : WriteResult::Failed;
    QFile file(path);
    // Unbuffered: the record goes to the system in one write.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return WriteResult::Failed;
    // Read under the lock: no other copy appends until we are done, so our bytes start here
    // and a failure cuts back nothing but them.
    const qint64 oldSize = file.size();
    const QByteArray record = toAnsi(text);
    if (record.isEmpty()) return WriteResult::Written;
    QByteArray bytes;
    // A record torn by a crash is closed first, so the new one is never fused to it.
    if (oldSize > 0 && !endsInLineEnd(file, oldSize)) bytes = QByteArrayLiteral("\r\n");
    bytes += record;
    if (writeAll(file, bytes) && syncToDisk(file)) return WriteResult::Written;
    cutBack(file, oldSize, bytes.size());
    return WriteResult::Failed;
}

} // namespace platform
