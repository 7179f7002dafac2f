#pragma once
// The folder chooser's status lines and messages in both languages.

#include "common/language.h"

namespace folder_chooser_texts {

inline constexpr texts::Text kTexts[] = {
    {"driveNotReady", "Диск не готов: ", "The drive is not ready: "},
    {"noAccess", "Нет доступа к папке", "No access to the folder"},
    {"noTickets", "В папке билетов нет", "In file of tickets no"},
    {"questionMissing", "Отсутствует вопрос", "Is Absent question"},
    {"folderTaken", "Папка принята: билетов %1, вопросов %2, как в настройках.",
     "The folder is taken; tickets %1, questions %2, as in the settings."},
    {"folderUnreadable", "Не удалось прочитать папку %1. Настройки не изменены.",
     "Cannot read the folder %1. The settings are unchanged."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace folder_chooser_texts
