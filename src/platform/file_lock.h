#pragma once
// A lock beside a shared file, so that copies of the program on the computers of one lab
// (the application folder on a network share) take turns writing it.
//
// The lock is the folder "NAME.lock" holding the file "owner" (program, computer name,
// boot id, process id and start). A copy builds it under a name of its own
// (NAME.lock.pvr-....lck) and renames it to NAME.lock: renaming a folder onto another
// one that holds a file fails on every file system and share, where creating a file with
// O_EXCL does not exclude on some SMB clients. It lets go by renaming the lock away before
// removing it, so a copy reading the owner never keeps the holder from letting go.
//
// A lock is taken over when nobody holds it: on a local disk, when no process has the
// owner file open and locked (whatever the file says, even when empty); on a share, when
// it names this computer (name and boot) and its process is gone, or when it is older than
// kStaleLock by the share's own clock (the times of the lock and of our own new file on the
// server, so a computer whose clock is off judges no differently).

#include "platform/file_access.h"
#include "platform/text_files.h"

#include <QString>

#include <chrono>

#include <sys/types.h>

namespace platform {

// A lock of another computer is taken over once it is this old: a write holds the lock for
// milliseconds, a slow share for a second or two. Longer than a writer's wait, so a waiter
// is told "busy" rather than breaking a lock that is still held.
inline constexpr std::chrono::milliseconds kStaleLock{30000};

// The lock of `path`: the same name with ".lock" after it, in the same folder.
QString lockFilePath(const QString& path);

// Takes the lock of `path` for as long as it lives, waiting at most `wait`.
class FileLock {
public:
    explicit FileLock(const QString& path, std::chrono::milliseconds wait = kLockWait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }
    // Another copy held the lock for the whole wait.
    bool busy() const { return !held_ && !noNewFiles_ && stuck_.isEmpty() && !failed_; }
    // The folder takes no new files, so no copy can ever hold a lock there: the writer
    // locks the file itself instead (lockWholeFile), which serves copies on this computer.
    bool folderTakesNoNewFiles() const { return noNewFiles_; }
    // The writer may go on: the lock is held, or the folder takes no new files.
    bool mayWrite() const { return held_ || noNewFiles_; }
    // Why the writer may not go on: Busy, StuckLock naming the lock to remove by hand (one
    // no copy holds that this copy may not remove), or Failed.
    WriteResult refusal() const;

private:
    bool prepareCandidate();
    enum class Verdict { Gone, Held, Dead };
    Verdict judge();
    bool clear();
    bool isJudgedFolder(const QString& path) const;
    void release();

    QString lock_;
    QString candidate_;
    FileHandle owner_;
    bool shared_ = false;
    bool held_ = false;
    bool noNewFiles_ = false;
    bool failed_ = false;
    int error_ = 0; // errno of the failure to make our lock
    QString stuck_;
    qint64 ownTime_ = 0; // the share's clock when our owner file was made, in ms
    qint64 madeAt_ = 0;  // our own monotonic clock then, in ms
    // The lock folder the last verdict was about: a "dead" verdict clears that one only.
    dev_t judgedDevice_ = 0;
    ino_t judgedFolder_ = 0;
};

// Waits at most `wait` for a write lock of the whole open file (a lock the system keeps
// for this open file, seen by every process on this computer). False when not had.
bool lockWholeFile(int fd, std::chrono::milliseconds wait);

} // namespace platform
