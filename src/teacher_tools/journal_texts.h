#pragma once
// The journal's headings and what it says of a report's records, in both languages.

#include "common/language.h"

namespace journal_texts {

inline constexpr texts::Text kTexts[] = {
    {"recordSDateCannot", "Дата записи «%1» не читается; запись не вошла в отбор по датам.",
     "The record's date \"%1\" cannot be read; the record is left out of the dates chosen."},
    {"date", "Дата", "Date"},
    {"time", "Время", "Time"},
    {"name", "Ф.И.О.", "Name"},
    {"additionalData", "Дополнительные сведения", "Additional data"},
    {"ticket", "Билет", "Ticket"},
    {"answered", "Ответов", "Answered"},
    {"average", "Средний балл", "Average"},
    {"verdict", "Итог", "Verdict"},
    {"line", "Строка", "Line"},
    {"dateIso", "Дата ISO", "Date ISO"},
    {"recordIncompleteNoName", "Запись неполна (нет имени, билета или оценок) и пропущена.",
     "The record is incomplete (no name, ticket or evaluations) and was left out."},
    {"recordDoesNotEnd", "Запись не закончена строкой из знаков «=».",
     "The record does not end in a line of \"=\" signs."},
    {"nameLineWasEdited", "Строка имени изменена вручную.", "The name line was edited."},
    {"ticketLineWasEdited", "Строка билета изменена вручную.", "The ticket line was edited."},
    {"recordHasExtraLines", "В записи лишние строки.", "The record has extra lines."},
    {"evaluationsLineHasParts", "В строке оценок %1 частей вместо 20.",
     "The evaluations line has %1 parts instead of 20."},
    {"evaluationQuestionWasEdited", "Оценка вопроса %1 изменена вручную: «%2».",
     "The evaluation of question %1 was edited: \"%2\"."},
    {"evaluationQuestionNoNumber", "Оценка вопроса %1 «%2» не число и не учтена.",
     "The evaluation of question %1, \"%2\", is no number and is not counted."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace journal_texts
