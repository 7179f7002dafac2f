#pragma once
// Real message boxes and the open-file dialog.

#include "platform/services.h"

#include <QMessageBox>

namespace gui {

class QtDialogs final : public platform::Dialogs {
public:
    void showMessage(const platform::Message& message) override;
    QString openFile(const QString& title, const QString& filter,
                     const QString& startFolder) override;
};

// A modal message box with an OK button only, wide enough for its title and text to show
// whole; timers hold their ticks while it is open.
void showMessageBox(QWidget* parent, const QString& title, const QString& text,
                    QMessageBox::Icon icon = QMessageBox::NoIcon);

} // namespace gui
