#pragma once
// The report viewer's and the desktop services' texts in both languages.

#include "common/language.h"

namespace qt_shell_texts {

inline constexpr texts::Text kTexts[] = {
    {"fileDoesNotExist", "Файла ещё нет или его нельзя прочитать:\n",
     "The file does not exist yet or cannot be read:\n"},
    {"report", "Отчет", "Report"},
    {"text", "Текст", "Text"},
    {"table", "Таблица", "Table"},
    {"statistics", "Статистика", "Statistics"},
    {"openEditor", "Открыть в редакторе", "Open in the editor"},
    {"close", "Закрыть", "Close"},
    {"noProgramThereOpen", "Нет программы, которая открыла бы файл:\n",
     "No program is there to open the file:\n"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace qt_shell_texts
