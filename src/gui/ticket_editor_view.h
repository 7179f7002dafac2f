#pragma once
// The ticket editor on screen: the small folder panel (create or choose an exam folder)
// and the editing panel (ticket and question numbers, the three texts with their samples,
// the picture with its links, the commands). Only one of them shows at a time.

#include "gui/view.h"

class Form7;
class QLineEdit;

namespace gui {

class TicketEditorView : public View {
public:
    TicketEditorView(App& app, Form7& model);

private:
    void focusWhenShown(forms::Frame& frame, QWidget* first);
    QWidget* folderPanel();
    QWidget* createPanel(QWidget* parent);
    QWidget* choosePanel(QWidget* parent);
    QWidget* importPanel(QWidget* parent);
    QWidget* editingPanel();
    QLayout* numberRows(QWidget* parent);
    QWidget* textFields(QWidget* parent);
    QWidget* picturePanel(QWidget* parent);
    QLayout* commandRow(QWidget* parent);

    Form7& model_;
    QLineEdit* ticket_ = nullptr; // the ticket number, first field of the editing panel
    QLineEdit* answer_ = nullptr; // the correct answer, whose Enter saves
};

} // namespace gui
