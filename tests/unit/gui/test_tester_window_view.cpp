// The test window's view: answers drawn as wrapped texts that choose when clicked, and the
// editor layout that widens the window and opens the answers for typing.

#include "gui/tester_window_view.h"
#include "gui_support.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "test_support.h"
#include "tester/tester_window.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointingDevice>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

TEST(TesterWindowView, AnswersChooseByTheirTextAndTheEditorWidens) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "re", "rus");
    const QString folder = f.folder.path() + "/t/T";
    QDir().mkpath(folder);
    platform::writeWholeFile(folder + "/T.tst", "[v]\r\nt=T\r\n[1]\r\nq1=Long answer\r\nq3=c\r\n"
                                                "b1=4\r\n[2]\r\nq1=x\r\n");
    platform::writeWholeFile(folder + "/vt1.txt", "Q1");
    platform::writeWholeFile(folder + "/vt2.txt", "Q2");
    Form6& model = f.app.window<Form6>();
    f.app.userEvent([&] { model.show(); });
    gui::TesterWindowView view(f.app, model);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    view.show();
    const int takingWidth = view.width();

    f.desktop.fileDialogAnswers.push_back(folder + "/T.tst");
    f.app.userEvent([&] { model.Command5.press(); });
    f.desktop.messages.clear();

    // The option buttons carry no text; it stands beside them, and a click on it chooses.
    for (QRadioButton* option : view.findChildren<QRadioButton*>())
        EXPECT_EQ(option->text(), "");
    QLabel* answer = withText<QLabel>(view, "Long answer");
    ASSERT_TRUE(answer);
    QLabel* missing = nullptr;
    for (QLabel* label : view.findChildren<QLabel*>()) {
        if (label->text().isEmpty() && label->parentWidget() == answer->parentWidget() &&
            !label->isEnabled())
            missing = label;
    }
    ASSERT_TRUE(missing) << "the second answer has no text and cannot be chosen";
    // A mouse of the test's own: Qt's lazily made primary one outlives the application.
    const QPointingDevice mouse(QStringLiteral("test mouse"), 1, QInputDevice::DeviceType::Mouse,
                                QPointingDevice::PointerType::Generic,
                                QInputDevice::Capability::Position, 1, 3);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier, &mouse);
    QApplication::sendEvent(missing, &release);
    EXPECT_EQ(model.Text1.text(), "1");
    QApplication::sendEvent(answer, &release);
    EXPECT_EQ(model.Text1.text(), "2");
    EXPECT_EQ(model.txtn(1).text(), "4");

    // The editor: wider, the answers become fields, and points take a number or "0".
    f.app.userEvent([&] {
        model.Command6.press();
        model.Command11.press();
        model.Text2.setText("New");
        model.Command11.press();
    });
    f.desktop.messages.clear();
    EXPECT_GT(view.width(), takingWidth);
    QLineEdit* points = withText<QLineEdit>(view, "0");
    ASSERT_TRUE(points);
    EXPECT_TRUE(points->isVisibleTo(&view));
    points->setText("abc");
    emit points->editingFinished();
    EXPECT_EQ(points->text(), "0");
    f.app.userEvent([&] { model.Command8.press(); });
    EXPECT_FALSE(points->isVisibleTo(&view));
    view.detach();
}

// Creating a test with the keyboard: Enter in the name field creates it, the caret stands
// after the "1." put in for the teacher, and after a save the prompt for the next number
// is scrolled into view.
TEST(TesterWindowView, EnterCreatesTheCaretFollowsTheNumberAndThePromptShows) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "re", "rus");
    Form6& model = f.app.window<Form6>();
    f.app.userEvent([&] { model.show(); });
    gui::TesterWindowView view(f.app, model);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    view.show();
    f.app.userEvent([&] {
        model.Command6.press();
        model.Command11.press();
    });
    EXPECT_TRUE(f.desktop.messages.empty()) << "the field comes before any complaint";

    QLineEdit* name = nullptr;
    for (QLineEdit* edit : view.findChildren<QLineEdit*>())
        if (edit->isVisibleTo(&view) && edit->minimumWidth() == 300) name = edit;
    ASSERT_TRUE(name);
    name->setText("Quiz"); // typed, not yet handed over: the field commits on finish
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(name, &enter);
    EXPECT_EQ(model.Label12.caption(), "1") << "the test is created";
    EXPECT_TRUE(QFile::exists(f.app.path("t/Quiz/Quiz.tst")));

    QPlainTextEdit* question = nullptr;
    for (QPlainTextEdit* edit : view.findChildren<QPlainTextEdit*>())
        if (edit->toPlainText() == "1.") question = edit;
    ASSERT_TRUE(question);
    EXPECT_EQ(question->textCursor().position(), 2);

    auto* scroll = view.findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    // The teacher had scrolled down to the last answers.
    view.resize(view.width(), 300);
    QCoreApplication::processEvents();
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    f.app.userEvent([&] {
        model.txtV.setText("1. Как дела?");
        model.Command4.press();
    });
    QCoreApplication::processEvents();
    QWidget* prompt = view.widgetOf(model.Frame8);
    ASSERT_TRUE(prompt && prompt->isVisibleTo(&view));
    const QRect shown(prompt->mapTo(scroll->viewport(), QPoint(0, 0)), prompt->size());
    EXPECT_TRUE(scroll->viewport()->rect().intersects(shown));
    view.detach();
}
