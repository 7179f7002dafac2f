#pragma once
// The findings window's messages and tool tips in both languages.

#include "common/language.h"

namespace findings_window_texts {

inline constexpr texts::Text kTexts[] = {
    {"oldFilesAreKept", "Прежние файлы останутся в копии рядом с папкой",
     "The old files are kept in a copy beside the folder"},
    {"openFileChosenLine", "Открыть файл выбранной строки (или двойной щелчок по ней)",
     "Open the file of the chosen line (or double-click it)"},
    {"notChooseFileWith", "Не выбрана папка с экзаменом", "Not choose file with exam"},
    {"thereNoFolder", "Папки «%1» нет.", "There is no folder \"%1\"."},
    {"holdsNoExamNo", "В папке «%1» нет ни экзамена, ни теста.",
     "\"%1\" holds no exam and no test."},
    {"checked", "Проверена папка: %1", "Checked: %1"},
    {"questionSkipped", "вопрос пропущен: ", "question skipped: "},
    {"line", "строка %1: ", "line %1: "},
    {"importedFrom", "Импорт из %1", "Imported from %1"},
    {"noFindings", "Замечаний нет.", "No findings."},
    {"findingsDoubleClickOn", "Замечаний: %1. Двойной щелчок по строке открывает файл.",
     "Findings: %1. A double-click on a line opens its file."},
    {"filesNotWindowsThey", "Файлов не в Windows-1251: %1, их можно перекодировать.",
     "Files not in Windows-1251: %1; they can be converted."},
    {"filesConvertedOldOnes", "Перекодировано файлов: %1. Прежние сохранены в %2.",
     "Files converted: %1. The old ones are kept in %2."},
    {"filesNotConvertedThey", "Не перекодировано файлов: %1 (они в списке).",
     "Files not converted: %1 (they are in the list)."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace findings_window_texts
