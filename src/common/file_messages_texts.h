#pragma once
// What a message adds about a file that could not be written, in both languages.

#include "common/language.h"

namespace file_messages_texts {

inline constexpr texts::Text kTexts[] = {
    {"busy", "\nФайл занят другой копией программы.",
     "\nAnother copy of the program is writing this file."},
    {"notPlain",
     "\n«%1» - символическая ссылка или не обычный файл: программа через неё не пишет. "
     "Удалите её.",
     "\n\"%1\" is a symbolic link or not an ordinary file: the program does not write through "
     "it. Remove it."},
    {"stuckLock",
     "\nБлокировку «%1» оставила копия программы, которой уже нет, а эта копия удалить её не "
     "может. Удалите её вручную.",
     "\nThe lock \"%1\" was left by a copy of the program that is gone, and this copy may not "
     "remove it. Remove it by hand."},
    {"tooLarge", "\nФайл «%1» больше 16 МБ: программа его не читает.",
     "\nThe file \"%1\" is larger than 16 MB: the program does not read it."},
    {"systemSays", "\nСистема сообщает: %1", "\nThe system says: %1"},

    {"nameEmpty", "имя пустое.", "the name is empty."},
    {"nameCharacters",
     "в имени не может быть знаков \\ / : * ? \" < > | и управляющих знаков, оно не может быть "
     "«.» или «..».",
     "a name may not hold \\ / : * ? \" < > | or control characters, nor be \".\" or \"..\"."},
    {"nameEnd", "имя не может кончаться пробелом или точкой.",
     "a name may not end in a blank or a dot."},
    {"nameDevice",
     "это имя Windows оставляет устройству (CON, PRN, AUX, NUL, COM1, LPT1, CONIN$, CONOUT$ ...).",
     "Windows keeps this name for a device (CON, PRN, AUX, NUL, COM1, LPT1, CONIN$, CONOUT$ ...)."},
    {"nameTooLong",
     "имя слишком длинное для файловой системы (не больше 255 знаков, для русских букв меньше).",
     "the name is too long for the file system (at most 255 characters, fewer for Cyrillic "
     "letters)."},
    {"badExamName", "Такое имя папки экзамена нельзя использовать: «%1»: %2",
     "This name cannot be an exam folder's name: \"%1\": %2"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace file_messages_texts
