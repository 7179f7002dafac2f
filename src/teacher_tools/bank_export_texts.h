#pragma once
// What the export tells the teacher, in both languages.

#include "common/language.h"

namespace bank_export_texts {

inline constexpr texts::Text kTexts[] = {
    {"questionLeftOutIt",
     "вопрос %1 пропущен: нет двух вариантов или верный ответ не совпадает ни с одним",
     "question %1 is left out: it has fewer than two variants, or its answer is none of them"},
    {"ticketCannotBeRead", "папку билета не удалось прочитать, его вопросы не записаны",
     "the ticket's folder cannot be read, and its questions are not written"},
    {"couldNotWrite", "Не удалось записать «%1».", "Could not write \"%1\"."},
    {"neitherExamFolderNor", "«%1» — не папка экзамена и не папка теста.",
     "\"%1\" is neither an exam folder nor a test folder."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace bank_export_texts
