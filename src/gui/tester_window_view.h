#pragma once

#include "gui/view.h"

#include <vector>

class Form6;
class QLabel;
class QRadioButton;
class QScrollArea;

namespace gui {

// The test window. Taking: the question number, the question, the answers as option
// buttons with their texts beside them, the conclusion panel and the commands. While the
// editor panel shows, the window widens: the answers become fields with their points
// beside them, and the conclusions with their thresholds stand on the right.
class TesterWindowView : public View {
public:
    TesterWindowView(App& app, Form6& model);
    // As large as the model says (larger with the editor), within the screen.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* numberRow();
    QWidget* namePanel(QWidget* parent);
    QWidget* conclusionPanel(QWidget* parent);
    QWidget* questionPanel(QWidget* parent);
    QWidget* answerPanel(QWidget* parent);
    QWidget* answerChoices(QWidget* parent);
    QWidget* answerFields(QWidget* parent);
    QWidget* promptPanel(QWidget* parent);
    QWidget* passwordPanel(QWidget* parent);
    QWidget* editorPanel(QWidget* parent);
    QWidget* editorCommands();
    QLayout* commands();
    void followSize();

    Form6& model_;
    QScrollArea* scroll_ = nullptr;
    // Answer texts drawn beside their option buttons; a click on one chooses it.
    std::vector<std::pair<QLabel*, QRadioButton*>> answerTexts_;
    int shownWidth_ = 0;
};

} // namespace gui
