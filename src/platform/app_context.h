#pragma once
// What the file logic knows of the running program: its application folder, the user's
// number and date formats, and how pictures are converted (that needs Qt Gui, which the
// file logic does not link). App is one; a tool may make its own.

#include "platform/services.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace platform {

// Decoding and encoding of pictures, done above the file logic.
class PictureCodec {
public:
    virtual ~PictureCodec() = default;
    struct Bitmap {
        QByteArray bytes; // a Windows bitmap; empty when the picture was refused
        QSize size;       // the size the picture declares, also when it was refused
        bool tooLarge = false;
    };
    // The picture held in `encoded`, or in the file, (any format Qt reads) as a Windows
    // bitmap; refused unread when it declares a side larger than `largest`.
    virtual Bitmap toBitmap(const QByteArray& encoded, int largest) const = 0;
    virtual Bitmap fileToBitmap(const QString& path, int largest) const = 0;
    // True when the picture file can be decoded.
    virtual bool fileIsReadable(const QString& path) const = 0;
    // The picture held in `encoded` (any format Qt reads) as PNG; empty when it cannot be
    // read.
    virtual QByteArray toPng(const QByteArray& encoded) const = 0;
};

class AppContext {
public:
    explicit AppContext(const QString& folder);
    virtual ~AppContext() = default;
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The application folder: the folder that holds the program (no trailing separator).
    const QString& folder() const { return folder_; }
    // A file or folder of the application folder, from a relative path with '/'.
    QString path(const QString& relative) const;
    QString settingsFile() const { return path(QStringLiteral("test.ini")); }

    virtual const UserLocale& locale() const = 0;
    virtual const PictureCodec& pictures() const = 0;

private:
    QString folder_;
};

} // namespace platform
