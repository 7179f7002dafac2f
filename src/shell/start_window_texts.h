#pragma once
// The start window's messages and tool tips in both languages.

#include "common/language.h"

namespace start_window_texts {

inline constexpr texts::Text kTexts[] = {
    {"wrongPassword", "Не правильный пароль!", "Not correct password!"},
    {"chooseMode", "Выберите, что начать: экзамен или тест.",
     "Choose what to begin: an exam or a test."},
    {"enterName", "Введите имя! (обязательно к заполению *)",
     "Enter a name! (will without fall enter *)"},
    {"unwritableCharacter",
     "В имени или данных есть знак «%1», которого нет в кодировке Windows-1251: отчет не "
     "сохранит его. Замените его.",
     "The name or the data hold the character \"%1\", which Windows-1251 cannot hold: the "
     "report could not keep it. Please replace it."},
    {"attention", "Внимание!", "Attention!"},
    {"noExamFolder", "У вас не выбрана папка с билетами экзамена!",
     "Beside you not choose file with tickets of exam!"},
    {"examFolderMissing", "Папка экзамена не найдена:\n", "The exam folder is not found:\n"},
    {"askTeacherForExam",
     "\nПопросите преподавателя выбрать экзамен: «Настройка» → «Выбрать папку с экзаменом "
     "или тестом».",
     "\nAsk the teacher to choose the exam: \"Adjustment\" → \"To Choose a file with the exam "
     "or test\"."},
    {"badTicketCount",
     "Число билетов в настройке должно быть целым числом больше нуля. Обратитесь к "
     "преподавателю.",
     "The number of tickets in the settings must be a whole number greater than zero. Ask "
     "the teacher."},
    {"noQuestionInTicket", "Нет вопроса в билете № ", "No question in the ticket № "},

    // Tool tips.
    {"tipExam", "Переключится на экзамен", "Switch to the exam"},
    {"tipTest", "Переключится на тест", "Switch to the test"},
    {"tipExit", "Закрыть программу", "Close the program"},
    {"tipName", "Введите Ф.И.О", "Enter your surname and name"},
    {"tipData1", "Введите данные1", "Enter additional data 1"},
    {"tipData2", "Введите данные2", "Enter additional data 2"},
    {"tipData3", "Введите данные3", "Enter additional data 3"},
    {"tipConfirmName", "Открыть окно Выбора билета", "Open the ticket choice"},
    {"tipDraw", "Выбрать билет", "Draw a ticket"},
    {"tipOpenTicket", "Открыть выбранный билет", "Open the chosen ticket"},
    {"tipPassword", "Введите пароль для входа в окно Настройка",
     "Enter the password for the settings window"},
    {"tipSettings", "Открыть окно Настройка", "Open the settings window"},
    {"tipQuit", "Выйти из программы", "Exit the program"},
    {"tipHelp", "Помощь к программе", "Help for the program"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace start_window_texts
