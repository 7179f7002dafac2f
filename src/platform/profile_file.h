#pragma once
// Our own reader and writer of profile (INI) files: case-insensitive section and key
// names, empty default, values cut to 255 characters on read, the file created on first
// write, a new key appended to its section, an existing key replaced in place, and every
// other byte of the file kept as it was.

#include <QByteArray>
#include <QString>

namespace platform {

inline constexpr int kProfileValueLimit = 255;

// The value of `key` in `section` of an INI text held in `content` (Windows-1251 bytes).
// Tolerates LF-only line ends, a missing final line end, blanks around names and '=',
// ';' comment lines, lines without '=', a UTF-8 BOM; the first of duplicate keys or
// sections wins. Empty when missing. Not cut to the limit.
QString profileLookup(const QByteArray& content, const QString& section, const QString& key);

// `content` with `key` in `section` set to `value`: replaced in place when present,
// appended after the section's last entry when the key is new, a new section appended at
// the end when the section is new. Lines written by us end in CR LF.
QByteArray profileStore(const QByteArray& content, const QString& section, const QString& key,
                        const QString& value);

// File versions of the two above. A missing or unreadable file reads as empty; the value
// read is cut to kProfileValueLimit characters. The write replaces the file atomically and
// returns false when it could not (read-only folder, ...), leaving the old file intact.
QString readProfileString(const QString& file, const QString& section, const QString& key);
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

} // namespace platform
