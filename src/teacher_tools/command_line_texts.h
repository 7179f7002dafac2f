#pragma once
// What the command line prints, in both languages.

#include "common/language.h"

namespace command_line_texts {

inline constexpr texts::Text kTexts[] = {
    {"unknownOption", "Неизвестный параметр %1.", "Unknown option %1."},
    {"needsValue", "После %1 нужно значение.", "%1 needs a value."},
    {"usage",
     "Использование:\n  proveron check [--json] [--convert] [--folder ПАПКА_ПРОГРАММЫ] [ПАПКА]\n  "
     "proveron import aiken|gift|xml ФАЙЛ --exam ИМЯ [--per-ticket N] [--shuffle ЧИСЛО] [--folder "
     "ПАПКА_ПРОГРАММЫ]\n  proveron import gift|xml ФАЙЛ --test ИМЯ [--folder ПАПКА_ПРОГРАММЫ]\n  "
     "proveron export gift|xml ПАПКА [ФАЙЛ]\n  proveron journal [--csv ФАЙЛ] [--from ДАТА] [--to "
     "ДАТА] [--folder ПАПКА_ПРОГРАММЫ]\n  proveron stats [--from ДАТА] [--to ДАТА] [--group ТЕКСТ] "
     "[--csv ФАЙЛ] [--json] [--folder ПАПКА_ПРОГРАММЫ]\n  proveron lab check|password [--folder "
     "ПАПКА_ПРОГРАММЫ]\n",
     "Usage:\n  proveron check [--json] [--convert] [--folder APP_FOLDER] [FOLDER]\n  proveron "
     "import aiken|gift|xml FILE --exam NAME [--per-ticket N] [--shuffle SEED] [--folder "
     "APP_FOLDER]\n  proveron import gift|xml FILE --test NAME [--folder APP_FOLDER]\n  proveron "
     "export gift|xml FOLDER [FILE]\n  proveron journal [--csv FILE] [--from DATE] [--to DATE] "
     "[--folder APP_FOLDER]\n  proveron stats [--from DATE] [--to DATE] [--group TEXT] [--csv "
     "FILE] [--json] [--folder APP_FOLDER]\n  proveron lab check|password [--folder APP_FOLDER]\n"},
    {"convertedWindows", "Перекодирован в Windows-1251: %1", "Converted to Windows-1251: %1"},
    {"oldFilesAreKept", "Прежние файлы сохранены в %1", "The old files are kept in %1"},
    {"examFolderSettingsName",
     "Папки экзамена, которую называют настройки (ключ z в test.ini), нет: ни один билет нельзя "
     "выбрать. Выберите экзамен в окне «Настройка».",
     "The exam folder the settings name (key z in test.ini) is not there: no ticket can be drawn. "
     "Choose the exam in the settings window."},
    {"giveOneFolder", "Укажите одну папку.", "Give one folder."},
    {"thereNoFolder", "Нет папки «%1».", "There is no folder \"%1\"."},
    {"holdsNoExamNo", "В папке «%1» нет ни экзамена, ни теста.",
     "\"%1\" holds no exam and no test."},
    {"checkedExamsTestsFindings", "Проверено экзаменов: %1, тестов: %2. Замечаний: %3.",
     "Checked %1 exams and %2 tests. Findings: %3."},
    {"giveFormatAikenGift", "Укажите формат (aiken, gift или xml) и файл.",
     "Give the format (aiken, gift or xml) and the file."},
    {"giveEitherExamName", "Укажите либо --exam ИМЯ, либо --test ИМЯ.",
     "Give either --exam NAME or --test NAME."},
    {"testMadeFromGift", "Тест делается только из GIFT или XML, без --per-ticket и --shuffle.",
     "A test is made from GIFT or XML only, without --per-ticket and --shuffle."},
    {"perTicketQuestionsPer", "--per-ticket: число вопросов в билете от 1 до 20.",
     "--per-ticket: the questions per ticket, 1 to 20."},
    {"shuffleWholeNumberFrom", "--shuffle: целое число от 0.", "--shuffle: a whole number from 0."},
    {"lastTicketShorterQuestions", "Последний билет короче: в нём %1 из %2 вопросов.",
     "The last ticket is shorter: %1 of %2 questions."},
    {"questionSkipped", "вопрос пропущен: ", "question skipped: "},
    {"examQuestionsTickets", "Экзамен %1. Вопросов: %2, билетов: %3.",
     "Exam %1. Questions: %2, tickets: %3."},
    {"testQuestions", "Тест %1. Вопросов: %2.", "Test %1. Questions: %2."},
    {"giveFormatGiftOr", "Укажите формат (gift или xml), папку и, если нужно, файл.",
     "Give the format (gift or xml), the folder and, if need be, the file."},
    {"ticket", "билет %1: ", "ticket %1: "},
    {"questionsWritten", "Записано вопросов: %1, в %2.", "Questions written: %1, to %2."},
    {"dateLike", "%1: дата вида 15.01.2026 или 2026-01-15.", "%1: a date like 2026-01-15."},
    {"unexpectedArgument", "Лишний параметр %1.", "Unexpected argument %1."},
    {"reportMissingOrCannot", "Отчёта «%1» нет или его нельзя прочитать.",
     "The report \"%1\" is missing or cannot be read."},
    {"couldNotWrite", "Не удалось записать «%1».", "Could not write \"%1\"."},
    {"recordsTable", "Записей в таблице: %1.", "Records in the table: %1."},
    {"reportsAreMissingOr", "Отчётов «%1» и «%2» нет или их нельзя прочитать.",
     "The reports \"%1\" and \"%2\" are missing or cannot be read."},
    {"recordsLeftOutTest", "Записей: %1, пропущено: %2. Прохождений тестов: %3.",
     "Records: %1, left out: %2. Test runs: %3."},
    {"folderNeedsFolder", "После --folder нужна папка.", "--folder needs a folder."},
    {"thereNoApplicationFolder", "Нет папки программы «%1».",
     "There is no application folder \"%1\"."},
    {"unknownCommand", "Неизвестная команда «%1».", "Unknown command \"%1\"."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace command_line_texts
