#pragma once

#include "gui/view.h"

class Form11;
class QTableWidget;

namespace gui {

// The class window: the counts over a table of the lab's computers (problems first, each
// row coloured and worded by its state), a line of when it was refreshed, and the commands.
class ClassWindowView : public View {
public:
    ClassWindowView(App& app, Form11& model);

private:
    void redrawTable();

    Form11& model_;
    QTableWidget* table_ = nullptr;
};

} // namespace gui
