#pragma once
// ANSI text files (Windows-1251, CR LF). Paths given here are used as they are; callers
// that need the case-insensitive look-up build them with platform::childPath.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace platform {

// How long a writer waits for another copy of the program to finish with a shared file.
inline constexpr std::chrono::milliseconds kLockWait{10000};

// The whole file decoded, every byte kept (a final CR LF stays part of the text).
// Empty optional when the file cannot be read (missing, a folder, no permission).
std::optional<QString> readWholeFile(const QString& path);

// The file line by line: CR LF, a lone LF and a last line without an end all end a line;
// an empty line is an entry of its own; a file ending in a line end has no extra empty
// entry after it. Empty optional when the file cannot be read.
std::optional<QStringList> readLines(const QString& path);

// The text without one final line end (CR LF, or a lone LF): what an editable field
// shows of a file that was written as the field followed by CR LF, so that saving the
// field unchanged gives the same file back.
QString withoutFinalLineEnd(const QString& text);

// How a write ended. True only when it was written, so `if (write(...))` reads as before.
class WriteResult {
public:
    enum Kind { Written, Busy, Failed };
    WriteResult(Kind kind) : kind_(kind) {}
    explicit operator bool() const { return kind_ == Written; }
    Kind kind() const { return kind_; }
    // Another copy of the program held the file's lock for the whole wait.
    bool busy() const { return kind_ == Busy; }

private:
    Kind kind_;
};

// Writes all of `bytes` to the device, however many calls that takes. False on the first
// write that fails or takes nothing.
bool writeAll(QIODevice& device, const QByteArray& bytes);

// Replaces the file atomically with `bytes`: every write is checked and the data is on the
// disk before the new file takes the old one's place, so a crash or a full disk leaves
// either the old file byte for byte or the new one, never half of it, and a write that did
// not reach the disk is never reported done.
bool writeBytesAtomically(const QString& path, const QByteArray& bytes);

// Replaces the file atomically with `text` followed by CR LF, in Windows-1251.
bool writeWholeFile(const QString& path, const QString& text);

// Appends `text` exactly as given (no line end added), in Windows-1251, as one record of a
// file that copies of the program on several computers append to: under the file's lock
// (platform/file_lock.h), in one write, on the disk before it is reported written. When the
// file does not end in a line end (a record torn by a crash), the record starts on a fresh
// line. Creates the file when missing. When the record cannot be written, the file keeps
// exactly what it held: only this record's bytes are ever cut back.
WriteResult appendText(const QString& path, const QString& text,
                       std::chrono::milliseconds lockWait = kLockWait);

} // namespace platform
