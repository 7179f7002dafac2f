#include "gui/picture_viewer_view.h"

#include "exam_taking/picture_viewer.h"

namespace gui {

PictureViewerView::PictureViewerView(App& app, Form3& model) : View(app, model) {
    binder().bindWindow(model, this);
}

} // namespace gui
