#pragma once
// How a correct answer differs from the variant it most likely meant, in both languages.

#include "common/language.h"

namespace answer_match_texts {

inline constexpr texts::Text kTexts[] = {
    {"latinLetter", "латинская буква ", "the Latin letter "},
    {"cyrillicLetter", "русская буква ", "the Cyrillic letter "},
    {"sign", "знак ", "the sign "},
    {"answerHasVariant", "в ответе %1, в варианте — %2", "the answer has %1, the variant %2"},
    {"blanksAtStartOr", "лишние пробелы в начале или в конце",
     "blanks at the start or the end differ"},
    {"blanksInsideLineDiffer", "разные пробелы внутри строки (двойной или неразрывный пробел)",
     "blanks inside the line differ (a double or a non-breaking blank)"},
    {"capitalSmallLettersDiffer", "отличаются заглавные и строчные буквы",
     "capital and small letters differ"},
    {"lookAlikeLettersTwo", "похожие буквы из разных алфавитов",
     "look-alike letters of two alphabets"},
    {"differentDashesOrHyphens", "разные тире или дефисы", "different dashes or hyphens"},
    {"differentQuotes", "разные кавычки", "different quotes"},
    {"blanksLetterCaseLook", "отличаются пробелы, регистр, похожие буквы, тире или кавычки",
     "blanks, letter case, look-alike letters, dashes or quotes differ"},
    {"answerMatchesOnlyPart", "ответ совпадает только с частью варианта (например, без номера)",
     "the answer matches only a part of the variant (a number left out, say)"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace answer_match_texts
