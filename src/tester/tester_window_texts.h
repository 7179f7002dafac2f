#pragma once
// The test window's messages in both languages, for taking a test and for the editor.

#include "common/language.h"

namespace tester_window_texts {

inline constexpr texts::Text kTexts[] = {
    // Taking a test.
    {"testsPath", "Путь к папки с тестами: ", "Way to files with tests: "},
    {"noTestName", "В файле теста не указано имя теста:\n",
     "The test file does not name its test:\n"},
    {"badTestFolderName", "Файл теста называет тест недопустимым именем папки:\n",
     "The test file gives its test a name that cannot be a folder name:\n"},
    {"questionUnreadable", "Не удалось прочитать файл вопроса:\n",
     "Could not read the question file:\n"},
    {"conclusionUnreadable", "Не удалось прочитать файл вывода:\n",
     "Could not read the conclusion file:\n"},
    {"pointsRange", "Допустимы числа от -32768 до 32767: ", "Numbers from -32768 to 32767 only: "},
    {"of", "из ", "from "},
    {"noTestChosen", "Не выбран тест!", "Not choose test!"},
    {"testOver", "Тест окончен", "End of test"},
    {"noConclusionFits", "Ни один вывод не подходит к баллу ", "No conclusion fits the total "},
    {"reportNotWritten", "Не удалось записать отчет теста:\n",
     "Could not write the test report:\n"},

    // The editor.
    {"noTestNameTyped", "Не введено имя теста", "Not incorporated a name of test"},
    {"badTestName",
     "Такое имя теста нельзя дать папке. Уберите символы \\ / : * ? \" < > |, \"..\", точку или "
     "пробел в конце: ",
     "A test cannot have this name as a folder. Leave out \\ / : * ? \" < > |, \"..\", and a dot "
     "or blank at the end: "},
    {"folderNotMade", "Не удалось создать папку теста:\n", "Could not create the test folder:\n"},
    {"testFileNotWritten", "Не удалось записать файл теста:\n", "Could not write the test file:\n"},
    {"questionUnfinished", "Ввод вопроса и номера теста не закончен",
     "Entering a question and number of test not legal"},
    {"badQuestionNumber", "Номер вопроса должен быть целым числом от 1 до 32767: ",
     "The question number must be a whole number from 1 to 32767: "},
    {"fileNotWritten", "Не удалось записать файл:\n", "Could not write the file:\n"},
    {"conclusionsUnfinished", "Ввод выводов не закончен", "Entering the conclusions not legal"},
    {"saved", "Сохранено", "Preserved"},
    {"endOfTest", "Конец теста", "End of test"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace tester_window_texts
