#pragma once
// What the GIFT reader tells the teacher about a question bank, in both languages.

#include "common/language.h"

namespace gift_texts {

inline constexpr texts::Text kTexts[] = {
    {"noAnswersBracesDescription", "нет ответов в фигурных скобках: это описание, а не вопрос",
     "no answers in braces: a description, not a question"},
    {"braceOnLineNot", "фигурная скобка в строке %1 не закрыта до пустой строки",
     "the brace on line %1 is not closed before the blank line"},
    {"questionHasNoText", "нет текста вопроса", "the question has no text"},
    {"essayWithoutAnswers", "эссе без вариантов ответа", "an essay without answers"},
    {"numericalAnswerWithoutOptions", "числовой ответ без вариантов",
     "a numerical answer without options"},
    {"answersMustStartWith", "ответы должны начинаться с = или ~",
     "answers must start with = or ~"},
    {"matchingQuestion", "вопрос на соответствие", "a matching question"},
    {"shortAnswerWithoutOptions", "короткий ответ без вариантов", "a short answer without options"},
    {"emptyAnswer", "пустой вариант ответа", "an empty answer"},
    {"secondAnswerBlock",
     "второй блок ответов в строке %1: в билете у вопроса один список вариантов, а второй "
     "блок был бы виден как текст и выдал бы ответ",
     "a second answer block on line %1: a ticket's question has one list of variants, and the "
     "second block would show as text and give its answer away"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace gift_texts
