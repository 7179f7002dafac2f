#pragma once

#include "gui/view.h"

class Form4;

namespace gui {

// The teacher's set-up: the main panel with every setting, the confirmation panel and
// the evaluation panel with its twenty fields.
class SettingsWindowView : public View {
public:
    SettingsWindowView(App& app, Form4& model);

private:
    void confirmationPanel(QWidget* over);
    QWidget* mainPanel();
    QWidget* scorePanel();
    QWidget* timersPanel();
    QWidget* picturePanel();
    QWidget* folderPanel();
    QWidget* evaluationPanel();
    void skipWhileLocked(forms::TextBox& model, QWidget* field);

    Form4& model_;
};

} // namespace gui
