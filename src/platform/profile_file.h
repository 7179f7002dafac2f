#pragma once
// Our own reader and writer of profile (INI) files: case-insensitive section and key
// names, empty default, values cut to 255 characters on read, the file created on first
// write, a new key appended to its section, an existing key replaced in place, and every
// other byte of the file kept as it was.
//
// Teachers edit these files by hand in Windows editors, so they are read as Windows'
// own profile functions read them: a line ends in CR LF, a lone LF or a lone CR (the last
// line may have no end); blanks around names and values do not count; one pair of
// matching quotes around a value ('x' or "x") is not part of it; lines starting with ';'
// are comments; a UTF-8 byte order mark makes the file UTF-8, a UTF-16 one (an editor's
// "Unicode") UTF-16, and anything else is Windows-1251. The first of duplicate sections
// or keys wins.

#include "platform/text_files.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace platform {

inline constexpr int kProfileValueLimit = 255;

struct ProfileEntry {
    QString key;
    QString value;
};

// The value of `key` in `section` of an INI text held in `content` (the file's bytes).
// Empty when missing. Not cut to the limit.
QString profileLookup(const QByteArray& content, const QString& section, const QString& key);

// `content` with each entry stored in `section`, in order: replaced in place when the key
// is there, appended after the section's last entry when it is new, a new section appended
// at the end when the section is new. Lines written by us end in CR LF, in the file's own
// encoding; a value that would not read back as given (blanks at either end, or quotes
// around it) is written in quotes; a line break inside a value is written as a blank.
// Nothing for a name that could not be found again (empty, holding a line break, a key
// holding '=' or starting with ';' or '[', a section holding ']'), or for a UTF-16 file
// that could not be written back unchanged.
std::optional<QByteArray> profileStore(const QByteArray& content, const QString& section,
                                       const QList<ProfileEntry>& entries);
std::optional<QByteArray> profileStore(const QByteArray& content, const QString& section,
                                       const QString& key, const QString& value);

// The whole file; empty when it does not exist; nothing when it exists but cannot be read
// (no permission, a folder of that name).
std::optional<QByteArray> readProfileFile(const QString& file);

// Whether the file can be read as a settings file: missing (read as empty), or a plain file
// that opens, no larger than a settings file may be.
bool isProfileFileReadable(const QString& file);

// The value read from the file, cut to kProfileValueLimit characters; nothing when the
// file exists but cannot be read.
std::optional<QString> readProfileValue(const QString& file, const QString& section,
                                        const QString& key);
// The same, with an unreadable file read as empty.
QString readProfileString(const QString& file, const QString& section, const QString& key);

// Stores the entries in one replacement of the file, under the file's lock (so copies of
// the program on other computers take turns), reading the file again under the lock so
// that what another copy stored meanwhile is kept. The old file stays byte for byte when
// the store fails; a file that exists but cannot be read is never replaced.
WriteResult writeProfileStrings(const QString& file, const QString& section,
                                const QList<ProfileEntry>& entries,
                                std::chrono::milliseconds lockWait = kLockWait);
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

// The same store, saved together with other whole files (a question's text file beside
// its test file): all of them or none.
WriteResult writeProfileStringsWith(const QString& file, const QString& section,
                                    const QList<ProfileEntry>& entries,
                                    const QList<FileContent>& alongside,
                                    std::chrono::milliseconds lockWait = kLockWait);

} // namespace platform
