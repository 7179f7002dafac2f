#include "teacher_tools/terminal_text.h"

namespace teacher_tools {

namespace {

// Controls and the invisible marks that change how the text around them is laid out.
bool actsOnTerminal(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString escaped(const QString& text, bool json) {
    QString result;
    result.reserve(text.size());
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        // The JSON layout's own line breaks stay: inside its strings the writer escaped them.
        if (!actsOnTerminal(c) || (json && c == u'\n')) {
            result += character;
            continue;
        }
        const bool shortForm = c <= 0xFF && !json;
        result += (shortForm ? QStringLiteral("\\x") : QStringLiteral("\\u")) +
                  QString::number(int(c), 16).toUpper().rightJustified(shortForm ? 2 : 4, u'0');
    }
    return result;
}

} // namespace

QString forTerminal(const QString& text) { return escaped(text, false); }

QString jsonForTerminal(const QString& json) { return escaped(json, true); }

} // namespace teacher_tools
