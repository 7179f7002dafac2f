#pragma once
// Captions by interface language. Every window keeps its built-in (Russian) captions
// unless the language is exactly "rus" or "eng".

#include "forms/controls.h"

#include <QString>
#include <initializer_list>
#include <optional>

namespace forms {

inline const QString kRussian = QStringLiteral("rus");
inline const QString kEnglish = QStringLiteral("eng");

inline bool isKnownLanguage(const QString& language) {
    return language == kRussian || language == kEnglish;
}

// The text for the language, or nothing for a language that is neither.
std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english);

// Sets the caption (or text) of a control, whatever its kind.
void setCaptionOf(Control& control, const QString& caption);

struct CaptionRow {
    Control* control;
    const char* russian;
    const char* english;
};

// Applies one column of a caption table; does nothing for another language.
void applyCaptions(const QString& language, std::initializer_list<CaptionRow> rows);

} // namespace forms
