#pragma once
// The two interface languages and the one rule that picks a text by language, used by
// the windows and by the reports and findings alike.

#include <QString>
#include <cstddef>
#include <optional>
#include <string_view>

namespace texts {

inline const QString kRussian = QStringLiteral("rus");
inline const QString kEnglish = QStringLiteral("eng");

inline bool isKnownLanguage(const QString& language) {
    return language == kRussian || language == kEnglish;
}

// The text for the language, or nothing for a language that is neither.
std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english);
std::optional<QString> byLanguage(const QString& language, const QString& russian,
                                  const QString& english);

// The one rule every message follows: English in the English interface, the built-in
// Russian in any other, so that nothing is ever left unsaid for an unknown value.
inline bool speaksEnglish(const QString& language) { return language == kEnglish; }

// A message's text by that rule.
QString say(const QString& language, const QString& russian, const QString& english);
QString say(const QString& language, const char* russian, const char* english);

// One message or tool tip in both languages. Each module keeps its texts in one table of
// these, so that every pair can be read side by side (docs/texts.md is made from them);
// `key` names the text in its table.
struct Text {
    const char* key;
    const char* russian;
    const char* english;
};

QString say(const QString& language, const Text& text);
std::optional<QString> byLanguage(const QString& language, const Text& text);

// The text of `key`, found while compiling: a key the table lacks does not compile.
template <std::size_t N> consteval const Text& lookUp(const Text (&rows)[N], std::string_view key) {
    for (const Text& row : rows) {
        if (std::string_view(row.key) == key) return row;
    }
    throw "no text of this key in the table";
}

} // namespace texts
