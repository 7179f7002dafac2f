#include "teacher_tools/bank_text.h"

#include <QUrl>

#include <algorithm>
#include <cstring>
#include <optional>

namespace teacher_tools {

namespace {

struct HtmlEntity {
    const char* name;
    const char16_t* text;
};

constexpr HtmlEntity kEntities[] = {
#include "teacher_tools/html_entities.inc"
};

constexpr char16_t kC1References[] = {
#include "teacher_tools/html_c1_references.inc"
};

constexpr qsizetype kLongestEntity = 40; // the longest name has 32 letters

// The next occurrence of one character at or after a position, searched again only
// when the position passes it: scanning forward with it stays linear.
class NextOf {
public:
    explicit NextOf(QChar c) : c_(c) {}
    qsizetype from(const QString& text, qsizetype at) {
        if (next_ != -1 && next_ < at) next_ = text.indexOf(c_, at);
        return next_;
    }

private:
    QChar c_;
    qsizetype next_ = -2;
};

std::optional<QString> namedEntity(QStringView name) {
    const QByteArray key = name.toLatin1();
    const auto found = std::lower_bound(
        std::begin(kEntities), std::end(kEntities), key,
        [](const HtmlEntity& e, const QByteArray& k) { return std::strcmp(e.name, k.data()) < 0; });
    if (found == std::end(kEntities) || key != found->name) return std::nullopt;
    return QString::fromUtf16(found->text);
}

std::optional<QString> numericEntity(QStringView digits) {
    const bool hex = digits.startsWith(QLatin1Char('x')) || digits.startsWith(QLatin1Char('X'));
    bool ok = false;
    // A character reference names a character by its code; it is no number to compute with.
    const uint code = digits.mid(hex ? 1 : 0).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    // Word's HTML writes its dashes and quotes as Windows-1252 codes: &#150; is "–".
    if (code >= 0x80 && code < 0xA0) return QString(QChar(kC1References[code - 0x80]));
    const char32_t character = code;
    return QString::fromUcs4(&character, 1);
}

bool isBreakTag(QStringView tag) {
    const bool closing = tag.startsWith(QLatin1Char('/'));
    qsizetype end = closing ? 1 : 0;
    while (end < tag.size() && tag.at(end).isLetterOrNumber())
        ++end;
    const QString name = tag.mid(closing ? 1 : 0, end - (closing ? 1 : 0)).toString().toLower();
    if (!closing) return name == QLatin1String("br");
    for (const char* block : {"p", "div", "li", "tr"}) {
        if (name == QLatin1String(block)) return true;
    }
    return false;
}

bool startsTag(const QString& text, qsizetype at) {
    if (at + 1 >= text.size()) return false;
    const QChar next = text.at(at + 1);
    return next.isLetter() || next == QLatin1Char('/') || next == QLatin1Char('!');
}

// The value of the src attribute of an <img ...> tag's inside; empty when none.
QString sourceOf(QStringView tag) {
    for (qsizetype at = tag.indexOf(QLatin1String("src"), 0, Qt::CaseInsensitive); at >= 0;
         at = tag.indexOf(QLatin1String("src"), at + 3, Qt::CaseInsensitive)) {
        if (at > 0 && !tag.at(at - 1).isSpace()) continue;
        qsizetype i = at + 3;
        while (i < tag.size() && tag.at(i).isSpace())
            ++i;
        if (i >= tag.size() || tag.at(i) != QLatin1Char('=')) continue;
        ++i;
        while (i < tag.size() && tag.at(i).isSpace())
            ++i;
        if (i >= tag.size()) return {};
        const QChar quote = tag.at(i);
        const bool quoted = quote == QLatin1Char('"') || quote == QLatin1Char('\'');
        qsizetype end = quoted ? i + 1 : i;
        while (end < tag.size() && (quoted ? tag.at(end) != quote : !tag.at(end).isSpace()))
            ++end;
        return tag.mid(quoted ? i + 1 : i, end - (quoted ? i + 1 : i)).toString();
    }
    return {};
}

QString pictureName(const QString& source) {
    const QString decoded = QUrl::fromPercentEncoding(decodeEntities(source).toUtf8());
    return decoded.section(QLatin1Char('/'), -1).section(QLatin1Char('?'), 0, 0);
}

} // namespace

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

QString decodeEntities(const QString& text) {
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) {
            decoded += text.at(i);
            continue;
        }
        qsizetype end = -1;
        for (qsizetype j = i + 1; end < 0 && j < text.size() && j - i <= kLongestEntity; ++j) {
            if (text.at(j) == QLatin1Char(';')) end = j;
        }
        std::optional<QString> character;
        if (end > i + 1) {
            const QStringView name = QStringView(text).mid(i + 1, end - i - 1);
            character =
                name.startsWith(QLatin1Char('#')) ? numericEntity(name.mid(1)) : namedEntity(name);
        }
        if (!character) {
            decoded += text.at(i);
            continue;
        }
        // A non-breaking blank is a blank to a ticket's line.
        decoded += *character == QChar(0xA0) ? QStringLiteral(" ") : *character;
        i = end;
    }
    return decoded;
}

QString withoutHtml(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    NextOf close(QLatin1Char('>'));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('<') || !startsTag(text, i)) {
            plain += text.at(i);
            continue;
        }
        const qsizetype end = close.from(text, i);
        if (end < 0) {
            plain += QStringView(text).mid(i);
            break;
        }
        if (isBreakTag(QStringView(text).mid(i + 1, end - i - 1))) plain += QLatin1Char('\n');
        i = end;
    }
    return decodeEntities(plain);
}

QStringList takePictures(QString& text) {
    QStringList pictures;
    QString rest;
    rest.reserve(text.size());
    NextOf tagClose(QLatin1Char('>')), bracket(QLatin1Char(']')), paren(QLatin1Char(')'));
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype end = -1;
        QString source;
        if (text.at(i) == QLatin1Char('<') && QStringView(text).mid(i + 1, 3).compare(
                                                  QLatin1String("img"), Qt::CaseInsensitive) == 0) {
            end = tagClose.from(text, i);
            if (end >= 0) source = sourceOf(QStringView(text).mid(i + 4, end - i - 4));
        } else if (text.at(i) == QLatin1Char('!') && i + 1 < text.size() &&
                   text.at(i + 1) == QLatin1Char('[')) {
            const qsizetype altEnd = bracket.from(text, i + 2);
            if (altEnd >= 0 && altEnd + 1 < text.size() && text.at(altEnd + 1) == QLatin1Char('('))
                end = paren.from(text, altEnd + 2);
            if (end >= 0) {
                source = text.mid(altEnd + 2, end - altEnd - 2)
                             .trimmed()
                             .section(QLatin1Char(' '), 0, 0);
            }
        }
        if (end < 0) continue;
        rest += QStringView(text).mid(copied, i - copied);
        copied = end + 1;
        if (!source.isEmpty()) pictures.append(pictureName(source));
        i = end;
    }
    rest += QStringView(text).mid(copied);
    text = rest;
    return pictures;
}

QString tidyLines(const QString& text) {
    QStringList lines;
    for (const QString& line : splitLines(text)) {
        if (!line.trimmed().isEmpty()) lines.append(line.simplified());
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace teacher_tools
