#pragma once
// Colour numbers as the windows store them: 0x00BBGGRR, or 0x80000000 plus the index of
// a system colour.

#include <QColor>
#include <QString>
#include <cstdint>

namespace forms {

using Color = std::uint32_t;

namespace colors {
inline constexpr Color Black = 0x00000000;
inline constexpr Color Red = 0x000000FF;
inline constexpr Color Green = 0x00008000;
inline constexpr Color Blue = 0x00FF0000;
inline constexpr Color White = 0x00FFFFFF;
inline constexpr Color WindowText = 0x80000008;
inline constexpr Color WindowBackground = 0x80000005;
inline constexpr Color ButtonText = 0x80000012;
inline constexpr Color ButtonFace = 0x8000000F;
} // namespace colors

inline bool isSystemColor(Color color) { return (color & 0x80000000u) != 0; }

// "0x000000FF": the form scenarios and diagnostics use.
QString colorText(Color color);

// The colour to paint with; system colours map to the palette's roles.
QColor toQColor(Color color);

} // namespace forms
