#pragma once

#include "gui/view.h"

class Form1;

namespace gui {

class StartWindowView : public View {
public:
    StartWindowView(App& app, Form1& model);

private:
    // What a screen reader says beyond the captions.
    void speakTable();
    QWidget* header();
    QWidget* modePanel();
    QWidget* namePanel();
    QWidget* ticketPanel();
    QWidget* settingsPanel();

    Form1& model_;
};

} // namespace gui
