#include "common/language.h"

namespace texts {

std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english) {
    if (language == kRussian) return QString::fromUtf8(russian);
    if (language == kEnglish) return QString::fromUtf8(english);
    return std::nullopt;
}

QString say(const QString& language, const QString& russian, const QString& english) {
    return language == kEnglish ? english : russian;
}

QString say(const QString& language, const char* russian, const char* english) {
    return QString::fromUtf8(language == kEnglish ? english : russian);
}

} // namespace texts
