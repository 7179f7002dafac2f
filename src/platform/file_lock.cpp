#include "platform/file_lock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray kOwnerHeader = QByteArrayLiteral("proveron-lock");
const QString kOwnerName = QStringLiteral("/owner");

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

QByteArray firstLineOf(const char* file) {
    QFile in(QString::fromLatin1(file));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readLine().trimmed();
}

// When the process started, in clock ticks since boot: with the boot id it tells a
// process from a later one that got the same number.
QByteArray startOf(qint64 pid) {
    const QByteArray stat =
        firstLineOf(QStringLiteral("/proc/%1/stat").arg(pid).toLatin1().constData());
    // The fields after the command name, which may hold blanks, follow its last ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? fields[19] : QByteArray();
}

// The computer: its name (each computer of a lab has its own, even when all were installed
// from one disk image) and this boot of it (/etc/machine-id repeats on such computers).
QByteArray computer() {
    // Returns a QByteArray, not the builder of one, which would outlive its parts.
    static const QByteArray id = []() -> QByteArray {
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        return QByteArray(host) + '\n' + firstLineOf("/proc/sys/kernel/random/boot_id");
    }();
    return id;
}

// Made once per process (the same pid and start for every lock it takes): reading /proc
// again for each write is work for nothing.
QByteArray ownIdentity() {
    static qint64 madeFor = -1;
    static QByteArray identity;
    const qint64 pid = ::getpid();
    if (pid != madeFor) {
        identity = kOwnerHeader + '\n' + computer() + '\n' + QByteArray::number(pid) + '\n' +
                   startOf(pid) + '\n';
        madeFor = pid;
    }
    return identity;
}

// A lock of this computer whose process is gone, or is another process by now.
bool ownerGoneHere(const QByteArray& identity) {
    const QList<QByteArray> lines = identity.split('\n');
    if (lines.size() < 5 || lines[0] != kOwnerHeader) return false;
    if (lines[1] + '\n' + lines[2] != computer()) return false;
    bool number = false;
    const qint64 pid = lines[3].toLongLong(&number);
    if (!number || pid <= 0) return true;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) return true;
    return startOf(pid) != lines[4];
}

qint64 timeMs(const struct timespec& time) {
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

void pause(bool shared) {
    // Short, jittered pauses keep fifteen copies' turns fair; a share's round trips are
    // slower, so its copies knock less often.
    const unsigned most = shared ? 40u : 10u;
    QThread::msleep(1 + QRandomGenerator::global()->bounded(most));
}

struct flock wholeFile(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    return range;
}

} // namespace

QString lockFilePath(const QString& path) { return path + QStringLiteral(".lock"); }

bool lockWholeFile(int fd, std::chrono::milliseconds wait) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        struct flock range = wholeFile(F_WRLCK);
        if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return true;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR) return errno == EINVAL;
        if (waited.elapsed() >= wait.count()) return false;
        pause(false);
    }
}

FileLock::FileLock(const QString& path, std::chrono::milliseconds wait)
    : lock_(lockFilePath(path)) {
    shared_ = isSharedFileSystem(QFileInfo(path).absolutePath());
    if (!prepareCandidate()) return;
    QElapsedTimer waited;
    waited.start();
    qint64 judged = -1000;
    for (;;) {
        if (::rename(encoded(candidate_).constData(), encoded(lock_).constData()) == 0) {
            held_ = true;
            return;
        }
        // The lock is there (or was a moment ago). On a share, looking into it costs round
        // trips and an open that could hold up its holder: a few looks a second.
        if (!shared_ || waited.elapsed() - judged >= 250) {
            judged = waited.elapsed();
            const Verdict verdict = judge();
            if (verdict == Verdict::Dead && !clear()) break;
            if (verdict != Verdict::Held) continue;
        }
        if (waited.elapsed() >= wait.count()) break;
        pause(shared_);
    }
    removeEntry(candidate_);
}

FileLock::~FileLock() {
    if (held_) release();
}

WriteResult FileLock::refusal() const {
    if (!stuck_.isEmpty()) return {WriteResult::StuckLock, stuck_};
    if (failed_ || noNewFiles_) return WriteResult::systemFailure({}, error_);
    return WriteResult::Busy;
}

// Our lock, whole, under a name of our own: once renamed into place it is never seen
// half made.
bool FileLock::prepareCandidate() {
    candidate_ = temporaryPath(lock_, "lck");
    if (::mkdir(encoded(candidate_).constData(), 0755) != 0) {
        error_ = errno;
        noNewFiles_ = errno == EACCES || errno == EROFS || errno == EPERM;
        failed_ = !noNewFiles_;
        return false;
    }
    owner_ = FileHandle(::open(encoded(candidate_ + kOwnerName).constData(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    struct flock range = wholeFile(F_WRLCK);
    struct stat made {};
    // No sync of its own: the lock guards files that are synced, and a lock whose owner
    // text was lost with the power is left over and taken over like any other.
    if (!owner_.isOpen() || !writeAllBytes(owner_.get(), ownIdentity()) ||
        ::fcntl(owner_.get(), F_OFD_SETLK, &range) != 0 || ::fstat(owner_.get(), &made) != 0) {
        error_ = errno;
        owner_ = FileHandle();
        removeEntry(candidate_);
        failed_ = true;
        return false;
    }
    ownTime_ = timeMs(made.st_mtim);
    madeAt_ = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    // On a share an open file cannot be renamed with its folder; there the process check
    // reads the owner's text instead of its lock.
    if (shared_) owner_ = FileHandle();
    return true;
}

FileLock::Verdict FileLock::judge() {
    struct stat info {};
    if (::lstat(encoded(lock_).constData(), &info) != 0)
        return errno == ENOENT ? Verdict::Gone : Verdict::Dead;
    judgedDevice_ = info.st_dev;
    judgedFolder_ = info.st_ino;
    // A file, a link or a FIFO of that name is no lock of ours: nothing holds it.
    if (!S_ISDIR(info.st_mode)) return Verdict::Dead;
    const FileHandle owner(::open(encoded(lock_ + kOwnerName).constData(),
                                  O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (owner.isOpen()) {
        struct flock range = wholeFile(F_WRLCK);
        if (::fcntl(owner.get(), F_OFD_GETLK, &range) == 0 && range.l_type != F_UNLCK)
            return Verdict::Held;
    }
    // On a local disk every holder runs on this computer and keeps its owner file locked:
    // a lock without that is left over, whatever it holds, unless its holder let it go
    // while we looked and another copy has taken the lock since (a new folder).
    if (!shared_) return isJudgedFolder(lock_) ? Verdict::Dead : Verdict::Gone;
    char text[512];
    const ssize_t got = owner.isOpen() ? ::read(owner.get(), text, sizeof text) : -1;
    if (got > 0 && ownerGoneHere(QByteArray(text, qsizetype(got)))) return Verdict::Dead;
    const qint64 now = ownTime_ + (std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count() -
                                   madeAt_);
    return now - timeMs(info.st_mtim) > kStaleLock.count() ? Verdict::Dead : Verdict::Held;
}

bool FileLock::isJudgedFolder(const QString& path) const {
    struct stat info {};
    return ::lstat(encoded(path).constData(), &info) == 0 && info.st_dev == judgedDevice_ &&
           info.st_ino == judgedFolder_;
}

// Takes a lock nobody holds out of the way. False when this copy may not (another
// account's lock in a folder with the sticky bit): the lock is then named to the user.
bool FileLock::clear() {
    const QString away = temporaryPath(lock_, "old");
    if (::rename(encoded(lock_).constData(), encoded(away).constData()) != 0) {
        if (errno == ENOENT) return true;
        if (errno == EACCES || errno == EPERM || errno == EROFS) {
            stuck_ = lock_;
            return false;
        }
        return true; // busy on a share: try again
    }
    // Another copy may have put a live lock there since we looked: it goes back.
    if (!shared_ && !isJudgedFolder(away)) {
        ::rename(encoded(away).constData(), encoded(lock_).constData());
        return true;
    }
    const FileHandle owner(::open(encoded(away + kOwnerName).constData(),
                                  O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct flock range = wholeFile(F_WRLCK);
    if (owner.isOpen() && ::fcntl(owner.get(), F_OFD_GETLK, &range) == 0 &&
        range.l_type != F_UNLCK) {
        ::rename(encoded(away).constData(), encoded(lock_).constData());
        return true;
    }
    removeEntry(away);
    return true;
}

void FileLock::release() {
    const QString away = temporaryPath(lock_, "old");
    // A share may refuse the rename for a moment while another copy reads the owner.
    QElapsedTimer tried;
    tried.start();
    while (::rename(encoded(lock_).constData(), encoded(away).constData()) != 0) {
        if (errno == ENOENT || tried.elapsed() > 3000) return;
        pause(true);
    }
    owner_ = FileHandle();
    removeEntry(away);
}

} // namespace platform
