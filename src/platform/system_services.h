#pragma once
// The real desktop services that need no widgets (message boxes and the file dialog live
// in the Qt front end).

#include "platform/services.h"

#include <random>

namespace platform {

class SystemShell final : public Shell {
public:
    void open(const QString& path) override;
};

class SystemClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
    QString text() override;
};

class SystemClock final : public Clock {
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

class SystemRandom final : public RandomSource {
public:
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937_64 engine_{5489u};
};

// Volumes from the system's mount table, without its pseudo file systems: the root, then
// removable media and network shares, each by its label and root.
class SystemVolumes final : public Volumes {
public:
    std::vector<Volume> list() override;
};

// True for a mount a user would browse for an exam folder: the root, removable media
// (below /media, /run/media, /mnt, /Volumes) and network shares; every drive on Windows.
bool isBrowsableVolume(const QString& root, const QByteArray& fileSystemType);

class SystemScreen final : public Screen {
public:
    QSize sizePixels() override;
    int textWidthPixels(const QString& text) override;
};

} // namespace platform
