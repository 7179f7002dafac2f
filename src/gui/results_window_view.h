#pragma once

#include "gui/view.h"

class Form5;

namespace gui {

class ResultsWindowView : public View {
public:
    ResultsWindowView(App& app, Form5& model);
};

} // namespace gui
