#pragma once
// The «Класс» view's headings, states and counts in both languages, shared by the window
// and by `proveron monitor`.

#include "common/language.h"

namespace class_board_texts {

inline constexpr texts::Text kTexts[] = {
    {"computer", "Компьютер", "Computer"},
    {"student", "Ученик", "Student"},
    {"mode", "Режим", "Mode"},
    {"subject", "Экзамен или тест", "Exam or test"},
    {"ticket", "Билет", "Ticket"},
    {"progressHeading", "Ход", "Progress"},
    {"progress", "%1 из %2, отвечено %3", "%1 of %2, %3 answered"},
    {"writtenAt", "Записано в %1 по часам этого компьютера",
     "Written at %1 by that computer's clock"},
    {"timeLeft", "Осталось", "Time left"},
    {"state", "Состояние", "State"},
    {"lastSeen", "Последний знак", "Last sign"},
    {"exam", "экзамен", "exam"},
    {"test", "тест", "test"},
    {"claims", "(называет себя «%1»)", "(calls itself \"%1\")"},
    {"secondsAgo", "%1 с назад", "%1 s ago"},
    {"minutesAgo", "%1 мин назад", "%1 min ago"},
    {"waiting", "ждёт ученика", "waiting for a student"},
    {"choosingTicket", "выбирает билет", "choosing a ticket"},
    {"choosingTest", "выбирает тест", "choosing a test"},
    {"answering", "отвечает", "answering"},
    {"resultShown", "смотрит результат", "looking at the result"},
    {"passed", "закончил, сдал", "finished, passed"},
    {"failed", "закончил, не сдал", "finished, failed"},
    {"testDone", "закончил тест", "finished the test"},
    {"timedOut", "время вышло", "time ran out"},
    {"notSaved", "РЕЗУЛЬТАТ НЕ СОХРАНЁН", "RESULT NOT SAVED"},
    {"missingFromReport", "сохранён, но НЕТ В ОТЧЁТЕ", "saved, but NOT IN THE REPORT"},
    {"silent", "НЕТ ЗНАКА больше 2 минут", "NO SIGN for over 2 minutes"},
    {"unreadable", "состояние не читается", "status cannot be read"},
    {"earlier", "с прошлого занятия", "from an earlier class"},
    {"summary", "Отвечают: %1   Закончили: %2   Сдали: %3   Не сдали: %4   Проблемы: %5",
     "In progress: %1   Finished: %2   Passed: %3   Failed: %4   Problems: %5"},
    {"windowTitle", "Класс", "Class"},
    {"refreshed", "Обновлено в %1.", "Refreshed at %1."},
    {"noShareClock", "Время общей папки не читается: молчание считается с открытия окна.",
     "The shared folder's time cannot be read: silence counts from when this window opened."},
    {"noComputers", "Ни один компьютер ещё не сообщил о себе.", "No computer has reported yet."},
    {"archived", "В архив перенесено состояний: %1 (%2).",
     "Statuses moved to the archive: %1 (%2)."},
    {"archiveFailed", "Не удалось создать папку архива: %1",
     "The archive folder could not be made: %1"},
    {"earlierCount", "С прошлого занятия: %1", "From an earlier class: %1"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace class_board_texts
