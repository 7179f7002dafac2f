// The windows of an exam on a small screen at a large scale (1366 x 768 at 150 %), and
// used with the keyboard alone.

#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_shell.h"
#include "gui/report_text_view.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "gui_support.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "test_support.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// An exam of twenty questions with its windows drawn as the program draws them.
struct Exam {
    Exam() {
        writeExam(f.folder.path(), 20);
        f.app.userEvent([&] { gui::programWindows().start(f.app); });
    }
    template <class W> gui::View* view() {
        W* window = f.app.loaded<W>();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* found = dynamic_cast<gui::View*>(widget);
            if (found && window && &found->model() == window) return found;
        }
        return nullptr;
    }
    void act(const std::function<void()>& action) {
        f.app.userEvent(action);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    void openTicket() {
        Form1& start = f.app.window<Form1>();
        act([&] {
            start.Option1.click();
            start.Text9.setText(QStringLiteral("Иванов"));
            start.Command14.press();
            start.Check1.click();
            start.Text1.setText(QStringLiteral("1"));
            start.Command3.press();
        });
    }

    AppFixture f;
    gui::ViewManager views{f.app, gui::programWindows()};
};

// The whole window is on the screen's free area, and so is every listed button.
void expectOnScreen(QWidget* view, std::initializer_list<QString> buttons = {}) {
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->isVisible());
    const QRect area = view->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(view->frameGeometry()))
        << view->windowTitle().toStdString() << " at " << view->frameGeometry().x() << ","
        << view->frameGeometry().y() << " " << view->frameGeometry().width() << "x"
        << view->frameGeometry().height();
    for (const QString& caption : buttons) {
        QPushButton* button = withText<QPushButton>(*view, caption);
        ASSERT_TRUE(button) << caption.toStdString();
        EXPECT_TRUE(button->isVisible()) << caption.toStdString();
        const QRect place(button->mapTo(view, QPoint()), button->size());
        EXPECT_TRUE(view->rect().contains(place)) << caption.toStdString();
    }
}

void press(QWidget* widget, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(SmallScreen, EveryWindowOfAnExamFitsWithItsButtons) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    Exam exam;
    Form1& start = exam.f.app.window<Form1>();
    expectOnScreen(exam.view<Form1>(), {QStringLiteral("Помощь"), QStringLiteral("Выход")});

    exam.act([&] {
        start.Option1.click();
        start.Text9.setText(QStringLiteral("Учитель"));
        start.Command14.press();
        start.Command15.press();
    });
    expectOnScreen(exam.view<Form4>(), {QStringLiteral("Закрыть"), QStringLiteral("Отчет")});
    Form4& settings = exam.f.app.window<Form4>();
    exam.act([&] { settings.Label6.click(); });
    expectOnScreen(exam.view<Form4>(), {QStringLiteral("ОК"), QStringLiteral("Установить 5")});
    exam.act([&] {
        settings.Command9.press();
        settings.Command6.press();
    });

    exam.openTicket();
    expectOnScreen(exam.view<Form2>(),
                   {QStringLiteral("Ответ"), QStringLiteral("Оценка"), QStringLiteral("Закрыть")});
    Form2& ticket = exam.f.app.window<Form2>();
    exam.act([&] {
        ticket.List1.setListIndex(0);
        ticket.Command4.press();
        ticket.Command2.press();
    });
    Form5& results = exam.f.app.window<Form5>();
    exam.act([&] {
        results.Check2.click();
        results.l(1).hover();
    });
    expectOnScreen(exam.view<Form5>(), {QStringLiteral("Закрыть")});
    exam.f.desktop.messages.clear();
}

TEST(SmallScreen, TitleBarsOfferCloseOnlyWhereTheWindowCanBeClosed) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    Exam exam;
    auto check = [](gui::View* view) {
        ASSERT_TRUE(view);
        const bool closable = view->model().closable();
        EXPECT_EQ(view->windowFlags().testFlag(Qt::CustomizeWindowHint), !closable)
            << view->model().name().toStdString();
        if (!closable) {
            EXPECT_FALSE(view->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        }
    };
    exam.act([&] { exam.f.app.window<Form4>().show(); });
    check(exam.view<Form4>());
    exam.act([&] { exam.f.app.window<Form4>().hide(); });
    exam.openTicket();
    check(exam.view<Form1>());
    check(exam.view<Form2>());
    check(exam.view<Form3>());
    EXPECT_TRUE(exam.f.app.window<Form3>().closable()) << "the picture viewer keeps its Close";
    exam.act([&] { exam.f.app.window<Form2>().Command2.press(); });
    check(exam.view<Form5>());
}

TEST(SmallScreen, TheStartWindowComesBackAtItsSizeAndResultsKeepTheirLeftEdge) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    Exam exam;
    QSize first;
    for (int student = 0; student < 3; ++student) {
        exam.openTicket();
        exam.act([&] { exam.f.app.window<Form2>().Command2.press(); });
        Form5& results = exam.f.app.window<Form5>();
        gui::View* view = exam.view<Form5>();
        ASSERT_TRUE(view);
        const int left = view->x();
        exam.act([&] { results.Check2.click(); });
        exam.act([&] { results.l(1).hover(); }); // nothing answered: stays narrow
        exam.act([&] { results.Frame1.hover(); });
        EXPECT_EQ(view->x(), left) << "the results window does not jump";
        exam.act([&] { results.Command2.press(); });
        gui::View* start = exam.view<Form1>();
        EXPECT_EQ(start->size(), start->sizeHint()) << "as large as its visible panels";
        if (student == 0) first = start->size();
        EXPECT_EQ(start->size(), first) << "student " << student;
    }
}

TEST(SmallScreen, MessageBoxesShowTheirTitleWhole) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    int width = 0;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_TRUE(box);
        width = box->width();
        box->close();
    });
    gui::showMessageBox(nullptr, QStringLiteral("Проверон"), QStringLiteral("OK"));
    EXPECT_GE(width, 320);
}

TEST(Keyboard, EnterTakesEachStepAndLinksAnswerToTheKeys) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    Exam exam;
    Form1& start = exam.f.app.window<Form1>();
    gui::View* view = exam.view<Form1>();
    ASSERT_TRUE(view);
    exam.act([&] { start.Option1.click(); });

    press(view, Qt::Key_Return);
    ASSERT_EQ(exam.f.desktop.messages.size(), 1u) << "Enter confirms the (empty) name";
    exam.f.desktop.messages.clear();
    exam.act([&] { start.Text9.setText(QStringLiteral("Иванов")); });
    press(view, Qt::Key_Return);
    EXPECT_TRUE(start.Frame1.visible());
    EXPECT_EQ(start.focusRequest(), &start.Command1) << "the draw is next";

    // Every link is reached with Tab and works with Space, with a pointing hand.
    for (QLabel* label : view->findChildren<QLabel*>()) {
        if (!label->font().underline()) continue;
        EXPECT_EQ(label->focusPolicy(), Qt::StrongFocus) << label->text().toStdString();
        EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    }
    QLabel* back = nullptr;
    for (QLabel* label : view->findChildren<QLabel*>()) {
        if (label->text() == start.Label9.caption() && label->isVisibleTo(view)) back = label;
    }
    ASSERT_TRUE(back);
    press(back, Qt::Key_Space);
    EXPECT_TRUE(start.Frame3.visible()) << "Space on the link went back to the mode choice";
}

TEST(Keyboard, TheAnswerListChoosesOnlyOnAnExplicitChoice) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    Exam exam;
    exam.openTicket();
    Form2& ticket = exam.f.app.window<Form2>();
    gui::View* view = exam.view<Form2>();
    ASSERT_TRUE(view);
    EXPECT_EQ(ticket.focusRequest(), &ticket.List1) << "a question opens on its answers";
    auto* answers = view->findChild<QListWidget*>();
    ASSERT_TRUE(answers);
    answers->setFocus();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(answers, &focusIn);
    press(answers, Qt::Key_Down);
    EXPECT_EQ(ticket.List1.listIndex(), -1) << "tabbing in and moving chooses nothing";
    answers->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    press(answers, Qt::Key_Space);
    EXPECT_EQ(ticket.List1.listIndex(), 1);
    EXPECT_EQ(ticket.Text2.text(), "нет");

    // Enter on the chosen answer goes on to "Ответ"; the next question's button is next.
    press(answers, Qt::Key_Return);
    EXPECT_EQ(ticket.txt(1).text(), "2");
    EXPECT_EQ(ticket.focusRequest(), &ticket.Option(2));
    QRadioButton* second = withText<QRadioButton>(*view, QStringLiteral("2"));
    ASSERT_TRUE(second) << "the number is the question button's own caption";
    second->click();
    EXPECT_TRUE(ticket.Option(2).value());
    exam.f.desktop.messages.clear();
}

TEST(ReportViewer, ShowsTheReportDecodedWithOneLineEndALine) {
    const QByteArray record = "\xC4\xE0\xF2\xE0: 1\r\r\nx\r\ny\nz\r\r\n\r\n";
    EXPECT_EQ(gui::reportText(record), "Дата: 1\nx\ny\nz\n\n");
    // Runs of CR as a hand-edited report may hold them: as many lines as before.
    EXPECT_EQ(gui::reportText("a\r\r\r\nb\rc\r\r\r\r\nd\r\r"), "a\nb\nc\n\nd\n\n");
    // The viewer's lines, found in the bytes and decoded as drawn, are the same lines.
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    for (const QByteArray& bytes : {record, QByteArray("a\r\r\r\nb\rc\r\r\r\r\nd\r\r")}) {
        gui::ReportTextView view(bytes, nullptr);
        QStringList lines;
        for (int line = 0; line < view.lineCount(); ++line)
            lines.append(view.line(line));
        EXPECT_EQ(lines.join('\n') + '\n', gui::reportText(bytes));
    }
}
