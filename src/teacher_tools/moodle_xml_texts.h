#pragma once
// What the Moodle XML reader tells the teacher about a question bank, in both languages.

#include "common/language.h"

namespace moodle_xml_texts {

inline constexpr texts::Text kTexts[] = {
    {"readOnlyUpTo", "файл прочитан только до строки %1: дальше он не правильный XML (%2)",
     "the file is read only up to line %1: from there on it is not well-formed XML (%2)"},
    {"questionTypeNotTaken", "вопрос типа «%1» не берётся: в билете только выбор из вариантов",
     "a question of the type \"%1\" is not taken: a ticket only has variants to choose from"},
    {"questionHasNoText", "нет текста вопроса", "the question has no text"},
    {"fewerThanTwoOptions", "меньше двух вариантов ответа или пустой вариант",
     "fewer than two options, or an empty one"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace moodle_xml_texts
