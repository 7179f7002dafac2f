#pragma once

#include "gui/view.h"

class Form1;

namespace gui {

class StartWindowView : public View {
public:
    StartWindowView(App& app, Form1& model);
};

} // namespace gui
