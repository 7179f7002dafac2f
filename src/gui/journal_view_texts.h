#pragma once
// The journal window's texts in both languages.

#include "common/language.h"

namespace journal_view_texts {

inline constexpr texts::Text kTexts[] = {
    {"couldNotWriteCheck",
     "Не удалось записать «%1». Проверьте, что в эту папку можно писать и на диске есть место.",
     "Could not write \"%1\". Check that this folder may be written to and that the disk has "
     "room."},
    {"filter", "Фильтр:", "Filter:"},
    {"nameTicketDateVerdict", "имя, билет, дата, итог...", "name, ticket, date, verdict..."},
    {"saveCsv", "Сохранить CSV", "Save CSV"},
    {"reportRecords", "Записи отчета", "Report records"},
    {"line", "Строка %1: %2", "Line %1: %2"},
    {"records", "Записей: %1 из %2.", "Records: %1 of %2."},
    {"remarksOnReportBelow", "Замечаний к отчёту: %1 (ниже).",
     "Remarks on the report: %1 (below)."},
    {"saved", "Сохранено: %1", "Saved: %1"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace journal_view_texts
