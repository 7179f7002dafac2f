#pragma once
// What the Moodle XML reader tells the teacher about a question bank, in both languages.

#include "common/language.h"

namespace moodle_xml_texts {

inline constexpr texts::Text kTexts[] = {
    {"xmlFileBrokenNot", "файл XML испорчен, дальше он не читается: %1",
     "the XML file is broken and is not read on: %1"},
    {"questionTypeNotTaken", "вопрос типа «%1» не берётся: в билете только выбор из вариантов",
     "a question of the type \"%1\" is not taken: a ticket only has variants to choose from"},
    {"questionHasNoText", "нет текста вопроса", "the question has no text"},
    {"fewerThanTwoOptions", "меньше двух вариантов ответа или пустой вариант",
     "fewer than two options, or an empty one"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace moodle_xml_texts
