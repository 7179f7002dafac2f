#include "platform/text_files.h"

#include "platform/ansi_codec.h"
#include "platform/file_lock.h"
#include "platform/read_cache.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

std::optional<QByteArray> readBytes(const QString& path) {
    // A folder, a FIFO or a device is not a file: nothing to read, and nothing that blocks.
    return cachedFile(path, [&path]() -> std::optional<QByteArray> {
        const FileHandle file = openForReading(path);
        if (!file.isOpen()) return std::nullopt;
        return readAllFrom(file);
    });
}

// The record is in the file where it was written, as a read past the client's caches
// finds it on the server.
bool readsBackAt(int fd, qint64 at, const QByteArray& bytes) {
    QByteArray found(bytes.size(), '\0');
    qsizetype done = 0;
    while (done < found.size()) {
        const ssize_t got =
            ::pread(fd, found.data() + done, std::size_t(found.size() - done), off_t(at + done));
        if (got <= 0) return false;
        done += got;
    }
    return found == bytes;
}

// Writes the record at the end as the server holds it, never at a size a share's client
// kept (that would write over another computer's record), and makes sure it is there.
bool appendRecord(int fd, const QByteArray& record) {
    char last = 0;
    const qint64 oldSize = readToEnd(fd, &last);
    if (oldSize < 0) return false;
    QByteArray bytes;
    // A record torn by a crash is closed first, so the new one is never fused to it.
    if (oldSize > 0 && last != '\n') bytes = QByteArrayLiteral("\r\n");
    bytes += record;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::pwrite(fd, bytes.constData() + done,
                                         std::size_t(bytes.size() - done), off_t(oldSize + done));
        if (written <= 0) break;
        done += written;
    }
    if (done == bytes.size() && ::fsync(fd) == 0 && readsBackAt(fd, oldSize, bytes)) return true;
    // Only our own bytes are cut back: the file must end in (a part of) them, read from the
    // server, or someone wrote after us.
    const qint64 size = readToEnd(fd, &last);
    const qint64 ours = size - oldSize;
    if (ours >= 0 && ours <= bytes.size() && readsBackAt(fd, oldSize, bytes.left(ours)))
        (void)::ftruncate(fd, off_t(oldSize));
    return false;
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
    return linesOf(*bytes);
}

QStringList linesOf(const QByteArray& bytes) {
    QStringList lines;
    const qsizetype size = bytes.size();
    qsizetype begin = 0;
    while (begin < size) {
        qsizetype end = bytes.indexOf('\n', begin);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0) end = size;
        qsizetype contentEnd = end;
        if (contentEnd > begin && bytes.at(contentEnd - 1) == '\r') --contentEnd;
        lines.append(fromAnsi(bytes.mid(begin, contentEnd - begin)));
        begin = next;
    }
    return lines;
}

std::optional<QByteArray> readListedFile(const QString& folder, const ListedFile& file) {
    const QString path = folder + QLatin1Char('/') + file.name;
    if (!file.plain) {
        const FileHandle checked = openForReading(path);
        if (!checked.isOpen()) return std::nullopt;
        return readAllFrom(checked);
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    // Question files are small: a first buffer of 4 KB, grown as the bytes come.
    return readAllFrom(FileHandle(fd, 4095));
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
    return bool(replaceFile(path, bytes));
}

WriteResult replaceFile(const QString& path, const QByteArray& bytes) {
    forgetCachedReads();
    if (path.isEmpty()) return WriteResult::Failed;
    return replaceFiles({{path, bytes}});
}

bool writeWholeFile(const QString& path, const QString& text) {
    return bool(replaceWholeFile(path, text));
}

WriteResult replaceWholeFile(const QString& path, const QString& text) {
    return replaceFile(path, toAnsi(text) + QByteArrayLiteral("\r\n"));
}

WriteResult appendText(const QString& path, const QString& text,
                       std::chrono::milliseconds lockWait) {
    forgetCachedReads();
    if (path.isEmpty()) return WriteResult::Failed;
    const FileLock lock(path, lockWait);
    if (!lock.mayWrite()) return lock.refusal();
    // Opened only once our turn has come: a share's client asks the server afresh when the
    // file is opened, where a handle opened before the wait would keep the size it saw then
    // (an empty report, for the first records of a class) and write over the records of
    // the copies that went before. Written at an offset found on the server itself.
    WriteResult refusal = WriteResult::Written;
    const FileHandle file = openForWriting(path, O_RDWR | directFlagFor(path), &refusal);
    if (!file.isOpen()) return refusal;
    // The report itself is locked too: copies that could make no lock file (a folder that
    // takes no new files) take turns by it.
    if (!lockWholeFile(file.get(), lockWait)) return WriteResult::Busy;
    const QByteArray record = toAnsi(text);
    if (record.isEmpty()) return WriteResult::Written;
    return appendRecord(file.get(), record) ? WriteResult(WriteResult::Written)
                                            : WriteResult::systemFailure(path);
}

} // namespace platform
