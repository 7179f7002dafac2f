#pragma once
// The settings window's messages and tool tips in both languages.

#include "common/language.h"

namespace settings_window_texts {

inline constexpr texts::Text kTexts[] = {
    {"languageNotStored",
     "Язык не удалось сохранить в файл настроек:\n%1\nОн действует до выхода из программы.",
     "The language could not be saved to the settings file:\n%1\nIt holds until the program "
     "ends."},
    {"settingsNotSaved", "Не удалось сохранить настройки в файл:\n",
     "Could not save the settings to the file:\n"},
    {"noValues", "Нет значений", "No values"},
    {"applicationFolder", "Папка программы:\n%1", "Application folder:\n%1"},
    {"badEvaluation", "Оценка вопроса %1 должна быть 2 или 5",
     "The evaluation of question %1 must be 2 or 5"},
    {"badQuestionCount", "Количество вопросов должно быть целым числом больше нуля",
     "The number of questions must be a whole number above zero"},

    // Tool tips.
    {"tipTicketTimer", "Установить таймер на весь билет", "Set a timer for the whole ticket"},
    {"tipQuestionTimer", "Установить таймер на каждый вопрос", "Set a timer for each question"},
    {"tipMinutes", "Введите целые числа, обозначающие минуты таймера",
     "Enter whole minutes for the timer"},
    {"tipTime", "Текущее время", "The time now"},
    {"tipDate", "Текущая дата", "Today's date"},
    {"tipPassword", "Ввод пароля для входа в окно Настройка",
     "Enter the password for the settings window"},
    {"tipClose", "Закрыть окно", "Close the window"},
    {"tipReport", "Открыть отчет", "Open the report"},
    {"tipClass", "Кто из класса что делает сейчас, по компьютерам",
     "What each computer of the class is doing now"},
    {"tipHelp", "Помощь к программе", "Help for the program"},
    {"tipTakeScore", "Открыть окно Выбора билета", "Open the ticket choice window"},
    {"tipCloseScore", "Закрыть настройку проходного бала", "Close the passing score setting"},
    {"tipCheck", "Проверить выбранную папку: ответы, файлы, билеты",
     "Check the chosen folder: answers, files, tickets"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace settings_window_texts
