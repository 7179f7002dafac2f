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

ReadPicture readPicture(QImageReader& reader, int largest) {
    ReadPicture read;
    reader.setDecideFormatFromContent(true);
    read.size = reader.size();
    auto tooLarge = [largest](QSize size) {
        return size.width() > largest || size.height() > largest;
    };
    if (read.size.isValid() && tooLarge(read.size)) {
        read.tooLarge = true;
        return read;
    }
    read.picture = reader.read();
    if (!read.picture.isNull() && tooLarge(read.picture.size())) {
        read.size = read.picture.size();
        read.picture = QImage();
        read.tooLarge = true;
    }
    return read;
}

namespace {

PictureCodec::Bitmap bitmapOf(QImageReader& reader, int largest) {
    const ReadPicture read = readPicture(reader, largest);
    return {bitmapBytes(read.picture), read.size, read.tooLarge};
}

class QtPictureCodec final : public PictureCodec {
public:
    Bitmap toBitmap(const QByteArray& encoded, int largest) const override {
        QByteArray data = encoded;
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        return bitmapOf(reader, largest);
    }
    Bitmap fileToBitmap(const QString& path, int largest) const override {
        QImageReader reader(path);
        return bitmapOf(reader, largest);
    }
    bool fileIsReadable(const QString& path) const override {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        return !reader.read().isNull();
    }
    QByteArray toPng(const QByteArray& encoded) const override {
        QByteArray data = encoded;
        QBuffer in(&data);
        QImageReader reader(&in);
        reader.setDecideFormatFromContent(true);
        const QImage picture = reader.read();
        if (picture.isNull()) return {};
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        return picture.save(&buffer, "PNG") ? png : QByteArray();
    }
};

} // namespace

const PictureCodec& qtPictureCodec() {
    static const QtPictureCodec codec;
    return codec;
}

} // namespace platform
