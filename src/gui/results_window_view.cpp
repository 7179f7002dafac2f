#include "gui/results_window_view.h"

#include "exam_taking/results_window.h"
#include "forms/app.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace gui {

namespace {

// The window is drawn half as large again as its twips say: the narrow width then fits
// the longest Russian question line in a readable font, and the wide one leaves room for
// a question text beside the lines.
constexpr double kScale = 1.5;
int pixels(int twips) { return int(twips * kScale / forms::kTwipsPerPixel); }

// A question line takes no room while it is empty (an unanswered question), so the
// frame holds as many lines as the student answered.
class QuestionLine : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return text().isEmpty() ? QSize() : QLabel::sizeHint(); }
    QSize minimumSizeHint() const override {
        return text().isEmpty() ? QSize() : QLabel::minimumSizeHint();
    }
};

QLabel* label(QWidget* parent, bool wrap = false) {
    auto* widget = new QLabel(parent);
    widget->setWordWrap(wrap);
    return widget;
}

} // namespace

ResultsWindowView::ResultsWindowView(App& app, Form5& model) : View(app, model), model_(model) {
    useReadableFont(10.5);

    auto* outer = new QHBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* results = new QWidget(this);
    const QMargins margins = outer->contentsMargins();
    results->setFixedWidth(pixels(Form5::kNarrowWidth) - margins.left() - margins.right());
    auto* column = new QVBoxLayout(results);
    column->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(results, 0, Qt::AlignTop);

    QLabel* name = label(results, true);
    binder().bind(model.Label1, name);
    column->addWidget(name);

    QLabel* ticket = label(results);
    binder().bind(model.Label2, ticket);
    column->addWidget(ticket);

    column->addWidget(questionLines(results));

    QLabel* verdict = label(results);
    verdict->setAlignment(Qt::AlignCenter);
    verdict->setMargin(6);
    QFont large = verdict->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    verdict->setFont(large);
    binder().bind(model.Label3, verdict);
    column->addWidget(verdict);

    auto* when = new QHBoxLayout;
    QLabel* date = label(results);
    QLabel* time = label(results);
    binder().bind(model.Label6, date);
    binder().bind(model.Label7, time);
    when->addWidget(date);
    when->addWidget(time);
    when->addStretch();
    column->addLayout(when);

    auto* showQuestions = new QCheckBox(results);
    binder().bind(model.Check2, showQuestions);
    column->addWidget(showQuestions);
    auto* save = new QCheckBox(results);
    binder().bind(model.Check1, save);
    column->addWidget(save);

    auto* close = new QPushButton(results);
    close->setMinimumWidth(120);
    binder().bind(model.Command2, close);
    column->addWidget(close, 0, Qt::AlignRight);
    column->addWidget(discardPanel(results));

    detailPane_ = new QGroupBox(this);
    auto* detailLayout = new QVBoxLayout(detailPane_);
    QLabel* detail = label(detailPane_, true);
    detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detail->setTextInteractionFlags(Qt::NoTextInteraction);
    binder().bind(model.Label4, detail);
    detailLayout->addWidget(detail);
    detailLayout->addStretch();
    outer->addWidget(detailPane_);

    // A pointing hand over the lines while they answer to the mouse.
    binder().follow(model.Check2, [this] {
        for (QLabel* line : lineLabels_)
            line->setCursor(model_.Check2.checked() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    });
    setDefaultButtons({&model.Command2});
    binder().bindWindow(model, this);
    binder().follow(model, [this] { followWidth(); });
}

QWidget* ResultsWindowView::discardPanel(QWidget* parent) {
    auto* panel = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(panel);
    QLabel* explanation = label(panel, true);
    auto* row = new QHBoxLayout;
    QLineEdit* password = passwordField(panel, model_.Text1, model_.Command3);
    auto* discard = new QPushButton(panel);
    row->addWidget(password, 1);
    row->addWidget(discard);
    layout->addWidget(explanation);
    layout->addLayout(row);
    Binder& b = binder();
    b.bind(model_.Frame5, panel);
    b.bind(model_.Label8, explanation);
    b.bind(model_.Command3, discard);
    return panel;
}

QWidget* ResultsWindowView::questionLines(QWidget* parent) {
    lines_ = new QGroupBox(parent);
    auto* lineLayout = new QVBoxLayout(lines_);
    lineLayout->setSpacing(0);
    for (int n = 1; n <= 20; ++n) {
        QLabel* line = new QuestionLine(lines_);
        line->setContentsMargins(2, 1, 2, 1);
        binder().bind(model_.l(n), line);
        lineLayout->addWidget(line);
        lineLabels_.push_back(line);
    }
    binder().bind(model_.Frame1, lines_);
    // Moving over the frame between the lines hides the detail again; the binder only
    // reports entering the frame from outside.
    lines_->installEventFilter(this);

    return lines_;
}

void ResultsWindowView::followWidth() {
    // The layout has a fixed size: the window is as wide as the results column, plus the
    // detail pane when the model is wider than its normal width, within the screen.
    const int room = screen() ? screen()->availableGeometry().width() - 24 : pixels(model_.width());
    const int extra =
        std::min(pixels(model_.width()), room) - pixels(Form5::kNarrowWidth) - layout()->spacing();
    detailPane_->setVisible(extra > 0);
    if (extra > 0) detailPane_->setFixedWidth(extra);
}

bool ResultsWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lines_ && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!lines_->childAt(at) && model_.Frame1.usable())
            binder().userEvent([this] { model_.Frame1.hover(); });
    }
    return View::eventFilter(watched, event);
}

} // namespace gui
