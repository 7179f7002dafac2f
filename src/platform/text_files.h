#pragma once
// ANSI text files (Windows-1251, CR LF). Paths given here are used as they are; callers
// that need the case-insensitive look-up build them with platform::childPath.

#include "platform/file_access.h"
#include "platform/folders.h"

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
// The lines of a file's bytes, as readLines reads them.
QStringList linesOf(const QByteArray& bytes);

// The bytes of a file that a listing made just now named (platform::listFiles), read once
// and not kept for the event: for a reader that goes through whole folders once. A file the
// listing called plain is opened without a look first (one round trip, not two); O_NONBLOCK
// keeps a FIFO put in its place since from holding the open, and its read ends at once.
std::optional<QByteArray> readListedFile(const QString& folder, const ListedFile& file);

// The text without one final line end (CR LF, or a lone LF): what an editable field
// shows of a file that was written as the field followed by CR LF, so that saving the
// field unchanged gives the same file back.
QString withoutFinalLineEnd(const QString& text);

// Writes all of `bytes` to the device, however many calls that takes. False on the first
// write that fails or takes nothing.
bool writeAll(QIODevice& device, const QByteArray& bytes);

// Replaces the file atomically with `bytes`: every write is checked and the data is on the
// disk before the new file takes the old one's place, so a crash or a full disk leaves
// either the old file byte for byte or the new one, never half of it, and a write that did
// not reach the disk is never reported done. A symbolic link or a special file of that name
// is refused, never written through (platform::replaceFiles).
bool writeBytesAtomically(const QString& path, const QByteArray& bytes);
WriteResult replaceFile(const QString& path, const QByteArray& bytes);

// Replaces the file atomically with `text` followed by CR LF, in Windows-1251.
bool writeWholeFile(const QString& path, const QString& text);
WriteResult replaceWholeFile(const QString& path, const QString& text);

// Appends `text` exactly as given (no line end added), in Windows-1251, as one record of a
// file that copies of the program on several computers append to: under the file's lock
// (platform/file_lock.h), in one write, on the disk before it is reported written. When the
// file does not end in a line end (a record torn by a crash), the record starts on a fresh
// line. Creates the file when missing. When the record cannot be written, the file keeps
// exactly what it held: only this record's bytes are ever cut back. The record goes at the
// end as the server holds it (never at a size a share's client kept), and on a share it is
// reported written only once it reads back there. Without a lock file (a folder that takes
// no new files) the report itself is locked. A link or a special file is refused
// (NotPlain), a lock nobody holds and this copy may not remove is named (StuckLock).
WriteResult appendText(const QString& path, const QString& text,
                       std::chrono::milliseconds lockWait = kLockWait);

} // namespace platform
