#include "platform/pictures.h"

#include "platform/text_files.h"

#include <QBuffer>
#include <QImageWriter>

namespace platform {

QByteArray bitmapBytes(const QImage& picture) {
    if (picture.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("bmp"));
    if (!writer.write(picture)) return {};
    return bytes;
}

bool writeBitmap(const QString& path, const QImage& picture) {
    const QByteArray bytes = bitmapBytes(picture);
    return !bytes.isEmpty() && writeBytesAtomically(path, bytes);
}

} // namespace platform
