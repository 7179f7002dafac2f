#pragma once
// What every window's view may say, in both languages.

#include "common/language.h"

namespace view_texts {

inline constexpr texts::Text kTexts[] = {
    {"closesWithButtons", "Это окно закрывается своими кнопками",
     "This window closes with its own buttons"},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace view_texts
