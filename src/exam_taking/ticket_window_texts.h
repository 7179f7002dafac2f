#pragma once
// The ticket window's messages in both languages.

#include "common/language.h"

namespace ticket_window_texts {

inline constexpr texts::Text kTexts[] = {
    // Goes into the results and the exam report, so it is set in any language.
    {"ticketPrefix", "Билет № ", "Ticket № "},
    {"fileUnreadable", "Не удалось прочитать файл %1. Вопрос %2 не загружен.",
     "Cannot read the file %1. Question %2 is not loaded."},
    {"pictureUnreadable", "Не удалось открыть картинку %1. Вопрос %2 не загружен.",
     "Cannot open the picture %1. Question %2 is not loaded."},
    {"examFolderGone",
     "Папка экзамена недоступна:\n%1\n\nСетевой диск отключен, или папку переименовали. Экзамен "
     "прерван на вопросе %2; ответы на вопросы до него показаны в результатах.",
     "The exam folder cannot be reached:\n%1\n\nThe network drive was disconnected, or the "
     "folder was renamed. The exam stopped at question %2; the answers given before it are shown "
     "in the results."},
    // The verdict of an exam that stopped before its end; it goes into the exam report.
    {"notFinished", "Не закончен, не заданы вопросы: %1",
     "Not finished, questions not reached: %1"},
    {"finished", "Проверон закончен", "Proveron legal"},
    {"passingNotNumber",
     "Проходной балл в Настройках должен быть числом. Установите в Настройках оценку",
     "The passing score in Adjustment must be a number. Install an evaluation in Adjustment"},
    {"noPassingScore", "Не установлена оценка. Установите в Настройках оценку",
     "Not installed evaluation. Install an evaluation in Adjustment"},
    {"evaluationsNotNumbers", "Оценки вопросов должны быть числами. Оценка не выставлена",
     "The evaluations of the questions must be numbers. No evaluation is given"},
    {"noQuestionCount",
     "Не установлено число вопросов. Установите в Настройках число вопросов больше нуля",
     "Not installed number of questions. Install a number of questions above zero in "
     "Adjustment"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace ticket_window_texts
