#pragma once
// The two interface languages and the one rule that picks a text by language, used by
// the windows and by the reports and findings alike.

#include <QString>
#include <optional>

namespace texts {

inline const QString kRussian = QStringLiteral("rus");
inline const QString kEnglish = QStringLiteral("eng");

inline bool isKnownLanguage(const QString& language) {
    return language == kRussian || language == kEnglish;
}

// The text for the language, or nothing for a language that is neither.
std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english);

// A message's text: English in the English interface, the built-in Russian text in any
// other, so a message is never lost to an unknown language value.
QString say(const QString& language, const QString& russian, const QString& english);
QString say(const QString& language, const char* russian, const char* english);

} // namespace texts
