#pragma once
// The statistics window's texts and date formats in both languages.

#include "common/language.h"

namespace statistics_view_texts {

inline constexpr texts::Text kTexts[] = {
    {"dateFormat", "dd.MM.yyyy", "yyyy-MM-dd"},
    {"dayFormat", "dd.MM", "M/d"},
    {"questions", "Вопросы", "Questions"},
    {"grades", "Оценки", "Grades"},
    {"tests", "Тесты", "Tests"},
    {"statistics", "Статистика", "Statistics"},
    {"all", "все", "all"},
    {"group", "Группа:", "Group:"},
    {"from", "С:", "From:"},
    {"text", "по:", "to:"},
    {"savePng", "Сохранить PNG...", "Save PNG..."},
    {"othTxtLine", "oth.txt, строка %1: %2", "oth.txt, line %1: %2"},
    {"lzmTxtLine", "lzm.txt, строка %1: %2", "lzm.txt, line %1: %2"},
    {"recordsLeftOutTest", "Записей: %1, пропущено: %2. Прохождений тестов: %3.",
     "Records: %1, left out: %2. Test runs: %3."},
    {"facilityQuestions", "Лёгкость вопросов", "Facility of the questions"},
    {"noEvaluationsQuestions", "Нет оценок за вопросы.", "No evaluations of questions."},
    {"ticketAverages", "Средние баллы билетов", "Ticket averages"},
    {"records", "записей", "records"},
    {"noRecords", "Нет записей.", "No records."},
    {"deliveredByDay", "Зачет по дням", "Delivered by day"},
    {"noDatedRecordsWith", "Нет записей с датой и итогом.", "No dated records with a verdict."},
    {"savePng2", "Сохранить PNG", "Save PNG"},
    {"saved", "Сохранено: %1", "Saved: %1"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace statistics_view_texts
