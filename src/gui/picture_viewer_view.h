#pragma once
// The picture viewer on screen: full screen, the picture at its place and size, the size
// panel and the Close button at the bottom.

#include "gui/view.h"

class Form3;

namespace gui {

class PictureViewerView : public View {
public:
    PictureViewerView(App& app, Form3& model);

    // Whenever the model shows the window it covers the whole screen.
    void setVisible(bool visible) override;
    // The screen the model measured, so that a window drawn at its natural size shows
    // what the student sees.
    QSize sizeHint() const override;
};

} // namespace gui
