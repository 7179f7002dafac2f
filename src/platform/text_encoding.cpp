#include "platform/text_encoding.h"

#include "platform/ansi_codec.h"
#include "platform/contained_folder.h"
#include "platform/folders.h"
#include "platform/read_cache.h"
#include "platform/text_files.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <cerrno>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

bool hasHighBytes(const QByteArray& bytes) {
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80) return true;
    }
    return false;
}

std::optional<QString> validUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

QString decodeUtf16(const QByteArray& bytes) {
    const bool little = bytes.startsWith(kUtf16LeBom);
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    return decoder(bytes.mid(2));
}

bool fitsAnsi(const QString& text) { return fromAnsi(toAnsi(text)) == text; }

QString firstUnfitting(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!fitsAnsi(character)) return character;
        i += length - 1;
    }
    return {};
}

} // namespace

TextEncoding detectEncoding(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Bom)) return TextEncoding::Utf8Bom;
    if (bytes.startsWith(kUtf16LeBom) || bytes.startsWith(kUtf16BeBom))
        return TextEncoding::Utf16Bom;
    // Checked without decoding: a year of reports is tens of megabytes.
    if (hasHighBytes(bytes) && QByteArrayView(bytes).isValidUtf8()) return TextEncoding::Utf8;
    return TextEncoding::Ansi;
}

QString decodeDetected(const QByteArray& bytes) {
    switch (detectEncoding(bytes)) {
    case TextEncoding::Utf8Bom:
        return validUtf8(bytes.mid(kUtf8Bom.size())).value_or(fromAnsi(bytes));
    case TextEncoding::Utf8:
        return *validUtf8(bytes);
    case TextEncoding::Utf16Bom:
        return decodeUtf16(bytes);
    case TextEncoding::Ansi:
        break;
    }
    return fromAnsi(bytes);
}

std::optional<QByteArray> readBytes(const QString& path) {
    // Once per user event: a check reads each question file for its encoding and its text.
    return cachedFile(path, [&path]() -> std::optional<QByteArray> {
        const FileHandle file = openForReading(path);
        if (!file.isOpen()) return std::nullopt;
        return readAllFrom(file);
    });
}

namespace {

// Decodes the lines of one file as forEachLine says.
class LineDecoder {
public:
    explicit LineDecoder(const std::function<void(const QString&)>& visit) : visit_(visit) {}
    void line(QByteArray bytes) {
        while (bytes.endsWith('\r'))
            bytes.chop(1);
        if (first_) {
            first_ = false;
            if (bytes.startsWith(kUtf8Bom)) {
                utf8_ = true;
                decided_ = true;
                bytes.remove(0, kUtf8Bom.size());
            }
        }
        if (!decided_ && hasHighBytes(bytes)) {
            decided_ = true;
            utf8_ = validUtf8(bytes).has_value();
        }
        visit_(utf8_ ? QString::fromUtf8(bytes) : fromAnsi(bytes));
    }

private:
    const std::function<void(const QString&)>& visit_;
    bool first_ = true;
    bool decided_ = false;
    bool utf8_ = false;
};

} // namespace

bool forEachLine(const QString& path, const std::function<void(const QString& line)>& visit) {
    const FileHandle file = openForReading(path);
    if (!file.isOpen()) return false;
    LineDecoder decoder(visit);
    QByteArray pending;
    char chunk[1 << 16];
    bool firstChunk = true;
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        pending.append(chunk, qsizetype(got));
        if (firstChunk && (pending.startsWith(kUtf16LeBom) || pending.startsWith(kUtf16BeBom))) {
            const std::optional<QByteArray> rest = readAllFrom(file);
            if (!rest) return false;
            const QStringList lines = decodeUtf16(pending + *rest).split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QString text = lines[i];
                while (text.endsWith(QLatin1Char('\r')))
                    text.chop(1);
                if (i + 1 < lines.size() || !text.isEmpty()) visit(text);
            }
            return true;
        }
        firstChunk = false;
        qsizetype begin = 0;
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n', begin)) {
            decoder.line(pending.mid(begin, end - begin));
            begin = end + 1;
        }
        pending.remove(0, begin);
    }
    if (!pending.isEmpty()) decoder.line(pending);
    return true;
}

Conversion planConversion(const ContainedFolder& folder, const QString& file) {
    Conversion result;
    bool notPlain = false;
    const std::optional<QByteArray> bytes = folder.read(file, &notPlain);
    if (!bytes) {
        result.outcome = notPlain ? Conversion::Outcome::NotPlain : Conversion::Outcome::Failed;
        return result;
    }
    if (detectEncoding(*bytes) == TextEncoding::Ansi) {
        result.outcome = Conversion::Outcome::AlreadyAnsi;
        return result;
    }
    const QString text = decodeDetected(*bytes);
    if (const QString character = firstUnfitting(text); !character.isEmpty()) {
        result.outcome = Conversion::Outcome::Unconvertible;
        result.character = character;
        return result;
    }
    result.outcome = Conversion::Outcome::Convertible;
    result.original = *bytes;
    result.converted = toAnsi(text);
    return result;
}

QByteArray toUtf8WithBom(const QString& text) { return kUtf8Bom + text.toUtf8(); }

} // namespace platform
