#pragma once
// The picture-size captions the settings window and the picture viewer both show, kept
// once.

namespace picture_captions {
inline constexpr const char* kPanelRu = "Размер картинки";
inline constexpr const char* kPanelEn = "Size of picture";
inline constexpr const char* kFixedRu = "Реальный размер картинки изменен на постоянный размер";
inline constexpr const char* kFixedEn = "Real size of picture is changed on the constant size";
} // namespace picture_captions
