#pragma once

#include "gui/view.h"

class Form3;

namespace gui {

class PictureViewerView : public View {
public:
    PictureViewerView(App& app, Form3& model);
};

} // namespace gui
