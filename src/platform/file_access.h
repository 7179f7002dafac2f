#pragma once
// The system calls under every read and write of the program's files. The application
// folder of a lab is a share every student can write, so nothing here trusts what it
// finds there: a file is opened only when it is a regular file (a FIFO would block the
// program, a device would never end), nothing is written through a symbolic link, nor
// into a folder that a link takes outside the application folder, and a network share's
// client caches are stepped around where a stale size would lose data.

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QCryptographicHash;

namespace platform {

// How a write ended. True only when it was written, so `if (write(...))` reads as before.
// A refusal names the file it is about, and the system's own reason when it gave one, for
// the message. Never to be dropped: a write nobody looks at fails unseen.
class [[nodiscard]] WriteResult {
public:
    enum Kind {
        Written,
        Busy,      // another copy of the program held the file's lock for the whole wait
        Failed,    // the system refused (full disk, no permission, ...)
        NotPlain,  // the file is a symbolic link or not a regular file: never written
        StuckLock, // a lock no copy of the program holds, which this one cannot remove
        TooLarge,  // the file is too large to be read into memory for a change
    };
    WriteResult(Kind kind, QString file = {}, QString reason = {})
        : kind_(kind), file_(std::move(file)), reason_(std::move(reason)) {}
    // A failure the system call just reported, with errno's text as the reason.
    static WriteResult systemFailure(QString file);
    static WriteResult systemFailure(QString file, int error);
    explicit operator bool() const { return kind_ == Written; }
    Kind kind() const { return kind_; }
    bool busy() const { return kind_ == Busy; }
    // The file a refusal is about (the link, the FIFO, the lock to remove); may be empty.
    const QString& file() const { return file_; }
    // The system's reason ("No space left on device"), in its language; may be empty.
    const QString& reason() const { return reason_; }

private:
    Kind kind_;
    QString file_;
    QString reason_;
};

// A settings or test file larger than this is refused rather than read whole: such files
// hold a few kilobytes, and a damaged or planted one of gigabytes would exhaust memory.
inline constexpr qint64 kLargestSettingsFile = 16 * 1024 * 1024;

// The application folder (absolute). Below it, a write never goes through a folder that
// is a symbolic link leading out of it. Empty (the default) checks the file itself only.
void setApplicationFolderRoot(const QString& folder);

// The file descriptor of an open file, closed when this goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd, qint64 sizeWhenOpened = -1) : fd_(fd), size_(sizeWhenOpened) {}
    FileHandle(FileHandle&& other) noexcept : size_(other.size_) { fd_ = other.release(); }
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    int release();
    // The size the file had when it was opened for reading, or -1: a hint, never a limit.
    qint64 sizeWhenOpened() const { return size_; }

private:
    int fd_ = -1;
    qint64 size_ = -1;
};

// Opens an existing regular file for reading, links followed (reading harms nothing), and
// never blocks on a FIFO. Not open when missing, unreadable or not a regular file;
// `notPlain` then tells the last. `fresh` on a share reads past the client's caches
// (O_DIRECT): what the server holds now, beyond a size the client still believes.
FileHandle openForReading(const QString& path, bool* notPlain = nullptr, bool fresh = false);

// Opens the file for writing (created when missing, mode rw for everyone less the umask)
// only when it is a regular file reached without any symbolic link below the application
// folder: the refusal is NotPlain naming the path. `flags` adds O_APPEND and the like.
FileHandle openForWriting(const QString& path, int flags, WriteResult* refusal);

// O_DIRECT where the path lies on a share (isSharedFileSystem), else nothing: a handle
// that reads and writes what the server holds, not what the client keeps.
int directFlagFor(const QString& path);

// The file's whole content from an open handle, read to its end whatever size a client
// cache reports; nothing on a read error or when it holds more than `limit` bytes
// (`tooLarge` then set).
std::optional<QByteArray> readAllFrom(const FileHandle& file, qint64 limit = -1,
                                      bool* tooLarge = nullptr);

// Up to `most` bytes from the handle's place on, fewer only where the file ends; nothing on
// a read error.
std::optional<QByteArray> readUpTo(const FileHandle& file, qsizetype most);

// The file's size as the server holds it now: a network client's cached size is asked
// again. -1 on failure.
qint64 freshSize(int fd);

// Where the file ends, found by reading from the size the client believes on to the end
// (on a handle opened past the caches this is the server's end), and its last byte
// (0 for an empty file). -1 on failure.
qint64 readToEnd(int fd, char* last);

// True when the folder lies on a network file system (NFS, SMB, FUSE mounts such as sshfs):
// other computers write there, and the client's caches may be stale.
bool isSharedFileSystem(const QString& folder);
// Takes the folder for one on a network file system whatever the system says (the tests
// see a share's rules on a local disk this way).
void markSharedFileSystem(const QString& folder);

// Writes all bytes at the current position (or the end, for O_APPEND), however many calls it
// takes; then the data is on the disk. False on any failure.
bool writeAllToDisk(int fd, const QByteArray& bytes);
// The same without the sync, for a file whose loss in a crash harms nothing.
bool writeAllBytes(int fd, const QByteArray& bytes);

// A name for a temporary entry beside `path`, of the program's own pattern: `path` +
// ".pvr-" + 16 hex digits + "." + `kind` (tmp for a file being written, lck for a lock
// being taken, old for one let go). Never the name of anything a user keeps.
QString temporaryPath(const QString& path, const char* kind);
// True for a name temporaryPath() makes.
bool isTemporaryName(const QString& name);

// Removes a file, or a folder with the files in it (one level: what the program puts
// into its lock folders). True when nothing is left.
bool removeEntry(const QString& path);

// True where a file shared under a lock is rewritten in place rather than replaced by a
// rename: on a network mount. An SMB client renames onto an existing file by removing it
// first, and the clients of other computers go on reading the removed file.
bool rewritesInPlace(const QString& path);
// Rewrites the file in place (the caller holds its lock): the bytes written from the start,
// the file cut to their length, synced and read back through the share.
WriteResult rewriteInPlace(const QString& path, const QByteArray& bytes);

// The files of one save: each replaces its path whole.
struct FileContent {
    QString path;
    QByteArray bytes;
};

// Replaces every file atomically and all together as far as a file system allows: each is
// written to its temporary name and put on the disk first, and only when every one of them
// is there do they take their places; on any failure the temporaries go and every old file
// stays as it was. A file that is a symbolic link or not a regular file is never replaced
// (NotPlain). On a network share each file is read back through the share before the save
// is reported done.
WriteResult replaceFiles(const QList<FileContent>& files);

// One file replaced as replaceFiles replaces it, written a piece at a time: for a file too
// large to be held whole first (an exam of thousands of tickets exported). Nothing takes the
// file's place until commit(); a replacement given up (not committed) leaves the old file
// byte for byte and no temporary behind.
class FileReplacement {
public:
    explicit FileReplacement(QString path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // Adds bytes to the file; they are written in large pieces. A failure is kept for commit.
    void add(const QByteArray& bytes);
    // The data on the disk, then the file in its place (read back on a share).
    WriteResult commit();
    // Written so far, or the first failure (the temporary copy could not be made).
    const WriteResult& status() const { return failure_; }

private:
    void writePending();

    QString path_;
    QString temporary_;
    FileHandle out_;
    QByteArray pending_;
    WriteResult failure_{WriteResult::Written};
    bool shared_ = false;
    std::unique_ptr<QCryptographicHash> added_; // on a share: what was added, to read back
};

} // namespace platform
