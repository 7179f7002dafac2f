#pragma once

#include "gui/view.h"

class Form10;

namespace gui {

// The findings window: what was checked, the findings in a list (a double-click opens a
// finding's file), the summary and the commands below.
class FindingsWindowView : public View {
public:
    FindingsWindowView(App& app, Form10& model);
};

} // namespace gui
