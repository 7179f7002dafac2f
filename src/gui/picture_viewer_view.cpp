#include "gui/picture_viewer_view.h"

#include "exam_taking/picture_viewer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {

PictureViewerView::PictureViewerView(App& app, Form3& model) : View(app, model) {

    // The picture lies where the model puts it, outside any layout; created first so
    // that the panel below stays above a picture that reaches down to it.
    auto* picture = new QLabel(this);
    picture->move(model.Image1.left() / forms::kTwipsPerPixel,
                  model.Image1.top() / forms::kTwipsPerPixel);
    binder().bind(model.Image1, picture);

    auto* root = new QVBoxLayout(this);
    root->addStretch(1);
    auto* bottom = new QHBoxLayout;
    root->addLayout(bottom);

    auto* panel = new QGroupBox(this);
    auto* grid = new QGridLayout(panel);
    auto* fixedSize = new QRadioButton(panel);
    auto* realSize = new QRadioButton(panel);
    binder().bind(model.Option1, fixedSize);
    binder().bind(model.Option2, realSize);
    grid->addWidget(fixedSize, 0, 0, 1, 5);
    grid->addWidget(realSize, 1, 0, 1, 5);

    auto* width = new QLineEdit(panel);
    auto* times = new QLabel(panel);
    auto* height = new QLineEdit(panel);
    auto* unit = new QLabel(panel);
    const int fieldWidth = width->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16;
    width->setFixedWidth(fieldWidth);
    height->setFixedWidth(fieldWidth);
    binder().bind(model.Text4, width);
    binder().bind(model.Label14, times);
    binder().bind(model.Text1, height);
    binder().bind(model.Label12, unit);
    grid->addWidget(width, 2, 0);
    grid->addWidget(times, 2, 1);
    grid->addWidget(height, 2, 2);
    grid->addWidget(unit, 2, 3);
    grid->setColumnStretch(4, 1);

    auto* realWidth = new QLabel(panel);
    auto* realHeight = new QLabel(panel);
    binder().bind(model.Label2, realWidth);
    binder().bind(model.Label3, realHeight);
    auto* realSizeRow = new QHBoxLayout;
    realSizeRow->addWidget(realWidth);
    realSizeRow->addWidget(realHeight);
    realSizeRow->addStretch(1);
    grid->addLayout(realSizeRow, 3, 0, 1, 5);

    auto* takeOver = new QCheckBox(panel);
    binder().bind(model.Check1, takeOver);
    grid->addWidget(takeOver, 4, 0, 1, 5);
    binder().bind(model.Frame8, panel);

    auto* close = new QPushButton(this);
    binder().bind(model.Command2, close);

    bottom->addWidget(panel, 0, Qt::AlignBottom);
    bottom->addWidget(close, 0, Qt::AlignBottom);
    bottom->addStretch(1);

    binder().bind(model.Timer1);
    setEscapeButton(&model.Command2);
    // The whole screen, also where the window manager ignores the full-screen state.
    resize(sizeHint());
    binder().bindWindow(model, this);
}

QSize PictureViewerView::sizeHint() const {
    return {model().width() / forms::kTwipsPerPixel, model().height() / forms::kTwipsPerPixel};
}

void PictureViewerView::setVisible(bool visible) {
    if (visible) setWindowState(windowState() | Qt::WindowFullScreen);
    View::setVisible(visible);
}

} // namespace gui
