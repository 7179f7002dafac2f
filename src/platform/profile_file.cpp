#include "platform/profile_file.h"

#include "platform/ansi_codec.h"
#include "platform/text_files.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

// Everything here works on the Windows-1251 bytes of the file, so that the parts we do not
// change are written back exactly as they were, whatever they contain. Only the value we
// return is decoded.

// Lower case of every Windows-1251 byte, so names compare without decoding each line
// (a file of millions of lines stays cheap to search).
const std::array<std::uint8_t, 256>& lowerCaseTable() {
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> lower{};
        for (int byte = 0; byte < 256; ++byte) {
            lower[byte] = static_cast<std::uint8_t>(byte);
            const QString character = fromAnsi(QByteArray(1, static_cast<char>(byte)));
            const QString folded = character.toLower();
            if (folded == character) continue;
            const QByteArray encoded = toAnsi(folded);
            if (encoded.size() == 1 && encoded != "?")
                lower[byte] = static_cast<std::uint8_t>(encoded.at(0));
        }
        return lower;
    }();
    return table;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A part of `content`, [begin, end).
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
    bool isEmpty() const { return begin >= end; }
};

Span trimmed(const QByteArray& content, Span span) {
    const char* data = content.constData();
    while (span.begin < span.end && isBlank(data[span.begin]))
        ++span.begin;
    while (span.end > span.begin && isBlank(data[span.end - 1]))
        --span.end;
    return span;
}

bool sameName(const QByteArray& content, Span span, const QByteArray& name) {
    if (span.end - span.begin != name.size()) return false;
    const auto& lower = lowerCaseTable();
    const char* data = content.constData() + span.begin;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (lower[static_cast<std::uint8_t>(data[i])] != lower[static_cast<std::uint8_t>(name[i])])
            return false;
    }
    return true;
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct Line {
    Span text;          // without the line end
    qsizetype next = 0; // where the following line starts
    bool ended = false; // has a line end (the last line of a file may not)
    LineKind kind = LineKind::Blank;
    Span name;  // section or key name, trimmed
    Span value; // entry value, trimmed
};

// Walks the lines of an INI text in one pass; every step costs time in proportion to the
// bytes of that line only.
class LineReader {
public:
    explicit LineReader(const QByteArray& content) : content_(content) {
        if (content_.startsWith("\xEF\xBB\xBF")) pos_ = 3;
    }

    bool next(Line& line) {
        const qsizetype size = content_.size();
        if (pos_ >= size) return false;
        const char* data = content_.constData();
        qsizetype end = content_.indexOf('\n', pos_);
        line.ended = end >= 0;
        if (end < 0) end = size;
        line.next = line.ended ? end + 1 : size;
        line.text = {pos_, end};
        if (end > pos_ && data[end - 1] == '\r') --line.text.end;
        pos_ = line.next;

        const Span body = trimmed(content_, line.text);
        line.name = {};
        line.value = {};
        if (body.isEmpty()) {
            line.kind = LineKind::Blank;
        } else if (data[body.begin] == ';') {
            line.kind = LineKind::Comment;
        } else if (data[body.begin] == '[') {
            line.kind = LineKind::Section;
            // A header without ']' names the rest of its line.
            const qsizetype close = indexIn(body.begin + 1, body.end, ']');
            line.name = trimmed(content_, {body.begin + 1, close < 0 ? body.end : close});
        } else {
            const qsizetype equals = indexIn(body.begin, body.end, '=');
            if (equals < 0) {
                line.kind = LineKind::Other;
            } else {
                line.kind = LineKind::Entry;
                line.name = trimmed(content_, {body.begin, equals});
                line.value = trimmed(content_, {equals + 1, body.end});
            }
        }
        return true;
    }

private:
    qsizetype indexIn(qsizetype begin, qsizetype end, char c) const {
        // Bounded to the line: searching on into the rest of the file would make a file of
        // many lines without '=' quadratic.
        if (begin >= end) return -1;
        const char* data = content_.constData();
        const void* found = std::memchr(data + begin, c, static_cast<std::size_t>(end - begin));
        return found ? static_cast<const char*>(found) - data : -1;
    }

    const QByteArray& content_;
    qsizetype pos_ = 0;
};

// What a store needs to know about the text: where the wanted section and key are.
struct Layout {
    bool sectionFound = false;
    Line header; // the first header of the section
    bool keyFound = false;
    Line keyLine; // the first entry of the key in that section
    bool hasEntries = false;
    Line lastEntry; // the section's last entry line
};

Layout findKey(const QByteArray& content, const QByteArray& section, const QByteArray& key) {
    Layout layout;
    LineReader reader(content);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) break; // only the first section of that name counts
            if (sameName(content, line.name, section)) {
                inSection = true;
                layout.sectionFound = true;
                layout.header = line;
            }
            continue;
        }
        if (!inSection || line.kind != LineKind::Entry) continue;
        if (!layout.keyFound && sameName(content, line.name, key)) {
            layout.keyFound = true;
            layout.keyLine = line;
            break; // a replacement needs nothing further
        }
        layout.hasEntries = true;
        layout.lastEntry = line;
    }
    return layout;
}

QByteArray trimmedName(const QString& name) {
    const QByteArray bytes = toAnsi(name);
    const Span span = trimmed(bytes, {0, bytes.size()});
    return bytes.mid(span.begin, span.end - span.begin);
}

// A line break inside a value or name would cut the line in two and make the rest of it
// a line of its own; we write a blank instead.
QByteArray oneLine(const QString& text) {
    QByteArray bytes = toAnsi(text);
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

} // namespace

QString profileLookup(const QByteArray& content, const QString& section, const QString& key) {
    const Layout layout = findKey(content, trimmedName(section), trimmedName(key));
    if (!layout.keyFound) return {};
    const Span value = layout.keyLine.value;
    return fromAnsi(content.mid(value.begin, value.end - value.begin));
}

QByteArray profileStore(const QByteArray& content, const QString& section, const QString& key,
                        const QString& value) {
    const QByteArray entry = oneLine(key) + '=' + oneLine(value);
    const Layout layout = findKey(content, trimmedName(section), trimmedName(key));

    if (layout.keyFound) {
        // Only the value changes: the name keeps its spelling as it stands in the file
        // ("BILET" stays "BILET"), and the line keeps its own line end.
        QByteArray result = content;
        const Span text = layout.keyLine.text;
        const QByteArray line = content.mid(text.begin, text.end - text.begin);
        const QByteArray storedName = line.left(line.indexOf('=')).trimmed();
        result.replace(text.begin, text.end - text.begin, storedName + '=' + oneLine(value));
        return result;
    }

    if (layout.sectionFound) {
        const Line& after = layout.hasEntries ? layout.lastEntry : layout.header;
        QByteArray insertion;
        if (!after.ended) insertion += kLineEnd;
        insertion += entry + kLineEnd;
        QByteArray result = content;
        result.insert(after.next, insertion);
        return result;
    }

    QByteArray result = content;
    const bool onlyBom = content == "\xEF\xBB\xBF";
    if (!content.isEmpty() && !onlyBom && !content.endsWith('\n')) result += kLineEnd;
    result += '[' + oneLine(section) + ']' + kLineEnd + entry + kLineEnd;
    return result;
}

QString readProfileString(const QString& file, const QString& section, const QString& key) {
    if (file.isEmpty() || QFileInfo(file).isDir()) return {};
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    const QByteArray content = in.readAll();
    return profileLookup(content, section, key).left(kProfileValueLimit);
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    if (file.isEmpty() || QFileInfo(file).isDir()) return false;
    QByteArray content;
    if (QFileInfo::exists(file)) {
        QFile in(file);
        // A file we cannot read would be replaced by one holding only the new key.
        if (!in.open(QIODevice::ReadOnly)) return false;
        content = in.readAll();
        if (in.error() != QFileDevice::NoError) return false;
    }
    return writeBytesAtomically(file, profileStore(content, section, key, value));
}

} // namespace platform
