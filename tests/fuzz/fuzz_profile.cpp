// The INI reader and writer on any bytes. Input: the file's bytes, then NUL-separated the
// section and key/value pairs to store. A store then a re-read gives back the last value
// stored (as the file's encoding can hold it), every key the store did not touch reads as
// before, and storing the same again changes nothing.

#include "fuzz_entry.h"

#include "platform/ansi_codec.h"
#include "platform/profile_file.h"

#include <QStringDecoder>

using namespace platform;

namespace {

enum class Form { Ansi, Utf8, Utf16 };

Form formOf(const QByteArray& content) {
    if (content.startsWith("\xEF\xBB\xBF")) return Form::Utf8;
    if (content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF")) return Form::Utf16;
    return Form::Ansi;
}

// What the reader gives back for a stored value.
QString readBack(const QString& value, Form form) {
    QString expected = form == Form::Ansi ? fromAnsi(toAnsi(value)) : value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '));
    expected.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return expected;
}

// The file as text, in its own encoding.
QString textOf(const QByteArray& content) {
    switch (formOf(content)) {
    case Form::Ansi:
        return fromAnsi(content);
    case Form::Utf8:
        return QString::fromUtf8(content.mid(3));
    case Form::Utf16:
        break;
    }
    QStringDecoder decoder(content.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE);
    return decoder.decode(content.mid(2));
}

// The names of sections and keys the file holds, roughly: enough to probe with.
void namesIn(const QByteArray& content, QStringList& sections, QStringList& keys) {
    QString text = textOf(content);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && sections.size() < 16)
            sections << line.mid(1).section(QLatin1Char(']'), 0, 0);
        else if (line.contains(QLatin1Char('=')) && keys.size() < 16)
            keys << line.section(QLatin1Char('='), 0, 0);
    }
}

// A name as the file can hold it: Windows-1251 turns what it lacks into '?'.
QString held(const QString& name, Form form) {
    return form == Form::Ansi ? fromAnsi(toAnsi(name)) : name;
}

bool looselySame(const QString& a, const QString& b) {
    return a.trimmed().toCaseFolded() == b.trimmed().toCaseFolded() ||
           a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0 ||
           toAnsi(a.trimmed()).toLower() == toAnsi(b.trimmed()).toLower();
}

void checkUntouched(const QByteArray& before, const QByteArray& after, const QString& section,
                    const QList<ProfileEntry>& entries) {
    QStringList sections, keys;
    namesIn(before, sections, keys);
    const Form form = formOf(before);
    for (const QString& probeSection : sections) {
        for (const QString& probeKey : keys) {
            bool touched = false;
            for (const ProfileEntry& entry : entries)
                touched = touched || (looselySame(probeSection, held(section, form)) &&
                                      looselySame(probeKey, held(entry.key, form)));
            if (touched) continue;
            fuzzCheck(profileLookup(before, probeSection, probeKey) ==
                          profileLookup(after, probeSection, probeKey),
                      "a key the store did not touch reads differently");
        }
    }
}

} // namespace

extern "C" int PROVERON_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const QByteArray content = parts.value(0);
    const QString section = QString::fromUtf8(parts.value(1, "test"));
    QList<ProfileEntry> entries;
    for (qsizetype i = 2; i + 1 < parts.size() && entries.size() < 8; i += 2)
        entries.append({QString::fromUtf8(parts[i]), QString::fromUtf8(parts[i + 1])});
    if (entries.isEmpty()) entries.append({QStringLiteral("pass"), QStringLiteral("abc")});

    profileLookup(content, section, entries.front().key);
    const std::optional<QByteArray> stored = profileStore(content, section, entries);
    if (!stored) return 0;
    const ProfileEntry& last = entries.back();
    fuzzCheck(profileLookup(*stored, section, last.key) == readBack(last.value, formOf(content)),
              "a stored value does not read back");
    checkUntouched(content, *stored, section, entries);
    fuzzCheck(profileStore(*stored, section, entries) == stored,
              "storing the same again changes the file");
    return 0;
}
