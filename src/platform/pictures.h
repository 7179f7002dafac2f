#pragma once
// Pictures on disk: questions' pictures are Windows bitmaps.

#include <QImage>
#include <QString>

namespace platform {

// Writes the picture as a Windows bitmap (BMP), replacing the file atomically. False when
// the picture is empty or the file could not be written; the old file is then unchanged.
bool writeBitmap(const QString& path, const QImage& picture);

// The picture as the bytes of a Windows bitmap; empty for an empty picture.
QByteArray bitmapBytes(const QImage& picture);

} // namespace platform
