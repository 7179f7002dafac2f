#pragma once
// What the check says of a file's encoding, in both languages.

#include "common/language.h"

namespace findings_texts {

inline constexpr texts::Text kTexts[] = {
    {"fileSavedUtf", "Файл сохранён в UTF-8", "The file is saved in UTF-8"},
    {"fileSavedUtfWith", "Файл сохранён в UTF-8 с меткой BOM",
     "The file is saved in UTF-8 with a BOM"},
    {"fileSavedUtf2", "Файл сохранён в UTF-16", "The file is saved in UTF-16"},
    {"butProgramReadsWindows",
     ", а программа читает Windows-1251: русские буквы покажутся искажёнными. Его можно "
     "перекодировать (копия останется).",
     ", but the program reads Windows-1251: Russian letters will show garbled. It can be converted "
     "(a copy is kept)."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace findings_texts
