#pragma once
// ANSI text files (Windows-1251, CR LF). Paths given here are used as they are; callers
// that need the case-insensitive look-up build them with platform::childPath.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

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

// Replaces the file atomically with `bytes`: a crash or a full disk leaves either the
// old file or the new one, never half of it.
bool writeBytesAtomically(const QString& path, const QByteArray& bytes);

// Replaces the file atomically with `text` followed by CR LF, in Windows-1251.
bool writeWholeFile(const QString& path, const QString& text);

// Appends `text` exactly as given (no line end added), in Windows-1251, in one write,
// flushed. Creates the file when missing. False when it could not be written; what the
// file held before is never changed.
bool appendText(const QString& path, const QString& text);

} // namespace platform
