#pragma once

#include "gui/view.h"

#include <vector>

class Form5;
class QGroupBox;
class QLabel;

namespace gui {

// The results of one exam: the name line, the ticket, a line per answered question, the
// verdict on its colour, the date and time; beside them, while the student hovers over a
// question line, the question with the given and the correct answer.
class ResultsWindowView : public View {
public:
    ResultsWindowView(App& app, Form5& model);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* questionLines(QWidget* parent);
    QWidget* discardPanel(QWidget* parent);
    void followWidth();

    Form5& model_;
    QWidget* detailPane_ = nullptr;
    QGroupBox* lines_ = nullptr;
    std::vector<QLabel*> lineLabels_;
};

} // namespace gui
