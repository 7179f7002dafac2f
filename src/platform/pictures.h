#pragma once
// Pictures on disk: questions' pictures are Windows bitmaps. Decoding and encoding need
// Qt Gui, so this sits above the file logic and hands it a codec.

#include "platform/app_context.h"

#include <QImage>
#include <QImageReader>
#include <QString>

namespace platform {

// Writes the picture as a Windows bitmap (BMP), replacing the file atomically. False when
// the picture is empty or the file could not be written; the old file is then unchanged.
bool writeBitmap(const QString& path, const QImage& picture);

// The picture as the bytes of a Windows bitmap; empty for an empty picture.
QByteArray bitmapBytes(const QImage& picture);

// A picture read with a check of its size first: one larger than `largest` on either side
// is refused before it is decoded (it would take hundreds of megabytes to hold).
struct ReadPicture {
    QImage picture; // null when refused or unreadable
    QSize size;     // the size the picture declares, also when it is too large
    bool tooLarge = false;
};
ReadPicture readPicture(QImageReader& reader, int largest);

// The codec the file logic converts pictures with.
const PictureCodec& qtPictureCodec();

} // namespace platform
