#pragma once
// Telling the program's own Windows-1251 text files from files another editor saved in
// UTF-8 or UTF-16 (a Linux editor, a "save as Unicode"), and turning those back into
// Windows-1251. Files from outside (question banks to import) are decoded by what they
// hold. Next to ansi_codec, this is the only place that encodes.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

enum class TextEncoding {
    Ansi,     // Windows-1251 (or plain ASCII, which reads the same either way)
    Utf8,     // valid UTF-8 holding characters beyond ASCII, without a byte-order mark
    Utf8Bom,  // UTF-8 starting with the byte-order mark EF BB BF
    Utf16Bom, // UTF-16 with its byte-order mark (FF FE or FE FF)
};

// What the bytes most likely are. Windows-1251 Russian text is practically never valid
// UTF-8 (its small letters are lead bytes without the continuation bytes UTF-8 needs), so
// valid UTF-8 beyond ASCII is taken for UTF-8.
TextEncoding detectEncoding(const QByteArray& bytes);

// The text, decoded by what detectEncoding finds; the byte-order mark is dropped.
QString decodeDetected(const QByteArray& bytes);

// The file's bytes; empty optional when it cannot be read or is not a regular file (a FIFO
// is never read from).
std::optional<QByteArray> readBytes(const QString& path);

// Calls `visit` with each line of the file in turn, decoded, without its line end (LF,
// with any CRs before it), reading a piece at a time so that a report of gigabytes never
// sits in memory whole. The encoding is told from the byte-order mark, else from the first
// line beyond ASCII (valid UTF-8 or Windows-1251); a UTF-16 file is read whole. A last
// empty line after the final line end is no line. False when the file cannot be read.
bool forEachLine(const QString& path, const std::function<void(const QString& line)>& visit);

class ContainedFolder;

// What converting one file to Windows-1251 would come to.
struct Conversion {
    // NotPlain: the file, or a folder on its way, is a link or no regular file; it was not
    // read. Failed: it could not be read.
    enum class Outcome { Convertible, AlreadyAnsi, Unconvertible, NotPlain, Failed };
    Outcome outcome = Outcome::Failed;
    QString character;    // Unconvertible: the first character Windows-1251 cannot hold
    QByteArray original;  // Convertible: the file's bytes as they are
    QByteArray converted; // Convertible: the same text in Windows-1251, line ends as they were
};

// Reads the UTF-8 or UTF-16 text file at `file` inside `folder` (never through a link)
// and says what it would be in Windows-1251. Writes nothing.
Conversion planConversion(const ContainedFolder& folder, const QString& file);

// UTF-8 with a byte-order mark: what spreadsheet programs need to see to read a CSV file
// as UTF-8.
QByteArray toUtf8WithBom(const QString& text);

} // namespace platform
