#include "platform/pictures.h"

#include "platform/text_files.h"

#include <QBuffer>
#include <QImageWriter>

namespace platform {

bool writeBitmap(const QString& path, const QImage& picture) {
    if (picture.isNull()) return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("bmp"));
    if (!writer.write(picture)) return false;
    return writeBytesAtomically(path, bytes);
}

} // namespace platform
