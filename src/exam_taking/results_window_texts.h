#pragma once
// The results window's messages in both languages.

#include "common/language.h"

namespace results_window_texts {

inline constexpr texts::Text kTexts[] = {
    {"reportNotSaved", "Не удалось сохранить результат в отчет:\n",
     "Could not save the result in the report:\n"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace results_window_texts
