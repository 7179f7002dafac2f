#include "common/language.h"

namespace texts {

std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english) {
    if (language == kRussian) return QString::fromUtf8(russian);
    if (language == kEnglish) return QString::fromUtf8(english);
    return std::nullopt;
}

std::optional<QString> byLanguage(const QString& language, const QString& russian,
                                  const QString& english) {
    if (language == kRussian) return russian;
    if (language == kEnglish) return english;
    return std::nullopt;
}

QString say(const QString& language, const QString& russian, const QString& english) {
    return speaksEnglish(language) ? english : russian;
}

QString say(const QString& language, const char* russian, const char* english) {
    return QString::fromUtf8(speaksEnglish(language) ? english : russian);
}

std::optional<QString> byLanguage(const QString& language, const Text& text) {
    return byLanguage(language, text.russian, text.english);
}

QString say(const QString& language, const Text& text) {
    return say(language, text.russian, text.english);
}

} // namespace texts
