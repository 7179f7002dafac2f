#include "platform/file_access.h"

#include "platform/read_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace platform {

WriteResult WriteResult::systemFailure(QString file) {
    return systemFailure(std::move(file), errno);
}

WriteResult WriteResult::systemFailure(QString file, int error) {
    return {Failed, std::move(file),
            error == 0 ? QString() : QString::fromLocal8Bit(std::strerror(error))};
}

namespace {

QString& rootFolder() {
    static QString root;
    return root;
}

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

bool statOf(const QString& path, struct stat& info) {
    return ::lstat(encoded(path).constData(), &info) == 0;
}

QString canonical(const QString& path) {
    char resolved[PATH_MAX];
    if (!::realpath(encoded(path).constData(), resolved)) return {};
    return QFile::decodeName(resolved);
}

bool isInside(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// No folder between the application folder and the file is a link leading out of it: a
// student's link "s" -> another user's home would otherwise get the next report.
bool foldersStayInside(const QString& path) {
    const QString& root = rootFolder();
    if (root.isEmpty()) return true;
    const QString file = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (!isInside(file, root)) return true;
    const QStringList below = file.mid(root.size() + 1).split(QLatin1Char('/'));
    QString folder = root;
    QString canonicalRoot;
    for (qsizetype i = 0; i + 1 < below.size(); ++i) {
        folder += QLatin1Char('/') + below[i];
        struct stat info {};
        if (!statOf(folder, info) || !S_ISLNK(info.st_mode)) continue;
        if (canonicalRoot.isEmpty()) canonicalRoot = canonical(root);
        const QString target = canonical(folder);
        if (target.isEmpty() || !isInside(target, canonicalRoot)) return false;
    }
    return true;
}

// Magic numbers of statfs(2) for file systems that other computers write too.
bool isNetworkType(unsigned long type) {
    switch (type) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE (sshfs, smbnetfs, ...)
    case 0x01021997: // 9P
    case 0x00C36400: // Ceph
    case 0x5346414F: // AFS
    case 0x73757245: // Coda
        return true;
    default:
        return false;
    }
}

// Every file of one save: its temporary copy and, while the save lasts, the old file's
// second name to put it back by.
struct Staged {
    QString path;
    QString temporary;
    QString backup;
    bool existed = false;
};

void removeStaged(const QList<Staged>& staged) {
    for (const Staged& file : staged) {
        ::unlink(encoded(file.temporary).constData());
        if (!file.backup.isEmpty()) ::unlink(encoded(file.backup).constData());
    }
}

// The permissions open(..., 0666) gives a new file. The mask is read once, on the first
// write, by setting and putting it back: the only way to read it that asks no file system.
mode_t createdMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

// Opens the temporary copy a file is written to before it takes the file's place, with
// the old file's permissions. A link or a special file in the file's place is refused.
WriteResult openStaged(const QString& path, Staged& staged, FileHandle& out) {
    struct stat old {};
    const bool exists = statOf(path, old);
    if ((exists && !S_ISREG(old.st_mode)) || !foldersStayInside(path))
        return {WriteResult::NotPlain, path};
    staged.path = path;
    staged.existed = exists;
    staged.temporary = temporaryPath(path, "tmp");
    out = FileHandle(::open(encoded(staged.temporary).constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!out.isOpen()) return WriteResult::systemFailure(path);
    if (exists && (old.st_mode & 07777) != createdMode())
        (void)::fchmod(out.get(), old.st_mode & 07777);
    return WriteResult::Written;
}

// Writes one file's temporary copy.
WriteResult stage(const FileContent& file, bool keepBackup, Staged& staged) {
    FileHandle out;
    if (const WriteResult opened = openStaged(file.path, staged, out); !opened) return opened;
    const bool written = writeAllToDisk(out.get(), file.bytes);
    const int writeError = written ? 0 : errno;
    if (::close(out.release()) != 0) return WriteResult::systemFailure(file.path);
    if (!written) return WriteResult::systemFailure(file.path, writeError);
    // A second name for the old file, so that a later failure can put it back.
    if (keepBackup && staged.existed) {
        const QString backup = temporaryPath(file.path, "old");
        if (::link(encoded(file.path).constData(), encoded(backup).constData()) == 0)
            staged.backup = backup;
    }
    return WriteResult::Written;
}

bool isNetworkMount(const QString& folder);

bool readsBack(const FileContent& file) {
    const FileHandle in = openForReading(file.path, nullptr, true);
    if (!in.isOpen()) return false;
    const std::optional<QByteArray> bytes = readAllFrom(in, file.bytes.size() + 1);
    return bytes && *bytes == file.bytes;
}

} // namespace

void setApplicationFolderRoot(const QString& folder) {
    rootFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        size_ = other.size_;
        fd_ = other.release();
    }
    return *this;
}

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

int FileHandle::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

int directFlagFor(const QString& path) {
    // Network file systems take O_DIRECT at any offset; local ones may want alignment.
    return isNetworkMount(QFileInfo(path).absolutePath()) ? O_DIRECT : 0;
}

FileHandle openForReading(const QString& path, bool* notPlain, bool fresh) {
    if (notPlain) *notPlain = false;
    if (path.isEmpty()) return {};
    // Opened without a look first, since on a share each look is a round trip. O_NONBLOCK
    // keeps a FIFO a student planted from holding the open, and whatever was opened is
    // refused before a byte is read unless it is a plain file. (Devices are beyond a
    // student: making one takes the server's administrator.)
    const QByteArray name = encoded(path);
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int direct = fresh ? directFlagFor(path) : 0;
    FileHandle file(::open(name.constData(), flags | direct));
    if (!file.isOpen() && direct && errno == EINVAL)
        file = FileHandle(::open(name.constData(), flags));
    struct stat info {};
    if (file.isOpen() && (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        if (notPlain) *notPlain = true;
        return {};
    }
    return FileHandle(file.release(), qint64(info.st_size));
}

FileHandle openForWriting(const QString& path, int flags, WriteResult* refusal) {
    *refusal = WriteResult::Written;
    struct stat info {};
    const bool exists = statOf(path, info);
    if ((exists && !S_ISREG(info.st_mode)) || !foldersStayInside(path)) {
        *refusal = {WriteResult::NotPlain, path};
        return {};
    }
    // O_NOFOLLOW and O_NONBLOCK: a link or FIFO put there since the look is refused too.
    const QByteArray name = encoded(path);
    FileHandle file(
        ::open(name.constData(), flags | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!file.isOpen() && (flags & O_DIRECT) && errno == EINVAL)
        file = FileHandle(
            ::open(name.constData(),
                   (flags & ~O_DIRECT) | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!file.isOpen()) {
        *refusal = errno == ELOOP ? WriteResult(WriteResult::NotPlain, path)
                                  : WriteResult::systemFailure(path);
        return {};
    }
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *refusal = {WriteResult::NotPlain, path};
        return {};
    }
    return file;
}

namespace {

enum class Fill { Full, End, Error };

// Reads into `bytes` from `filled` on until it is full or the file ends.
Fill fillFrom(int fd, QByteArray& bytes, qsizetype& filled) {
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Fill::Error;
        if (got == 0) return Fill::End;
        filled += qsizetype(got);
    }
    return Fill::Full;
}

} // namespace

std::optional<QByteArray> readAllFrom(const FileHandle& file, qint64 limit, bool* tooLarge) {
    if (tooLarge) *tooLarge = false;
    // Read to the end without asking the size again: on a share that is one round trip
    // more, and a client's cached size may be stale anyway. The size the open saw sizes the
    // buffer, one byte over so that the end is seen without growing it: a settings file of
    // megabytes is then copied once, not through a chunk and every doubling of the buffer.
    // A size past 256 MB is not taken on trust up front (a client may report any size); the
    // buffer grows to it as the bytes come.
    const qint64 hint = std::min(file.sizeWhenOpened(), qint64(256) << 20);
    const qint64 most = limit >= 0 ? limit + 1 : std::numeric_limits<qint64>::max();
    QByteArray bytes(qsizetype(std::clamp<qint64>(hint >= 0 ? hint + 1 : 65536, 1, most)),
                     Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        const Fill fill = fillFrom(file.get(), bytes, filled);
        if (fill == Fill::Error) return std::nullopt;
        if (filled > limit && limit >= 0) {
            if (tooLarge) *tooLarge = true;
            return std::nullopt;
        }
        if (fill == Fill::End) break;
        bytes.resize(qsizetype(std::min<qint64>(qint64(bytes.size()) * 2, most)));
    }
    bytes.truncate(filled);
    if (bytes.capacity() > 2 * filled + 4096) bytes.squeeze(); // a file that shrank meanwhile
    return bytes;
}

std::optional<QByteArray> readUpTo(const FileHandle& file, qsizetype most) {
    QByteArray bytes(most, Qt::Uninitialized);
    qsizetype filled = 0;
    if (fillFrom(file.get(), bytes, filled) == Fill::Error) return std::nullopt;
    bytes.truncate(filled);
    return bytes;
}

qint64 freshSize(int fd) {
#ifdef STATX_SIZE
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_SIZE, &info) == 0)
        return qint64(info.stx_size);
#endif
    struct stat plain {};
    return ::fstat(fd, &plain) == 0 ? qint64(plain.st_size) : -1;
}

namespace {

QHash<QString, bool>& knownFileSystems() {
    static QHash<QString, bool> known;
    return known;
}

QSet<QString>& markedFolders() {
    static QSet<QString> marked;
    return marked;
}

// What statfs says of the folder. Mounts do not change under a running copy: one look per
// folder.
bool isNetworkMount(const QString& folder) {
    QHash<QString, bool>& known = knownFileSystems();
    const auto found = known.constFind(folder);
    if (found != known.constEnd()) return *found;
    struct statfs info {};
    if (::statfs(encoded(folder).constData(), &info) != 0) return false;
    const bool shared = isNetworkType(static_cast<unsigned long>(info.f_type));
    known.insert(folder, shared);
    return shared;
}

} // namespace

void markSharedFileSystem(const QString& folder) { markedFolders().insert(folder); }

bool isSharedFileSystem(const QString& folder) {
    return markedFolders().contains(folder) || isNetworkMount(folder);
}

qint64 readToEnd(int fd, char* last) {
    *last = 0;
    // The size asked of the file system again: a FUSE client reads past the size its kernel
    // keeps only a page at a time.
    const qint64 believed = freshSize(fd);
    if (believed < 0) return -1;
    qint64 at = believed > 0 ? believed - 1 : 0;
    char chunk[65536];
    for (bool again = at > 0;;) {
        const ssize_t got = ::pread(fd, chunk, sizeof chunk, off_t(at));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) {
            // Shorter than the client believed (cut back meanwhile): from the start.
            if (again && at == believed - 1) {
                again = false;
                at = 0;
                continue;
            }
            return at;
        }
        at += got;
        *last = chunk[got - 1];
    }
}

bool writeAllBytes(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

bool writeAllToDisk(int fd, const QByteArray& bytes) {
    // A network file system or a full disk may report a failed write only at the sync.
    return writeAllBytes(fd, bytes) && ::fsync(fd) == 0;
}

QString temporaryPath(const QString& path, const char* kind) {
    return path +
           QStringLiteral(".pvr-%1.")
               .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0')) +
           QLatin1String(kind);
}

bool isTemporaryName(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^.+\\.pvr-[0-9a-f]{16}\\.(tmp|lck|old)$"));
    return pattern.match(name).hasMatch();
}

bool removeEntry(const QString& path) {
    // A lock folder holds its owner file only: removed by name, without listing it.
    if (::unlink(encoded(path + QStringLiteral("/owner")).constData()) == 0 &&
        ::rmdir(encoded(path).constData()) == 0)
        return true;
    struct stat info {};
    if (!statOf(path, info)) return errno == ENOENT;
    if (!S_ISDIR(info.st_mode)) return ::unlink(encoded(path).constData()) == 0;
    const QDir folder(path);
    for (const QString& name :
         folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        ::unlink(encoded(folder.filePath(name)).constData());
    return ::rmdir(encoded(path).constData()) == 0;
}

bool rewritesInPlace(const QString& path) { return isNetworkMount(QFileInfo(path).absolutePath()); }

WriteResult rewriteInPlace(const QString& path, const QByteArray& bytes) {
    WriteResult refusal = WriteResult::Written;
    const FileHandle file = openForWriting(path, O_RDWR | directFlagFor(path), &refusal);
    if (!file.isOpen()) return refusal;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::pwrite(file.get(), bytes.constData() + done, std::size_t(bytes.size() - done), done);
        if (written <= 0) return WriteResult::systemFailure(path);
        done += written;
    }
    if (::ftruncate(file.get(), off_t(bytes.size())) != 0 || ::fsync(file.get()) != 0)
        return WriteResult::systemFailure(path);
    QByteArray found(bytes.size() + 1, '\0');
    qsizetype got = 0;
    for (;;) {
        const ssize_t part =
            ::pread(file.get(), found.data() + got, std::size_t(found.size() - got), off_t(got));
        if (part <= 0) break;
        got += part;
        if (got == found.size()) break;
    }
    if (got != bytes.size() || found.left(got) != bytes) return {WriteResult::Failed, path};
    return WriteResult::Written;
}

WriteResult replaceFiles(const QList<FileContent>& files) {
    forgetCachedReads(); // new names in their folders, new bytes in their files
    QList<Staged> staged;
    for (const FileContent& file : files) {
        Staged one;
        const WriteResult result = stage(file, files.size() > 1, one);
        if (!one.temporary.isEmpty()) staged.append(one);
        if (!result) {
            removeStaged(staged);
            return result;
        }
    }
    for (qsizetype i = 0; i < staged.size(); ++i) {
        const Staged& file = staged[i];
        if (::rename(encoded(file.temporary).constData(), encoded(file.path).constData()) == 0)
            continue;
        const int renameError = errno;
        // Put back what was already replaced: every old file or none.
        for (qsizetype done = 0; done < i; ++done) {
            const Staged& back = staged[done];
            if (!back.existed)
                ::unlink(encoded(back.path).constData());
            else if (!back.backup.isEmpty())
                ::rename(encoded(back.backup).constData(), encoded(back.path).constData());
        }
        removeStaged(staged);
        return WriteResult::systemFailure(file.path, renameError);
    }
    for (const Staged& file : staged)
        if (!file.backup.isEmpty()) ::unlink(encoded(file.backup).constData());
    if (!files.isEmpty() && isSharedFileSystem(QFileInfo(files.first().path).absolutePath())) {
        for (const FileContent& file : files)
            if (!readsBack(file)) return {WriteResult::Failed, file.path};
    }
    return WriteResult::Written;
}

namespace {
constexpr qsizetype kPieceSize = 1 << 20;
} // namespace

FileReplacement::FileReplacement(QString path) : path_(std::move(path)) {
    forgetCachedReads();
    Staged staged;
    failure_ = path_.isEmpty() ? WriteResult::Failed : openStaged(path_, staged, out_);
    temporary_ = staged.temporary;
    shared_ = failure_ && isSharedFileSystem(QFileInfo(path_).absolutePath());
    if (shared_) added_ = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
}

FileReplacement::~FileReplacement() {
    if (out_.isOpen()) ::close(out_.release());
    if (!temporary_.isEmpty()) ::unlink(encoded(temporary_).constData());
}

void FileReplacement::add(const QByteArray& bytes) {
    if (!failure_) return;
    if (added_) added_->addData(bytes);
    pending_ += bytes;
    if (pending_.size() >= kPieceSize) writePending();
}

void FileReplacement::writePending() {
    if (failure_ && !writeAllBytes(out_.get(), pending_))
        failure_ = WriteResult::systemFailure(path_);
    pending_.clear();
}

WriteResult FileReplacement::commit() {
    writePending();
    if (!failure_) return failure_;
    // A network file system or a full disk may report a failed write only at the sync.
    if (::fsync(out_.get()) != 0) return failure_ = WriteResult::systemFailure(path_);
    if (::close(out_.release()) != 0) return failure_ = WriteResult::systemFailure(path_);
    if (::rename(encoded(temporary_).constData(), encoded(path_).constData()) != 0)
        return failure_ = WriteResult::systemFailure(path_);
    temporary_.clear();
    forgetCachedReads();
    if (!added_) return WriteResult::Written;
    // On a share the file is read back through it, a piece at a time.
    const FileHandle in = openForReading(path_, nullptr, true);
    QCryptographicHash found(QCryptographicHash::Sha256);
    for (;;) {
        if (!in.isOpen()) return failure_ = {WriteResult::Failed, path_};
        const std::optional<QByteArray> piece = readUpTo(in, kPieceSize);
        if (!piece) return failure_ = {WriteResult::Failed, path_};
        if (piece->isEmpty()) break;
        found.addData(*piece);
    }
    if (found.result() != added_->result()) return failure_ = {WriteResult::Failed, path_};
    return WriteResult::Written;
}

} // namespace platform
