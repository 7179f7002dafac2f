#pragma once
// A lock file beside a shared file, so that copies of the program on the computers of one
// lab (the application folder on a network share) take turns writing it.

#include "platform/text_files.h"

#include <QLockFile>
#include <QString>

#include <chrono>

namespace platform {

// A lock older than this whose owner cannot be asked (a computer switched off, a copy
// killed on another computer) is taken over; a write holds the lock for milliseconds.
// A copy killed on this computer is seen at once by its process id.
inline constexpr std::chrono::milliseconds kStaleLock{8000};

// The lock file of `path`: the same name with ".lock" after it, in the same folder.
QString lockFilePath(const QString& path);

// Takes the lock of `path` for as long as it lives, waiting at most `wait`.
class FileLock {
public:
    explicit FileLock(const QString& path, std::chrono::milliseconds wait = kLockWait);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }
    // Another copy held the lock for the whole wait.
    bool busy() const { return !held_ && lock_.error() == QLockFile::LockFailedError; }
    // The file may be written: the lock is held, or no copy can ever hold it because the
    // folder takes no new files (a report that stays writable in a folder made read-only).
    // False for a lock that could not be had for any other reason, a full disk included.
    bool mayWrite() const { return held_ || lock_.error() == QLockFile::PermissionError; }

private:
    QLockFile lock_;
    bool held_ = false;
};

} // namespace platform
