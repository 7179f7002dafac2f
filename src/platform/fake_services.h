#pragma once
// Scripted stand-ins for the desktop services: messages are recorded and answered OK,
// the open-file dialog returns queued answers, the clock and the random numbers are the
// caller's. Used by unit tests and the scenario runner.

#include "platform/services.h"

#include <QStringList>
#include <deque>

namespace platform {

class FakeDesktop final : public Dialogs,
                          public Shell,
                          public Clipboard,
                          public Clock,
                          public RandomSource,
                          public Screen,
                          public Volumes {
public:
    FakeDesktop();

    void showMessage(const Message& message) override { messages.push_back(message); }
    QString openFile(const QString& title, const QString& filter,
                     const QString& startFolder) override;
    void open(const QString& path) override { shellRequests.push_back(path); }
    void setText(const QString& text) override { clipboardText = text; }
    QString text() override { return clipboardText; }
    QDateTime now() override { return currentTime; }
    void seedFromClock() override {}
    double next() override;
    QSize sizePixels() override { return screenSize; }
    // A fixed 7 pixels a character keeps list extents predictable.
    int textWidthPixels(const QString& text) override { return 7 * int(text.size()); }
    std::vector<Volume> list() override { return volumes; }

    std::deque<Message> messages;
    std::deque<QString> shellRequests;
    std::deque<QString> fileDialogAnswers;
    std::deque<double> randomValues;
    QString clipboardText;
    QDateTime currentTime;
    QSize screenSize{1024, 768};
    // One root to browse from; tests add media, ready or not.
    std::vector<Volume> volumes{{QStringLiteral("/"), QStringLiteral("/"), true}};
};

} // namespace platform
