#pragma once
// What the check of a folder says, in both languages.

#include "common/language.h"

namespace folder_check_texts {

inline constexpr texts::Text kTexts[] = {
    {"fileWasNotConverted",
     "Файл не перекодирован: в нём есть знак «%1», которого нет в Windows-1251.",
     "The file was not converted: it holds the character \"%1\", which Windows-1251 cannot hold."},
    {"fileWasNotConverted2", "Файл не перекодирован: не удалось записать «%1».",
     "The file was not converted: \"%1\" could not be written."},
    {"fileIsLink",
     "Файл не перекодирован и не скопирован: это ссылка (или на пути к нему ссылка на папку) либо "
     "не обычный файл.",
     "The file was neither converted nor copied: it is a link (or a link to a folder lies on its "
     "way) or no regular file."},
    {"fileOutside",
     "Файл не перекодирован: его папка лежит вне проверяемой папки «%1». Перекодируйте его, "
     "проверив саму его папку.",
     "The file was not converted: its folder lies outside the folder checked, \"%1\". Convert it "
     "by checking its own folder."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace folder_check_texts
