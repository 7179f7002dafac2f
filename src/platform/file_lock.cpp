#include "platform/file_lock.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

namespace platform {

QString lockFilePath(const QString& path) { return path + QStringLiteral(".lock"); }

FileLock::FileLock(const QString& path, std::chrono::milliseconds wait)
    : lock_(lockFilePath(path)) {
    lock_.setStaleLockTime(int(kStaleLock.count()));
    QElapsedTimer waited;
    waited.start();
    // QLockFile's own wait doubles its pause up to seconds; fifteen copies taking turns
    // for a few milliseconds each would starve a waiter that way. Short, jittered pauses
    // keep the turns fair.
    for (;;) {
        if (lock_.tryLock(0)) {
            held_ = true;
            return;
        }
        if (lock_.error() != QLockFile::LockFailedError) return;
        if (waited.elapsed() >= wait.count()) return;
        QThread::msleep(1 + QRandomGenerator::global()->bounded(10u));
    }
}

} // namespace platform
