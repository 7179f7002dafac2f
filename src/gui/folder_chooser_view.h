#pragma once

#include "gui/view.h"

class Form9;

namespace gui {

// The exam folder chooser: drive and folder browser with the chosen path and its status on
// the left, the count question beside it when it is asked, the commands below.
class FolderChooserView : public View {
public:
    FolderChooserView(App& app, Form9& model);

private:
    QWidget* browser(QWidget* parent);
    QWidget* countQuestion(QWidget* parent);

    Form9& model_;
};

} // namespace gui
