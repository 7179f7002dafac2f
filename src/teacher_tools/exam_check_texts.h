#pragma once
// What the check of an exam folder finds, in both languages.

#include "common/language.h"

namespace exam_check_texts {

inline constexpr texts::Text kTexts[] = {
    {"folderMissingOrCannot", "Папку нельзя прочитать или её нет.",
     "The folder is missing or cannot be read."},
    {"thereNoLzmLzm",
     "Нет файла lzm.lzm: у экзамена не будет названия, а редактор билетов не откроет эту папку.",
     "There is no lzm.lzm: the exam has no title, and the ticket editor will not open this "
     "folder."},
    {"lzmLzmEmptyExam", "Файл lzm.lzm пуст: у экзамена не будет названия.",
     "lzm.lzm is empty: the exam has no title."},
    {"ticketEditorWillNot",
     "Редактор билетов не откроет эту папку: первым из файлов *.lzm находится «%1», а должен быть "
     "«lzm.lzm».",
     "The ticket editor will not open this folder: the first *.lzm file found is \"%1\", not "
     "\"lzm.lzm\"."},
    {"strayEntryExamFolder",
     "Лишний элемент в папке экзамена: окно выбора папки считает билеты по числу элементов папки и "
     "насчитает %1 вместо %2.",
     "A stray entry in the exam folder: the folder chooser counts tickets by the folder's entries "
     "and will find %1 instead of %2."},
    {"folderTicketMustBe",
     "Папка билета 1 должна называться «b1» строчной буквой: окно выбора папки иначе не примет "
     "экзамен.",
     "The folder of ticket 1 must be called \"b1\" with a small letter, or the folder chooser will "
     "not accept the exam."},
    {"folderHoldsNoTicket", "В папке нет ни одного билета (папок b1, b2, ...).",
     "The folder holds no ticket (folders b1, b2, ...)."},
    {"ticketMissingNoFolder",
     "Нет билета %1 (папки «%2»): вытянувший его ученик не сможет его открыть.",
     "Ticket %1 is missing (no folder \"%2\"): a student who draws it cannot open it."},
    {"ticketNeverDrawnSettings", "Билет %1 никогда не выпадет: в настройках билетов %2.",
     "Ticket %1 is never drawn: the settings have %2 tickets."},
    {"settingsAskFor", "в настройках вопросов %1", "the settings ask for %1"},
    {"ticketHas", "в билете 1 их %1", "ticket 1 has %1"},
    {"ticketHasQuestionsBut",
     "В билете %1 вопросов %2, а %3: за недостающие вопросы ученик получит 0.",
     "Ticket %1 has %2 questions, but %3: the missing ones count as 0."},
    {"ticketHasQuestionsBut2", "В билете %1 вопросов %2, а %3: лишние вопросы не будут заданы.",
     "Ticket %1 has %2 questions, but %3: the others are never asked."},
    {"strayTextFileTicket",
     "Лишний текстовый файл в билете 1: окно выбора папки считает вопросы по числу файлов .txt в "
     "b1 и насчитает %1 вместо %2.",
     "A stray text file in ticket 1: the folder chooser counts questions by the .txt files in b1 "
     "and will find %1 instead of %2."},
    {"ticketHasNoQuestion", "В билете %1 нет вопроса %2: вопросы после него не будут заданы.",
     "Ticket %1 has no question %2: the questions after it are never asked."},
    {"missingQuestionTicketCannot", "Нет файла %1: вопрос %2 билета %3 не откроется.",
     "%1 is missing: question %2 of ticket %3 cannot be opened."},
    {"pictureCannotBeRead", "Картинку не удаётся прочитать: вопрос %1 билета %2 покажется без неё.",
     "The picture cannot be read: question %1 of ticket %2 shows without it."},
    {"questionTicket", "вопрос %1 билета %2", "question %1 of ticket %2"},
    {"thereNoAnswerVariant", "Нет ни одного варианта ответа (%1).",
     "There is no answer variant (%1)."},
    {"variantLineEmptyStudent", "Строка %1 вариантов пуста: ученик увидит пустой вариант (%2).",
     "Variant line %1 is empty: the student sees an empty variant (%2)."},
    {"correctAnswerEmpty", "Правильный ответ пуст (%1).", "The correct answer is empty (%1)."},
    {"correctAnswerEqualsNo",
     "Правильный ответ «%1» не совпадает ни с одной строкой вариантов: на %2 нельзя ответить "
     "верно.",
     "The correct answer \"%1\" equals no variant line: nobody can answer %2 right."},
    {"itLooksLikeVariant", "Похоже на вариант %1 «%2»: %3.",
     "It looks like variant %1 \"%2\": %3."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace exam_check_texts
