#pragma once

#include "gui/view.h"

class Form4;

namespace gui {

class SettingsWindowView : public View {
public:
    SettingsWindowView(App& app, Form4& model);
};

} // namespace gui
