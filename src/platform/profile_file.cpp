#include "platform/profile_file.h"

#include "platform/ansi_codec.h"
#include "platform/file_lock.h"
#include "platform/read_cache.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// Everything here works on the bytes of the file, so that the parts we do not change are
// written back exactly as they were, whatever they contain. Only names and values are
// encoded and decoded.

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

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

// What the reader takes off both ends of a name or a value. CR and LF end lines.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isQuote(char c) { return c == '"' || c == '\''; }

// The file's own encoding of names and values: UTF-8 after a UTF-8 byte order mark,
// Windows-1251 otherwise.
struct Codec {
    bool utf8 = false;
    QByteArray encode(const QString& text) const { return utf8 ? text.toUtf8() : toAnsi(text); }
    QString decode(const QByteArray& bytes) const {
        return utf8 ? QString::fromUtf8(bytes) : fromAnsi(bytes);
    }
};

Codec codecOf(const QByteArray& content) { return {content.startsWith(kUtf8Bom)}; }

// A part of `content`, [begin, end).
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
    bool isEmpty() const { return begin >= end; }
    qsizetype size() const { return end - begin; }
};

Span trimmed(const QByteArray& content, Span span) {
    const char* data = content.constData();
    while (span.begin < span.end && isBlank(data[span.begin]))
        ++span.begin;
    while (span.end > span.begin && isBlank(data[span.end - 1]))
        --span.end;
    return span;
}

// The value as the reader gives it: one pair of matching quotes around it is taken off.
Span unquoted(const QByteArray& content, Span value) {
    const char* data = content.constData();
    if (value.size() >= 2 && isQuote(data[value.begin]) && data[value.end - 1] == data[value.begin])
        return {value.begin + 1, value.end - 1};
    return value;
}

bool hasHighBytes(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<std::uint8_t>(data[i]) >= 0x80) return true;
    }
    return false;
}

bool sameName(const QByteArray& content, Span span, const QByteArray& name, const Codec& codec) {
    const char* data = content.constData() + span.begin;
    if (codec.utf8 && (hasHighBytes(data, span.size()) || hasHighBytes(name.data(), name.size())))
        return codec.decode(QByteArray(data, span.size()))
                   .compare(codec.decode(name), Qt::CaseInsensitive) == 0;
    if (span.size() != name.size()) return false;
    const auto& lower = lowerCaseTable();
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
        if (content_.startsWith(kUtf8Bom)) pos_ = kUtf8Bom.size();
    }

    // The next section header line, passing over every other line without looking into
    // it: a search for a section that is not there crosses a file of millions of lines at
    // the speed of a search for '['.
    bool nextHeader(Line& line) {
        const qsizetype size = content_.size();
        const char* data = content_.constData();
        qsizetype from = pos_;
        while (from < size) {
            const void* found =
                std::memchr(data + from, '[', static_cast<std::size_t>(size - from));
            if (!found) break;
            const qsizetype bracket = static_cast<const char*>(found) - data;
            qsizetype start = bracket;
            while (start > pos_ && isBlank(data[start - 1]))
                --start;
            if (start == pos_ || isLineEnd(data[start - 1])) {
                pos_ = start; // a line starts here, with '[' its first non-blank
                return next(line);
            }
            from = bracket + 1;
        }
        pos_ = size;
        return false;
    }

    bool next(Line& line) {
        const qsizetype size = content_.size();
        if (pos_ >= size) return false;
        const char* data = content_.constData();
        // The line ends at the first CR or LF: the first LF bounds the search for a CR.
        const void* lf = std::memchr(data + pos_, '\n', static_cast<std::size_t>(size - pos_));
        qsizetype end = lf ? static_cast<const char*>(lf) - data : size;
        if (const void* cr = std::memchr(data + pos_, '\r', static_cast<std::size_t>(end - pos_)))
            end = static_cast<const char*>(cr) - data;
        line.text = {pos_, end};
        line.ended = end < size;
        line.next = end;
        // CR LF is one line end; a lone CR or a lone LF is one too.
        if (line.ended) {
            const bool crLf = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n';
            line.next += crLf ? 2 : 1;
        }
        pos_ = line.next;
        classify(line);
        return true;
    }

private:
    void classify(Line& line) const {
        const char* data = content_.constData();
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
    }

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
    Line lastEntry;            // the section's last entry line
    bool sectionEnded = false; // another section's header seen after it
};

Layout findKey(const QByteArray& content, const Codec& codec, const QByteArray& section,
               const QByteArray& key) {
    Layout layout;
    LineReader reader(content);
    Line line;
    bool inSection = false;
    while (inSection ? reader.next(line) : reader.nextHeader(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) { // only the first section of that name counts
                layout.sectionEnded = true;
                break;
            }
            if (sameName(content, line.name, section, codec)) {
                inSection = true;
                layout.sectionFound = true;
                layout.header = line;
            }
            continue;
        }
        if (!inSection || line.kind != LineKind::Entry) continue;
        if (!layout.keyFound && sameName(content, line.name, key, codec)) {
            layout.keyFound = true;
            layout.keyLine = line;
            break; // a replacement needs nothing further
        }
        layout.hasEntries = true;
        layout.lastEntry = line;
    }
    return layout;
}

QByteArray trimmedName(const QString& name, const Codec& codec) {
    const QByteArray bytes = codec.encode(name);
    const Span span = trimmed(bytes, {0, bytes.size()});
    return bytes.mid(span.begin, span.size());
}

// A name that the reader finds again as it was given.
bool isStorableName(const QByteArray& name, bool isKey) {
    if (name.isEmpty() || name.contains('\r') || name.contains('\n')) return false;
    if (!isKey) return !name.contains(']');
    return !name.contains('=') && name.front() != ';' && name.front() != '[';
}

// The bytes of a value that read back as the value: a line break would cut the line in
// two, so it becomes a blank; blanks at either end, or quotes around the whole value,
// would be taken off by the reader, so such a value goes in quotes.
QByteArray storedValue(const QString& value, const Codec& codec) {
    QByteArray bytes = codec.encode(value);
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    if (bytes.isEmpty()) return bytes;
    const char first = bytes.front();
    const char last = bytes.back();
    const bool quoted = bytes.size() >= 2 && isQuote(first) && last == first;
    if (isBlank(first) || isBlank(last) || quoted) return '"' + bytes + '"';
    return bytes;
}

bool endsInLineEnd(const QByteArray& content) {
    return !content.isEmpty() && isLineEnd(content.back());
}

// The changes one store makes to a text, worked out on the text as it was and applied in
// one copy: a settings file of many megabytes is copied once, not once per key.
class StorePlan {
public:
    StorePlan(const QByteArray& content, const Codec& codec, const QByteArray& section)
        : content_(content), codec_(codec), section_(section) {}

    void add(const QByteArray& key, const QByteArray& value) {
        const Layout layout = findKey(content_, codec_, section_, key);
        if (layout.keyFound) {
            // Only the value changes: the name keeps its spelling as it stands in the file
            // ("BILET" stays "BILET"), and the line keeps its own line end.
            const Line& line = layout.keyLine;
            const QByteArray storedName = content_.mid(line.name.begin, line.name.size());
            replace(line.text, storedName + '=' + value);
            return;
        }
        if (!insertion_) insertion_ = layout;
        for (auto& [name, text] : newEntries_) {
            if (sameName(name, {0, name.size()}, key, codec_)) { // the same key again
                text = value;
                return;
            }
        }
        newEntries_.emplace_back(key, value);
    }

    QByteArray result() const {
        QByteArray added;
        for (const auto& [name, text] : newEntries_)
            added += name + '=' + text + kLineEnd;
        std::vector<std::pair<Span, QByteArray>> edits = replacements_;
        if (!newEntries_.isEmpty()) {
            if (insertion_->sectionFound) {
                const Line& after =
                    insertion_->hasEntries ? insertion_->lastEntry : insertion_->header;
                // A line that ended in a lone CR has ended: nothing is glued to it.
                edits.emplace_back(Span{after.next, after.next},
                                   after.ended ? added : kLineEnd + added);
            } else {
                const bool glued =
                    content_ != kUtf8Bom && !content_.isEmpty() && !endsInLineEnd(content_);
                edits.emplace_back(Span{content_.size(), content_.size()},
                                   (glued ? kLineEnd : QByteArray()) + '[' + section_ + ']' +
                                       kLineEnd + added);
            }
        }
        std::stable_sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) {
            return a.first.begin < b.first.begin;
        });
        QByteArray out;
        out.reserve(content_.size() + added.size() + 64);
        qsizetype at = 0;
        for (const auto& [span, text] : edits) {
            out.append(content_.constData() + at, span.begin - at);
            out += text;
            at = span.end;
        }
        out.append(content_.constData() + at, content_.size() - at);
        return out;
    }

private:
    void replace(Span span, const QByteArray& text) {
        for (auto& [at, replacement] : replacements_) {
            if (at.begin == span.begin) { // the same key again: the last value wins
                replacement = text;
                return;
            }
        }
        replacements_.emplace_back(span, text);
    }

    const QByteArray& content_;
    const Codec& codec_;
    const QByteArray& section_;
    std::vector<std::pair<Span, QByteArray>> replacements_;
    QList<std::pair<QByteArray, QByteArray>> newEntries_;
    std::optional<Layout> insertion_;
};

std::optional<QByteArray> storeInBytes(const QByteArray& content, const QString& section,
                                       const QList<ProfileEntry>& entries) {
    const Codec codec = codecOf(content);
    const QByteArray sectionName = trimmedName(section, codec);
    if (!isStorableName(sectionName, false)) return std::nullopt;
    StorePlan plan(content, codec, sectionName);
    for (const ProfileEntry& entry : entries) {
        const QByteArray keyName = trimmedName(entry.key, codec);
        if (!isStorableName(keyName, true)) return std::nullopt;
        plan.add(keyName, storedValue(entry.value, codec));
    }
    return plan.result();
}

// A file saved as "Unicode" (UTF-16 with its byte order mark) is worked on as UTF-8 with a
// byte order mark and turned back afterwards; the turn is exact or the file is not touched.
struct Utf16 {
    QStringConverter::Encoding encoding = QStringConverter::Utf16LE;
    QByteArray bom;
};

std::optional<Utf16> utf16Of(const QByteArray& content) {
    if (content.startsWith("\xFF\xFE")) return Utf16{QStringConverter::Utf16LE, "\xFF\xFE"};
    if (content.startsWith("\xFE\xFF")) return Utf16{QStringConverter::Utf16BE, "\xFE\xFF"};
    return std::nullopt;
}

std::optional<QByteArray> utf16ToWorking(const QByteArray& content, const Utf16& form) {
    QStringDecoder decoder(form.encoding, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder(content.mid(form.bom.size()));
    if (decoder.hasError() || content.size() % 2 != 0) return std::nullopt;
    return kUtf8Bom + text.toUtf8();
}

std::optional<QByteArray> workingToUtf16(const QByteArray& working, const Utf16& form) {
    QStringEncoder encoder(form.encoding, QStringConverter::Flag::ConvertInitialBom);
    const QByteArray bytes = encoder(QString::fromUtf8(working.mid(kUtf8Bom.size())));
    if (encoder.hasError()) return std::nullopt;
    return form.bom + bytes;
}

} // namespace

namespace {

// The value, or an empty one when the first section of that name ends without the key;
// nothing when the bytes end first (the opening of a file may not hold the section whole).
std::optional<QString> settledLookup(const QByteArray& content, const QString& section,
                                     const QString& key) {
    const Codec codec = codecOf(content);
    const Layout layout =
        findKey(content, codec, trimmedName(section, codec), trimmedName(key, codec));
    if (!layout.keyFound)
        return layout.sectionEnded ? std::optional<QString>(QString()) : std::nullopt;
    const Span value = unquoted(content, layout.keyLine.value);
    return codec.decode(content.mid(value.begin, value.size()));
}

} // namespace

QString profileLookup(const QByteArray& content, const QString& section, const QString& key) {
    if (const std::optional<Utf16> form = utf16Of(content)) {
        // A file that is not proper UTF-16 is read as far as it decodes.
        QStringDecoder decoder(form->encoding, QStringConverter::Flag::ConvertInitialBom);
        const QString text = decoder(content.mid(form->bom.size()));
        return profileLookup(kUtf8Bom + text.toUtf8(), section, key);
    }
    return settledLookup(content, section, key).value_or(QString());
}

std::optional<QByteArray> profileStore(const QByteArray& content, const QString& section,
                                       const QList<ProfileEntry>& entries) {
    const std::optional<Utf16> form = utf16Of(content);
    if (!form) return storeInBytes(content, section, entries);
    const std::optional<QByteArray> working = utf16ToWorking(content, *form);
    if (!working || workingToUtf16(*working, *form) != content) return std::nullopt;
    const std::optional<QByteArray> stored = storeInBytes(*working, section, entries);
    if (!stored) return std::nullopt;
    return workingToUtf16(*stored, *form);
}

std::optional<QByteArray> profileStore(const QByteArray& content, const QString& section,
                                       const QString& key, const QString& value) {
    return profileStore(content, section, QList<ProfileEntry>{{key, value}});
}

std::optional<QByteArray> readProfileFile(const QString& file) {
    if (file.isEmpty()) return std::nullopt;
    return cachedFile(file, [&file]() -> std::optional<QByteArray> {
        bool notPlain = false;
        const FileHandle in = openForReading(file, &notPlain);
        if (!in.isOpen()) {
            if (notPlain || QFileInfo::exists(file)) return std::nullopt;
            return QByteArray();
        }
        return readAllFrom(in, kLargestSettingsFile);
    });
}

namespace {

// How much of a settings file a look-up reads first: a file of megabytes (a teacher's notes
// kept below the program's sections) is answered from its top when the section asked for
// begins and ends there.
constexpr qsizetype kOpeningBytes = 64 * 1024;

struct Opening {
    QByteArray bytes;
    bool whole = false;
};

// The whole lines among the first kOpeningBytes of the file.
std::optional<QByteArray> readOpeningFrom(const FileHandle& in) {
    std::optional<QByteArray> bytes = readUpTo(in, kOpeningBytes);
    if (!bytes) return std::nullopt;
    qsizetype end = bytes->size();
    while (end > 0 && bytes->at(end - 1) != '\n' && bytes->at(end - 1) != '\r')
        --end;
    bytes->truncate(end);
    return bytes;
}

// The file whole when it is small (kept for the event as the whole file), else its
// opening; nothing when it exists but cannot be read or is over the size a settings file
// may have. A missing file is whole and empty.
std::optional<Opening> readOpening(const QString& file) {
    if (file.isEmpty()) return std::nullopt;
    if (std::optional<QByteArray> whole = keptFile(file)) return Opening{std::move(*whole), true};
    bool whole = false;
    const std::optional<QByteArray> top =
        cachedOpening(file, [&file, &whole]() -> std::optional<QByteArray> {
            bool notPlain = false;
            const FileHandle in = openForReading(file, &notPlain);
            if (!in.isOpen()) {
                if (notPlain || QFileInfo::exists(file)) return std::nullopt;
                whole = true;
                return QByteArray();
            }
            if (in.sizeWhenOpened() > kLargestSettingsFile) return std::nullopt;
            if (in.sizeWhenOpened() >= kOpeningBytes) return readOpeningFrom(in);
            whole = true;
            return readAllFrom(in, kLargestSettingsFile);
        });
    if (!top) return std::nullopt;
    if (whole) cachedFile(file, [&top] { return top; });
    return Opening{*top, whole};
}

} // namespace

bool isProfileFileReadable(const QString& file) { return readOpening(file).has_value(); }

std::optional<QString> readProfileValue(const QString& file, const QString& section,
                                        const QString& key) {
    const std::optional<Opening> opening = readOpening(file);
    if (!opening) return std::nullopt;
    if (!opening->whole && !utf16Of(opening->bytes)) {
        if (const std::optional<QString> settled = settledLookup(opening->bytes, section, key))
            return settled->left(kProfileValueLimit);
    }
    const std::optional<QByteArray> content =
        opening->whole ? std::optional<QByteArray>(opening->bytes) : readProfileFile(file);
    if (!content) return std::nullopt;
    return profileLookup(*content, section, key).left(kProfileValueLimit);
}

QString readProfileString(const QString& file, const QString& section, const QString& key) {
    return readProfileValue(file, section, key).value_or(QString());
}

namespace {

// The file as the server holds it now, read under its lock: a share's client may keep an
// old size for seconds, and a store built on it would drop what another computer stored.
WriteResult readForStore(const QString& file, QByteArray& content) {
    bool notPlain = false;
    const FileHandle in = openForReading(file, &notPlain, true);
    if (!in.isOpen()) {
        const int error = errno;
        if (notPlain) return {WriteResult::NotPlain, file};
        // A file we cannot read would be replaced by one holding only our keys.
        return QFileInfo::exists(file) ? WriteResult::systemFailure(file, error)
                                       : WriteResult(WriteResult::Written);
    }
    bool tooLarge = freshSize(in.get()) > kLargestSettingsFile;
    const std::optional<QByteArray> bytes =
        tooLarge ? std::nullopt : readAllFrom(in, kLargestSettingsFile, &tooLarge);
    if (tooLarge) return {WriteResult::TooLarge, file};
    if (!bytes) return WriteResult::Failed;
    content = *bytes;
    return WriteResult::Written;
}

} // namespace

WriteResult writeProfileStrings(const QString& file, const QString& section,
                                const QList<ProfileEntry>& entries,
                                std::chrono::milliseconds lockWait) {
    return writeProfileStringsWith(file, section, entries, {}, lockWait);
}

WriteResult writeProfileStringsWith(const QString& file, const QString& section,
                                    const QList<ProfileEntry>& entries,
                                    const QList<FileContent>& alongside,
                                    std::chrono::milliseconds lockWait) {
    forgetCachedReads();
    if (file.isEmpty()) return WriteResult::Failed;
    // Settings are never written through a link, nor into a FIFO or a folder: the read
    // under the lock refuses what is not a plain file, and the write what is not one or is
    // a link. (A look before the lock would be a round trip more on a share.)
    const FileLock lock(file, lockWait);
    if (!lock.held()) {
        // A folder that takes no new files: the first file of the save is the one refused.
        const WriteResult refused = lock.refusal();
        if (refused.kind() != WriteResult::Failed) return refused;
        return {WriteResult::Failed, alongside.isEmpty() ? file : alongside.first().path,
                refused.reason()};
    }
    QByteArray content;
    if (const WriteResult read = readForStore(file, content); !read) return read;
    const std::optional<QByteArray> stored = profileStore(content, section, entries);
    if (!stored) return WriteResult::Failed;
    if (alongside.isEmpty() && *stored == content && QFileInfo::exists(file))
        return WriteResult::Written;
    if (alongside.isEmpty() && rewritesInPlace(file) && QFileInfo::exists(file))
        return rewriteInPlace(file, *stored);
    return replaceFiles(QList<FileContent>(alongside) << FileContent{file, *stored});
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    return bool(writeProfileStrings(file, section, {{key, value}}));
}

} // namespace platform
