#pragma once
// Real message boxes and the open-file dialog.

#include "platform/services.h"

namespace gui {

class QtDialogs final : public platform::Dialogs {
public:
    void showMessage(const platform::Message& message) override;
    QString openFile(const QString& title, const QString& filter,
                     const QString& startFolder) override;
};

} // namespace gui
