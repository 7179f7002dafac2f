#pragma once
// The statistics' headings and what they say of a report's records, in both languages.

#include "common/language.h"

namespace statistics_texts {

inline constexpr texts::Text kTexts[] = {
    {"recordHoldsNoEvaluation",
     "В записи нет ни одной оценки (ни одного ответа или язык интерфейса не русский и не "
     "английский): она учтена только в итогах.",
     "The record holds no evaluation (nothing answered, or an interface language other than "
     "Russian and English): it counts in the verdicts only."},
    {"records", "Записей", "Records"},
    {"delivered", "Зачет", "Delivered"},
    {"notDeliver", "Не зачет", "Not deliver"},
    {"notDeliverOnTime", "Не зачет по времени", "Not deliver on time"},
    {"noVerdict", "Без итога", "No verdict"},
    {"otherVerdict", "Иной итог", "Other verdict"},
    {"delivered2", "Зачет, %", "Delivered, %"},
    {"outTime", "По времени, %", "Out of time, %"},
    {"meanAverage", "Средний балл", "Mean average"},
    {"testConclusionsSLzm", "Выводы тестов (s/lzm.txt)", "Test conclusions (s/lzm.txt)"},
    {"test", "Тест", "Test"},
    {"runs", "Прохождений", "Runs"},
    {"conclusion", "Вывод №", "Conclusion №"},
    {"conclusion2", "Вывод", "Conclusion"},
    {"times", "Раз", "Times"},
    {"share", "Доля, %", "Share, %"},
    {"ticket", "Билет", "Ticket"},
    {"question", "Вопрос", "Question"},
    {"attempts", "Попыток", "Attempts"},
    {"right", "Верно", "Right"},
    {"facility", "Лёгкость, %", "Facility, %"},
    {"discrimination", "Различение, %", "Discrimination, %"},
    {"mark", "Отметка", "Mark"},
    {"questionText", "Текст вопроса", "Question text"},
    {"tooHard", "трудный", "too hard"},
    {"tooEasy", "лёгкий", "too easy"},
    {"discrimination2", "различение < 0", "discrimination < 0"},
    {"noDate", "без даты", "no date"},
    {"questions", "Вопросы", "Questions"},
    {"ticketAverages", "Средние баллы билетов", "Ticket averages"},
    {"average", "Средний балл", "Average"},
    {"all", "Всего", "All"},
    {"verdictsByDay", "Итоги по дням", "Verdicts by day"},
    {"day", "День", "Day"},
    {"verdictsByGroupAdditional", "Итоги по группам (дополнительные сведения 1)",
     "Verdicts by group (additional data 1)"},
    {"group", "Группа", "Group"},
    {"noData", "без сведений", "no data"},
    {"testResultWithoutHeader", "Итог теста без заголовка «ТЕСТ:»; учтён без названия теста.",
     "A test result without a \"ТЕСТ:\" header; counted without the test's name."},
    {"testResultCutShort", "Итог теста оборван (нет всех трёх строк «ВЫВОД»).",
     "The test result is cut short (not all three \"ВЫВОД\" lines)."},
    {"testResultSDate", "Дата итога теста не читается; итог не вошёл в отбор по датам.",
     "The test result's date cannot be read; it is left out of the dates chosen."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace statistics_texts
