#pragma once
// What the Aiken reader tells the teacher about a question bank, in both languages.

#include "common/language.h"

namespace aiken_texts {

inline constexpr texts::Text kTexts[] = {
    {"noAnswerLineWith", "нет строки ANSWER с буквой верного ответа",
     "no ANSWER line with the letter of the right option"},
    {"keyLineCannotBe", "строка ответа «%1» не читается: нужно ANSWER: и буква",
     "the key line \"%1\" cannot be read: ANSWER: and a letter are needed"},
    {"optionsWithoutQuestion", "варианты ответа без текста вопроса перед ними",
     "options without a question's text before them"},
    {"answerLineWithoutQuestion", "строка ANSWER без вопроса", "an ANSWER line without a question"},
    {"fewerThanTwoOptions", "меньше двух вариантов ответа", "fewer than two options"},
    {"twoOptionsHaveLetter", "буква %1 стоит у двух вариантов", "two options have the letter %1"},
    {"answerNamesLetterWhich", "в ANSWER указана буква %1, а такого варианта нет",
     "ANSWER names the letter %1, which no option has"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace aiken_texts
