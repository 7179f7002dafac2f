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

class SystemScreen final : public Screen {
public:
    QSize sizePixels() override;
    int textWidthPixels(const QString& text) override;
};

} // namespace platform
